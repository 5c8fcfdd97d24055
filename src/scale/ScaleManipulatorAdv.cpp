#include "scale/ScaleManipulatorAdv.h"

// The flag goes where the boundary went, so a split of the top level
// appends it instead of indexing past the end.

void ScaleManipulatorAdv::BoundaryInserted(std::uint32_t i, std::uint32_t oldCount) {
    if (flags_.GetCount() != oldCount) {
        return;
    }
    if (i < oldCount) {
        flags_.InsertAt(flags_.GetLowerBound() + i, 0);
    } else {
        flags_.Append(0);
    }
}

void ScaleManipulatorAdv::BoundaryRemoved(std::uint32_t i, std::uint32_t oldCount) {
    if (flags_.GetCount() == oldCount) {
        flags_.RemoveAt(flags_.GetLowerBound() + i);
    }
}
