#pragma once

#include "platform/Screenshots.h"

namespace quillon::fakes {

/// A screenshot tool whose folder the test sets and whose new files it
/// pushes with `arrive`.
class FakeScreenshots final : public platform::Screenshots {
public:
    std::optional<QString> configuredLocation() override { return location; }
    bool watch(const QString& folder, std::function<void(const QString&)> onFile) override
    {
        if (!watchable)
            return false;
        watched = folder;
        m_onFile = std::move(onFile);
        return true;
    }
    void unwatch() override
    {
        watched.clear();
        m_onFile = nullptr;
    }
    void arrive(const QString& path)
    {
        if (m_onFile)
            m_onFile(path);
    }

    std::optional<QString> location;
    bool watchable = true;
    QString watched;

private:
    std::function<void(const QString&)> m_onFile;
};

} // namespace quillon::fakes
