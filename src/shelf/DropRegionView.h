#pragma once

#include <QList>
#include <QPointF>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace quillon {

/// A part of the open shelf that takes dropped files (the body, the notch
/// row). It reports where a drag is, in the coordinates of `reference`, and
/// whether it comes from the shelf's own cards.
class DropRegionView final : public QWidget {
public:
    explicit DropRegionView(QWidget* parent = nullptr);

    /// The widget whose coordinates locations are given in (itself when none).
    QWidget* reference = nullptr;

    std::function<void()> onEntered;
    std::function<Qt::DropAction(const QPointF&, bool internal)> onUpdated;
    std::function<void()> onExited;
    std::function<void(const QList<QUrl>&, const QPointF&, bool internal)> onPerform;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QPointF location(const QPointF& local) const;
    void answer(QDropEvent* event);
};

} // namespace quillon
