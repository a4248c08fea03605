#include "input/FeatureChords.h"

#include "input/KeyCodes.h"
#include "input/LeaderWatcher.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Log.h"
#include "support/Symbols.h"

namespace quillon {

QString FeatureChords::letter(Key key)
{
    switch (key) {
    case Key::awake:
        return QStringLiteral("A");
    case Key::focus:
        return QStringLiteral("F");
    case Key::shelf:
        return QStringLiteral("S");
    case Key::breaks:
        return QStringLiteral("B");
    case Key::ocr:
        return QStringLiteral("T");
    case Key::clipboard:
        return QStringLiteral("C");
    case Key::settings:
        return QStringLiteral("~");
    case Key::profile1:
        return QStringLiteral("1");
    case Key::profile2:
        return QStringLiteral("2");
    }
    return {};
}

SettingsPane FeatureChords::pane(Key key)
{
    switch (key) {
    case Key::awake:
        return SettingsPane::awake;
    case Key::focus:
        return SettingsPane::focus;
    case Key::shelf:
        return SettingsPane::shelf;
    case Key::breaks:
        return SettingsPane::breaks;
    case Key::ocr:
        return SettingsPane::ocr;
    case Key::clipboard:
        return SettingsPane::clipboard;
    case Key::settings:
    case Key::profile1:
    case Key::profile2:
        break;
    }
    return SettingsPane::general;
}

FeatureChords::Kind FeatureChords::kind(Key key)
{
    switch (key) {
    case Key::awake:
    case Key::focus:
    case Key::breaks:
        return Kind::toggles;
    case Key::shelf:
    case Key::ocr:
    case Key::clipboard:
        return Kind::tools;
    case Key::settings:
    case Key::profile1:
    case Key::profile2:
        break;
    }
    return Kind::app;
}

QStringList FeatureChords::chords(SettingsPane forPane)
{
    QStringList labels;
    for (const Key key : allKeys) {
        if (pane(key) == forPane)
            labels << QStringLiteral("r\u2318 r\u2325 ") + letter(key);
    }
    return labels;
}

FeatureChords::FeatureChords(Settings& settings, LeaderWatcher& leader)
    : m_settings(settings)
    , m_leader(leader)
{
}

FeatureChords::~FeatureChords()
{
    m_leader.remove(this);
}

void FeatureChords::registerAction(std::function<void(Key)> action)
{
    m_action = std::move(action);
    std::weak_ptr<FeatureChords*> weak = m_self;
    m_leader.add(
        this, {Leader::feature, Leader::command},
        [weak](Leader leader) {
            const auto self = weak.lock();
            return self ? (*self)->keyCodes(leader) : std::vector<uint16_t>{};
        },
        [weak](Leader leader, QChar character) {
            const auto self = weak.lock();
            return self && (*self)->handle(leader, character);
        },
        [weak](Leader leader) {
            const auto self = weak.lock();
            if (!self || leader != Leader::feature)
                return std::vector<NotchBarItem>{};
            return (*self)->hintItems();
        });
}

std::vector<FeatureChords::Key> FeatureChords::liveKeys() const
{
    std::vector<Key> keys;
    for (const Key key : allKeys) {
        bool live = true;
        switch (key) {
        case Key::shelf:
            live = m_settings.isShelfEnabled();
            break;
        case Key::ocr:
            live = m_settings.isOCREnabled();
            break;
        case Key::clipboard:
            live = m_settings.isClipboardEnabled();
            break;
        default:
            break;
        }
        if (live)
            keys.push_back(key);
    }
    return keys;
}

std::vector<uint16_t> FeatureChords::keyCodes(Leader leader) const
{
    std::vector<uint16_t> codes;
    const auto add = [&](QChar character) {
        if (const auto code = KeyCodes::keyCode(character))
            codes.push_back(*code);
    };
    switch (leader) {
    case Leader::command:
        if (isSnippetsLive())
            add(QChar(':'));
        if (isNowPlayingLive()) {
            for (const auto& [code, character] : KeyCodes::mediaByKeyCode)
                codes.push_back(code);
        }
        break;
    case Leader::feature:
        for (const Key key : liveKeys())
            add(letter(key).at(0));
        break;
    case Leader::option:
        break;
    }
    return codes;
}

bool FeatureChords::isRefused(Key key) const
{
    namespace F = platform::KeyFlags;
    const auto code = KeyCodes::keyCode(letter(key).at(0));
    if (!code)
        return false;
    auto& interceptor = platform::platform().keyInterceptor();
    const bool refused = interceptor.isRefused(*code, F::rightCommand | F::rightOption) ||
                         interceptor.isRefused(*code, F::rightCommand | F::leftOption);
    if (refused && m_reportedRefused.insert(key).second) {
        Log::error(QStringLiteral("Keys: right Ctrl + right Alt + %1 is held by another program; that chord "
                                  "is unavailable")
                       .arg(letter(key)));
    }
    return refused;
}

bool FeatureChords::handle(Leader leader, QChar character)
{
    switch (leader) {
    case Leader::command:
        if (character == QChar(':')) {
            if (!isSnippetsLive())
                return false;
            later([](FeatureChords& self) {
                if (self.onSnippetPicker)
                    self.onSnippetPicker();
            });
            return true;
        }
        if (const auto media = MediaKey::from(character); media && isNowPlayingLive()) {
            later([key = *media](FeatureChords& self) {
                if (self.onMediaKey)
                    self.onMediaKey(key);
            });
            return true;
        }
        return false;
    case Leader::option:
        return false;
    case Leader::feature:
        break;
    }
    for (const Key key : liveKeys()) {
        if (letter(key).toLower() != QString(character).toLower())
            continue;
        // The keycap pulses before the action, which may take the hints down.
        later([key](FeatureChords& self) {
            if (self.onHintPress)
                self.onHintPress(letter(key));
            if (self.m_action)
                self.m_action(key);
        });
        return true;
    }
    return false;
}

std::vector<NotchBarItem> FeatureChords::hintItems() const
{
    if (!m_settings.notchFeatureHints())
        return {};
    std::vector<NotchBarItem> items;
    for (const Key key : liveKeys()) {
        if (isRefused(key))
            continue;
        NotchBarItem item;
        if (key == Key::profile1 || key == Key::profile2)
            item.icon = Symbols::image(key == Key::profile1 ? QStringLiteral("1.square")
                                                            : QStringLiteral("2.square"));
        else
            item.icon = pane(key).icon();
        item.badge = letter(key);
        items.push_back(item);
    }
    return items;
}

void FeatureChords::later(std::function<void(FeatureChords&)> fn)
{
    std::weak_ptr<FeatureChords*> weak = m_self;
    platform::platform().mainQueue().post([weak, fn = std::move(fn)] {
        if (const auto self = weak.lock())
            fn(**self);
    });
}

} // namespace quillon
