#include "gui/CellLayerCache.h"

#include "map/MapPainterFactory.h"
#include "map/RectangleMapPainter.h"
#include "platform/QtSurface.h"
#include "view/CellRaster.h"

#include <QPainter>

#include <typeinfo>

void CellLayerCache::Draw(QPainter& painter, IntSize window, const PageCoordinateSystem& page,
                          const MapPaintInput& map, std::uint32_t mapType, std::uint64_t revision) {
    const CellLayerKey wanted = CellLayerKeyOf(page, map, mapType, revision);
    std::optional<IntPoint> place;
    if (valid_) {
        place = KeptLayerPlace(key_, region_, wanted, window);
    }
    lastPainted_ = !place;
    if (!place) {
        valid_ = false;
        const std::unique_ptr<MapPainter> cellPainter = MakeMapPainter(mapType);
        // The other shapes derive from the rectangles: the very type counts.
        const MapPainter& shape = *cellPainter;
        const bool rectangles = typeid(shape) == typeid(RectangleMapPainter);
        // A rectangle map keeps only its plot's part of the window and may
        // be drawn shifted. The other shapes are kept for their very place,
        // and painted untranslated: the raster engine fills a translated
        // polygon a pixel apart here and there.
        const DeviceRect region = rectangles ? CellLayerRegion(wanted, window, 0)
                                             : DeviceRect{0, 0, window.width, window.height};
        const QSize size(region.right - region.left, region.bottom - region.top);
        if (image_.size() != size) {
            image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        }
        image_.fill(Qt::transparent);
        // The painter works on the window's own device coordinates, as a
        // direct paint does: its rounding is not the same everywhere, so
        // only the painter is moved onto the region's corner.
        bool contoursSet = false;
        if (rectangles) {
            // The cells and thin contour lines straight into the picture:
            // the same pixels as a fill per run and a line per edge, in a
            // fraction of the time.
            auto* bits = reinterpret_cast<std::uint32_t*>(image_.bits());
            const std::ptrdiff_t perLine = image_.bytesPerLine() / 4;
            RasterRectangleCells(page, map, region, bits, perLine);
            contoursSet =
                !map.contours.on || RasterRectangleContours(page, map, region, bits, perLine);
        }
        QPainter layer(&image_);
        layer.translate(-region.left, -region.top);
        {
            QtSurface surface(layer, DeviceTechnology::RasterDisplay);
            if (!rectangles) {
                cellPainter->Draw(surface, page, map);
            } else if (!contoursSet) {
                cellPainter->PaintContours(surface, page, map);
            }
        }
        layer.end();
        key_ = wanted;
        region_ = region;
        valid_ = true;
        place = IntPoint{region.left, region.top};
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(place->x, place->y), image_);
    painter.restore();
}

void CellLayerCache::Clear() {
    image_ = QImage();
    valid_ = false;
}
