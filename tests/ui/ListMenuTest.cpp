#include "ui/ListMenu.h"
#include "fakes/FakePlatform.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <gtest/gtest.h>

namespace quillon {
namespace {

std::vector<ListMenu::Item> itemsOf(int count)
{
    std::vector<ListMenu::Item> items;
    for (int i = 0; i < count; ++i)
        items.push_back({QString::number(i + 1), QString("item %1").arg(i), std::nullopt, "link", false});
    return items;
}

class ListMenuTest : public ::testing::Test {
protected:
    ListMenuTest()
    {
        fake.displaysImpl.screenList = {fakes::makeScreen({0, 0, 1440, 900})};
        fake.pointerImpl.position = {500, 600};
        menu.onPick = [this](int index) { picks.push_back(index); };
        menu.onHover = [this](int index) { hovers.push_back(index); };
    }

    QWidget* row(int index) const
    {
        auto* scroll = menu.panel()->findChild<QScrollArea*>();
        const QObjectList children = scroll->widget()->children();
        return static_cast<QWidget*>(children.at(index));
    }
    void enter(int index)
    {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(row(index), &event);
    }
    QRectF frame() const { return *fake.overlays.find(menu.panel())->frame; }

    fakes::FakePlatform fake;
    ListMenu menu;
    std::vector<int> picks;
    std::vector<int> hovers;
};

TEST_F(ListMenuTest, ShowsAnOverlayAtThePointerWithRowZeroHighlighted)
{
    menu.show(itemsOf(3), ListMenu::Caption{"Recent"}, {"esc"}, 5);
    ASSERT_TRUE(menu.isOpen());
    const auto* record = fake.overlays.find(menu.panel());
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->shown);
    EXPECT_EQ(record->style.level, 101);
    EXPECT_FALSE(record->style.clickThrough);
    EXPECT_EQ(frame(), QRectF(504, 600 - 167 - 4, 340, 167));
    EXPECT_EQ(menu.highlightedIndex(), 0);
    EXPECT_EQ(menu.headerText(), "RECENT");

    // A second show replaces the panel rather than stacking one.
    QWidget* first = menu.panel();
    menu.show(itemsOf(1), ListMenu::Search{"", "Search snippets"}, {}, 6);
    EXPECT_NE(menu.panel(), first);
    EXPECT_FALSE(fake.overlays.find(first)->shown);
    EXPECT_EQ(menu.headerText(), "Search snippets");
    menu.update(itemsOf(1), ListMenu::Search{"a", ""});
    EXPECT_EQ(menu.headerText(), QString(":a") + QChar(0x258C));
}

TEST_F(ListMenuTest, HighlightBelowTheViewScrollsTheLeast)
{
    menu.show(itemsOf(12), ListMenu::Caption{"x"}, {}, 5);
    menu.highlight(4);
    EXPECT_EQ(menu.scrollOffset(), 0);
    menu.highlight(6);
    EXPECT_EQ(menu.highlightedIndex(), 6);
    EXPECT_EQ(menu.scrollOffset(), 2 * 34);
    menu.highlight(11);
    EXPECT_EQ(menu.scrollOffset(), 7 * 34);
    menu.highlight(8); // already in view: stays
    EXPECT_EQ(menu.scrollOffset(), 7 * 34);
    menu.highlight(12); // no such row: none highlighted, no scroll
    EXPECT_EQ(menu.highlightedIndex(), std::nullopt);
    EXPECT_EQ(menu.scrollOffset(), 7 * 34);
}

TEST_F(ListMenuTest, HoverOnlyWhenThePointerMoved)
{
    menu.show(itemsOf(3), ListMenu::Caption{"x"}, {}, 5);
    enter(1); // mapped under a still pointer
    EXPECT_TRUE(hovers.empty());
    fake.pointerImpl.position = {520, 580};
    enter(2);
    enter(1); // rows moved under the same location
    EXPECT_EQ(hovers, std::vector<int>{2});
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(row(1), &press);
    EXPECT_EQ(picks, std::vector<int>{1});
    EXPECT_EQ(menu.highlightedIndex(), 0); // a click does not move the highlight
}

TEST_F(ListMenuTest, UpdateKeepsTheTopEdge)
{
    menu.show(itemsOf(2), ListMenu::Caption{"x"}, {"a", "b"}, 5);
    const QRectF before = frame();
    menu.highlight(1);
    menu.update(itemsOf(7), ListMenu::Caption{"y"});
    EXPECT_EQ(frame().bottom(), before.bottom()); // y-up: bottom() is the top edge
    EXPECT_EQ(frame().height(), 235);
    EXPECT_EQ(menu.highlightedIndex(), 0);
    menu.update({}, ListMenu::Caption{"y"});
    EXPECT_EQ(frame().bottom(), before.bottom());
    EXPECT_EQ(frame().height(), 99);
    EXPECT_EQ(menu.shownEmptyText(), "No matches");
    menu.setEmptyText("Nothing here");
    EXPECT_EQ(menu.shownEmptyText(), "Nothing here");
}

TEST_F(ListMenuTest, CallsAfterCloseChangeNothing)
{
    menu.show(itemsOf(3), ListMenu::Caption{"x"}, {}, 5);
    QWidget* panel = menu.panel();
    menu.close();
    EXPECT_FALSE(menu.isOpen());
    EXPECT_FALSE(fake.overlays.find(panel)->shown);
    const std::size_t records = fake.overlays.records.size();
    menu.update(itemsOf(5), ListMenu::Caption{"y"});
    menu.highlight(2);
    menu.setEmptyText("later");
    menu.close();
    EXPECT_FALSE(menu.isOpen());
    EXPECT_EQ(fake.overlays.records.size(), records);
    EXPECT_TRUE(fake.overlays.shownWindows().empty());
    // The callbacks stay for the next show.
    menu.show(itemsOf(1), ListMenu::Caption{"x"}, {}, 5);
    EXPECT_EQ(menu.shownEmptyText(), std::nullopt);
    fake.pointerImpl.position = {1, 1};
    enter(0);
    EXPECT_EQ(hovers, std::vector<int>{0});
}

TEST_F(ListMenuTest, OpaqueWindowIsCutToItsOutline)
{
    fake.overlays.translucentWindows = false;
    menu.show(itemsOf(2), ListMenu::Caption{"x"}, {}, 5);
    const auto* record = fake.overlays.find(menu.panel());
    ASSERT_TRUE(record->shape);
    EXPECT_EQ(record->shape->boundingRect(), QRectF(0, 0, 340, 133));
}

} // namespace
} // namespace quillon
