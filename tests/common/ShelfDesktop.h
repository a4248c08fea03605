#pragma once

// A running quillon with the shelf on, and what a desktop test reads of the
// shelf: its panels at the top centre and the items stored on disk. Include
// only from tests/desktop.

#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "shelf/ShelfStore.h"

#include <QByteArray>
#include <QDir>
#include <QPoint>
#include <QRect>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace quillon::testing {

inline const QByteArray shelfOn = R"({"diagnostics.logging": {"type": "bool", "value": true},
                                      "shelf.isEnabled": {"type": "bool", "value": true}})";

class ShelfDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        platform::linux_::XcbReply<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(
            typist.x().get(), xcb_get_geometry(typist.x().get(), typist.x().root()), nullptr));
        ASSERT_TRUE(root);
        centre = root->width / 2;
    }
    QString shelfFolder() const { return home.path() + "/data/Quillon/Shelf"; }
    /// Item folders holding at least one file.
    int itemCount() const
    {
        int n = 0;
        for (const QString& name : QDir(shelfFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (ShelfStore::idOfFolderName(name) &&
                !QDir(shelfFolder() + "/" + name).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty())
                ++n;
        }
        return n;
    }
    /// An override-redirect window at the top centre whose height lies in
    /// [minHeight, maxHeight].
    std::optional<QRect> topWindow(int minHeight, int maxHeight)
    {
        for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
            const QRect& g = w.geometry;
            if (g.top() == 0 && g.left() < centre && g.right() > centre && g.height() >= minHeight &&
                g.height() <= maxHeight)
                return g;
        }
        return std::nullopt;
    }
    // The cue hangs 22 points below the notch, the open shelf 96.
    std::optional<QRect> cue() { return topWindow(30, 70); }
    std::optional<QRect> shelf() { return topWindow(100, 200); }
    void startQuillon(const QByteArray& settings = shelfOn)
    {
        quillon.emplace(home, settings);
        ASSERT_TRUE(quillon->start());
        ASSERT_TRUE(waitFor([&] { return quillon->log().contains("Feature Shelf: ON"); }))
            << quillon->log().toStdString();
    }
    /// Moves the pointer from `at` to `to` in steps, as a hand would.
    void glide(QPoint& at, const QPoint& to, int steps = 12)
    {
        const QPoint from = at;
        for (int i = 1; i <= steps; ++i) {
            at = from + (to - from) * i / steps;
            typist.moveTo(at.x(), at.y());
            waitFor([] { return false; }, 30);
        }
    }

    Typist typist;
    int centre = 0;
    QTemporaryDir home;
    std::optional<QuillonRun> quillon;
};

} // namespace quillon::testing
