#pragma once

#include "document/NewMap.h"

#include <QDialog>

class DerivedDataForm;
class Prompt;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "New Derived Map": a map of a data file that shows a ratio, difference,
// rate of improvement or smoothed surface of it, with cohort lines if
// asked, the choices of `demla new --derive`. OK checks the choices and
// keeps what CreateNewMap is to make; the caller makes and opens it.
class NewDerivedMapDialog : public QDialog {
    Q_OBJECT
public:
    // Messages and questions go to prompt.
    NewDerivedMapDialog(Prompt& prompt, QWidget* parent);

    // The data file, which fills the format, its columns and the setup
    // file's name.
    void SetDataFile(const QString& path);

    // What OK accepted.
    const NewMapRequest& Request() const { return request_; }
    const NewMapExtras& Extras() const { return extras_; }

    void accept() override;

    QLineEdit* dataFile;
    QPushButton* browseData;
    QComboBox* format;
    QPushButton* delimitersButton;
    QComboBox* valueColumn;
    DerivedDataForm* derivation;
    QCheckBox* cohortLines;
    QSpinBox* cohortStep;
    QLineEdit* setupFile;
    QPushButton* changeSetup;

private:
    void LayOutFields();
    void ConnectFields();
    void DataFileChosen();
    void EnableFields();
    void SuggestSetupFile();
    // The database table's head of the data file, when its kind is one.
    std::optional<LexisTableHeader> Table(std::string* error = nullptr) const;

    Prompt& prompt_;
    AsciiFormat delimiters_;
    // The setup file was named by the user: it no longer follows the data.
    bool setupNamed_ = false;
    NewMapRequest request_;
    NewMapExtras extras_;
};
