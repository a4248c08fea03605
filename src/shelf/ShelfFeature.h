#pragma once

#include "app/Feature.h"
#include "shelf/ScreenshotWatcher.h"
#include "shelf/ShelfController.h"
#include "shelf/ShelfStore.h"

namespace quillon {

class DragWatcher;
class NotchStage;
class Settings;

/// The file shelf as a switchable feature: hands the shelf's options to the
/// controller when switched on, collects new screenshots while asked to, and
/// takes over or gives back the screenshot tool's floating thumbnail.
class ShelfFeature final : public Feature {
public:
    ShelfFeature(Settings& settings, DragWatcher& drags, NotchStage& stage);

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    ShelfController& controller() { return m_controller; }
    ScreenshotWatcher& screenshots() { return m_screenshots; }

private:
    Settings& m_settings;
    ScreenshotWatcher m_screenshots;
    bool m_active = false;
    ShelfStore m_store;
    ShelfController m_controller;
};

} // namespace quillon
