#include "gui/MainWindow.h"

#include "datafiles/LexisTable.h"
#include "dialogs/AsciiFormatDialog.h"
#include "dialogs/NewDerivedMapDialog.h"
#include "document/ChartDocument.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "gui/MapView.h"
#include "platform/QtText.h"
#include "view/LCmdLineIter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUndoGroup>

// The File menu's commands: new maps from data files, opening, saving and
// closing documents, and more views of one.

namespace {

const char* const kMapFilter = "Demla Map (*.dml)";
const char* const kTextFilter = "Text (*.dml)";

} // namespace

void MainWindow::FileNew() {
    QStringList filters;
    for (const DataFileKind& kind : kDataFileKinds) {
        filters << QString::fromLatin1(kind.description.data(),
                                       static_cast<qsizetype>(kind.description.size()));
    }
    QFileDialog dialog(this, tr("Open Data File"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const DataFileKind& kind = kDataFileKinds[static_cast<std::size_t>(
        std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))];
    NewMapChoice choice;
    choice.dataPath = dialog.selectedFiles().front();
    choice.format = kind.format;
    QtPrompt prompt(this);
    if (kind.asksDelimiters) {
        AsciiFormatDialog format(AsciiFormat(), PathFromQt(choice.dataPath), this);
        if (format.exec() != QDialog::Accepted) {
            return;
        }
        choice.delimiters = format.Format();
    }
    if (kind.asksValueColumn) {
        std::string bytes;
        std::string error;
        std::optional<LexisTableHeader> table;
        if (ReadWholeFile(PathFromQt(choice.dataPath), bytes)) {
            table = ReadLexisTableHeader(bytes, error);
        }
        if (!table) {
            prompt.Show("Error",
                        "Cannot read the table " + PathFromQt(choice.dataPath) + "\r\n" + error,
                        PromptIcon::Exclamation);
            return;
        }
        QStringList columns;
        for (const std::string& column : table->ValueColumns()) {
            columns << QString::fromStdString(column);
        }
        bool ok = false;
        const QString column = QInputDialog::getItem(
            this, tr("Value Column"), tr("&Values to show:"), columns,
            std::max<qsizetype>(
                0, columns.indexOf(QString::fromStdString(table->DefaultValueColumn()))),
            false, &ok);
        if (!ok) {
            return;
        }
        choice.valueColumn = column.toStdString();
    }
    choice.setupPath = PathToQt(SetupPathForDataFile(PathFromQt(choice.dataPath)));
    if (QFileInfo::exists(choice.setupPath)) {
        // The user confirms or changes the name of a setup file that is there.
        QFileDialog again(this, tr("Open Data File"), choice.setupPath);
        again.setAcceptMode(QFileDialog::AcceptSave);
        again.setFileMode(QFileDialog::AnyFile);
        again.setNameFilter(tr("Demla (*.dml)"));
        again.selectFile(choice.setupPath);
        if (again.exec() != QDialog::Accepted || again.selectedFiles().isEmpty()) {
            return;
        }
        choice.setupPath = again.selectedFiles().front();
    }
    bool ok = false;
    const QStringList kinds = {tr("Map"), tr("Text")};
    const QString view =
        QInputDialog::getItem(this, tr("New"), tr("&Show the new map as:"), kinds, 0, false, &ok);
    if (!ok) {
        return;
    }
    choice.kind = view == kinds[1] ? ViewKind::Text : ViewKind::Map;
    CreateFromData(choice);
}

void MainWindow::FileNewDerived() {
    QtPrompt prompt(this);
    NewDerivedMapDialog dialog(prompt, this);
    // The data of the active map are the likeliest to be derived from.
    if (auto* map = dynamic_cast<MapView*>(ActiveView())) {
        const ChartDocument& document = map->Entry().Document();
        if (!document.GetSources().readFiles.empty() && document.DataFormat != 0) {
            dialog.SetDataFile(PathToQt(document.GetSources().readFiles.front()));
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    NewMapChoice choice;
    const NewMapRequest& request = dialog.Request();
    choice.dataPath = PathToQt(request.dataPath);
    choice.format = request.format;
    choice.delimiters = request.delimiters;
    choice.valueColumn = request.valueColumn;
    choice.setupPath = PathToQt(request.setupPath);
    choice.extras = dialog.Extras();
    CreateFromData(choice);
}

DocumentView* MainWindow::CreateFromData(const NewMapChoice& choice) {
    QtPrompt prompt(this);
    const std::string setupPath = PathFromQt(choice.setupPath);
    const std::string dataPath = PathFromQt(choice.dataPath);
    if (documents_.Find(choice.setupPath) != nullptr) {
        prompt.Show("Warning", "Document already opened", PromptIcon::Warning);
        return nullptr;
    }
    bool written = false;
    DocumentEntry* entry = documents_.OpenNew(
        {dataPath, choice.format, choice.delimiters, choice.valueColumn, setupPath, false},
        choice.extras, written);
    if (entry == nullptr) {
        return nullptr;
    }
    recent_.Add(entry->Path());
    undoGroup_->addStack(&entry->UndoStack());
    DocumentView* view = AddView(*entry, choice.kind);
    // A map whose setup file could not be written is offered for saving
    // when it closes.
    auto* map = dynamic_cast<MapView*>(view);
    if (map == nullptr && entry->IsLoaded()) {
        map = dynamic_cast<MapView*>(AddView(*entry, ViewKind::Map));
    }
    if (map != nullptr && !written) {
        entry->ChangedOutsideUndo();
    }
    return view;
}

void MainWindow::FileOpen() {
    DocumentView* active = ActiveView();
    const QString folder =
        active != nullptr ? QFileInfo(active->Entry().Path()).absolutePath() : QDir::currentPath();
    QFileDialog dialog(this, tr("Open"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr(kMapFilter), tr(kTextFilter)});
    dialog.selectNameFilter(tr(kMapFilter));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    const ViewKind kind =
        dialog.selectedNameFilter() == tr(kTextFilter) ? ViewKind::Text : ViewKind::Map;
    if (documents_.Find(path) != nullptr) {
        QtPrompt(this).Show("Warning", "Document already opened", PromptIcon::Warning);
        return;
    }
    OpenFile(path, kind);
}

void MainWindow::OpenRecent(const QString& path) {
    if (!IsSetupFileToken(PathFromQt(path))) {
        return;
    }
    if (DocumentEntry* open = documents_.Find(path)) {
        open->Prompt().Show(kApplicationName, "Document already loaded.", PromptIcon::Warning);
        return;
    }
    if (!QFileInfo::exists(path)) {
        QtPrompt(this).Show("Error", "Cannot find the document " + PathFromQt(path),
                            PromptIcon::Exclamation);
        recent_.Remove(path);
        return;
    }
    OpenFile(path, ViewKind::Map);
}

void MainWindow::FileSave() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    DocumentEntry& entry = view->Entry();
    entry.Save(entry.SavingView(view));
    CommandsChanged();
}

void MainWindow::FileSaveAs() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        QtPrompt(this).Show("Warning", "No current document found", PromptIcon::Warning);
        return;
    }
    DocumentEntry& entry = view->Entry();
    QFileDialog dialog(this, tr("Save As"), entry.Path());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(kMapFilter));
    dialog.setDefaultSuffix(QStringLiteral("dml"));
    dialog.selectFile(entry.Path());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    if (DocumentEntry* other = documents_.Find(path); other != nullptr && other != &entry) {
        QtPrompt(this).Show("Warning",
                            "Document already opened: " + PathFromQt(path) +
                                "\r\nClose it before saving another map under its name.",
                            PromptIcon::Warning);
        return;
    }
    ChartDocument& document = entry.Document();
    const std::string oldPath = document.GetPath();
    const std::string oldPrevious = document.GetPreviousPath();
    document.SetPath(PathFromQt(path));
    if (!entry.Save(view)) {
        // The document still belongs to the file it came from.
        document.RestorePaths(oldPath, oldPrevious);
    }
    CommandsChanged();
}

void MainWindow::FileClose() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    DocumentEntry* entry = &view->Entry();
    for (QMdiSubWindow* window : area_->subWindowList()) {
        DocumentView* other = ViewOf(window);
        if (other != nullptr && &other->Entry() == entry && !window->close()) {
            return;
        }
    }
}

void MainWindow::AddViewCommand() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    bool ok = false;
    const QStringList kinds = {tr("Map"), tr("Text")};
    const QString kind =
        QInputDialog::getItem(this, tr("Add View"), tr("&View kind:"), kinds, 0, false, &ok);
    if (ok) {
        AddView(view->Entry(), kind == kinds[1] ? ViewKind::Text : ViewKind::Map);
    }
}
