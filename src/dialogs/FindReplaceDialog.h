#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Find and Replace over a text editor, one modeless dialog for both: Find
// shows the search only, Replace adds the replacement and its buttons.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(QPlainTextEdit& editor, QWidget* parent);

    // Shows the dialog in one of its two modes, with a text to look for.
    void Start(bool replace, const QString& text);
    QString FindText() const;
    // Selects the next match; false (and a beep) when there is none.
    bool FindNext();
    bool ReplaceOne();
    // The number of matches replaced.
    int ReplaceAll();

private:
    QPlainTextEdit& editor_;
    QLineEdit* findEdit_;
    QLabel* replaceLabel_;
    QLineEdit* replaceEdit_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QRadioButton* up_;
    QRadioButton* down_;
    QPushButton* findButton_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
    QLabel* status_;
};
