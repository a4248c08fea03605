#include "ui/SettingsModel.h"

#include "app/FeatureRegistry.h"
#include "permissions/AccessibilityPermission.h"
#include "platform/Platform.h"

#include <QPointer>

namespace quillon {

SettingsModel::SettingsModel(AppFeatures bundle, QObject* parent)
    : QObject(parent)
    , features(bundle)
{
    observe();
}

SettingsModel::~SettingsModel()
{
    pause();
}

void SettingsModel::observe()
{
    QPointer<SettingsModel> weak(this);
    m_observerToken = features.settings.addObserver([weak] {
        if (weak)
            weak->refresh();
    });
}

void SettingsModel::refresh()
{
    if (m_refreshQueued || m_delivering)
        return;
    m_refreshQueued = true;
    QPointer<SettingsModel> weak(this);
    platform::platform().mainQueue().post([weak] {
        if (!weak)
            return;
        SettingsModel& self = *weak;
        self.m_refreshQueued = false;
        self.m_delivering = true;
        emit self.changed();
        // A slot may have destroyed the model (the window closed under it).
        if (!weak)
            return;
        if (self.onRefresh)
            self.onRefresh();
        if (weak)
            self.m_delivering = false;
    });
}

void SettingsModel::pause()
{
    if (!m_observerToken.isNull())
        features.settings.removeObserver(m_observerToken);
    m_observerToken = QUuid();
}

void SettingsModel::resume()
{
    if (isObserving())
        return;
    observe();
    refresh();
}

Binding<bool> SettingsModel::master(SettingsPane pane)
{
    const auto path = pane.enabledKeyPath();
    if (!path)
        return Binding<bool>::constant(false);
    Settings& settings = features.settings;
    AccessibilityPermission& permission = features.permission;
    const Settings::BoolKeyPath keyPath = *path;
    return Binding<bool>(
        [&settings, keyPath] { return keyPath.get(settings); },
        [&settings, &permission, keyPath, pane](bool on) {
            keyPath.set(settings, on);
            if (on && (FeatureRegistry::needsAccessibility(pane) || pane.needsAccessibilityToTrigger()))
                permission.promptOnce();
        });
}

} // namespace quillon
