#include "cli/DocumentJson.h"

#include "cli/Json.h"
#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "document/ChartDocument.h"
#include "document/DerivedDefaults.h"
#include "document/MapTypes.h"
#include "document/NewSetup.h"

#include <vector>

namespace {

const char* AnswerName(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return "ok";
    case PromptAnswer::Cancel:
        return "cancel";
    case PromptAnswer::Yes:
        return "yes";
    case PromptAnswer::No:
        return "no";
    }
    return "ok";
}

template <typename T, typename Visit>
void ForEachItem(MList<T>& list, Visit visit) {
    const std::uint32_t count = list.GetCount();
    list.GoHead();
    for (std::uint32_t i = 0; i < count; ++i) {
        visit(*list.GetCurrent());
        list.GoNext();
    }
}

void Point(JsonWriter& json, const LPoint& point) {
    json.BeginArray().Number(point.GetX()).Number(point.GetY()).EndArray();
}

void Font(JsonWriter& json, const std::optional<FontRecord>& font) {
    if (!font) {
        json.Null();
        return;
    }
    static constexpr const char* kNames[FontRecord::kNumberCount] = {
        "height",         "width",     "escapement",      "orientation", "weight",
        "italic",         "underline", "strikeout",       "charset",     "out_precision",
        "clip_precision", "quality",   "pitch_and_family"};
    json.BeginObject();
    for (int i = 0; i < FontRecord::kNumberCount; ++i) {
        json.Key(kNames[i]).Integer(font->GetNumber(i));
    }
    json.Key("face").Text(font->GetFaceName());
    json.EndObject();
}

void Rectangle(JsonWriter& json, const LRectangle& rectangle) {
    const FrameRecord record = rectangle.GetFrameRecord();
    json.BeginObject();
    json.Key("a");
    Point(json, rectangle.GetA());
    json.Key("b");
    Point(json, rectangle.GetB());
    json.Key("page").Bool(rectangle.GetA().GetXAttribute() == PageUnits);
    json.Key("width").Number(record.borderWidth);
    json.Key("style").Integer(record.penStyle);
    json.Key("color").Integer(record.penColor);
    json.Key("fill_style").Integer(record.fillStyle);
    json.Key("fill_color").Integer(record.fillColor);
    json.Key("hatch").Integer(record.hatchStyle);
    json.EndObject();
}

void Messages(JsonWriter& json, const CliPrompt& prompt) {
    json.Key("messages").BeginArray();
    for (const CliPrompt::Message& message : prompt.Messages()) {
        json.BeginObject();
        json.Key("caption").Text(message.caption);
        json.Key("text").Text(message.text);
        json.Key("answer");
        if (message.answer) {
            json.Text(AnswerName(*message.answer));
        } else {
            json.Null();
        }
        json.EndObject();
    }
    json.EndArray();
}

std::uint64_t MissingCells(const DMAT& data) {
    if (data.IsEmpty()) {
        return 0;
    }
    std::uint64_t missing = 0;
    const std::size_t count = static_cast<std::size_t>(data.GetRows()) * data.GetColumns();
    for (std::size_t i = 0; i < count; ++i) {
        missing += DMAT::IsMissingValue(data.Data()[i]) ? 1 : 0;
    }
    return missing;
}

std::string ByteText(char byte) {
    return std::string(1, byte);
}

void Table(JsonWriter& json, const LexisTable& table) {
    json.Key("table").BeginObject();
    json.Key("title").Text(table.header.title);
    json.Key("layout").Text(LexisLayoutName(table.header.layout));
    json.Key("value_column").Text(table.valueColumn);
    json.Key("value_columns").BeginArray();
    for (const std::string& name : table.header.ValueColumns()) {
        json.Text(name);
    }
    json.EndArray();
    json.Key("period").Text(table.header.PeriodName());
    json.Key("periods")
        .BeginArray()
        .Integer(table.firstPeriod)
        .Integer(table.lastPeriod)
        .EndArray();
    json.Key("ages").BeginArray().Integer(table.firstAge).Integer(table.lastAge).EndArray();
    json.EndObject();
}

// Only what the operation reads, as saving writes only that.
void Derived(JsonWriter& json, const DerivedSetup& derived) {
    json.Key("derived").BeginObject();
    json.Key("operation").Text(DeriveOperationName(derived.operation));
    if (NeedsSecondMatrix(derived.operation)) {
        if (derived.secondName) {
            json.Key("second_matrix").Text(*derived.secondName);
        }
        json.Key("second_format").Integer(derived.secondFormat);
        if (const std::optional<AsciiFormat>& format = derived.secondDelimiters) {
            json.Key("second_ascii_format")
                .Text(AsciiFormatValue(*format).value_or("{ comma, crlf }"));
        }
        json.Key("second_column").Text(derived.secondColumn);
    } else if (derived.operation == DeriveOperation::Improvement) {
        json.Key("lag").Integer(derived.lag);
    } else {
        json.Key("half_width").Integer(derived.halfWidth);
    }
    json.EndObject();
}

void Data(JsonWriter& json, const ChartDocument& document) {
    const DMAT& data = document.DataMatrix;
    const AsciiFormat& format = document.Delimiters;
    json.Key("data").BeginObject();
    json.Key("format").Integer(document.DataFormat);
    json.Key("format_name").Text(DataFormatName(document.DataFormat));
    json.Key("rows").Integer(data.IsEmpty() ? 0 : data.GetRows());
    json.Key("columns").Integer(data.IsEmpty() ? 0 : data.GetColumns());
    json.Key("missing").Integer(static_cast<std::int64_t>(MissingCells(data)));
    json.Key("min").Number(data.Min());
    json.Key("max").Number(data.Max());
    json.Key("field").Text(format.fieldKind == AsciiFormat::Field::Comma    ? "comma"
                           : format.fieldKind == AsciiFormat::Field::Spaces ? "spaces"
                                                                            : "custom");
    json.Key("field_char").Text(ByteText(format.customField));
    json.Key("record").Text(format.recordKind == AsciiFormat::Record::Crlf ? "crlf" : "custom");
    json.Key("record_char").Text(ByteText(format.customRecord));
    if (document.Table) {
        Table(json, *document.Table);
    }
    if (document.Derived) {
        Derived(json, *document.Derived);
    }
    json.EndObject();
}

void Scale(JsonWriter& json, const ChartDocument& document) {
    const std::uint32_t count = document.BoundaryCount();
    json.Key("scale").BeginObject();
    json.Key("boundaries").BeginArray();
    for (std::uint32_t i = 0; i < count; ++i) {
        json.Number(document.ScaleValues.Get(i, 0));
    }
    json.EndArray();
    json.Key("level_colors").BeginArray();
    for (std::uint32_t i = 0; i < document.LevelColors.GetCount(); ++i) {
        json.Integer(document.LevelColors.Level(i));
    }
    json.EndArray();
    json.Key("missing_color").Integer(document.MissingColor);
    // Cells per level, missing cells (level L + 1) last.
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(count) + 2, 0);
    const WMAT& levels = document.LevelMatrix;
    if (!levels.IsEmpty()) {
        const std::size_t cells = static_cast<std::size_t>(levels.GetRows()) * levels.GetColumns();
        for (std::size_t i = 0; i < cells; ++i) {
            const std::uint16_t level = levels.Data()[i];
            if (level < counts.size()) {
                ++counts[level];
            }
        }
    }
    json.Key("level_counts").BeginArray();
    for (const std::uint64_t n : counts) {
        json.Integer(static_cast<std::int64_t>(n));
    }
    json.EndArray();
    json.EndObject();
}

void Legend(JsonWriter& json, const ChartDocument& document) {
    const MScale& legend = document.Legend;
    const bool fontGiven = (legend.GetPlacementFlags() & MScale::kLabelFontGiven) != 0;
    json.Key("legend").BeginObject();
    json.Key("xOrigin").Integer(legend.GetXOrigin());
    json.Key("yOrigin").Integer(legend.GetYOrigin());
    json.Key("xSize").Integer(legend.GetXSize());
    json.Key("ySize").Integer(legend.GetYSize());
    json.Key("FrameLineWidth").Integer(legend.GetFrameLineWidth());
    json.Key("TickLength").Integer(legend.GetTickLength());
    json.Key("TickWidth").Integer(legend.GetTickWidth());
    json.Key("TickMargin").Integer(legend.GetTickMargin());
    json.Key("ScaleMargin").Integer(legend.GetScaleMargin());
    json.Key("TickFormat").Text(legend.GetTickFormat());
    json.Key("Appearance").Integer(legend.GetAppearance());
    json.Key("Visible").Bool(legend.IsVisible());
    json.Key("linked").Bool((legend.GetPlacementFlags() & MScale::kExplicitPosition) == 0);
    json.Key("label_font");
    Font(json, fontGiven ? std::optional<FontRecord>(legend.GetLabelFont()) : std::nullopt);
    json.Key("flags").BeginArray();
    const LevelFlags& flags = legend.GetLevelFlags();
    for (std::uint32_t i = 0; i < flags.GetCount(); ++i) {
        json.Integer(flags[flags.GetLowerBound() + i]);
    }
    json.EndArray();
    json.EndObject();
}

void Ticks(JsonWriter& json, const char* key, MList<WText>& labels, MList<double>& values) {
    std::vector<double> numbers;
    ForEachItem(values, [&](double value) { numbers.push_back(value); });
    json.Key(key).BeginArray();
    std::size_t i = 0;
    ForEachItem(labels, [&](const WText& label) {
        json.BeginObject();
        json.Key("label").Text(label.text);
        json.Key("value").Number(i < numbers.size() ? numbers[i] : 0.0);
        json.Key("font");
        Font(json, label.font);
        json.EndObject();
        ++i;
    });
    json.EndArray();
}

void TextLines(JsonWriter& json, const char* key, MList<WText>& lines) {
    json.Key(key).BeginArray();
    ForEachItem(lines, [&](const WText& line) {
        json.BeginObject();
        json.Key("text").Text(line.text);
        json.Key("color").Integer(line.textColor);
        json.Key("bk_color").Integer(line.bkColor);
        json.Key("font");
        Font(json, line.font);
        json.EndObject();
    });
    json.EndArray();
}

void Frame(JsonWriter& json, ChartDocument& document) {
    PlotFrame& frame = document.Frame;
    json.Key("frame").BeginObject();
    json.Key("xOrigin").Integer(frame.xOrigin);
    json.Key("yOrigin").Integer(frame.yOrigin);
    json.Key("xSize").Integer(frame.xSize);
    json.Key("ySize").Integer(frame.ySize);
    json.Key("FrameLineWidth").Integer(frame.frameLineWidth);
    json.Key("TextFrameHeight").Integer(frame.textFrameHeight);
    json.Key("TickLength").Integer(frame.tickLength);
    json.Key("TickWidth").Integer(frame.tickWidth);
    json.Key("TickMargin")
        .BeginArray()
        .Integer(frame.xLabelGap)
        .Integer(frame.xLabelShift)
        .Integer(frame.yLabelGap)
        .Integer(frame.yLabelShift)
        .EndArray();
    json.Key("TitleMargin").Integer(frame.titleMargin);
    json.Key("xLabelMargin").Integer(frame.xLabelMargin);
    json.Key("yLabelMargin").Integer(frame.yLabelMargin);
    json.Key("x_range").BeginArray().Number(frame.x1).Number(frame.x2).EndArray();
    json.Key("y_range").BeginArray().Number(frame.y1).Number(frame.y2).EndArray();
    json.Key("x_tick_count").Integer(frame.xTickCount);
    json.Key("y_tick_count").Integer(frame.yTickCount);
    json.Key("xFormat").Text(frame.xFormat);
    json.Key("yFormat").Text(frame.yFormat);
    Ticks(json, "x_ticks", frame.xTickLabels, frame.xTickValues);
    Ticks(json, "y_ticks", frame.yTickLabels, frame.yTickValues);
    TextLines(json, "title", frame.title);
    TextLines(json, "x_label", frame.xLabel);
    TextLines(json, "y_label", frame.yLabel);
    json.Key("xTicksSetup").Integer(frame.xTicksSetup);
    json.Key("yTicksSetup").Integer(frame.yTicksSetup);
    json.Key("xGridLines").Bool(frame.xGridLines);
    json.Key("yGridLines").Bool(frame.yGridLines);
    json.Key("xGridLineWidth").Integer(frame.xGridLineWidth);
    json.Key("yGridLineWidth").Integer(frame.yGridLineWidth);
    json.Key("xGridLineColor").Integer(frame.xGridLineColor);
    json.Key("yGridLineColor").Integer(frame.yGridLineColor);
    json.Key("xGridLineType").Integer(frame.xGridLineType);
    json.Key("yGridLineType").Integer(frame.yGridLineType);
    json.Key("Visible").Bool(frame.visible);
    json.Key("FrameRectangleVisible").Bool(frame.frameRectangleVisible != 0);
    json.EndObject();
}

void Annotations(JsonWriter& json, ChartDocument& document) {
    json.Key("annotations").BeginObject();
    json.Key("texts").BeginArray();
    ForEachItem(document.Texts.List(), [&](const LText& text) {
        json.BeginObject();
        json.Key("text").Text(text.GetText().value_or(""));
        json.Key("a");
        Point(json, text.GetA());
        json.Key("b");
        Point(json, text.GetB());
        json.Key("page").Bool(text.GetA().GetXAttribute() == PageUnits);
        json.Key("color").Integer(text.GetTextColor());
        json.Key("bk_color").Integer(text.GetBkColor());
        json.Key("opaque").Bool(text.GetBkMode() == BackgroundMode::Opaque);
        json.Key("h_align").Integer(text.GetHorizontalAlignment());
        json.Key("v_align").Integer(text.GetVerticalAlignment());
        json.Key("font");
        Font(json, text.GetFont());
        json.Key("frame");
        if (text.GetFrame() != nullptr) {
            Rectangle(json, *text.GetFrame());
        } else {
            json.Null();
        }
        json.EndObject();
    });
    json.EndArray();
    json.Key("lines").BeginArray();
    ForEachItem(document.Lines.List(), [&](const LLine& line) {
        json.BeginObject();
        json.Key("a");
        Point(json, line.GetA());
        json.Key("b");
        Point(json, line.GetB());
        json.Key("page").Bool(line.GetA().GetXAttribute() == PageUnits);
        json.Key("width").Number(line.GetWidth());
        json.Key("style").Integer(line.GetPenStyle());
        json.Key("color").Integer(line.GetColor());
        json.EndObject();
    });
    json.EndArray();
    json.Key("rectangles").BeginArray();
    ForEachItem(document.Rectangles.List(),
                [&](const LRectangle& rectangle) { Rectangle(json, rectangle); });
    json.EndArray();
    json.EndObject();
}

} // namespace

std::string DocumentJson(const std::string& path, bool opened, ChartDocument& document,
                         const CliPrompt& prompt) {
    JsonWriter json(document.GetSources().textEncoding);
    json.BeginObject();
    json.Key("file").Path(path);
    json.Key("opened").Bool(opened);
    Messages(json, prompt);
    if (opened) {
        Data(json, document);
        Scale(json, document);
        json.Key("map").BeginObject();
        json.Key("type").Text(MapTypeName(document.MapType));
        json.Key("contour_lines").Bool(document.ContourLines);
        json.Key("contour_width").Number(document.ContourLinesWidth);
        json.Key("contour_color").Integer(document.ContourLinesColor);
        if (const std::optional<CohortLineSettings>& cohorts = document.CohortLines) {
            json.Key("cohort_lines").BeginObject();
            json.Key("on").Bool(cohorts->on);
            json.Key("step").Number(cohorts->step);
            json.Key("first").Number(cohorts->first);
            json.Key("width").Number(cohorts->width);
            json.Key("style").Integer(cohorts->penStyle);
            json.Key("color").Integer(cohorts->color);
            json.EndObject();
        }
        json.EndObject();
        json.Key("page").BeginObject();
        json.Key("orientation")
            .Text(document.PageOrientation == kPortrait ? "Portrait" : "Landscape");
        json.EndObject();
        Legend(json, document);
        Frame(json, document);
        Annotations(json, document);
        // What the texts above were read as.
        json.Key("encoding").Text(EncodingName(document.GetSources().textEncoding));
    }
    json.EndObject();
    return json.Result() + "\n";
}

std::string DocumentSummary(const std::string& path, bool opened, ChartDocument& document) {
    std::string text = "file: " + path + "\n";
    text += std::string("opened: ") + (opened ? "yes" : "no") + "\n";
    if (!opened) {
        return text;
    }
    const DMAT& data = document.DataMatrix;
    const std::string_view name = DataFormatName(document.DataFormat);
    const std::string format = document.DataFormat == kGaussFormat ? "Gauss"
                               : name.empty()                      ? "not set"
                                                                   : std::string(name);
    text += "data: " + format + ", " + std::to_string(data.IsEmpty() ? 0 : data.GetRows()) + " x " +
            std::to_string(data.IsEmpty() ? 0 : data.GetColumns()) + ", " +
            std::to_string(MissingCells(data)) + " missing, from " +
            FormatDoubleC("%g", data.Min()) + " to " + FormatDoubleC("%g", data.Max()) + "\n";
    if (const std::optional<LexisTable>& table = document.Table) {
        text += "table: " + table->valueColumn + " in " +
                std::string(LexisLayoutName(table->header.layout)) + ", " +
                table->header.PeriodName() + " " + std::to_string(table->firstPeriod) + "-" +
                std::to_string(table->lastPeriod) + ", Age " + std::to_string(table->firstAge) +
                "-" + std::to_string(table->lastAge) + "\n";
    }
    if (document.Derived) {
        text += "derived: " + DerivedTitle(document) + "\n";
    }
    text += "scale: " + std::to_string(document.BoundaryCount()) + " boundaries:";
    for (std::uint32_t i = 0; i < document.BoundaryCount(); ++i) {
        text += " " + FormatNumber(document.ScaleValues.Get(i, 0), document.Legend.GetTickFormat());
    }
    text += "\n";
    text += "map: " + std::string(MapTypeName(document.MapType)) +
            (document.ContourLines ? ", contour lines" : "") +
            (document.CohortLines && document.CohortLines->on ? ", cohort lines" : "") + "\n";
    text += std::string("page: ") +
            (document.PageOrientation == kPortrait ? "Portrait" : "Landscape") + "\n";
    text += "annotations: " + std::to_string(document.Texts.List().GetCount()) + " texts, " +
            std::to_string(document.Lines.List().GetCount()) + " lines, " +
            std::to_string(document.Rectangles.List().GetCount()) + " rectangles\n";
    return text;
}
