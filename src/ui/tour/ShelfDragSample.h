#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QDrag;
class QLabel;
class QMimeData;

namespace quillon {

/// The Shelf card's demonstration: a small picture tile to drag up to the
/// shelf, with what to do beside it. The tile stays dimmed and still until
/// the sample file exists.
class ShelfDragSample final : public QWidget {
    Q_OBJECT

public:
    /// `imageURL` answers the sample file (made when missing), asked when the
    /// view first comes on screen; `onDragStarted` runs as a drag begins.
    ShelfDragSample(std::function<std::optional<QString>()> imageURL, std::function<void()> onDragStarted,
                    QWidget* parent = nullptr);

    /// The note a drag leaves on the card.
    static constexpr const char* dragNote = "Dropped it? Open the shelf from the notch to see it.";

    /// Runs a drag to its end; `QDrag::exec` unless a test replaces it.
    std::function<void(QDrag&)> execDrag;

    std::optional<QString> url() const { return m_url; }
    bool isDraggable() const { return m_url.has_value(); }
    QWidget* tile() const;
    /// Shown under the two lines; none hides it.
    void setNote(const std::optional<QString>& note);
    QLabel* noteLabel() const { return m_note; }
    /// What a drag of the tile carries: the sample file.
    QMimeData* dragData() const;
    /// Drags the sample as a file, as pulling the tile does; returns when it
    /// is dropped or given up.
    void startDrag();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class Tile;
    std::function<std::optional<QString>()> m_imageURL;
    std::function<void()> m_onDragStarted;
    std::optional<QString> m_url;
    bool m_asked = false;
    Tile* m_tile = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace quillon
