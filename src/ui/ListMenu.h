#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

class QWidget;

namespace quillon {

class ListMenuPanel;

/// The small floating pick-list shown at the pointer. It never takes the
/// keyboard focus, keeps no selection and never closes itself: its owner
/// moves the highlight, reacts to picks and hovers, and closes it.
class ListMenu {
public:
    struct Item {
        /// Short tag in the left column, such as a slot number.
        std::optional<QString> slot;
        QString title;
        /// Drawn after the title; absent or empty gives the title the width.
        std::optional<QString> detail;
        /// A `Symbols` name drawn at the row's right end.
        std::optional<QString> symbol;
        /// Title in the fixed-width font.
        bool mono = false;
    };

    /// A static caption, drawn upper-cased.
    struct Caption {
        QString text;
    };
    /// A search line: ":" the query and a block cursor, or the placeholder.
    struct Search {
        QString query;
        QString placeholder;
    };
    using Header = std::variant<Caption, Search>;

    ListMenu();
    ~ListMenu();
    ListMenu(const ListMenu&) = delete;
    ListMenu& operator=(const ListMenu&) = delete;

    /// Row index, from 0, of a row the mouse button went down on.
    std::function<void(int)> onPick;
    /// Row index of a row the pointer moved onto (not one that moved under a
    /// still pointer).
    std::function<void(int)> onHover;

    /// Replaces any open panel with a new one at the pointer, highlighting row 0.
    void show(const std::vector<Item>& items, const Header& header, const QStringList& footer,
              int visibleRows);
    /// Replaces rows and header of the open panel, keeping its top edge.
    void update(const std::vector<Item>& items, const Header& header);
    void close();
    /// Highlights the row of that index only, scrolled into view; an index
    /// without a row highlights none.
    void highlight(int index);

    const QString& emptyText() const { return m_emptyText; }
    void setEmptyText(const QString& text);

    bool isOpen() const { return m_panel != nullptr; }
    /// What the open panel shows: the highlighted row, how far the rows are
    /// scrolled, the header line as drawn, and the empty text while the
    /// list is empty.
    std::optional<int> highlightedIndex() const;
    double scrollOffset() const;
    QString headerText() const;
    std::optional<QString> shownEmptyText() const;
    /// The open panel, for tests and screenshots.
    QWidget* panel() const;

private:
    ListMenuPanel* m_panel = nullptr;
    /// The open panel's frame, in the y-up global space.
    QRectF m_frame;
    QString m_emptyText;
};

} // namespace quillon
