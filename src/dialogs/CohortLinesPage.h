#pragma once

#include "dialogs/PlotFramePages.h"

class PenStyleList;

// The cohort lines of the plot frame sheet: whether they are drawn, the
// first cohort and the step, and their pen. A map that never had cohort
// lines keeps none unless they are switched on here, so its setup file
// gains no keys it does not need.
class CohortLinesPage : public PlotFramePage {
    Q_OBJECT
public:
    CohortLinesPage(ChartDocument& document, QWidget* parent);
    void Fill() override;
    bool Apply() override;

    QCheckBox* show;
    NumberField* first;
    NumberField* step;
    NumberField* width;
    ColorButton* color;
    PenStyleList* style;

private:
    void EnableFields();
};
