#include "gui/TextView.h"

#include "dialogs/FindReplaceDialog.h"
#include "document/SafeFile.h"
#include "gui/Commands.h"
#include "gui/PointerActivation.h"
#include "gui/Shell.h"
#include "platform/QtText.h"
#include "view/HelpTopics.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TextView::TextView(DocumentEntry& entry, Shell& shell, QWidget* parent)
    : QPlainTextEdit(parent), entry_(entry), shell_(shell) {
    setAccessibleName(tr("Setup text"));
    setAccessibleDescription(tr("Setup file %1").arg(entry.Title()));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    setMouseTracking(true);
    entry_.AddView(this);
    connect(document(), &QTextDocument::modificationChanged, this,
            [this] { shell_.CommandsChanged(); });
}

TextView::~TextView() {
    entry_.RemoveView(this);
}

bool TextView::LoadFile() {
    refused_ = false;
    setReadOnly(false);
    const std::string path = entry_.Document().GetPath();
    if (path.empty()) {
        return false;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        // The file could not be read: the text stays as it was.
        return true;
    }
    std::string reason;
    const std::optional<EditorText> text = EditorTextFromBytes(bytes, &reason);
    if (!text) {
        refused_ = true;
        clear();
        setReadOnly(true);
        document()->setModified(false);
        entry_.Prompt().Show(kApplicationName, reason, PromptIcon::Exclamation);
        return false;
    }
    encoding_ = text->encoding;
    lineEnd_ = text->lineEnd;
    setPlainText(QString::fromUtf8(text->text.data(), static_cast<qsizetype>(text->text.size())));
    document()->setModified(false);
    return true;
}

std::string TextView::EditorUtf8() const {
    // The raw text keeps no-break spaces, which the plain text turns into
    // blanks; blocks are separated by paragraph separators.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return raw.toStdString();
}

bool TextView::Commit() {
    if (refused_) {
        return false;
    }
    std::string reason;
    const std::optional<std::string> bytes =
        BytesFromEditorText(EditorUtf8(), encoding_, lineEnd_, &reason);
    if (!bytes) {
        entry_.Prompt().Show("Error", reason, PromptIcon::Exclamation);
        return false;
    }
    // A failed save keeps the changes marked, so closing still asks.
    if (!SaveSetupText(entry_.Document().GetPath(), *bytes,
                       entry_.Document().GetSources().readFiles, entry_.Prompt())) {
        return false;
    }
    document()->setModified(false);
    return true;
}

bool TextView::IsDirty() const {
    return document()->isModified() && !refused_;
}

void TextView::FileWritten() {
    // A save that would replace changes of this text asked before it wrote.
    LoadFile();
}

bool TextView::IsEnabled(int command) const {
    switch (command) {
    case Cmd::Undo:
        return !isReadOnly() && document()->isUndoAvailable();
    case Cmd::Cut:
    case Cmd::Delete:
        return !isReadOnly() && textCursor().hasSelection();
    case Cmd::Copy:
        return textCursor().hasSelection();
    case Cmd::Paste:
        return !isReadOnly() && canPaste();
    case Cmd::ClearAll:
        return !isReadOnly() && !document()->isEmpty();
    case Cmd::Find:
    case Cmd::FindNext:
    case Cmd::FindSection:
        return true;
    case Cmd::Replace:
        return !isReadOnly();
    default:
        return false;
    }
}

bool TextView::Execute(int command) {
    if (!IsEnabled(command)) {
        return false;
    }
    switch (command) {
    case Cmd::Undo:
        undo();
        break;
    case Cmd::Cut:
        cut();
        break;
    case Cmd::Copy:
        copy();
        break;
    case Cmd::Paste:
        paste();
        break;
    case Cmd::Delete:
        textCursor().removeSelectedText();
        break;
    case Cmd::ClearAll: {
        // Undoable, unlike clear().
        QTextCursor cursor(document());
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        break;
    }
    case Cmd::Find:
        ShowFind(false);
        break;
    case Cmd::Replace:
        ShowFind(true);
        break;
    case Cmd::FindNext:
        FindNext();
        break;
    default:
        return false;
    }
    return true;
}

void TextView::ShowFind(bool replace) {
    if (find_ == nullptr) {
        find_ = new FindReplaceDialog(*this, this);
    }
    find_->Start(replace, textCursor().selectedText());
}

void TextView::FindNext() {
    if (find_ == nullptr || find_->FindText().isEmpty()) {
        ShowFind(false);
        return;
    }
    find_->FindNext();
}

void TextView::FindSection(const QString& header) {
    QTextCursor start(document());
    setTextCursor(start);
    const QTextCursor found = document()->find(
        header, start, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
    if (found.isNull()) {
        return;
    }
    QTextCursor caret(document());
    caret.setPosition(found.selectionStart());
    setTextCursor(caret);
    centerCursor();
}

std::optional<std::string> TextView::HelpTopic() const {
    const QTextCursor cursor = textCursor();
    const QString line = cursor.block().text();
    const std::string bytes = line.toStdString();
    // The column in UTF-8 bytes: letters are ASCII, so the word is the same.
    const std::string before = line.left(cursor.positionInBlock()).toStdString();
    return HelpTopicForCaret(bytes, before.size());
}

void TextView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (const std::optional<std::string> topic = HelpTopic()) {
            shell_.OpenHelp(QString::fromStdString(*topic));
        }
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    // The right button does nothing here: the Edit menu has every command.
    event->accept();
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseMoveEvent(event);
    ActivateUnderPointer(*this);
}

void TextView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    shell_.ViewFocused(this);
}
