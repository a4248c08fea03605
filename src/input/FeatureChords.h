#pragma once

#include "app/SettingsPane.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace quillon {

class LeaderWatcher;
class Settings;

/// Global chords for the features: hold right Ctrl with Alt (the feature
/// leader) and press a feature's letter. The settings window shows the
/// chord labels of each pane.
class FeatureChords {
public:
    enum class Key { awake, focus, shelf, breaks, ocr, clipboard, settings, profile1, profile2 };
    /// How the General pane groups the chords in its list of global keys.
    enum class Kind { toggles, tools, app };

    static constexpr std::array<Key, 9> allKeys{Key::awake,    Key::focus,    Key::shelf,
                                                Key::breaks,   Key::ocr,      Key::clipboard,
                                                Key::settings, Key::profile1, Key::profile2};

    /// The key pressed with the leader: "A", "F", "S", "B", "T", "C", "~", "1", "2".
    static QString letter(Key key);
    /// The settings pane the chord belongs to.
    static SettingsPane pane(Key key);
    static Kind kind(Key key);

    /// "r⌘ r⌥ " and the letter, for every key of the pane, in key order.
    static QStringList chords(SettingsPane pane);

    FeatureChords(Settings& settings, LeaderWatcher& leader);
    FeatureChords(const FeatureChords&) = delete;
    FeatureChords& operator=(const FeatureChords&) = delete;
    ~FeatureChords();

    std::function<void()> onSnippetPicker;
    std::function<bool()> isNowPlayingLive = [] { return false; };
    std::function<bool()> isSnippetsLive = [] { return false; };
    /// Told the letter of a chord just performed.
    std::function<void(const QString&)> onHintPress;

    /// Keeps the action that performs a chord and joins the leader watcher
    /// for the feature and command leaders (which starts it).
    void registerAction(std::function<void(Key)> action);

private:
    Settings& m_settings;
    LeaderWatcher& m_leader;
    std::function<void(Key)> m_action;
};

} // namespace quillon
