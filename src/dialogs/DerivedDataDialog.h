#pragma once

#include <QDialog>

class ChartDocument;
class DerivedDataForm;
class QCheckBox;

// "Derived Data": what the open map shows of its data: the data as they
// are, or a ratio, difference, rate of improvement or smoothed surface of
// them. OK gives the map the derivation and derives it again; a choice
// that cannot be made is said and the dialog stays open.
class DerivedDataDialog : public QDialog {
    Q_OBJECT
public:
    DerivedDataDialog(ChartDocument& document, QWidget* parent);

    void accept() override;

    DerivedDataForm* derivation;
    QCheckBox* suitTitleAndScale;

private:
    ChartDocument& document_;
};
