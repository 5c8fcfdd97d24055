#include "core/MListIter.h"
#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/DocumentReaders.h"
#include "document/DocumentWriters.h"
#include "document/MapTypes.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "document/SetupFileWrite.h"
#include "document/SetupValues.h"
#include "setup/DemlaSetup.h"
#include "setup/FontValue.h"
#include "setup/SetupText.h"

#include <array>
#include <functional>
#include <vector>

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

// Where a save writes and which file it reads the values of the old file
// from, so that names relative to the one are rewritten for the other.
struct SaveTarget {
    std::string from;
    std::string to;
    std::string Rebase(const std::string& name) const { return RebaseName(from, to, name); }
};

// A value the reader could not take back: the save stops with the message.
struct UnwritableValue {
    std::string message;
};

std::string FileReferenceText(const OldSetupValues::FileReference& reference,
                              const SaveTarget& target) {
    return FileNameValueText(target.Rebase(reference.name), reference.quoted);
}

// The annotation reader takes text elements of this many bytes at most,
// escapes included; what it would refuse is not written.
constexpr std::size_t kMaxAnnotationText = 1023;

std::string CheckedText(const std::string& text, std::size_t limit) {
    std::string written = SetupStringText(text);
    if (written.size() - 2 > limit) {
        throw UnwritableValue{"The text \"" + text.substr(0, 40) + "...\" is too long to be " +
                              "saved: a setup file holds at most " + std::to_string(limit) +
                              " bytes of one text."};
    }
    return written;
}

// Frame texts go through the frame's own writer; they are checked here
// against the reader's limit for any one token.
void CheckFrameTexts(PlotFrame& frame) {
    for (MList<WText>* list :
         {&frame.title, &frame.xLabel, &frame.yLabel, &frame.xTickLabels, &frame.yTickLabels}) {
        MListIter<WText> item(*list);
        for (bool more = item.First(); more; more = item.Next()) {
            CheckedText(item.Current().text, DemlaSetup::kTokenBufferSize - 1);
        }
    }
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

void WriteDataSection(const ChartDocument& document, const OldSetupValues& old,
                      const SaveTarget& target, std::string& text) {
    text += "[DATA]\r\n";
    // The name the document loaded, even when its data did not load, so
    // that saving never drops the name of a file the user still has; under
    // a new folder it is rewritten to name the same file.
    const ChartDocument::Sources& sources = document.GetSources();
    if (sources.dataName) {
        text += "MapMatrix=" +
                FileNameValueText(target.Rebase(*sources.dataName), sources.dataNameQuoted) +
                ";\r\n";
    } else if (old.mapMatrix) {
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
        text +=
            CheckedText(item.GetText().value_or(""), kMaxAnnotationText) + (last ? "" : ",") + kEol;
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
        if (frame == nullptr && old.textFrameText) {
            // TextFrame.* gives every text a frame; this one has none.
            text += "TextFrame." + Unsigned(n) + "=" + kNoTextFrame + ";\r\n";
        }
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
                  const SaveTarget& target, AttributeText attributeText, std::string& text) {
    const bool any = !objects.List().IsEmpty();
    if (!any && !cornersFile) {
        return;
    }
    if (cornersFile) {
        text += std::string(key) + "=" + FileReferenceText(*cornersFile, target) + ";\r\n";
    } else {
        text += std::string(key) + "={\r\n";
        ForEach(objects, [&](const T& object, std::uint32_t, bool last) {
            text += Corners(object) + (last ? "" : ",") + kEol;
        });
        text += "};\r\n";
    }
    if (attributesFile) {
        text +=
            std::string(attributesKey) + "=" + FileReferenceText(*attributesFile, target) + ";\r\n";
    } else if (any) {
        text += std::string(attributesKey) + "={\r\n";
        ForEach(objects, [&](const T& object, std::uint32_t, bool last) {
            text += std::string(OnPage(object) ? "page " : " plot ") + attributeText(object) +
                    (last ? "" : ",") + kEol;
        });
        text += "};\r\n";
    }
}

void WriteAnnotationSection(ChartDocument& document, const OldSetupValues& old,
                            const SaveTarget& target, std::string& text) {
    text += "[ANNOTATION]\r\n";
    if (!document.Texts.List().IsEmpty()) {
        WriteTexts(document, old, text);
    }
    WriteObjects(
        document.Lines, "Line", "LineAttributes", old.line, old.lineAttributes, target,
        [](const LLine& line) {
            return ShortNumberText(line.GetWidth()) + " " + Signed(line.GetPenStyle()) + " " +
                   Signed(static_cast<std::int32_t>(line.GetColor()));
        },
        text);
    WriteObjects(
        document.Rectangles, "Rectangle", "RectangleAttributes", old.rectangle,
        old.rectangleAttributes, target,
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
    std::string bytes;
    if (ReadWholeFile(path, bytes)) {
        for (const SetupSectionSpan& section : ListSetupSections(bytes)) {
            if (FindInList(kKnownSetupSections, section.name) < 0) {
                old.otherSections.push_back(
                    bytes.substr(section.headerBegin, section.bodyEnd - section.headerBegin));
            }
        }
    }
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

std::string DocumentSetupText(ChartDocument& document, const OldSetupValues& old,
                              const std::string& from, const std::string& to) {
    const SaveTarget target{from, to};
    CheckFrameTexts(document.Frame);
    std::string text;
    WriteDataSection(document, old, target, text);
    if (document.Derived) {
        text += DerivedSectionText(*document.Derived,
                                   [&](const std::string& name) { return target.Rebase(name); });
    }
    document.Frame.WriteSetup(text);
    text += kEol;
    WriteScaleSection(document, text);
    WriteColorsSection(document, text);
    WriteAnnotationSection(document, old, target, text);
    WriteSystemSection(text);
    WritePageSetup(document, text);
    WriteMapAttributes(document, text);
    if (!old.otherSections.empty()) {
        text += kEol;
    }
    for (const std::string& section : old.otherSections) {
        text += section;
    }
    return text;
}

void WriteMapAttributes(const ChartDocument& document, std::string& output) {
    output += "[MAP.ATTRIBUTES]\r\n";
    output += "DemlaMapType=" + std::string(MapTypeName(document.MapType)) + ";\r\n";
    output += std::string("ContourLines=") + (document.ContourLines ? "Yes" : "No") + ";\r\n";
    output +=
        "ContourLinesWidth=" + FormattedNumberText(document.ContourLinesWidth, "F2") + ";\r\n";
    output += "ContourLinesColor=" + Unsigned(document.ContourLinesColor) + ";\r\n";
    if (const std::optional<CohortLineSettings>& cohorts = document.CohortLines) {
        output += std::string("CohortLines=") + (cohorts->on ? "Yes" : "No") + ";\r\n";
        output += "CohortLinesStep=" + ShortNumberText(cohorts->step) + ";\r\n";
        output += "CohortLinesFirst=" + ShortNumberText(cohorts->first) + ";\r\n";
        output += "CohortLinesWidth=" + FormattedNumberText(cohorts->width, "F2") + ";\r\n";
        output += "CohortLinesStyle=" + Signed(cohorts->penStyle) + ";\r\n";
        output += "CohortLinesColor=" + Unsigned(cohorts->color) + ";\r\n";
    }
}

std::optional<std::string> SetupTextForSave(ChartDocument& document, std::string* reason) {
    const std::string& path = document.GetPath();
    std::string oldBytes;
    const OldSetupValues old =
        ReadWholeFile(path, oldBytes) ? ReadOldSetupValues(path) : OldSetupValues();
    try {
        return DocumentSetupText(document, old, path, path);
    } catch (const UnwritableValue& e) {
        if (reason != nullptr) {
            *reason = e.message;
        }
        return std::nullopt;
    }
}

bool ChartDocument::Save() {
    const std::string& source =
        !previousPath_.empty() && previousPath_ != path_ ? previousPath_ : path_;
    std::string reason;
    const std::optional<std::string> target = ResolveLinks(path_, &reason);
    if (!target || !MayWrite(*target, {}, &reason)) {
        return ReportCannotOpenSetup(prompt_, path_, reason);
    }
    for (const std::string& file : sources_.readFiles) {
        if (SameFile(*target, file)) {
            prompt_.Show("Error", "Cannot save the map over a file it reads: " + path_);
            return false;
        }
    }
    const bool overOwnFile = *target == source || SameFile(*target, source);
    if (sources_.openedWithErrors && overOwnFile &&
        prompt_.AskWithDefault("Warning",
                               "This map was opened with errors. Saving replaces the file with "
                               "what could be read. Save anyway?",
                               PromptButtons::YesNo, PromptIcon::Warning,
                               PromptAnswer::No) != PromptAnswer::Yes) {
        return false;
    }

    if (sources_.notSetupFile && overOwnFile &&
        prompt_.AskWithDefault("Warning",
                               path_ + " is not a setup file of " + kSetupType +
                                   ". Saving replaces it with the map's setup file. Save anyway?",
                               PromptButtons::YesNo, PromptIcon::Warning,
                               PromptAnswer::No) != PromptAnswer::Yes) {
        return false;
    }

    std::string oldBytes;
    const OldSetupValues old =
        ReadWholeFile(source, oldBytes) ? ReadOldSetupValues(source) : OldSetupValues();
    std::string text;
    try {
        text = DocumentSetupText(*this, old, source, path_);
    } catch (const UnwritableValue& e) {
        prompt_.Show("Error", e.message);
        return false;
    }

    // A file that did not load cleanly never replaces the copy of one that
    // did.
    const SetupFileWrite write{path_, *target, sources_.readFiles,
                               sources_.openedWithErrors && overOwnFile};
    if (!WriteSetupFileWithBackup(write, text, prompt_)) {
        return false;
    }
    // From now on the document comes from the file it was saved to, which
    // names the data as seen from its own folder.
    if (sources_.dataName) {
        sources_.dataName = RebaseName(source, path_, *sources_.dataName);
    }
    previousPath_ = path_;
    sources_.notSetupFile = false;
    return true;
}
