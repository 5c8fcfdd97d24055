#include "dialogs/CohortLinesPage.h"

#include "dialogs/PenStyleList.h"
#include "document/ChartDocument.h"
#include "document/NewMap.h"

#include <QCheckBox>
#include <QFormLayout>

namespace {

// The step a map without cohort lines is offered.
constexpr double kOfferedStep = 10;

} // namespace

CohortLinesPage::CohortLinesPage(ChartDocument& document, QWidget* parent)
    : PlotFramePage(document, parent) {
    auto* form = new QFormLayout(this);
    show = new QCheckBox(tr("&Show cohort lines"), this);
    first = new NumberField(this);
    step = new NumberField(this);
    width = new NumberField(this);
    color = new ColorButton(tr("&Color..."), 0, this);
    style = new PenStyleList(PenStyleList::Choices::Lines, tr("Style"), this);
    form->addRow(show);
    AddRow(form, tr("&First cohort (year of birth):"), first);
    AddRow(form, tr("S&tep (years):"), step);
    AddRow(form, tr("&Width:"), width);
    AddRow(form, tr("Line color:"), color);
    AddRow(form, tr("St&yle:"), style);
    connect(show, &QCheckBox::toggled, this, &CohortLinesPage::EnableFields);
}

void CohortLinesPage::Fill() {
    const CohortLineSettings shown =
        document_.CohortLines.value_or(NewCohortLines(document_, kOfferedStep));
    show->setChecked(document_.CohortLines && shown.on);
    first->Show(shown.first, "G9");
    step->Show(shown.step, "G9");
    width->Show(shown.width, "G9");
    color->SetColor(shown.color);
    style->SetStyle(shown.penStyle);
    EnableFields();
}

bool CohortLinesPage::Apply() {
    if (!document_.CohortLines && !show->isChecked()) {
        return true;
    }
    CohortLineSettings settings;
    settings.on = show->isChecked();
    settings.color = color->Color();
    settings.penStyle = style->Style();
    const std::pair<NumberField*, double*> numbers[] = {
        {first, &settings.first}, {step, &settings.step}, {width, &settings.width}};
    for (const auto& [field, target] : numbers) {
        const std::optional<double> value = field->Value();
        if (!value) {
            Refuse(this, tr("This is not a number: %1").arg(field->text()));
            field->setFocus();
            return false;
        }
        *target = *value;
    }
    if (const std::string refusal = CohortLinesRefusal(settings); !refusal.empty()) {
        Refuse(this, QString::fromStdString(refusal));
        step->setFocus();
        return false;
    }
    document_.CohortLines = settings;
    return true;
}

void CohortLinesPage::EnableFields() {
    for (QWidget* field : std::initializer_list<QWidget*>{first, step, width, color, style}) {
        field->setEnabled(show->isChecked());
    }
}
