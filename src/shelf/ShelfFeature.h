#pragma once

#include "app/Feature.h"
#include "shelf/ShelfController.h"

namespace quillon {

class DragWatcher;
class NotchStage;
class Settings;

/// The file shelf as a switchable feature.
class ShelfFeature final : public BasicFeature {
public:
    ShelfFeature(Settings& settings, DragWatcher& drags, NotchStage& stage);

    ShelfController& controller() { return m_controller; }

private:
    Settings& m_settings;
    DragWatcher& m_drags;
    NotchStage& m_stage;
    ShelfController m_controller;
};

} // namespace quillon
