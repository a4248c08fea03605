#include "fakes/FakePlatform.h"
#include "windows/WindowCensus.h"
#include "windows/WindowList.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::WindowEntry;
using platform::WindowKind;

namespace {

WindowEntry window(platform::WindowId id, int32_t pid, QRectF bounds = {0, 0, 400, 300})
{
    WindowEntry e;
    e.id = id;
    e.pid = pid;
    e.layer = 0;
    e.bounds = bounds;
    e.alpha = 1.0;
    e.onScreen = true;
    e.spaces = std::vector<uint64_t>{1};
    return e;
}

TEST(WindowCensus, NormalWindowNeedsLayerZeroSizeAndVisibleAlpha)
{
    struct Row {
        const char* name;
        std::optional<int> layer;
        std::optional<QRectF> bounds;
        std::optional<double> alpha;
        bool normal;
    };
    const Row rows[] = {
        {"ordinary", 0, QRectF(10, 10, 400, 300), 1.0, true},
        {"exactly 40 by 40", 0, QRectF(0, 0, 40, 40), 1.0, true},
        {"39 wide", 0, QRectF(0, 0, 39, 300), 1.0, false},
        {"39 high", 0, QRectF(0, 0, 300, 39), 1.0, false},
        {"alpha 0.05", 0, QRectF(0, 0, 400, 300), 0.05, false},
        {"alpha just above", 0, QRectF(0, 0, 400, 300), 0.051, true},
        {"no alpha entry", 0, QRectF(0, 0, 400, 300), std::nullopt, true},
        {"floating panel layer", 3, QRectF(0, 0, 400, 300), 1.0, false},
        {"no layer", std::nullopt, QRectF(0, 0, 400, 300), 1.0, false},
        {"no bounds", 0, std::nullopt, 1.0, false},
    };
    for (const Row& row : rows) {
        WindowEntry e;
        e.layer = row.layer;
        e.bounds = row.bounds;
        e.alpha = row.alpha;
        EXPECT_EQ(WindowCensus::isNormalWindow(e), row.normal) << row.name;
    }
}

class CensusTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    std::vector<WindowEntry>& list() { return *fake.windowServerImpl.list; }
};

TEST_F(CensusTest, OnScreenCountTakesTheProcessesVisibleNormalWindows)
{
    list().push_back(window(1, 42));
    list().push_back(window(2, 42, {0, 0, 20, 20}));     // too small
    list().push_back(window(3, 7));                      // another process
    auto hidden = window(4, 42);
    hidden.onScreen = false;
    list().push_back(hidden);
    auto desktop = window(5, 42);
    desktop.desktopElement = true;
    list().push_back(desktop);
    list().push_back(window(6, 42));
    EXPECT_EQ(WindowCensus::onScreenWindowCount(42), 2);
    EXPECT_EQ(WindowCensus::onScreenWindowCount(99), 0);

    fake.windowServerImpl.list.reset();
    EXPECT_EQ(WindowCensus::onScreenWindowCount(42), std::nullopt);
}

TEST_F(CensusTest, OtherSpaceCountSkipsWindowsOnTheActiveSpaceAndOnEverySpace)
{
    fake.spacesImpl.set(true, 1, 4);
    list().push_back(window(1, 42)); // here
    auto elsewhere = window(2, 42);
    elsewhere.spaces = std::vector<uint64_t>{2};
    elsewhere.onScreen = false;
    list().push_back(elsewhere);
    auto sticky = window(3, 42);
    sticky.spaces = std::vector<uint64_t>{1, 2, 3, 4};
    list().push_back(sticky);
    auto unknown = window(4, 42);
    unknown.spaces.reset();
    unknown.onScreen = false;
    list().push_back(unknown);
    auto elsewhereSmall = window(5, 42, {0, 0, 10, 10});
    elsewhereSmall.spaces = std::vector<uint64_t>{3};
    list().push_back(elsewhereSmall);
    auto noPid = window(6, 42);
    noPid.pid.reset();
    noPid.spaces = std::vector<uint64_t>{3};
    list().push_back(noPid);

    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(42), 1);
    fake.spacesImpl.set(true, 2, 4);
    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(42), 1) << "the window on Space 1 is now elsewhere";
    fake.windowServerImpl.list.reset();
    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(42), std::nullopt);
}

TEST_F(CensusTest, WithoutWorkspacesOtherSpaceCountIsUnknownButOnScreenCountWorks)
{
    fake.spacesImpl.set(false, 0, 0);
    list().push_back(window(1, 42));
    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(42), std::nullopt);
    EXPECT_EQ(fake.windowServerImpl.calls, 0) << "no list is read when Spaces cannot be told";
    EXPECT_EQ(WindowCensus::onScreenWindowCount(42), 1);
}

TEST_F(CensusTest, KeepAliveCountsOrdinaryWindowsDialogsAndUndeclaredOnes)
{
    struct Row {
        std::optional<WindowKind> kind;
        bool counted;
    };
    const Row rows[] = {
        {WindowKind::standard, true},  {WindowKind::dialog, true},        {std::nullopt, true},
        {WindowKind::utility, false},  {WindowKind::menu, false},         {WindowKind::splash, false},
        {WindowKind::notification, false}, {WindowKind::dock, false},     {WindowKind::desktop, false},
    };
    int expected = 0;
    platform::WindowId id = 1;
    for (const Row& row : rows) {
        fake.windowControlImpl.table.push_back({id++, 42, row.kind, QString("w"), {}});
        expected += row.counted ? 1 : 0;
        EXPECT_EQ(WindowCensus::keepsAlive(row.kind), row.counted);
    }
    fake.windowControlImpl.table.push_back({id++, 7, WindowKind::standard, QString("other"), {}});
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(42), expected);
}

TEST_F(CensusTest, KeepAliveIsZeroWithoutWindowsAndUnknownWhenUnreadable)
{
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(42), 0);
    fake.windowControlImpl.readable = false;
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(42), std::nullopt);
}

} // namespace
