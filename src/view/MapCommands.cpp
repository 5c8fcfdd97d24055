#include "view/MapCommands.h"

#include "core/FormatNumber.h"
#include "document/ChartDocument.h"
#include "scale/DistinctLevels.h"
#include "scale/MapScale.h"
#include "scale/ScaleManipulator.h"

#include <sstream>

namespace {

// After the boundaries changed: the map's levels and the legend follow.
MapEdit ScaleChanged(ChartDocument& document) {
    ClassifyLevels(document.DataMatrix, document.ScaleValues, document.LevelMatrix);
    document.Legend.SyncWithScale(document.ScaleValues);
    return MapEdit::Changed;
}

double Boundary(const ChartDocument& document, std::uint32_t i) {
    return document.ScaleValues.Get(i, 0);
}

// Setting boundary i to value must leave the boundaries strictly
// increasing around it.
bool KeepsOrder(const ChartDocument& document, std::uint32_t i, double value) {
    const std::uint32_t count = document.BoundaryCount();
    return (i == 0 || Boundary(document, i - 1) < value) &&
           (i + 1 >= count || value < Boundary(document, i + 1));
}

bool IsBoundary(const ChartDocument& document, double value) {
    for (std::uint32_t i = 0, count = document.BoundaryCount(); i < count; ++i) {
        if (Boundary(document, i) == value) {
            return true;
        }
    }
    return false;
}

MapEdit RefuseEqualBoundaries(ChartDocument& document, double value) {
    document.GetPrompt().Show(kApplicationName,
                              "The value of this cell, " + FormatNumber(value, "F6") +
                                  ", is a class boundary already: the line cannot be placed "
                                  "there, since two classes would share one boundary.",
                              PromptIcon::Exclamation);
    return MapEdit::Unchanged;
}

MapEdit SetBoundary(ChartDocument& document, std::uint32_t i, double value) {
    if (Boundary(document, i) == value) {
        return MapEdit::Unchanged;
    }
    if (!KeepsOrder(document, i, value)) {
        return RefuseEqualBoundaries(document, value);
    }
    document.ScaleValues.Set(i, 0, value);
    return ScaleChanged(document);
}

MapEdit Split(ChartDocument& document, std::uint32_t k) {
    ScaleManipulator edit(document.ScaleValues, document.LevelColors, document.GetPrompt());
    return edit.SplitLevel(k) ? ScaleChanged(document) : MapEdit::Unchanged;
}

MapEdit Delete(ChartDocument& document, std::uint32_t k) {
    ScaleManipulator edit(document.ScaleValues, document.LevelColors, document.GetPrompt());
    return edit.DeleteLevel(k) ? ScaleChanged(document) : MapEdit::Unchanged;
}

bool SameBoundaries(const DMAT& a, const DMAT& b) {
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

} // namespace

CellMenuState CellMenuEnablers(const ChartDocument& document,
                               const std::optional<CellUnderPoint>& cell) {
    CellMenuState state;
    const std::uint32_t count = document.BoundaryCount();
    const bool hit = cell.has_value();
    state.pullUpper = hit && count > 0 && cell->level <= count;
    state.pullLower = state.pullUpper;
    state.insertContour = hit && count > 0 && !cell->missing;
    state.deleteRegion = hit && !cell->missing && count > 1;
    state.changeColor = document.LevelMatrix.GetRows() > 0 && document.LevelMatrix.GetColumns() > 0;
    return state;
}

MapEdit PullUpperLine(ChartDocument& document, const CellUnderPoint& cell) {
    const std::uint32_t count = document.BoundaryCount();
    if (count == 0 || cell.level > count || cell.missing) {
        return MapEdit::Unchanged;
    }
    if (cell.level == count) {
        return Split(document, count);
    }
    return SetBoundary(document, cell.level, cell.value);
}

MapEdit PullLowerLine(ChartDocument& document, const CellUnderPoint& cell) {
    const std::uint32_t count = document.BoundaryCount();
    if (count == 0 || cell.level > count || cell.missing) {
        return MapEdit::Unchanged;
    }
    if (cell.level == 0) {
        return Split(document, 0);
    }
    return SetBoundary(document, cell.level - 1, cell.value);
}

MapEdit InsertContourLine(ChartDocument& document, const CellUnderPoint& cell) {
    if (document.BoundaryCount() == 0 || cell.missing) {
        return MapEdit::Unchanged;
    }
    if (IsBoundary(document, cell.value)) {
        return RefuseEqualBoundaries(document, cell.value);
    }
    ScaleManipulator edit(document.ScaleValues, document.LevelColors, document.GetPrompt());
    return edit.SplitLevelAt(cell.level, cell.value) ? ScaleChanged(document) : MapEdit::Unchanged;
}

MapEdit DeleteRegion(ChartDocument& document, const CellUnderPoint& cell) {
    if (cell.missing || document.BoundaryCount() <= 1) {
        return MapEdit::Unchanged;
    }
    return Delete(document, cell.level);
}

MapEdit InsertLevel(ChartDocument& document, std::uint32_t k) {
    return k <= document.BoundaryCount() ? Split(document, k) : MapEdit::Unchanged;
}

MapEdit DeleteLevel(ChartDocument& document, std::uint32_t k) {
    return k <= document.BoundaryCount() ? Delete(document, k) : MapEdit::Unchanged;
}

void ShiftLevelColors(ChartDocument& document, ColorShift shift) {
    switch (shift) {
    case ColorShift::Up:
        document.LevelColors.ShiftColorsUp();
        break;
    case ColorShift::Down:
        document.LevelColors.ShiftColorsDown();
        break;
    case ColorShift::Reverse:
        document.LevelColors.ReverseColors();
        break;
    }
}

std::string MapInfoText(const ChartDocument& document, int width, int height) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    const DMAT& data = document.DataMatrix;
    if (data.GetRows() > 0 && data.GetColumns() > 0) {
        const PlotFrame& frame = document.Frame;
        text << "Data Matrix\n"
             << "Rows\t=\t" << data.GetRows() << "\n"
             << "Columns\t=\t" << data.GetColumns() << "\n"
             << "Number of elements per plot unit\n"
             << "x-axis\t=\t" << data.GetColumns() / (frame.x2 - frame.x1) << "\n"
             << "y-axis\t=\t" << data.GetRows() / (frame.y2 - frame.y1) << "\n";
    }
    text << "Client area\n"
         << "x-pixels\t=\t" << width << "\n"
         << "y-pixels\t=\t" << height << "\n";
    return text.str();
}

bool MapEditState::SameAs(const MapEditState& other) const {
    const auto sameColors = [](const LRGBColorVect& a, const LRGBColorVect& b) {
        if (a.GetCount() != b.GetCount()) {
            return false;
        }
        for (std::uint32_t i = 0; i < a.GetCount(); ++i) {
            if (a.Level(i) != b.Level(i)) {
                return false;
            }
        }
        return true;
    };
    return SameBoundaries(scale, other.scale) && sameColors(colors, other.colors) &&
           missingColor == other.missingColor && mapType == other.mapType &&
           contourLines == other.contourLines && contourLinesWidth == other.contourLinesWidth &&
           contourLinesColor == other.contourLinesColor && cohortLines == other.cohortLines &&
           legend.IsVisible() == other.legend.IsVisible();
}

MapEditState CaptureEditState(const ChartDocument& document) {
    MapEditState state;
    state.scale = document.ScaleValues;
    state.colors = document.LevelColors;
    state.missingColor = document.MissingColor;
    state.legend = document.Legend;
    state.mapType = document.MapType;
    state.contourLines = document.ContourLines;
    state.contourLinesWidth = document.ContourLinesWidth;
    state.contourLinesColor = document.ContourLinesColor;
    state.cohortLines = document.CohortLines;
    state.frame = document.Frame;
    state.texts = document.Texts;
    state.lines = document.Lines;
    state.rectangles = document.Rectangles;
    return state;
}

void RestoreEditState(ChartDocument& document, const MapEditState& state) {
    const DMAT before = document.ScaleValues;
    document.ScaleValues = state.scale;
    document.LevelColors = state.colors;
    document.MissingColor = state.missingColor;
    document.Legend = state.legend;
    document.MapType = state.mapType;
    document.ContourLines = state.contourLines;
    document.ContourLinesWidth = state.contourLinesWidth;
    document.ContourLinesColor = state.contourLinesColor;
    document.CohortLines = state.cohortLines;
    document.Frame = state.frame;
    document.Texts = state.texts;
    document.Lines = state.lines;
    document.Rectangles = state.rectangles;
    if (!SameBoundaries(before, state.scale)) {
        ClassifyLevels(document.DataMatrix, document.ScaleValues, document.LevelMatrix);
    }
}

MapEdit SmartScaleLevels(ChartDocument& document) {
    if (!SmartScale(document.DataMatrix, document.ScaleValues, document.GetPrompt())) {
        return MapEdit::Unchanged;
    }
    if (MergeRepeatedBoundaries(document.ScaleValues) + 2 != document.LevelColors.GetCount()) {
        const LRGBColor missing = document.LevelColors.GetCount() > 0
                                      ? document.LevelColors.Missing()
                                      : document.MissingColor;
        FitLevelColors(document.LevelColors, document.BoundaryCount(), missing);
    }
    document.Legend.SetTickFormat(
        DistinctLabelFormat(document.ScaleValues, document.Legend.GetTickFormat()));
    return ScaleChanged(document);
}
