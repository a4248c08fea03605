#include "notch/OCRRestartPrompt.h"

#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/ScreenSurface.h"
#include "platform/Platform.h"
#include "support/DS.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace quillon {

namespace {

platform::OverlayWindows& overlays()
{
    return platform::platform().overlayWindows();
}

constexpr double kRadius = 16;

} // namespace

// Laid out from the bottom edge up, as the panel grows out of the notch:
// buttons 12 above the bottom, the label 44 above it.
OCRRestartPromptView::OCRRestartPromptView(double notchHeight, std::function<void()> onRestart,
                                           std::function<void()> onDismiss)
{
    const int h = int(std::ceil(notchHeight + 68));
    setFixedSize(int(width), h);
    setAttribute(Qt::WA_NoSystemBackground);

    auto* label = new QLabel(QStringLiteral("Restart to enable OCR"), this);
    label->setFont(DS::captionFont());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, DS::text());
    label->setPalette(palette);
    label->adjustSize();
    label->move(int((width - label->width()) / 2), h - 44 - label->height());

    m_restart = button(QStringLiteral("Restart"), DS::accent(), std::move(onRestart));
    m_restart->setGeometry(17, h - 12 - 26, 92, 26);
    QColor translucentWhite(Qt::white);
    translucentWhite.setAlphaF(0.14f);
    m_dismiss = button(QStringLiteral("Dismiss"), translucentWhite, std::move(onDismiss));
    m_dismiss->setGeometry(117, h - 12 - 26, 92, 26);
}

QPushButton* OCRRestartPromptView::button(const QString& title, const QColor& background,
                                          std::function<void()> action)
{
    auto* b = new QPushButton(title, this);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    QFont font = b->font();
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    b->setFont(font);
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: none; "
                                    "border-radius: 6px; }")
                         .arg(background.name(QColor::HexArgb), DS::text().name(QColor::HexArgb)));
    QObject::connect(b, &QPushButton::clicked, b, [action = std::move(action)] { action(); });
    return b;
}

QPainterPath OCRRestartPromptView::outline() const
{
    const QRectF bounds(0, 0, width, height());
    // The outline is made y up; the widget draws y down.
    return QTransform(1, 0, 0, -1, 0, bounds.height()).map(NotchGeometry::shelfPath(bounds, kRadius));
}

void OCRRestartPromptView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline(), DS::hudBlack());
}

OCRRestartPrompt::OCRRestartPrompt(NotchStage& stage)
    : m_stage(stage)
    , m_self(std::make_shared<OCRRestartPrompt*>(this))
{
}

OCRRestartPrompt::~OCRRestartPrompt()
{
    removePanel();
}

void OCRRestartPrompt::show(std::function<void()> onRestart, std::function<void()> onDismiss)
{
    removePanel();
    const auto hud = NotchGeometry::hudScreen();
    if (!hud) {
        m_stage.release(NotchTakeover::ocrPrompt);
        return;
    }
    std::weak_ptr<OCRRestartPrompt*> weak = m_self;
    auto closingFirst = [weak](std::function<void()> then) {
        return [weak, then = std::move(then)] {
            if (auto self = weak.lock())
                (*self)->close();
            if (then)
                then();
        };
    };
    auto* view = new OCRRestartPromptView(hud->notch.height(), closingFirst(std::move(onRestart)),
                                          closingFirst(std::move(onDismiss)));
    const QSizeF size = view->size();
    const QRectF frame(hud->notch.center().x() - size.width() / 2,
                       hud->screen.frame.y() + hud->screen.frame.height() - size.height(), size.width(),
                       size.height());
    const bool translucent = ScreenSurface::preparePanel(*view, {panelLevel, false});
    overlays().setFrame(*view, frame);
    if (!translucent)
        overlays().setShape(*view, view->outline());
    overlays().show(*view);
    m_panel = view;
    m_stage.claim(NotchTakeover::ocrPrompt);
}

void OCRRestartPrompt::close()
{
    removePanel();
    m_stage.release(NotchTakeover::ocrPrompt);
}

void OCRRestartPrompt::removePanel()
{
    if (!m_panel)
        return;
    overlays().hide(*m_panel);
    // Later: the panel's own button may be what closes it.
    m_panel->deleteLater();
    m_panel.clear();
}

} // namespace quillon
