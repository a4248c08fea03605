#pragma once

#include <QString>

namespace quillon {

/// The application's data folder, $XDG_DATA_HOME/Quillon. Nothing creates it
/// up front: whoever first writes into it calls makeRoot().
class AppFiles {
public:
    AppFiles() = delete;

    static QString root();
    /// Creates the folder, readable by its owner only, when it is missing.
    /// False when it does not exist afterwards.
    static bool makeRoot();
};

} // namespace quillon
