#include "shelf/ActionStrip.h"

#include "platform/Platform.h"
#include "shelf/HoverButton.h"
#include "shelf/KeycapView.h"
#include "shelf/ShelfPaint.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "support/Words.h"

#include <QPainter>

namespace quillon {

ActionStrip::ActionStrip(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_airDrop = addButton("airdrop", "square.and.arrow.up", "AirDrop", "S", &ActionStrip::onAirDrop);
    m_copy = addButton("doc.on.doc", "doc.on.doc", "Copy", "C", &ActionStrip::onCopy);
    m_zip = addButton("doc.zipper", "archivebox", "Zip", "Z", &ActionStrip::onZip);
    m_remove = addButton("xmark.bin", "trash", "Remove from Shelf", QStringLiteral("\u232B"),
                         &ActionStrip::onRemove);
    m_copyImage = m_copy->icon();
    m_remove->hoverColor = ShelfPaint::withAlpha(DS::warning(), 0.3);
    // No share service until one is known.
    m_airDrop->setVisible(false);
}

ActionStrip::~ActionStrip()
{
    *m_alive = false;
    m_flashRestore.cancel();
}

HoverButton* ActionStrip::addButton(const QString& symbol, const QString& fallback, const QString& title,
                                    const QString& cap, std::function<void()> ActionStrip::*callback)
{
    const auto icon = Symbols::image(symbol) ? Symbols::image(symbol) : Symbols::image(fallback);
    auto* button = new HoverButton(icon.value_or(QIcon()), this);
    button->setToolTip(Words::adapt(title) + " (" + cap + ")");
    button->setAccessibleName(Words::adapt(title));
    connect(button, &QAbstractButton::clicked, this, [this, callback] {
        if (const auto& fn = this->*callback)
            fn();
    });
    auto* keycap = new KeycapView(cap, this);
    m_keycaps.append({button, keycap});
    return button;
}

QList<HoverButton*> ActionStrip::leftColumnButtons() const
{
    QList<HoverButton*> buttons;
    if (!m_zip->isHidden())
        buttons.append(m_zip);
    return buttons;
}

QList<HoverButton*> ActionStrip::rightColumnButtons() const
{
    QList<HoverButton*> buttons;
    for (HoverButton* button : {m_airDrop, m_copy, m_remove}) {
        if (!button->isHidden())
            buttons.append(button);
    }
    return buttons;
}

KeycapView* ActionStrip::keycap(const HoverButton* button) const
{
    for (const auto& [b, cap] : m_keycaps) {
        if (b == button)
            return cap;
    }
    return nullptr;
}

void ActionStrip::layoutButtons()
{
    const double w = width(), h = height();
    const auto right = rightColumnButtons(), left = leftColumnButtons();
    const int n = int(right.size()), m = int(left.size());
    const double t = (h - (24 * n + 6 * std::max(n - 1, 0))) / 2;
    // Frames are worked out y up and turned over for the widget.
    const auto place = [h](QWidget* widget, double x, double y, double width, double height) {
        widget->setGeometry(QRectF(x, h - y - height, width, height).toRect());
    };
    for (int k = 0; k < n; ++k)
        place(right[k], w - 34, h - t - 24 - 30 * k, 24, 24);
    const int s = std::max((n - m) / 2, 0);
    for (int j = 0; j < m; ++j)
        place(left[j], w - 66, h - t - 24 - 30 * (s + j), 24, 24);
    for (const auto& [button, cap] : m_keycaps) {
        cap->setVisible(!button->isHidden());
        const QSizeF size = cap->fittingSize();
        const QRectF frame = QRectF(button->geometry());
        // y up: the button's top is h − frame.top; the cap reaches 5 above it.
        place(cap, frame.right() - size.width() + 5, (h - frame.top()) - 8, size.width(), size.height());
        cap->raise();
    }
}

void ActionStrip::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

void ActionStrip::setHoveredButton(HoverButton* hovered)
{
    for (auto* button : findChildren<HoverButton*>()) {
        const bool now = button == hovered;
        if (button->hovered != now) {
            button->hovered = now;
            button->applyBackground(false);
        }
    }
}

void ActionStrip::setRemoveArmed(bool armed)
{
    if (m_remove->armed == armed)
        return;
    m_remove->armed = armed;
    m_remove->applyBackground(false);
}

void ActionStrip::setZipAvailable(bool available)
{
    if (m_zip->isHidden() != available)
        return;
    m_zip->setHidden(!available);
    layoutButtons();
}

void ActionStrip::setShareAvailable(bool available)
{
    if (m_airDrop->isHidden() != available)
        return;
    m_airDrop->setHidden(!available);
    layoutButtons();
}

void ActionStrip::flashCopyConfirm()
{
    m_copy->setIcon(Symbols::image("checkmark.circle.fill").value_or(QIcon()));
    m_copy->tint = QColor(52, 199, 89);
    m_copy->update();
    m_flashRestore.cancel();
    std::weak_ptr<bool> alive = m_alive;
    m_flashRestore = platform::platform().mainQueue().after(1.0, [this, alive] {
        if (alive.expired())
            return;
        m_copy->setIcon(m_copyImage);
        m_copy->tint = Qt::white;
        m_copy->update();
    });
}

void ActionStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double h = height();
    // y up (0, 12, 1, h − 18): a hairline along the left edge.
    painter.fillRect(QRectF(0, 6, 1, h - 18), ShelfPaint::white(0.1));
}

} // namespace quillon
