#pragma once

#include "scale/LevelFlags.h"
#include "scale/ScaleManipulator.h"

// A ScaleManipulator that also keeps the legend's per-boundary flags in
// step: a new boundary gets the flag 0 (tick, label and line shown), a
// removed boundary takes its flag along. Flags whose count already differs
// from the number of boundaries are left alone: the legend ignores them
// anyway until it follows the scale again.
class ScaleManipulatorAdv : public ScaleManipulator {
public:
    ScaleManipulatorAdv(DMAT& scale, LRGBColorVect& colours, LevelFlags& flags, Prompt& prompt)
        : ScaleManipulator(scale, colours, prompt), flags_(flags) {}

protected:
    void BoundaryInserted(std::uint32_t i, std::uint32_t oldCount) override;
    void BoundaryRemoved(std::uint32_t i, std::uint32_t oldCount) override;

private:
    LevelFlags& flags_;
};
