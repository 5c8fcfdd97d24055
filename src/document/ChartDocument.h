#pragma once

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
#include "core/DMAT.h"
#include "core/LObjectContainer.h"
#include "core/WMAT.h"
#include "datafiles/AsciiFormat.h"
#include "datafiles/AsciiMatrix.h"
#include "datafiles/LexisTable.h"
#include "document/DerivedSetup.h"
#include "frame/PlotFrame.h"
#include "map/CohortLines.h"
#include "scale/LRGBColorVect.h"
#include "scale/LevelFlags.h"
#include "scale/MScale.h"
#include "setup/TextEncoding.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Prompt;

// Page orientations of PageOrientation.
inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;

// The application's setup file type and version.
inline constexpr const char* kSetupType = "Demla";
inline constexpr const char* kSetupVersion = "1.1";

// One map: a setup file and the data matrix it names, with everything the
// setup file says about drawing them. Open reads the setup file (and the
// data file), Save writes the document back.
//
// The settings are plain public fields, named as the setup keys and the
// views know them; the painters and the dialogs read them directly. The
// scale changes only through SetScale, which keeps the level matrix and the
// legend's flags in step with the boundaries.
class ChartDocument {
public:
    // Messages and questions go to prompt, which must outlive the document.
    explicit ChartDocument(Prompt& prompt);
    ChartDocument(const ChartDocument&) = delete;
    ChartDocument& operator=(const ChartDocument&) = delete;

    // Loads the setup file at the document's path (path, when given,
    // becomes it first). True when the document is open, also after a
    // reported error that the user chose to accept; false when it is not,
    // and the caller discards it. Each call starts by emptying the data and
    // levels, putting back the default scale and placing the legend beside
    // the current plot frame; everything else is then read from the file,
    // and what the file does not give (a section that is not there, a
    // legend with an Appearance of its own) keeps what the document held,
    // so a reload keeps what was set on the map since.
    bool Open(const std::optional<std::string>& path = std::nullopt);

    // Writes the document to its path, after copying the file it came from
    // to its backup. True when the file was written; false after a message,
    // and the setup file is then as it was. A document opened after an
    // accepted load error holds only what was read before the error: saving
    // it over its own file asks first, and its backup keeps the copy of a
    // file that loaded cleanly.
    bool Save();

    // What the last Open learnt about the files behind the document.
    struct Sources {
        // The data file name as the setup file gives it, and whether it
        // was quoted; none when the setup file names no data file.
        std::optional<std::string> dataName;
        bool dataNameQuoted = false;
        // The files that loading read besides the setup file (the data
        // file, Gauss files of annotations): saving never writes over them.
        std::vector<std::string> readFiles;
        // Loading stopped at an error that the user chose to accept.
        bool openedWithErrors = false;
        // The file holds text but none of a setup file's sections: it is
        // some other file, opened as an empty map, and saving over it asks.
        bool notSetupFile = false;
        // The scale the file gives had more boundaries than the levels can
        // tell apart and was cut.
        bool scaleCut = false;
        // The encoding of the setup file's text: what its texts are shown
        // in, and what text typed for them is stored in.
        TextEncoding textEncoding = TextEncoding::Utf8;
    };
    const Sources& GetSources() const { return sources_; }
    // For the loading steps.
    Sources& GetSources() { return sources_; }
    bool OpenedWithErrors() const { return sources_.openedWithErrors; }

    const std::string& GetPath() const { return path_; }
    // The former path is kept: a save under a new name reads the values it
    // copies from the file the document came from. Open and a successful
    // Save make the path the file the document comes from.
    void SetPath(const std::string& path);
    const std::string& GetPreviousPath() const { return previousPath_; }
    // Puts back the path and the former path a failed save under a new name
    // changed, so the document still belongs to the file it came from.
    void RestorePaths(const std::string& path, const std::string& previousPath) {
        path_ = path;
        previousPath_ = previousPath;
    }

    // Takes everything another document loaded (its data, settings, paths
    // and what it learnt about its files), keeping this one's prompt: a
    // document read on the side replaces the shown one only once it loaded,
    // and whoever holds this document keeps a valid reference.
    void TakeLoaded(ChartDocument&& loaded);

    Prompt& GetPrompt() const { return prompt_; }

    // The number of scale boundaries L.
    std::uint32_t BoundaryCount() const;

    // Replaces the boundaries and the level colours (L + 2 of them, the
    // missing colour last), then classifies the map again and lets the
    // legend's flags follow the number of boundaries. With flags, the
    // legend takes those first (they are kept when they fit the scale).
    void SetScale(DMAT scale, LRGBColorVect colors);
    void SetScale(DMAT scale, LRGBColorVect colors, LevelFlags flags);
    // The colour of cells without a value, in the colour table as well.
    void SetMissingColor(LRGBColor color);

    // The legend's view of the plot frame, for Place and Read.
    LegendPlacementSource LegendSource() const;

    // 0 not set, 1 Gauss, 2 ASCII, 3 a mortality or fertility database table.
    int DataFormat = 0;
    // The field and record delimiters of an ASCII data file.
    AsciiFormat Delimiters;
    // The column of a database table that the map shows, as the setup file
    // names it; empty for the table's last value column.
    std::string ValueColumn;
    // What a database table holds besides the values in DataMatrix: its
    // layout, the column shown, the years and ages. Only after one was read.
    std::optional<LexisTable> Table;
    // The matrix the map shows: the data file's own, or the surface derived
    // from it when the setup file asks for one.
    DMAT DataMatrix;
    // How DataMatrix is derived; none for a map of the data as they are.
    std::optional<DerivedSetup> Derived;
    // With a derivation: the data file's matrix (A) and the second matrix
    // (B, for a ratio or a difference), which the readout quotes. B is
    // shared, never changed once read: the edit snapshots that take a
    // derivation back hold it without a copy.
    DMAT OriginalMatrix;
    std::shared_ptr<const DMAT> SecondMatrix;
    // One column of boundaries b[0] .. b[L-1].
    DMAT ScaleValues;
    // The level of every data cell.
    WMAT LevelMatrix;
    // L + 1 level colours, then the missing colour.
    LRGBColorVect LevelColors;
    LRGBColor MissingColor = 0xFFFFFF;
    MScale Legend;
    PlotFrame Frame;
    LObjectContainer<LText> Texts;
    LObjectContainer<LLine> Lines;
    LObjectContainer<LRectangle> Rectangles;
    bool ContourLines = false;
    double ContourLinesWidth = 0.0; // page units
    LRGBColor ContourLinesColor = 0;
    // Diagonal lines of constant birth year over the cells; none when the
    // setup file never mentioned them.
    std::optional<CohortLineSettings> CohortLines;
    std::uint32_t MapType = 0;
    int PageOrientation = kLandscape;
    // Set around Open for a document created from a data file: most
    // sections are then replaced by built-in defaults.
    bool GeneratedSetup = false;
    // The display size, for the ASCII reader's plausibility question; none
    // asks nothing.
    std::optional<ScreenSize> Screen;

private:
    // A new document's settings, everything at its default.
    void SetDefaults();
    // The steps of Open; false when the document is not opened.
    void Reset();
    bool LoadSteps();
    void MakeConsistent();
    // The levels of every cell and the legend's flags follow the scale.
    void LevelsFollowScale();

    Prompt& prompt_;
    std::string path_;
    std::string previousPath_;
    Sources sources_;
};
