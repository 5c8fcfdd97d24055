#pragma once

#include "core/DMAT.h"
#include "core/Prompt.h"
#include "scale/LRGBColorVect.h"

#include <cstdint>

// Level-by-level edits of a scale (a one-column DMAT of L boundaries) that
// keep its colour table (L + 2 colours: levels 0 .. L, then the missing
// colour) in step: every boundary inserted brings a black level colour,
// every level deleted takes its colour away. Level k lies between
// boundaries k - 1 and k. Works on borrowed objects and is made on the spot
// for each edit.
//
// Each operation returns true when the number of boundaries changed; the
// caller then reclassifies the map and lets the legend follow the scale
// (SyncWithScale).
class ScaleManipulator {
public:
    ScaleManipulator(DMAT& scale, LRGBColorVect& colours, Prompt& prompt)
        : scale_(scale), colours_(colours), prompt_(prompt) {}
    virtual ~ScaleManipulator() = default;
    ScaleManipulator(const ScaleManipulator&) = delete;
    ScaleManipulator& operator=(const ScaleManipulator&) = delete;

    // Cuts level k in two with a boundary in its middle; the outer levels
    // (k = 0, k >= L) grow outward by the width of their neighbour, or by 1
    // when there is a single boundary. The new level colour is black: it
    // goes to index k, or just below the missing colour when the top level
    // is split. Refused when the scale has no boundary, and, with the
    // message "Number of scale levels cannot exceed" and the limit, when it
    // already holds kMaxScaleBoundaries.
    bool SplitLevel(std::uint32_t k);

    // As SplitLevel, then the new boundary (index k, or L for k >= L) takes
    // value: the level is cut exactly there.
    bool SplitLevelAt(std::uint32_t k, double value);

    // Removes boundary k and colour k, so that level k merges into the one
    // above it, which keeps its colour; for k >= L the top level merges into
    // the one below (boundary L - 1 and colour L go). A scale never loses
    // its last boundary: with L <= 1 nothing happens.
    bool DeleteLevel(std::uint32_t k);

protected:
    // Told after a boundary was inserted at, or removed from, index i (with
    // the scale as it was before the change having L boundaries).
    virtual void BoundaryInserted(std::uint32_t /*i*/, std::uint32_t /*oldCount*/) {}
    virtual void BoundaryRemoved(std::uint32_t /*i*/, std::uint32_t /*oldCount*/) {}

private:
    std::uint32_t Count() const;
    // Throws, before anything changes, unless the colour table holds L + 2
    // colours: an edit must not leave the scale changed and the table not.
    void RequireColoursInStep(std::uint32_t count) const;
    // Inserts the boundary and the black colour that split level k. False
    // when refused; otherwise index tells where the boundary went.
    bool InsertScaleValue(std::uint32_t k, std::uint32_t& index);

    DMAT& scale_;
    LRGBColorVect& colours_;
    Prompt& prompt_;
};
