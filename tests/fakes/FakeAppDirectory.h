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
    /// An installed entry at that path, else one of `files`.
    std::optional<platform::AppEntry> entryAt(const QString& path) override
    {
        for (const auto* entries : {&list, &files}) {
            for (const auto& e : *entries) {
                if (e.path == path)
                    return e;
            }
        }
        return std::nullopt;
    }
    QString userApplicationsFolder() override { return applicationsFolder; }
    void changed() { m_handlers.notify(); }

    std::vector<platform::AppEntry> list;
    QString fileManager = QStringLiteral("org.gnome.Nautilus");
    /// Application entries outside the installed folders, by their path.
    std::vector<platform::AppEntry> files;
    QString applicationsFolder = QStringLiteral("/home/user/.local/share/applications");

private:
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
