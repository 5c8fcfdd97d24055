#include "document/EditSnapshot.h"

#include "document/DerivedSetup.h"

#include <cstdint>
#include <memory>

namespace {

constexpr std::size_t kFieldCount = std::tuple_size_v<MapEditState::Values>;
// Restoring reads the scale first, to know whether the map is classified
// again.
static_assert(std::get<0>(kEditedFields) == &ChartDocument::ScaleValues);

template <class Visit>
void ForEachField(Visit&& visit) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (visit(std::get<I>(kEditedFields), std::integral_constant<std::size_t, I>()), ...);
    }
    (std::make_index_sequence<kFieldCount>());
}

// What counts as the same for an edit that answers only whether it
// changed anything.
bool SameForUndo(const DMAT& a, const DMAT& b) {
    if (a.GetRows() != b.GetRows() || a.GetColumns() != b.GetColumns()) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.GetRows(); ++i) {
        if (!(a.Get(i, 0) == b.Get(i, 0))) {
            return false;
        }
    }
    return true;
}

bool SameForUndo(const LRGBColorVect& a, const LRGBColorVect& b) {
    if (a.GetCount() != b.GetCount()) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.GetCount(); ++i) {
        if (a.Level(i) != b.Level(i)) {
            return false;
        }
    }
    return true;
}

bool SameForUndo(const MScale& a, const MScale& b) {
    return a.IsVisible() == b.IsVisible();
}

// The frame's and the annotations' editors say themselves whether they
// changed anything.
bool SameForUndo(const PlotFrame&, const PlotFrame&) {
    return true;
}

template <class T>
bool SameForUndo(const LObjectContainer<T>&, const LObjectContainer<T>&) {
    return true;
}

bool SameForUndo(const std::optional<CohortLineSettings>& a,
                 const std::optional<CohortLineSettings>& b) {
    return a == b;
}

bool SameForUndo(const std::optional<DerivedSetup>& a, const std::optional<DerivedSetup>& b) {
    return a.has_value() == b.has_value() && (!a || a->SameAs(*b));
}

// B is never changed once read: the same matrix is the same pointer.
bool SameForUndo(const std::shared_ptr<const DMAT>& a, const std::shared_ptr<const DMAT>& b) {
    return a == b;
}

template <class T>
requires std::is_arithmetic_v<T>
bool SameForUndo(T a, T b) {
    return a == b;
}

} // namespace

MapEditState::MapEditState(const ChartDocument& document) {
    ForEachField([&](auto field, auto i) { std::get<i>(values_) = document.*field; });
}

void MapEditState::RestoreTo(ChartDocument& document) const {
    const bool sameScale = SameForUndo(document.ScaleValues, std::get<0>(values_));
    const std::optional<DerivedSetup> derived = document.Derived;
    const std::shared_ptr<const DMAT> second = document.SecondMatrix;
    ForEachField([&](auto field, auto i) { document.*field = std::get<i>(values_); });
    const bool sameDerivation =
        SameForUndo(derived, document.Derived) && SameForUndo(second, document.SecondMatrix);
    if (!sameDerivation) {
        RecomputeDerived(document);
    }
    if (!sameScale || !sameDerivation) {
        document.SetScale(document.ScaleValues, document.LevelColors);
    }
}

bool MapEditState::SameAs(const MapEditState& other) const {
    bool same = true;
    ForEachField([&](auto, auto i) {
        same = same && SameForUndo(std::get<i>(values_), std::get<i>(other.values_));
    });
    return same;
}

MapEditState CaptureEditState(const ChartDocument& document) {
    return MapEditState(document);
}

void RestoreEditState(ChartDocument& document, const MapEditState& state) {
    state.RestoreTo(document);
}
