#include "features/ocr/OCRSelectionWindow.h"

#include "features/ocr/OCRSelection.h"
#include "features/ocr/OCRSelectionView.h"
#include "platform/Platform.h"

#include <QVBoxLayout>

namespace quillon {

OCRSelectionWindow::OCRSelectionWindow(const platform::Screen& screen, QImage frozen)
    : m_screen(screen)
    , m_frozen(frozen)
    , m_view(new OCRSelectionView(std::move(frozen), this))
{
    platform::platform().overlayWindows().prepare(*this, {.level = level, .clickThrough = false});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    platform::platform().overlayWindows().setFrame(*this, screen.frame);
    m_view->onCancel = [this] {
        if (onCancel)
            onCancel();
    };
    m_view->onFinish = [this](const QRectF& rect) {
        if (onFinish)
            onFinish(OCRSelection::globalRect(rect, m_screen.frame));
    };
}

} // namespace quillon
