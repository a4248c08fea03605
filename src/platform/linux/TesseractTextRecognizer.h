#pragma once

#include "platform/TextRecognizer.h"

#include <QStringList>

namespace quillon::platform::linux_ {

/// libtesseract, one engine per worker thread: setting an engine up reads the
/// language data, which costs more than reading a line, so it is done once
/// per thread and the engine reused. Every installed language but "osd".
class TesseractTextRecognizer final : public TextRecognizer {
public:
    std::vector<RecognisedLine> recognize(const QImage& image) override;

    /// The folder of the language data: $TESSDATA_PREFIX, else Debian's.
    static QString dataFolder();
    /// The installed languages of `folder`, as tesseract's "eng+deu" list.
    static QString languages(const QString& folder);
};

} // namespace quillon::platform::linux_
