#pragma once

#include "shelf/DragZoneView.h"
#include "shelf/ShelfConvert.h"

#include <QList>
#include <functional>

class QAbstractButton;

namespace quillon {

/// The zone that converts dropped files: idle it shows its symbol and title;
/// choosing, one button per format and a last "✕" that gives up.
class ConvertZoneView final : public DragZoneView {
public:
    using DragZoneView::DragZoneView;

    std::function<void(ShelfConvert::Format)> onFormat;
    std::function<void()> onCancel;

    void showFormats(const QList<ShelfConvert::Format>& formats);
    void reset();
    const QList<QAbstractButton*>& buttons() const { return m_buttons; }

protected:
    void draw(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAbstractButton* formatButton(const QString& title);
    void layoutButtons();

    QList<QAbstractButton*> m_buttons;
};

} // namespace quillon
