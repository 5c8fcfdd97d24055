#include "dialogs/DerivedDataDialog.h"

#include "dialogs/DerivedDataForm.h"
#include "dialogs/DialogSupport.h"
#include "document/ChartDocument.h"
#include "document/NewMap.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

DerivedDataDialog::DerivedDataDialog(ChartDocument& document, QWidget* parent)
    : QDialog(parent), document_(document) {
    setWindowTitle(tr("Derived Data"));
    derivation = new DerivedDataForm(true, this);
    derivation->SetFirstTable(document.Table ? std::optional(document.Table->header)
                                             : std::nullopt);
    derivation->SetChoice(document.Derived ? std::optional(ChoiceOfDocument(document))
                                           : std::nullopt);
    suitTitleAndScale = new QCheckBox(tr("S&uit the title and scale to the result"), this);
    // A scale made for rates says nothing of a ratio of them: a changed
    // derivation takes a scale of its own unless the user says otherwise.
    suitTitleAndScale->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(derivation);
    layout->addWidget(suitTitleAndScale);
    layout->addWidget(buttons);
    FitDialog(this);
}

void DerivedDataDialog::accept() {
    const std::optional<DerivationChoice> choice =
        derivation->Operation() ? std::optional(derivation->Choice()) : std::nullopt;
    const bool unchanged = choice.has_value() == document_.Derived.has_value() &&
                           (!choice || *choice == ChoiceOfDocument(document_));
    // OK on the derivation the map has keeps its title and scale.
    if (unchanged || ApplyDerivationChoice(document_, choice, suitTitleAndScale->isChecked())) {
        QDialog::accept();
    }
}
