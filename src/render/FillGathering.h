#pragma once

#include "render/Surface.h"

#include <cstdint>
#include <span>

// A surface that can gather what it draws. Between BeginGathering and
// EndGathering it may join consecutive solid fills of one colour into one
// shape, and the segments of one pen into one stroke; a fill of another
// colour starts the next shape, so the order in which colours cover one
// another is kept. Vector surfaces do: a map of millions of cells then
// makes a file of a few shapes per level instead of one shape per run of
// cells, so a caller that wants that gives each colour's fills together.
// Overlapping fills of one shape add up when they turn the same way
// (rectangles turn clockwise on the screen). Everything gathered is drawn
// when EndGathering returns; raster surfaces draw as they go.
class FillGathering {
public:
    // Begins gathering; true when this surface draws the gathered fills
    // as shapes of their own (a vector file), false when it draws each
    // fill as it comes.
    virtual bool BeginGathering() = 0;
    virtual void EndGathering() = 0;

    // Fills the union of rectangles, which may overlap, as one part of the
    // shape of its colour: a vector surface draws the outline of the union
    // (or the rectangles themselves, where that makes less), so that no
    // edge lies inside it.
    virtual void FillRects(std::span<const DeviceRect> rects, Brush brush) = 0;

protected:
    ~FillGathering() = default;
};

// Gathers on the surface for the helper's lifetime, when the surface can.
class ScopedGathering {
public:
    explicit ScopedGathering(Surface& surface)
        : gathering_(dynamic_cast<FillGathering*>(&surface)) {
        if (gathering_ != nullptr) {
            gathers_ = gathering_->BeginGathering();
        }
    }
    ~ScopedGathering() {
        if (gathering_ != nullptr) {
            gathering_->EndGathering();
        }
    }
    ScopedGathering(const ScopedGathering&) = delete;
    ScopedGathering& operator=(const ScopedGathering&) = delete;

    // Whether the surface draws what it gathers as shapes of their own.
    bool Gathers() const { return gathers_; }

private:
    FillGathering* gathering_;
    bool gathers_ = false;
};
