#include "fakes/FakePlatform.h"
#include "platform/linux/QtAppShell.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(QtAppShell, AnotherProcessOfOurProgramIsAnotherInstance)
{
    fakes::FakePlatform fake;
    platform::linux_::QtAppShell shell(
        platform::linux_::QtAppShell::Options{"app.quillon.test.Instances", "", {}, [] {}});
    // A second copy of this very program that keeps running until killed.
    QProcess copy;
    copy.start(QCoreApplication::applicationFilePath(),
               {"--gtest_repeat=-1", "--gtest_filter=PlistValue*", "--gtest_brief=1"});
    ASSERT_TRUE(copy.waitForStarted());
    EXPECT_TRUE(shell.anotherInstanceIsRunning());
    copy.kill();
    copy.waitForFinished();
}

} // namespace
