#include "platform/linux/LinuxThumbnails.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using quillon::platform::LinuxThumbnails;

namespace {

TEST(CellsViewPreviews, ImagesAndPdfPagesCoverTheCardAndEverythingElseHasNone)
{
    QTemporaryDir dir;
    const QSize box(88, 108);

    QImage wide(800, 200, QImage::Format_RGB32);
    wide.fill(Qt::green);
    ASSERT_TRUE(wide.save(dir.filePath("wide.png")));
    const QImage fromPng = LinuxThumbnails::make(dir.filePath("wide.png"), box);
    ASSERT_FALSE(fromPng.isNull());
    EXPECT_EQ(fromPng.height(), 108); // aspect fill: the short side meets the box
    EXPECT_GE(fromPng.width(), 88);
    EXPECT_LT(fromPng.width(), 800);

    {
        QPdfWriter writer(dir.filePath("page.pdf"));
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, 2000, 2000), Qt::blue);
    }
    const QImage fromPdf = LinuxThumbnails::make(dir.filePath("page.pdf"), box);
    ASSERT_FALSE(fromPdf.isNull());
    EXPECT_GE(fromPdf.width(), 88 - 1);
    EXPECT_GE(fromPdf.height(), 108 - 1);

    QFile corrupt(dir.filePath("broken.jpg"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("\xff\xd8\xff\xe0 not really a jpeg");
    corrupt.close();
    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("hello\n");
    text.close();
    for (const char* name : {"broken.jpg", "notes.txt", "vanished.png", "broken.pdf", "broken.heic"})
        EXPECT_TRUE(LinuxThumbnails::make(dir.filePath(name), box).isNull()) << name;
}

} // namespace
