#include "map/MapPainterFactory.h"

#include "map/HLTrapMapPainter.h"
#include "map/HTrapMapPainter.h"
#include "map/LTriangleMapPainter.h"
#include "map/RectangleMapPainter.h"
#include "map/TriangleMapPainter.h"
#include "map/VLTrapMapPainter.h"
#include "map/VTrapMapPainter.h"

std::unique_ptr<MapPainter> MakeMapPainter(std::uint32_t mapType) {
    switch (static_cast<MapType>(mapType)) {
    case MapType::Triangle:
        return std::make_unique<TriangleMapPainter>();
    case MapType::LTriangle:
        return std::make_unique<LTriangleMapPainter>();
    case MapType::HParallelogram:
        return std::make_unique<HTrapMapPainter>();
    case MapType::HLParallelogram:
        return std::make_unique<HLTrapMapPainter>();
    case MapType::VParallelogram:
        return std::make_unique<VTrapMapPainter>();
    case MapType::VLParallelogram:
        return std::make_unique<VLTrapMapPainter>();
    case MapType::Rectangle:
        break;
    }
    return std::make_unique<RectangleMapPainter>();
}
