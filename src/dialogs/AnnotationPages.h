#pragma once

#include "annotations/FrameRecord.h"
#include "render/FontRecord.h"
#include "setup/TextEncoding.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

class ColorSwatch;
class LLine;
class LText;
class PenStyleList;
class HatchList;
class QButtonGroup;
class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QRadioButton;

// The pages of the annotation sheets. Each shows the values it is given
// and, on Take, checks what the user typed: a value it refuses is named in
// a message box owned by the page (the page's tab is brought to the front
// and the field gets the focus), and Take fails, so that the sheet stays
// open.

// A number field: shows a value (FormatNumber) and reads what is typed
// with "." as the decimal point, whatever the locale. A field left as it
// was shown gives back the very value it showed.
class AnnoNumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit AnnoNumberField(QWidget* parent);
    void SetValue(double value);
    // None when the text is not a number.
    std::optional<double> Value() const;

private:
    double shown_ = 0.0;
    QString shownText_;
};

// "Coordinate System": "Plot" (data units) or "Page" (page units).
class AnnoCoordinateChoice : public QGroupBox {
    Q_OBJECT
public:
    explicit AnnoCoordinateChoice(QWidget* parent);
    void SetOnPage(bool onPage);
    bool OnPage() const;
    QRadioButton* PlotButton() const { return plot_; }
    QRadioButton* PageButton() const { return page_; }

private:
    QRadioButton* plot_;
    QRadioButton* page_;
};

// A width, a colour with its button and a pen style: the border of a
// rectangle, or a line.
struct AnnoPenFields {
    AnnoNumberField* width = nullptr;
    ColorSwatch* swatch = nullptr;
    QPushButton* change = nullptr;
    PenStyleList* styles = nullptr;
};

// "x Start", "y Start", "Width", "Height" and the coordinate system of a
// rectangle or a text's box.
struct AnnoFrameArea {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool onPage = false;
    friend bool operator==(const AnnoFrameArea&, const AnnoFrameArea&) = default;
};

// "Frame": where a rectangle or the box of a text stands.
class AnnoFramePage : public QWidget {
    Q_OBJECT
public:
    explicit AnnoFramePage(QWidget* parent);
    void Show(const AnnoFrameArea& area);
    // None after a message: a field is not a number, or a size is negative.
    std::optional<AnnoFrameArea> Take();

    AnnoNumberField* XStart() const { return x_; }
    AnnoNumberField* YStart() const { return y_; }
    AnnoNumberField* WidthField() const { return width_; }
    AnnoNumberField* HeightField() const { return height_; }
    AnnoCoordinateChoice* Coordinates() const { return coordinates_; }

private:
    AnnoNumberField* x_;
    AnnoNumberField* y_;
    AnnoNumberField* width_;
    AnnoNumberField* height_;
    AnnoCoordinateChoice* coordinates_;
};

// "Border": the outline's width, colour and style ("None" for no outline).
class AnnoBorderPage : public QWidget {
    Q_OBJECT
public:
    explicit AnnoBorderPage(QWidget* parent);
    void Show(const FrameRecord& record);
    // Writes the border fields into record; false after a message.
    bool Take(FrameRecord& record);

    const AnnoPenFields& Fields() const { return fields_; }

private:
    AnnoPenFields fields_;
};

// "Interior": the fill's style, colour and hatch.
class AnnoInteriorPage : public QWidget {
    Q_OBJECT
public:
    explicit AnnoInteriorPage(QWidget* parent);
    void Show(const FrameRecord& record);
    // Writes the fill fields into record.
    void Take(FrameRecord& record) const;

    QComboBox* FillStyles() const { return fillStyles_; }
    ColorSwatch* Swatch() const { return swatch_; }
    QPushButton* ChangeButton() const { return change_; }
    HatchList* Hatches() const { return hatches_; }

private:
    void FillStyleChosen();

    QComboBox* fillStyles_;
    ColorSwatch* swatch_;
    QPushButton* change_;
    HatchList* hatches_;
};

// "Text": the text, its font, colours, background mode and alignment.
// Texts are kept as bytes in the encoding of the document's file: what is
// typed is written in that encoding, and a character it cannot hold is
// refused.
class AnnoTextPage : public QWidget {
    Q_OBJECT
public:
    AnnoTextPage(TextEncoding encoding, QWidget* parent);
    void Show(const LText& text);
    // Writes the text's fields; false after a message.
    bool Take(LText& text);

    QLineEdit* TextField() const { return text_; }
    QPushButton* FontButton() const { return fontButton_; }
    QLabel* FontName() const { return fontName_; }
    ColorSwatch* TextColor() const { return textColor_; }
    ColorSwatch* BkColor() const { return bkColor_; }
    QPushButton* TextColorButton() const { return textColorButton_; }
    QPushButton* BkColorButton() const { return bkColorButton_; }
    QComboBox* Modes() const { return modes_; }
    QButtonGroup* Horizontal() const { return horizontal_; }
    QButtonGroup* Vertical() const { return vertical_; }

    // Opens the font dialog on the text's font; the chosen font is the
    // text's on Take.
    void ChooseFont();

private:
    void ShowFont();

    TextEncoding encoding_;
    // The bytes shown and their text, so that an untouched text keeps its
    // bytes.
    std::optional<std::string> shownBytes_;
    QString shownText_;
    FontRecord font_;
    bool fontChosen_ = false;

    QLineEdit* text_;
    QPushButton* fontButton_;
    QLabel* fontName_;
    QPushButton* textColorButton_;
    ColorSwatch* textColor_;
    QPushButton* bkColorButton_;
    ColorSwatch* bkColor_;
    QComboBox* modes_;
    QButtonGroup* horizontal_;
    QButtonGroup* vertical_;
};

// "Line Attributes": the two ends, the coordinate system and the pen.
class AnnoLinePage : public QWidget {
    Q_OBJECT
public:
    explicit AnnoLinePage(QWidget* parent);
    void Show(const LLine& line);
    // Writes the line's fields; false after a message.
    bool Take(LLine& line);

    AnnoNumberField* XStart() const { return xStart_; }
    AnnoNumberField* YStart() const { return yStart_; }
    AnnoNumberField* XEnd() const { return xEnd_; }
    AnnoNumberField* YEnd() const { return yEnd_; }
    AnnoCoordinateChoice* Coordinates() const { return coordinates_; }
    const AnnoPenFields& Fields() const { return fields_; }

private:
    AnnoNumberField* xStart_;
    AnnoNumberField* yStart_;
    AnnoNumberField* xEnd_;
    AnnoNumberField* yEnd_;
    AnnoCoordinateChoice* coordinates_;
    AnnoPenFields fields_;
};

// The font as the page describes it: face, size in points and style
// ("Arial, 12 pt, bold italic").
QString FontDescription(const FontRecord& font);
