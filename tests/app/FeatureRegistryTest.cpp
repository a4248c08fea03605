#include "app/FeatureRegistry.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "support/Log.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillon {
namespace {

/// Records every call into a journal shared by all features.
class RecordingFeature final : public Feature {
public:
    RecordingFeature(QString label, QStringList& journal)
        : m_label(std::move(label))
        , m_journal(journal)
    {
    }
    bool isActive() const override { return active; }
    void activate() override
    {
        m_journal << m_label + "+";
        active = true;
    }
    void deactivate() override
    {
        m_journal << m_label + "-";
        active = false;
    }
    bool active = false;

private:
    QString m_label;
    QStringList& m_journal;
};

class FeatureRegistryTest : public ::testing::Test {
protected:
    FeatureRegistryTest()
    {
        Log::isDebugEnabled = true;
        for (const SettingsPane pane : SettingsPane::features()) {
            owned.push_back(std::make_unique<RecordingFeature>(pane.rawValue(), journal));
            entries.push_back({pane, owned.back().get()});
        }
    }
    ~FeatureRegistryTest() override { Log::isDebugEnabled = false; }

    RecordingFeature& feature(SettingsPane pane)
    {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].pane == pane)
                return *owned[i];
        }
        throw std::logic_error("no such feature");
    }
    void walk(bool granted)
    {
        journal.clear();
        FeatureRegistry::walk(entries, settings, granted);
    }
    std::vector<NotchContent> report(bool notchActive = true)
    {
        std::vector<NotchContent> chips;
        registry.reportToggles(entries, notchActive, [&](const NotchContent& c) { chips.push_back(c); });
        return chips;
    }
    QStringList debugLines() const
    {
        QStringList lines;
        for (const auto& line : fake.log.lines) {
            if (line.message.startsWith("Feature "))
                lines << line.message;
        }
        return lines;
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    QStringList journal;
    std::vector<std::unique_ptr<RecordingFeature>> owned;
    std::vector<FeatureEntry> entries;
    FeatureRegistry registry;
};

TEST_F(FeatureRegistryTest, WalkVisitsEveryFeatureInOrderOnEveryPass)
{
    settings.setSnapEnabled(true);
    settings.setOCREnabled(true);
    const QStringList expected{"snap+",  "jump-",  "colorPicker-", "clipboard-", "snippets-",
                               "ocr+",   "shelf-", "focus-",       "breaks-",    "swipe-",
                               "awake-", "notch+", "sweep-",       "autoQuit-"};
    walk(true);
    EXPECT_EQ(journal, expected);
    // Nothing changed: every feature is still called, and nothing is logged again.
    const QStringList firstLines = debugLines();
    walk(true);
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(debugLines(), firstLines);
    EXPECT_EQ(firstLines, (QStringList{"Feature Snap: ON", "Feature OCR: ON", "Feature Notch: ON"}));
}

TEST_F(FeatureRegistryTest, FeaturesThatNeedAccessibilityWaitForIt)
{
    // Every switch on: without the trust only the six that need it stay off.
    for (const SettingsPane pane : SettingsPane::features()) {
        if (const auto path = pane.enabledKeyPath())
            path->set(settings, true);
    }
    walk(false);
    QStringList off;
    for (const auto& entry : entries) {
        if (!entry.feature->isActive())
            off << entry.pane.rawValue();
    }
    EXPECT_EQ(off, (QStringList{"snap", "jump", "clipboard", "snippets", "swipe", "sweep"}));
    // Never active, so launching without the trust logs no OFF line.
    EXPECT_FALSE(debugLines().join('\n').contains("OFF"));

    walk(true);
    EXPECT_TRUE(feature(SettingsPane::snap).active);
    fake.log.lines.clear();
    walk(false);
    EXPECT_FALSE(feature(SettingsPane::snap).active);
    EXPECT_TRUE(feature(SettingsPane::colorPicker).active);
    EXPECT_TRUE(feature(SettingsPane::autoQuit).active);
    EXPECT_EQ(debugLines(), (QStringList{"Feature Snap: OFF \u2014 needs Accessibility",
                                         "Feature Jump: OFF \u2014 needs Accessibility",
                                         "Feature Clipboard: OFF \u2014 needs Accessibility",
                                         "Feature Snippets: OFF \u2014 needs Accessibility",
                                         "Feature Swipe: OFF \u2014 needs Accessibility",
                                         "Feature Sweep: OFF \u2014 needs Accessibility"}));

    fake.log.lines.clear();
    settings.setAutoQuitEnabled(false);
    walk(false);
    EXPECT_EQ(debugLines(), QStringList{"Feature Auto-Quit: OFF \u2014 switched off"});
}

TEST_F(FeatureRegistryTest, WithEverySwitchOffOnlyTheNotchRuns)
{
    walk(true);
    for (const auto& entry : entries)
        EXPECT_EQ(entry.feature->isActive(), entry.pane == SettingsPane::notch)
            << entry.pane.rawValue().toStdString();
    EXPECT_TRUE(report().empty());
}

TEST_F(FeatureRegistryTest, ToggleChipsShowOnlyChangesAfterTheFirstReport)
{
    settings.setClipboardEnabled(true);
    settings.setAwakeEnabled(true);
    walk(true);
    EXPECT_TRUE(report().empty()) << "the first report after launch only records";

    walk(true);
    EXPECT_TRUE(report().empty()) << "nothing changed";

    settings.setClipboardEnabled(false);
    settings.setFocusEnabled(true);
    settings.setAwakeEnabled(false); // keep-awake shows a chip of its own
    walk(true);
    const auto chips = report();
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(chips[0].caption, "Clipboard");
    ASSERT_EQ(chips[0].left.size(), 1u);
    EXPECT_EQ(chips[0].left[0].icon->cacheKey(), SettingsPane(SettingsPane::clipboard).icon()->cacheKey());
    ASSERT_EQ(chips[0].right.size(), 1u);
    EXPECT_EQ(chips[0].right[0].text, "Off");
    EXPECT_TRUE(chips[0].right[0].value);
    EXPECT_FALSE(chips[0].right[0].accentDot);
    EXPECT_FALSE(chips[0].outlineColor);
    EXPECT_EQ(chips[1].caption, "Focus");
    EXPECT_EQ(chips[1].right[0].text, "On");
    EXPECT_TRUE(chips[1].right[0].accentDot);
}

TEST_F(FeatureRegistryTest, ChangesWhileTheNotchIsOffAreRecordedWithoutChips)
{
    walk(true);
    report();
    settings.setBreaksEnabled(true);
    walk(true);
    EXPECT_TRUE(report(false).empty());
    // The change was taken as seen: it does not show later either.
    walk(true);
    EXPECT_TRUE(report(true).empty());
}

TEST(FeatureRegistry, AccessibilityIsNeededForFeaturesOrRightHandShortcuts)
{
    fakes::FakePlatform fake;
    Settings settings(fake.defaults, QStringLiteral("app.quillon.Quillon"));
    struct Row {
        const QString key;
        bool needed;
    };
    const Row table[] = {
        {"snap.isEnabled", true},         // window control
        {"colorPicker.isEnabled", false}, // its hot key is an ordinary one
        {"ocr.isEnabled", true},          // its chord uses the right-hand leaders
        {"awake.isEnabled", true},        {"autoQuit.isEnabled", false}, {"swipe.isEnabled", true},
    };
    EXPECT_FALSE(FeatureRegistry::needsAccessibilityNow(settings));
    for (const Row& row : table) {
        SCOPED_TRACE(row.key.toStdString());
        settings.set(true, row.key);
        EXPECT_EQ(FeatureRegistry::needsAccessibilityNow(settings), row.needed);
        settings.set(false, row.key);
    }
}

} // namespace
} // namespace quillon
