#include "features/breaks/BreakBackdrop.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace quillon {

namespace {

// One box pass along a line of `count` pixels `stride` apart.
void blurLine(QRgb* line, int count, int stride, int radius, std::vector<QRgb>& scratch)
{
    scratch.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        scratch[size_t(i)] = line[i * stride];
    int r = 0, g = 0, b = 0;
    const auto at = [&](int i) { return scratch[size_t(std::clamp(i, 0, count - 1))]; };
    for (int i = -radius; i <= radius; ++i) {
        const QRgb p = at(i);
        r += qRed(p);
        g += qGreen(p);
        b += qBlue(p);
    }
    const int width = 2 * radius + 1;
    for (int i = 0; i < count; ++i) {
        line[i * stride] = qRgb(r / width, g / width, b / width);
        const QRgb out = at(i - radius);
        const QRgb in = at(i + radius + 1);
        r += qRed(in) - qRed(out);
        g += qGreen(in) - qGreen(out);
        b += qBlue(in) - qBlue(out);
    }
}

} // namespace

void BreakBackdrop::boxBlur(QImage& image, int radius, int passes)
{
    if (image.isNull() || radius < 1)
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int stride = int(image.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    std::vector<QRgb> scratch;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y)
            blurLine(bits + y * stride, w, 1, radius, scratch);
        for (int x = 0; x < w; ++x)
            blurLine(bits + x, h, stride, radius, scratch);
    }
}

QImage BreakBackdrop::make(const QImage& capture, const QSize& pixelSize)
{
    if (capture.isNull() || capture.size() != pixelSize || pixelSize.isEmpty())
        return QImage();
    const QSize small(std::max(1, pixelSize.width() / reduction),
                      std::max(1, pixelSize.height() / reduction));
    QImage image = capture.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    boxBlur(image, 3, 3);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor::fromRgbF(0.02f, 0.02f, 0.03f, float(darkness)));
    painter.end();
    return image;
}

} // namespace quillon
