// Jump in a running quillon: right Ctrl with a letter brings an app forward
// or hides it, with a digit moves to a workspace, and right Alt with a title
// initial raises that window. Keys go through XTest as a person types them.
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "common/Typist.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xK = 45, x3 = 12, x1 = 10, xB = 56, xM = 58;

QString rootProperty(const QString& property, const QString& window = {})
{
    QProcess xprop;
    xprop.start("xprop",
                window.isEmpty() ? QStringList{"-root", property} : QStringList{"-id", window, property});
    xprop.waitForFinished(5000);
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
}

// The window id the window manager calls active, in decimal.
quint32 activeWindow()
{
    const QString line = rootProperty("_NET_ACTIVE_WINDOW");
    return line.section('#', 1).trimmed().section(',', 0, 0).toUInt(nullptr, 16);
}

bool isIconified(quint32 window)
{
    return rootProperty("_NET_WM_STATE", QString::number(window)).contains("_NET_WM_STATE_HIDDEN");
}

class JumpDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(m_home.path() + "/data/applications");
        for (const char* name : {"Kiwi", "Mango"}) {
            QFile file(m_home.path() + "/data/applications/" + QString(name).toLower() + "-fixture.desktop");
            file.open(QIODevice::WriteOnly);
            // Started by quillon when pinned: the test window, under the app's class.
            file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                                      "Exec=\"%2\" --class %3,%1 --title \"%1 started\" %U\n"
                                      "StartupWMClass=%1\n")
                           .arg(name, QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-window"),
                                QString(name).toLower())
                           .toUtf8());
        }
    }

    bool startQuillon(const QByteArray& more = {})
    {
        m_quillon = std::make_unique<QuillonRun>(
            m_home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},)") + more +
                        R"("jump.isEnabled": {"type": "bool", "value": true}})");
        if (!m_quillon->start())
            return false;
        const bool on = waitFor([&] { return m_quillon->log().contains("Feature Jump: ON"); });
        // Quillon may take the focus once as it starts; let it settle.
        waitFor([] { return false; }, 1000);
        return on;
    }
    void activate(quint32 window)
    {
        QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(window)});
        waitFor([&] { return activeWindow() == window; });
    }
    void chord(uint8_t leader, uint8_t key)
    {
        HeldKeys held(m_typist, {leader});
        waitFor([] { return false; }, 100);
        m_typist.tap(key);
    }
    std::string log() const { return m_quillon->log().toStdString(); }

    QTemporaryDir m_home;
    std::unique_ptr<QuillonRun> m_quillon;
    Typist m_typist;
};

TEST_F(JumpDesktop, RightCtrlAndALetterBringsItsAppForwardAndHidesItWhenInFront)
{
    QUILLON_REQUIRE_DESKTOP();
    TestWindows kiwi({"--class", "kiwi,Kiwi", "--title", "Kiwi notes"});
    TestWindows mango({"--class", "mango,Mango", "--title", "Mango notes"});
    ASSERT_EQ(kiwi.ids.size(), 1u);
    ASSERT_EQ(mango.ids.size(), 1u);
    ASSERT_TRUE(startQuillon()) << log();
    ASSERT_TRUE(
        waitFor([&] { return m_quillon->log().contains("Jump auto groups: {k: [kiwi-fixture]"); }))
        << log();
    activate(mango.ids[0]);

    chord(xRightCtrl, xK);
    EXPECT_TRUE(waitFor([&] { return activeWindow() == kiwi.ids[0]; })) << log();

    chord(xRightCtrl, xK);
    EXPECT_TRUE(waitFor([&] { return isIconified(kiwi.ids[0]); })) << log();

    // Once hidden, the letter brings it back.
    chord(xRightCtrl, xK);
    EXPECT_TRUE(waitFor([&] { return activeWindow() == kiwi.ids[0] && !isIconified(kiwi.ids[0]); }))
        << log();
}

// The windows of a class the window manager manages, by xdotool.
QStringList windowsOfClass(const QString& wmClass)
{
    QProcess search;
    search.start("xdotool", {"search", "--class", wmClass});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(JumpDesktop, APinnedAppThatIsNotRunningIsStartedOnceAndBroughtForward)
{
    QUILLON_REQUIRE_DESKTOP();
    TestWindows kiwi({"--class", "kiwi,Kiwi", "--title", "Kiwi notes"});
    ASSERT_TRUE(startQuillon(R"("jump.forced": {"type": "dictionary", "value": {"m": "mango-fixture"}},
                                 "jump.hideOnRepeat": {"type": "bool", "value": false},)"))
        << log();
    activate(kiwi.ids[0]);
    ASSERT_TRUE(windowsOfClass("Mango").isEmpty());

    // Pressed twice, the second time while it starts or once it runs: one
    // start, one window. (With hiding on repeat off, a second press that
    // finds it in front only brings it forward.)
    chord(xRightCtrl, xM);
    chord(xRightCtrl, xM);
    ASSERT_TRUE(waitFor([&] { return windowsOfClass("Mango").size() == 1; }))
        << windowsOfClass("Mango").join(' ').toStdString() << log();
    const quint32 mango = windowsOfClass("Mango").front().toUInt();
    EXPECT_TRUE(waitFor([&] { return activeWindow() == mango; }))
        << activeWindow() << " " << mango << " " << kiwi.ids[0]
        << rootProperty("WM_CLASS", QString::number(activeWindow())).toStdString()
        << rootProperty("WM_NAME", QString::number(activeWindow())).toStdString()
        << rootProperty("_NET_WM_STATE", QString::number(mango)).toStdString() << log();
    waitFor([] { return false; }, 500);
    EXPECT_EQ(windowsOfClass("Mango").size(), 1) << log();

    const QString pid = rootProperty("_NET_WM_PID", QString::number(mango)).section('=', 1).trimmed();
    ASSERT_FALSE(pid.isEmpty());
    QProcess::execute("kill", {pid});
}

TEST_F(JumpDesktop, RightCtrlAndADigitMovesToThatWorkspace)
{
    QUILLON_REQUIRE_DESKTOP();
    ASSERT_TRUE(startQuillon()) << log();
    chord(xRightCtrl, x3);
    EXPECT_TRUE(waitFor([&] { return rootProperty("_NET_CURRENT_DESKTOP").endsWith("= 2"); }))
        << rootProperty("_NET_CURRENT_DESKTOP").toStdString();
    chord(xRightCtrl, x1);
    EXPECT_TRUE(waitFor([&] { return rootProperty("_NET_CURRENT_DESKTOP").endsWith("= 0"); }))
        << rootProperty("_NET_CURRENT_DESKTOP").toStdString();
}

TEST_F(JumpDesktop, RightAltAndATitleInitialRaisesThatWindow)
{
    QUILLON_REQUIRE_DESKTOP();
    TestWindows kiwi({"--class", "kiwi,Kiwi", "--title", "Apple", "--title", "Banana"});
    ASSERT_EQ(kiwi.ids.size(), 2u);
    ASSERT_TRUE(startQuillon()) << log();
    activate(kiwi.ids[0]);
    chord(xRightAlt, xB);
    EXPECT_TRUE(waitFor([&] { return activeWindow() == kiwi.ids[1]; })) << log();
}

} // namespace
