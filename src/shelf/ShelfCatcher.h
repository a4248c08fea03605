#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace quillon {

/// The invisible catcher of a shelf panel at the notch: under the chip's bar,
/// or filling the drop target over a physical notch. It takes dropped files,
/// tells when a file drag enters it or (the chip only) when it is clicked,
/// and when the pointer hovers it.
class ShelfCatcher final : public QWidget {
public:
    enum class Kind {
        /// Fills the chip panel: a click activates it as a drag entering does.
        chip,
        /// Fills the drop target over a physical notch.
        column,
    };

    explicit ShelfCatcher(Kind kind);

    /// A file drag entered it; for the chip also a click on it.
    std::function<void()> onActivate;
    /// The files of a drop, never an empty list.
    std::function<void(const QList<QUrl>&)> onDrop;
    /// The pointer came over it (true) or left (false).
    std::function<void(bool)> onHover;

    Kind kind() const { return m_kind; }
    bool hovered() const { return m_hovered; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const Kind m_kind;
    /// The pointer is over the window, but counts as hovering only once it
    /// has moved there: the display server also sends an enter when a window
    /// is mapped under a resting pointer.
    bool m_inside = false;
    bool m_hovered = false;
};

} // namespace quillon
