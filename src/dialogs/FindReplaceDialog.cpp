#include "dialogs/FindReplaceDialog.h"
#include "dialogs/DialogSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

FindReplaceDialog::FindReplaceDialog(QPlainTextEdit& editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
    setModal(false);
    auto* fields = new QFormLayout;
    findEdit_ = new QLineEdit(this);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findEdit_);
    fields->addRow(findLabel, findEdit_);
    replaceEdit_ = new QLineEdit(this);
    replaceLabel_ = new QLabel(tr("Re&place with:"), this);
    replaceLabel_->setBuddy(replaceEdit_);
    fields->addRow(replaceLabel_, replaceEdit_);

    matchCase_ = new QCheckBox(tr("Match &case"), this);
    wholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
    auto* direction = new QGroupBox(tr("Direction"), this);
    up_ = new QRadioButton(tr("&Up"), direction);
    down_ = new QRadioButton(tr("&Down"), direction);
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    status_ = new QLabel(this);
    status_->setAccessibleName(tr("Search result"));

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    findButton_ = buttons->addButton(tr("&Find Next"), QDialogButtonBox::ActionRole);
    replaceButton_ = buttons->addButton(tr("&Replace"), QDialogButtonBox::ActionRole);
    replaceAllButton_ = buttons->addButton(tr("Replace &All"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    findButton_->setDefault(true);
    connect(findButton_, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(replaceButton_, &QPushButton::clicked, this, [this] { ReplaceOne(); });
    connect(replaceAllButton_, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(findEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findButton_->setEnabled(!text.isEmpty()); });

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(matchCase_);
    left->addWidget(wholeWord_);
    left->addWidget(direction);
    left->addWidget(status_);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    FitDialog(this);
}

void FindReplaceDialog::Start(bool replace, const QString& text) {
    setWindowTitle(replace ? tr("Replace") : tr("Find"));
    replaceLabel_->setVisible(replace);
    replaceEdit_->setVisible(replace);
    replaceButton_->setVisible(replace);
    replaceAllButton_->setVisible(replace);
    if (!text.isEmpty() && !text.contains(QChar::ParagraphSeparator)) {
        findEdit_->setText(text);
    }
    findButton_->setEnabled(!findEdit_->text().isEmpty());
    status_->clear();
    show();
    raise();
    activateWindow();
    findEdit_->setFocus();
    findEdit_->selectAll();
}

QString FindReplaceDialog::FindText() const {
    return findEdit_->text();
}

bool FindReplaceDialog::FindNext() {
    const QString text = findEdit_->text();
    if (text.isEmpty()) {
        return false;
    }
    QTextDocument::FindFlags flags;
    if (matchCase_->isChecked()) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (wholeWord_->isChecked()) {
        flags |= QTextDocument::FindWholeWords;
    }
    if (up_->isChecked()) {
        flags |= QTextDocument::FindBackward;
    }
    if (editor_.find(text, flags)) {
        status_->clear();
        return true;
    }
    status_->setText(tr("Cannot find \"%1\"").arg(text));
    QApplication::beep();
    return false;
}

bool FindReplaceDialog::ReplaceOne() {
    QTextCursor cursor = editor_.textCursor();
    const Qt::CaseSensitivity sensitivity =
        matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() &&
        QString::compare(cursor.selectedText(), findEdit_->text(), sensitivity) == 0) {
        cursor.insertText(replaceEdit_->text());
        editor_.setTextCursor(cursor);
    }
    return FindNext();
}

int FindReplaceDialog::ReplaceAll() {
    const QString text = findEdit_->text();
    if (text.isEmpty()) {
        return 0;
    }
    QTextDocument::FindFlags flags;
    if (matchCase_->isChecked()) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (wholeWord_->isChecked()) {
        flags |= QTextDocument::FindWholeWords;
    }
    QTextDocument* document = editor_.document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor found = document->find(text, 0, flags);
    while (!found.isNull()) {
        found.insertText(replaceEdit_->text());
        ++count;
        found = document->find(text, found, flags);
    }
    edit.endEditBlock();
    status_->setText(tr("%n replaced", nullptr, count));
    return count;
}
