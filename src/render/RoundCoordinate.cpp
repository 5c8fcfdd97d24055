#include "render/RoundCoordinate.h"

#include "core/NumberText.h"

#include <cmath>

std::int32_t RoundCoordinate(double v) {
    double whole = 0.0;
    const double fraction = std::modf(v, &whole);
    if (fraction > 0.5) {
        whole += 1.0;
    }
    return TruncateToInt32(whole);
}

std::int32_t TruncateCoordinate(double v) {
    return TruncateToInt32(v);
}
