#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <optional>

namespace quillon {

namespace platform {
class XAttr;
}

/// Turns shelf files into new files: re-encoded images, one PDF, clean
/// copies without metadata, one ZIP. Every output lands in a scratch folder
/// of its own ("QuillonConvert-<uuid>" in the temporary folder), which the
/// caller removes once the output is on the shelf.
class ShelfConvert {
public:
    ShelfConvert() = delete;

    enum class Format { Jpg, Png, Heic, Tiff, Pdf, Strip, Zip };
    static constexpr std::array<Format, 7> allFormats{Format::Jpg, Format::Png,   Format::Heic, Format::Tiff,
                                                      Format::Pdf, Format::Strip, Format::Zip};

    static QString rawValue(Format format);
    /// Exactly the seven raw values; anything else is none.
    static std::optional<Format> fromRaw(const QString& raw);

    /// The formats to offer for files of these content types (one entry per
    /// file, none where the type is unknown).
    static QList<Format> options(const QList<std::optional<QString>>& contentTypes);
    /// The same with each type told by the file's extension.
    static QList<Format> options(const QList<QUrl>& urls);

    /// The convert buttons' rectangles in `rect`, with y upward: a column is
    /// filled top to bottom before the next one starts.
    static QList<QRectF> buttonFrames(int count, const QRectF& rect);

    /// Converts in the background and hands the outputs (possibly none) to
    /// `completion` on the main queue.
    static void convert(const QList<QUrl>& urls, Format format, std::function<void(QList<QUrl>)> completion);

    /// The conversion itself, on the calling thread: outputs go into new
    /// folders under `tempDir`; `xattr` clears download marks off clean copies.
    static QList<QUrl> convertNow(const QList<QUrl>& urls, Format format, const QString& tempDir,
                                  platform::XAttr& xattr);

    /// Whether a clean copy drops this extended attribute: where a file came
    /// from, and quarantine marks.
    static bool isDownloadMark(const QString& attribute);

    static constexpr int quality = 90;
};

} // namespace quillon
