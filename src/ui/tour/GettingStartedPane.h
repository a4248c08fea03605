#pragma once

#include "ui/Onboarding.h"
#include "ui/PaneView.h"
#include "ui/tour/TourState.h"

#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QVariantAnimation;
class QVBoxLayout;

namespace quillon {

class ShelfDragSample;
class ToggleSwitch;

/// The getting-started tour: a welcome card, one card per feature with its
/// demonstration, the permission it needs and its switch, then a finale. The
/// position is the stored "onboarding.index", so the tour resumes wherever
/// it was left.
class GettingStartedPane final : public PaneView {
    Q_OBJECT

public:
    explicit GettingStartedPane(SettingsModel& model, QWidget* parent = nullptr);
    ~GettingStartedPane() override;

    /// The demonstration behind a card's "Show me"; none leaves the row out.
    /// Replaceable, so the cards can be driven by demonstrations of a test's
    /// own.
    std::function<std::optional<TourDemo>(SettingsPane)> demoFor = &OnboardingDemo::demo;
    /// The sample file the Shelf card offers for dragging.
    std::function<std::optional<QString>()> sampleImage;

    TourState currentState() const;
    /// Moves the tour by `delta` cards and clears the demonstration's note.
    void step(int delta);
    /// Ends the tour ("Done" or "Skip the tour").
    void finish(bool dismissed);
    void reload() override;

    const std::optional<QString>& demoNote() const { return m_demoNote; }

    // The parts a test looks at.
    QLabel* titleLabel() const { return m_title; }
    QLabel* counterLabel() const { return m_counter; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* skipButton() const { return m_skip; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* doneButton() const { return m_done; }
    /// What Return presses: Next, or Done on the finale.
    QPushButton* defaultButton() const;
    QWidget* card() const { return m_card; }
    /// The parts of a feature card; none on the other cards or where the
    /// card has no such part.
    QPushButton* showMeButton() const { return m_showMe; }
    QLabel* demoText() const { return m_demoText; }
    QWidget* permissionBlock() const { return m_permission; }
    QLabel* permissionTitle() const { return m_permissionTitle; }
    QPushButton* grantButton() const { return m_grant; }
    ToggleSwitch* cardSwitch() const { return m_switch; }
    ShelfDragSample* shelfSample() const { return m_sample; }
    /// The new card is still sliding in.
    bool isAnimating() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showCard(qint64 index, const TourState& state);
    QWidget* welcomeCard();
    QWidget* finaleCard();
    QWidget* featureCard(SettingsPane pane);
    QWidget* makeDemoBlock(SettingsPane pane);
    QWidget* makePermissionBlock();
    void updateFeatureCard(SettingsPane pane);
    void runDemo(SettingsPane pane);
    void slideIn();

    std::optional<QString> m_demoNote;
    std::optional<qint64> m_shownIndex;
    QLabel* m_title = nullptr;
    QLabel* m_counter = nullptr;
    QProgressBar* m_progress = nullptr;
    QVBoxLayout* m_cardLayout = nullptr;
    QWidget* m_cardHolder = nullptr;
    QWidget* m_card = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_done = nullptr;
    QVariantAnimation* m_slide = nullptr;

    // The current feature card's parts.
    std::optional<TourDemo> m_demo;
    QPushButton* m_showMe = nullptr;
    QLabel* m_demoText = nullptr;
    QWidget* m_permission = nullptr;
    QLabel* m_permissionTitle = nullptr;
    QLabel* m_permissionReason = nullptr;
    QPushButton* m_grant = nullptr;
    OnboardingPermission::Need m_need;
    ToggleSwitch* m_switch = nullptr;
    ShelfDragSample* m_sample = nullptr;
};

} // namespace quillon
