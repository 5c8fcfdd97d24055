#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <span>

// The program's commands: every menu item, tool-bar button and key has an
// id, a menu text with its mnemonic, the hint the status bar shows while it
// is highlighted, and its keys.
namespace Cmd {
// File
inline constexpr int FileNew = 24331;
inline constexpr int FileOpen = 24332;
inline constexpr int FileClose = 24339;
inline constexpr int FileSave = 24333;
inline constexpr int FileSaveAs = 24334;
inline constexpr int ExportBitmap = 24336;
inline constexpr int ExportMetafile = 51683;
// Exports of the pictures Linux programs take.
inline constexpr int ExportPng = 60001;
inline constexpr int ExportSvg = 60002;
inline constexpr int ExportPdf = 60003;
// A map of a derived surface of a data file.
inline constexpr int FileNewDerived = 60004;
inline constexpr int Print = 24337;
inline constexpr int PrintSetup = 24338;
inline constexpr int PrintActiveWindows = 24342;
inline constexpr int Exit = 24310;
// Window
inline constexpr int Cascade = 24361;
inline constexpr int TileHorizontal = 24363;
inline constexpr int TileVertical = 24362;
inline constexpr int ArrangeIcons = 24364;
inline constexpr int MinimizeAll = 51687;
inline constexpr int MaximizeAll = 51688;
inline constexpr int RestoreAll = 51689;
inline constexpr int CloseAll = 24365;
inline constexpr int AddView = 24341;
inline constexpr int FitPlotArea = 24343;
// Help
inline constexpr int HelpContents = 2010;
inline constexpr int About = 2009;
// Edit, map view
inline constexpr int PlotFrame = 20683;
inline constexpr int Scale = 20684;
inline constexpr int AnnotationText = 20685;
inline constexpr int AnnotationRectangle = 20686;
inline constexpr int AnnotationLine = 20687;
inline constexpr int ColorSchemes = 20688;
inline constexpr int MissingColor = 20689;
inline constexpr int ColorValue = 20690;
inline constexpr int MapAppearance = 20691;
inline constexpr int DerivedData = 60005;
inline constexpr int SmartScale = 104;
inline constexpr int CopyBitmap = 51682;
inline constexpr int CopyMetafile = 51685;
// The same copies by key only (Ctrl+Shift+B, Ctrl+Shift+M).
inline constexpr int CopyBitmapKey = 51684;
inline constexpr int CopyMetafileKey = 51686;
inline constexpr int ShowScale = 105;
inline constexpr int ShowPlot = 108;
inline constexpr int MonitorMode = 119;
inline constexpr int MonitorDelay = 120;
inline constexpr int Info = 20692;
// Map view, tool bar and keys
inline constexpr int FitPage = 133;
inline constexpr int ZoomIn = 130;
inline constexpr int ZoomOut = 131;
inline constexpr int CenterHere = 132;
inline constexpr int MoveUp = 20693;
inline constexpr int MoveDown = 20694;
inline constexpr int MoveLeft = 20695;
inline constexpr int MoveRight = 20696;
inline constexpr int TextEditor = 20697;
// The cell menu of a map view
inline constexpr int CellColor = 109;
inline constexpr int PullUpperLine = 110;
inline constexpr int PullLowerLine = 111;
inline constexpr int DeleteRegion = 158;
inline constexpr int InsertContourLine = 159;
// The legend menu
inline constexpr int LegendColor = 113;
inline constexpr int ChangeLevel = 114;
inline constexpr int InsertLevel = 156;
inline constexpr int DeleteLevel = 157;
inline constexpr int ShiftColorsUp = 160;
inline constexpr int ShiftColorsDown = 161;
inline constexpr int ReverseColors = 162;
// Edit, text view
inline constexpr int Undo = 24321;
inline constexpr int Cut = 24322;
inline constexpr int Copy = 24323;
inline constexpr int Paste = 24324;
inline constexpr int Delete = 24325;
inline constexpr int ClearAll = 24326;
inline constexpr int Find = 24351;
inline constexpr int Replace = 24352;
inline constexpr int FindNext = 24353;
inline constexpr int FindSection = 24354;
// Find Section's items: the id of each section header's item (they share
// numbers with map commands, but live in the text view's menu only).
inline constexpr int SectionBase = 100000;
} // namespace Cmd

// Where a command acts: the program as a whole, the active view's document
// whatever the view, or the active view when it is of that kind. A command of
// a view kind does nothing, and is disabled, while a view of another kind is
// active. The commands of a point of the map (its context menus) take the
// point of the click that opened the menu and are never routed.
enum class CommandScope { Application, Document, MapView, TextView, MapPoint };

struct CommandInfo {
    int id;
    CommandScope scope;
    // The menu item's text with its mnemonic, or the button's name.
    const char* text;
    // Shown in the status bar while the item is highlighted; empty for none.
    const char* hint;
    // The keys, the first one shown in the menu.
    QList<QKeySequence> keys;
    // The icon's resource name, empty for none.
    const char* icon;
};

std::span<const CommandInfo> CommandTable();
const CommandInfo* FindCommand(int id);

// The section headers Find Section jumps to, in menu order.
std::span<const char* const> FindSectionItems();
