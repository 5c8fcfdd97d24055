#pragma once

#include "scale/LRGBColorVect.h"

#include <QDialog>

#include <cstdint>

class ChartDocument;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

// "Demla Map Appearance": the shape of the map's cells and its contour
// lines. OK writes them into the document, Cancel puts back what it held;
// the views draw again either way.
class MapAppearanceDialog : public QDialog {
    Q_OBJECT
public:
    MapAppearanceDialog(ChartDocument& document, QWidget* parent);

    void accept() override;
    void reject() override;

    QComboBox* MapTypes() const { return types_; }
    QCheckBox* ContourSwitch() const { return contours_; }
    QLineEdit* WidthEdit() const { return width_; }

private:
    void ContourSwitched();
    void ChooseColor();
    void ShowColor();

    ChartDocument& document_;
    // What the document held when the dialog opened.
    std::uint32_t savedType_;
    bool savedContours_;
    double savedWidth_;
    LRGBColor savedColor_;
    LRGBColor color_;
    bool widthEdited_ = false;

    QComboBox* types_;
    QCheckBox* contours_;
    QLineEdit* width_;
    QPushButton* change_;
    QFrame* sample_;
};
