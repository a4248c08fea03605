#include "ui/OnboardingSample.h"
#include "fakes/FakePlatform.h"
#include "support/AppFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(Onboarding, SampleIsDrawnOnceAndAgainWhenDeleted)
{
    fakes::FakePlatform fake;
    const auto first = OnboardingSample::imageURL();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->endsWith("/Onboarding/Quillon Sample.png"));
    EXPECT_TRUE(first->startsWith(AppFiles::root()));
    const QImage image(*first);
    ASSERT_EQ(image.size(), QSize(640, 400));
    // Blue-violet at the top left, rose at the bottom right, white text in the middle.
    const QColor topLeft = image.pixelColor(2, 2);
    const QColor bottomRight = image.pixelColor(637, 397);
    EXPECT_GT(topLeft.blue(), topLeft.red());
    EXPECT_GT(bottomRight.red(), bottomRight.blue());
    int white = 0;
    for (int x = 200; x < 440; ++x)
        white += image.pixelColor(x, 200).lightness() > 220;
    EXPECT_GT(white, 10) << "the title";

    // A second call keeps the file as it is.
    QFile marker(*first);
    ASSERT_TRUE(marker.open(QIODevice::Append));
    marker.write("x");
    marker.close();
    const qint64 marked = QFileInfo(*first).size();
    EXPECT_EQ(OnboardingSample::imageURL(), first);
    EXPECT_EQ(QFileInfo(*first).size(), marked) << "drawn again";

    QFile::remove(*first);
    EXPECT_EQ(OnboardingSample::imageURL(), first);
    EXPECT_EQ(QImage(*first).size(), QSize(640, 400));
}

TEST(Onboarding, UnwritableFolderGivesNoSample)
{
    fakes::FakePlatform fake;
    // A file where the folder should be stops even root.
    QDir().mkpath(AppFiles::root());
    QFile blocker(AppFiles::root() + "/Onboarding");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(OnboardingSample::imageURL(), std::nullopt);
}

} // namespace
} // namespace quillon
