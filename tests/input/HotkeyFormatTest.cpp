#include "input/HotkeyFormat.h"

#include <gtest/gtest.h>

using quillon::HotkeyFormat;

namespace {

TEST(HotkeyFormat, ParsesAndCompactsChordLabels)
{
    struct Row {
        QString label;
        bool rightSide;
        QStringList keys;
        QString compact;
    };
    const Row rows[] = {
        {"r⌘ r⌥ A", true, {"⌘", "⌥", "A"}, "r ⌘⌥A"},
        {"⌃⌥ Space", false, {"⌃", "⌥", "Space"}, "⌃⌥ Space"},
        {"⌃⌥←", false, {"⌃", "⌥", "←"}, "⌃⌥←"},
        {"⌃⌥⌘ →", false, {"⌃", "⌥", "⌘", "→"}, "⌃⌥⌘→"},
        {"r⌘ ;", true, {"⌘", ";"}, "r ⌘;"},
        {"⇧ Return ⌘", false, {"⇧", "Return", "⌘"}, "⇧ Return ⌘"},
        {"", false, {}, ""},
        {"   ", false, {}, ""},
        {"r", false, {"r"}, "r"},
        {"rX", false, {"rX"}, "rX"},
        {"r⌥", true, {"⌥"}, "r ⌥"},
        {"F12", false, {"F", "1", "2"}, "F12"},
        {"⌘ F12", false, {"⌘", "F", "1", "2"}, "⌘F12"},
        {"  ⌘   K  ", false, {"⌘", "K"}, "⌘K"},
    };
    for (const Row& row : rows) {
        const auto parsed = HotkeyFormat::parse(row.label);
        EXPECT_EQ(parsed.rightSide, row.rightSide) << row.label.toStdString();
        EXPECT_EQ(parsed.keys, row.keys) << row.label.toStdString();
        EXPECT_EQ(HotkeyFormat::compact(row.label), row.compact) << row.label.toStdString();
    }
}

} // namespace
