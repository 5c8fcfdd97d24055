#pragma once

#include "render/Surface.h"

// A surface that can gather what it draws. Between BeginGathering and
// EndGathering the caller promises that its fills do not overlap one
// another, so the surface may draw all fills of one brush as one shape and
// all segments of one pen as one stroke, in an order of its own. Vector
// surfaces do: a map of millions of cells then makes a file of a few shapes
// per level instead of one shape per run of cells. Everything gathered is
// drawn when EndGathering returns; raster surfaces draw as they go.
class FillGathering {
public:
    virtual void BeginGathering() = 0;
    virtual void EndGathering() = 0;

protected:
    ~FillGathering() = default;
};

// Gathers on the surface for the helper's lifetime, when the surface can.
class ScopedGathering {
public:
    explicit ScopedGathering(Surface& surface)
        : gathering_(dynamic_cast<FillGathering*>(&surface)) {
        if (gathering_ != nullptr) {
            gathering_->BeginGathering();
        }
    }
    ~ScopedGathering() {
        if (gathering_ != nullptr) {
            gathering_->EndGathering();
        }
    }
    ScopedGathering(const ScopedGathering&) = delete;
    ScopedGathering& operator=(const ScopedGathering&) = delete;

private:
    FillGathering* gathering_;
};
