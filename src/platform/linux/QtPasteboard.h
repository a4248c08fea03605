#pragma once

#include "platform/Pasteboard.h"

#include <QObject>
#include <memory>

namespace quillon::platform::linux_ {

class SelectionReader;
class SelectionReadThread;

/// The CLIPBOARD selection through QClipboard. What this process writes
/// stays pasteable while it runs and owns the selection (or a clipboard
/// manager has taken a copy). Another owner's clipboard is read on a
/// connection of our own, time-boxed: `read` on a thread of its own,
/// `types()`/`string()` on the calling one.
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
    void read(const QStringList& wanted, std::function<void(PasteboardContents)> done) override;

private:
    /// Starts counting owner changes once Qt's clipboard exists.
    void watch();
    /// The clipboard bytes under an X target, from Qt when we own it.
    std::optional<QByteArray> read(const QString& target);
    /// The X targets of the clipboard this process owns.
    QStringList ownTargets() const;
    bool ownsClipboard() const;

    QObject m_context;
    bool m_watching = false;
    int m_changeCount = 0;
    bool m_inWrite = false;
    bool m_ownWriteCounted = false;
    std::unique_ptr<SelectionReader> m_reader;
    /// After m_context: gone first, so no answer is handed to a dead context.
    std::unique_ptr<SelectionReadThread> m_readThread;
};

} // namespace quillon::platform::linux_
