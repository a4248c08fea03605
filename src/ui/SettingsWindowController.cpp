#include "ui/SettingsWindowController.h"

#include "input/HotkeyFormat.h"
#include "permissions/AccessibilityPermission.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/AtomicFile.h"
#include "support/DS.h"
#include "support/KeyNames.h"
#include "support/Symbols.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsPaneView.h"
#include "ui/StandardShortcuts.h"

#include <QAbstractScrollArea>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

constexpr int sidebarWidth = 214;
constexpr int clientWidth = 868;
constexpr int clientHeight = 648;
constexpr int firstRowY = 46;

/// One hand-drawn sidebar row: tint square, label, hot-key chip and on-dot.
class SidebarRow final : public QWidget {
public:
    SidebarRow(SettingsPane pane, QWidget* parent)
        : QWidget(parent)
        , m_pane(pane)
    {
        setObjectName(QStringLiteral("row-") + pane.rawValue());
        setFixedSize(194, 28);
        setAccessibleName(pane.title());
        const QStringList keys = pane.hotkeys();
        if (!keys.isEmpty())
            m_chip = KeyNames::label(HotkeyFormat::compact(keys.first()));
    }

    SettingsPane pane() const { return m_pane; }
    std::function<void()> onClick;

    void setOn(bool on)
    {
        if (on == m_on)
            return;
        m_on = on;
        setAccessibleName(on ? m_pane.title() + QStringLiteral(", on") : m_pane.title());
        update();
    }
    bool isOn() const { return m_on; }
    void setSelected(bool selected)
    {
        m_selected = selected;
        update();
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (onClick)
            onClick();
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const bool active = !window() || window()->isActiveWindow();
        const bool emphasised = m_selected && active;
        if (m_selected) {
            p.setPen(Qt::NoPen);
            p.setBrush(palette().color(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
            p.drawRoundedRect(rect(), 5, 5);
        }
        const QRectF square(8, 4, 20, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(m_pane.tint());
        p.drawRoundedRect(square, 5, 5);
        if (m_pane == SettingsPane::notch) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, 64), 1));
            p.drawRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
        }
        if (const auto icon = m_pane.icon()) {
            const QImage glyph = Symbols::render(*icon, QSize(24, 24), Qt::white);
            p.drawImage(QRectF(12, 8, 12, 12), glyph);
        }
        const QColor text = m_selected ? QColor(Qt::white) : palette().color(QPalette::WindowText);
        QFont labelFont = font();
        labelFont.setPixelSize(13);
        p.setFont(labelFont);
        p.setPen(text);
        const int labelWidth = QFontMetrics(labelFont).horizontalAdvance(m_pane.title());
        p.drawText(QRect(36, 0, width() - 36, height()), Qt::AlignVCenter | Qt::AlignLeft, m_pane.title());
        if (!m_chip.isEmpty()) {
            QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            mono.setPixelSize(10);
            p.setFont(mono);
            QColor chipColour =
                m_selected ? QColor(255, 255, 255, 191) : palette().color(QPalette::PlaceholderText);
            p.setPen(chipColour);
            const int right = width() - 20;
            const int room = std::max(0, right - (36 + labelWidth + 6));
            const QString chip = QFontMetrics(mono).elidedText(m_chip, Qt::ElideLeft, room);
            p.drawText(QRect(right - room, 0, room, height()), Qt::AlignVCenter | Qt::AlignRight, chip);
        }
        if (m_on) {
            p.setPen(Qt::NoPen);
            p.setBrush(emphasised ? QColor(Qt::white) : DS::accent());
            p.drawEllipse(QRectF(180, 11, 6, 6));
        }
    }

private:
    SettingsPane m_pane;
    QString m_chip;
    bool m_on = false;
    bool m_selected = false;
};

} // namespace

/// The sidebar (search, rows) and the selected pane's view.
class SettingsWindowController::Window final : public QWidget {
public:
    Window(SettingsWindowController& owner, SettingsModel& model)
        : m_owner(owner)
        , m_model(model)
    {
        setFixedSize(clientWidth, clientHeight);
        installStandardShortcuts(*this);

        m_sidebar = new QWidget(this);
        m_sidebar->setGeometry(0, 0, sidebarWidth, clientHeight);
        m_search = new QLineEdit(m_sidebar);
        m_search->setObjectName(QStringLiteral("search"));
        m_search->setGeometry(10, 10, 194, 26);
        m_search->setPlaceholderText(QStringLiteral("Search"));
        m_search->setClearButtonEnabled(true);
        m_search->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(m_search, &QLineEdit::textChanged, m_search, [this] { searchChanged(); });

        m_caption = new QLabel(QStringLiteral("FEATURES"), m_sidebar);
        QFont caption = font();
        caption.setPixelSize(11);
        caption.setWeight(QFont::DemiBold);
        m_caption->setFont(caption);
        m_caption->setForegroundRole(QPalette::PlaceholderText);
        m_caption->adjustSize();

        for (const SettingsPane pane : SettingsPane::allCases()) {
            auto* row = new SidebarRow(pane, m_sidebar);
            row->onClick = [this, pane] { m_owner.select(pane); };
            m_rows.push_back(row);
        }
        auto* separator = new QFrame(m_sidebar);
        separator->setFrameShape(QFrame::HLine);
        separator->setFrameShadow(QFrame::Plain);
        separator->setForegroundRole(QPalette::Mid);
        separator->setGeometry(0, clientHeight - 53, sidebarWidth, 1);

        auto* divider = new QFrame(this);
        divider->setFrameShape(QFrame::VLine);
        divider->setFrameShadow(QFrame::Plain);
        divider->setForegroundRole(QPalette::Mid);
        divider->setGeometry(sidebarWidth, 0, 1, clientHeight);

        m_detail = new QWidget(this);
        m_detail->setGeometry(sidebarWidth + 1, 0, clientWidth - sidebarWidth - 1, clientHeight);
        m_layout = new QHBoxLayout(m_detail);
        m_layout->setContentsMargins(0, 0, 0, 0);
        m_layout->setSpacing(0);
        layoutSidebar();
    }

    SettingsPaneView* paneView() const { return m_pane; }
    SidebarRow* row(SettingsPane pane) const { return m_rows[std::size_t(SettingsPane::Case(pane))]; }

    /// A new view for every selection: the pane starts with fresh local state.
    void showPane(SettingsPane pane)
    {
        setWindowTitle(pane.title());
        for (SidebarRow* row : m_rows)
            row->setSelected(row->pane() == pane);
        auto* view = new SettingsPaneView(m_model, pane);
        if (m_pane) {
            // Later: the selection may come from inside the old pane.
            // The layout hands back the old pane's item, which is ours to free.
            delete m_layout->replaceWidget(m_pane, view);
            m_pane->hide();
            m_pane->deleteLater();
        } else {
            m_layout->addWidget(view, 1);
        }
        m_pane = view;
    }

    void syncRowStates()
    {
        for (SidebarRow* row : m_rows)
            row->setOn(row->pane() == SettingsPane::notch || m_model.master(row->pane()).get());
    }

    void layoutSidebar()
    {
        row(SettingsPane::gettingStarted)->hide();
        if (m_owner.m_selected == SettingsPane::gettingStarted)
            m_owner.select(SettingsPane::general);
        int y = firstRowY;
        const auto place = [&y](SidebarRow* row) {
            if (row->isHidden())
                return;
            row->move(10, y);
            y += row->height() + 2;
        };
        place(row(SettingsPane::general));
        m_caption->move(18, y + 10);
        y += 30;
        for (const SettingsPane pane : SettingsPane::features())
            place(row(pane));
        row(SettingsPane::about)->move(10, m_sidebar->height() - 44);
    }

    void searchChanged()
    {
        const QString query = m_search->text().trimmed();
        for (const SettingsPane pane : SettingsPane::features()) {
            const bool match = query.isEmpty() || pane.title().contains(query, Qt::CaseInsensitive) ||
                               KeyNames::label(pane.blurb()).contains(query, Qt::CaseInsensitive);
            row(pane)->setVisible(match);
        }
        layoutSidebar();
    }

    void redrawRows()
    {
        for (SidebarRow* row : m_rows)
            row->update();
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        m_model.resume();
        QWidget::showEvent(event);
    }
    void hideEvent(QHideEvent* event) override
    {
        m_owner.stopFrontmostTracking();
        m_model.pause();
        QWidget::hideEvent(event);
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::ActivationChange) {
            if (isActiveWindow()) {
                m_model.features.permission.refresh();
                m_model.refresh();
            }
            redrawRows();
        }
        QWidget::changeEvent(event);
    }

private:
    SettingsWindowController& m_owner;
    SettingsModel& m_model;
    QWidget* m_sidebar = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_caption = nullptr;
    std::vector<SidebarRow*> m_rows;
    QWidget* m_detail = nullptr;
    QHBoxLayout* m_layout = nullptr;
    SettingsPaneView* m_pane = nullptr;
};

SettingsWindowController::SettingsWindowController(AppFeatures features)
    : m_features(features)
    , m_model(std::make_unique<SettingsModel>(features))
    , m_self(std::make_shared<SettingsWindowController*>(this))
{
}

SettingsWindowController::~SettingsWindowController()
{
    // The window's hide handler reaches back here: it goes while we are whole.
    m_window.reset();
}

QWidget* SettingsWindowController::window() const
{
    return m_window.get();
}

SettingsPaneView* SettingsWindowController::paneView() const
{
    return m_window ? m_window->paneView() : nullptr;
}

namespace {

void centreOnPrimaryScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

} // namespace

void SettingsWindowController::show()
{
    if (!m_window) {
        m_window = std::make_unique<Window>(*this, *m_model);
        std::weak_ptr<SettingsWindowController*> weak = m_self;
        m_model->onRefresh = [weak] {
            if (auto self = weak.lock(); self && (*self)->m_window)
                (*self)->m_window->syncRowStates();
        };
        m_model->targetPID = [weak] {
            auto self = weak.lock();
            return self ? (*self)->m_targetPID : std::nullopt;
        };
        m_model->onRestartWalkthrough = [weak] {
            auto self = weak.lock();
            if (!self)
                return;
            Settings& settings = (*self)->m_features.settings;
            settings.set(platform::PlistValue(0), SettingsKeys::onboardingIndex);
            settings.set(platform::PlistValue(false), SettingsKeys::onboardingDismissed);
            (*self)->m_window->layoutSidebar();
            (*self)->select(SettingsPane::gettingStarted);
        };
        m_model->onWalkthroughFinished = [weak] {
            if (auto self = weak.lock()) {
                (*self)->m_window->layoutSidebar();
                (*self)->select(SettingsPane::general);
            }
        };
        m_window->syncRowStates();
        m_window->showPane(m_selected);
        centreOnPrimaryScreen(*m_window);
    }
    startFrontmostTracking();
    m_window->show();
    platform::platform().appShell().bringToFront(*m_window);
}

void SettingsWindowController::startFrontmostTracking()
{
    if (m_workspaceToken)
        return;
    const int32_t ours = int32_t(QCoreApplication::applicationPid());
    auto& workspace = platform::platform().workspace();
    const auto front = workspace.frontmostApp();
    m_targetPID = front && front->pid != ours ? std::optional<int32_t>(front->pid) : std::nullopt;
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    m_workspaceToken =
        workspace.addHandler([weak, ours](platform::AppNotice notice, const platform::RunningApp& app) {
            auto self = weak.lock();
            // Switching to us keeps naming the application the person came from.
            if (self && notice == platform::AppNotice::activated && app.pid != ours)
                (*self)->m_targetPID = app.pid;
        });
}

void SettingsWindowController::stopFrontmostTracking()
{
    if (m_workspaceToken)
        platform::platform().workspace().removeHandler(*m_workspaceToken);
    m_workspaceToken.reset();
}

void SettingsWindowController::select(SettingsPane pane)
{
    m_selected = pane;
    if (m_window)
        m_window->showPane(pane);
}

void SettingsWindowController::debugSnapshot(const QString& directory, std::vector<SettingsPane> only,
                                             std::function<void()> completion)
{
    QDir().mkpath(directory);
    show();
    if (only.empty())
        only.assign(SettingsPane::allCases().begin(), SettingsPane::allCases().end());
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    platform::platform().mainQueue().after(snapshotStartDelay, [weak, directory, only, completion] {
        auto self = weak.lock();
        if (!self)
            return;
        (*self)->select(only.front());
        platform::platform().mainQueue().after(snapshotPaneDelay, [weak, directory, only, completion] {
            if (auto self = weak.lock())
                (*self)->snapshotStep(directory, only, 0, completion);
        });
    });
}

void SettingsWindowController::snapshotStep(const QString& directory, std::vector<SettingsPane> panes,
                                            std::size_t index, std::function<void()> completion)
{
    if (index == 0) {
        m_snapshotFailed = false;
        m_snapshotCaptures.clear();
    }
    if (!writePNG(QDir(directory).filePath(panes[index].rawValue() + QStringLiteral(".png"))))
        m_snapshotFailed = true;
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    if (!scrollPaneToBottom()) {
        snapshotNext(directory, panes, index, completion);
        return;
    }
    // A pane taller than the window gets a second capture of its end.
    platform::platform().mainQueue().after(snapshotPaneDelay, [weak, directory, panes, index, completion] {
        auto self = weak.lock();
        if (!self)
            return;
        if (!(*self)->writePNG(QDir(directory).filePath(panes[index].rawValue() + QStringLiteral("-bottom.png")),
                               false))
            (*self)->m_snapshotFailed = true;
        (*self)->snapshotNext(directory, panes, index, completion);
    });
}

void SettingsWindowController::snapshotNext(const QString& directory, std::vector<SettingsPane> panes,
                                            std::size_t index, std::function<void()> completion)
{
    if (index + 1 >= panes.size()) {
        finishSnapshot();
        if (completion)
            completion();
        return;
    }
    select(panes[index + 1]);
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    platform::platform().mainQueue().after(snapshotPaneDelay, [weak, directory, panes, index, completion] {
        if (auto self = weak.lock())
            (*self)->snapshotStep(directory, panes, index + 1, completion);
    });
}

void SettingsWindowController::finishSnapshot()
{
    // Panes differ, so captures that are all the same bytes mean the window
    // never drew. Equal sizes alone would fail every good run.
    const auto& captures = m_snapshotCaptures;
    const bool blank =
        captures.size() > 1 && std::all_of(captures.begin(), captures.end(),
                                           [&](const QByteArray& c) { return c == captures.front(); });
    if (blank)
        std::fprintf(
            stderr,
            "settings-png: all %d captures are byte-identical \u2014 the window rendered blank. Unlock the "
            "display (and keep it awake) and re-run.\n",
            int(captures.size()));
    m_snapshotExitStatus = blank || m_snapshotFailed ? 1 : 0;
    m_snapshotCaptures.clear();
}

bool SettingsWindowController::scrollPaneToBottom()
{
    SettingsPaneView* pane = paneView();
    if (!pane)
        return false;
    // Depth first, so the pane's own form comes before any list inside it.
    auto* area = pane->findChild<QAbstractScrollArea*>();
    if (!area)
        return false;
    QScrollBar* bar = area->verticalScrollBar();
    if (bar->maximum() - bar->minimum() <= 1)
        return false;
    bar->setValue(bar->maximum());
    return true;
}

bool SettingsWindowController::writePNG(const QString& path, bool record)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QPixmap capture = m_window->grab();
    if (capture.isNull() || !capture.save(&buffer, "PNG")) {
        std::fputs("settings-png: window capture failed\n", stderr);
        return false;
    }
    if (record)
        m_snapshotCaptures.push_back(png);
    QString error;
    if (!AtomicFile::write(path, png, &error)) {
        std::fprintf(stderr, "settings-png: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace quillon
