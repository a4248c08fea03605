#include "support/KeyNames.h"
#include "support/Words.h"

#include "common/QtPrint.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct Case {
    const char* in;
    const char* out;
};

TEST(KeyNames, KeyTextsReadAsLinuxKeys)
{
    const Case cases[] = {
        {"⌘V", "Ctrl+V"},
        {"hold ⌘V", "hold Ctrl+V"},
        {"⌃⌥⇧C", "Super+Alt+Shift+C"},
        {"⌃⌥⌘→", "Super+Alt+Ctrl+→"},
        {"⌃⌥", "Super+Alt"},
        {"r⌘", "Right Ctrl"},
        {"r⌘ :", "Right Ctrl :"},
        {"r⌘ r⌥ C", "Right Ctrl Right Alt C"},
        {"r⌥ 3", "Right Alt 3"},
        {"Quit", "Quit"},
        {"restart", "restart"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyNames::label(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(KeyNames, BracketsAndQuotesAroundAKeyTextStayOutOfIt)
{
    const Case cases[] = {
        {"“r⌘”", "“Right Ctrl”"},
        {"(r⌥)", "(Right Alt)"},
        {"written “r⌘” and “r⌥” here", "written “Right Ctrl” and “Right Alt” here"},
        {"[⌘V]", "[Ctrl+V]"},
        {"(⌃⌥)", "(Super+Alt)"},
        {"⌘C", "Ctrl+C"},
        {"r⌘ C", "Right Ctrl C"},
        {"⌘,", "Ctrl+,"},
        {"⌘; is left alone", "Ctrl+; is left alone"},
        {"(r)", "(r)"},
        {"for(r⌘", "for(Right Ctrl"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyNames::label(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(KeyNames, SingleModifiers)
{
    const Case cases[] = {{"⌘", "Ctrl"},        {"⌥", "Alt"},        {"⌃", "Super"}, {"⇧", "Shift"},
                          {"r⌘", "Right Ctrl"}, {"r⌥", "Right Alt"}, {"A", "A"}};
    for (const auto& c : cases)
        EXPECT_EQ(KeyNames::modifier(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(Words, MacWordsBecomeLinuxWords)
{
    const Case cases[] = {
        {"Keep the Mac awake — indefinitely or for a set time.",
         "Keep the computer awake — indefinitely or for a set time."},
        {"Switch desktops (Spaces) instantly — no sliding animation.",
         "Switch desktops (workspaces) instantly — no sliding animation."},
        {"Hold the ⌘ right of the space bar, tap a letter, land in that app.",
         "Hold the ⌘ right of the space bar, tap a letter, land in that app."},
        {"Space 3", "Workspace 3"},
        {"Moved to Space 3. Space 4 is next.", "Moved to workspace 3. Workspace 4 is next."},
        {"Reveal in Finder", "Reveal in File Manager"},
        {"Show it in the Finder", "Show it in the file manager"},
        {"The Finder is busy.", "The file manager is busy."},
        {"Requires macOS 13", "Requires Linux 13"},
        {"Open in Quick Look", "Open in Preview"},
        {"AirDrop", "Send to Device"},
        {"hidden from the Dock and Mission Control", "hidden from the panel and the workspace overview"},
        {"the Mac's battery", "the computer's battery"},
        {"iMac and Macintosh and MacBook", "iMac and Macintosh and MacBook"},
        {"SkyLight Spaces API unavailable; falling back",
         "Window manager does not report workspaces; falling back"},
        {"needs Accessibility", "needs Accessibility"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Words::adapt(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

} // namespace
