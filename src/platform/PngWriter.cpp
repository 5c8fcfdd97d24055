#include "platform/PngWriter.h"

#include <QIODevice>
#include <QImage>

#include <csetjmp>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace {

// Qt keeps 300 dots per inch and the like in dots per metre, as PNG does.
void WriteResolution(png_structp png, png_infop info, const QImage& image) {
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                     static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    }
}

struct Output {
    QIODevice* device;
    bool failed = false;
};

void WriteBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<Output*>(png_get_io_ptr(png));
    const auto size = static_cast<qint64>(length);
    if (!output->failed &&
        output->device->write(reinterpret_cast<const char*>(data), size) != size) {
        output->failed = true;
    }
}

void Flush(png_structp) {}

// Runs the libpng calls; libpng reports its errors by longjmp, so nothing
// with a destructor may live in this frame.
bool Encode(png_structp png, png_infop info, const QImage& image, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    const int width = image.width();
    const int height = image.height();
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    WriteResolution(png, info, image);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        png_bytep out = row;
        for (int x = 0; x < width; ++x) {
            *out++ = static_cast<png_byte>(qRed(pixels[x]));
            *out++ = static_cast<png_byte>(qGreen(pixels[x]));
            *out++ = static_cast<png_byte>(qBlue(pixels[x]));
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool WritePng(const QImage& image, QIODevice& device) {
    if (image.isNull()) {
        return false;
    }
    // Rows are read as 0xffRRGGBB words; other formats are converted once.
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    std::vector<png_byte> row(static_cast<std::size_t>(rgb.width()) * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    Output output{&device};
    bool encoded = false;
    if (info != nullptr) {
        png_set_write_fn(png, &output, WriteBytes, Flush);
        encoded = Encode(png, info, rgb, row.data());
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return encoded && !output.failed;
}
