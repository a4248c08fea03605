#pragma once

#include "ui/ListMenu.h"

#include <QString>
#include <functional>
#include <vector>

namespace quillon {

/// The tabs of the paste menu.
enum class ClipboardTab {
    /// The paste list: current clipboard, pins, history.
    recent,
    /// The pins alone.
    pins,
};

/// The clipboard feature's pop-up list: previews of up to nine entries with
/// slot digits, a symbol of what each text looks like and a pin mark. It
/// holds no clipboard data; picks and hovers come back as 1-based slots.
class ClipboardMenu {
public:
    /// What a preview looks like, which picks its symbol and font.
    enum class Kind {
        link,
        email,
        code,
        text,
    };

    ClipboardMenu();

    std::function<void(int slot)> onPick;
    std::function<void(int slot)> onHover;

    /// Opens the menu at the pointer; nothing when there are no previews.
    void show(const std::vector<QString>& previews, const std::vector<bool>& pinned, ClipboardTab tab);
    /// Refills the open menu; no previews show the tab's empty text.
    void update(const std::vector<QString>& previews, const std::vector<bool>& pinned, ClipboardTab tab);
    /// Highlights a slot of the open menu; slot 0 highlights none.
    void highlight(int slot);
    void close();

    static Kind kind(const QString& preview);
    static std::vector<ListMenu::Item> items(const std::vector<QString>& previews,
                                             const std::vector<bool>& pinned);
    static QString caption(ClipboardTab tab);
    static QString emptyText(ClipboardTab tab);
    static QStringList footer();
    static constexpr int visibleRows = 5;

    ListMenu& menu() { return m_menu; }

private:
    ListMenu m_menu;
};

} // namespace quillon
