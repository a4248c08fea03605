#pragma once

#include "platform/AppDirectory.h"
#include "platform/Observers.h"

namespace quillon::fakes {

/// Fixture desktop entries.
class FakeAppDirectory final : public platform::AppDirectory {
public:
    const std::vector<platform::AppEntry>& entries() override { return list; }
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }
    QString defaultFileManager() override { return fileManager; }
    void changed() { m_handlers.notify(); }

    std::vector<platform::AppEntry> list;
    QString fileManager = QStringLiteral("org.gnome.Nautilus");

private:
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
