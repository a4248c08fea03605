#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QPushButton;

namespace quillon {

class NotchStage;

/// The prompt's black panel: "Restart to enable OCR" over a "Restart" and a
/// "Dismiss" button, hanging from the notch.
class OCRRestartPromptView final : public QWidget {
public:
    static constexpr double width = 226;

    OCRRestartPromptView(double notchHeight, std::function<void()> onRestart,
                         std::function<void()> onDismiss);

    QPushButton* restartButton() const { return m_restart; }
    QPushButton* dismissButton() const { return m_dismiss; }
    /// The outline of the panel: flat top, rounded bottom corners (y down).
    QPainterPath outline() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* button(const QString& title, const QColor& background, std::function<void()> action);

    QPushButton* m_restart = nullptr;
    QPushButton* m_dismiss = nullptr;
};

/// Offers the relaunch that makes a screen-capture grant take effect. While
/// it stands it holds the stage's `ocrPrompt` takeover, so nothing else draws
/// over it.
class OCRRestartPrompt {
public:
    /// Above the chips, like them.
    static constexpr int panelLevel = 27;

    explicit OCRRestartPrompt(NotchStage& stage);
    ~OCRRestartPrompt();
    OCRRestartPrompt(const OCRRestartPrompt&) = delete;
    OCRRestartPrompt& operator=(const OCRRestartPrompt&) = delete;

    /// Shows the prompt at the notch (replacing one already shown). Each
    /// button closes the prompt before its callback runs. Without a notch
    /// nothing shows and the takeover is released.
    void show(std::function<void()> onRestart, std::function<void()> onDismiss);
    void close();

    /// The panel while shown.
    OCRRestartPromptView* panel() const { return m_panel; }

private:
    void removePanel();

    NotchStage& m_stage;
    QPointer<OCRRestartPromptView> m_panel;
    std::shared_ptr<OCRRestartPrompt*> m_self;
};

} // namespace quillon
