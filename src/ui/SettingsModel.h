#pragma once

#include "app/AppFeatures.h"
#include "app/SettingsPane.h"
#include "settings/Settings.h"
#include "ui/Binding.h"

#include <QObject>
#include <QUuid>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

/// What every settings pane reads and writes through. Settings changes and
/// refresh() calls are gathered into one `changed()` per main-queue turn, so
/// an import that writes dozens of keys redraws the open pane once.
class SettingsModel final : public QObject {
    Q_OBJECT

public:
    /// Starts observing the settings store.
    explicit SettingsModel(AppFeatures features, QObject* parent = nullptr);
    ~SettingsModel() override;

    AppFeatures features;
    /// Installed by the settings window for the tour; the model only carries them.
    std::function<void()> onWalkthroughFinished;
    std::function<void()> onRestartWalkthrough;
    /// The application the person came from; none until the window says.
    std::function<std::optional<int32_t>()> targetPID = [] { return std::optional<int32_t>(); };
    /// Called after each `changed()`.
    std::function<void()> onRefresh;

    /// Schedules one redraw, unless one is scheduled already. Panes call it
    /// after a change that is not a settings key (a permission request, an
    /// import, the login item).
    void refresh();
    /// Stops observing the store (the window closed).
    void pause();
    /// Observes again and redraws once; nothing while observing.
    void resume();
    bool isObserving() const { return !m_observerToken.isNull(); }

    /// The pane's feature switch. Switching on a feature that needs
    /// Accessibility, for itself or for a right-hand shortcut, asks for it
    /// once. Panes without a switch read false and ignore writes.
    Binding<bool> master(SettingsPane pane);
    /// A two-way binding onto a typed accessor of the store.
    template <typename T> Binding<T> bind(Settings::KeyPath<T> path)
    {
        Settings& settings = features.settings;
        return Binding<T>([&settings, path] { return path.get(settings); },
                          [&settings, path](T value) { path.set(settings, value); });
    }

signals:
    /// The store or something the panes show changed: re-read every value.
    void changed();

private:
    void observe();

    QUuid m_observerToken;
    bool m_refreshQueued = false;
    // A refresh asked for while the panes re-read would only redraw what they
    // just drew, and a pane that asks from its reload would never stop.
    bool m_delivering = false;
};

} // namespace quillon
