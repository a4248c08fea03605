#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

namespace quillon {

/// One clipboard-history entry.
struct ClipboardEntry {
    QString text;
    /// When the text was first copied.
    QDateTime firstCopied;
};

/// The clipboard history, newest first.
class ClipboardStore {
public:
    /// Texts longer than this many UTF-8 bytes are not kept.
    static constexpr qsizetype maxTextBytes = 100'000;

    /// Offers a copied text. Blank texts, texts over `maxTextBytes` and a
    /// repeat of the newest entry are ignored; answers whether it was added.
    bool ingest(const QString& text);

    const std::vector<ClipboardEntry>& entries() const { return m_entries; }

private:
    std::vector<ClipboardEntry> m_entries;
};

} // namespace quillon
