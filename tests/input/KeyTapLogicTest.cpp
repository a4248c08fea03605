#include "input/KeyTapLogic.h"

#include <gtest/gtest.h>

using namespace quillon;
namespace F = quillon::platform::KeyFlags;

namespace {

constexpr platform::EventFlags rightCommand = F::command | F::rightCommand;
constexpr platform::EventFlags leftCommand = F::command | F::leftCommand;
constexpr platform::EventFlags rightOption = F::option | F::rightOption;
constexpr platform::EventFlags leftOption = F::option | F::leftOption;
constexpr platform::EventFlags leftControl = F::control | F::leftControl;

TEST(KeyTapLogic, LeaderFollowsTheRightHandModifiers)
{
    struct Row {
        platform::EventFlags flags;
        std::optional<Leader> leader;
    };
    const Row rows[] = {
        {0, std::nullopt},
        {leftCommand, std::nullopt},
        {leftOption, std::nullopt},
        {leftCommand | leftOption, std::nullopt},
        {rightCommand, Leader::command},
        {rightCommand | leftCommand, Leader::command},
        {rightCommand | leftOption, Leader::feature},
        {rightCommand | rightOption, Leader::feature},
        {rightOption, Leader::option},
        {rightOption | leftCommand, Leader::option},
        {rightOption | F::shift | F::leftShift, Leader::option},
    };
    for (const Row& row : rows)
        EXPECT_EQ(KeyTapLogic::leaderFrom(row.flags), row.leader) << std::hex << row.flags;
}

TEST(KeyTapLogic, OptionJoiningAndLeavingSwitchesBetweenCommandAndFeature)
{
    KeyTapLogic logic;
    EXPECT_FALSE(logic.handleFlags(leftOption));
    EXPECT_TRUE(logic.handleFlags(rightCommand));
    EXPECT_EQ(logic.leader, Leader::command);
    EXPECT_FALSE(logic.handleFlags(rightCommand | F::shift | F::leftShift));
    EXPECT_TRUE(logic.handleFlags(rightCommand | leftOption));
    EXPECT_EQ(logic.leader, Leader::feature);
    EXPECT_TRUE(logic.handleFlags(rightCommand));
    EXPECT_EQ(logic.leader, Leader::command);
    EXPECT_TRUE(logic.handleFlags(0));
    EXPECT_EQ(logic.leader, std::nullopt);
    EXPECT_FALSE(logic.handleFlags(0));
}

// One key press under a held modifier state: whether it is swallowed and what
// the consumer receives (a consumer that takes every key).
TEST(KeyTapLogic, KeyPressesAreSwallowedOrPassedByLeaderAndKey)
{
    struct Row {
        const char* what;
        platform::EventFlags flags;
        uint16_t keyCode;
        std::optional<Leader> leader;
        bool swallow;
        std::optional<QChar> received;
    };
    const Row rows[] = {
        {"no leader", leftCommand, 0, std::nullopt, false, std::nullopt},
        {"letter under command", rightCommand, 0, Leader::command, true, QChar('a')},
        {"letter under option", rightOption, 38, Leader::option, true, QChar('j')},
        {"letter under feature", rightCommand | leftOption, 2, Leader::feature, true, QChar('d')},
        {"letter with shift", rightCommand | F::shift | F::leftShift, 45, Leader::command, true, QChar('n')},
        {"control held", rightCommand | leftControl, 0, Leader::command, false, std::nullopt},
        {"control with option", rightOption | leftControl, 0, Leader::option, false, std::nullopt},
        {"command-c under option", rightOption | leftCommand, 8, Leader::option, false, std::nullopt},
        {"semicolon under command", rightCommand, 41, Leader::command, true, QChar(':')},
        {"semicolon under option", rightOption, 41, Leader::option, false, std::nullopt},
        {"semicolon under feature", rightCommand | leftOption, 41, Leader::feature, false, std::nullopt},
        {"comma under command", rightCommand, 43, Leader::command, true, QChar(',')},
        {"slash under command", rightCommand, 44, Leader::command, true, QChar('/')},
        {"period under command", rightCommand, 47, Leader::command, true, QChar('.')},
        {"period under feature", rightCommand | leftOption, 47, Leader::feature, false, std::nullopt},
        {"grave under feature", rightCommand | leftOption, 50, Leader::feature, true, QChar('~')},
        {"grave under command", rightCommand, 50, Leader::command, false, std::nullopt},
        {"digit under command", rightCommand, 18, Leader::command, true, QChar('1')},
        {"digit 6 under feature", rightCommand | leftOption, 22, Leader::feature, true, QChar('6')},
        {"digit 5 under feature", rightCommand | leftOption, 23, Leader::feature, true, QChar('5')},
        {"digit under option", rightOption, 18, Leader::option, false, std::nullopt},
        {"zero under command", rightCommand, 29, Leader::command, false, std::nullopt},
        {"zero under feature", rightCommand | leftOption, 29, Leader::feature, false, std::nullopt},
        {"return under command", rightCommand, 36, Leader::command, false, std::nullopt},
    };
    for (const Row& row : rows) {
        KeyTapLogic logic;
        logic.handleFlags(row.flags);
        EXPECT_EQ(logic.leader, row.leader) << row.what;
        std::optional<QChar> received;
        std::optional<Leader> receivedUnder;
        const bool swallow = logic.keyDown(row.keyCode, row.flags, [&](Leader leader, QChar ch) {
            received = ch;
            receivedUnder = leader;
            return true;
        });
        EXPECT_EQ(swallow, row.swallow) << row.what;
        EXPECT_EQ(received, row.received) << row.what;
        if (received) {
            EXPECT_EQ(receivedUnder, row.leader) << row.what;
        }
        EXPECT_EQ(logic.consumedKeys.count(row.keyCode) == 1, row.swallow) << row.what;
    }
}

TEST(KeyTapLogic, AKeyTheConsumerDeclinesOrNoConsumerPasses)
{
    KeyTapLogic logic;
    logic.handleFlags(rightCommand);
    int calls = 0;
    EXPECT_FALSE(logic.keyDown(0, rightCommand, [&](Leader, QChar) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(logic.keyDown(0, rightCommand, {}));
    EXPECT_TRUE(logic.consumedKeys.empty());
    EXPECT_FALSE(logic.keyUp(0));
}

// A letter taken under the leader and held while the leader goes: its
// repeats are swallowed without asking the consumer again, and its release is
// swallowed too; only then is the tap no longer needed.
TEST(KeyTapLogic, ASwallowedKeyStaysSwallowedUntilItsRelease)
{
    KeyTapLogic logic;
    int calls = 0;
    const auto consumer = [&](Leader, QChar) {
        ++calls;
        return true;
    };
    logic.handleFlags(rightCommand);
    EXPECT_TRUE(logic.keyDown(40, rightCommand, consumer));
    EXPECT_TRUE(logic.keyDown(40, rightCommand, consumer)); // repeat
    EXPECT_EQ(calls, 1);

    EXPECT_TRUE(logic.handleFlags(0));
    EXPECT_TRUE(logic.isNeeded());
    EXPECT_TRUE(logic.keyDown(40, 0, consumer)); // repeat with the leader gone
    EXPECT_TRUE(logic.keyDown(40, leftControl, consumer));
    EXPECT_FALSE(logic.keyDown(0, 0, consumer)); // another key with no leader passes
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(logic.keyUp(1));
    EXPECT_TRUE(logic.keyUp(40));
    EXPECT_FALSE(logic.isNeeded());
    EXPECT_FALSE(logic.keyUp(40));
}

} // namespace
