#pragma once

#include "gui/Documents.h"
#include "view/SetupText.h"

#include <QPlainTextEdit>

#include <string>

class Shell;
class FindReplaceDialog;

// A text window: the document's setup file as text, edited by hand beside
// its maps. It works on the file, not on the loaded document: saving
// writes the text and makes the map views read the file again.
class TextView : public QPlainTextEdit, public DocumentView {
    Q_OBJECT
public:
    TextView(DocumentEntry& entry, Shell& shell, QWidget* parent = nullptr);
    ~TextView() override;

    ViewKind Kind() const override { return ViewKind::Text; }
    QWidget* Widget() override { return this; }
    DocumentEntry& Entry() const override { return entry_; }
    bool Commit() override;
    bool IsDirty() const override;
    void FileWritten() override;

    // Reads the file into the editor; false when there is nothing to show
    // (no path, or a file the editor cannot hold).
    bool LoadFile();
    // The file could not be shown; the view then never writes it.
    bool IsRefused() const { return refused_; }

    bool Execute(int command);
    bool IsEnabled(int command) const;

    // Puts the caret at a section header, or at the top when there is none.
    void FindSection(const QString& header);
    // The manual's topic for the caret's place.
    std::optional<std::string> HelpTopic() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The editor's text with "\n" line ends, as it was typed.
    std::string EditorUtf8() const;
    void ShowFind(bool replace);
    void FindNext();

    DocumentEntry& entry_;
    Shell& shell_;
    bool refused_ = false;
    TextEncoding encoding_ = TextEncoding::Utf8;
    LineEnd lineEnd_ = LineEnd::CrLf;
    FindReplaceDialog* find_ = nullptr;
};
