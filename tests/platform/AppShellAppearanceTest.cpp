#include "fakes/FakePlatform.h"
#include "platform/linux/QtAppShell.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

using namespace quillon;
using platform::Appearance;

namespace {

TEST(QtAppShell, AppearanceSwitchesThePaletteBothWays)
{
    fakes::FakePlatform fake;
    platform::linux_::QtAppShell shell(
        platform::linux_::QtAppShell::Options{"app.quillon.test.Look", "", {}, [] {}});
    shell.setAppearance(Appearance::dark);
    EXPECT_EQ(shell.appearance(), Appearance::dark);
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 80);
    EXPECT_GT(QApplication::palette().color(QPalette::WindowText).lightness(), 180);
    shell.setAppearance(Appearance::light);
    EXPECT_EQ(shell.appearance(), Appearance::light);
    EXPECT_GT(QApplication::palette().color(QPalette::Window).lightness(), 180);
    EXPECT_LT(QApplication::palette().color(QPalette::WindowText).lightness(), 80);
}

} // namespace
