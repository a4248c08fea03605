#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/QuillonRun.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using quillon::testing::QuillonRun;

// The process holds the application id on the session bus.
bool holdsTheName(const QProcess& process)
{
    return quillon::testing::waitFor(
        [&] {
            return QDBusConnection::sessionBus().interface()->servicePid(QUILLON_APP_ID).value()
                   == uint(process.processId());
        },
        10000);
}

TEST(QuillonInstance, SecondLaunchAsksTheRunningOneToReopenAndEnds)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun first(home, true);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(holdsTheName(first.process));

    QuillonRun second(home, true);
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(second.process.waitForFinished(10000));
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);

    EXPECT_TRUE(quillon::testing::waitFor([&] {
        return first.log().contains("Reopen requested by another launch");
    })) << first.log().toStdString();
    EXPECT_EQ(first.process.state(), QProcess::Running);
    EXPECT_EQ(first.log().count(QString::fromUtf8(" \u2550\u2550\u2550 Quillon ")), 1)
        << "the second launch wrote a session of its own";
}

// A relaunched instance waits for the name instead of handing over, and gets
// it once its predecessor is gone.
TEST(QuillonInstance, RelaunchedInstanceTakesTheNameWhenThePreviousOneQuits)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun previous(home, false);
    ASSERT_TRUE(previous.start());
    ASSERT_TRUE(holdsTheName(previous.process));

    QuillonRun relaunched(home, false);
    ASSERT_TRUE(relaunched.start({"--relaunched"}));
    EXPECT_FALSE(relaunched.process.waitForFinished(1500)) << "the relaunched instance handed over and quit";

    previous.process.terminate();
    ASSERT_TRUE(previous.process.waitForFinished(10000));
    EXPECT_TRUE(holdsTheName(relaunched.process));
}

TEST(QuillonInstance, SegvLeavesItsCrashBlockAndEndsBySignal)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun quillon(home, false);
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(holdsTheName(quillon.process)); // the crash reporter is installed before the name is claimed

    ::kill(pid_t(quillon.process.processId()), SIGSEGV);
    ASSERT_TRUE(quillon.process.waitForFinished(10000));
    EXPECT_EQ(quillon.process.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(quillon.process.exitCode(), SIGSEGV);

    const QString log = quillon.log();
    const QString header =
        QStringLiteral("\n=== CRASH signal 11 (%1) ===\n").arg(QString::fromUtf8(::strsignal(SIGSEGV)));
    EXPECT_TRUE(log.startsWith(header)) << log.toStdString();
    EXPECT_TRUE(log.endsWith("=== end crash ===\n")) << log.toStdString();
}

} // namespace
