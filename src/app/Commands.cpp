#include "app/Commands.h"

#include <array>

namespace {

using K = QKeySequence;

const std::array<CommandInfo, 61> kCommands = {{
    {Cmd::FileNew, "&New", "Creates a new document", {K(Qt::CTRL | Qt::Key_N)}, "new"},
    {Cmd::FileOpen, "&Open...", "Opens an existing document", {K(Qt::CTRL | Qt::Key_O)}, "open"},
    {Cmd::FileClose, "&Close", "Close this document", {}, ""},
    {Cmd::FileSave, "&Save", "Saves this document", {K(Qt::CTRL | Qt::Key_S)}, "save"},
    {Cmd::FileSaveAs, "Save &As...", "Saves this document with a new name", {}, ""},
    {Cmd::ExportBitmap, "&Bitmap", "Saves active window in Windows bitmap format", {}, ""},
    {Cmd::ExportMetafile, "&Metafile", "Saves active window in Windows metafile format", {}, ""},
    {Cmd::Print, "&Print...", "Print this document", {K(Qt::CTRL | Qt::Key_P)}, "print"},
    {Cmd::PrintSetup, "P&rint Setup...", "Setup this document print characteristics", {}, ""},
    {Cmd::PrintActiveWindows, "Print active &windows", "", {}, ""},
    {Cmd::Exit,
     "E&xit",
     "Quits Demla and prompts to save the documents",
     {K(Qt::ALT | Qt::Key_F4)},
     ""},
    {Cmd::Cascade, "&Cascade", "Cascades open windows", {}, ""},
    {Cmd::TileHorizontal, "Tile &horizontal", "Tile horizintal open windows", {}, ""},
    {Cmd::TileVertical, "&Tile vertical", "Tiles vertical open windows", {}, ""},
    {Cmd::ArrangeIcons, "Arrange &Icons", "Arranges iconic windows along bottom", {}, ""},
    {Cmd::MinimizeAll, "&Minimize All", "Minimizes all open windows", {}, ""},
    {Cmd::MaximizeAll, "Ma&ximize All", "Maximizes all open windows", {}, ""},
    {Cmd::RestoreAll, "&Restore All", "Restores all open windows", {}, ""},
    {Cmd::CloseAll, "C&lose All", "Closes all open windows", {}, ""},
    {Cmd::AddView,
     "&Add View",
     "Create a new view for this document",
     {K(Qt::CTRL | Qt::Key_A)},
     ""},
    {Cmd::FitPlotArea, "&Fit Plot Area", "Zooms plot area to window", {}, "fit-plot-area"},
    {Cmd::HelpContents, "&Contents", "", {K(Qt::Key_F1)}, ""},
    {Cmd::About, "&About...", "About the Demla application", {}, ""},
    {Cmd::PlotFrame, "&Plot Frame", "Change Plot Frame parameters", {}, "plot-frame"},
    {Cmd::Scale, "&Scale", "Change Scale parameters", {}, "scale"},
    {Cmd::AnnotationText, "&Text", "Insert Text annotation", {}, ""},
    {Cmd::AnnotationRectangle, "&Rectangle", "Insert Rectangle annotation", {}, ""},
    {Cmd::AnnotationLine, "&Line", "Insert Line annotation", {}, ""},
    {Cmd::ColorSchemes,
     "&Color Schemes",
     "Select colors from predefined color scheme",
     {},
     "color-schemes"},
    {Cmd::MissingColor, "&Missing Color", "Select color for missing values", {}, ""},
    {Cmd::ColorValue, "Color &Value", "Returns numeric representation of a color", {}, ""},
    {Cmd::MapAppearance, "&Map", "Select Demla Map type and contour lines attributes", {}, ""},
    {Cmd::SmartScale, "Sma&rt Scale", "Computes automatic scale levels", {}, "smart-scale"},
    {Cmd::CopyBitmap,
     "As &Bitmap",
     "Put image into the Clipboard in a bitmap format",
     {K(Qt::CTRL | Qt::Key_B)},
     ""},
    {Cmd::CopyMetafile,
     "As &Metafile",
     "Put image into the Clipboard in a metafile format",
     {K(Qt::CTRL | Qt::Key_M)},
     ""},
    {Cmd::ShowScale, "S&how Scale", "Show or hide Scale object", {}, ""},
    {Cmd::ShowPlot, "Show Plo&t", "Show or hide Plot area", {}, ""},
    {Cmd::MonitorMode, "&Monitor Mode", "Entering or leaving monitor mode", {}, ""},
    {Cmd::MonitorDelay, "&Set Monitor Delay", "Set monitor updating interval in ms", {}, ""},
    {Cmd::Info, "&Info", "", {}, ""},
    {Cmd::FitPage, "Fit Page", "Fit Page", {}, "fit-page"},
    {Cmd::ZoomIn,
     "Zoom &In",
     "Zoom In",
     {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)},
     "zoom-in"},
    {Cmd::ZoomOut, "Zoom &Out", "Zoom Out", {K(Qt::CTRL | Qt::Key_Minus)}, "zoom-out"},
    {Cmd::CenterHere, "&Center Here", "Center Here", {}, ""},
    {Cmd::MoveUp, "Move Up", "Move Up", {}, "move-up"},
    {Cmd::MoveDown, "Move Down", "Move Down", {}, "move-down"},
    {Cmd::MoveLeft, "Move Left", "Move Left", {}, "move-left"},
    {Cmd::MoveRight, "Move Right", "Move Right", {}, "move-right"},
    {Cmd::TextEditor, "Text Editor", "Text Editor", {}, "text-editor"},
    {Cmd::Undo,
     "&Undo",
     "Reverses the last operation",
     {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)},
     "undo"},
    {Cmd::Cut,
     "Cu&t",
     "Cuts the selection and puts it on the Clipboard",
     {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)},
     "cut"},
    {Cmd::Copy,
     "&Copy",
     "Copies the selection and puts it on the Clipboard",
     {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)},
     "copy"},
    {Cmd::Paste,
     "&Paste",
     "Inserts the clipboard contents at the insertion point",
     {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)},
     "paste"},
    {Cmd::Delete, "&Delete", "Deletes the selection", {K(Qt::Key_Delete)}, ""},
    {Cmd::ClearAll, "C&lear All", "Clear the document", {K(Qt::CTRL | Qt::Key_Delete)}, ""},
    {Cmd::Find, "&Find...", "Finds the specified text", {K(Qt::CTRL | Qt::Key_F)}, "find"},
    {Cmd::Replace,
     "&Replace...",
     "Finds the specified text and changes it",
     {K(Qt::CTRL | Qt::Key_H)},
     ""},
    {Cmd::FindNext, "Find &Next", "Finds the next match", {K(Qt::Key_F3)}, "find-next"},
    {Cmd::FindSection,
     "Find &Section",
     "Find section in Demla Setup File",
     {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
     ""},
    // Keys without a menu item: the alternative copies of the map.
    {Cmd::CopyBitmapKey, "Copy as Bitmap", "", {K(Qt::CTRL | Qt::SHIFT | Qt::Key_B)}, ""},
    {Cmd::CopyMetafileKey, "Copy as Metafile", "", {K(Qt::CTRL | Qt::SHIFT | Qt::Key_M)}, ""},
}};

const std::array<const char*, 6> kSections = {"[ANNOTATION]",     "[COLORS]",    "[DATA]",
                                              "[MAP.ATTRIBUTES]", "[MAP.SCALE]", "[PLOT.FRAME]"};

} // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

std::span<const char* const> FindSectionItems() {
    return kSections;
}
