#include "ui/panes/PasteboardText.h"

#include "platform/Pasteboard.h"
#include "platform/Platform.h"

namespace quillon {

struct PasteboardText::State {
    std::optional<QString> text;
    std::optional<int> readAt;
    bool reading = false;
    /// Whoever asked while a read was out: told when it answers.
    std::function<void()> changed;
};

PasteboardText::PasteboardText()
    : m_state(std::make_shared<State>())
{
}

PasteboardText::~PasteboardText() = default;

std::optional<QString> PasteboardText::text() const
{
    return m_state->text;
}

namespace {

void readIfChanged(const std::shared_ptr<PasteboardText::State>& state);

} // namespace

void PasteboardText::refresh(std::function<void()> changed)
{
    m_state->changed = std::move(changed);
    readIfChanged(m_state);
}

namespace {

void readIfChanged(const std::shared_ptr<PasteboardText::State>& state)
{
    platform::Pasteboard& board = platform::platform().pasteboard();
    const int count = board.changeCount();
    if (state->reading || state->readAt == count)
        return;
    state->reading = true;
    state->readAt = count;
    std::weak_ptr<PasteboardText::State> weak = state;
    board.read({platform::Pasteboard::plainTextType}, [weak](platform::PasteboardContents contents) {
        const std::shared_ptr<PasteboardText::State> state = weak.lock();
        if (!state)
            return;
        state->reading = false;
        std::optional<QString> text = contents.string(platform::Pasteboard::plainTextType);
        const bool differs = text != state->text;
        state->text = std::move(text);
        if (differs && state->changed)
            state->changed();
        // The clipboard changed again while this read was out.
        readIfChanged(state);
    });
}

} // namespace

} // namespace quillon
