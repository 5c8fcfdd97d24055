#pragma once

#include "platform/QtSurface.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <optional>

// A QtSurface drawing on an image filled with one colour; Image() ends the
// drawing and hands the picture over.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t fill = 0xFFFFFF)
        : image_(width, height, QImage::Format_RGB32) {
        image_.fill(QColor(fill & 0xFF, (fill >> 8) & 0xFF, (fill >> 16) & 0xFF));
        painter_.emplace(&image_);
        surface_.emplace(*painter_);
    }

    QtSurface& Surface() { return *surface_; }

    const QImage& Image() {
        surface_.reset();
        painter_.reset();
        return image_;
    }

private:
    QImage image_;
    std::optional<QPainter> painter_;
    std::optional<QtSurface> surface_;
};

// The pixel as 0x00BBGGRR, the surface's colour format.
inline std::uint32_t PixelAt(const QImage& image, int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}
