// The per-key work while a leader is held, and the translation of every raw
// key event of the desktop while somebody listens: both run for each key a
// person types and must stay far below a microsecond.
#include "input/KeyTapLogic.h"
#include "platform/linux/KeyCodeMap.h"

#include <benchmark/benchmark.h>
#include <xcb/xinput.h>

using namespace quillon;
namespace F = quillon::platform::KeyFlags;

static void BM_KeyTapLogicLeaderKeyPressAndRelease(benchmark::State& state)
{
    KeyTapLogic logic;
    logic.handleFlags(F::command | F::rightCommand);
    const KeyTapLogic::Handler consumer = [](Leader, QChar ch) { return ch == QChar('j'); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(logic.keyDown(38, F::command | F::rightCommand, consumer));
        benchmark::DoNotOptimize(logic.keyUp(38));
    }
}
BENCHMARK(BM_KeyTapLogicLeaderKeyPressAndRelease);

static void BM_KeyTapLogicPassingKey(benchmark::State& state)
{
    KeyTapLogic logic;
    logic.handleFlags(F::option | F::rightOption);
    const KeyTapLogic::Handler consumer = [](Leader, QChar) { return true; };
    for (auto _ : state)
        benchmark::DoNotOptimize(logic.keyDown(36, F::option | F::rightOption, consumer));
}
BENCHMARK(BM_KeyTapLogicPassingKey);

// A raw press and release of right Ctrl (a modifier: flags recounted) and of
// a letter, as they arrive from the server.
static void BM_RawKeyEventToFlagsAndKeyCode(benchmark::State& state)
{
    platform::linux_::KeyStream stream;
    xcb_input_raw_key_press_event_t events[4] = {};
    const uint8_t codes[4] = {105, 38, 38, 105};
    const uint16_t types[4] = {XCB_INPUT_RAW_KEY_PRESS, XCB_INPUT_RAW_KEY_PRESS, XCB_INPUT_RAW_KEY_RELEASE,
                               XCB_INPUT_RAW_KEY_RELEASE};
    for (int i = 0; i < 4; ++i) {
        events[i].response_type = XCB_GE_GENERIC;
        events[i].event_type = types[i];
        events[i].detail = codes[i];
    }
    for (auto _ : state) {
        for (const auto& raw : events)
            benchmark::DoNotOptimize(
                stream.handle(uint8_t(raw.detail), raw.event_type == XCB_INPUT_RAW_KEY_PRESS));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_RawKeyEventToFlagsAndKeyCode);
