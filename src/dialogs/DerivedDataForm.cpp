#include "dialogs/DerivedDataForm.h"
#include "dialogs/DialogSupport.h"

#include "platform/QtText.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <array>

namespace {

constexpr std::array<DeriveOperation, 4> kOperations = {
    DeriveOperation::Ratio, DeriveOperation::Difference, DeriveOperation::Improvement,
    DeriveOperation::Smooth};

const char* OperationText(DeriveOperation operation) {
    switch (operation) {
    case DeriveOperation::Ratio:
        return "Ratio A / B";
    case DeriveOperation::Difference:
        return "Difference A - B";
    case DeriveOperation::Improvement:
        return "Rate of improvement along the years";
    case DeriveOperation::Smooth:
        return "Smoothed (mean of the cells around)";
    }
    return "";
}

} // namespace

DerivedDataForm::DerivedDataForm(bool withNone, QWidget* parent)
    : QWidget(parent), withNone_(withNone) {
    operation = new QComboBox(this);
    if (withNone) {
        operation->addItem(tr("None (the data as they are)"));
    }
    for (const DeriveOperation each : kOperations) {
        operation->addItem(tr(OperationText(each)));
    }
    secondFile = new QLineEdit(this);
    secondFile->setPlaceholderText(tr("none: another column of the same table"));
    browseSecond = new QPushButton(tr("Bro&wse..."), this);
    browseSecond->setAccessibleName(tr("Browse for the second data file"));
    secondColumn = new QComboBox(this);
    secondColumn->setEditable(true);
    lag = new QSpinBox(this);
    lag->setRange(1, static_cast<int>(kMaxDeriveWidth));
    halfWidth = new QSpinBox(this);
    halfWidth->setRange(0, static_cast<int>(kMaxDeriveWidth));

    auto* secondRow = new QHBoxLayout;
    secondRow->setContentsMargins(0, 0, 0, 0);
    secondRow->addWidget(secondFile, 1);
    secondRow->addWidget(browseSecond);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    AddRow(form, tr("O&peration:"), operation);
    AddRow(form, tr("&Second data file:"), secondFile, secondRow);
    AddRow(form, tr("Second &column:"), secondColumn);
    AddRow(form, tr("&Lag (columns):"), lag);
    AddRow(form, tr("&Half-width (cells):"), halfWidth);

    connect(operation, &QComboBox::currentIndexChanged, this, [this] {
        EnableFields();
        emit OperationChanged();
    });
    connect(secondFile, &QLineEdit::editingFinished, this, &DerivedDataForm::FillColumns);
    connect(browseSecond, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getOpenFileName(this, tr("Second Data File"), secondFile->text());
        if (!chosen.isEmpty()) {
            secondFile->setText(chosen);
            FillColumns();
        }
    });
    SetChoice(std::nullopt);
}

void DerivedDataForm::SetChoice(const std::optional<DerivationChoice>& choice) {
    const DerivationChoice shown = choice.value_or(DerivationChoice());
    int index = 0;
    if (choice) {
        for (std::size_t i = 0; i < kOperations.size(); ++i) {
            if (kOperations[i] == choice->operation) {
                index = static_cast<int>(i) + (withNone_ ? 1 : 0);
            }
        }
    }
    operation->setCurrentIndex(index);
    secondFile->setText(PathToQt(shown.secondPath));
    lag->setValue(static_cast<int>(shown.lag));
    halfWidth->setValue(static_cast<int>(shown.halfWidth));
    FillColumns();
    secondColumn->setCurrentText(QString::fromStdString(shown.secondColumn));
    EnableFields();
}

std::optional<DeriveOperation> DerivedDataForm::Operation() const {
    const int index = operation->currentIndex() - (withNone_ ? 1 : 0);
    if (index < 0 || index >= static_cast<int>(kOperations.size())) {
        return std::nullopt;
    }
    return kOperations[static_cast<std::size_t>(index)];
}

DerivationChoice DerivedDataForm::Choice() const {
    DerivationChoice choice;
    choice.operation = Operation().value_or(DeriveOperation::Ratio);
    const DerivationFields used = FieldsOf(Operation());
    if (used.second) {
        choice.secondPath = PathFromQt(secondFile->text().trimmed());
        choice.secondColumn = secondColumn->currentText().trimmed().toStdString();
    }
    choice.lag = static_cast<std::uint32_t>(lag->value());
    choice.halfWidth = static_cast<std::uint32_t>(halfWidth->value());
    return choice;
}

void DerivedDataForm::SetFirstTable(const std::optional<LexisTableHeader>& table) {
    firstTable_ = table;
    columnsOf_.clear();
    FillColumns();
}

void DerivedDataForm::EnableFields() {
    const DerivationFields used = FieldsOf(Operation());
    secondFile->setEnabled(used.second);
    browseSecond->setEnabled(used.second);
    secondColumn->setEnabled(used.second);
    lag->setEnabled(used.lag);
    halfWidth->setEnabled(used.halfWidth);
}

void DerivedDataForm::FillColumns() {
    const QString file = secondFile->text().trimmed();
    std::optional<LexisTableHeader> table = firstTable_;
    if (!file.isEmpty()) {
        table = GuessDataFormat(PathFromQt(file)).table;
    }
    const QString key = file.isEmpty() ? QStringLiteral("\n") : file;
    if (key == columnsOf_ && secondColumn->count() > 0) {
        return;
    }
    columnsOf_ = key;
    const QString typed = secondColumn->currentText();
    secondColumn->clear();
    if (table) {
        for (const std::string& column : table->ValueColumns()) {
            secondColumn->addItem(QString::fromStdString(column));
        }
    }
    secondColumn->setCurrentText(typed);
}
