#pragma once

#include <QString>

namespace quillon {

class PermissionGate;
class SettingsModel;

/// "Send Keystrokes": the gate of the features that paste by synthetic
/// keys, shown while they cannot be posted. Its request asks again and
/// redraws the panes.
PermissionGate* sendKeystrokesGate(SettingsModel& model, const QString& sub);
/// Whether synthetic keys can be posted, read anew at each call.
bool sendKeystrokesGranted();

} // namespace quillon
