#include "shelf/ShelfConvert.h"

#include "fakes/ForwardingPlatform.h"
#include "platform/linux/LinuxXAttr.h"
#include "shelf/PdfPages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zip.h>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <map>

namespace quillon {
namespace {

using Format = ShelfConvert::Format;

QList<QString> rawValues(const QList<Format>& formats)
{
    QList<QString> raws;
    for (Format format : formats)
        raws.append(ShelfConvert::rawValue(format));
    return raws;
}

TEST(ShelfConvert, RawValuesRoundTripAndNothingElseParses)
{
    QStringList raws;
    for (Format format : ShelfConvert::allFormats) {
        raws.append(ShelfConvert::rawValue(format));
        EXPECT_EQ(ShelfConvert::fromRaw(ShelfConvert::rawValue(format)), format);
    }
    EXPECT_EQ(raws, (QStringList{"JPG", "PNG", "HEIC", "TIFF", "PDF", "Clean", "ZIP"}));
    for (const char* other : {"jpg", "Strip", "strip", "", "ZIP "})
        EXPECT_FALSE(ShelfConvert::fromRaw(QString::fromUtf8(other))) << other;
}

TEST(ShelfConvert, OptionsForContentTypes)
{
    const std::optional<QString> none;
    const std::optional<QString> png = QStringLiteral("image/png");
    const std::optional<QString> jpeg = QStringLiteral("image/jpeg");
    const std::optional<QString> heic = QStringLiteral("image/heic");
    const std::optional<QString> pdf = QStringLiteral("application/pdf");
    const std::optional<QString> text = QStringLiteral("text/plain");
    const struct {
        QList<std::optional<QString>> types;
        QStringList offered;
    } cases[] = {
        {{png}, {"JPG", "HEIC", "TIFF", "PDF", "Clean"}},
        {{jpeg, jpeg}, {"PNG", "HEIC", "TIFF", "PDF", "Clean", "ZIP"}},
        {{png, jpeg}, {"JPG", "PNG", "HEIC", "TIFF", "PDF", "Clean", "ZIP"}},
        {{heic}, {"JPG", "PNG", "TIFF", "PDF", "Clean"}},
        {{pdf}, {}},
        {{pdf, pdf}, {"PDF", "ZIP"}},
        {{pdf, png}, {"ZIP"}},
        {{png, none}, {"ZIP"}},
        {{none}, {}},
        {{text, text}, {"ZIP"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rawValues(ShelfConvert::options(c.types)), c.offered) << c.offered.join(',').toStdString();
}

TEST(ShelfConvert, OptionsForUrlsGoByLowerCasedExtension)
{
    const auto offered = [](const QStringList& paths) {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        return rawValues(ShelfConvert::options(urls));
    };
    EXPECT_EQ(offered({"/x/shot.PNG"}), (QStringList{"JPG", "HEIC", "TIFF", "PDF", "Clean"}));
    EXPECT_EQ(offered({"/x/a.jpg", "/x/b.JPEG"}),
              (QStringList{"PNG", "HEIC", "TIFF", "PDF", "Clean", "ZIP"}));
    EXPECT_EQ(offered({"/x/a.png", "/x/notes.qqzz"}), QStringList{"ZIP"});
    EXPECT_EQ(offered({"/x/scan"}), QStringList{});
}

TEST(ShelfConvert, ButtonFrames)
{
    const struct {
        int count;
        QRectF rect;
        QList<QRectF> frames;
    } cases[] = {
        // 92 high: three rows, so two columns (three, then two).
        {5,
         QRectF(0, 0, 200, 92),
         {QRectF(8, 62, 89.5, 22), QRectF(8, 35, 89.5, 22), QRectF(8, 8, 89.5, 22),
          QRectF(102.5, 62, 89.5, 22), QRectF(102.5, 35, 89.5, 22)}},
        // One point less: two rows in three columns.
        {5,
         QRectF(0, 0, 200, 91),
         {QRectF(8, 48, 58, 22), QRectF(8, 21, 58, 22), QRectF(71, 48, 58, 22), QRectF(71, 21, 58, 22),
          QRectF(134, 48, 58, 22)}},
        // Too low for a row still gets one; rows never outnumber buttons.
        {2, QRectF(10, 100, 100, 10), {QRectF(18, 94, 39.5, 22), QRectF(62.5, 94, 39.5, 22)}},
        {1, QRectF(0, 0, 100, 200), {QRectF(8, 89, 84, 22)}},
        {0, QRectF(0, 0, 200, 92), {}},
        {-1, QRectF(0, 0, 200, 92), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShelfConvert::buttonFrames(c.count, c.rect), c.frames)
            << c.count << " in " << c.rect.height();
}

TEST(ShelfConvert, DownloadMarks)
{
    for (const char* mark :
         {"user.xdg.origin.url", "user.xdg.referrer.url", "user.quarantine", "user.com.apple.quarantine"})
        EXPECT_TRUE(ShelfConvert::isDownloadMark(QString::fromUtf8(mark))) << mark;
    for (const char* kept :
         {"user.xdg.comment", "user.xdg.origin.url.extra", "security.selinux", "user.mime_type"})
        EXPECT_FALSE(ShelfConvert::isDownloadMark(QString::fromUtf8(kept))) << kept;
}

// ---- real conversions of small generated files ----

/// A JPEG marker segment: marker, big-endian length, payload.
QByteArray segment(char marker, const QByteArray& payload)
{
    QByteArray bytes("\xFF", 1);
    bytes.append(marker);
    const int length = int(payload.size()) + 2;
    bytes.append(char(length >> 8)).append(char(length & 0xFF));
    return bytes + payload;
}

/// Little-endian Exif: an orientation, and a GPS directory with a latitude
/// reference "N", as phones write.
QByteArray exif(int orientation)
{
    const auto u16 = [](int v) {
        QByteArray bytes;
        bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
        return bytes;
    };
    const auto u32 = [&](int v) { return u16(v & 0xFFFF) + u16((v >> 16) & 0xFFFF); };
    QByteArray tiff = "II" + u16(42) + u32(8);
    // IFD0 at 8: two entries (12 bytes each) + next offset → GPS IFD at 38.
    tiff += u16(2);
    tiff += u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0);
    tiff += u16(0x8825) + u16(4) + u32(1) + u32(38);
    tiff += u32(0);
    tiff += u16(1);
    tiff += u16(0x0001) + u16(2) + u32(2) + QByteArray("N\0\0\0", 4);
    tiff += u32(0);
    return QByteArray("Exif\0\0", 6) + tiff;
}

/// Left half red, right half blue.
QImage halves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

/// A JPEG of `image` carrying Exif (orientation and GPS) and a comment.
QByteArray jpegWithExif(const QImage& image, int orientation)
{
    const QByteArray plain = encode(image, "jpeg");
    return plain.left(2) + segment('\xE1', exif(orientation)) + segment('\xFE', "shot at the lake") +
           plain.mid(2);
}

bool isRed(QRgb c)
{
    return qRed(c) > 180 && qBlue(c) < 90;
}
bool isBlue(QRgb c)
{
    return qBlue(c) > 180 && qRed(c) < 90;
}

class ShelfConvertFiles : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& content)
    {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return path;
    }
    /// Converts through the background tasks; the outputs as the main queue gets them.
    QStringList convert(const QStringList& paths, Format format)
    {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        std::optional<QList<QUrl>> result;
        ShelfConvert::convert(urls, format, [&](QList<QUrl> outputs) { result = outputs; });
        platform.fake.queue.drain();
        EXPECT_TRUE(result.has_value());
        QStringList outputs;
        for (const QUrl& url : result.value_or(QList<QUrl>{}))
            outputs.append(url.toLocalFile());
        return outputs;
    }
    static QByteArray read(const QString& path)
    {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    /// The image exactly as stored, with no orientation applied.
    static QImage storedPixels(const QString& path,
                               QImageIOHandler::Transformations* transformation = nullptr)
    {
        QImageReader reader(path);
        reader.setAutoTransform(false);
        if (transformation)
            *transformation = reader.transformation();
        return reader.read();
    }

    QTemporaryDir dir;
    fakes::ForwardingPlatform platform;
};

TEST_F(ShelfConvertFiles, OrientationGoesIntoThePixelsAndNoTagIsWritten)
{
    // Orientation 6: the stored 2×1 picture shows turned a quarter clockwise.
    const QString source = file("photo.jpeg", jpegWithExif(halves(16, 8), 6));
    for (Format format : {Format::Jpg, Format::Png, Format::Tiff, Format::Strip}) {
        const QStringList outputs = convert({source}, format);
        ASSERT_EQ(outputs.size(), 1) << ShelfConvert::rawValue(format).toStdString();
        QImageIOHandler::Transformations transformation;
        const QImage stored = storedPixels(outputs.first(), &transformation);
        EXPECT_EQ(stored.size(), QSize(8, 16)) << outputs.first().toStdString();
        EXPECT_EQ(transformation, QImageIOHandler::TransformationNone) << outputs.first().toStdString();
        EXPECT_TRUE(isRed(stored.pixel(4, 2)) && isBlue(stored.pixel(4, 13)))
            << outputs.first().toStdString();
    }
    EXPECT_EQ(QFileInfo(convert({source}, Format::Jpg).first()).fileName(), "photo.jpg");
    EXPECT_EQ(QFileInfo(convert({source}, Format::Strip).first()).fileName(), "photo.jpeg");
}

TEST_F(ShelfConvertFiles, PngToHeicToJpgRoundTrip)
{
    const QString png = file("shot.png", encode(halves(32, 16), "png"));
    const QStringList heic = convert({png}, Format::Heic);
    ASSERT_EQ(heic.size(), 1);
    EXPECT_EQ(QFileInfo(heic.first()).fileName(), "shot.heic");
    EXPECT_EQ(read(heic.first()).mid(4, 8), "ftypheic");

    const QStringList jpg = convert(heic, Format::Jpg);
    ASSERT_EQ(jpg.size(), 1);
    EXPECT_EQ(QFileInfo(jpg.first()).fileName(), "shot.jpg");
    const QImage back = storedPixels(jpg.first());
    ASSERT_EQ(back.size(), QSize(32, 16));
    EXPECT_TRUE(isRed(back.pixel(4, 8)));
    EXPECT_TRUE(isBlue(back.pixel(28, 8)));
}

TEST_F(ShelfConvertFiles, EveryOutputInAFolderOfItsOwn)
{
    const QString a = file("a/same.png", encode(halves(4, 4), "png"));
    const QString b = file("b/same.png", encode(halves(4, 4), "png"));
    const QStringList outputs = convert({a, b}, Format::Jpg);
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_NE(QFileInfo(outputs[0]).path(), QFileInfo(outputs[1]).path());
    for (const QString& output : outputs) {
        const QFileInfo folder(QFileInfo(output).path());
        EXPECT_EQ(folder.path(), platform.paths().tempDir());
        EXPECT_TRUE(folder.fileName().startsWith("QuillonConvert-"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(folder.filePath()).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
}

QByteArray twoPagePdf()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    painter.drawText(100, 100, "one");
    writer.newPage();
    painter.drawText(100, 100, "two");
    painter.end();
    return bytes;
}

int pageCount(const QString& path)
{
    return int(PdfPages::sizes(QFile::encodeName(path).toStdString()).size());
}

TEST_F(ShelfConvertFiles, PdfCombinesPdfPagesAndImagesAndSkipsTheRest)
{
    const QString pdf = file("letter.pdf", twoPagePdf());
    const QString png = file("shot.png", encode(halves(300, 200), "png"));
    const QString text = file("notes.txt", "not a page");
    const QString broken = file("broken.pdf", twoPagePdf().left(200));
    const QStringList outputs = convert({pdf, text, png, broken}, Format::Pdf);
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(QFileInfo(outputs.first()).fileName(), "Combined.pdf");
    EXPECT_EQ(pageCount(outputs.first()), 3);

    // The image's page takes the image's size, one point per pixel.
    const auto sizes = PdfPages::sizes(QFile::encodeName(outputs.first()).toStdString());
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_NEAR(sizes[2].first, 300, 1);
    EXPECT_NEAR(sizes[2].second, 200, 1);

    const QStringList single = convert({png}, Format::Pdf);
    ASSERT_EQ(single.size(), 1);
    EXPECT_EQ(QFileInfo(single.first()).fileName(), "shot.pdf");
    EXPECT_EQ(pageCount(single.first()), 1);

    EXPECT_TRUE(convert({text, broken}, Format::Pdf).isEmpty());
}

TEST_F(ShelfConvertFiles, CleanCopiesHoldNoLocationOrTextKeys)
{
    QImage tagged = halves(16, 16);
    const QByteArray xmp = "<x:xmpmeta><exif:GPSLatitude>48,51.4N</exif:GPSLatitude></x:xmpmeta>";
    tagged.setText("XML:com.adobe.xmp", QString::fromUtf8(xmp));
    tagged.setText("Comment", "taken at home");
    const QString png = file("pin.png", encode(tagged, "png"));
    ASSERT_TRUE(QImage(png).text("XML:com.adobe.xmp").contains("GPSLatitude"));
    const QString jpeg = file("lake.jpg", jpegWithExif(halves(16, 16), 1));
    ASSERT_TRUE(read(jpeg).contains(QByteArray("Exif\0\0", 6)));

    platform.fake.xattrImpl.everyFile = {"user.xdg.origin.url", "user.xdg.referrer.url", "user.quarantine",
                                         "user.note"};
    const QStringList outputs = convert({png, jpeg}, Format::Strip);
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_EQ(QFileInfo(outputs[0]).fileName(), "pin.png");
    EXPECT_EQ(QFileInfo(outputs[1]).fileName(), "lake.jpg");
    const QByteArray cleanPng = read(outputs[0]);
    EXPECT_EQ(QImageReader(outputs[0]).format(), "png");
    EXPECT_TRUE(QImage(outputs[0]).textKeys().isEmpty());
    for (const char* trace : {"GPSLatitude", "xmp", "taken at home", "tEXt", "iTXt", "zTXt"})
        EXPECT_FALSE(cleanPng.contains(trace)) << trace;
    const QByteArray cleanJpeg = read(outputs[1]);
    EXPECT_EQ(QImageReader(outputs[1]).format(), "jpeg");
    EXPECT_FALSE(cleanJpeg.contains(QByteArray("Exif\0\0", 6)));
    EXPECT_FALSE(cleanJpeg.contains("lake"));
    EXPECT_FALSE(cleanJpeg.contains(QByteArray("\xFF\xFE", 2)));
    EXPECT_EQ(storedPixels(outputs[1]).size(), QSize(16, 16));

    std::map<QString, QStringList> removed;
    for (const auto& [path, name] : platform.fake.xattrImpl.removed)
        removed[path].append(name);
    for (const QString& output : outputs) {
        EXPECT_EQ(removed[output],
                  (QStringList{"user.xdg.origin.url", "user.xdg.referrer.url", "user.quarantine"}))
            << output.toStdString();
    }
}

TEST_F(ShelfConvertFiles, CleanTellsTheTypeByContent)
{
    const QString scan = file("scan", encode(halves(8, 8), "png"));
    const QString text = file("readme.txt", "plain words");
    const QString lying = file("notes.png", "plain words");
    const QStringList outputs = convert({scan, text, lying}, Format::Strip);
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(QFileInfo(outputs.first()).fileName(), "scan.img");
    EXPECT_EQ(QImageReader(outputs.first()).format(), "png");
}

TEST_F(ShelfConvertFiles, BadImagesGiveNoOutput)
{
    const QByteArray png = encode(halves(64, 64), "png");
    // A PNG header claiming 60000×60000 pixels (its checksum no longer fits).
    QByteArray huge = png;
    huge.replace(16, 8, QByteArray("\x00\x00\xEA\x60\x00\x00\xEA\x60", 8));
    const QStringList bad = {
        file("truncated.png", png.left(png.size() / 2)),
        file("huge.png", huge),
        file("garbage.heic", QByteArray("\0\0\0\x18"
                                        "ftypheic\0\0\0\0mif1heic",
                                        24) +
                                 QByteArray(64, '\x7f')),
        file("empty.jpg", QByteArray()),
    };
    for (Format format : {Format::Jpg, Format::Heic, Format::Strip, Format::Pdf})
        EXPECT_TRUE(convert(bad, format).isEmpty()) << ShelfConvert::rawValue(format).toStdString();
}

struct ZipEntry {
    QByteArray content;
    mode_t mode = 0;
};

std::map<QString, ZipEntry> zipEntries(const QString& path)
{
    std::map<QString, ZipEntry> entries;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        ZipEntry entry;
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive, zip_uint64_t(i), 0, &system, &attributes);
        entry.mode = mode_t(attributes >> 16);
        entry.content.resize(qsizetype(stat.size));
        if (zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0)) {
            zip_fread(file, entry.content.data(), stat.size);
            zip_fclose(file);
        }
        entries[QString::fromUtf8(stat.name)] = entry;
    }
    zip_close(archive);
    return entries;
}

TEST_F(ShelfConvertFiles, ZipKeepsEveryInputAndStoresLinksAsLinks)
{
    const QString first = file("one/photo.png", "first");
    const QString second = file("two/photo.png", "second");
    file("album/inner/a.txt", "inside");
    file("secret.txt", "outside the folder");
    ASSERT_TRUE(QFile::link("inner/a.txt", dir.path() + "/album/near"));
    ASSERT_TRUE(QFile::link("../secret.txt", dir.path() + "/album/out"));

    const QStringList outputs = convert({first, second, dir.path() + "/album"}, Format::Zip);
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(QFileInfo(outputs.first()).fileName(), "Archive.zip");
    EXPECT_TRUE(read(outputs.first()).startsWith("PK\x03\x04"));
    const auto entries = zipEntries(outputs.first());
    QStringList names;
    for (const auto& entry : entries)
        names.append(entry.first);
    EXPECT_EQ(names, (QStringList{"album/", "album/inner/", "album/inner/a.txt", "album/near", "album/out",
                                  "photo 2.png", "photo.png"}));
    EXPECT_EQ(entries.at("photo.png").content, "first");
    EXPECT_EQ(entries.at("photo 2.png").content, "second");
    EXPECT_EQ(entries.at("album/inner/a.txt").content, "inside");
    EXPECT_TRUE(S_ISLNK(entries.at("album/out").mode));
    EXPECT_EQ(entries.at("album/out").content, "../secret.txt");
    EXPECT_TRUE(S_ISLNK(entries.at("album/near").mode));
    EXPECT_TRUE(S_ISDIR(entries.at("album/").mode));
    EXPECT_TRUE(S_ISREG(entries.at("photo.png").mode));

    EXPECT_TRUE(convert({dir.path() + "/nothing-here"}, Format::Zip).isEmpty());
}

TEST(ShelfConvertXAttr, LinuxRemovesOnlyWhatItIsAsked)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/download.png";
    QFile(path).open(QIODevice::WriteOnly);
    const QByteArray native = QFile::encodeName(path);
    if (::setxattr(native.constData(), "user.xdg.origin.url", "https://x", 9, 0) != 0)
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    ::setxattr(native.constData(), "user.note", "kept", 4, 0);
    platform::linux_::LinuxXAttr xattr;
    QStringList names = xattr.names(path);
    names.sort();
    EXPECT_EQ(names, (QStringList{"user.note", "user.xdg.origin.url"}));
    EXPECT_TRUE(xattr.remove(path, "user.xdg.origin.url"));
    EXPECT_FALSE(xattr.remove(path, "user.xdg.origin.url"));
    EXPECT_EQ(xattr.names(path), QStringList{"user.note"});
    EXPECT_TRUE(xattr.names(dir.path() + "/missing").isEmpty());
}

} // namespace
} // namespace quillon
