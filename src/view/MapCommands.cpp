#include "view/MapCommands.h"

#include "core/FormatNumber.h"
#include "document/ChartDocument.h"
#include "scale/DistinctLevels.h"
#include "scale/MapScale.h"
#include "scale/ScaleManipulator.h"
#include "scale/ScaleRules.h"

#include <sstream>

namespace {

double Boundary(const ChartDocument& document, std::uint32_t i) {
    return document.ScaleValues.Get(i, 0);
}

// Runs an edit of the boundaries and colours on copies; the document takes
// them (and classifies the map again) only when the edit made a change.
template <class Change>
MapEdit EditScale(ChartDocument& document, Change change) {
    DMAT scale = document.ScaleValues;
    LRGBColorVect colors = document.LevelColors;
    if (!change(scale, colors)) {
        return MapEdit::Unchanged;
    }
    document.SetScale(std::move(scale), std::move(colors));
    return MapEdit::Changed;
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
    if (!BoundariesRise(document.ScaleValues, i, value)) {
        return RefuseEqualBoundaries(document, value);
    }
    return EditScale(document, [&](DMAT& scale, LRGBColorVect&) {
        scale.Set(i, 0, value);
        return true;
    });
}

MapEdit Split(ChartDocument& document, std::uint32_t k) {
    return EditScale(document, [&](DMAT& scale, LRGBColorVect& colors) {
        return ScaleManipulator(scale, colors, document.GetPrompt()).SplitLevel(k);
    });
}

MapEdit Delete(ChartDocument& document, std::uint32_t k) {
    return EditScale(document, [&](DMAT& scale, LRGBColorVect& colors) {
        return ScaleManipulator(scale, colors, document.GetPrompt()).DeleteLevel(k);
    });
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
    return EditScale(document, [&](DMAT& scale, LRGBColorVect& colors) {
        return ScaleManipulator(scale, colors, document.GetPrompt())
            .SplitLevelAt(cell.level, cell.value);
    });
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

MapEdit SmartScaleLevels(ChartDocument& document) {
    return EditScale(document, [&](DMAT& scale, LRGBColorVect& colors) {
        if (!SmartScale(document.DataMatrix, scale, document.GetPrompt())) {
            return false;
        }
        if (MergeRepeatedBoundaries(scale) + 2 != colors.GetCount()) {
            const LRGBColor missing =
                colors.GetCount() > 0 ? colors.Missing() : document.MissingColor;
            FitLevelColors(colors, BoundaryCount(scale), missing);
        }
        document.Legend.SetTickFormat(DistinctLabelFormat(scale, document.Legend.GetTickFormat()));
        return true;
    });
}
