#pragma once

#include "document/ChartDocument.h"

#include <cstddef>
#include <tuple>
#include <utility>

// The fields of a document that the in-place edits of a map change (the
// context menus, the sheets, the colour editors), listed once: a snapshot
// holds one value of each, and taking, restoring and comparing snapshots
// all walk this list, so a field added here is taken back by Undo too.
// The data, the paths and the page orientation are not edits of the map;
// the derivation is, with the B it read (shared, not copied): restoring
// another derivation derives the map's matrix again.
inline constexpr auto kEditedFields = std::make_tuple(
    &ChartDocument::ScaleValues, &ChartDocument::Derived, &ChartDocument::SecondMatrix,
    &ChartDocument::LevelColors, &ChartDocument::MissingColor, &ChartDocument::Legend,
    &ChartDocument::MapType, &ChartDocument::ContourLines, &ChartDocument::ContourLinesWidth,
    &ChartDocument::ContourLinesColor, &ChartDocument::CohortLines, &ChartDocument::Frame,
    &ChartDocument::Texts, &ChartDocument::Lines, &ChartDocument::Rectangles);

namespace edit_snapshot {

template <class Pointer>
struct FieldOf;
template <class T>
struct FieldOf<T ChartDocument::*> {
    using type = T;
};
template <class Pointers>
struct ValuesOf;
template <class... Pointers>
struct ValuesOf<std::tuple<Pointers...>> {
    using type = std::tuple<typename FieldOf<Pointers>::type...>;
};

} // namespace edit_snapshot

// What the edited fields of a document held at one moment, to take an edit
// back and do it again.
class MapEditState {
public:
    using Values = edit_snapshot::ValuesOf<std::remove_const_t<decltype(kEditedFields)>>::type;

    MapEditState() = default;
    explicit MapEditState(const ChartDocument& document);

    // Puts the fields back; a derivation that differs from the document's
    // derives the map's matrix again, and that or a scale that differs
    // reclassifies the map.
    void RestoreTo(ChartDocument& document) const;

    // The same scale, derivation, colours, legend visibility and map
    // appearance. The
    // frame and the annotations are not compared: their editors tell
    // whether they changed them.
    bool SameAs(const MapEditState& other) const;

private:
    Values values_;
};

MapEditState CaptureEditState(const ChartDocument& document);
void RestoreEditState(ChartDocument& document, const MapEditState& state);
