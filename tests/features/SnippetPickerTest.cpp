#include "features/snippets/SnippetPicker.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using E = SnippetPicker::Effect;
using P = SnippetPicker;

enum class Phase { down, repeat, up };

P::Key key(int code, Phase phase, const QString& characters = {})
{
    return {code, phase == Phase::up, phase == Phase::repeat, characters};
}

P::State open(const QString& query = "ab", int rows = 3, int highlighted = 1)
{
    P::State state;
    state.query = query;
    state.rowCount = rows;
    state.highlighted = highlighted;
    return state;
}

TEST(SnippetPicker, KeyTable)
{
    struct Row {
        const char* name;
        int code;
        Phase phase;
        E effect;
        bool swallow;
    };
    const int other = 0; // the A key, typing "a"
    const Row rows[] = {
        {"return down", P::returnKey, Phase::down, E::none, true},
        {"return repeat", P::returnKey, Phase::repeat, E::none, true},
        {"return up", P::returnKey, Phase::up, E::insert, true},
        {"enter down", P::keypadEnterKey, Phase::down, E::none, true},
        {"enter repeat", P::keypadEnterKey, Phase::repeat, E::none, true},
        {"enter up", P::keypadEnterKey, Phase::up, E::insert, true},
        {"escape down", P::escapeKey, Phase::down, E::close, true},
        {"escape repeat", P::escapeKey, Phase::repeat, E::close, true},
        {"escape up", P::escapeKey, Phase::up, E::none, true},
        {"semicolon down", P::semicolonKey, Phase::down, E::close, true},
        {"semicolon repeat", P::semicolonKey, Phase::repeat, E::none, true},
        {"semicolon up", P::semicolonKey, Phase::up, E::none, false},
        {"down down", P::downKey, Phase::down, E::highlight, true},
        {"down repeat", P::downKey, Phase::repeat, E::highlight, true},
        {"down up", P::downKey, Phase::up, E::none, true},
        {"up down", P::upKey, Phase::down, E::highlight, true},
        {"up repeat", P::upKey, Phase::repeat, E::highlight, true},
        {"up up", P::upKey, Phase::up, E::none, true},
        {"delete down", P::deleteKey, Phase::down, E::refresh, true},
        {"delete repeat", P::deleteKey, Phase::repeat, E::refresh, true},
        {"delete up", P::deleteKey, Phase::up, E::none, true},
        {"other down", other, Phase::down, E::refresh, true},
        {"other repeat", other, Phase::repeat, E::refresh, true},
        {"other up", other, Phase::up, E::none, false},
    };
    for (const Row& row : rows) {
        const auto result = P::reduce(open(), key(row.code, row.phase, "a"), 10);
        EXPECT_EQ(result.effect, row.effect) << row.name;
        EXPECT_EQ(result.swallow, row.swallow) << row.name;
    }
}

TEST(SnippetPicker, TypingAndDeleteEditTheQueryAndResetTheHighlight)
{
    auto typed = P::reduce(open("ab", 3, 2), key(0, Phase::down, "é"), 10);
    EXPECT_EQ(typed.state.query, "abé");
    EXPECT_EQ(typed.state.highlighted, 0);
    // An emoji of two UTF-16 units goes as a whole.
    auto deleted = P::reduce(open("a\U0001F600", 3, 2), key(P::deleteKey, Phase::down), 10);
    EXPECT_EQ(deleted.state.query, "a");
    EXPECT_EQ(deleted.state.highlighted, 0);
    // Return with nothing listed does nothing but swallow.
    const auto none = P::reduce(open("zz", 0, 0), key(P::returnKey, Phase::up), 10);
    EXPECT_EQ(none.effect, E::none);
    EXPECT_TRUE(none.swallow);
}

TEST(SnippetPicker, UpAndDownClamp)
{
    EXPECT_EQ(P::reduce(open("", 3, 0), key(P::upKey, Phase::down), 0).state.highlighted, 0);
    EXPECT_EQ(P::reduce(open("", 3, 2), key(P::downKey, Phase::down), 0).state.highlighted, 2);
    EXPECT_EQ(P::reduce(open("", 3, 1), key(P::downKey, Phase::down), 0).state.highlighted, 2);
    const auto empty = P::reduce(open("", 0, 0), key(P::downKey, Phase::down), 0);
    EXPECT_EQ(empty.state.highlighted, 0);
    EXPECT_EQ(empty.effect, E::none);
}

// A sequence of key presses at given times; the effect of the last one.
struct Step {
    int code;
    double at;
    QString characters = {};
    Phase phase = Phase::down;
};

std::vector<E> run(const std::vector<Step>& steps)
{
    P::State state = open("", 3, 0);
    std::vector<E> effects;
    for (const Step& step : steps) {
        const auto result = P::reduce(state, key(step.code, step.phase, step.characters), step.at);
        state = result.state;
        effects.push_back(result.effect);
    }
    return effects;
}

TEST(SnippetPicker, DoubleDeleteOnAnEmptyQueryCloses)
{
    const int del = P::deleteKey;
    EXPECT_EQ(run({{del, 10}, {del, 10.5}}), (std::vector{E::none, E::close}));
    EXPECT_EQ(run({{del, 10}, {del, 10.1, {}, Phase::repeat}}), (std::vector{E::none, E::close}));
    EXPECT_EQ(run({{del, 10}, {del, 11}, {del, 11.5}}), (std::vector{E::none, E::none, E::close}));
    // A typed character disarms it; deleting that character does too.
    EXPECT_EQ(run({{del, 10}, {0, 10.1, "a"}, {del, 10.2}, {del, 10.3}}),
              (std::vector{E::none, E::refresh, E::refresh, E::none}));
}

TEST(SnippetPicker, HeldSemicolonRepeatsAreSwallowedAndASecondPressCloses)
{
    const int key = P::semicolonKey;
    EXPECT_EQ(run({{key, 10, ";", Phase::repeat},
                   {key, 10.1, ";", Phase::repeat},
                   {key, 10.2, ";", Phase::up},
                   {key, 11, ";"}}),
              (std::vector{E::none, E::none, E::none, E::close}));
}

TEST(SnippetPicker, WhatTypes)
{
    struct Row {
        const char* name;
        QString text;
        bool types;
    };
    const Row rows[] = {
        {"letter", "a", true},
        {"emoji with a modifier", QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), true},
        {"other private use", QString(QChar(0xE000)), true},
        {"two characters", "ab", false},
        {"tab", "\t", false},
        {"nothing", "", false},
        {"delete control", QString(QChar(0x7F)), false},
        {"first navigation code", QString(QChar(0xF700)), false},
        {"last navigation code", QString(QChar(0xF8FF)), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(P::types(row.text), row.types) << row.name;
}

} // namespace
} // namespace quillon
