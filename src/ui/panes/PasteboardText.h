#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

/// The clipboard's text as the snippet examples and previews show it.
///
/// The clipboard is read again only after it changed (its change count
/// moved), and never while the window waits: the read answers on a later
/// turn, at most about half a second later for an owner that does not
/// answer, which then counts as no text.
class PasteboardText {
public:
    PasteboardText();
    ~PasteboardText();
    PasteboardText(const PasteboardText&) = delete;
    PasteboardText& operator=(const PasteboardText&) = delete;

    /// The text of the last read; none before the first answer and when the
    /// clipboard held no text.
    std::optional<QString> text() const;
    /// Starts a read when the clipboard changed since the last one; `changed`
    /// runs once the answer differs from the text known so far. Nothing is
    /// called after this object is gone.
    void refresh(std::function<void()> changed);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace quillon
