#include "shelf/ShelfConvert.h"

#include "platform/Platform.h"
#include "shelf/ContentTypes.h"
#include "shelf/HeifImage.h"
#include "shelf/PdfPages.h"
#include "shelf/ZipArchive.h"
#include "support/CrashReporter.h"
#include "support/Log.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QUuid>

#include <sys/stat.h>

#include <cmath>

namespace quillon {

namespace {

using Format = ShelfConvert::Format;
using Kind = ContentTypes::Kind;

/// A new folder of its own for one output; none when it cannot be made.
std::optional<QString> scratchDir(const QString& tempDir)
{
    QDir().mkpath(tempDir);
    const QString path =
        tempDir + QStringLiteral("/QuillonConvert-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        return std::nullopt;
    return path;
}

/// The input's name without its last extension.
QString baseName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

bool isHeif(const QString& path)
{
    const auto type = ContentTypes::ofContent(path);
    return type && ContentTypes::conforms(*type, Kind::Heif);
}

/// The image with its orientation applied to the pixels; null when it does
/// not decode (Qt's allocation limit and libheif's bound what it may take).
QImage readImage(const QString& path)
{
    if (isHeif(path))
        return HeifImage::read(path);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

/// The pixels alone: none of the text keys (PNG text chunks, JPEG comments,
/// XMP) Qt carries from a reader to a writer.
QImage pixelsOnly(const QImage& image)
{
    const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QImage converted = image.convertToFormat(format);
    QImage bare(converted.constBits(), converted.width(), converted.height(), converted.bytesPerLine(),
                format);
    QImage copy = bare.copy();
    copy.setColorSpace(image.colorSpace());
    return copy;
}

bool writeImage(const QImage& image, const QString& path, const QByteArray& qtFormat)
{
    if (qtFormat == "heic")
        return HeifImage::write(image, path, ShelfConvert::quality);
    QImageWriter writer(path, qtFormat);
    // PNG reads "quality" as compression, where 90 would mean almost none.
    if (qtFormat == "jpeg")
        writer.setQuality(ShelfConvert::quality);
    if (writer.write(image))
        return true;
    QFile::remove(path);
    return false;
}

std::optional<QString> reencode(const QString& input, const QByteArray& qtFormat, const QString& ext,
                                const QString& tempDir)
{
    const QImage image = readImage(input);
    if (image.isNull())
        return std::nullopt;
    const auto folder = scratchDir(tempDir);
    if (!folder)
        return std::nullopt;
    const QString output = *folder + QLatin1Char('/') + baseName(input) + QLatin1Char('.') + ext;
    if (!writeImage(image, output, qtFormat))
        return std::nullopt;
    return output;
}

/// The writer for a clean copy of a file of this type; empty when Qt or
/// libheif cannot write it.
QByteArray cleanFormat(const QString& input)
{
    if (isHeif(input))
        return "heic";
    const QByteArray format = QImageReader::imageFormat(input);
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return {};
    return format;
}

std::optional<QString> stripMetadata(const QString& input, const QString& tempDir, platform::XAttr& xattr)
{
    const auto type = ContentTypes::ofContent(input);
    if (!type || !ContentTypes::conforms(*type, Kind::Image))
        return std::nullopt;
    const QByteArray format = cleanFormat(input);
    if (format.isEmpty())
        return std::nullopt;
    const QImage image = readImage(input);
    if (image.isNull())
        return std::nullopt;
    const auto folder = scratchDir(tempDir);
    if (!folder)
        return std::nullopt;
    // A file without an extension ("scan") still gets one the type shows.
    const QString name = QFileInfo(input).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 ? name.mid(dot + 1) : QStringLiteral("img");
    const QString output = *folder + QLatin1Char('/') + baseName(input) + QLatin1Char('.') + suffix;
    if (!writeImage(pixelsOnly(image), output, format))
        return std::nullopt;
    for (const QString& attribute : xattr.names(output)) {
        if (ShelfConvert::isDownloadMark(attribute))
            xattr.remove(output, attribute);
    }
    return output;
}

/// One page of the image's own size, one point per pixel.
std::optional<QByteArray> imagePage(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quillon"));
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(image.width(), image.height()), QPageSize::Point, QString(),
                                     QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        painter.drawImage(QRectF(0, 0, image.width(), image.height()), image);
        if (!painter.end())
            return std::nullopt;
    }
    return bytes;
}

std::optional<QString> makePdf(const QStringList& inputs, const QString& tempDir)
{
    std::vector<PdfPages::Source> sources;
    for (const QString& input : inputs) {
        const auto type = ContentTypes::ofContent(input);
        if (!type)
            continue;
        if (ContentTypes::conforms(*type, Kind::Pdf)) {
            sources.push_back({QFile::encodeName(input).toStdString(), {}});
        } else if (ContentTypes::conforms(*type, Kind::Image)) {
            const QImage image = readImage(input);
            const auto page = image.isNull() ? std::nullopt : imagePage(image);
            if (page)
                sources.push_back({input.toStdString(), page->toStdString()});
        }
    }
    if (sources.empty())
        return std::nullopt;
    const auto folder = scratchDir(tempDir);
    if (!folder)
        return std::nullopt;
    const QString name = inputs.size() == 1 ? baseName(inputs.first()) : QStringLiteral("Combined");
    const QString output = *folder + QLatin1Char('/') + name + QStringLiteral(".pdf");
    std::string error;
    if (PdfPages::join(sources, QFile::encodeName(output).toStdString(), error) == 0) {
        Log::debug(
            [&] { return QStringLiteral("ShelfConvert: pdf failed: ") + QString::fromStdString(error); });
        return std::nullopt;
    }
    return output;
}

std::optional<QString> makeZip(const QStringList& inputs, const QString& tempDir)
{
    const auto folder = scratchDir(tempDir);
    if (!folder)
        return std::nullopt;
    const QString output = *folder + QStringLiteral("/Archive.zip");
    QString error;
    if (!ZipArchive::create(output, inputs, error)) {
        Log::debug([&] { return QStringLiteral("ShelfConvert: zip failed: ") + error; });
        return std::nullopt;
    }
    return output;
}

bool allConform(const QList<std::optional<QString>>& types, Kind kind)
{
    return std::all_of(types.begin(), types.end(),
                       [&](const auto& type) { return ContentTypes::conforms(*type, kind); });
}

} // namespace

QString ShelfConvert::rawValue(Format format)
{
    switch (format) {
    case Format::Jpg:
        return QStringLiteral("JPG");
    case Format::Png:
        return QStringLiteral("PNG");
    case Format::Heic:
        return QStringLiteral("HEIC");
    case Format::Tiff:
        return QStringLiteral("TIFF");
    case Format::Pdf:
        return QStringLiteral("PDF");
    case Format::Strip:
        return QStringLiteral("Clean");
    case Format::Zip:
        return QStringLiteral("ZIP");
    }
    return {};
}

std::optional<ShelfConvert::Format> ShelfConvert::fromRaw(const QString& raw)
{
    for (Format format : allFormats) {
        if (rawValue(format) == raw)
            return format;
    }
    return std::nullopt;
}

QList<ShelfConvert::Format> ShelfConvert::options(const QList<std::optional<QString>>& types)
{
    const qsizetype n = types.size();
    QList<Format> offered;
    const bool allKnown =
        n > 0 && std::all_of(types.begin(), types.end(), [](const auto& type) { return type.has_value(); });
    if (allKnown && allConform(types, Kind::Image)) {
        if (!allConform(types, Kind::Jpeg))
            offered.append(Format::Jpg);
        if (!allConform(types, Kind::Png))
            offered.append(Format::Png);
        if (!allConform(types, Kind::Heif))
            offered.append(Format::Heic);
        if (!allConform(types, Kind::Tiff))
            offered.append(Format::Tiff);
        offered.append(Format::Pdf);
        offered.append(Format::Strip);
    } else if (allKnown && allConform(types, Kind::Pdf)) {
        if (n >= 2)
            offered.append(Format::Pdf);
    }
    if (n >= 2)
        offered.append(Format::Zip);
    return offered;
}

QList<ShelfConvert::Format> ShelfConvert::options(const QList<QUrl>& urls)
{
    QList<std::optional<QString>> types;
    for (const QUrl& url : urls)
        types.append(ContentTypes::ofExtension(QFileInfo(url.path()).suffix()));
    return options(types);
}

QList<QRectF> ShelfConvert::buttonFrames(int count, const QRectF& rect)
{
    if (count < 1)
        return {};
    const int rows = std::clamp(int(std::floor((rect.height() - 16 + 5) / 27)), 1, count);
    const int columns = (count + rows - 1) / rows;
    const double width = (rect.width() - 16 - 5.0 * (columns - 1)) / columns;
    const double topY = (22.0 * rows + 5.0 * (rows - 1)) / 2 + rect.center().y() - 22;
    QList<QRectF> frames;
    for (int i = 0; i < count; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        frames.append(QRectF(rect.left() + 8 + (width + 5) * column, topY - 27.0 * row, width, 22));
    }
    return frames;
}

bool ShelfConvert::isDownloadMark(const QString& attribute)
{
    return attribute == QLatin1String("user.xdg.origin.url") ||
           attribute == QLatin1String("user.xdg.referrer.url") ||
           attribute.contains(QLatin1String("quarantine"), Qt::CaseInsensitive);
}

QList<QUrl> ShelfConvert::convertNow(const QList<QUrl>& urls, Format format, const QString& tempDir,
                                     platform::XAttr& xattr)
{
    QStringList inputs;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            inputs.append(url.toLocalFile());
    }
    QList<QUrl> outputs;
    const auto keep = [&](const std::optional<QString>& output) {
        if (output)
            outputs.append(QUrl::fromLocalFile(*output));
    };
    switch (format) {
    case Format::Jpg:
    case Format::Png:
    case Format::Heic:
    case Format::Tiff: {
        const QByteArray qtFormat = format == Format::Jpg    ? "jpeg"
                                    : format == Format::Png  ? "png"
                                    : format == Format::Heic ? "heic"
                                                             : "tiff";
        const QString ext = rawValue(format).toLower();
        for (const QString& input : inputs)
            keep(reencode(input, qtFormat, ext, tempDir));
        break;
    }
    case Format::Strip:
        for (const QString& input : inputs)
            keep(stripMetadata(input, tempDir, xattr));
        break;
    case Format::Pdf:
        keep(makePdf(inputs, tempDir));
        break;
    case Format::Zip:
        keep(makeZip(inputs, tempDir));
        break;
    }
    return outputs;
}

void ShelfConvert::convert(const QList<QUrl>& urls, Format format,
                           std::function<void(QList<QUrl>)> completion)
{
    CrashReporter::breadcrumb(
        QStringLiteral("shelf: convert %1 to %2").arg(urls.size()).arg(rawValue(format)));
    auto& platform = platform::platform();
    // Read on this thread: the worker touches no platform state but these.
    const QString tempDir = platform.paths().tempDir();
    platform::XAttr& xattr = platform.xattr();
    platform.tasks().runWithResult<QList<QUrl>>(
        [urls, format, tempDir, &xattr] { return convertNow(urls, format, tempDir, xattr); },
        std::move(completion));
}

} // namespace quillon
