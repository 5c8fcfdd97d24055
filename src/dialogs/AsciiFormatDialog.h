#pragma once

#include "datafiles/AsciiFormat.h"

#include <QDialog>

#include <string>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// "Select ASCII File Format": the field and record delimiters of a
// delimited data file, with its first lines to see them in.
class AsciiFormatDialog : public QDialog {
    Q_OBJECT
public:
    AsciiFormatDialog(const AsciiFormat& format, const std::string& dataPath, QWidget* parent);

    // The delimiters chosen (after OK).
    AsciiFormat Format() const;

    QRadioButton* comma;
    QRadioButton* spaces;
    QRadioButton* customField;
    QLineEdit* fieldChar;
    QRadioButton* crlf;
    QRadioButton* customRecord;
    QLineEdit* recordChar;
    QPlainTextEdit* preview;

private:
    QGroupBox* MakeFieldBox();
    QGroupBox* MakeRecordBox();
    // Checks the format's choices; a custom one enables its character.
    void ShowFormat(const AsciiFormat& format);
    void ShowFirstLines(const std::string& dataPath);
};
