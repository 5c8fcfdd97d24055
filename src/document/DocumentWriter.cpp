#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/DocumentReaders.h"
#include "document/DocumentWriters.h"
#include "document/MapTypes.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "document/SetupValues.h"
#include "render/FontValue.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <functional>

namespace {

constexpr const char* kEol = "\r\n";

std::string Signed(std::int64_t value) {
    return std::to_string(value);
}

std::string Unsigned(std::uint32_t value) {
    return std::to_string(value);
}

// Runs read on the reader; a key that cannot be read counts as absent.
template <typename T>
std::optional<T> TryRead(const std::function<std::optional<T>()>& read) {
    try {
        return read();
    } catch (const DemlaSetupException&) {
        return std::nullopt;
    }
}

std::optional<OldSetupValues::FileReference> FileReferenceOf(DemlaSetup& reader, const char* key) {
    if (!reader.FindItem(key) || reader.GetContainerType() != ctScalar) {
        return std::nullopt;
    }
    OldSetupValues::FileReference reference;
    reference.name = ReadFileNameValue(reader, &reference.quoted);
    return reference;
}

std::string FileReferenceText(const OldSetupValues::FileReference& reference) {
    return reference.quoted ? '"' + reference.name + '"' : reference.name;
}

std::string FillWord(std::uint32_t fillStyle) {
    switch (fillStyle) {
    case BrushStyle::Hollow:
        return "trans";
    case BrushStyle::Hatched:
        return "hatched";
    default:
        return "solid";
    }
}

std::string FrameRecordText(const FrameRecord& record) {
    return ShortNumberText(record.borderWidth) + " " + Signed(record.penStyle) + " " +
           Signed(static_cast<std::int32_t>(record.penColor)) + " " + FillWord(record.fillStyle) +
           " " + Signed(static_cast<std::int32_t>(record.fillColor)) + " " +
           Signed(record.hatchStyle);
}

std::string Corners(const LGraphicObject& object) {
    return ShortNumberText(object.GetA().GetX()) + " " + ShortNumberText(object.GetA().GetY()) +
           " " + ShortNumberText(object.GetB().GetX()) + " " +
           ShortNumberText(object.GetB().GetY()) + " ";
}

bool OnPage(const LGraphicObject& object) {
    return object.GetA().GetXAttribute() == PageUnits;
}

// Calls write(item, index, last) for every item of the list in order.
template <typename T, typename Write>
void ForEach(LObjectContainer<T>& container, Write write) {
    MList<T>& list = container.List();
    const std::uint32_t count = list.GetCount();
    list.GoHead();
    for (std::uint32_t i = 0; i < count; ++i) {
        write(*list.GetCurrent(), i, i + 1 == count);
        list.GoNext();
    }
}

void WriteDataSection(const ChartDocument& document, const OldSetupValues& old, std::string& text) {
    text += "[DATA]\r\n";
    // A file whose data did not load keeps naming its data file; only a
    // document without one gets the line to fill in.
    if (old.mapMatrix) {
        text += "MapMatrix=" + *old.mapMatrix + ";\r\n";
    } else if (document.DataMatrix.GetRows() == 0 || document.DataMatrix.GetColumns() == 0) {
        text += "/@ MapMatrix = put Data File name here;\r\n";
    }
    if (document.DataFormat == kGaussFormat) {
        text += std::string("Format=") + kGaussFormatName + ";\r\n";
    } else if (document.DataFormat == kAsciiFormat) {
        text += std::string("Format=") + kAsciiFormatName + ";\r\n";
        if (const std::optional<std::string> value = AsciiFormatValue(document.Delimiters)) {
            text += "AsciiFormat=" + *value + ";\r\n";
        }
    } else if (document.DataFormat == kLexisTableFormat) {
        text += std::string("Format=") + kLexisTableFormatName + ";\r\n";
        // The column shown is named even when the file left it to the
        // default, so that the map does not change when the table gains a
        // column. A name the syntax cannot hold was not read from a setup
        // file and is left out.
        const std::string& column = !document.ValueColumn.empty() || !document.Table
                                        ? document.ValueColumn
                                        : document.Table->valueColumn;
        const std::optional<std::string> value = SetupNameValue(column);
        if (!column.empty() && value) {
            text += "ValueColumn=" + *value + ";\r\n";
        }
    }
    text += kEol;
}

void WriteScaleSection(ChartDocument& document, std::string& text) {
    const std::uint32_t count = document.BoundaryCount();
    text += "[MAP.SCALE]\r\n";
    text += "/@ LinearScale=" + Unsigned(count) + ";\r\n";
    text += "/@ MultiplicativeScale=" + Unsigned(count) + ";\r\n";
    text += "MapScale={\r\n";
    const std::string& format = document.Legend.GetTickFormat();
    for (std::uint32_t i = 0; i < count; ++i) {
        text += FormattedNumberText(document.ScaleValues.Get(i, 0), format) + kEol;
    }
    text += "};\r\n";
    document.Legend.Write(text);
    const LevelFlags& flags = document.Legend.GetLevelFlags();
    if (flags.GetCount() == count && count > 0) {
        text += "ScaleSetup={ \r\n";
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t f = flags[flags.GetLowerBound() + i];
            text += std::string(f & 1 ? "1" : "0") + " " + (f & 2 ? "1" : "0") + " " +
                    (f & 4 ? "1" : "0");
            if (i + 1 < count) {
                text += ",\r\n";
            }
        }
        text += "\r\n};\r\n";
    }
    text += kEol;
}

void WriteColorsSection(const ChartDocument& document, std::string& text) {
    text += "[COLORS]\r\nMapColors={\r\n";
    const LRGBColorVect& colors = document.LevelColors;
    for (std::uint32_t i = 0; i < colors.LevelCount(); ++i) {
        text += Unsigned(colors.Level(i)) + kEol;
    }
    text += "};\r\n";
    text += "MapMissingColor=" + Unsigned(document.MissingColor) + ";\r\n\r\n";
}

void WriteTexts(ChartDocument& document, const OldSetupValues& old, std::string& text) {
    text += "Text={\r\n";
    ForEach(document.Texts, [&](const LText& item, std::uint32_t, bool last) {
        text += SetupStringText(item.GetText().value_or("")) + (last ? "" : ",") + kEol;
    });
    text += "};\r\nTextLocation={\r\n";
    ForEach(document.Texts, [&](const LText& item, std::uint32_t, bool last) {
        text += ShortNumberText(item.GetA().GetX()) + " " + ShortNumberText(item.GetA().GetY()) +
                " " + ShortNumberText(item.GetB().GetX()) + " " +
                ShortNumberText(item.GetB().GetY()) + (last ? "" : ",") + kEol;
    });
    text += "};\r\nTextAttributes={\r\n";
    ForEach(document.Texts, [&](const LText& item, std::uint32_t, bool last) {
        const std::uint32_t horizontal = item.GetHorizontalAlignment();
        const std::uint32_t vertical = item.GetVerticalAlignment();
        text += std::string(OnPage(item) ? "page " : "plot ") +
                Signed(static_cast<std::int32_t>(item.GetTextColor())) + " " +
                Signed(static_cast<std::int32_t>(item.GetBkColor())) + " " +
                (item.GetBkMode() == BackgroundMode::Opaque ? "opaque " : "trans ") +
                (horizontal == TextAlign::Right    ? "r"
                 : horizontal == TextAlign::Center ? "c"
                                                   : "l") +
                " " +
                (vertical == TextAlign::Top      ? "t"
                 : vertical == TextAlign::Bottom ? "b"
                                                 : "c") +
                (last ? "" : ",") + kEol;
    });
    text += "};\r\n";
    if (old.textFrameText) {
        text += "TextFrame.*=" + *old.textFrameText + ";\r\n";
    }
    ForEach(document.Texts, [&](const LText& item, std::uint32_t n, bool) {
        const LRectangle* frame = item.GetFrame();
        if (frame != nullptr && (!old.textFrame || frame->GetFrameRecord() != *old.textFrame)) {
            text += "TextFrame." + Unsigned(n) + "={" + FrameRecordText(frame->GetFrameRecord()) +
                    "};\r\n";
        }
    });
    if (old.textFontText) {
        text += "TextFont.*=" + *old.textFontText + ";\r\n";
    }
    ForEach(document.Texts, [&](const LText& item, std::uint32_t n, bool) {
        const std::optional<FontRecord>& font = item.GetFont();
        if (font && (!old.textFont || *font != *old.textFont)) {
            text += "TextFont." + Unsigned(n) + "=" + FontValueText(*font) + ";\r\n";
        }
    });
    text += kEol;
}

// Lines or rectangles: their corners, then their attributes, each either
// as the Gauss file reference the old file had or written out. A reference
// is kept even when its file could not be read this time, so that saving
// never drops the name of a file the user still has.
template <typename T, typename AttributeText>
void WriteObjects(LObjectContainer<T>& objects, const char* key, const char* attributesKey,
                  const std::optional<OldSetupValues::FileReference>& cornersFile,
                  const std::optional<OldSetupValues::FileReference>& attributesFile,
                  AttributeText attributeText, std::string& text) {
    const bool any = !objects.List().IsEmpty();
    if (!any && !cornersFile) {
        return;
    }
    if (cornersFile) {
        text += std::string(key) + "=" + FileReferenceText(*cornersFile) + ";\r\n";
    } else {
        text += std::string(key) + "={\r\n";
        ForEach(objects, [&](const T& object, std::uint32_t, bool last) {
            text += Corners(object) + (last ? "" : ",") + kEol;
        });
        text += "};\r\n";
    }
    if (attributesFile) {
        text += std::string(attributesKey) + "=" + FileReferenceText(*attributesFile) + ";\r\n";
    } else if (any) {
        text += std::string(attributesKey) + "={\r\n";
        ForEach(objects, [&](const T& object, std::uint32_t, bool last) {
            text += std::string(OnPage(object) ? "page " : " plot ") + attributeText(object) +
                    (last ? "" : ",") + kEol;
        });
        text += "};\r\n";
    }
}

void WriteAnnotationSection(ChartDocument& document, const OldSetupValues& old, std::string& text) {
    text += "[ANNOTATION]\r\n";
    if (!document.Texts.List().IsEmpty()) {
        WriteTexts(document, old, text);
    }
    WriteObjects(
        document.Lines, "Line", "LineAttributes", old.line, old.lineAttributes,
        [](const LLine& line) {
            return ShortNumberText(line.GetWidth()) + " " + Signed(line.GetPenStyle()) + " " +
                   Signed(static_cast<std::int32_t>(line.GetColor()));
        },
        text);
    WriteObjects(
        document.Rectangles, "Rectangle", "RectangleAttributes", old.rectangle,
        old.rectangleAttributes,
        [](const LRectangle& rectangle) { return FrameRecordText(rectangle.GetFrameRecord()); },
        text);
    text += kEol;
}

void WriteSystemSection(std::string& text) {
    text += std::string("[SYSTEM]\r\nVersion=") + kSetupVersion + ";\r\nType=" + kSetupType +
            ";\r\n\r\n";
}

void WritePageSetup(const ChartDocument& document, std::string& text) {
    text += "[PAGESETUP]\r\n";
    text += document.PageOrientation == kPortrait ? "Orientation=Portrait;\r\n"
                                                  : "Orientation=Landscape;\r\n";
    text += kEol;
}

} // namespace

OldSetupValues ReadOldSetupValues(const std::string& path) {
    OldSetupValues old;
    DemlaSetup reader;
    const auto inSection = [&](const char* section) {
        try {
            return reader.FindSection(path, section);
        } catch (const DemlaSetupException&) {
            return false;
        }
    };
    if (inSection("DATA")) {
        old.mapMatrix = TryRead<std::string>([&]() -> std::optional<std::string> {
            if (!reader.FindItem("MapMatrix")) {
                return std::nullopt;
            }
            const char* raw = reader.GetValueText();
            return raw != nullptr ? std::optional<std::string>(raw) : std::nullopt;
        });
    }
    if (!inSection("ANNOTATION")) {
        return old;
    }
    using Reference = OldSetupValues::FileReference;
    old.line = TryRead<Reference>([&] { return FileReferenceOf(reader, "Line"); });
    old.lineAttributes =
        TryRead<Reference>([&] { return FileReferenceOf(reader, "LineAttributes"); });
    old.rectangle = TryRead<Reference>([&] { return FileReferenceOf(reader, "Rectangle"); });
    old.rectangleAttributes =
        TryRead<Reference>([&] { return FileReferenceOf(reader, "RectangleAttributes"); });
    TryRead<bool>([&]() -> std::optional<bool> {
        if (reader.FindItem("TextFrame.*")) {
            const char* raw = reader.GetValueText();
            if (raw != nullptr) {
                const std::string rawText = raw;
                FrameRecord frame;
                ReadFrameRecord(reader, frame);
                old.textFrameText = rawText;
                old.textFrame = frame;
            }
        }
        return true;
    });
    TryRead<bool>([&]() -> std::optional<bool> {
        if (reader.FindItem("TextFont.*")) {
            const char* raw = reader.GetValueText();
            if (raw != nullptr) {
                const std::string rawText = raw;
                FontRecord font;
                ReadFontValue(reader, font);
                old.textFontText = rawText;
                old.textFont = font;
            }
        }
        return true;
    });
    return old;
}

std::string DocumentSetupText(ChartDocument& document, const OldSetupValues& old) {
    std::string text;
    WriteDataSection(document, old, text);
    document.Frame.WriteSetup(text);
    text += kEol;
    WriteScaleSection(document, text);
    WriteColorsSection(document, text);
    WriteAnnotationSection(document, old, text);
    WriteSystemSection(text);
    WritePageSetup(document, text);
    WriteMapAttributes(document, text);
    return text;
}

void WriteMapAttributes(const ChartDocument& document, std::string& output) {
    output += "[MAP.ATTRIBUTES]\r\n";
    output += "DemlaMapType=" + std::string(MapTypeName(document.MapType)) + ";\r\n";
    output += std::string("ContourLines=") + (document.ContourLines ? "Yes" : "No") + ";\r\n";
    output +=
        "ContourLinesWidth=" + FormattedNumberText(document.ContourLinesWidth, "F2") + ";\r\n";
    output += "ContourLinesColor=" + Unsigned(document.ContourLinesColor) + ";\r\n";
}

bool ChartDocument::Save() {
    const std::string& source =
        !previousPath_.empty() && previousPath_ != path_ ? previousPath_ : path_;
    const std::string backup = BackupFileName(source);
    std::string oldBytes;
    const bool haveOld = ReadWholeFile(source, oldBytes);
    if (haveOld && WriteFileAtomically(backup, oldBytes) != FileWriteResult::Written) {
        prompt_.Show("Error", "Cannot open backup document");
        return false;
    }
    const OldSetupValues old = haveOld ? ReadOldSetupValues(backup) : OldSetupValues();
    const std::string text = DocumentSetupText(*this, old);
    switch (WriteFileAtomically(path_, text)) {
    case FileWriteResult::Written:
        // From now on the document comes from the file it was saved to.
        previousPath_ = path_;
        return true;
    case FileWriteResult::OpenFailed:
        prompt_.Show("Error", "Cannot open document for writing: " + path_ + "\r\n" +
                                  "Check if the file has read-only attribute" + "\r\n" +
                                  "Check if the file is currently opened in another application");
        return false;
    case FileWriteResult::WriteFailed:
        break;
    }
    prompt_.Show("Error", "Cannot write document: " + path_);
    return false;
}
