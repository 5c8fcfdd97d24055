#include "document/ChartDocument.h"

#include "core/ExceptionReports.h"
#include "core/MListExceptions.h"
#include "core/MListIter.h"
#include "core/Prompt.h"
#include "core/WMException.h"
#include "document/DerivedDefaults.h"
#include "document/DocumentReaders.h"
#include "document/LexisDefaults.h"
#include "document/LoadSteps.h"
#include "document/SafeFile.h"
#include "scale/DistinctLevels.h"
#include "scale/GeographyColorScheme.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"
#include "setup/DemlaSetup.h"

#include <limits>
#include <new>
#include <vector>

namespace {

// Generated maps get a tick every 10 columns and rows, unless that gives
// an axis more labels than it can show side by side: then the first step
// of 1, 2, 5 x 10^n that gives at most kMaxGeneratedTicks.
constexpr std::int32_t kGeneratedTickStep = 10;
constexpr std::uint32_t kMaxGeneratedTicks = 15;

// The code of the reader's error when the setup file cannot be read at all.
constexpr int kUnreadableSetupFile = 2;

void SetTextLines(MList<WText>& lines, const char* text) {
    lines.Flush();
    WText line;
    line.text = text;
    lines.addAtTail(line);
}

void MakeGeneratedTicks(PlotFrame& frame, int axis) {
    std::int32_t step = kGeneratedTickStep;
    for (int factor = 0;; factor = (factor + 1) % 3) {
        frame.MakeIntegerTicks(axis, step);
        if (frame.TickValues(axis).GetCount() <= kMaxGeneratedTicks ||
            step > std::numeric_limits<std::int32_t>::max() / 5) {
            return;
        }
        // 10 -> 20 -> 50 -> 100 -> 200 ...
        step = factor == 1 ? step / 2 * 5 : step * 2;
    }
}

std::vector<double> ValuesOf(MList<double>& list) {
    std::vector<double> values;
    MListIter<double> value(list);
    for (bool more = value.First(); more; more = value.Next()) {
        values.push_back(value.Current());
    }
    return values;
}

// A new map's legend and axes label their values so that no two
// neighbours read the same.
void ChooseDistinctLabelFormats(ChartDocument& document) {
    document.Legend.SetTickFormat(
        DistinctLabelFormat(document.ScaleValues, document.Legend.GetTickFormat()));
    PlotFrame& frame = document.Frame;
    frame.xFormat =
        DistinctLabelFormat(ValuesOf(frame.TickValues(PlotFrame::XAxis)), frame.xFormat);
    frame.yFormat =
        DistinctLabelFormat(ValuesOf(frame.TickValues(PlotFrame::YAxis)), frame.yFormat);
}

} // namespace

ChartDocument::ChartDocument(Prompt& prompt) : prompt_(prompt) {
    SetDefaults();
}

void ChartDocument::SetPath(const std::string& path) {
    if (path != path_) {
        previousPath_ = path_;
        path_ = path;
    }
}

std::uint32_t ChartDocument::BoundaryCount() const {
    return ::BoundaryCount(ScaleValues);
}

void ChartDocument::SetScale(DMAT scale, LRGBColorVect colors) {
    ScaleValues = std::move(scale);
    LevelColors = std::move(colors);
    LevelsFollowScale();
}

void ChartDocument::SetScale(DMAT scale, LRGBColorVect colors, LevelFlags flags) {
    Legend.GetLevelFlags() = std::move(flags);
    SetScale(std::move(scale), std::move(colors));
}

void ChartDocument::SetMissingColor(LRGBColor color) {
    MissingColor = color;
    if (LevelColors.GetCount() > 0) {
        LevelColors.Missing() = color;
    }
}

void ChartDocument::LevelsFollowScale() {
    ClassifyLevels(DataMatrix, ScaleValues, LevelMatrix);
    Legend.SyncWithScale(ScaleValues);
}

LegendPlacementSource ChartDocument::LegendSource() const {
    LegendPlacementSource source;
    source.xOrigin = Frame.xOrigin;
    source.yOrigin = Frame.yOrigin;
    source.xSize = Frame.xSize;
    source.ySize = Frame.ySize;
    source.frameLineWidth = Frame.frameLineWidth;
    source.tickLength = Frame.tickLength;
    source.tickWidth = Frame.tickWidth;
    source.tickMargin = Frame.yLabelGap;
    return source;
}

void ChartDocument::SetDefaults() {
    DataFormat = 0;
    Delimiters = AsciiFormat();
    ValueColumn.clear();
    Table.reset();
    DataMatrix.Clear();
    Derived.reset();
    OriginalMatrix.Clear();
    SecondMatrix.reset();
    CohortLines.reset();
    LevelMatrix.Clear();
    Frame = PlotFrame();
    Legend = MScale();
    Legend.Place(LegendSource());
    MakeDefaultScale(ScaleValues);
    MissingColor = kDefaultMissingColor;
    LevelColors = LRGBColorVect();
    FitLevelColors(LevelColors, BoundaryCount(), MissingColor);
    LevelsFollowScale();
    Texts.List().Flush();
    Lines.List().Flush();
    Rectangles.List().Flush();
    ContourLines = false;
    ContourLinesWidth = 0.0;
    ContourLinesColor = 0;
    MapType = 0;
    PageOrientation = kLandscape;
}

// The first step of every load. Only the data, the levels and the scale
// start afresh; the frame, the legend, the annotations and the map settings
// are replaced by what the file gives as it is read, so that a legend with
// an Appearance of its own stays where it was and a window keeps what the
// file does not say.
void ChartDocument::Reset() {
    DataMatrix.Clear();
    Derived.reset();
    OriginalMatrix.Clear();
    SecondMatrix.reset();
    LevelMatrix.Clear();
    Legend.Place(LegendSource());
    MakeDefaultScale(ScaleValues);
    FitLevelColors(LevelColors, BoundaryCount(), MissingColor);
    LevelsFollowScale();
}

bool ChartDocument::Open(const std::optional<std::string>& path) {
    if (path) {
        SetPath(*path);
    }
    // The file the document is loaded from is the one its next save reads.
    previousPath_ = path_;
    sources_ = Sources();
    // Only a regular file: a device or a pipe may never end, and the
    // reader refuses those below.
    if (std::string bytes; IsReadableFile(path_) && ReadWholeFile(path_, bytes)) {
        sources_.textEncoding = DetectEncoding(bytes);
        sources_.notSetupFile = IsForeignSetupText(bytes);
    }
    try {
        Reset();
        if (!LoadSteps()) {
            return false;
        }
        // Opened as what it is, an empty map, but never silently: saving
        // the map would replace the file with a setup file.
        if (sources_.notSetupFile) {
            prompt_.Show("Warning",
                         path_ + " is not a setup file of " + kSetupType +
                             ": it holds none of the sections of a map's setup file.",
                         PromptIcon::Warning);
        }
        return true;
    } catch (const DemlaSetupException& e) {
        ReportSetupException(prompt_, e);
        // A file that cannot be read at all has nothing to open anyway.
        if (e.GetCode() == kUnreadableSetupFile ||
            !prompt_.Confirm("Setup File Exception", "\r\nPress Ok to open document anyway")) {
            return false;
        }
    } catch (const WMException& e) {
        if (!prompt_.Confirm("Matrix Exception",
                             std::string("Pending loading Data Matrix the following exception "
                                         "received:\r\n") +
                                 e.GetMessage())) {
            return false;
        }
    } catch (const std::bad_alloc&) {
        if (!prompt_.Confirm("Matrix Exception",
                             std::string("Pending loading Data Matrix the following exception "
                                         "received:\r\n") +
                                 WMException(WMException::AllocationFailed).GetMessage())) {
            return false;
        }
    } catch (const LException& e) {
        ReportLException(prompt_, e);
        return false;
    } catch (const MListExceptions& e) {
        ReportLException(prompt_, LException("ChartDocument::Open", e.GetMessage()));
        return false;
    }
    sources_.openedWithErrors = true;
    MakeConsistent();
    ReportScaleCut(*this);
    return true;
}

bool ChartDocument::LoadSteps() {
    DemlaSetup reader;
    if (!ReadSystemSection(*this, reader) || !ReadDataSection(*this, reader) ||
        !ReadDerivedSection(*this, reader)) {
        return false;
    }
    const bool scaleGiven = ReadScaleKeys(*this, reader);
    // Classification cannot tell the levels of a longer scale apart.
    LimitScale(*this);
    if (GeneratedSetup || !scaleGiven) {
        SmartScale(DataMatrix, ScaleValues, prompt_);
    }
    if (GeneratedSetup) {
        MergeRepeatedBoundaries(ScaleValues);
    }

    if (GeneratedSetup) {
        Frame.x1 = 0;
        Frame.x2 = DataMatrix.GetColumns();
        Frame.y1 = 0;
        Frame.y2 = DataMatrix.GetRows();
        MakeGeneratedTicks(Frame, PlotFrame::XAxis);
        MakeGeneratedTicks(Frame, PlotFrame::YAxis);
        SetTextLines(Frame.title, "Main Title");
        SetTextLines(Frame.xLabel, "Columns");
        SetTextLines(Frame.yLabel, "Rows");
        ApplyLexisTableDefaults(*this);
        if (LevelColors.GetCount() != BoundaryCount() + 2) {
            FitLevelColors(LevelColors, BoundaryCount(), MissingColor);
        }
        MakeGeographyColors(LevelColors);
        ApplyDerivedDefaults(*this);
        ChooseDistinctLabelFormats(*this);
    } else {
        Frame.ReadSetup(path_);
        ReportEmptyRanges(*this);
        Legend.Read(reader, path_, LegendSource());
        if (reader.FindSection(path_, "MAP.SCALE")) {
            Legend.ReadScaleSetup(reader, ScaleValues);
        }
        ReadAnnotations(*this, reader);
        ReadPageSetup(*this, reader);
        LevelColors = LRGBColorVect(BoundaryCount() + 2);
        for (std::uint32_t i = 0; i < LevelColors.GetCount(); ++i) {
            LevelColors.Level(i) = 0xFFFFFF;
        }
        LevelColors.Missing() = MissingColor;
        ReadColors(*this, reader);
        ReadMapAttributes(*this, reader);
    }
    LimitScale(*this);
    LevelsFollowScale();
    ReportScaleCut(*this);
    return true;
}

// After an error the user accepted, the document holds what was read up to
// the error; whatever draws it must still find the levels classified, one
// colour per level and the legend's flags in step with the scale.
void ChartDocument::MakeConsistent() {
    try {
        // A matrix whose allocation failed keeps its dimensions without
        // elements: make it plainly empty.
        if (DataMatrix.IsEmpty()) {
            DataMatrix.Clear();
        }
        if (ScaleValues.IsEmpty()) {
            ScaleValues.Clear();
        }
        LimitScale(*this);
        if (!DataMatrix.IsEmpty() && (LevelMatrix.GetRows() != DataMatrix.GetRows() ||
                                      LevelMatrix.GetColumns() != DataMatrix.GetColumns())) {
            ClassifyLevels(DataMatrix, ScaleValues, LevelMatrix);
        }
        if (LevelColors.GetCount() != BoundaryCount() + 2) {
            FitLevelColors(LevelColors, BoundaryCount(), MissingColor);
        }
        Legend.SyncWithScale(ScaleValues);
    } catch (const WMException&) {
        // Only allocation can fail here; the matrices are then left empty
        // and nothing is drawn from them.
        DataMatrix.Clear();
        LevelMatrix.Clear();
    }
}

void ChartDocument::TakeLoaded(ChartDocument&& loaded) {
    DataFormat = loaded.DataFormat;
    Delimiters = loaded.Delimiters;
    ValueColumn = std::move(loaded.ValueColumn);
    Table = std::move(loaded.Table);
    DataMatrix = std::move(loaded.DataMatrix);
    Derived = std::move(loaded.Derived);
    OriginalMatrix = std::move(loaded.OriginalMatrix);
    SecondMatrix = std::move(loaded.SecondMatrix);
    CohortLines = loaded.CohortLines;
    ScaleValues = std::move(loaded.ScaleValues);
    LevelMatrix = std::move(loaded.LevelMatrix);
    LevelColors = std::move(loaded.LevelColors);
    MissingColor = loaded.MissingColor;
    Legend = std::move(loaded.Legend);
    Frame = std::move(loaded.Frame);
    Texts = std::move(loaded.Texts);
    Lines = std::move(loaded.Lines);
    Rectangles = std::move(loaded.Rectangles);
    ContourLines = loaded.ContourLines;
    ContourLinesWidth = loaded.ContourLinesWidth;
    ContourLinesColor = loaded.ContourLinesColor;
    MapType = loaded.MapType;
    PageOrientation = loaded.PageOrientation;
    path_ = std::move(loaded.path_);
    previousPath_ = std::move(loaded.previousPath_);
    sources_ = std::move(loaded.sources_);
}
