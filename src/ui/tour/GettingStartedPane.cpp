#include "ui/tour/GettingStartedPane.h"

#include "platform/MotionPreference.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/AppIcon.h"
#include "support/DS.h"
#include "support/KeyNames.h"
#include "support/Symbols.h"
#include "support/Words.h"
#include "ui/OnboardingSample.h"
#include "ui/SettingsModel.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/TextRows.h"
#include "ui/tour/ShelfDragSample.h"

#include <QApplication>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <algorithm>

namespace quillon {

namespace {

constexpr int cardMargin = 30;
constexpr int slideDistance = 24;
const QColor orange(255, 149, 0);

/// A divider with 4 above and below.
QWidget* paddedDivider()
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->addWidget(hairline());
    return box;
}

QWidget* symbolLine(const QString& symbol, const QString& text)
{
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);
    layout->addWidget(glyphLabel(symbol, 13, QColor(128, 128, 128)), 0, Qt::AlignVCenter);
    layout->addWidget(paneLabel(text, 12.5, QFont::Normal, true), 1);
    return line;
}

/// The tinted square with the pane's glyph in white.
QLabel* paneTile(SettingsPane pane)
{
    auto* label = new QLabel;
    label->setFixedSize(40, 40);
    QPixmap pixmap(80, 80);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(pane.tint());
        painter.drawRoundedRect(QRectF(0, 0, 80, 80), 18, 18);
        if (const auto icon = pane.icon())
            Symbols::paint(painter, *icon, QRectF(18, 18, 44, 44), Qt::white);
    }
    pixmap.setDevicePixelRatio(2);
    label->setPixmap(pixmap);
    return label;
}

QVBoxLayout* column(QWidget* owner, int spacing, const QMargins& margins = {})
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(margins);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

GettingStartedPane::GettingStartedPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , sampleImage([] { return OnboardingSample::imageURL(); })
{
    auto* layout = column(this, 0);

    auto* header = new QWidget;
    auto* headerLayout = column(header, 10, QMargins(cardMargin, 22, cardMargin, 16));
    auto* titleRow = new QHBoxLayout;
    m_title = paneLabel(QString(), 15, QFont::DemiBold);
    m_title->setWordWrap(false);
    m_counter = paneLabel(QString(), 12, QFont::Normal, true);
    m_counter->setWordWrap(false);
    titleRow->addWidget(m_title);
    titleRow->addStretch(1);
    titleRow->addWidget(m_counter);
    headerLayout->addLayout(titleRow);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(6);
    m_progress->setAccessibleName(QStringLiteral("Tour progress"));
    headerLayout->addWidget(m_progress);
    layout->addWidget(header);
    layout->addWidget(hairline());

    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* content = new QWidget;
    m_cardLayout = column(content, 0, QMargins(cardMargin, 26, cardMargin, 26));
    m_cardHolder = new QWidget;
    auto* holderLayout = new QHBoxLayout(m_cardHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holderLayout->addStretch(0);
    m_cardLayout->addWidget(m_cardHolder);
    m_cardLayout->addStretch(1);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    layout->addWidget(hairline());

    auto* footer = new QWidget;
    auto* footerLayout = new QHBoxLayout(footer);
    footerLayout->setContentsMargins(cardMargin, 14, cardMargin, 14);
    footerLayout->setSpacing(10);
    m_back = new QPushButton(QStringLiteral("Back"));
    m_back->setAccessibleName(m_back->text());
    connect(m_back, &QPushButton::clicked, this, [this] { step(-1); });
    footerLayout->addWidget(m_back);
    footerLayout->addStretch(1);
    m_skip = new QPushButton(QStringLiteral("Skip the tour"));
    m_skip->setAccessibleName(m_skip->text());
    m_skip->setFlat(true);
    m_skip->setCursor(Qt::PointingHandCursor);
    QPalette link = m_skip->palette();
    link.setColor(QPalette::ButtonText, link.color(QPalette::Link));
    m_skip->setPalette(link);
    connect(m_skip, &QPushButton::clicked, this, [this] { finish(true); });
    footerLayout->addWidget(m_skip);
    m_next = prominentButton(QStringLiteral("Next"));
    connect(m_next, &QPushButton::clicked, this, [this] { step(1); });
    footerLayout->addWidget(m_next);
    m_done = prominentButton(QStringLiteral("Done"));
    connect(m_done, &QPushButton::clicked, this, [this] { finish(false); });
    footerLayout->addWidget(m_done);
    layout->addWidget(footer);

    m_slide = new QVariantAnimation(this);
    m_slide->setDuration(180);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    m_slide->setStartValue(0.0);
    m_slide->setEndValue(1.0);
    connect(m_slide, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double t = value.toDouble();
        if (auto* effect = m_card ? qobject_cast<QGraphicsOpacityEffect*>(m_card->graphicsEffect()) : nullptr)
            effect->setOpacity(t);
        const int offset = int((1.0 - t) * slideDistance);
        m_cardLayout->setContentsMargins(cardMargin + offset, 26, cardMargin - offset, 26);
    });
    connect(m_slide, &QVariantAnimation::finished, this, [this] {
        if (m_card)
            m_card->setGraphicsEffect(nullptr);
        m_cardLayout->setContentsMargins(cardMargin, 26, cardMargin, 26);
    });
}

GettingStartedPane::~GettingStartedPane()
{
    qApp->removeEventFilter(this);
}

TourState GettingStartedPane::currentState() const
{
    return TourState::at(TourState::storedIndex(model().features.settings));
}

void GettingStartedPane::step(int delta)
{
    m_demoNote.reset();
    TourState::step(model().features.settings, delta);
    // An unchanged position notifies nobody; the cleared note still shows.
    model().refresh();
}

void GettingStartedPane::finish(bool dismissed)
{
    TourState::finish(model().features.settings, dismissed, model().onWalkthroughFinished);
}

QPushButton* GettingStartedPane::defaultButton() const
{
    return currentState().card.kind == Onboarding::Card::Kind::finale ? m_done : m_next;
}

bool GettingStartedPane::isAnimating() const
{
    return m_slide->state() == QAbstractAnimation::Running;
}

void GettingStartedPane::reload()
{
    const qint64 index = TourState::storedIndex(model().features.settings);
    const TourState state = TourState::at(index);
    m_title->setText(state.title);
    m_counter->setText(state.counter);
    m_progress->setValue(qRound(state.progress * 1000));
    m_back->setEnabled(state.backEnabled);
    const auto offers = [&state](TourButton button) {
        return std::find(state.buttons.begin(), state.buttons.end(), button) != state.buttons.end();
    };
    m_skip->setVisible(offers(TourButton::skip));
    m_next->setVisible(offers(TourButton::next));
    m_done->setVisible(offers(TourButton::done));
    if (m_shownIndex != index)
        showCard(index, state);
    PaneView::reload();
    if (state.card.kind == Onboarding::Card::Kind::step)
        updateFeatureCard(*state.card.pane);
}

void GettingStartedPane::showCard(qint64 index, const TourState& state)
{
    const bool first = !m_shownIndex.has_value();
    m_shownIndex = index;
    m_slide->stop();
    if (m_card) {
        m_card->hide();
        m_card->deleteLater();
    }
    m_card = nullptr;
    m_demo.reset();
    m_showMe = nullptr;
    m_demoText = nullptr;
    m_permission = nullptr;
    m_permissionTitle = nullptr;
    m_permissionReason = nullptr;
    m_grant = nullptr;
    m_switch = nullptr;
    m_sample = nullptr;
    m_cardLayout->setContentsMargins(cardMargin, 26, cardMargin, 26);

    switch (state.card.kind) {
    case Onboarding::Card::Kind::welcome:
        m_card = welcomeCard();
        break;
    case Onboarding::Card::Kind::finale:
        m_card = finaleCard();
        break;
    case Onboarding::Card::Kind::step:
        m_card = featureCard(*state.card.pane);
        break;
    }
    m_card->setMaximumWidth(560);
    static_cast<QHBoxLayout*>(m_cardHolder->layout())->insertWidget(0, m_card, 1);
    if (!first && !platform::platform().motionPreference().reduceMotion())
        slideIn();
}

void GettingStartedPane::slideIn()
{
    auto* effect = new QGraphicsOpacityEffect(m_card);
    effect->setOpacity(0);
    m_card->setGraphicsEffect(effect);
    m_cardLayout->setContentsMargins(cardMargin + slideDistance, 26, cardMargin - slideDistance, 26);
    m_slide->start();
}

QWidget* GettingStartedPane::welcomeCard()
{
    auto* card = new QWidget;
    auto* layout = column(card, 14);
    layout->addWidget(iconLabel(AppIcon::icon(), 72));
    layout->addWidget(paneLabel(QStringLiteral("Welcome to Quillon"), 22, QFont::DemiBold));
    layout->addWidget(paneLabel(
        QStringLiteral(
            "Fourteen small utilities in one tray app — window snapping, a clipboard history, a file "
            "shelf, screen OCR, eye breaks and more. Everything is off until you turn it on, and anything "
            "left off costs nothing at all."),
        13.5, QFont::Normal, true));
    layout->addWidget(paddedDivider());
    layout->addWidget(
        paneLabel(QStringLiteral("This short tour introduces them one at a time. Each one shows you "
                                 "what it actually does, then you decide whether to keep it. Press "
                                 "Next to start."),
                  13, QFont::Normal, true));
    return card;
}

QWidget* GettingStartedPane::finaleCard()
{
    auto* card = new QWidget;
    auto* layout = column(card, 14);
    layout->addWidget(glyphLabel(QStringLiteral("checkmark.seal.fill"), 34, DS::accent()));
    layout->addWidget(paneLabel(QStringLiteral("That's all of it."), 21, QFont::DemiBold));
    layout->addWidget(
        paneLabel(QStringLiteral("Everything you switched on is running now. Everything you left off "
                                 "costs nothing at all — no timer, no watcher, no memory."),
                  13.5, QFont::Normal, true));
    layout->addWidget(paddedDivider());
    layout->addWidget(symbolLine(QStringLiteral("arrow.counterclockwise"),
                                 QStringLiteral("Run it again any time from General → Getting Started.")));
    layout->addWidget(
        symbolLine(QStringLiteral("keyboard"), paneText("r⌘ r⌥ ~ opens this window from anywhere.")));
    return card;
}

QWidget* GettingStartedPane::featureCard(SettingsPane pane)
{
    auto* card = new QWidget;
    auto* layout = column(card, 0);

    auto* top = new QHBoxLayout;
    top->setSpacing(13);
    top->addWidget(paneTile(pane), 0, Qt::AlignVCenter);
    auto* names = new QVBoxLayout;
    names->setSpacing(3);
    names->addWidget(paneLabel(pane.title(), 19, QFont::DemiBold));
    if (const QString key = TourState::firstKey(pane); !key.isEmpty()) {
        auto* keyLabel = new QLabel(key);
        keyLabel->setFont(monospacedFont(11.5));
        keyLabel->setForegroundRole(QPalette::PlaceholderText);
        names->addWidget(keyLabel);
    }
    top->addLayout(names, 1);
    layout->addLayout(top);

    layout->addSpacing(14);
    layout->addWidget(paneLabel(KeyNames::label(pane.blurb()), 13.5, QFont::Normal, true));

    if (QWidget* demo = makeDemoBlock(pane)) {
        layout->addSpacing(20);
        layout->addWidget(demo);
    }
    if (Onboarding::ask(pane) == Onboarding::Ask::permission)
        layout->addWidget(makePermissionBlock());

    layout->addSpacing(18);
    auto* switchRow = new QHBoxLayout;
    switchRow->setSpacing(12);
    const QString title = pane.title();
    switchRow->addWidget(new RowLabel(QStringLiteral("Turn ") + title + QStringLiteral(" on"),
                                      QStringLiteral("you can change your mind any time in ") + title +
                                          QStringLiteral("'s own pane")),
                         1);
    m_switch = new ToggleSwitch(QStringLiteral("Turn ") + title + QStringLiteral(" on"));
    m_switch->bind(model().master(pane));
    switchRow->addWidget(m_switch, 0, Qt::AlignRight | Qt::AlignVCenter);
    layout->addLayout(switchRow);
    return card;
}

QWidget* GettingStartedPane::makeDemoBlock(SettingsPane pane)
{
    QWidget* content = nullptr;
    if (pane == SettingsPane::shelf) {
        m_sample = new ShelfDragSample(sampleImage, [this] {
            m_demoNote = QString::fromUtf8(ShelfDragSample::dragNote);
            if (m_sample)
                m_sample->setNote(m_demoNote);
        });
        content = m_sample;
    } else if ((m_demo = demoFor ? demoFor(pane) : std::nullopt)) {
        content = new QWidget;
        auto* row = new QHBoxLayout(content);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(10);
        m_showMe = new QPushButton(QStringLiteral("Show me"));
        m_showMe->setAccessibleName(m_showMe->text());
        if (const auto play = Symbols::image(QStringLiteral("play.circle.fill")))
            m_showMe->setIcon(QIcon(QPixmap::fromImage(Symbols::render(*play, QSize(28, 28), DS::accent()))));
        connect(m_showMe, &QPushButton::clicked, this, [this, pane] { runDemo(pane); });
        row->addWidget(m_showMe, 0, Qt::AlignVCenter);
        m_demoText = paneLabel(QString(), 11.5);
        row->addWidget(m_demoText, 1, Qt::AlignVCenter);
    } else if (pane == SettingsPane::focus) {
        content =
            paneLabel(QStringLiteral("Turn it on and everything behind the window you're working in dims — "
                                     "including behind this one."),
                      11.5, QFont::Normal, true);
    }
    if (!content)
        return nullptr;
    auto* block = new Plate(10, 0.045);
    auto* layout = column(block, 10, QMargins(14, 14, 14, 14));
    layout->addWidget(content);
    return block;
}

QWidget* GettingStartedPane::makePermissionBlock()
{
    // Spaced from above by its own margin, so a hidden block leaves no gap.
    m_permission = new QWidget;
    auto* outer = column(m_permission, 0, QMargins(0, 16, 0, 0));
    auto* plate = new Plate(9, 0.09, 0, orange);
    outer->addWidget(plate);
    auto* layout = column(plate, 8, QMargins(12, 12, 12, 12));

    auto* top = new QHBoxLayout;
    top->setSpacing(7);
    top->addWidget(glyphLabel(QStringLiteral("exclamationmark.triangle.fill"), 11, orange), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_permissionTitle = paneLabel(QString(), 12.5, QFont::Medium);
    m_permissionReason = paneLabel(QString(), 11.5, QFont::Normal, true);
    texts->addWidget(m_permissionTitle);
    texts->addWidget(m_permissionReason);
    top->addLayout(texts, 1);
    layout->addLayout(top);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_grant = prominentButton(QStringLiteral("Grant Access"), true);
    connect(m_grant, &QPushButton::clicked, this, [this] {
        if (m_need.request)
            m_need.request();
        model().refresh();
    });
    buttons->addWidget(m_grant);
    const QString openTitle = Words::adapt(QStringLiteral("Open System Settings"));
    auto* open = compactButton(openTitle);
    connect(open, &QPushButton::clicked, this, [this] {
        if (m_need.open)
            m_need.open();
    });
    buttons->addWidget(open);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return m_permission;
}

void GettingStartedPane::updateFeatureCard(SettingsPane pane)
{
    if (m_showMe && m_demo) {
        const TourDemoRow row =
            TourState::demoRow(*m_demo, pane.title(), model().master(pane).get(), m_demoNote);
        m_showMe->setEnabled(row.enabled);
        m_demoText->setText(row.text);
        m_demoText->setProperty("tone", row.secondary ? "secondary" : "tertiary");
        QPalette palette = m_demoText->palette();
        QColor tone = QApplication::palette().color(QPalette::WindowText);
        tone.setAlphaF(row.secondary ? 0.55f : 0.3f);
        palette.setColor(QPalette::WindowText, tone);
        m_demoText->setPalette(palette);
    }
    if (m_permission) {
        // Asked at every redraw: a grant made meanwhile takes the block away.
        m_need = OnboardingPermission::need(pane, model());
        m_permission->setVisible(TourState::showsPermissionBlock(pane, m_need.granted));
        m_permissionTitle->setText(m_need.title + QStringLiteral(" needed"));
        m_permissionReason->setText(m_need.reason);
        m_grant->setVisible(bool(m_need.request));
    }
    if (m_sample)
        m_sample->setNote(m_demoNote);
}

void GettingStartedPane::runDemo(SettingsPane pane)
{
    if (!m_demo)
        return;
    const TourDemo demo = *m_demo;
    if (demo.run)
        demo.run(model());
    m_demoNote = demo.watchFor;
    updateFeatureCard(pane);
}

void GettingStartedPane::showEvent(QShowEvent* event)
{
    PaneView::showEvent(event);
    qApp->installEventFilter(this);
}

void GettingStartedPane::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    PaneView::hideEvent(event);
}

bool GettingStartedPane::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return PaneView::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || !isVisible() || target->window() != window() || !window()->isActiveWindow())
        return false;
    // The sidebar's search field keeps its Return.
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()); field && !isAncestorOf(field))
        return false;
    // A held key presses once, not once per repeat.
    if (!key->isAutoRepeat()) {
        QPushButton* button = defaultButton();
        if (button && button->isVisible() && button->isEnabled())
            button->click();
    }
    return true;
}

} // namespace quillon
