#include "PaneFixture.h"

#include "features/clipboard/ClipboardFeature.h"
#include "features/snippets/SnippetsFeature.h"
#include "settings/SettingsKeys.h"
#include "support/AppFiles.h"
#include "ui/SegmentedControl.h"
#include "ui/SnippetBodyEditor.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/ClipboardPane.h"
#include "ui/panes/SnippetEditor.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

namespace quillon {
namespace {

std::vector<ClipboardEntry> entries(const QStringList& texts)
{
    std::vector<ClipboardEntry> list;
    for (const QString& text : texts)
        list.push_back({text, QDateTime()});
    return list;
}

QStringList texts(const std::vector<ClipboardRowState>& rows)
{
    QStringList out;
    for (const ClipboardRowState& row : rows)
        out << row.entry.text;
    return out;
}

QStringList numbered(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << QStringLiteral("copy %1").arg(i);
    return out;
}

ClipboardPaneState historyState(const QStringList& history, const QString& search,
                                const QStringList& pins = {})
{
    return ClipboardPane::state(entries(history), entries(pins), ClipboardPaneTab::history, search, {}, true,
                                {});
}

TEST(ClipboardPaneState, SearchFieldShowsFromSevenEntriesAndStaysWhileItFilters)
{
    struct Row {
        const char* name;
        int count;
        QString search;
        bool field;
        int rows;
        std::optional<QString> empty;
    };
    const Row rows[] = {
        {"six entries", 6, "", false, 6, std::nullopt},
        {"seven entries", 7, "", true, 7, std::nullopt},
        {"a filter typed in capitals", 7, "COPY 7", true, 1, std::nullopt},
        // The filter kept once the history shrank: its field stays to clear it.
        {"a kept filter", 5, "nothing", true, 0, "No matches."},
        {"no history", 0, "", false, 0, "No clipboard history yet."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ClipboardPaneState state = historyState(numbered(row.count), row.search);
        EXPECT_EQ(state.showsSearch, row.field);
        EXPECT_EQ(int(state.rows.size()), row.rows);
        EXPECT_EQ(state.emptyText, row.empty);
    }
}

TEST(ClipboardPaneState, PinnedFlagsClearAndHeadersPerTab)
{
    const std::vector<ClipboardEntry> pins = entries({"b", "Cafe\u0301"});
    const std::vector<ClipboardEntry> history = entries({"a", "b", "c"});
    const ClipboardPaneState shown =
        ClipboardPane::state(history, pins, ClipboardPaneTab::history, "", {}, true, {});
    EXPECT_EQ(texts(shown.rows), QStringList({"b", "Cafe\u0301", "a", "c"})) << "pins first, each text once";
    // Matched by text, canonically: the history's composed "Café" is the pin.
    const ClipboardPaneState composed =
        ClipboardPane::state(entries({"Caf\u00e9", "a"}), pins, ClipboardPaneTab::history, "", {}, true, {});
    EXPECT_EQ(texts(composed.rows), QStringList({"b", "Cafe\u0301", "a"}));
    EXPECT_TRUE(shown.rows[0].pinned);
    EXPECT_TRUE(shown.rows[1].pinned);
    EXPECT_FALSE(shown.rows[2].pinned);
    EXPECT_TRUE(shown.showsClear);
    EXPECT_EQ(shown.header, "History — 📌 pins an item, or save it as a snippet");

    const ClipboardPaneState pinsTab =
        ClipboardPane::state(history, pins, ClipboardPaneTab::pins, "", {}, true, {});
    EXPECT_FALSE(pinsTab.showsClear);
    EXPECT_FALSE(pinsTab.showsSearch);
    EXPECT_EQ(texts(pinsTab.rows), QStringList({"b", "Cafe\u0301"}));
    EXPECT_EQ(pinsTab.header, "Pins — drag to reorder; the Ctrl+V picker follows this order");

    const ClipboardPaneState noPins = ClipboardPane::state({}, {}, ClipboardPaneTab::pins, "", {}, true, {});
    EXPECT_EQ(noPins.emptyText, "No pins yet — 📌 an item in History.");
    EXPECT_FALSE(ClipboardPane::state({}, {}, ClipboardPaneTab::history, "", {}, true, {}).showsClear);
    // After Clear the pins alone are the history, and Clear stays.
    EXPECT_TRUE(ClipboardPane::state({}, pins, ClipboardPaneTab::history, "", {}, true, {}).showsClear);
}

TEST(ClipboardPaneState, LongEntriesShowTheirPreview)
{
    const QString huge = QString("x").repeated(100'000);
    const QString address = "https://example.org/" + QString("a").repeated(60) + "/end";
    const ClipboardPaneState state = historyState({huge, address}, "");
    EXPECT_EQ(state.rows[0].preview, QString("x").repeated(55) + "…");
    EXPECT_EQ(state.rows[1].preview, address.left(27) + "…" + address.right(27));
    EXPECT_EQ(state.rows[0].entry.text.size(), 100'000) << "the row keeps the whole text";
}

TEST(ClipboardPaneState, SuggestionsAreInstalledAppsNotExcludedUnlessHidden)
{
    const QStringList installed{"org.remmina.Remmina", "virt-manager", "barrier"};
    struct Row {
        const char* name;
        QSet<QString> excluded;
        bool hidden;
        QStringList suggestions;
        QStringList chips;
    };
    const Row rows[] = {
        {"all installed, in table order", {}, false, installed, {}},
        {"an excluded one leaves",
         {"virt-manager", "zz.unknown"},
         false,
         {"org.remmina.Remmina", "barrier"},
         {"virt-manager", "zz.unknown"}},
        {"hidden for good", {}, true, {}, {}},
        {"all excluded",
         {"org.remmina.Remmina", "virt-manager", "barrier"},
         false,
         {},
         {"barrier", "org.remmina.Remmina", "virt-manager"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ClipboardPaneState state =
            ClipboardPane::state({}, {}, ClipboardPaneTab::history, "", row.excluded, row.hidden, installed);
        EXPECT_EQ(state.suggestions, row.suggestions);
        if (!row.chips.isEmpty()) {
            EXPECT_EQ(state.excludedApps, row.chips);
        }
    }
}

TEST(ClipboardPaneState, DropGapCountsTheRowsAboveThePointer)
{
    const std::vector<int> centres{10, 30, 50};
    EXPECT_EQ(ClipboardPane::dropGap(centres, 0), 0);
    EXPECT_EQ(ClipboardPane::dropGap(centres, 29), 1);
    EXPECT_EQ(ClipboardPane::dropGap(centres, 55), 3);
    EXPECT_EQ(
        ClipboardPane::privacyText("/home/ann/.local/share/Quillon", "/home/ann"),
        "copies that password managers mark as secret are never stored. What is kept is a plain file in "
        "~/.local/share/Quillon, readable only by your account — Clear empties it.");
}

struct ClipboardPaneTest : testing::PaneFixture<ClipboardPane> {
    ClipboardStore& store() { return app->clipboard().store(); }
    /// Writes the two files as the feature keeps them.
    void stored(const QStringList& history, const QStringList& pins)
    {
        QDir().mkpath(AppFiles::root());
        QFile file(AppFiles::root() + "/Clipboard.json");
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ClipboardStore::encode(entries(history)));
        file.close();
        QFile pinsFile(AppFiles::root() + "/ClipboardPins.json");
        EXPECT_TRUE(pinsFile.open(QIODevice::WriteOnly));
        pinsFile.write(ClipboardStore::encodePins(entries(pins), false));
    }
    QJsonDocument read(const QString& name) const
    {
        QFile file(AppFiles::root() + "/" + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll());
    }
    QStringList pinsOnDisk() const
    {
        const QJsonDocument pins = read("ClipboardPins.json");
        const QJsonArray list = pins.isArray() ? pins.array() : pins.object().value("pins").toArray();
        QStringList out;
        for (const QJsonValue& each : list)
            out << each.toObject().value("text").toString();
        return out;
    }
    QStringList shown()
    {
        QStringList out;
        for (ClipboardHistoryRow* row : pane().rows())
            out << row->entry().text;
        return out;
    }
};

TEST_F(ClipboardPaneTest, ShowsTheStoredListsOfAFeatureThatIsOff)
{
    stored({"one", "two", "three"}, {"two"});
    ASSERT_FALSE(app->clipboard().isActive());
    EXPECT_EQ(shown(), QStringList({"two", "one", "three"}));
    EXPECT_TRUE(pane().rows()[0]->pinned());
    EXPECT_EQ(pane().rows()[0]->pinButton()->property("symbol").toString(), "pin.fill");
    EXPECT_EQ(pane().rows()[1]->pinButton()->property("symbol").toString(), "pin");
    EXPECT_TRUE(pane().searchField()->isHidden());
    EXPECT_FALSE(pane().clearButton()->isHidden());
}

TEST_F(ClipboardPaneTest, PinUnpinAndDragReorderThePinsFile)
{
    stored({"a", "b", "c", "d"}, {});
    pane().rows()[2]->pinButton()->click(); // c
    settle();
    pane().rows()[2]->pinButton()->click(); // b (c leads now)
    settle();
    pane().rows()[3]->pinButton()->click(); // d
    settle();
    EXPECT_EQ(pinsOnDisk(), QStringList({"d", "b", "c"}));

    pane().tabControl()->buttons()[1]->click();
    settle();
    EXPECT_EQ(pane().tab(), ClipboardPaneTab::pins);
    EXPECT_EQ(shown(), QStringList({"d", "b", "c"}));
    EXPECT_TRUE(pane().clearButton()->isHidden());

    // Row 0 dropped below row 2: the list move of {0} to the gap before 3.
    pane().resize(640, 900);
    pane().show();
    QApplication::processEvents();
    QApplication::processEvents();
    QWidget* area = pane().rowArea();
    const QRect last = pane().rows()[2]->geometry();
    QMimeData mime;
    mime.setData(ClipboardHistoryRow::dragType, "0");
    QDropEvent drop(QPointF(last.center().x(), last.bottom() - 1), Qt::MoveAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    // The drop goes where the drag entered, as a drag's events do.
    QDragEnterEvent enter(drop.position().toPoint(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QApplication::sendEvent(area, &drop);
    EXPECT_TRUE(drop.isAccepted());
    settle();
    EXPECT_EQ(pinsOnDisk(), QStringList({"b", "c", "d"}));
    EXPECT_TRUE(read("ClipboardPins.json").object().value("manualOrder").toBool())
        << read("ClipboardPins.json").toJson().constData();
    EXPECT_EQ(shown(), QStringList({"b", "c", "d"}));

    pane().rows()[1]->pinButton()->click(); // unpin c
    settle();
    EXPECT_EQ(pinsOnDisk(), QStringList({"b", "d"}));
}

TEST_F(ClipboardPaneTest, ClearEmptiesTheHistoryAndKeepsThePins)
{
    stored({"a", "b"}, {"p"});
    pane().clearButton()->click();
    settle();
    EXPECT_EQ(read("Clipboard.json").array(), QJsonArray());
    EXPECT_EQ(pinsOnDisk(), QStringList({"p"}));
    EXPECT_EQ(shown(), QStringList({"p"}));
    EXPECT_FALSE(pane().clearButton()->isHidden()) << "the pins are still the history";
    EXPECT_TRUE(pane().clearWarning()->isHidden());
}

TEST_F(ClipboardPaneTest, AClearThatCannotEmptyTheFileSaysSo)
{
    stored({}, {"p"});
    pane();
    // A folder where the file should be: neither written nor removed.
    QFile::remove(AppFiles::root() + "/Clipboard.json");
    ASSERT_TRUE(QDir().mkpath(AppFiles::root() + "/Clipboard.json"));
    QFile inside(AppFiles::root() + "/Clipboard.json/keep");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();
    store().entries = entries({"secret"});

    pane().clearButton()->click();
    settle();
    EXPECT_TRUE(fake.log.contains("Couldn't clear the clipboard history"));
    EXPECT_FALSE(pane().clearWarning()->isHidden());
    EXPECT_TRUE(QFileInfo(AppFiles::root() + "/Clipboard.json").isDir());
    EXPECT_EQ(shown(), QStringList({"p"})) << "what the store reads back";
}

TEST_F(ClipboardPaneTest, SaveAsSnippetOpensTheEditorWithTheWholeText)
{
    const QString text = "first line\nsecond line with more";
    stored({text}, {});
    pane().rows()[0]->saveButton()->click();
    SnippetEditor* editor = pane().editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->nameField()->text().isEmpty());
    EXPECT_EQ(editor->bodyEditor()->text(), text);
    editor->cancelButton()->click();
    settle();
    EXPECT_TRUE(app->snippets().store().all().empty());
    EXPECT_EQ(pane().editor(), nullptr);

    pane().rows()[0]->saveButton()->click();
    pane().editor()->nameField()->setText("two");
    pane().editor()->saveButton()->click();
    settle();
    ASSERT_EQ(app->snippets().store().all().size(), 1u);
    EXPECT_EQ(app->snippets().store().all()[0].body, text);
}

TEST_F(ClipboardPaneTest, SuggestionsAndExclusionsGoThroughTheSettings)
{
    pane();
    settings().toggleClipboardExcludedApp("zz.unknown.app");
    settle();
    EXPECT_EQ(pane().excludedChips()->bundleIDs(), QStringList({"zz.unknown.app"}));
    EXPECT_EQ(pane().excludedChips()->chips()[0]->name(), "zz.unknown.app")
        << "an unknown id shows as itself";

    pane().stopSuggestingButton()->click();
    settle();
    EXPECT_TRUE(settings().defaults().boolForKey(SettingsKeys::clipboardSuggestionsHidden));
    EXPECT_TRUE(pane().suggestionsBlock()->isHidden());
}

} // namespace
} // namespace quillon
