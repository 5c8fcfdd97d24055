#include "core/NumberText.h"
#include "document/ChartDocument.h"
#include "document/DocumentReaders.h"
#include "document/GaussFile.h"
#include "document/LoadSteps.h"
#include "document/SafeFile.h"
#include "document/SetupValues.h"
#include "setup/DemlaSetup.h"
#include "setup/FontValue.h"
#include "setup/SetupText.h"
#include "setup/SetupWordIterator.h"

#include <vector>

// Reading [ANNOTATION]: the texts with their places, looks, fonts and
// frames, then the lines and the rectangles, each either written out in the
// section or kept in a Gauss matrix file that the section names.

namespace {

// Annotation elements are read into a buffer of this size.
constexpr std::size_t kElementBuffer = 1024;

// Where a new text stands before TextLocation places it: the middle of the
// default page.
constexpr double kDefaultAnchorX = 1485;
constexpr double kDefaultAnchorY = 1050;

[[noreturn]] void RaiseWrongColumns(const DemlaSetup& reader) {
    throw DemlaSetupException(reader.GetSectionName(), reader.GetItemName(), 18);
}

void RequireColumns(const DemlaSetup& reader, std::uint32_t columns) {
    if (reader.GetColumns() != columns) {
        RaiseWrongColumns(reader);
    }
}

// The items of a list, so that the n-th is found without walking the list
// from its head every time.
template <typename T>
std::vector<T*> Items(LObjectContainer<T>& container) {
    std::vector<T*> items;
    MList<T>& list = container.List();
    items.reserve(list.GetCount());
    list.GoHead();
    for (T* item = list.GetCurrent(); item != nullptr; item = list.GetCurrent()) {
        items.push_back(item);
        if (!list.GoNext()) {
            break;
        }
    }
    return items;
}

PointAttribute CoordinateAttribute(const std::string& word) {
    return word == "page" ? PageUnits : DataUnits;
}

void SetCorners(LGraphicObject& object, double ax, double ay, double bx, double by) {
    object.GetA().SetX(ax);
    object.GetA().SetY(ay);
    object.GetB().SetX(bx);
    object.GetB().SetY(by);
}

void ReadTexts(ChartDocument& document, DemlaSetup& reader) {
    if (!reader.FindItem("Text")) {
        return;
    }
    RequireColumns(reader, 1);
    const std::uint32_t rows = reader.GetRows();
    ElementReader elements(reader, kElementBuffer);
    for (std::uint32_t i = 0; i < rows; ++i) {
        const bool present = elements.Next();
        reader.CheckElementType(ttString);
        if (!present) {
            break;
        }
        std::string text = elements.Text();
        Unescape(text);
        const LText item(LPoint(kDefaultAnchorX, kDefaultAnchorY), LPoint(0, 0), std::move(text),
                         std::nullopt);
        document.Texts.List().addAtTail(item);
    }
}

void ReadTextLocations(DemlaSetup& reader, const std::vector<LText*>& texts) {
    if (!reader.FindItem("TextLocation")) {
        return;
    }
    const std::uint32_t columns = reader.GetColumns();
    if (columns != 2 && columns != 4) {
        RaiseWrongColumns(reader);
    }
    const std::size_t rows = std::min<std::size_t>(reader.GetRows(), texts.size());
    ElementReader elements(reader, kElementBuffer);
    for (std::size_t i = 0; i < rows; ++i) {
        double values[4] = {0, 0, 0, 0};
        for (std::uint32_t c = 0; c < columns; ++c) {
            if (!elements.Next()) {
                return;
            }
            values[c] = elements.Number();
        }
        SetCorners(*texts[i], values[0], values[1], values[2], values[3]);
    }
}

void ReadTextAttributes(DemlaSetup& reader, const std::vector<LText*>& texts) {
    if (!reader.FindItem("TextAttributes")) {
        return;
    }
    RequireColumns(reader, 6);
    const std::size_t rows = std::min<std::size_t>(reader.GetRows(), texts.size());
    ElementReader elements(reader, kElementBuffer);
    for (std::size_t i = 0; i < rows; ++i) {
        LText& text = *texts[i];
        if (!elements.Next()) {
            return;
        }
        text.SetCoordinateAttribute(CoordinateAttribute(elements.Text()));
        if (!elements.Next()) {
            return;
        }
        text.SetTextColor(ColorFromDouble(elements.Value()));
        if (!elements.Next()) {
            return;
        }
        text.SetBkColor(ColorFromDouble(elements.Value()));
        if (!elements.Next()) {
            return;
        }
        text.SetBkMode(elements.Text() == "opaque" ? BackgroundMode::Opaque
                                                   : BackgroundMode::Transparent);
        if (!elements.Next()) {
            return;
        }
        const char horizontal = elements.Text().empty() ? '\0' : elements.Text()[0];
        text.SetHorizontalAlignment(horizontal == 'r'   ? TextAlign::Right
                                    : horizontal == 'c' ? TextAlign::Center
                                                        : TextAlign::Left);
        if (!elements.Next()) {
            return;
        }
        const char vertical = elements.Text().empty() ? '\0' : elements.Text()[0];
        text.SetVerticalAlignment(vertical == 't'   ? TextAlign::Top
                                  : vertical == 'b' ? TextAlign::Bottom
                                                    : TextAlign::Baseline);
    }
}

// The n of an item named prefix + n (the character after the last "." a
// digit), when n names one of count objects.
std::optional<std::size_t> NumberedItem(const SetupWordIterator& words, std::string_view prefix,
                                        std::size_t count) {
    const std::string_view word = words.GetWord();
    if (word.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::size_t dot = word.find_last_of('.');
    if (dot + 1 >= word.size() || word[dot + 1] < '0' || word[dot + 1] > '9') {
        return std::nullopt;
    }
    std::size_t n = 0;
    for (std::size_t i = dot + 1; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        n = n * 10 + static_cast<std::size_t>(word[i] - '0');
        if (n >= count) {
            return std::nullopt; // also keeps a long number from overflowing
        }
    }
    return n;
}

// Calls apply(n) for every item prefix + n of the section that names one
// of count objects, loaded, in the order in which the items stand.
template <typename Apply>
void ForEachNumberedItem(DemlaSetup& reader, std::string_view prefix, std::size_t count,
                         Apply apply) {
    SetupWordIterator words(reader.GetSectionText());
    while (words.Next()) {
        const std::optional<std::size_t> n = NumberedItem(words, prefix, count);
        if (n) {
            reader.ParseItem(words, words.GetWord());
            apply(*n);
        }
    }
}

void ReadTextFonts(DemlaSetup& reader, const std::vector<LText*>& texts) {
    if (reader.FindItem("TextFont.*")) {
        FontRecord font;
        ReadFontValue(reader, font);
        for (LText* text : texts) {
            text->SetFont(font);
        }
    }
    ForEachNumberedItem(reader, "TextFont.", texts.size(), [&](std::size_t n) {
        FontRecord font;
        ReadFontValue(reader, font);
        texts[n]->SetFont(font);
    });
}

void ReadTextFrames(DemlaSetup& reader, const std::vector<LText*>& texts) {
    if (reader.FindItem("TextFrame.*")) {
        FrameRecord frame;
        ReadFrameRecord(reader, frame);
        for (LText* text : texts) {
            text->SetFrame(frame);
        }
    }
    // A numbered frame is the text's own, whatever its box; "none" takes
    // away the frame that TextFrame.* gave every text.
    ForEachNumberedItem(reader, "TextFrame.", texts.size(), [&](std::size_t n) {
        if (reader.GetContainerType() == ctScalar && reader.GetElement(0, 0) &&
            reader.GetLastTokenType() == ttLiteral &&
            std::string_view(reader.GetLiteral()) == kNoTextFrame) {
            texts[n]->SetFrame(std::nullopt);
            return;
        }
        FrameRecord frame;
        ReadFrameRecord(reader, frame);
        texts[n]->SetFrame(frame);
    });
}

// A Gauss file named by the loaded item, with the columns it must have.
// Nothing when the file cannot be opened (reported) or read (silent).
std::optional<DMAT> ReadAnnotationMatrix(ChartDocument& document, DemlaSetup& reader,
                                         std::uint32_t columns) {
    const std::string name = ReadFileNameValue(reader);
    DMAT matrix;
    const std::string fileName = FindNamedFile(document.GetPath(), name);
    document.GetSources().readFiles.push_back(fileName);
    const GaussFileResult result = ReadGaussFile(fileName, matrix, false);
    if (!result.opened) {
        ReportOpenError(document.GetPrompt(), name);
        return std::nullopt;
    }
    if (result.columns != columns) {
        RaiseWrongColumns(reader);
    }
    if (result.code != 0) {
        return std::nullopt;
    }
    return matrix;
}

// Appends one object per row of a four-column item: A.x, A.y, B.x, B.y.
template <typename T>
void ReadCorners(ChartDocument& document, DemlaSetup& reader, const char* key,
                 LObjectContainer<T>& objects) {
    if (!reader.FindItem(key)) {
        return;
    }
    if (reader.GetContainerType() == ctScalar) {
        const std::optional<DMAT> matrix = ReadAnnotationMatrix(document, reader, 4);
        for (std::uint32_t r = 0; matrix && r < matrix->GetRows(); ++r) {
            objects.List().addAtTail(
                T(matrix->Get(r, 0), matrix->Get(r, 1), matrix->Get(r, 2), matrix->Get(r, 3)));
        }
        return;
    }
    RequireColumns(reader, 4);
    const std::uint32_t rows = reader.GetRows();
    ElementReader elements(reader, kElementBuffer);
    for (std::uint32_t r = 0; r < rows; ++r) {
        double values[4];
        for (double& value : values) {
            if (!elements.Next()) {
                return;
            }
            value = elements.Number();
        }
        objects.List().addAtTail(T(values[0], values[1], values[2], values[3]));
    }
}

// One row of LineAttributes or RectangleAttributes, whichever form it
// came in: the words and the numbers of its columns.
class AttributeRow {
public:
    virtual ~AttributeRow() = default;
    virtual std::string Word(std::uint32_t column) const = 0;
    virtual double Number(std::uint32_t column) const = 0;
    std::int32_t Integer(std::uint32_t column) const { return TruncateToInt32(Number(column)); }
    std::uint32_t Color(std::uint32_t column) const { return ColorFromDouble(Number(column)); }
};

class GaussRow : public AttributeRow {
public:
    GaussRow(const DMAT& matrix, std::uint32_t row) : matrix_(matrix), row_(row) {}
    std::string Word(std::uint32_t column) const override {
        return GaussElementText(matrix_.Get(row_, column));
    }
    double Number(std::uint32_t column) const override { return matrix_.Get(row_, column); }

private:
    const DMAT& matrix_;
    std::uint32_t row_;
};

class TextRow : public AttributeRow {
public:
    explicit TextRow(std::vector<std::string> elements) : elements_(std::move(elements)) {}
    std::string Word(std::uint32_t column) const override { return elements_[column]; }
    double Number(std::uint32_t column) const override {
        const std::string& text = elements_[column];
        return ParseDouble(text.data(), text.data() + text.size());
    }

private:
    std::vector<std::string> elements_;
};

void ApplyLineAttributes(LLine& line, const AttributeRow& row) {
    line.SetCoordinateAttribute(CoordinateAttribute(row.Word(0)));
    line.SetWidth(row.Number(1));
    line.SetPenStyle(row.Integer(2));
    line.SetColor(row.Color(3));
}

void ApplyRectangleAttributes(LRectangle& rectangle, const AttributeRow& row) {
    rectangle.SetCoordinateAttribute(CoordinateAttribute(row.Word(0)));
    FrameRecord record;
    record.borderWidth = row.Number(1);
    record.penStyle = row.Integer(2);
    record.penColor = row.Color(3);
    const std::string fill = row.Word(4);
    record.fillStyle = fill == "trans"     ? BrushStyle::Hollow
                       : fill == "hatched" ? BrushStyle::Hatched
                                           : BrushStyle::Solid;
    record.fillColor = row.Color(5);
    record.hatchStyle = row.Integer(6);
    rectangle.SetFrameRecord(record);
}

// Gives object i the attributes of row i, for as many rows as there are
// objects.
template <typename T, typename Apply>
void ReadAttributes(ChartDocument& document, DemlaSetup& reader, const char* key,
                    LObjectContainer<T>& objects, std::uint32_t columns, Apply apply) {
    if (objects.List().IsEmpty() || !reader.FindItem(key)) {
        return;
    }
    const std::vector<T*> items = Items(objects);
    if (reader.GetContainerType() == ctScalar) {
        const std::optional<DMAT> matrix = ReadAnnotationMatrix(document, reader, columns);
        const std::size_t rows =
            matrix ? std::min<std::size_t>(matrix->GetRows(), items.size()) : 0;
        for (std::size_t r = 0; r < rows; ++r) {
            apply(*items[r], GaussRow(*matrix, static_cast<std::uint32_t>(r)));
        }
        return;
    }
    RequireColumns(reader, columns);
    const std::size_t rows = std::min<std::size_t>(reader.GetRows(), items.size());
    ElementReader elements(reader, kElementBuffer);
    for (std::size_t r = 0; r < rows; ++r) {
        std::vector<std::string> row;
        for (std::uint32_t c = 0; c < columns; ++c) {
            if (!elements.Next()) {
                return;
            }
            row.push_back(elements.Text());
        }
        apply(*items[r], TextRow(std::move(row)));
    }
}

} // namespace

void ReadAnnotations(ChartDocument& document, DemlaSetup& reader) {
    document.Texts.List().Flush();
    document.Lines.List().Flush();
    document.Rectangles.List().Flush();
    if (!reader.FindSection(document.GetPath(), "ANNOTATION")) {
        return;
    }
    ReadTexts(document, reader);
    const std::vector<LText*> texts = Items(document.Texts);
    ReadTextLocations(reader, texts);
    ReadTextAttributes(reader, texts);
    ReadTextFonts(reader, texts);
    ReadTextFrames(reader, texts);
    ReadCorners(document, reader, "Line", document.Lines);
    ReadAttributes(document, reader, "LineAttributes", document.Lines, 4, ApplyLineAttributes);
    ReadCorners(document, reader, "Rectangle", document.Rectangles);
    ReadAttributes(document, reader, "RectangleAttributes", document.Rectangles, 7,
                   ApplyRectangleAttributes);
}
