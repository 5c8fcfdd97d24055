#pragma once

#include "dialogs/DialogSupport.h"
#include "dialogs/FrameRectForm.h"
#include "dialogs/TextLineEditor.h"
#include "frame/PlotFrame.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class ChartDocument;
class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;

// One page of the plot frame sheet: it fills its fields from the frame and
// writes them back.
class PlotFramePage : public QWidget {
    Q_OBJECT
public:
    PlotFramePage(ChartDocument& document, QWidget* parent);
    virtual void Fill() = 0;
    // False, after a message, when a value is refused; nothing is written
    // then.
    virtual bool Apply() = 0;

signals:
    // The page made new ticks for an axis (PlotFrame::XAxis or YAxis).
    void TicksRegenerated(int axis);

protected:
    PlotFrame& Frame();
    ChartDocument& document_;
    SetupTextCodec codec_;
};

class CoordinatesPage : public PlotFramePage {
    Q_OBJECT
public:
    CoordinatesPage(ChartDocument& document, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    NumberField* x1;
    NumberField* x2;
    NumberField* y1;
    NumberField* y2;
};

class TitlePage : public PlotFramePage {
    Q_OBJECT
public:
    TitlePage(ChartDocument& document, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    TextLineEditor* title;
    TextLineEditor* subtitle;
    NumberField* margin;
};

class LabelPage : public PlotFramePage {
    Q_OBJECT
public:
    LabelPage(ChartDocument& document, int axis, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    TextLineEditor* label;
    QCheckBox* vertical = nullptr;
    NumberField* margin;

private:
    void EnableByText();
    MList<WText>& Lines();
    std::int32_t& Margin();
    int axis_;
};

class TicksPage : public PlotFramePage {
    Q_OBJECT
public:
    TicksPage(ChartDocument& document, int axis, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    // Stores the edited tick, then selects another.
    void Select(int row);
    void Insert();
    void Delete();

    QListWidget* list;
    QLineEdit* label;
    NumberField* location;
    QCheckBox* convert;
    QPushButton* itemFont;
    QPushButton* allFont;
    // The page's own copy of the axis's ticks.
    std::vector<WText> labels;
    std::vector<double> values;

private:
    void StoreEdited();
    void Rebuild(int selected);
    int axis_;
    int current_ = -1;
    bool labelEdited_ = false;
    std::optional<FontRecord> itemFontChosen_;
    std::uint32_t itemColor_ = 0;
};

class AutoTicksPage : public PlotFramePage {
    Q_OBJECT
public:
    AutoTicksPage(ChartDocument& document, int axis, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    QRadioButton* integer;
    QRadioButton* numeric;
    QRadioButton* step;
    NumberField* endingOn;
    NumberField* count;
    NumberField* tickStep;
    QLineEdit* format;

private:
    int axis_;
    // Ticks are made anew only when the page was touched: OK on another
    // page keeps a tick list written by hand.
    bool touched_ = false;
};

class AxisPage : public PlotFramePage {
    Q_OBJECT
public:
    AxisPage(ChartDocument& document, int axis, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    QCheckBox* secondTicks;
    QCheckBox* secondLabels;
    QCheckBox* firstTicks;
    QCheckBox* firstLabels;
    QRadioButton* in;
    QRadioButton* out;
    NumberField* margin;
    NumberField* shift;

private:
    int axis_;
};

class FrameRectPage : public PlotFramePage, public FrameRectForm {
    Q_OBJECT
public:
    FrameRectPage(ChartDocument& document, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    // The form's fields, not QWidget's geometry.
    using FrameRectForm::height;
    using FrameRectForm::width;
    using FrameRectForm::x;
    using FrameRectForm::y;
    QCheckBox* visible;
};

class GridLinesPage : public PlotFramePage {
    Q_OBJECT
public:
    GridLinesPage(ChartDocument& document, int axis, QWidget* parent);
    void Fill() override;
    bool Apply() override;
    NumberField* width;
    ColorButton* color;
    QCheckBox* visible;
    QComboBox* style;

private:
    int axis_;
    // The width and style last applied or shown: the warning about a
    // style that needs a thin line is given when they change.
    std::pair<std::int32_t, int> warnedLook_{0, 0};
};
