#include "shelf/ShelfFeature.h"

namespace quillon {

ShelfFeature::ShelfFeature(Settings& settings, DragWatcher& drags, NotchStage& stage)
    : BasicFeature(QStringLiteral("Shelf"))
    , m_settings(settings)
    , m_drags(drags)
    , m_stage(stage)
{
}

} // namespace quillon
