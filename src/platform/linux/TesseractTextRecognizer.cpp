#include "platform/linux/TesseractTextRecognizer.h"

#include "support/Log.h"

#include <QDir>
#include <memory>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

namespace quillon::platform::linux_ {

namespace {

// Text reads best 20 to 50 pixels tall; interface text at scale 1 is smaller,
// at scale 2 (the image's device pixel ratio) it is already that tall.
int upscaleFor(const QImage& image)
{
    return image.devicePixelRatio() >= 1.5 ? 1 : 2;
}

struct Engine {
    tesseract::TessBaseAPI api;
    bool ready = false;
};

Engine* engineOfThisThread()
{
    thread_local std::unique_ptr<Engine> engine;
    thread_local bool tried = false;
    if (!tried) {
        tried = true;
        auto made = std::make_unique<Engine>();
        const QString folder = TesseractTextRecognizer::dataFolder();
        const QString langs = TesseractTextRecognizer::languages(folder);
        if (langs.isEmpty()) {
            Log::error(QStringLiteral("OCR: no language data in %1").arg(folder));
            return nullptr;
        }
        if (made->api.Init(folder.toLocal8Bit().constData(), langs.toLatin1().constData(),
                           tesseract::OEM_DEFAULT) != 0) {
            Log::error(QStringLiteral("OCR: tesseract could not start with %1").arg(langs));
            return nullptr;
        }
        made->api.SetPageSegMode(tesseract::PSM_AUTO);
        made->ready = true;
        engine = std::move(made);
    }
    return engine.get();
}

} // namespace

QString TesseractTextRecognizer::dataFolder()
{
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return prefix;
    for (const char* folder :
         {"/usr/share/tesseract-ocr/5/tessdata", "/usr/share/tesseract-ocr/4.00/tessdata"}) {
        if (QDir(QString::fromLatin1(folder)).exists())
            return QString::fromLatin1(folder);
    }
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QString TesseractTextRecognizer::languages(const QString& folder)
{
    QStringList names;
    for (const QString& file :
         QDir(folder).entryList({QStringLiteral("*.traineddata")}, QDir::Files, QDir::Name)) {
        const QString name = file.chopped(int(qstrlen(".traineddata")));
        if (name != QLatin1String("osd"))
            names << name;
    }
    // English first where it is installed: the first language leads the layout.
    if (names.removeOne(QStringLiteral("eng")))
        names.prepend(QStringLiteral("eng"));
    return names.join(QLatin1Char('+'));
}

std::vector<RecognisedLine> TesseractTextRecognizer::recognize(const QImage& image)
{
    std::vector<RecognisedLine> lines;
    if (image.isNull() || image.width() < 2 || image.height() < 2) {
        Log::error(QStringLiteral("OCR: an empty image cannot be read"));
        return lines;
    }
    Engine* engine = engineOfThisThread();
    if (!engine)
        return lines;
    const int upscale = upscaleFor(image);
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8)
                            .scaled(image.width() * upscale, image.height() * upscale, Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
    tesseract::TessBaseAPI& api = engine->api;
    api.SetImage(grey.constBits(), grey.width(), grey.height(), 1, int(grey.bytesPerLine()));
    api.SetSourceResolution(144);
    if (api.Recognize(nullptr) != 0) {
        Log::error(
            QStringLiteral("OCR: tesseract rejected a %1 × %2 image").arg(image.width()).arg(image.height()));
        api.Clear();
        return lines;
    }
    const double width = grey.width();
    const double height = grey.height();
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it) {
        do {
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            int left = 0, top = 0, right = 0, bottom = 0;
            if (!text || !it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom))
                continue;
            lines.push_back(
                {QRectF(left / width, 1.0 - bottom / height, (right - left) / width, (bottom - top) / height),
                 QString::fromUtf8(text.get()).trimmed()});
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    api.Clear();
    return lines;
}

} // namespace quillon::platform::linux_
