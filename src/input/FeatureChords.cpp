#include "input/FeatureChords.h"

#include "input/LeaderWatcher.h"

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
    // The chords themselves are taken once the leader's key tap delivers keys.
    m_leader.add(
        this, {Leader::feature, Leader::command}, [](Leader, const QString&) { return false; },
        [](Leader) { return std::vector<NotchBarItem>{}; });
}

} // namespace quillon
