#pragma once

#include "settings/Settings.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace quillon {

/// The fixed catalogue of the settings window's panes, in sidebar order. It
/// also ties each feature to its switch: the delegate pairs every feature
/// object with its pane and switches it by the pane's enabled flag.
///
/// Use it like an enum (`SettingsPane::snap`, `switch (pane)`); the members
/// answer the per-pane values.
class SettingsPane {
public:
    enum Case {
        gettingStarted,
        general,
        snap,
        jump,
        colorPicker,
        clipboard,
        snippets,
        ocr,
        shelf,
        focus,
        breaks,
        swipe,
        awake,
        notch,
        sweep,
        autoQuit,
        about,
    };

    constexpr SettingsPane(Case value)
        : m_case(value)
    {
    }
    constexpr operator Case() const { return m_case; }

    /// Every pane in case order.
    static const std::array<SettingsPane, 17>& allCases();
    /// The panes that stand for a feature: every case but gettingStarted,
    /// general and about (14, the notch included).
    static const std::vector<SettingsPane>& features();
    /// The case named exactly `raw` (case-sensitive); none for any other text.
    static std::optional<SettingsPane> fromRaw(const QString& raw);

    QString rawValue() const;
    /// The sidebar title, also the feature's label in the debug log and in
    /// the toggle chips ("Color", "OCR", "Auto-Quit", …).
    QString title() const;
    /// The name of the pane's glyph (Symbols).
    QString symbol() const;
    /// The glyph named by `symbol`, made once and kept for the process; none
    /// when no such glyph is drawn (and then not remembered).
    std::optional<QIcon> icon() const;
    /// The pane's colour from the design tints; neutral grey without one.
    QColor tint() const;
    /// One line about the pane; empty for general and about.
    QString blurb() const;
    /// The feature's switch in the settings store ("snap.isEnabled", …);
    /// none for gettingStarted, general, notch and about.
    std::optional<Settings::BoolKeyPath> enabledKeyPath() const;
    /// The shortcut labels shown for the pane: its fixed label, then its
    /// feature chords.
    QStringList hotkeys() const;
    /// Some shortcut of the pane uses a right-hand leader, which only the
    /// Accessibility-dependent key tap can tell apart.
    bool needsAccessibilityToTrigger() const;

private:
    Case m_case;
};

inline size_t qHash(SettingsPane pane, size_t seed = 0)
{
    return ::qHash(int(SettingsPane::Case(pane)), seed);
}

} // namespace quillon
