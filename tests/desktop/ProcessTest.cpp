#include "common/Desktop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(QuillonProcess, StartsStaysUpAndEndsCleanlyOnSigterm)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_STATE_HOME", home.path() + "/state");
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    // With diagnostics on, the launch writes its session header.
    QDir().mkpath(home.path() + "/config/Quillon");
    QFile settings(home.path() + "/config/Quillon/app.quillon.Quillon.json");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(R"({"diagnostics.logging": {"type": "bool", "value": true}})");
    settings.close();

    QProcess quillon;
    quillon.setProcessEnvironment(env);
    quillon.start(QUILLON_BINARY, {});
    ASSERT_TRUE(quillon.waitForStarted(5000));
    const QString log = home.path() + "/state/Quillon/debug.log";
    EXPECT_TRUE(quillon::testing::waitFor([&] { return QFile::exists(log); }));
    EXPECT_FALSE(quillon.waitForFinished(1500)) << "quillon exited early: " << quillon.readAllStandardError().toStdString();
    ASSERT_EQ(quillon.state(), QProcess::Running);

    quillon.terminate(); // SIGTERM
    ASSERT_TRUE(quillon.waitForFinished(10000));
    EXPECT_EQ(quillon.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(quillon.exitCode(), 0);

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(" \u2550\u2550\u2550 Quillon ")) << text.toStdString();
    EXPECT_TRUE(text.contains(" \u00b7 Linux ")) << text.toStdString();
    EXPECT_TRUE(text.contains("Quillon quitting normally")) << text.toStdString();
}

} // namespace
