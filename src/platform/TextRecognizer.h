#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

namespace quillon::platform {

/// One line of recognised text. `rect` is normalised to the image (0 to 1 on
/// both axes) with its origin at the bottom left.
struct RecognisedLine {
    QRectF rect;
    QString text;

    bool operator==(const RecognisedLine&) const = default;
};

/// Text recognition of an image, line by line. Runs in background work;
/// callable from several threads at once.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    /// The lines in the engine's order; none when the image is rejected or the
    /// engine cannot start (both logged). The image's device pixel ratio is
    /// the scale of the screen it was taken from.
    virtual std::vector<RecognisedLine> recognize(const QImage& image) = 0;
};

/// Barcodes and QR codes in an image. Runs in background work.
class BarcodeReader {
public:
    virtual ~BarcodeReader() = default;
    /// The payload of every code found, in the reader's order; codes without
    /// a text payload (or with one that is not UTF-8) are left out.
    virtual std::vector<QString> read(const QImage& image) = 0;
};

} // namespace quillon::platform
