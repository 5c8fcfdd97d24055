#pragma once

#include "render/Geometry.h"

#include <QString>

#include <optional>
#include <vector>

class DocumentEntry;
class DocumentView;

// What the views ask of the program's main window.
class Shell {
public:
    virtual ~Shell() = default;

    // Writes a page orientation into the printer's setup and answers the
    // printer's page in page units (nothing when it gives none).
    virtual std::optional<DoubleSize> ApplyOrientation(int pageOrientation) = 0;
    // A view got the keyboard focus: the tool bar shows its set.
    virtual void ViewFocused(DocumentView* view) = 0;
    // The status bar's panes, numbered 1 to 8.
    virtual void SetStatusPane(int pane, const QString& text) = 0;
    virtual void ClearStatusPanes() = 0;
    // A line in the status bar's message area, until something replaces it
    // (empty: clears it).
    virtual void ShowStatusMessage(const QString& text) = 0;
    // Opens the manual at a topic's anchor (empty: at its top).
    virtual void OpenHelp(const QString& topic) = 0;
    // Shows the document's text view, making one when it has none.
    virtual void ShowTextEditor(DocumentEntry& entry) = 0;
    // The document's views changed what they may do (menus and buttons).
    virtual void CommandsChanged() = 0;
    // The map views of windows that are not minimized, in the order of the
    // child windows.
    virtual std::vector<DocumentView*> ShownMapViews() = 0;
};
