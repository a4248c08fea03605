#pragma once

#include "app/SettingsPane.h"
#include "input/Leader.h"
#include "notch/MediaKey.h"
#include "notch/NotchBarItem.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace quillon {

class LeaderWatcher;
class Settings;

/// Global chords for the features: hold right Ctrl with Alt (the feature
/// leader) and press a feature's letter. With right Ctrl alone (the command
/// leader), ":" opens the snippet picker and ",", "/" and "." are the media
/// keys. One consumer of the leader watcher; the settings window shows the
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
    /// Posts a media key (previous, play-pause, next).
    std::function<void(MediaKey)> onMediaKey;
    std::function<bool()> isNowPlayingLive = [] { return false; };
    std::function<bool()> isSnippetsLive = [] { return false; };
    /// Told the letter of a chord just performed.
    std::function<void(const QString&)> onHintPress;

    /// Keeps the action that performs a chord and joins the leader watcher
    /// for the feature and command leaders (which starts it).
    void registerAction(std::function<void(Key)> action);

    /// The feature leader's tiles: one per live key, its pane's glyph with
    /// the key's letter as badge; none while "notch.featureHints" is off.
    std::vector<NotchBarItem> hintItems() const;
    /// The keys whose chord works now, in key order: shelf, OCR and the
    /// clipboard only while their feature is switched on.
    std::vector<Key> liveKeys() const;
    /// The keys the consumer takes under the leader just now: the live keys'
    /// under the feature leader; ":" while snippets are live and the media
    /// keys while now playing is, under the command leader.
    std::vector<uint16_t> keyCodes(Leader leader) const;
    /// Whether the consumer takes a key under the leader. A taken key's
    /// work runs later on the main queue, so the key tap answers at once.
    bool handle(Leader leader, QChar character);

private:
    /// Runs `fn` on the main queue while this object still exists.
    void later(std::function<void(FeatureChords&)> fn);

    /// Whether another program holds the chord's keys; said once in the log.
    bool isRefused(Key key) const;

    Settings& m_settings;
    LeaderWatcher& m_leader;
    mutable std::set<Key> m_reportedRefused;
    std::function<void(Key)> m_action;
    std::shared_ptr<FeatureChords*> m_self = std::make_shared<FeatureChords*>(this);
};

} // namespace quillon
