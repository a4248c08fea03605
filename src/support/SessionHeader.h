#pragma once

#include <QString>

namespace quillon {

/// The texts of the debug file's session headers.
namespace SessionHeader {

/// "Quillon <version> · Linux <distribution> · <machine>", written at launch.
QString atLaunch();
/// "Diagnostics on — Quillon <version> · …", written when logging is switched on.
QString diagnosticsOn();

} // namespace SessionHeader
} // namespace quillon
