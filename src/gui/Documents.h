#pragma once

#include "document/ChartDocument.h"
#include "document/NewMap.h"
#include "platform/QtPrompt.h"
#include "view/MonitorMode.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <memory>
#include <string>
#include <vector>

class QWidget;
class DocumentEntry;

enum class ViewKind { Map, Text };

// A window on a document: a map view or a text view. The document tells
// its views what happened to it through these notices.
class DocumentView {
public:
    virtual ~DocumentView() = default;

    virtual ViewKind Kind() const = 0;
    virtual QWidget* Widget() = 0;
    virtual DocumentEntry& Entry() const = 0;

    // Writes the document (the map view) or the text (the text view) to the
    // file; false after a message, and the view keeps its changes.
    virtual bool Commit() = 0;
    // The view holds changes that are not in the file.
    virtual bool IsDirty() const = 0;
    // Another view wrote the file: show what is in it now.
    virtual void FileWritten() = 0;
    // The document was reloaded from its file (map views repaint).
    virtual void DocumentReloaded() {}
    // The printer's page changed (Print Setup).
    virtual void PageChanged() {}
    // The cell shape or the contour lines changed.
    virtual void AppearanceChanged() {}
};

// One open setup file and its views. The document lives as long as it has
// views. While it loads or saves, a message box may run a nested event
// loop: the views then paint what they showed before and the entry defers
// reloads, so nothing ever draws or reloads a half-loaded document.
class DocumentEntry : public QObject {
    Q_OBJECT
public:
    explicit DocumentEntry(QWidget* owner);
    ~DocumentEntry() override;

    ChartDocument& Document() { return document_; }
    // The in-place edits of the document's maps, to take back; emptied
    // when the document is read again from its file.
    QUndoStack& UndoStack() { return undo_; }
    const ChartDocument& Document() const { return document_; }
    QtPrompt& Prompt() { return prompt_; }

    // Loads the setup file; false when it was not opened (a setup error the
    // user did not accept, a file that cannot be read).
    bool Load(const std::string& path);
    // Makes the new map of a data file and writes its setup file.
    NewMapResult LoadNew(const NewMapRequest& request, const NewMapExtras& extras = {});
    // The document holds what its file holds: it loaded, or a reload did.
    bool IsLoaded() const { return loaded_; }
    // A load or a save is under way.
    bool IsBusy() const { return busy_ > 0; }

    // The file's name for titles.
    QString Title() const;
    QString Path() const;

    const std::vector<DocumentView*>& Views() const { return views_; }
    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    // Some view has changes that are not in the file.
    bool IsDirty() const;
    // The document was changed since it was read or saved: an edit on the
    // undo stack, or a change outside it. Every map view shows this.
    bool MapsModified() const { return !undo_.isClean(); }
    // A map view shows changes that are not in the file.
    bool MapsDirty() const;
    // The view that saves the document for File Save: the given one when it
    // is one of ours, else the first map view, else the first view.
    DocumentView* SavingView(DocumentView* active) const;

    // Saves through a view; tells the other views when the file changed.
    // Saving rereads the file into the views of the other kind, so when one
    // of them holds changes of its own it asks first (default No), and
    // false means nothing was written.
    bool Save(DocumentView* through);
    // A view wrote the file: the other views show what it holds now. A map
    // view wrote the document itself, so only other map views reload it.
    void FileWrittenBy(DocumentView* writer);
    // Reads the document again from its file and repaints the map views.
    void Reload();
    // Monitor mode's reload: asks nothing, keeps the document as it was
    // when its files do not load, and keeps the maps' unsaved edits over
    // what the setup file says (the data are new).
    MonitorReload ReloadForMonitor();
    // Drops the maps' edits: the document is read afresh from its files, as
    // opening it did. False when they did not load; the document then stays
    // as it was.
    bool Revert();
    // The maps of the document were edited (through a map view, or by
    // taking an edit back): every map view draws again.
    void MapsChanged(DocumentView* by = nullptr);
    // Every map view of the document draws again (a sheet applied a change).
    void RedrawMaps();
    // A change that the undo stack does not hold (the page orientation, a
    // new map whose setup file was not written): taking every edit back no
    // longer makes the document unchanged.
    void ChangedOutsideUndo() { undo_.resetClean(); }

signals:
    // The document was read again from its file.
    void Reloaded();
    // The document has its first view, or its path changed.
    void PathChanged(const QString& path);
    void TitleChanged();
    // The document became modified, or unmodified again.
    void ModifiedChanged();

private:
    class BusyScope;
    // The document holds what was read again: the views show it, and the
    // maps' edits, when kept, stay to be saved.
    void ShowReloaded(bool keptEdits);

    QtPrompt prompt_;
    ChartDocument document_;
    QUndoStack undo_;
    std::vector<DocumentView*> views_;
    bool loaded_ = false;
    int busy_ = 0;
    bool reloadPending_ = false;
};

// All open documents.
class DocumentManager : public QObject {
    Q_OBJECT
public:
    explicit DocumentManager(QWidget* owner) : owner_(owner) {}

    // The open document with that file, if any.
    DocumentEntry* Find(const QString& path) const;
    // A new document for a setup file; nothing when it cannot be opened.
    // With forText, a file with setup errors still opens (for the text view
    // to mend it).
    DocumentEntry* Open(const QString& path, bool forText);
    // A new document for the map of a data file; nothing when it was not
    // made. written tells whether its setup file holds it.
    DocumentEntry* OpenNew(const NewMapRequest& request, const NewMapExtras& extras, bool& written);
    // Forgets a document that has no views any more.
    void Discard(DocumentEntry* entry);
    const std::vector<std::unique_ptr<DocumentEntry>>& Documents() const { return documents_; }

private:
    QWidget* owner_;
    std::vector<std::unique_ptr<DocumentEntry>> documents_;
};

// The same file, however its path was written.
bool SameFile(const QString& a, const QString& b);
