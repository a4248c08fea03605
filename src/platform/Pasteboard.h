#pragma once

#include <QString>

namespace quillon::platform {

/// The general pasteboard: the desktop's clipboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    /// Empties it, giving up what this process put there.
    virtual void clear() = 0;
    /// Puts the text there as plain UTF-8 text, for every application to
    /// paste; false when it could not be placed.
    virtual bool writeString(const QString& text) = 0;
};

} // namespace quillon::platform
