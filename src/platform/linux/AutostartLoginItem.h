#pragma once

#include "platform/LoginItem.h"

namespace quillon::platform::linux_ {

/// Launch at login through the freedesktop autostart folder: the entry
/// "<app id>.desktop" in `$XDG_CONFIG_HOME/autostart`. Nothing on Linux
/// asks for approval, so the status is never requiresApproval.
class AutostartLoginItem final : public LoginItem {
public:
    AutostartLoginItem(QString autostartDir, QString appId, QString executable);

    Status status() override;
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;

    QString entryPath() const;
    /// The entry's text, with `executable` on the Exec line.
    static QByteArray entry(const QString& executable);
    /// A program path as one argument of an Exec line: quoted when it holds
    /// a reserved character, then escaped as a desktop-entry string.
    static QString quoteExec(const QString& program);

private:
    QString m_dir;
    QString m_appId;
    QString m_executable;
};

} // namespace quillon::platform::linux_
