#include "features/sweep/QuitPolicy.h"
#include "SweepFixture.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Mode = QuitPolicy::ListMode;

TEST(QuitPolicy, EachListModeKeyFallsBackToItsOwnDefault)
{
    // The sweep lets everything in unless told "onlyListed"; auto-quit lets
    // nothing in unless told "excludeListed".
    struct Row {
        std::optional<QString> stored;
        Mode sweep;
        Mode autoQuit;
    };
    const Row table[] = {
        {std::nullopt, Mode::excludeListed, Mode::onlyListed},
        {QStringLiteral("onlyListed"), Mode::onlyListed, Mode::onlyListed},
        {QStringLiteral("excludeListed"), Mode::excludeListed, Mode::excludeListed},
        {QStringLiteral("OnlyListed"), Mode::excludeListed, Mode::onlyListed},
        {QStringLiteral("everything"), Mode::excludeListed, Mode::onlyListed},
        {QString(), Mode::excludeListed, Mode::onlyListed},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.stored.value_or(QStringLiteral("(missing)")).toStdString());
        testing::QuitFixture f;
        for (const QString& key : {SettingsKeys::sweepListMode, SettingsKeys::autoQuitListMode}) {
            if (row.stored)
                f.setString(key, *row.stored);
            else
                f.settings.defaults().remove(key);
        }
        EXPECT_EQ(QuitPolicy::sweepListMode(f.settings), row.sweep);
        EXPECT_EQ(QuitPolicy::autoQuitListMode(f.settings), row.autoQuit);
    }
}

TEST(QuitPolicy, ListTestAndRawValues)
{
    const QSet<QString> listed{QStringLiteral("a")};
    EXPECT_FALSE(QuitPolicy::passesList(Mode::excludeListed, listed, QStringLiteral("a")));
    EXPECT_TRUE(QuitPolicy::passesList(Mode::excludeListed, listed, QStringLiteral("b")));
    EXPECT_TRUE(QuitPolicy::passesList(Mode::onlyListed, listed, QStringLiteral("a")));
    EXPECT_FALSE(QuitPolicy::passesList(Mode::onlyListed, listed, QStringLiteral("b")));
    for (const Mode mode : {Mode::excludeListed, Mode::onlyListed})
        EXPECT_EQ(QuitPolicy::listModeFromRaw(QuitPolicy::rawValue(mode)), mode);
    EXPECT_EQ(QuitPolicy::listModeFromRaw(QStringLiteral("sometimes")), std::nullopt);
}

TEST(QuitPolicy, TheDefaultFileManagerIsNeverQuit)
{
    testing::QuitFixture f;
    f.fake.appDirectoryImpl.fileManager = QStringLiteral("org.kde.dolphin");
    EXPECT_EQ(QuitPolicy::systemCriticalBundleIDs(), QSet<QString>{QStringLiteral("org.kde.dolphin")});
    f.fake.appDirectoryImpl.fileManager.clear();
    EXPECT_TRUE(QuitPolicy::systemCriticalBundleIDs().isEmpty())
        << "no file manager installed: nothing special";
}

} // namespace
} // namespace quillon
