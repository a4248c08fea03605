#pragma once

#include "platform/MainQueue.h"

#include <QString>
#include <memory>

class QWidget;

namespace quillon {

class Animator;

/// The workspace number after a switch: a 140 × 140 dark rounded panel in
/// the middle of the screen under the pointer, fading out after a while.
/// Made on first show, reused, and dropped on dismiss.
class SpaceOSD {
public:
    static constexpr double side = 140;
    static constexpr int level = 25;
    static constexpr double fadeSeconds = 0.2;

    SpaceOSD();
    ~SpaceOSD();
    SpaceOSD(const SpaceOSD&) = delete;
    SpaceOSD& operator=(const SpaceOSD&) = delete;

    /// Shows `text` at full strength and (re)starts the timer after which it
    /// fades out and is hidden.
    void show(const QString& text, int durationMs);
    void dismiss();

    /// The window while one exists.
    QWidget* window() const;
    QString text() const;

private:
    bool createWindow();
    void fadeOut();
    void hideNow();
    static void positionOnCursorScreen(QWidget& window);

    std::unique_ptr<QWidget> m_window;
    platform::WorkItem m_hideWork;
    std::unique_ptr<Animator> m_fade;
    double m_fadeStart = 0;
    int m_fadeDone = 0;
};

} // namespace quillon
