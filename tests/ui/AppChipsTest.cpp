#include "fakes/FakePlatform.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include "InputEvents.h"
#include <gtest/gtest.h>

namespace quillon {
namespace {

platform::AppEntry entry(const QString& id, const QString& name, const QString& icon = {})
{
    platform::AppEntry e;
    e.appId = id;
    e.name = name;
    e.icon = icon;
    e.path = "/usr/share/applications/" + id + ".desktop";
    return e;
}

QStringList ids(const std::vector<AppDirectory::InstalledApp>& apps)
{
    QStringList out;
    for (const auto& app : apps)
        out << app.bundleID;
    return out;
}

/// A chips row on the fake platform, recording every change it asks for.
struct AppChips : ::testing::Test {
    AppChips()
    {
        fake.appDirectoryImpl.list = {entry("kiwi", "Kiwi"), entry("pear", "Pear"), entry("fig", "Fig")};
        platform::RunningApp fig;
        fig.pid = 7;
        fig.appId = "fig";
        fig.name = "Fig";
        fig.regular = true;
        fake.workspaceImpl.apps = {fig};
    }
    std::unique_ptr<AppChipsRow> row(const QStringList& bundleIDs)
    {
        auto made = std::make_unique<AppChipsRow>("Apps", "Listed apps", bundleIDs,
                                                  [this](const QString& id) { changes << id; });
        made->resize(400, 100);
        made->show();
        return made;
    }
    AppPickerSheet* openPicker(AppChipsRow& chips)
    {
        chips.addButton()->click();
        AppPickerSheet* sheet = chips.addButton()->sheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet;
    }

    fakes::FakePlatform fake;
    QStringList changes;
};

TEST_F(AppChips, OneChipPerListedIdAndThePickerOffersTheRest)
{
    auto chips = row({"kiwi", "", "com.unknown.app", "kiwi"});
    EXPECT_EQ(chips->bundleIDs(), (QStringList{"kiwi", "com.unknown.app"}));
    const auto shown = chips->chips();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0]->name(), "Kiwi");
    EXPECT_EQ(shown[1]->name(), "com.unknown.app") << "an id nothing answers to shows itself";
    EXPECT_FALSE(shown[1]->hasIcon());

    AppPickerSheet* sheet = openPicker(*chips);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->size(), QSize(380, 340));
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(ids(sheet->shown()), (QStringList{"fig", "pear"})) << "running first, listed ones left out";
    EXPECT_TRUE(sheet->shown()[0].isRunning);

    shown[0]->removeButton()->click();
    EXPECT_EQ(changes, QStringList{"kiwi"});
}

TEST_F(AppChips, TypingNarrowsWithoutReloadingAndAClickAdds)
{
    auto chips = row({"kiwi"});
    AppPickerSheet* sheet = openPicker(*chips);
    ASSERT_TRUE(sheet);
    // Installed while the sheet is open: the list the sheet loaded stands.
    fake.appDirectoryImpl.list.push_back(entry("peach", "Peach"));
    testing::keyClicks(sheet->searchField(), "PE");
    EXPECT_EQ(ids(sheet->shown()), QStringList{"pear"});
    EXPECT_EQ(sheet->emptyText(), "");
    testing::keyClicks(sheet->searchField(), "x");
    EXPECT_TRUE(sheet->shown().empty());
    EXPECT_EQ(sheet->emptyText(), "No matches.");
    sheet->searchField()->setText(" ");
    ASSERT_EQ(ids(sheet->shown()), (QStringList{"fig", "pear"}));

    QListWidget* list = sheet->list();
    const QRect pearRow = list->visualItemRect(list->item(1));
    ASSERT_FALSE(pearRow.isEmpty());
    testing::click(list->viewport(), pearRow.center());
    EXPECT_EQ(changes, QStringList{"pear"});
    EXPECT_FALSE(sheet->isVisible());

    // Opening again reads the applications again, with an empty query.
    AppPickerSheet* again = openPicker(*chips);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->searchField()->text(), "");
    EXPECT_EQ(ids(again->shown()), (QStringList{"fig", "peach", "pear"}));
}

TEST_F(AppChips, EscapeClosesThePickerAddingNothing)
{
    auto chips = row({});
    AppPickerSheet* sheet = openPicker(*chips);
    ASSERT_TRUE(sheet);
    testing::keyClick(sheet->searchField(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(AppChips, NothingToOfferSaysToBrowse)
{
    fake.appDirectoryImpl.list.clear();
    fake.workspaceImpl.apps.clear();
    auto chips = row({});
    AppPickerSheet* sheet = openPicker(*chips);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->emptyText(), "No apps found — use Browse… to pick one.");
}

TEST_F(AppChips, BrowsingPicksAnEntryAndNothingElse)
{
    platform::AppEntry elsewhere = entry("org.plum.Plum", "Plum");
    elsewhere.path = "/tmp/Plum.desktop";
    fake.appDirectoryImpl.files = {elsewhere};
    struct Case {
        const char* name;
        QString path;
        bool closes;
        QStringList changes;
    };
    const Case cases[] = {
        {"not an application entry", "/tmp/readme.desktop", false, {}},
        {"an entry found anywhere", "/tmp/Plum.desktop", true, {"org.plum.Plum"}},
        // Adding an app already in the row would flip it out of the row.
        {"an entry already in the row", "/usr/share/applications/kiwi.desktop", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        changes.clear();
        auto chips = row({"kiwi"});
        AppPickerSheet* sheet = openPicker(*chips);
        ASSERT_TRUE(sheet);
        QFileDialog* chooser = sheet->browse();
        EXPECT_EQ(chooser->labelText(QFileDialog::Accept), "Choose");
        EXPECT_EQ(chooser->nameFilters(), QStringList{"Applications (*.desktop)"});
        emit chooser->fileSelected(c.path);
        chooser->reject();
        EXPECT_EQ(!sheet->isVisible(), c.closes);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST_F(AppChips, ChipsAndSuggestionsShowTheAppIcon)
{
    QTemporaryDir dir;
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.path() + "/plum.png"));
    fake.appDirectoryImpl.list.push_back(entry("plum", "Plum", dir.path() + "/plum.png"));
    AppChip chip("plum", nullptr);
    EXPECT_TRUE(chip.hasIcon());
    EXPECT_EQ(chip.height(), 22);

    int added = 0;
    SuggestionChip suggestion("plum", [&] { ++added; });
    EXPECT_TRUE(suggestion.hasIcon());
    EXPECT_EQ(suggestion.name(), "Plum");
    suggestion.click();
    EXPECT_EQ(added, 1);
}

TEST_F(AppChips, ALongNameElides)
{
    const QString name = QString("Very Long Application Name ").repeated(6);
    fake.appDirectoryImpl.list.push_back(entry("long", name));
    AppChip chip("long", nullptr);
    EXPECT_EQ(chip.name(), name);
    EXPECT_LE(chip.sizeHint().width(), AppChip::maxNameWidth + 60);
}

} // namespace
} // namespace quillon
