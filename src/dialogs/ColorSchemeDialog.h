#pragma once

#include "scale/LRGBColorVect.h"

#include <QDialog>

class ChartDocument;
class ColorSchemeChoice;
class QComboBox;
class SchemeSample;

// "Color Schemes": recolours every level of the map from one of the
// program's schemes, showing the colours as stripes before they are
// applied. The scheme used last is chosen when it opens, so OK alone
// applies it again.
class ColorSchemeDialog : public QDialog {
    Q_OBJECT
public:
    ColorSchemeDialog(ChartDocument& document, QWidget* parent);

    void accept() override;

    QComboBox* Schemes() const { return schemes_; }
    const LRGBColorVect& Colors() const { return working_; }

    // The schemes' memory while the program runs (the last scheme used and
    // the generator of "Random", seeded from the clock).
    static ColorSchemeChoice& Choice();

private:
    void SchemeChosen();

    ChartDocument& document_;
    LRGBColorVect working_;
    QComboBox* schemes_;
    SchemeSample* sample_;
};
