#pragma once

// A running quillon with the line-edit program focused in front of it. Include
// only from tests/desktop.

#include "common/Desktop.h"
#include "common/LineEdit.h"
#include "common/QuillonRun.h"

#include <gtest/gtest.h>
#include <optional>

namespace quillon::testing {

/// Starts quillon with these settings, waits for `readyLine` in its log and
/// for its launch settings window, then opens the line edit, which takes the
/// focus.
inline ::testing::AssertionResult startOverLineEdit(const QTemporaryDir& home, const QByteArray& settings,
                                                    const QString& readyLine,
                                                    std::optional<QuillonRun>& quillon,
                                                    std::optional<LineEdit>& edit)
{
    quillon.emplace(home, settings);
    if (!quillon->start())
        return ::testing::AssertionFailure() << "quillon did not start";
    if (!waitFor([&] { return quillon->log().contains(readyLine); }, 10000))
        return ::testing::AssertionFailure() << quillon->log().toStdString();
    quillon->waitForSettingsWindow();
    edit.emplace();
    if (!waitFor([&] { return edit->ready; }, 10000))
        return ::testing::AssertionFailure() << "the line edit never said it was ready";
    waitFor([] { return false; }, 500); // the window manager's focus settles
    return ::testing::AssertionSuccess();
}

} // namespace quillon::testing
