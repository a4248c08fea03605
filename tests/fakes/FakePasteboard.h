#pragma once

#include "platform/Pasteboard.h"

#include <optional>

namespace quillon::fakes {

/// A pasteboard in memory.
class FakePasteboard final : public platform::Pasteboard {
public:
    void clear() override
    {
        text.reset();
        ++clears;
    }
    bool writeString(const QString& value) override
    {
        text = value;
        ++writes;
        return true;
    }

    /// What a paste would give now.
    std::optional<QString> text;
    int clears = 0;
    int writes = 0;
};

} // namespace quillon::fakes
