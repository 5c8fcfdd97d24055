#pragma once

#include "map/MapPaintInput.h"
#include "render/Geometry.h"
#include "render/PageCoordinateSystem.h"
#include "render/Surface.h"

#include <cstdint>
#include <optional>

// The matrix cell under a device point, and its data value.
struct MapCellHit {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    double value = 0.0;
    friend bool operator==(const MapCellHit&, const MapCellHit&) = default;
};

// Fills the cells of a map with their level colours inside the plot
// rectangle, draws the contour lines between levels and finds the cell
// under a device point; one subclass per cell shape.
//
// Each shape draws in its own cell-index space: x counts matrix columns (or
// column pairs) from the left, y counts rows from the bottom, so cell
// corners are whole numbers. A painter maps that space onto the plot
// rectangle's device corners with a copy of the page system it is given;
// the caller's page system is never changed, whatever happens.
//
// Painters keep no state: everything they read comes in the input of each
// call. An empty level matrix or a scale without boundaries draws nothing;
// a plot rectangle without area on the device, or a triangle map of fewer
// than two columns, throws the LException of
// PageCoordinateSystem::SetDeviceViewport; a level without a colour throws
// the MVector index error before anything is drawn.
class MapPainter {
public:
    virtual ~MapPainter() = default;

    // The cells, then their contour lines when the settings switch them on.
    // A surface that gathers fills into shapes has them painted in layers.
    void Draw(Surface& surface, const PageCoordinateSystem& page, const MapPaintInput& map) const;

    // Fills every cell: along one direction, each maximal run of neighbouring
    // cells of one level is one fill. When cells are smaller than a pixel,
    // some runs round to no width or no height on the device; those fills
    // would paint nothing and are left out.
    virtual void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                            const MapPaintInput& map) const = 0;

    // The same picture for a surface that gathers the fills of each colour
    // into one shape: the levels are laid on from the lowest up, each
    // reaching a little under its higher neighbours (see LayeredFills), so
    // that no seam of background shows between two shapes in a viewer.
    virtual void PaintCellsInLayers(Surface& surface, const PageCoordinateSystem& page,
                                    const MapPaintInput& map) const = 0;

    // One straight segment per cell edge between cells of different levels
    // (and, for the parallelograms, along the valued border), drawn with one
    // solid pen whose width is the settings' width times the page system's
    // mean scale. Segments of no length are left out; the surface's pen is
    // restored.
    virtual void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                               const MapPaintInput& map) const = 0;

    // The cell that the device point lies on; nothing when it lies on no
    // cell (outside the plot, or on an unpainted border triangle of the
    // parallelograms), when the data or level matrix is empty, the scale has
    // no boundaries, or the plot or index window has no area. A point
    // exactly on a slanted edge belongs to the cell above that edge.
    virtual std::optional<MapCellHit> CellFromPoint(IntPoint point,
                                                    const PageCoordinateSystem& page,
                                                    const MapPaintInput& map) const = 0;

protected:
    MapPainter() = default;
    MapPainter(const MapPainter&) = default;
    MapPainter& operator=(const MapPainter&) = default;
};
