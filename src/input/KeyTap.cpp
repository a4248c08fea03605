#include "input/KeyTap.h"

#include "input/KeyCodes.h"
#include "platform/Platform.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr uint16_t semicolonKey = 41;
constexpr uint16_t graveKey = 50;

void addKeys(std::vector<uint16_t>& keys, const std::unordered_map<uint16_t, QChar>& table)
{
    for (const auto& [code, ch] : table)
        keys.push_back(code);
}

} // namespace

KeyTap::~KeyTap()
{
    stop();
}

bool KeyTap::start()
{
    if (m_started)
        return true;
    if (!platform::platform().keyInterceptor().isAvailable())
        return false;
    m_started = true;
    const std::set<Leader> leaders = m_leaderKeys;
    m_leaderKeys.clear();
    setLeaderKeys(leaders);
    applyEnabled();
    return true;
}

void KeyTap::setLeaderKeys(const std::set<Leader>& leaders)
{
    if (m_started && leaders == m_leaderKeys && (leaders.empty() || !m_leaderTaps.empty()))
        return;
    m_leaderKeys = leaders;
    if (!m_started)
        return;
    auto& interceptor = platform::platform().keyInterceptor();
    std::vector<int> previous = std::move(m_leaderTaps);
    m_leaderTaps.clear();
    for (const Leader leader : leaders) {
        for (const platform::KeyGrab& grab : leaderKeyGrabs(leader)) {
            // The leader's press arms its keys before it goes on to the
            // focused window, which has it as if nothing happened.
            const auto token = interceptor.arm(grab, [this](const platform::KeyEvent& event) {
                if (event.type == platform::KeyEvent::Type::keyDown && !event.isRepeat)
                    handleFlags(event.flags);
                return false;
            });
            if (token)
                m_leaderTaps.push_back(*token);
        }
    }
    for (const int token : previous)
        interceptor.disarm(token);
}

void KeyTap::stop()
{
    disarm();
    for (const int token : m_leaderTaps)
        platform::platform().keyInterceptor().disarm(token);
    m_leaderTaps.clear();
    m_logic = KeyTapLogic();
    m_started = false;
}

void KeyTap::handleFlags(platform::EventFlags flags)
{
    if (!m_logic.handleFlags(flags))
        return;
    applyEnabled();
    if (onLeaderChange)
        onLeaderChange(m_logic.leader);
}

bool KeyTap::handleKey(const platform::KeyEvent& event)
{
    bool swallow = false;
    if (event.keyCode >= 0 && event.keyCode <= 0xFFFF) {
        const auto keyCode = uint16_t(event.keyCode);
        if (event.type == platform::KeyEvent::Type::keyDown)
            swallow = m_logic.keyDown(keyCode, event.flags, onKey);
        else if (event.type == platform::KeyEvent::Type::keyUp)
            swallow = m_logic.keyUp(keyCode);
    }
    // A consumer may have stopped the tap while it took the key; what the
    // logic noted after that belongs to no running tap.
    if (!m_started)
        m_logic = KeyTapLogic();
    applyEnabled();
    return swallow;
}

void KeyTap::applyEnabled()
{
    if (!m_started)
        return;
    if (!m_logic.isNeeded()) {
        disarm();
        return;
    }
    // No leader, but a swallowed key still down: what is armed stays, so its
    // release is seen.
    if (!m_logic.leader || m_armedFor == m_logic.leader)
        return;
    platform::KeyGrab grab = grabFor(*m_logic.leader);
    if (keysFor) {
        // Only what a consumer takes: a key nobody serves reaches the focused
        // window untouched, without a grab.
        const std::vector<uint16_t> wanted = keysFor(*m_logic.leader);
        std::erase_if(grab.keyCodes, [&](uint16_t key) {
            return std::find(wanted.begin(), wanted.end(), key) == wanted.end();
        });
    }
    // Keys swallowed under the previous leader and still down stay taken, so
    // their releases are still heard even where the new leader has no use
    // for them.
    for (const uint16_t keyCode : m_logic.consumedKeys) {
        if (std::find(grab.keyCodes.begin(), grab.keyCodes.end(), keyCode) == grab.keyCodes.end())
            grab.keyCodes.push_back(keyCode);
    }
    if (grab.keyCodes.empty()) {
        disarm();
        m_armedFor = m_logic.leader;
        return;
    }
    auto& interceptor = platform::platform().keyInterceptor();
    const auto token =
        interceptor.arm(grab, [this](const platform::KeyEvent& event) { return handleKey(event); });
    // The new leader's keys are armed before the old ones go, so keys both
    // share are never let go of in between.
    disarm();
    m_armed = token;
    m_armedFor = token ? m_logic.leader : std::nullopt;
}

void KeyTap::disarm()
{
    if (m_armed)
        platform::platform().keyInterceptor().disarm(*m_armed);
    m_armed.reset();
    m_armedFor.reset();
}

platform::KeyGrab KeyTap::grabFor(Leader leader)
{
    namespace F = platform::KeyFlags;
    platform::KeyGrab grab;
    addKeys(grab.keyCodes, KeyCodes::letterByKeyCode);
    switch (leader) {
    case Leader::command:
        addKeys(grab.keyCodes, KeyCodes::digitByKeyCode);
        addKeys(grab.keyCodes, KeyCodes::mediaByKeyCode);
        grab.keyCodes.push_back(semicolonKey);
        grab.modifiers = {F::rightCommand, F::rightCommand | F::shift};
        break;
    case Leader::feature:
        addKeys(grab.keyCodes, KeyCodes::digitByKeyCode);
        grab.keyCodes.push_back(graveKey);
        grab.modifiers = {F::rightCommand | F::leftOption, F::rightCommand | F::rightOption,
                          F::rightCommand | F::leftOption | F::shift,
                          F::rightCommand | F::rightOption | F::shift};
        break;
    case Leader::option:
        grab.modifiers = {F::rightOption, F::rightOption | F::shift, F::rightOption | F::leftOption,
                          F::rightOption | F::leftOption | F::shift};
        break;
    }
    return grab;
}

std::vector<platform::KeyGrab> KeyTap::leaderKeyGrabs(Leader leader)
{
    namespace F = platform::KeyFlags;
    constexpr uint16_t rightCommandKey = 54, leftOptionKey = 58, rightOptionKey = 61;
    switch (leader) {
    case Leader::command:
        return {{{rightCommandKey}, {0, F::shift}}};
    case Leader::feature:
        return {{{leftOptionKey, rightOptionKey}, {F::command, F::command | F::shift}},
                {{rightCommandKey}, {F::option, F::option | F::shift}}};
    case Leader::option:
        return {{{rightOptionKey}, {0, F::shift}}};
    }
    return {};
}

} // namespace quillon
