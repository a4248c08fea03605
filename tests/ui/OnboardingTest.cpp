#include "UiFixture.h"

#include "permissions/ScreenRecordingPermission.h"
#include "ui/Onboarding.h"

namespace quillon {
namespace {

using P = SettingsPane;

TEST(Onboarding, Steps)
{
    const std::pair<std::vector<SettingsPane>, std::vector<SettingsPane>> cases[] = {
        {{}, {}},
        {{P::notch, P::about}, {}},
        {{P::colorPicker, P::autoQuit, P::ocr}, {P::ocr, P::colorPicker, P::autoQuit}},
        {{P::gettingStarted, P::general, P::autoQuit, P::snap, P::autoQuit},
         {P::snap, P::autoQuit, P::autoQuit}},
        {SettingsPane::features(),
         {P::snap, P::jump, P::clipboard, P::snippets, P::ocr, P::shelf, P::focus, P::breaks, P::swipe,
          P::awake, P::sweep, P::colorPicker, P::autoQuit}},
    };
    for (const auto& [panes, steps] : cases)
        EXPECT_EQ(Onboarding::steps(panes), steps) << panes.size();
    for (const SettingsPane pane : {P::shelf, P::ocr, P::snap, P::breaks})
        EXPECT_EQ(Onboarding::ask(pane), Onboarding::Ask::permission) << pane.rawValue().toStdString();
    for (const SettingsPane pane : {P::colorPicker, P::autoQuit})
        EXPECT_EQ(Onboarding::ask(pane), Onboarding::Ask::nothing) << pane.rawValue().toStdString();
}

TEST(Onboarding, FractionAndMenuLabel)
{
    const std::tuple<int, int, double> fractions[] = {
        {0, 14, 1.0 / 14}, {-3, 14, 1.0 / 14}, {3, 14, 4.0 / 14}, {13, 14, 1.0},
        {14, 14, 1.0},     {5, 0, 1.0},        {0, -1, 1.0},
    };
    for (const auto& [index, total, fraction] : fractions)
        EXPECT_DOUBLE_EQ(Onboarding::fraction(index, total), fraction) << index << " of " << total;

    const std::tuple<int, int, const char*> labels[] = {
        {3, 14, "Getting Started — 4 of 14"},   {0, 14, "Getting Started — 1 of 14"},
        {20, 14, "Getting Started — 14 of 14"}, {-2, 14, "Getting Started — 1 of 14"},
        {5, 0, "Getting Started — 1 of 0"},
    };
    for (const auto& [index, total, label] : labels)
        EXPECT_EQ(Onboarding::menuLabel(index, total), QString::fromUtf8(label)) << index;
}

struct OnboardingNeeds : ::testing::Test, testing::UiFixture {
    ~OnboardingNeeds() override { ScreenRecordingPermission::grantedAtLaunch = false; }
};

TEST_F(OnboardingNeeds, PerPane)
{
    // Screen capture: at launch or now.
    fake.permissionsImpl.screenCapture = false;
    auto ocr = OnboardingPermission::need(P::ocr, *model);
    EXPECT_EQ(ocr.title, "Screen Recording");
    EXPECT_FALSE(ocr.reason.contains("relaunch"));
    EXPECT_FALSE(ocr.granted);
    ScreenRecordingPermission::grantedAtLaunch = true;
    EXPECT_TRUE(OnboardingPermission::need(P::ocr, *model).granted);

    // The shelf asks for automation, though its chord needs Accessibility too.
    setTrusted(false);
    for (const auto& [consent, granted] : {std::pair(platform::AutomationConsent::notApplicable, true),
                                           std::pair(platform::AutomationConsent::granted, true),
                                           std::pair(platform::AutomationConsent::denied, false)}) {
        fake.permissionsImpl.consent = consent;
        const auto shelf = OnboardingPermission::need(P::shelf, *model);
        EXPECT_EQ(shelf.granted, granted);
        EXPECT_EQ(shelf.title, "Automation (File Manager)");
        EXPECT_TRUE(shelf.reason.startsWith("Only so Right Ctrl Right Alt S")) << shelf.reason.toStdString();
    }
    // Its request redraws the model once the answer is in.
    int changes = 0;
    QObject::connect(model.get(), &SettingsModel::changed, [&changes] { ++changes; });
    OnboardingPermission::need(P::shelf, *model).request();
    fake.queue.drain();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fake.permissionsImpl.automationRequests, 1);

    // Everyone else: Accessibility, as the permission object knows it.
    for (const bool trusted : {false, true}) {
        setTrusted(trusted);
        const auto snap = OnboardingPermission::need(P::snap, *model);
        EXPECT_EQ(snap.title, "Accessibility");
        EXPECT_TRUE(snap.reason.contains("X11"));
        EXPECT_EQ(snap.granted, trusted);
    }
    const int before = fake.permissionsImpl.accessibilityRequests;
    OnboardingPermission::need(P::jump, *model).request();
    EXPECT_EQ(fake.permissionsImpl.accessibilityRequests, before + 1);

    // Open goes to the right page.
    fake.systemSettingsImpl.opens = true;
    OnboardingPermission::need(P::ocr, *model).open();
    OnboardingPermission::need(P::shelf, *model).open();
    OnboardingPermission::need(P::snap, *model).open();
    EXPECT_EQ(fake.systemSettingsImpl.requested,
              (std::vector<platform::SettingsPage>{platform::SettingsPage::screenCapture,
                                                   platform::SettingsPage::automation,
                                                   platform::SettingsPage::accessibility}));
}

} // namespace
} // namespace quillon
