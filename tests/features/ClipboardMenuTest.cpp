#include "features/clipboard/ClipboardMenu.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Kind = ClipboardMenu::Kind;

TEST(ClipboardMenu, KindOfPreview)
{
    struct Row {
        QString preview;
        Kind kind;
    };
    const Row table[] = {
        {"see https://example.org now", Kind::link},
        {"www.example.org", Kind::link},
        {"example.org/path", Kind::link},
        {"  me@example.org  ", Kind::email},
        {"a@b", Kind::code}, // no dot: one token
        {"f(x);", Kind::code},
        {"a sentence (with parentheses)", Kind::code},
        {"a sentence (one", Kind::text},
        {"plain words", Kind::text},
        {"token", Kind::code},
        {"mail me@example.org", Kind::text},
    };
    for (const Row& row : table)
        EXPECT_EQ(ClipboardMenu::kind(row.preview), row.kind) << row.preview.toStdString();
}

TEST(ClipboardMenu, ItemsCarrySlotSymbolAndFont)
{
    const auto items = ClipboardMenu::items({"https://x.org", "token", "two words"}, {false, true});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].slot, "1");
    EXPECT_EQ(items[0].symbol, "link");
    EXPECT_EQ(items[1].symbol, "pin.fill"); // pinned wins, the font still follows the kind
    EXPECT_TRUE(items[1].mono);
    EXPECT_EQ(items[2].slot, "3");
    EXPECT_EQ(items[2].symbol, "text.alignleft"); // a missing flag is false
    EXPECT_FALSE(items[2].mono);
    EXPECT_EQ(items[2].detail, std::nullopt);
}

TEST(ClipboardMenu, ShowUpdateAndSlots)
{
    fakes::FakePlatform fake;
    ClipboardMenu menu;
    std::vector<int> picks;
    std::vector<int> hovers;
    menu.onPick = [&](int slot) { picks.push_back(slot); };
    menu.onHover = [&](int slot) { hovers.push_back(slot); };

    menu.show({}, {}, ClipboardTab::recent);
    EXPECT_FALSE(menu.menu().isOpen());

    menu.show({"a", "b", "c"}, {}, ClipboardTab::recent);
    ASSERT_TRUE(menu.menu().isOpen());
    EXPECT_EQ(menu.menu().headerText(), QString("[ RECENT ]  PINS  \u00b7  SLOT 1 = CURRENT"));
    menu.highlight(3);
    EXPECT_EQ(menu.menu().highlightedIndex(), 2);
    menu.highlight(0);
    EXPECT_EQ(menu.menu().highlightedIndex(), std::nullopt);
    menu.menu().onPick(2);
    menu.menu().onHover(0);
    EXPECT_EQ(picks, std::vector<int>{3});
    EXPECT_EQ(hovers, std::vector<int>{1});

    menu.update({}, {}, ClipboardTab::pins);
    EXPECT_EQ(menu.menu().headerText(), "RECENT  [ PINS ]");
    EXPECT_EQ(menu.menu().shownEmptyText(),
              QString("No pins yet \u2014 pin items in Settings \u2192 Clipboard"));
    menu.close();
    menu.close();
    EXPECT_FALSE(menu.menu().isOpen());
}

} // namespace
} // namespace quillon
