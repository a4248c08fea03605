#include "app/SettingsPane.h"

#include "input/FeatureChords.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "support/Words.h"

#include <QHash>

namespace quillon {

namespace {

struct PaneInfo {
    const char* raw;
    const char* title;
    const char* symbol;
    std::optional<Settings::BoolKeyPath> enabled;
    const char* fixedHotkey;
    const char* blurb;
};

constexpr Settings::BoolKeyPath path(bool (Settings::*read)() const, void (Settings::*write)(bool))
{
    return Settings::BoolKeyPath{read, write};
}

// Indexed by SettingsPane::Case.
const PaneInfo& info(SettingsPane pane)
{
    static const PaneInfo table[] = {
        {"gettingStarted", "Getting Started", "sparkles.rectangle.stack.fill", std::nullopt, nullptr,
         "A short tour: meet each feature, see it run, keep the ones you want."},
        {"general", "General", "gearshape.fill", std::nullopt, nullptr, ""},
        {"snap", "Snap", "macwindow", path(&Settings::isSnapEnabled, &Settings::setSnapEnabled),
         "\u2303\u2325",
         "Put a window in half, a third, or a corner \u2014 by keyboard, by dragging to an edge, or by "
         "nudging the mouse."},
        {"jump", "Jump", "command", path(&Settings::isJumpEnabled, &Settings::setJumpEnabled), "r\u2318",
         "Hold the \u2318 right of the space bar, tap a letter, land in that app."},
        {"colorPicker", "Color", "eyedropper.halffull",
         path(&Settings::isColorPickerEnabled, &Settings::setColorPickerEnabled), "\u2303\u2325\u21e7C",
         "Copy the color of any pixel on screen as a hex code (#1E90FF). Nothing to grant."},
        {"clipboard", "Clipboard", "doc.on.clipboard",
         path(&Settings::isClipboardEnabled, &Settings::setClipboardEnabled), "hold \u2318V",
         "The last 20 things you copied. Hold \u2318V for a moment to pick an older one."},
        {"snippets", "Snippets", "text.append",
         path(&Settings::isSnippetsEnabled, &Settings::setSnippetsEnabled),
         "r\u2318 :", "Saved text you paste by name."},
        {"ocr", "OCR", "text.viewfinder", path(&Settings::isOCREnabled, &Settings::setOCREnabled), nullptr,
         "Copy text out of a picture or a video \u2014 draw a box round it and it's on your clipboard."},
        {"shelf", "Shelf", "tray.fill", path(&Settings::isShelfEnabled, &Settings::setShelfEnabled), nullptr,
         "A drop spot at the top of the screen \u2014 drag files up to park them, drag them out later."},
        {"focus", "Focus", "circle.lefthalf.filled",
         path(&Settings::isFocusEnabled, &Settings::setFocusEnabled), nullptr,
         "Dim everything behind the window you're working in."},
        {"breaks", "Breaks", "eye", path(&Settings::isBreaksEnabled, &Settings::setBreaksEnabled), nullptr,
         "Rests your eyes: every 20 minutes, a short pause screen to look away."},
        {"swipe", "Swipe", "rectangle.on.rectangle",
         path(&Settings::isSwipeEnabled, &Settings::setSwipeEnabled), nullptr,
         "Switch desktops (Spaces) instantly \u2014 no sliding animation."},
        {"awake", "Awake", "cup.and.saucer.fill", path(&Settings::isAwakeEnabled, &Settings::setAwakeEnabled),
         nullptr, "Keep the Mac awake \u2014 indefinitely or for a set time."},
        {"notch", "Notch", "sparkles", std::nullopt, nullptr,
         "Chips and key hints at the top of the screen. Always on, never takes focus."},
        {"sweep", "Sweep", "xmark.circle.fill", path(&Settings::isSweepEnabled, &Settings::setSweepEnabled),
         nullptr, "Quit an app automatically when its last window closes."},
        {"autoQuit", "Auto-Quit", "moon.zzz.fill",
         path(&Settings::isAutoQuitEnabled, &Settings::setAutoQuitEnabled), nullptr,
         "Quit apps that sit unused in the background."},
        {"about", "About", "info", std::nullopt, nullptr, ""},
    };
    static_assert(std::size(table) == 17);
    return table[int(SettingsPane::Case(pane))];
}

} // namespace

const std::array<SettingsPane, 17>& SettingsPane::allCases()
{
    static const std::array<SettingsPane, 17> all{
        gettingStarted, general, snap,  jump,  colorPicker, clipboard, snippets, ocr,   shelf,
        focus,          breaks,  swipe, awake, notch,       sweep,     autoQuit, about,
    };
    return all;
}

const std::vector<SettingsPane>& SettingsPane::features()
{
    static const std::vector<SettingsPane> panes = [] {
        std::vector<SettingsPane> list;
        for (const SettingsPane pane : allCases()) {
            if (pane != gettingStarted && pane != general && pane != about)
                list.push_back(pane);
        }
        return list;
    }();
    return panes;
}

std::optional<SettingsPane> SettingsPane::fromRaw(const QString& raw)
{
    for (const SettingsPane pane : allCases()) {
        if (pane.rawValue() == raw)
            return pane;
    }
    return std::nullopt;
}

QString SettingsPane::rawValue() const
{
    return QString::fromLatin1(info(*this).raw);
}

QString SettingsPane::title() const
{
    return QString::fromLatin1(info(*this).title);
}

QString SettingsPane::symbol() const
{
    return QString::fromLatin1(info(*this).symbol);
}

std::optional<QIcon> SettingsPane::icon() const
{
    static QHash<int, QIcon> iconCache;
    const auto cached = iconCache.constFind(int(m_case));
    if (cached != iconCache.constEnd())
        return *cached;
    auto image = Symbols::image(symbol());
    if (image)
        iconCache.insert(int(m_case), *image);
    return image;
}

QColor SettingsPane::tint() const
{
    return DS::featureTints().value(title(), DS::systemGray());
}

QString SettingsPane::blurb() const
{
    return Words::adapt(QString::fromUtf8(info(*this).blurb));
}

std::optional<Settings::BoolKeyPath> SettingsPane::enabledKeyPath() const
{
    return info(*this).enabled;
}

QStringList SettingsPane::hotkeys() const
{
    QStringList labels;
    if (const char* fixed = info(*this).fixedHotkey)
        labels << QString::fromUtf8(fixed);
    return labels + FeatureChords::chords(*this);
}

bool SettingsPane::needsAccessibilityToTrigger() const
{
    const QStringList labels = hotkeys();
    return std::any_of(labels.begin(), labels.end(), [](const QString& label) {
        return label.startsWith(QStringLiteral("r\u2318")) || label.startsWith(QStringLiteral("r\u2325"));
    });
}

} // namespace quillon
