#include "shelf/ShelfFeature.h"

#include "settings/Settings.h"
#include "shelf/ScreenshotThumbnail.h"
#include "support/AppFiles.h"

namespace quillon {

ShelfFeature::ShelfFeature(Settings& settings, DragWatcher& drags, NotchStage& stage)
    : m_settings(settings)
    , m_store(AppFiles::root() + QStringLiteral("/Shelf"))
    , m_controller(m_store, drags, stage)
{
    // Stashed only while the controller is on.
    m_screenshots.onScreenshot = [this](const QList<QUrl>& urls) { m_controller.add(urls); };
}

void ShelfFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    m_controller.hapticsEnabled = m_settings.shelfHaptics();
    m_controller.convertEnabled = m_settings.shelfConvert();
    m_controller.removeOnDragOut = m_settings.shelfRemoveOnDragOut();
    m_controller.setEnabled(true);
    const bool collect = m_settings.shelfAutoScreenshots();
    if (collect)
        m_screenshots.start();
    else
        m_screenshots.stop();
    ScreenshotThumbnail::apply(collect && m_settings.shelfSkipThumbnail());
}

void ShelfFeature::deactivate()
{
    // On every call: a holding of the thumbnail left by an earlier run is
    // given back even when the shelf was never on.
    ScreenshotThumbnail::restore();
    if (!m_active)
        return;
    m_active = false;
    m_screenshots.stop();
    m_controller.setEnabled(false);
}

} // namespace quillon
