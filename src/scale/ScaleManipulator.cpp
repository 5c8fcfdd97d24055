#include "scale/ScaleManipulator.h"

#include "core/LException.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr LRGBColor kBlack = 0;

} // namespace

std::uint32_t ScaleManipulator::Count() const {
    return BoundaryCount(scale_);
}

void ScaleManipulator::RequireColoursInStep(std::uint32_t count) const {
    if (colours_.GetCount() != count + 2) {
        throw LException("ScaleManipulator", "colour table does not match the scale");
    }
}

bool ScaleManipulator::InsertScaleValue(std::uint32_t k, std::uint32_t& index) {
    const std::uint32_t count = Count();
    // Without a boundary there is neither a level width to copy nor a
    // middle to cut at.
    if (count == 0) {
        return false;
    }
    if (count >= kMaxScaleBoundaries) {
        prompt_.Show(kApplicationName,
                     "Number of scale levels cannot exceed" + std::to_string(kMaxScaleBoundaries),
                     PromptIcon::Exclamation);
        return false;
    }
    RequireColoursInStep(count);

    const double* bounds = scale_.Data();
    double value;
    if (k == 0) {
        index = 0;
        value = count >= 2 ? 2 * bounds[0] - bounds[1] : bounds[0] - 1.0;
    } else if (k < count) {
        index = k;
        value = (bounds[k - 1] + bounds[k]) * 0.5;
    } else {
        index = count;
        value = count >= 2 ? 2 * bounds[count - 1] - bounds[count - 2] : bounds[count - 1] + 1.0;
    }
    DMAT grown(count + 1, 1);
    double* out = grown.Data();
    std::copy(bounds, bounds + index, out);
    out[index] = value;
    std::copy(bounds + index, bounds + count, out + index + 1);

    // The black colour belongs to the lower part of the split level, except
    // at the top, where the new top level gets it.
    const std::uint32_t colour = k >= count ? count + 1 : k;
    colours_.InsertAt(colours_.GetLowerBound() + colour, kBlack);
    scale_ = std::move(grown);
    BoundaryInserted(index, count);
    return true;
}

bool ScaleManipulator::SplitLevel(std::uint32_t k) {
    std::uint32_t index = 0;
    return InsertScaleValue(k, index);
}

bool ScaleManipulator::SplitLevelAt(std::uint32_t k, double value) {
    std::uint32_t index = 0;
    if (!InsertScaleValue(k, index)) {
        return false;
    }
    scale_.Set(index, 0, value);
    return true;
}

bool ScaleManipulator::DeleteLevel(std::uint32_t k) {
    const std::uint32_t count = Count();
    if (count <= 1) {
        return false;
    }
    RequireColoursInStep(count);
    const std::uint32_t index = k < count ? k : count - 1;
    const std::uint32_t colour = k < count ? k : count;

    const double* bounds = scale_.Data();
    DMAT shrunk(count - 1, 1);
    double* out = shrunk.Data();
    std::copy(bounds, bounds + index, out);
    std::copy(bounds + index + 1, bounds + count, out + index);

    colours_.RemoveAt(colours_.GetLowerBound() + colour);
    scale_ = std::move(shrunk);
    BoundaryRemoved(index, count);
    return true;
}
