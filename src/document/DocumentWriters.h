#pragma once

#include "annotations/FrameRecord.h"
#include "render/FontRecord.h"

#include <optional>
#include <string>
#include <vector>

class ChartDocument;

// What saving copies from the file a document came from, because the
// document does not keep it.
struct OldSetupValues {
    // A file reference as written: the name and whether it was quoted.
    struct FileReference {
        std::string name;
        bool quoted = false;
    };

    // [DATA] MapMatrix, the raw value text.
    std::optional<std::string> mapMatrix;
    // [ANNOTATION] keys whose value names a Gauss file.
    std::optional<FileReference> line;
    std::optional<FileReference> lineAttributes;
    std::optional<FileReference> rectangle;
    std::optional<FileReference> rectangleAttributes;
    // [ANNOTATION] TextFrame.* and TextFont.*: the raw value text and what
    // it reads as.
    std::optional<std::string> textFrameText;
    std::optional<FrameRecord> textFrame;
    std::optional<std::string> textFontText;
    std::optional<FontRecord> textFont;
    // Sections this program does not know, header and body as they stand.
    std::vector<std::string> otherSections;
};

// Reads those values from the setup file at path. A key that cannot be
// read counts as absent.
OldSetupValues ReadOldSetupValues(const std::string& path);

// The whole setup text of the document, "\r\n" line ends, sections in the
// order [DATA], [PLOT.FRAME], [MAP.SCALE], [COLORS], [ANNOTATION],
// [SYSTEM], [PAGESETUP], [MAP.ATTRIBUTES], then the sections of the old
// file that are none of these. Names relative to the old file's folder
// (from) are rewritten for the new one (to).
std::string DocumentSetupText(ChartDocument& document, const OldSetupValues& old,
                              const std::string& from, const std::string& to);

// Appends the [MAP.ATTRIBUTES] section.
void WriteMapAttributes(const ChartDocument& document, std::string& output);

// The text a save of the document over its own file would write, without
// writing anything; nothing, with the reason, when a value cannot be
// written.
std::optional<std::string> SetupTextForSave(ChartDocument& document, std::string* reason);
