#include "app/SettingsPane.h"
#include "fakes/FakePlatform.h"
#include "input/FeatureChords.h"
#include "support/DS.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct PaneRow {
    SettingsPane pane;
    const char* raw;
    const char* title;
    const char* enabledKey; // nullptr: no switch
    QStringList hotkeys;
    bool needsAccessibilityToTrigger;
};

const QString chord = QStringLiteral("r\u2318 r\u2325 ");

std::vector<PaneRow> rows()
{
    return {
        {SettingsPane::gettingStarted, "gettingStarted", "Getting Started", nullptr, {}, false},
        {SettingsPane::general, "general", "General", nullptr, {chord + "~", chord + "1", chord + "2"}, true},
        {SettingsPane::snap, "snap", "Snap", "snap.isEnabled", {"\u2303\u2325"}, false},
        {SettingsPane::jump, "jump", "Jump", "jump.isEnabled", {"r\u2318"}, true},
        {SettingsPane::colorPicker,
         "colorPicker",
         "Color",
         "colorPicker.isEnabled",
         {"\u2303\u2325\u21e7C"},
         false},
        {SettingsPane::clipboard,
         "clipboard",
         "Clipboard",
         "clipboard.isEnabled",
         {"hold \u2318V", chord + "C"},
         true},
        {SettingsPane::snippets, "snippets", "Snippets", "snippets.isEnabled", {"r\u2318 :"}, true},
        {SettingsPane::ocr, "ocr", "OCR", "ocr.isEnabled", {chord + "T"}, true},
        {SettingsPane::shelf, "shelf", "Shelf", "shelf.isEnabled", {chord + "S"}, true},
        {SettingsPane::focus, "focus", "Focus", "focus.isEnabled", {chord + "F"}, true},
        {SettingsPane::breaks, "breaks", "Breaks", "breaks.isEnabled", {chord + "B"}, true},
        {SettingsPane::swipe, "swipe", "Swipe", "swipe.isEnabled", {}, false},
        {SettingsPane::awake, "awake", "Awake", "awake.isEnabled", {chord + "A"}, true},
        {SettingsPane::notch, "notch", "Notch", nullptr, {}, false},
        {SettingsPane::sweep, "sweep", "Sweep", "sweep.isEnabled", {}, false},
        {SettingsPane::autoQuit, "autoQuit", "Auto-Quit", "autoQuit.isEnabled", {}, false},
        {SettingsPane::about, "about", "About", nullptr, {}, false},
    };
}

TEST(SettingsPane, CatalogueHoldsEveryPaneInSidebarOrder)
{
    fakes::FakePlatform fake;
    Settings settings(fake.defaults, QStringLiteral("app.quillon.Quillon"));
    const auto table = rows();
    ASSERT_EQ(SettingsPane::allCases().size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PaneRow& row = table[i];
        SCOPED_TRACE(row.raw);
        const SettingsPane pane = SettingsPane::allCases()[i];
        EXPECT_EQ(pane, row.pane);
        EXPECT_EQ(pane.rawValue(), row.raw);
        EXPECT_EQ(SettingsPane::fromRaw(row.raw), row.pane);
        EXPECT_EQ(pane.title(), row.title);
        EXPECT_EQ(pane.hotkeys(), row.hotkeys);
        EXPECT_EQ(pane.needsAccessibilityToTrigger(), row.needsAccessibilityToTrigger);
        EXPECT_TRUE(pane.icon().has_value()) << pane.symbol().toStdString();
        EXPECT_EQ(pane.tint(), DS::featureTints().value(pane.title(), QColor(Qt::transparent)));
        EXPECT_EQ(pane.blurb().isEmpty(), pane == SettingsPane::general || pane == SettingsPane::about);

        const auto path = pane.enabledKeyPath();
        ASSERT_EQ(path.has_value(), row.enabledKey != nullptr);
        if (!path)
            continue;
        // The key path reads and writes the pane's switch, through the change setter.
        int changes = 0;
        const QUuid observer = settings.addObserver([&] { ++changes; });
        path->set(settings, true);
        EXPECT_TRUE(settings.defaults().boolForKey(row.enabledKey));
        EXPECT_TRUE(path->get(settings));
        path->set(settings, false);
        EXPECT_FALSE(settings.defaults().boolForKey(row.enabledKey));
        EXPECT_EQ(changes, 2);
        settings.removeObserver(observer);
    }
}

TEST(SettingsPane, RawValuesAreCaseSensitive)
{
    EXPECT_FALSE(SettingsPane::fromRaw("Snap"));
    EXPECT_FALSE(SettingsPane::fromRaw(""));
    EXPECT_EQ(SettingsPane::fromRaw("autoQuit"), SettingsPane::autoQuit);
}

TEST(SettingsPane, FeaturePanesAreTheFourteenWithoutTourGeneralAndAbout)
{
    const std::vector<SettingsPane> expected{
        SettingsPane::snap,     SettingsPane::jump,    SettingsPane::colorPicker, SettingsPane::clipboard,
        SettingsPane::snippets, SettingsPane::ocr,     SettingsPane::shelf,       SettingsPane::focus,
        SettingsPane::breaks,   SettingsPane::swipe,   SettingsPane::awake,       SettingsPane::notch,
        SettingsPane::sweep,    SettingsPane::autoQuit};
    EXPECT_EQ(SettingsPane::features(), expected);
    // The notch is a feature pane, though it cannot be switched off.
    EXPECT_FALSE(SettingsPane(SettingsPane::notch).enabledKeyPath());
}

TEST(SettingsPane, IconIsMadeOnceAndKept)
{
    const auto first = SettingsPane(SettingsPane::shelf).icon();
    const auto second = SettingsPane(SettingsPane::shelf).icon();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->cacheKey(), second->cacheKey());
}

TEST(SettingsPane, BlurbsNameLinuxThings)
{
    EXPECT_EQ(SettingsPane(SettingsPane::awake).blurb(),
              QStringLiteral("Keep the computer awake \u2014 indefinitely or for a set time."));
    EXPECT_EQ(SettingsPane(SettingsPane::swipe).blurb(),
              QStringLiteral("Switch desktops (workspaces) instantly \u2014 no sliding animation."));
}

TEST(FeatureChords, KeysBelongToTheirPanesInCaseOrder)
{
    struct Row {
        FeatureChords::Key key;
        const char* letter;
        SettingsPane pane;
        FeatureChords::Kind kind;
    };
    using K = FeatureChords::Key;
    using Kind = FeatureChords::Kind;
    const Row table[] = {
        {K::awake, "A", SettingsPane::awake, Kind::toggles},
        {K::focus, "F", SettingsPane::focus, Kind::toggles},
        {K::shelf, "S", SettingsPane::shelf, Kind::tools},
        {K::breaks, "B", SettingsPane::breaks, Kind::toggles},
        {K::ocr, "T", SettingsPane::ocr, Kind::tools},
        {K::clipboard, "C", SettingsPane::clipboard, Kind::tools},
        {K::settings, "~", SettingsPane::general, Kind::app},
        {K::profile1, "1", SettingsPane::general, Kind::app},
        {K::profile2, "2", SettingsPane::general, Kind::app},
    };
    ASSERT_EQ(std::size(table), FeatureChords::allKeys.size());
    for (std::size_t i = 0; i < std::size(table); ++i) {
        EXPECT_EQ(FeatureChords::allKeys[i], table[i].key);
        EXPECT_EQ(FeatureChords::letter(table[i].key), table[i].letter);
        EXPECT_EQ(FeatureChords::pane(table[i].key), table[i].pane);
        EXPECT_EQ(FeatureChords::kind(table[i].key), table[i].kind);
    }
    EXPECT_TRUE(FeatureChords::chords(SettingsPane::notch).isEmpty());
}

} // namespace
} // namespace quillon
