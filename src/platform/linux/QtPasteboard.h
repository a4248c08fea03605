#pragma once

#include "platform/Pasteboard.h"

#include <QObject>
#include <memory>

namespace quillon::platform::linux_ {

class SelectionReader;

/// The CLIPBOARD selection through QClipboard. What this process writes
/// stays pasteable while it runs and owns the selection (or a clipboard
/// manager has taken a copy). Another owner's clipboard is read on a
/// connection of our own, time-boxed.
class QtPasteboard final : public Pasteboard {
public:
    QtPasteboard();
    ~QtPasteboard() override;

    void clear() override;
    bool writeString(const QString& text) override;
    int changeCount() override;
    QStringList types() override;
    std::optional<QString> string(const QString& type) override;
    bool write(const std::vector<PasteboardItem>& items) override;

private:
    /// Starts counting owner changes once Qt's clipboard exists.
    void watch();
    /// The clipboard bytes under an X target, from Qt when we own it.
    std::optional<QByteArray> read(const QString& target);
    bool ownsClipboard() const;

    QObject m_context;
    bool m_watching = false;
    int m_changeCount = 0;
    bool m_inWrite = false;
    bool m_ownWriteCounted = false;
    std::unique_ptr<SelectionReader> m_reader;
};

} // namespace quillon::platform::linux_
