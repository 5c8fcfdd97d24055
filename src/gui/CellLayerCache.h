#pragma once

#include "map/MapPaintInput.h"
#include "render/PageCoordinateSystem.h"
#include "view/CellLayer.h"

#include <QImage>

#include <cstdint>

class QPainter;

// The cells and contour lines of a map window, kept as a picture of the
// pixels they cover (transparent elsewhere) together with the key it was
// made for. A paint whose key is the same but for a whole-pixel shift
// draws the kept picture at the shifted place; anything else paints the
// cells into a new picture first. The painters draw without smoothing and
// in opaque colours, so the picture laid over the page gives exactly the
// pixels a paint straight onto the page gives.
class CellLayerCache {
public:
    // Draws the cells of a map on a window of a size with its painter, as
    // the map type's painter would. Throws what that painter throws; the
    // picture is then forgotten.
    void Draw(QPainter& painter, IntSize window, const PageCoordinateSystem& page,
              const MapPaintInput& map, std::uint32_t mapType, std::uint64_t revision);

    // Forgets the picture (its memory too).
    void Clear();

    // Whether the last Draw had to paint the cells.
    bool LastDrawPainted() const { return lastPainted_; }
    bool IsValid() const { return valid_; }

private:
    QImage image_;
    CellLayerKey key_;
    DeviceRect region_;
    bool valid_ = false;
    bool lastPainted_ = false;
};
