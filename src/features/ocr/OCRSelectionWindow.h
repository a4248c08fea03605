#pragma once

#include "platform/Displays.h"

#include <QImage>
#include <QWidget>
#include <functional>

namespace quillon {

class OCRSelectionView;

/// One override-redirect window over one screen, holding its selection view.
class OCRSelectionWindow final : public QWidget {
public:
    OCRSelectionWindow(const platform::Screen& screen, QImage frozen);

    /// The selection in the y-up global space.
    std::function<void(const QRectF&)> onFinish;
    std::function<void()> onCancel;

    const platform::Screen& screen() const { return m_screen; }
    const QImage& frozen() const { return m_frozen; }
    OCRSelectionView& view() { return *m_view; }

    /// Level of the overlay windows: above the list menu and every chip.
    static constexpr int level = 1000;

private:
    platform::Screen m_screen;
    QImage m_frozen;
    OCRSelectionView* m_view;
};

} // namespace quillon
