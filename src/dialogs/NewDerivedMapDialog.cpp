#include "dialogs/NewDerivedMapDialog.h"

#include "core/Prompt.h"
#include "dialogs/AsciiFormatDialog.h"
#include "dialogs/DerivedDataForm.h"
#include "dialogs/DialogSupport.h"
#include "document/SafeFile.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <filesystem>

namespace {

// Cohort lines a new map offers: one every ten years, as demographers
// draw them most.
constexpr int kDefaultCohortStep = 10;

QHBoxLayout* FieldWithButton(QWidget* field, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

std::string AbsoluteOf(const QString& path) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(PathFromQt(path.trimmed()), error);
    return error ? PathFromQt(path.trimmed()) : absolute.lexically_normal().string();
}

} // namespace

NewDerivedMapDialog::NewDerivedMapDialog(Prompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt) {
    setWindowTitle(tr("New Derived Map"));
    dataFile = new QLineEdit(this);
    browseData = new QPushButton(tr("&Browse..."), this);
    browseData->setAccessibleName(tr("Browse for the data file"));
    format = new QComboBox(this);
    for (const DataFileKind& kind : kDataFileKinds) {
        format->addItem(QString::fromLatin1(kind.description.data(),
                                            static_cast<qsizetype>(kind.description.size())));
    }
    delimitersButton = new QPushButton(tr("Deli&miters..."), this);
    valueColumn = new QComboBox(this);
    derivation = new DerivedDataForm(false, this);
    cohortLines = new QCheckBox(tr("Coh&ort lines every"), this);
    cohortStep = new QSpinBox(this);
    cohortStep->setRange(1, 1000);
    cohortStep->setValue(kDefaultCohortStep);
    cohortStep->setSuffix(tr(" years"));
    cohortStep->setAccessibleName(tr("Years between cohort lines"));
    setupFile = new QLineEdit(this);
    changeSetup = new QPushButton(tr("Cha&nge..."), this);
    changeSetup->setAccessibleName(tr("Choose the setup file"));

    LayOutFields();
    ConnectFields();
    EnableFields();
    FitDialog(this);
}

// The three groups, A, the derivation and the new map, above the buttons.
void NewDerivedMapDialog::LayOutFields() {
    auto* data = new QGroupBox(tr("First matrix (A)"), this);
    auto* dataForm = new QFormLayout(data);
    AddRow(dataForm, tr("&Data file:"), dataFile, FieldWithButton(dataFile, browseData));
    AddRow(dataForm, tr("&Format:"), format, FieldWithButton(format, delimitersButton));
    AddRow(dataForm, tr("&Values to show:"), valueColumn);

    auto* derived = new QGroupBox(tr("Derived surface"), this);
    auto* derivedLayout = new QVBoxLayout(derived);
    derivedLayout->addWidget(derivation);

    auto* output = new QGroupBox(tr("New map"), this);
    auto* outputForm = new QFormLayout(output);
    auto* cohortRow = new QHBoxLayout;
    cohortRow->addWidget(cohortLines);
    cohortRow->addWidget(cohortStep);
    cohortRow->addStretch(1);
    outputForm->addRow(cohortRow);
    AddRow(outputForm, tr("Setup f&ile:"), setupFile, FieldWithButton(setupFile, changeSetup));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(data);
    layout->addWidget(derived);
    layout->addWidget(output);
    layout->addWidget(buttons);
}

void NewDerivedMapDialog::ConnectFields() {
    connect(browseData, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getOpenFileName(this, tr("Open Data File"), dataFile->text());
        if (!chosen.isEmpty()) {
            SetDataFile(chosen);
        }
    });
    connect(dataFile, &QLineEdit::editingFinished, this, &NewDerivedMapDialog::DataFileChosen);
    connect(format, &QComboBox::currentIndexChanged, this, [this] {
        derivation->SetFirstTable(Table());
        EnableFields();
    });
    connect(delimitersButton, &QPushButton::clicked, this, [this] {
        AsciiFormatDialog dialog(delimiters_, PathFromQt(dataFile->text().trimmed()), this);
        if (dialog.exec() == QDialog::Accepted) {
            delimiters_ = dialog.Format();
        }
    });
    connect(derivation, &DerivedDataForm::OperationChanged, this,
            &NewDerivedMapDialog::SuggestSetupFile);
    connect(cohortLines, &QCheckBox::toggled, this, &NewDerivedMapDialog::EnableFields);
    connect(setupFile, &QLineEdit::textEdited, this, [this] { setupNamed_ = true; });
    connect(changeSetup, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(
            this, tr("Setup File"), setupFile->text(), tr("Demla (*.dml)"), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty()) {
            setupFile->setText(chosen);
            setupNamed_ = true;
        }
    });
}

void NewDerivedMapDialog::SetDataFile(const QString& path) {
    dataFile->setText(path);
    DataFileChosen();
}

void NewDerivedMapDialog::DataFileChosen() {
    const QString path = dataFile->text().trimmed();
    if (path.isEmpty()) {
        return;
    }
    // The kind the file looks like; the user may still choose another.
    const DataFileGuess guess = GuessDataFormat(AbsoluteOf(path));
    int kind = 1;
    for (std::size_t i = 0; i < kDataFileKinds.size(); ++i) {
        const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
        if (kDataFileKinds[i].format == guess.format &&
            (guess.format != kAsciiFormat || kDataFileKinds[i].asksDelimiters != csv)) {
            kind = static_cast<int>(i);
            break;
        }
    }
    const QSignalBlocker quiet(format);
    format->setCurrentIndex(kind);
    valueColumn->clear();
    if (guess.table) {
        for (const std::string& column : guess.table->ValueColumns()) {
            valueColumn->addItem(QString::fromStdString(column));
        }
        valueColumn->setCurrentText(QString::fromStdString(guess.table->DefaultValueColumn()));
    }
    derivation->SetFirstTable(guess.table);
    SuggestSetupFile();
    EnableFields();
}

void NewDerivedMapDialog::EnableFields() {
    const DataFileKind& kind = kDataFileKinds[static_cast<std::size_t>(format->currentIndex())];
    delimitersButton->setEnabled(kind.asksDelimiters);
    valueColumn->setEnabled(kind.asksValueColumn);
    cohortStep->setEnabled(cohortLines->isChecked());
}

void NewDerivedMapDialog::SuggestSetupFile() {
    const QString path = dataFile->text().trimmed();
    if (setupNamed_ || path.isEmpty()) {
        return;
    }
    const std::optional<DeriveOperation> operation = derivation->Operation();
    setupFile->setText(
        PathToQt(DerivedSetupPath(AbsoluteOf(path), operation.value_or(DeriveOperation::Ratio))));
}

std::optional<LexisTableHeader> NewDerivedMapDialog::Table(std::string* error) const {
    const DataFileKind& kind = kDataFileKinds[static_cast<std::size_t>(format->currentIndex())];
    if (kind.format != kLexisTableFormat || dataFile->text().trimmed().isEmpty()) {
        return std::nullopt;
    }
    std::string ignored;
    return TableHeaderAt(AbsoluteOf(dataFile->text()), error != nullptr ? *error : ignored);
}

void NewDerivedMapDialog::accept() {
    if (dataFile->text().trimmed().isEmpty()) {
        prompt_.Show("Error", "Choose the data file of the new map.");
        dataFile->setFocus();
        return;
    }
    const std::string dataPath = AbsoluteOf(dataFile->text());
    if (!IsReadableFile(dataPath)) {
        prompt_.Show("Error", "Cannot open data file: " + dataPath);
        dataFile->setFocus();
        return;
    }
    const DataFileKind& kind = kDataFileKinds[static_cast<std::size_t>(format->currentIndex())];
    std::string error;
    const std::optional<LexisTableHeader> table = Table(&error);
    if (kind.format == kLexisTableFormat && !table) {
        prompt_.Show("Error", "Cannot read the table " + dataPath + "\r\n" + error);
        format->setFocus();
        return;
    }
    const AsciiFormat delimiters = kind.asksDelimiters ? delimiters_ : AsciiFormat();
    const std::string column = table ? valueColumn->currentText().toStdString() : std::string();
    if (table) {
        if (const std::string refusal = table->CheckValueColumn(column); !refusal.empty()) {
            prompt_.Show("Error", refusal);
            valueColumn->setFocus();
            return;
        }
    }
    const std::optional<DerivedSetup> derived =
        MakeDerivation(derivation->Choice(), kind.format, delimiters, table, column, error);
    if (!derived) {
        prompt_.Show("Error", error);
        derivation->secondFile->setFocus();
        return;
    }
    const std::string setupPath =
        setupFile->text().trimmed().isEmpty() ? std::string() : AbsoluteOf(setupFile->text());
    if (setupPath.empty()) {
        prompt_.Show("Error", "Name the setup file of the new map.");
        setupFile->setFocus();
        return;
    }
    if (FileExists(setupPath) &&
        !prompt_.Confirm("New Derived Map",
                         "The setup file already exists:\r\n" + setupPath + "\r\nReplace it?",
                         PromptButtons::YesNo, PromptIcon::Question)) {
        setupFile->setFocus();
        return;
    }
    request_ = NewMapRequest{dataPath, kind.format, delimiters, column, setupPath, false};
    extras_ =
        NewMapExtras{derived, cohortLines->isChecked() ? std::optional<double>(cohortStep->value())
                                                       : std::nullopt};
    QDialog::accept();
}
