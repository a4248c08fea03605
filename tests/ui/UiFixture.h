#pragma once

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "permissions/AccessibilityPermission.h"
#include "settings/Settings.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace quillon::testing {

/// The application's own feature bundle on the fake platform (nothing
/// launched), and a model over it.
struct UiFixture {
    UiFixture()
    {
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        model = std::make_unique<SettingsModel>(features());
    }
    ~UiFixture()
    {
        model.reset();
        app.reset();
    }
    AppFeatures features() { return app->settingsWindow().features(); }
    Settings& settings() { return app->settings(); }
    /// Makes the permission object learn the fake's answer.
    void setTrusted(bool trusted)
    {
        fake.permissionsImpl.trusted = trusted;
        app->permission().refresh();
    }
    /// Every widget of type W inside `root`, `root` included.
    template <typename W> static QList<W*> all(QWidget& root)
    {
        QList<W*> found = root.findChildren<W*>();
        if (auto* self = qobject_cast<W*>(&root))
            found.prepend(self);
        return found;
    }

    fakes::FakePlatform fake;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    std::unique_ptr<SettingsModel> model;
};

} // namespace quillon::testing
