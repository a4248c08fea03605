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
    [[maybe_unused]] Settings& m_settings;
    [[maybe_unused]] DragWatcher& m_drags;
    [[maybe_unused]] NotchStage& m_stage;
    ShelfController m_controller;
};

} // namespace quillon
