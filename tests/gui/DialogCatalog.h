#pragma once

#include "dialogs/AnnotationSheetDialogs.h"
#include "dialogs/AsciiFormatDialog.h"
#include "dialogs/ColorSchemeDialog.h"
#include "dialogs/DerivedDataDialog.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/MapAppearanceDialog.h"
#include "dialogs/NewDerivedMapDialog.h"
#include "dialogs/PlotFrameSheet.h"
#include "dialogs/ScaleSheet.h"
#include "document/ChartDocument.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "platform/QtPrompt.h"

#include <QPlainTextEdit>
#include <QTabWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Every dialog and property sheet of the program, made on the male
// mortality example in a main window, for the tests that look at all of
// them: its name and a maker.
struct DialogCase {
    std::string name;
    std::function<std::unique_ptr<QDialog>()> make;
};

class DialogCatalog {
public:
    DialogCatalog() {
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
        editor.setPlainText(QStringLiteral("[COLORS]\nMapColors=1;\n"));
    }
    ~DialogCatalog() {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }
    ChartDocument& Document() { return map->Entry().Document(); }

    std::vector<DialogCase> Cases() {
        ChartDocument& document = Document();
        QWidget* owner = &window;
        const auto frame = [&document, owner](std::vector<PlotFrameSheet::Page> pages) {
            return [&document, owner, pages] {
                return std::unique_ptr<QDialog>(new PlotFrameSheet(
                    document, pages, [] {}, owner));
            };
        };
        // A data file deep in folders with long names: the dialog names it.
        const std::filesystem::path deep = std::filesystem::path(folder.Path()) /
                                           "mortality of Danish men by single year of age" /
                                           "collected from the national statistics office";
        std::filesystem::create_directories(deep);
        std::filesystem::copy_file(folder / "dk-male-mortality.csv", deep / "dk-male-mortality.csv",
                                   std::filesystem::copy_options::overwrite_existing);
        const std::string data = (deep / "dk-male-mortality.csv").string();
        return {
            {"Plot Frame", frame(PlotFrameSheet::AllPages())},
            {"Plot Frame (x ticks)", frame(PlotFrameSheet::XTickPages())},
            {"Plot Frame (y ticks)", frame(PlotFrameSheet::YTickPages())},
            {"Scale",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new ScaleSheet(
                     document, [] {}, owner));
             }},
            {"Text (new)",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(
                     new TextAnnotationSheet(document, std::nullopt, owner));
             }},
            {"Text",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new TextAnnotationSheet(document, 0, owner));
             }},
            {"Rectangle (new)",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(
                     new RectangleAnnotationSheet(document, std::nullopt, owner));
             }},
            {"Rectangle",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new RectangleAnnotationSheet(document, 0, owner));
             }},
            {"Line (new)",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(
                     new LineAnnotationSheet(document, std::nullopt, owner));
             }},
            {"Line",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new LineAnnotationSheet(document, 0, owner));
             }},
            {"Color Schemes",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new ColorSchemeDialog(document, owner));
             }},
            {"Map Appearance",
             [this, owner] {
                 return std::unique_ptr<QDialog>(
                     new MapAppearanceDialog(map->Entry().Document(), owner));
             }},
            {"Derived Data",
             [&document, owner] {
                 return std::unique_ptr<QDialog>(new DerivedDataDialog(document, owner));
             }},
            {"New Derived Map",
             [this, data, owner] {
                 auto dialog = std::make_unique<NewDerivedMapDialog>(prompt, owner);
                 dialog->SetDataFile(QString::fromStdString(data));
                 return std::unique_ptr<QDialog>(std::move(dialog));
             }},
            {"ASCII format",
             [data, owner] {
                 return std::unique_ptr<QDialog>(new AsciiFormatDialog(AsciiFormat(), data, owner));
             }},
            {"Find",
             [this, owner] {
                 auto dialog = std::make_unique<FindReplaceDialog>(editor, owner);
                 dialog->Start(false, QString());
                 return std::unique_ptr<QDialog>(std::move(dialog));
             }},
            {"Replace",
             [this, owner] {
                 auto dialog = std::make_unique<FindReplaceDialog>(editor, owner);
                 dialog->Start(true, QString());
                 return std::unique_ptr<QDialog>(std::move(dialog));
             }},
        };
    }

    ExampleFolder folder;
    MainWindow window;
    QtPrompt prompt{&window};
    MapView* map = nullptr;
    QPlainTextEdit editor;
};

// The pages of a dialog: each index of its outer tab widget shown in turn
// (once for a dialog without one), with the caller's check on each.
inline void ForEachPage(QDialog& dialog, const std::function<void(const QString& page)>& check) {
    QTabWidget* tabs = nullptr;
    for (QTabWidget* candidate : dialog.findChildren<QTabWidget*>()) {
        if (candidate->parentWidget() == &dialog) {
            tabs = candidate;
        }
    }
    if (tabs == nullptr) {
        check(QString());
        return;
    }
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        check(tabs->tabText(i));
    }
}
