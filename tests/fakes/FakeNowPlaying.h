#pragma once

#include "platform/NowPlaying.h"
#include "platform/Observers.h"

#include <vector>

namespace quillon::fakes {

/// A scripted player: tests send its notifications.
class FakeNowPlaying final : public platform::NowPlaying {
public:
    int addHandler(std::function<void(const platform::PlayerNotification&)> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeHandler(int token) override { m_handlers.remove(token); }

    void send(const platform::PlayerNotification& notification) { m_handlers.notify(notification); }
    void play(const QString& title, const QString& artist)
    {
        send({QStringLiteral("Playing"), title, artist});
    }
    void pause() { send({QStringLiteral("Paused"), std::nullopt, std::nullopt}); }
    bool watching() const { return !m_handlers.empty(); }
    std::size_t handlerCount() const { return m_handlers.size(); }

private:
    platform::Observers<const platform::PlayerNotification&> m_handlers;
};

/// Records the keys posted.
class FakeMediaKeys final : public platform::MediaKeys {
public:
    void post(Key key) override { posted.push_back(key); }
    std::vector<Key> posted;
};

} // namespace quillon::fakes
