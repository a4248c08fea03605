#pragma once

#include <QSet>
#include <QString>
#include <optional>

namespace quillon {

class Settings;

/// What the sweep and auto-quit agree on: the applications never quit, and
/// how a list of applications is applied.
class QuitPolicy {
public:
    enum class ListMode { excludeListed, onlyListed };

    static QString rawValue(ListMode mode);
    static std::optional<ListMode> listModeFromRaw(const QString& raw);

    /// Never watched or quit: the default file manager, which owns the desktop
    /// and the file windows people expect to stay.
    static QSet<QString> systemCriticalBundleIDs();

    /// "sweep.listMode": onlyListed only when it says exactly so.
    static ListMode sweepListMode(const Settings& settings);
    /// "autoQuit.listMode": excludeListed only when it says exactly so.
    static ListMode autoQuitListMode(const Settings& settings);

    /// The list test: a listed app is left out, or the only one let in.
    static bool passesList(ListMode mode, const QSet<QString>& listed, const QString& appId);
};

} // namespace quillon
