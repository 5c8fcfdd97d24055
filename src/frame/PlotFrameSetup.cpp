// Reading and writing the [PLOT.FRAME] section of a setup file.

#include "frame/PlotFrame.h"

#include "core/MListIter.h"
#include "core/NumberText.h"
#include "setup/DemlaSetup.h"
#include "setup/FontValue.h"
#include "setup/SetupText.h"
#include "setup/SetupWordIterator.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSection = "PLOT.FRAME";

// The step of integer ticks when xTicks names none.
constexpr std::int32_t kDefaultTickStep = 20;

// Ticks-setup words by the value of their two bits (none, first side,
// second side, both).
using SetupWords = std::array<const char*, 4>;
constexpr SetupWords kXTicksWords = {"NoTicks", "BottomTicks", "TopTicks", "BothTicks"};
constexpr SetupWords kXLabelsWords = {"NoLabels", "BottomLabels", "TopLabels", "BothLabels"};
constexpr SetupWords kYTicksWords = {"NoTicks", "LeftTicks", "RightTicks", "BothTicks"};
constexpr SetupWords kYLabelsWords = {"NoLabels", "LeftLabels", "RightLabels", "BothLabels"};

// A text list of the frame and the prefix of its per-item font keys.
struct FontList {
    const char* prefix;
    MList<WText>& list;
};

std::array<FontList, 5> FontLists(PlotFrame& frame) {
    return {{{"Title", frame.title},
             {"xLabel", frame.xLabel},
             {"yLabel", frame.yLabel},
             {"xTicks", frame.xTickLabels},
             {"yTicks", frame.yTickLabels}}};
}

// The number of numeric inner ticks that the third element k of xTicks
// asks for: -k when k is negative, within the limit of automatic ticks.
std::int32_t InnerTickCount(std::int32_t k) {
    if (k >= 0) {
        return 0;
    }
    // -k in 64 bits: the most negative k has no 32-bit negation.
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(-std::int64_t{k}, PlotFrame::kMaxAutomaticTicks));
}

void ReadInteger(DemlaSetup& reader, const char* key, std::int32_t& field) {
    if (reader.FindItem(key)) {
        field = TruncateToInt32(reader.GetDouble(0, 0));
    }
}

void ReadColor(DemlaSetup& reader, const char* key, std::uint32_t& field) {
    if (reader.FindItem(key)) {
        field = static_cast<std::uint32_t>(TruncateToInt32(reader.GetDouble(0, 0)));
    }
}

// A plot side must have a length: 0 or less keeps the previous one.
void ReadLength(DemlaSetup& reader, const char* key, std::int32_t& field) {
    if (reader.FindItem(key)) {
        const std::int32_t value = TruncateToInt32(reader.GetDouble(0, 0));
        if (value > 0) {
            field = value;
        }
    }
}

void ReadFlag(DemlaSetup& reader, const char* key, bool& field) {
    if (reader.FindItem(key)) {
        field = reader.GetBool(0, 0);
    }
}

void ReadFlag(DemlaSetup& reader, const char* key, std::int32_t& field) {
    if (reader.FindItem(key)) {
        field = reader.GetBool(0, 0) ? 1 : 0;
    }
}

void ReadFormat(DemlaSetup& reader, const char* key, std::string& format) {
    if (reader.FindItem(key)) {
        if (const char* code = reader.GetLiteral(0, 0)) {
            format.assign(std::string_view(code).substr(0, PlotFrame::kMaxFormatLength));
        }
    }
}

// Reads elements of the loaded item in reading order, walking its value
// once. The reader's getters walk the value from its start for every
// element, which would make a long list quadratic. Elements must be asked
// for in increasing order; the types are checked and the errors raised as
// the getters do.
class ElementWalk {
public:
    explicit ElementWalk(DemlaSetup& reader) : reader_(reader) { reader_.ItemIterator(nullptr); }

    // The string at (row, column); empty when the value holds no such element.
    std::string String(std::uint32_t row, std::uint32_t column) {
        if (!MoveTo(row, column)) {
            return std::string();
        }
        reader_.CheckElementType(ttString);
        std::string text = token_;
        Unescape(text);
        return text;
    }

    // The number at (row, column); 0 when the value holds no such element.
    double Number(std::uint32_t row, std::uint32_t column) {
        if (!MoveTo(row, column)) {
            return 0.0;
        }
        reader_.CheckElementType(ttNumber);
        return ParseDouble(token_.data(), token_.data() + token_.size());
    }

private:
    bool MoveTo(std::uint32_t row, std::uint32_t column) {
        std::uint64_t index = 0;
        if (!IndexOf(row, column, index)) {
            reader_.GetElement(row, column); // raises the reader's error
            return false;
        }
        while (!exhausted_ && read_ <= index) {
            exhausted_ = !reader_.ItemIterator(&token_);
            ++read_;
        }
        return !exhausted_;
    }

    // The position of (row, column) in reading order, as GetElement finds it.
    bool IndexOf(std::uint32_t row, std::uint32_t column, std::uint64_t& index) const {
        switch (reader_.GetContainerType()) {
        case ctScalar:
            index = 0;
            return row == 0 && column == 0;
        case ctVector:
            index = row != 0 ? row : column;
            return (row == 0 || column == 0) && index < reader_.GetSize();
        case ctMatrix:
            index = std::uint64_t{row} * reader_.GetColumns() + column;
            return row < reader_.GetRows() && column < reader_.GetColumns();
        default:
            return false;
        }
    }

    DemlaSetup& reader_;
    std::string token_;
    std::uint64_t read_ = 0; // elements read so far
    bool exhausted_ = false;
};

// One line per element; an empty value gives no line.
void ReadTextList(DemlaSetup& reader, const char* key, MList<WText>& list) {
    list.Flush();
    if (!reader.FindItem(key) || reader.GetContainerType() == ctEmpty) {
        return;
    }
    const std::uint32_t count = reader.GetSize();
    ElementWalk elements(reader);
    for (std::uint32_t i = 0; i < count; ++i) {
        WText line;
        line.text = elements.String(i, 0);
        list.addAtTail(line);
    }
}

// xTicks = {low high [k]}. Returns k: the step of integer ticks when
// positive, minus the number of numeric inner ticks otherwise.
// A range that holds no values (or none a page can show) is no range: the
// axis keeps what it has without the item, and unusable notes what the
// file gave.
std::int32_t ReadRange(DemlaSetup& reader, const char* key, double& low, double& high,
                       std::int32_t& tickCount, std::optional<EmptyRange>& unusable) {
    std::int32_t k = kDefaultTickStep;
    if (!reader.FindItem(key)) {
        return k;
    }
    const double givenLow = reader.GetDouble(0, 0);
    const double givenHigh = reader.GetDouble(1, 0);
    if (!PlotFrame::IsUsableRange(givenLow, givenHigh)) {
        unusable = EmptyRange{givenLow, givenHigh};
        return k;
    }
    low = givenLow;
    high = givenHigh;
    if (reader.GetSize() >= 3) {
        k = TruncateToInt32(reader.GetDouble(2, 0));
        tickCount = InnerTickCount(k);
    }
    return k;
}

// The explicit tick list of an axis, one tick per row: a label and a value,
// or a label alone whose leading number is the value. Without a list the
// ticks are made from k.
void ReadTickList(DemlaSetup& reader, PlotFrame& frame, int axis, std::int32_t k) {
    const bool isX = axis == PlotFrame::XAxis;
    MList<WText>& labels = frame.TickLabels(axis);
    MList<double>& values = frame.TickValues(axis);
    if (reader.FindItem(isX ? "xTicksList" : "yTicksList")) {
        labels.Flush();
        values.Flush();
        // "{ }" (or no value) is a list without ticks.
        if (reader.GetContainerType() == ctEmpty || !reader.GetElement(0, 0)) {
            return;
        }
        const bool hasValues = reader.GetColumns() >= 2;
        const std::uint32_t rows = reader.GetRows();
        ElementWalk elements(reader);
        for (std::uint32_t i = 0; i < rows; ++i) {
            WText label;
            label.text = elements.String(i, 0);
            const double value =
                hasValues ? elements.Number(i, 1)
                          : ParseDouble(label.text.data(), label.text.data() + label.text.size());
            // Both lists grow together, even when a later row fails.
            labels.addAtTail(label);
            values.addAtTail(value);
        }
        return;
    }
    if (k >= 1) {
        frame.MakeIntegerTicks(axis, k);
        return;
    }
    std::int32_t& count = isX ? frame.xTickCount : frame.yTickCount;
    count = InnerTickCount(k);
    PlotFrame::MakeNumericTicks(isX ? frame.x1 : frame.y1, isX ? frame.x2 : frame.y2, count, labels,
                                values, isX ? frame.xFormat : frame.yFormat);
}

// A scalar sets both gaps and clears both shifts; a vector sets the x gap,
// x shift, y gap and y shift, as far as it goes.
void ReadTickMargin(DemlaSetup& reader, PlotFrame& frame) {
    if (!reader.FindItem("TickMargin")) {
        return;
    }
    if (reader.GetContainerType() == ctScalar) {
        const std::int32_t gap = TruncateToInt32(reader.GetDouble(0, 0));
        frame.xLabelGap = frame.yLabelGap = gap;
        frame.xLabelShift = frame.yLabelShift = 0;
    } else if (reader.GetContainerType() == ctVector) {
        std::int32_t* const fields[] = {&frame.xLabelGap, &frame.xLabelShift, &frame.yLabelGap,
                                        &frame.yLabelShift};
        const std::uint32_t count = std::min<std::uint32_t>(reader.GetSize(), 4);
        for (std::uint32_t i = 0; i < count; ++i) {
            *fields[i] = TruncateToInt32(reader.GetDouble(i, 0));
        }
    }
}

// The item number n of a key "<prefix>Font.<n>", written as the decimal
// text of n exactly (the key of item 3 is "TitleFont.3", not
// "TitleFont.03"); none when the word is no such key.
std::optional<std::uint32_t> FontItemNumber(std::string_view word, std::string_view prefix) {
    constexpr std::string_view kFont = "Font.";
    if (!word.starts_with(prefix) || !word.substr(prefix.size()).starts_with(kFont)) {
        return std::nullopt;
    }
    const std::string_view digits = word.substr(prefix.size() + kFont.size());
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint32_t n = 0;
    for (const char c : digits) {
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return n;
}

// Gives item n of each text list the font of "<prefix>Font.<n>" when the
// section has that key (its first item of the name). The section is walked
// once for all keys: looking each key up on its own would scan the whole
// section once per tick.
void ReadFonts(DemlaSetup& reader, PlotFrame& frame) {
    std::array<FontList, 5> lists = FontLists(frame);
    std::array<std::vector<std::optional<SetupWordIterator>>, 5> found;
    for (std::size_t l = 0; l < lists.size(); ++l) {
        found[l].resize(lists[l].list.GetCount());
    }
    SetupWordIterator words(reader.GetSectionText());
    while (words.Next()) {
        for (std::size_t l = 0; l < lists.size(); ++l) {
            const std::optional<std::uint32_t> n = FontItemNumber(words.GetWord(), lists[l].prefix);
            if (n && *n < found[l].size() && !found[l][*n]) {
                found[l][*n] = words;
            }
        }
    }
    for (std::size_t l = 0; l < lists.size(); ++l) {
        MListIter<WText> item(lists[l].list);
        std::uint32_t n = 0;
        for (bool more = item.First(); more; more = item.Next(), ++n) {
            if (!found[l][n]) {
                continue;
            }
            reader.ParseItem(*found[l][n],
                             std::string(lists[l].prefix) + "Font." + std::to_string(n));
            FontRecord font;
            ReadFontValue(reader, font);
            item.Current().font = font;
        }
    }
}

// {ticks word[, labels word[, In or Out]]}; a word not known leaves its bits.
void ReadTicksSetup(DemlaSetup& reader, const char* key, const SetupWords& ticksWords,
                    const SetupWords& labelsWords, std::int32_t& bits) {
    if (!reader.FindItem(key)) {
        return;
    }
    const auto setPair = [&bits](const char* word, const SetupWords& words, int shift) {
        if (word == nullptr) {
            return;
        }
        for (std::int32_t value = 0; value < 4; ++value) {
            if (std::string_view(word) == words[value]) {
                bits = (bits & ~(3 << shift)) | (value << shift);
            }
        }
    };
    const std::uint32_t size = reader.GetSize();
    setPair(reader.GetLiteral(0, 0), ticksWords, 0);
    if (size >= 2) {
        setPair(reader.GetLiteral(1, 0), labelsWords, 2);
    }
    if (size >= 3) {
        const char* direction = reader.GetLiteral(2, 0);
        if (direction != nullptr && std::string_view(direction) == "Out") {
            bits &= ~TicksSetup::In;
        } else if (direction != nullptr && std::string_view(direction) == "In") {
            bits |= TicksSetup::In;
        }
    }
}

void AppendInteger(std::string& text, const char* key, std::int32_t value) {
    text += key;
    text += '=';
    text += std::to_string(value);
    text += ";\r\n";
}

void AppendFlag(std::string& text, const char* key, bool value) {
    text += key;
    text += value ? "=Yes;\r\n" : "=No;\r\n";
}

void AppendTextList(std::string& text, const char* key, MList<WText>& list) {
    if (list.IsEmpty()) {
        return;
    }
    text += key;
    text += "={\r\n";
    MListIter<WText> line(list);
    for (bool more = line.First(); more;) {
        text += QuotedSetupString(line.Current().text);
        more = line.Next();
        text += more ? ",\r\n" : "\r\n";
    }
    text += "};\r\n";
}

// The range with the tick count, then the ticks themselves. Labels are
// escaped like every other text, so that a quote in one reads back.
void AppendTicks(std::string& text, const char* key, double low, double high,
                 std::int32_t tickCount, MList<WText>& labels, MList<double>& values,
                 const std::string& format) {
    text += key;
    text += "={" + FormattedNumberText(low, format) + "," + FormattedNumberText(high, format) +
            "," + std::to_string(tickCount) + "};\r\n";
    text += key;
    if (labels.IsEmpty()) {
        // Without a list the reader would make ticks of its own.
        text += "List={ };\r\n";
        return;
    }
    text += "List={\r\n";
    MListIter<WText> label(labels);
    MListIter<double> value(values);
    bool more = label.First() && value.First();
    while (more) {
        text += QuotedSetupString(label.Current().text) + " " +
                FormattedNumberText(value.Current(), format);
        more = label.Next() && value.Next();
        text += more ? ",\r\n" : "\r\n";
    }
    text += "};\r\n";
}

void AppendFonts(std::string& text, const FontList& list) {
    MListIter<WText> item(list.list);
    std::uint32_t n = 0;
    for (bool more = item.First(); more; more = item.Next(), ++n) {
        if (const std::optional<FontRecord>& font = item.Current().font) {
            text += std::string(list.prefix) + "Font." + std::to_string(n) + "=" +
                    FontValueText(*font) + ";\r\n";
        }
    }
}

void AppendTicksSetup(std::string& text, const char* key, const SetupWords& ticksWords,
                      const SetupWords& labelsWords, std::int32_t bits) {
    text += key;
    text += "={";
    text += ticksWords[bits & 3];
    text += ", ";
    text += labelsWords[(bits >> 2) & 3];
    text += (bits & TicksSetup::In) != 0 ? ", In};\r\n" : ", Out};\r\n";
}

} // namespace

void PlotFrame::ReadSetup(const std::string& fileName) {
    SetDefaults();
    // The lists start empty as well, so that reading a file gives the same
    // frame whatever was loaded before it.
    for (FontList& list : FontLists(*this)) {
        list.list.Flush();
    }
    xTickValues.Flush();
    yTickValues.Flush();
    emptyXRange.reset();
    emptyYRange.reset();

    DemlaSetup reader;
    if (!reader.FindSection(fileName, kSection)) {
        return;
    }
    ReadTextList(reader, "Title", title);
    ReadTextList(reader, "xLabel", xLabel);
    ReadTextList(reader, "yLabel", yLabel);

    const std::int32_t xStep = ReadRange(reader, "xTicks", x1, x2, xTickCount, emptyXRange);
    const std::int32_t yStep = ReadRange(reader, "yTicks", y1, y2, yTickCount, emptyYRange);
    ReadFormat(reader, "xFormat", xFormat);
    ReadFormat(reader, "yFormat", yFormat);
    ReadTickList(reader, *this, XAxis, xStep);
    ReadTickList(reader, *this, YAxis, yStep);

    ReadInteger(reader, "TickWidth", tickWidth);
    ReadInteger(reader, "TickLength", tickLength);
    ReadTickMargin(reader, *this);
    ReadInteger(reader, "TextFrameHeight", textFrameHeight);
    ReadInteger(reader, "TitleMargin", titleMargin);
    ReadInteger(reader, "xLabelMargin", xLabelMargin);
    ReadInteger(reader, "yLabelMargin", yLabelMargin);
    ReadInteger(reader, "FrameLineWidth", frameLineWidth);
    ReadFlag(reader, "FrameRectangleVisible", frameRectangleVisible);
    ReadFlag(reader, "Visible", visible);
    ReadFlag(reader, "xGridLines", xGridLines);
    ReadFlag(reader, "yGridLines", yGridLines);
    ReadInteger(reader, "xGridLineWidth", xGridLineWidth);
    ReadInteger(reader, "yGridLineWidth", yGridLineWidth);
    ReadColor(reader, "xGridLineColor", xGridLineColor);
    ReadColor(reader, "yGridLineColor", yGridLineColor);
    ReadInteger(reader, "xGridLineType", xGridLineType);
    ReadInteger(reader, "yGridLineType", yGridLineType);
    ReadInteger(reader, "xOrigin", xOrigin);
    ReadInteger(reader, "yOrigin", yOrigin);
    ReadLength(reader, "xSize", xSize);
    ReadLength(reader, "ySize", ySize);

    ReadFonts(reader, *this);
    ReadTicksSetup(reader, "xTicksSetup", kXTicksWords, kXLabelsWords, xTicksSetup);
    ReadTicksSetup(reader, "yTicksSetup", kYTicksWords, kYLabelsWords, yTicksSetup);
}

void PlotFrame::WriteSetup(std::string& text) {
    text += "[PLOT.FRAME]\r\n";
    AppendTextList(text, "Title", title);
    AppendTextList(text, "xLabel", xLabel);
    AppendTextList(text, "yLabel", yLabel);
    AppendTicks(text, "xTicks", x1, x2, xTickCount, xTickLabels, xTickValues, xFormat);
    AppendTicks(text, "yTicks", y1, y2, yTickCount, yTickLabels, yTickValues, yFormat);
    text += "xFormat=" + xFormat + ";\r\n";
    text += "yFormat=" + yFormat + ";\r\n";
    AppendInteger(text, "TickWidth", tickWidth);
    AppendInteger(text, "TickLength", tickLength);
    if (xLabelGap == yLabelGap && xLabelShift == 0 && yLabelShift == 0) {
        AppendInteger(text, "TickMargin", xLabelGap);
    } else {
        text += "TickMargin={" + std::to_string(xLabelGap) + "," + std::to_string(xLabelShift) +
                "," + std::to_string(yLabelGap) + "," + std::to_string(yLabelShift) + "};\r\n";
    }
    AppendInteger(text, "TextFrameHeight", textFrameHeight);
    AppendInteger(text, "TitleMargin", titleMargin);
    AppendInteger(text, "xLabelMargin", xLabelMargin);
    AppendInteger(text, "yLabelMargin", yLabelMargin);
    AppendInteger(text, "FrameLineWidth", frameLineWidth);
    AppendInteger(text, "xOrigin", xOrigin);
    AppendInteger(text, "yOrigin", yOrigin);
    AppendInteger(text, "xSize", xSize);
    AppendInteger(text, "ySize", ySize);
    AppendFlag(text, "xGridLines", xGridLines);
    AppendFlag(text, "yGridLines", yGridLines);
    AppendInteger(text, "xGridLineWidth", xGridLineWidth);
    text += "xGridLineColor=" + std::to_string(xGridLineColor) + ";\r\n";
    AppendInteger(text, "xGridLineType", xGridLineType);
    AppendInteger(text, "yGridLineWidth", yGridLineWidth);
    text += "yGridLineColor=" + std::to_string(yGridLineColor) + ";\r\n";
    AppendInteger(text, "yGridLineType", yGridLineType);
    for (const FontList& list : FontLists(*this)) {
        AppendFonts(text, list);
    }
    AppendTicksSetup(text, "xTicksSetup", kXTicksWords, kXLabelsWords, xTicksSetup);
    AppendTicksSetup(text, "yTicksSetup", kYTicksWords, kYLabelsWords, yTicksSetup);
    AppendFlag(text, "Visible", visible);
    AppendFlag(text, "FrameRectangleVisible", frameRectangleVisible != 0);
}
