#include "features/focus/FocusLayout.h"

#include "fakes/FakeWindowServer.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using FocusLayout::Owned;
using FocusLayout::Window;

std::vector<qulonglong> ids(const std::vector<Window>& windows)
{
    std::vector<qulonglong> out;
    for (const Window& w : windows)
        out.push_back(w.id);
    return out;
}

Owned entry(qint64 pid, qulonglong id, QRectF bounds = QRectF(0, 0, 100, 100))
{
    return {pid, {id, bounds}};
}

TEST(FocusLayout, LitWindowIsTheFocusedOneWhenListedElseTheOwnersFrontmost)
{
    // Front to back: app 7's window 1, app 5's windows 2 and 3.
    const std::vector<Owned> list = {entry(7, 1), entry(5, 2), entry(5, 3)};
    struct Row {
        const char* name;
        std::optional<qint64> owner;
        std::optional<qulonglong> focused;
        std::optional<qulonglong> lit;
    };
    const Row table[] = {
        {"no owner", std::nullopt, 3, std::nullopt},
        {"focused behind the owner's front window", 5, 3, 3},
        {"no focused window", 5, std::nullopt, 2},
        {"focused window not on screen", 5, 99, 2},
        {"focused window of another owner", 5, 1, 2},
        {"owner without windows", 9, std::nullopt, std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FocusLayout::litWindowID(row.owner, row.focused, list), row.lit);
    }
    EXPECT_EQ(FocusLayout::litWindowID(5, 3, {}), std::nullopt);
}

TEST(FocusLayout, DimsEverythingBehindTheLitWindowAndOtherAppsInFrontOfIt)
{
    // Front to back: owner 5's window 1, app 7's window 2, lit window 3 of
    // owner 5, then windows 4 (owner) and 5 (app 7) behind it.
    const std::vector<Owned> list = {entry(5, 1), entry(7, 2), entry(5, 3), entry(5, 4), entry(7, 5)};
    struct Row {
        const char* name;
        std::optional<qulonglong> lit;
        std::optional<qint64> owner;
        std::vector<qulonglong> dimmed;
    };
    const Row table[] = {
        {"owner's window in front stays bright, other app's dims", 3, 5, {2, 4, 5}},
        {"no lit window dims all", std::nullopt, 5, {1, 2, 3, 4, 5}},
        {"lit window not listed dims all", 42, 5, {1, 2, 3, 4, 5}},
        {"no owner dims everything but the lit one", 3, std::nullopt, {1, 2, 4, 5}},
        {"frontmost lit", 1, 5, {2, 3, 4, 5}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ids(FocusLayout::dimCandidates(row.lit, row.owner, list)), row.dimmed);
    }
    EXPECT_TRUE(FocusLayout::dimCandidates(std::nullopt, std::nullopt, {}).empty());
}

TEST(FocusLayout, TopmostWindowPerScreenTakesTheFrontmostTouchingEachScreen)
{
    const std::vector<QRectF> screens = {QRectF(0, 0, 1920, 1080), QRectF(1920, 0, 1280, 1024)};
    struct Row {
        const char* name;
        std::vector<Window> windows;
        std::vector<std::optional<qulonglong>> topmost;
    };
    const Row table[] = {
        {"no window", {}, {std::nullopt, std::nullopt}},
        {"one per screen", {{1, QRectF(2000, 10, 300, 300)}, {2, QRectF(10, 10, 300, 300)}}, {2, 1}},
        {"a window spanning both answers both",
         {{3, QRectF(1800, 10, 300, 300)}, {4, QRectF(10, 10, 300, 300)}},
         {3, 3}},
        {"frontmost wins", {{5, QRectF(10, 10, 50, 50)}, {6, QRectF(0, 0, 1920, 1080)}}, {5, std::nullopt}},
        // Touching an edge is no overlap.
        {"edge only", {{7, QRectF(1820, 0, 100, 100)}}, {7, std::nullopt}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FocusLayout::topmostWindowPerScreen(screens, row.windows), row.topmost);
    }
}

TEST(FocusLayout, PlanChoosesOwnerLitWindowAndAnchors)
{
    constexpr qint64 us = 100;
    const QRectF left(100, 100, 600, 400);
    const QRectF right(2100, 100, 600, 400);
    struct Row {
        const char* name;
        std::vector<platform::WindowEntry> list;
        std::optional<qint64> front;
        bool ownVisible;
        std::optional<qulonglong> focused;
        std::optional<qint64> owner;
        std::optional<qulonglong> lit;
        bool windowless;
        std::vector<std::optional<qulonglong>> anchors;
    };
    const Row table[] = {
        {"two screens: the second dims under its own topmost window",
         {fakes::listedWindow(5, 1, left), fakes::listedWindow(7, 2, right), fakes::listedWindow(7, 3, left)},
         5,
         false,
         1,
         5,
         1,
         false,
         {3, 2}},
        {"an owner window above the focused one stays bright",
         {fakes::listedWindow(5, 1, left), fakes::listedWindow(5, 2, left), fakes::listedWindow(7, 3, left)},
         5,
         false,
         2,
         5,
         2,
         false,
         {3, std::nullopt}},
        {"another app's window above the focused one dims the screen",
         {fakes::listedWindow(7, 1, left), fakes::listedWindow(5, 2, left), fakes::listedWindow(5, 3, left)},
         5,
         false,
         2,
         5,
         2,
         false,
         {1, std::nullopt}},
        {"no window at all",
         {},
         5,
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         true,
         {std::nullopt, std::nullopt}},
        {"our own window in front and visible",
         {fakes::listedWindow(us, 1, left), fakes::listedWindow(5, 2, left)},
         us,
         true,
         std::nullopt,
         us,
         1,
         false,
         {2, std::nullopt}},
        {"our own application in front without a visible window",
         {fakes::listedWindow(5, 2, left), fakes::listedWindow(7, 3, left)},
         us,
         false,
         std::nullopt,
         5,
         2,
         true,
         {3, std::nullopt}},
        {"a front application without windows lends the frontmost one's owner",
         {fakes::listedWindow(5, 2, left), fakes::listedWindow(7, 3, right)},
         9,
         false,
         std::nullopt,
         5,
         2,
         true,
         {std::nullopt, 3}},
        {"docks, slivers and our own overlays are not windows",
         {fakes::listedWindow(5, 1, left, 20), fakes::listedWindow(5, 2, QRectF(0, 0, 30, 300)),
          fakes::listedWindow(us, 77, left), fakes::listedWindow(7, 3, left)},
         7,
         false,
         std::nullopt,
         7,
         3,
         false,
         {std::nullopt, std::nullopt}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        FocusLayout::Facts facts;
        facts.list = row.list;
        facts.overlays = {77};
        facts.ownPid = us;
        facts.front = row.front;
        facts.ownWindowVisible = row.ownVisible;
        facts.screens = {QRectF(0, 0, 1920, 1080), QRectF(1920, 0, 1920, 1080)};
        int asked = 0;
        facts.focusedWindow = [&](qint64, const std::vector<Owned>&) {
            ++asked;
            return row.focused;
        };
        const FocusLayout::Plan plan = FocusLayout::plan(facts);
        EXPECT_EQ(plan.owner, row.owner);
        EXPECT_EQ(plan.lit, row.lit);
        EXPECT_EQ(plan.frontIsWindowless, row.windowless);
        EXPECT_EQ(plan.anchors, row.anchors);
        EXPECT_EQ(asked, row.owner ? 1 : 0);
    }
}

TEST(FocusLayout, AFocusedFrameMatchesOnlyWithinTwoPointsInEveryValue)
{
    const std::vector<Owned> list = {entry(7, 1, QRectF(10, 10, 500, 400)),
                                     entry(5, 2, QRectF(10, 10, 500, 400)),
                                     entry(5, 3, QRectF(300, 200, 500, 400))};
    struct Row {
        const char* name;
        QRectF frame;
        std::optional<qulonglong> match;
    };
    const Row table[] = {
        {"exact, first of the owner wins", QRectF(10, 10, 500, 400), 2},
        {"within 1.9 everywhere", QRectF(11.9, 8.1, 501.9, 398.1), 2},
        {"x off by exactly 2.0", QRectF(12, 10, 500, 400), std::nullopt},
        {"height off by exactly 2.0", QRectF(10, 10, 500, 402), std::nullopt},
        {"the owner's second window", QRectF(300, 200, 500, 400), 3},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FocusLayout::matchFrame(row.frame, 5, list), row.match);
    }
}

} // namespace
} // namespace quillon
