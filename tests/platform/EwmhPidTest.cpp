#include "platform/linux/Ewmh.h"

#include <gtest/gtest.h>

using quillon::platform::linux_::Ewmh;

namespace {

// _NET_WM_PID is only a fallback for clients the X server cannot name a
// process for; a pid that may belong to another machine must never be taken,
// since signals go to whatever process has that number here.
TEST(EwmhDeclaredPid, TakesThePidOnlyFromAClientOnThisHost)
{
    struct Case {
        std::optional<uint32_t> pid;
        std::optional<QString> machine;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {4321, QString("desk"), 4321},
        {4321, QString("DESK"), 4321},                   // host names ignore case
        {4321, QString::fromLatin1("desk\0", 5), 4321},  // a terminating NUL some clients store
        {4321, QString("server.example"), std::nullopt}, // a remote client's pid
        {4321, std::nullopt, std::nullopt},              // does not say where it runs
        {4321, QString(), std::nullopt},
        {std::nullopt, QString("desk"), std::nullopt},
        {0, QString("desk"), std::nullopt},
        {0x80000000u, QString("desk"), std::nullopt}, // not a pid
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ewmh::declaredPid(c.pid, c.machine, "desk"), c.expected)
            << c.pid.value_or(0) << " " << c.machine.value_or("(none)").toStdString();
    EXPECT_EQ(Ewmh::declaredPid(4321, QString("desk"), QString()), std::nullopt) << "own host unknown";
}

} // namespace
