#include "dialogs/FrameRectForm.h"

#include "frame/FrameRules.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>

namespace {

// Whole numbers are shown without decimals.
const char* const kInteger = "F0";

} // namespace

FrameRectForm::FrameRectForm(QWidget* owner)
    : lineWidth(new NumberField(owner)), spacing(new NumberField(owner)),
      tickLength(new NumberField(owner)), tickWidth(new NumberField(owner)),
      x(new NumberField(owner)), y(new NumberField(owner)), width(new NumberField(owner)),
      height(new NumberField(owner)) {}

void FrameRectForm::AddSideRows(QFormLayout* form, const Captions& captions) {
    AddRow(form, captions.lineWidth, lineWidth);
    AddRow(form, captions.spacing, spacing);
    AddRow(form, captions.tickLength, tickLength);
    AddRow(form, captions.tickWidth, tickWidth);
}

QLabel* FrameRectForm::AddRectangleRows(QFormLayout* form, const Captions& captions) {
    QLabel* xCaption = AddRow(form, captions.x, x);
    AddRow(form, captions.y, y);
    AddRow(form, captions.width, width);
    AddRow(form, captions.height, height);
    return xCaption;
}

void FrameRectForm::ShowValues(const FrameRectValues& values) {
    lineWidth->Show(values.lineWidth, kInteger);
    spacing->Show(values.spacing, kInteger);
    tickLength->Show(values.tickLength, kInteger);
    tickWidth->Show(values.tickWidth, kInteger);
    x->Show(values.x, kInteger);
    y->Show(values.y, kInteger);
    width->Show(values.width, kInteger);
    height->Show(values.height, kInteger);
}

bool FrameRectForm::StoreValues(FrameRectValues& values) {
    return StoreEditedInt(lineWidth, values.lineWidth) && StoreEditedInt(spacing, values.spacing) &&
           StoreEditedInt(tickLength, values.tickLength) &&
           StoreEditedInt(tickWidth, values.tickWidth) && StoreEditedInt(x, values.x) &&
           StoreEditedInt(y, values.y) && StoreEditedInt(width, values.width) &&
           StoreEditedInt(height, values.height);
}

bool FrameRectForm::CheckArea(QWidget* owner, const FrameRectValues& values) {
    switch (CheckSize(values.width, values.height)) {
    case SizeProblem::None:
        return true;
    case SizeProblem::WidthNotPositive:
        Refuse(owner, QCoreApplication::translate("FrameRectForm", "Width must be positive"));
        width->setFocus();
        return false;
    case SizeProblem::HeightNotPositive:
        Refuse(owner, QCoreApplication::translate("FrameRectForm", "Height must be positive"));
        height->setFocus();
        return false;
    }
    return false;
}

void FrameRectForm::MarkStored() {
    for (NumberField* field : {lineWidth, spacing, tickLength, tickWidth, x, y, width, height}) {
        field->SetEdited(false);
    }
}
