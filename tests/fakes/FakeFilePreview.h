#pragma once

#include "platform/FilePreview.h"

#include <vector>

namespace quillon::fakes {

/// A preview that shows at once; every showing is recorded.
class FakeFilePreview final : public platform::FilePreview {
public:
    bool isVisible() const override { return visible; }
    void show(const QStringList& paths) override
    {
        if (paths.isEmpty())
            return;
        shown.push_back(paths);
        visible = true;
    }
    void hide() override
    {
        visible = false;
        ++hides;
    }

    bool visible = false;
    std::vector<QStringList> shown;
    int hides = 0;
};

} // namespace quillon::fakes
