#include "document/DocumentReaders.h"

#include "core/NumberText.h"
#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/LoadSteps.h"
#include "document/MapTypes.h"
#include "document/SetupValues.h"
#include "render/Surface.h"
#include "setup/DemlaSetup.h"

#include <cmath>

namespace {

// Annotation and colour elements are read into buffers of these sizes.
constexpr std::size_t kRecordElementBuffer = 1024;
constexpr std::size_t kColorElementBuffer = 256;

void AllWhite(LRGBColorVect& colors) {
    for (std::uint32_t i = 0; i < colors.GetCount(); ++i) {
        colors.Level(i) = 0xFFFFFF;
    }
}

// The cohort line keys: any one of them gives the map cohort lines, the
// keys it lacks keeping what the map had (or the defaults).
void ReadCohortLines(ChartDocument& document, DemlaSetup& reader) {
    CohortLineSettings settings = document.CohortLines.value_or(CohortLineSettings());
    bool any = false;
    if (reader.FindItem("CohortLines")) {
        settings.on = reader.GetBool();
        any = true;
    }
    if (reader.FindItem("CohortLinesStep")) {
        const double step = reader.GetDouble();
        if (step > 0 && std::isfinite(step)) {
            settings.step = step;
        } else {
            document.GetPrompt().Show("Alert", "CohortLinesStep item must be more than 0\n",
                                      PromptIcon::Exclamation);
        }
        any = true;
    }
    if (reader.FindItem("CohortLinesFirst")) {
        const double first = reader.GetDouble();
        if (std::isfinite(first)) {
            settings.first = first;
        }
        any = true;
    }
    if (reader.FindItem("CohortLinesWidth")) {
        settings.width = reader.GetDouble();
        any = true;
    }
    if (reader.FindItem("CohortLinesStyle")) {
        settings.penStyle = TruncateToInt32(reader.GetDouble());
        any = true;
    }
    if (reader.FindItem("CohortLinesColor")) {
        settings.color = ColorFromDouble(reader.GetDouble());
        any = true;
    }
    if (any) {
        document.CohortLines = settings;
    }
}

} // namespace

void ReadColors(ChartDocument& document, DemlaSetup& reader) {
    LRGBColorVect& colors = document.LevelColors;
    if (!reader.FindSection(document.GetPath(), "COLORS") || !reader.FindItem("MapColors")) {
        AllWhite(colors);
        return;
    }
    const std::uint32_t size = reader.GetSize();
    const std::uint32_t count = size < colors.GetCount() ? size : colors.GetCount();
    ElementReader elements(reader, kColorElementBuffer);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!elements.Next()) {
            document.GetPrompt().Show("Error", "Unable colors", PromptIcon::Exclamation);
            break;
        }
        colors.Level(i) = ColorFromDouble(elements.Value());
    }
    if (reader.FindItem("MapMissingColor")) {
        document.MissingColor = ColorFromDouble(reader.GetDouble());
        if (!colors.IsEmpty()) {
            colors.Missing() = document.MissingColor;
        }
    }
}

void ReadMapAttributes(ChartDocument& document, DemlaSetup& reader) {
    Prompt& prompt = document.GetPrompt();
    if (reader.FindSection(document.GetPath(), "MAP.ATTRIBUTES")) {
        if (reader.FindItem("ContourLines")) {
            document.ContourLines = reader.GetBool();
        }
        if (reader.FindItem("ContourLinesWidth")) {
            document.ContourLinesWidth = reader.GetDouble();
        }
        if (reader.FindItem("ContourLinesColor")) {
            document.ContourLinesColor = ColorFromDouble(reader.GetDouble());
        }
        ReadCohortLines(document, reader);
        if (reader.FindItem("DemlaMapType")) {
            const char* name = reader.GetLiteral();
            const std::optional<std::uint32_t> type = FindMapType(name != nullptr ? name : "");
            if (type) {
                document.MapType = *type;
            } else {
                prompt.Show("Alert", "DemlaMapType item has an invalid value\n",
                            PromptIcon::Exclamation);
            }
        }
    }
    if (IsTriangleMap(document.MapType) && document.DataMatrix.GetColumns() % 2 == 1) {
        prompt.Show("Error", "Number of columns of Data Matrix \r\n must be even for triangle maps "
                             "\r\n Demla Map element set to rectangle");
        document.MapType = RectangleMap;
    }
}

void ReadFrameRecord(DemlaSetup& reader, FrameRecord& target) {
    ElementReader elements(reader, kRecordElementBuffer);
    if (!elements.Next()) {
        return;
    }
    target.borderWidth = elements.Value();
    if (!elements.Next()) {
        return;
    }
    target.penStyle = elements.Integer();
    if (!elements.Next()) {
        return;
    }
    target.penColor = ColorFromDouble(elements.Value());
    if (!elements.Next()) {
        return;
    }
    const std::string& fill = elements.Text();
    target.fillStyle = fill == "trans"     ? BrushStyle::Hollow
                       : fill == "hatched" ? BrushStyle::Hatched
                                           : BrushStyle::Solid;
    if (!elements.Next()) {
        return;
    }
    target.fillColor = ColorFromDouble(elements.Value());
    if (!elements.Next()) {
        return;
    }
    target.hatchStyle = elements.Integer();
}

void ReportOpenError(Prompt& prompt, const std::string& name) {
    prompt.Show("Error", "Unable open file " + name + "\n", PromptIcon::Exclamation);
}

int FindInList(std::span<const std::string_view> list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IsForeignSetupText(std::string_view bytes) {
    if (bytes.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos) {
        return false;
    }
    for (const SetupSectionSpan& section : ListSetupSections(bytes)) {
        if (FindInList(kKnownSetupSections, section.name) >= 0) {
            return false;
        }
    }
    return true;
}
