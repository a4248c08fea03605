#pragma once

// What the settings panes' desktop tests share. Include only from
// tests/desktop, whose targets define QUILLON_BINARY.

#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/QtPasteboard.h"
#include "ui/PaneForm.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace quillon::testing {

/// The fake platform over the Linux defaults store in a folder of its own.
class StorePlatform final : public fakes::ForwardingPlatform {
public:
    StorePlatform()
        : store(folder.path(), fake.buildInfo().appId)
    {
    }
    platform::UserDefaults& userDefaults() override { return store; }
    /// The desktop's own clipboard, which other clients own.
    platform::Pasteboard& pasteboard() override { return board; }
    /// The stored value of `key` in the standard domain's file, as JSON.
    QJsonValue stored(const QString& key) const
    {
        QFile file(folder.path() + "/" + fake.build.appId + ".json");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object().value(key);
    }
    /// Waits patiently for `condition`, running the fake main queue's work
    /// (the settings model's redraws) meanwhile.
    bool until(const std::function<bool()>& condition)
    {
        return waitFor(
            [&] {
                fake.queue.drain();
                return condition();
            },
            patientMs);
    }

    QTemporaryDir folder;
    platform::linux_::JsonUserDefaults store;
    platform::linux_::QtPasteboard board;
};

/// A click of the first button by XTest on `widget` (at its centre unless
/// told), scrolled into view first when it sits in a pane's form.
inline void clickWidget(Typist& typist, QWidget* widget, QPoint at = {})
{
    if (auto* form = widget->window()->findChild<PaneForm*>())
        form->ensureWidgetVisible(widget, 10, 10);
    waitFor([] { return false; }, 200);
    const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
    typist.moveTo(global.x(), global.y());
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    typist.button(1, false);
}

/// Runs `quillon --settings-png` for `panes` and checks each picture: a PNG
/// with text right of the sidebar (for panes tall enough, `inBothHalves`:
/// sections, not a header alone), and no two panes alike.
inline void expectDistinctSnapshots(const QStringList& panes, bool inBothHalves = true)
{
    QTemporaryDir home;
    QuillonRun quillon(home, false);
    const QString out = home.path() + "/png";
    ASSERT_TRUE(quillon.start({"--settings-png", out, panes.join(',')}));
    ASSERT_TRUE(quillon.process.waitForFinished(60000));
    ASSERT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
    QSet<QByteArray> hashes;
    for (const QString& name : panes) {
        SCOPED_TRACE(name.toStdString());
        QFile file(out + "/" + name + ".png");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QImage image = QImage::fromData(file.readAll(), "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        // The pane alone, without the sidebar, whose selected row differs anyway.
        const int left = image.width() / 4 + 2;
        const QImage pane = image.copy(left, 0, image.width() - left, image.height());
        hashes.insert(QCryptographicHash::hash(
            QByteArrayView(pane.constBits(), pane.sizeInBytes()), QCryptographicHash::Sha1));
        const auto inkedRows = [&image](int top, int bottom) {
            int inked = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = image.width() / 4 + 20; x < image.width() - 20; ++x) {
                    if (qGray(image.pixel(x, y)) < 110) {
                        ++inked;
                        break;
                    }
                }
            }
            return inked;
        };
        if (!inBothHalves) {
            EXPECT_GT(inkedRows(0, image.height()), image.height() / 10);
            continue;
        }
        for (int half = 0; half < 2; ++half)
            EXPECT_GT(inkedRows(half * image.height() / 2, (half + 1) * image.height() / 2), image.height() / 20)
                << "half " << half;
    }
    EXPECT_EQ(hashes.size(), panes.size());
}

} // namespace quillon::testing
