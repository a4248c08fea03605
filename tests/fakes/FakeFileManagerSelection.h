#pragma once

#include "platform/FileManagerSelection.h"

#include <vector>

namespace quillon::fakes {

/// A file manager selection the test sets; reads are answered when the test
/// calls answer(), or at once unless `holdReads` is set.
class FakeFileManagerSelection final : public platform::FileManagerSelection {
public:
    bool isFrontmost() override { return frontmost; }
    void read(std::function<void(Answer)> done) override
    {
        ++reads;
        pending.push_back(std::move(done));
        if (!holdReads)
            answer();
    }
    void answer()
    {
        auto waiting = std::move(pending);
        pending.clear();
        for (auto& done : waiting)
            done(Answer{frontmost ? files : QList<QUrl>{}, frontmost ? error : std::nullopt});
    }

    bool frontmost = false;
    QList<QUrl> files;
    std::optional<QString> error;
    bool holdReads = false;
    int reads = 0;
    std::vector<std::function<void(Answer)>> pending;
};

} // namespace quillon::fakes
