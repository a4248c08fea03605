#include "common/Desktop.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/QtAppShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using platform::AppShell;
using platform::linux_::QtAppShell;

namespace {

const QString kAppId = QStringLiteral("app.quillon.test.Relaunch");

QString nameOwner() { return QDBusConnection::sessionBus().interface()->serviceOwner(kAppId).value(); }

class AppShellTest : public ::testing::Test {
protected:
    void SetUp() override { QUILLON_REQUIRE_DESKTOP(); }

    std::unique_ptr<QtAppShell> makeShell(const QString& program, const QStringList& arguments)
    {
        return std::make_unique<QtAppShell>(
            QtAppShell::Options{kAppId, program, arguments, [this] { ++quits; }});
    }

    fakes::FakePlatform fake;
    int quits = 0;
};

TEST_F(AppShellTest, RelaunchHandsTheNameOverAndQuitsOnceTheNewProcessStarted)
{
    QTemporaryDir dir;
    const QString marker = dir.path() + "/started";
    // $0 of the shell is the relaunch marker argument.
    auto shell = makeShell("/bin/sh", {"-c", "printf '%s' \"$0\" > '" + marker + "'"});
    ASSERT_EQ(shell->claimSingleInstance(false), AppShell::Claim::claimed);
    EXPECT_EQ(nameOwner(), QDBusConnection::sessionBus().baseService());

    EXPECT_TRUE(shell->relaunch());
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return nameOwner().isEmpty(); }))
        << "the name is free for the new instance";
    ASSERT_TRUE(quillon::testing::waitFor([&] { return QFile(marker).size() > 0; }));
    QFile file(marker);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(AppShell::relaunchArgument));
}

TEST_F(AppShellTest, RelaunchThatCannotStartKeepsRunningWithTheName)
{
    auto shell = makeShell("/nonexistent/quillon", {});
    ASSERT_EQ(shell->claimSingleInstance(false), AppShell::Claim::claimed);
    EXPECT_FALSE(shell->relaunch());
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(quillon::testing::waitFor(
        [&] { return nameOwner() == QDBusConnection::sessionBus().baseService(); }));
    EXPECT_TRUE(fake.log.contains("Relaunch failed"));
}

TEST_F(AppShellTest, ReopenRequestReachesTheHolder)
{
    auto shell = makeShell("/bin/true", {});
    int reopens = 0;
    shell->setReopenHandler([&] { ++reopens; });
    ASSERT_EQ(shell->claimSingleInstance(false), AppShell::Claim::claimed);
    // Asked from a connection of its own, as a second process would.
    auto other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "reopen-asker");
    QDBusMessage call = QDBusMessage::createMethodCall(kAppId, QtAppShell::objectPath(kAppId),
                                                       "org.freedesktop.Application", "Activate");
    call << QVariantMap();
    other.asyncCall(call);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return reopens == 1; }));
    QDBusConnection::disconnectFromBus("reopen-asker");
}

} // namespace
