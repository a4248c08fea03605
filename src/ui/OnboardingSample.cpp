#include "ui/OnboardingSample.h"

#include "support/AppFiles.h"
#include "support/AtomicFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

namespace quillon {

namespace {

QImage draw()
{
    const QSize size(640, 400);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // 305° measured y-up runs towards the bottom right; with y down that is
    // the direction (cos 305°, −sin 305°).
    const double angle = 305.0 * M_PI / 180.0;
    const QPointF direction(std::cos(angle), -std::sin(angle));
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const double reach =
        std::abs(direction.x()) * size.width() / 2 + std::abs(direction.y()) * size.height() / 2;
    QLinearGradient gradient(centre - direction * reach, centre + direction * reach);
    gradient.setColorAt(0, QColor::fromRgbF(0.357f, 0.357f, 0.839f));
    gradient.setColorAt(1, QColor::fromRgbF(0.667f, 0.42f, 0.44f));
    painter.fillRect(image.rect(), gradient);

    QFont font = painter.font();
    font.setPixelSize(54);
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    painter.setPen(QColor::fromRgbF(1, 1, 1, 0.92f));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Quillon"));
    return image;
}

} // namespace

QString OnboardingSample::path()
{
    return AppFiles::root() + QStringLiteral("/Onboarding/Quillon Sample.png");
}

std::optional<QString> OnboardingSample::imageURL()
{
    const QString file = path();
    if (QFileInfo(file).isFile())
        return file;
    if (!QDir().mkpath(QFileInfo(file).path()))
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!draw().save(&buffer, "PNG") || !AtomicFile::write(file, png))
        return std::nullopt;
    return file;
}

} // namespace quillon
