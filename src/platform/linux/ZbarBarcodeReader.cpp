#include "platform/linux/ZbarBarcodeReader.h"

#include <QStringDecoder>
#include <zbar.h>

namespace quillon::platform::linux_ {

std::vector<QString> ZbarBarcodeReader::read(const QImage& image)
{
    std::vector<QString> payloads;
    if (image.isNull())
        return payloads;
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    // zbar wants rows without padding.
    QByteArray packed;
    packed.reserve(qsizetype(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        packed.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());

    zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
    zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::zbar_image_t* frame = zbar::zbar_image_create();
    zbar::zbar_image_set_format(frame, zbar_fourcc('Y', '8', '0', '0'));
    zbar::zbar_image_set_size(frame, unsigned(grey.width()), unsigned(grey.height()));
    zbar::zbar_image_set_data(frame, packed.constData(), unsigned(packed.size()), nullptr);
    if (zbar::zbar_scan_image(scanner, frame) > 0) {
        for (const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(frame); symbol;
             symbol = zbar::zbar_symbol_next(symbol)) {
            const char* data = zbar::zbar_symbol_get_data(symbol);
            const unsigned length = zbar::zbar_symbol_get_data_length(symbol);
            if (!data || length == 0)
                continue;
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = utf8(QByteArrayView(data, qsizetype(length)));
            if (!utf8.hasError())
                payloads.push_back(text);
        }
    }
    zbar::zbar_image_destroy(frame);
    zbar::zbar_image_scanner_destroy(scanner);
    return payloads;
}

} // namespace quillon::platform::linux_
