#pragma once

#include "app/AppFeatures.h"
#include "app/SettingsPane.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace quillon {

class SettingsModel;
class SettingsPaneView;

/// The settings window: a sidebar of the 17 panes and the selected pane.
/// The window is built on the first show().
class SettingsWindowController {
public:
    explicit SettingsWindowController(AppFeatures features);
    ~SettingsWindowController();
    SettingsWindowController(const SettingsWindowController&) = delete;
    SettingsWindowController& operator=(const SettingsWindowController&) = delete;

    /// Builds the window on first use and brings it to the front.
    void show();
    void select(SettingsPane pane);

    /// Shows every listed pane in turn (all of them for an empty list) and
    /// saves the window of each as "<pane>.png" in `directory`, then calls
    /// `completion`.
    void debugSnapshot(const QString& directory, std::vector<SettingsPane> only,
                       std::function<void()> completion);

    /// After a snapshot run: 1 when a capture failed or every capture came
    /// out the same (a blank window), else 0.
    int snapshotExitStatus() const { return m_snapshotExitStatus; }

    const AppFeatures& features() const { return m_features; }
    /// Nothing until the first show().
    QWidget* window() const;
    /// The selected pane's view; nothing until the first show().
    SettingsPaneView* paneView() const;
    SettingsModel& model() const { return *m_model; }
    SettingsPane selectedPane() const { return m_selected; }

    /// The waits of a snapshot run: before the first pane, and after each
    /// selection (the window settles before it is captured).
    static constexpr double snapshotStartDelay = 0.4;
    static constexpr double snapshotPaneDelay = 0.3;

private:
    class Window;
    void snapshotStep(const QString& directory, std::vector<SettingsPane> panes, std::size_t index,
                      std::function<void()> completion);
    void snapshotNext(const QString& directory, std::vector<SettingsPane> panes, std::size_t index,
                      std::function<void()> completion);
    /// `record`: the capture counts for the blank check.
    bool writePNG(const QString& path, bool record = true);
    /// Scrolls the pane's first scroll area to its end; false when it has
    /// nothing more to show.
    bool scrollPaneToBottom();
    void finishSnapshot();
    void startFrontmostTracking();
    void stopFrontmostTracking();

    AppFeatures m_features;
    std::unique_ptr<SettingsModel> m_model;
    std::unique_ptr<Window> m_window;
    SettingsPane m_selected = SettingsPane::general;
    std::shared_ptr<SettingsWindowController*> m_self;
    /// The last application other than this one that was in front.
    std::optional<int32_t> m_targetPID;
    std::optional<int> m_workspaceToken;
    std::vector<QByteArray> m_snapshotCaptures;
    bool m_snapshotFailed = false;
    int m_snapshotExitStatus = 0;
};

} // namespace quillon
