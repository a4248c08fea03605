#include "platform/linux/MprisPlayerSet.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace quillon::platform;
using namespace quillon::platform::linux_;

namespace {

// One line per notification: "Playing Title/Artist" or the stopped state.
QString line(const std::optional<PlayerNotification>& n)
{
    if (!n)
        return QStringLiteral("-");
    if (n->playerState == QLatin1String("Playing"))
        return QStringLiteral("Playing %1/%2").arg(n->name.value_or("?"), n->artist.value_or("?"));
    return n->playerState.value_or("?");
}

MprisPlayerSet::Update playing(const char* title)
{
    return {QStringLiteral("Playing"), QString::fromUtf8(title), QStringLiteral("Band")};
}
MprisPlayerSet::Update status(const char* status)
{
    return {QString::fromUtf8(status), std::nullopt, std::nullopt};
}

TEST(MprisPlayerSetTest, TheChipFollowsThePlayerThatStartedLast)
{
    MprisPlayerSet players;
    const QString a = ":1.10", b = ":1.11";
    const QString sa = "org.mpris.MediaPlayer2.a", sb = "org.mpris.MediaPlayer2.b";
    QStringList lines;
    lines << line(players.update(a, sa, status("Paused"))); // nothing shown yet: quiet
    lines << line(players.update(a, sa, playing("One")));
    lines << line(players.update(b, sb, playing("Two")));                       // b started last
    lines << line(players.update(a, sa, {std::nullopt, "One'", std::nullopt})); // a is not followed
    lines << line(players.update(b, sb, status("Paused")));                     // back to a, still playing
    lines << line(players.update(b, sb, playing("Two")));
    lines << line(players.remove(b));                        // b leaves: a again
    lines << line(players.update(a, sa, status("Paused")));  // none plays
    lines << line(players.update(a, sa, status("Stopped"))); // still none: quiet
    EXPECT_EQ(lines, (QStringList{"-", "Playing One/Band", "Playing Two/Band", "-", "Playing One'/Band",
                                  "Playing Two/Band", "Playing One'/Band", "Paused", "-"}));
}

TEST(MprisPlayerSetTest, APlayerThatLeavesWhilePlayingStopsTheChip)
{
    MprisPlayerSet players;
    players.update(":1.5", "org.mpris.MediaPlayer2.x", playing("One"));
    EXPECT_EQ(line(players.remove(":1.5")), "Stopped");
    EXPECT_EQ(line(players.remove(":1.5")), "-");
}

TEST(MprisPlayerSetTest, KeysGoToTheFollowedPlayerEvenWhenPaused)
{
    MprisPlayerSet players;
    EXPECT_FALSE(players.keyTarget());
    players.update(":1.1", "org.mpris.MediaPlayer2.a", status("Paused"));
    EXPECT_EQ(players.keyTarget(), "org.mpris.MediaPlayer2.a");
    players.update(":1.2", "org.mpris.MediaPlayer2.b", playing("Two"));
    EXPECT_EQ(players.keyTarget(), "org.mpris.MediaPlayer2.b");
    players.update(":1.2", "org.mpris.MediaPlayer2.b", status("Paused"));
    EXPECT_EQ(players.keyTarget(), "org.mpris.MediaPlayer2.b") << "paused with the key: play resumes it";
}

TEST(MprisPlayerSetTest, KeysGoToThePlayerThatPlayedLastNeverToAStoppedOne)
{
    MprisPlayerSet players;
    players.update(":1.1", "org.mpris.MediaPlayer2.a", status("Stopped"));
    EXPECT_FALSE(players.keyTarget()) << "a stopped player is no target";
    players.update(":1.2", "org.mpris.MediaPlayer2.b", playing("One"));
    players.update(":1.3", "org.mpris.MediaPlayer2.c", playing("Two"));
    players.update(":1.3", "org.mpris.MediaPlayer2.c", status("Paused"));
    players.update(":1.2", "org.mpris.MediaPlayer2.b", status("Paused"));
    EXPECT_EQ(players.keyTarget(), "org.mpris.MediaPlayer2.b") << "b reported Playing last";
    players.remove(":1.2");
    EXPECT_EQ(players.keyTarget(), "org.mpris.MediaPlayer2.c") << "gone: a paused one";
}

TEST(MprisPlayerSetTest, UnwatchedKeysGoToAPlayingPlayerElseAPausedOne)
{
    using Statuses = std::map<QString, QString>;
    const struct {
        Statuses statuses;
        std::optional<QString> target;
    } cases[] = {
        {{}, std::nullopt},
        {{{"a", "Stopped"}, {"b", ""}}, std::nullopt},
        {{{"a", "Paused"}, {"b", "Playing"}, {"c", "Stopped"}}, "b"},
        {{{"a", "Stopped"}, {"b", "Paused"}}, "b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MprisPlayerSet::keyTargetAmong(c.statuses), c.target) << c.statuses.size();
}

} // namespace
