#include "shelf/HeifImage.h"

#include <QFile>
#include <QImageReader>

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace quillon {

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct EncoderRelease {
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};

using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;
using Encoder = std::unique_ptr<heif_encoder, EncoderRelease>;

bool fitsAllocationLimit(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    const int limitMiB = QImageReader::allocationLimit();
    if (limitMiB <= 0)
        return true;
    return qint64(width) * height * 4 <= qint64(limitMiB) * 1024 * 1024;
}

} // namespace

QImage HeifImage::read(const QString& path)
{
    Context context(heif_context_alloc());
    if (!context)
        return {};
    if (heif_context_read_from_file(context.get(), QFile::encodeName(path).constData(), nullptr).code !=
        heif_error_Ok)
        return {};
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    Handle handle(rawHandle);
    // The handle's size is the one after rotation; checking it before the
    // decode keeps a crafted header from claiming gigabytes.
    if (!fitsAllocationLimit(heif_image_handle_get_width(handle.get()),
                             heif_image_handle_get_height(handle.get())))
        return {};
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    heif_image* rawImage = nullptr;
    if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr)
            .code != heif_error_Ok)
        return {};
    Image image(rawImage);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* data = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!data || !fitsAllocationLimit(width, height))
        return {};
    // copy(): the pixels must outlive the libheif image released below.
    return QImage(data, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888)
        .copy();
}

bool HeifImage::write(const QImage& source, const QString& path, int quality)
{
    if (source.isNull())
        return false;
    const bool alpha = source.hasAlphaChannel();
    const QImage pixels = source.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    Context context(heif_context_alloc());
    if (!context)
        return false;
    heif_encoder* rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder).code !=
        heif_error_Ok)
        return false;
    Encoder encoder(rawEncoder);
    heif_encoder_set_lossy_quality(encoder.get(), quality);

    heif_image* rawImage = nullptr;
    if (heif_image_create(pixels.width(), pixels.height(), heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &rawImage)
            .code != heif_error_Ok)
        return false;
    Image image(rawImage);
    if (heif_image_add_plane(image.get(), heif_channel_interleaved, pixels.width(), pixels.height(), 8)
            .code != heif_error_Ok)
        return false;
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    if (!plane)
        return false;
    const size_t rowBytes = size_t(pixels.width()) * (alpha ? 4 : 3);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(plane + size_t(y) * size_t(stride), pixels.constScanLine(y), rowBytes);

    if (heif_context_encode_image(context.get(), image.get(), encoder.get(), nullptr, nullptr).code !=
        heif_error_Ok)
        return false;
    return heif_context_write_to_file(context.get(), QFile::encodeName(path).constData()).code ==
           heif_error_Ok;
}

} // namespace quillon
