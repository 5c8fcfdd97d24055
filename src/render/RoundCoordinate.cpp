#include "render/RoundCoordinate.h"

#include <cmath>
#include <limits>

namespace {

std::int32_t ClampWhole(double whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (whole <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (whole >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(whole);
}

} // namespace

std::int32_t RoundCoordinate(double v) {
    double whole = 0.0;
    const double fraction = std::modf(v, &whole);
    if (fraction > 0.5) {
        whole += 1.0;
    }
    return ClampWhole(whole);
}

std::int32_t TruncateCoordinate(double v) {
    return ClampWhole(std::trunc(v));
}
