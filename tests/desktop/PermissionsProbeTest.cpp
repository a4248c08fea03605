#include "common/Desktop.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/X11Permissions.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace quillon;
using platform::linux_::X11Permissions;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

const QStringList kXvfbOptions = {
    "-screen", "0", "640x480x24", "-nolisten", "tcp", "+extension", "XInputExtension", "+extension", "XTEST"};

class PermissionsProbeTest : public ::testing::Test {
protected:
    void SetUp() override { QUILLON_REQUIRE_DESKTOP(); }
    fakes::FakePlatform fake;
};

TEST_F(PermissionsProbeTest, TheVirtualDesktopIsTrusted)
{
    X11Permissions permissions;
    EXPECT_TRUE(permissions.accessibilityTrusted());
    EXPECT_TRUE(permissions.requestAccessibility());
    EXPECT_TRUE(permissions.screenCaptureAllowed());
}

TEST_F(PermissionsProbeTest, WaylandSessionIsNeverTrustedAndSaysWhy)
{
    ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    X11Permissions permissions;
    EXPECT_FALSE(permissions.accessibilityTrusted());
    EXPECT_FALSE(permissions.screenCaptureAllowed());
    EXPECT_TRUE(fake.log.contains("Accessibility unavailable: Wayland session"));
}

// Trust follows the X server: its loss and its return are each announced once.
TEST_F(PermissionsProbeTest, LostAndRegainedXServerChangesTrust)
{
    QProcess xvfb;
    xvfb.start("Xvfb", QStringList{"-displayfd", "1"} + kXvfbOptions);
    ASSERT_TRUE(xvfb.waitForStarted(5000));
    QByteArray number;
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] {
            number += xvfb.readAllStandardOutput();
            return number.endsWith('\n');
        },
        15000));
    number = number.trimmed();
    ScopedEnv display("DISPLAY", ":" + number);

    X11Permissions permissions(0.1);
    ASSERT_TRUE(permissions.accessibilityTrusted());
    int notices = 0;
    permissions.addTrustChangeHandler([&] { ++notices; });

    xvfb.terminate();
    ASSERT_TRUE(xvfb.waitForFinished(10000));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return notices == 1; }));
    EXPECT_FALSE(permissions.accessibilityTrusted());

    QProcess again;
    again.start("Xvfb", QStringList{":" + QString::fromLatin1(number)} + kXvfbOptions);
    ASSERT_TRUE(again.waitForStarted(5000));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return notices == 2; }, 15000));
    EXPECT_TRUE(permissions.accessibilityTrusted());
    again.terminate();
    again.waitForFinished(10000);
}

} // namespace
