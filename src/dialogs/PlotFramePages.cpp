#include "dialogs/PlotFramePages.h"

#include "dialogs/TextLineEditor.h"

#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "document/ChartDocument.h"
#include "frame/FrameRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Whole numbers are shown without decimals.
const char* const kInteger = "F0";

template <typename T>
std::vector<T> ToVector(const MList<T>& list) {
    std::vector<T> items;
    list.ForEach([&](const T& item) { items.push_back(item); });
    return items;
}

template <typename T>
void FromVector(MList<T>& list, const std::vector<T>& items) {
    list.Flush();
    for (const T& item : items) {
        list.addAtTail(item);
    }
}

// The pen styles of grid lines, in the order of their numbers.
const char* const kStyles[] = {"Solid", "Dash", "Dot", "Dashdot", "Dashdotdot"};

} // namespace

PlotFramePage::PlotFramePage(ChartDocument& document, QWidget* parent)
    : QWidget(parent), document_(document), codec_(document.GetSources().textEncoding) {}

PlotFrame& PlotFramePage::Frame() {
    return document_.Frame;
}

// Coordinates --------------------------------------------------------------

CoordinatesPage::CoordinatesPage(ChartDocument& document, QWidget* parent)
    : PlotFramePage(document, parent) {
    auto* form = new QFormLayout(this);
    x1 = new NumberField(this);
    x2 = new NumberField(this);
    y1 = new NumberField(this);
    y2 = new NumberField(this);
    AddRow(form, tr("X-axis m&inimum value:"), x1);
    AddRow(form, tr("X-axis m&aximum value:"), x2);
    AddRow(form, tr("Y-axis mi&nimum value:"), y1);
    AddRow(form, tr("Y-axis ma&ximum value:"), y2);
}

void CoordinatesPage::Fill() {
    const PlotFrame& f = Frame();
    const bool whole = std::trunc(f.x1) == f.x1 && std::trunc(f.x2) == f.x2 &&
                       std::trunc(f.y1) == f.y1 && std::trunc(f.y2) == f.y2;
    const char* format = whole ? kInteger : "F2";
    x1->Show(f.x1, format);
    x2->Show(f.x2, format);
    y1->Show(f.y1, format);
    y2->Show(f.y2, format);
}

bool CoordinatesPage::Apply() {
    PlotFrame& f = Frame();
    double values[4] = {f.x1, f.x2, f.y1, f.y2};
    NumberField* fields[4] = {x1, x2, y1, y2};
    for (int i = 0; i < 4; ++i) {
        if (!fields[i]->IsEdited()) {
            continue;
        }
        const std::optional<double> value = fields[i]->Value();
        if (!value) {
            Refuse(this, tr("This is not a number: %1").arg(fields[i]->text()));
            return false;
        }
        values[i] = *value;
    }
    switch (CheckRanges(values[0], values[1], values[2], values[3])) {
    case RangeProblem::None:
        break;
    case RangeProblem::XNotRising:
        Refuse(this, tr("x1 must be less than x2"));
        return false;
    case RangeProblem::YNotRising:
        Refuse(this, tr("y1 must be less than y2"));
        return false;
    }
    f.x1 = values[0];
    f.x2 = values[1];
    f.y1 = values[2];
    f.y2 = values[3];
    for (NumberField* field : fields) {
        field->SetEdited(false);
    }
    return true;
}

// Title and labels -----------------------------------------------------------

TitlePage::TitlePage(ChartDocument& document, QWidget* parent) : PlotFramePage(document, parent) {
    auto* form = new QFormLayout(this);
    title = new TextLineEditor(tr("&Font..."), this);
    subtitle = new TextLineEditor(tr("F&ont..."), this);
    subtitle->color->setText(tr("Co&lor"));
    margin = new NumberField(this);
    AddRow(form, tr("&Title:"), title)->setBuddy(title->edit);
    AddRow(form, tr("&Subtitle:"), subtitle)->setBuddy(subtitle->edit);
    AddRow(form, tr("&Margin:"), margin);
}

void TitlePage::Fill() {
    ShowLine(Frame().title, 0, title, codec_);
    ShowLine(Frame().title, 1, subtitle, codec_);
    margin->Show(Frame().titleMargin, kInteger);
}

bool TitlePage::Apply() {
    const std::optional<std::string> titleText = codec_.Store(title->edit->text(), this);
    const std::optional<std::string> subtitleText = codec_.Store(subtitle->edit->text(), this);
    if (!titleText || !subtitleText) {
        return false;
    }
    std::int32_t newMargin = Frame().titleMargin;
    if (!StoreEditedInt(margin, newMargin)) {
        return false;
    }
    MList<WText>& lines = Frame().title;
    StoreFirstLine(lines, *titleText, title);
    if (subtitleText->empty()) {
        // An empty subtitle goes when it is the last line, else stays empty.
        if (lines.GetCount() == 2) {
            lines.GoTail();
            lines.RemoveCurrent();
        } else if (lines.GetCount() > 2) {
            lines[1].text.clear();
            StoreLineLook(lines[1], subtitle);
        }
    } else {
        while (lines.GetCount() < 2) {
            lines.addAtTail(WText());
        }
        lines[1].text = *subtitleText;
        StoreLineLook(lines[1], subtitle);
    }
    Frame().titleMargin = newMargin;
    margin->SetEdited(false);
    return true;
}

LabelPage::LabelPage(ChartDocument& document, int axis, QWidget* parent)
    : PlotFramePage(document, parent), axis_(axis) {
    auto* form = new QFormLayout(this);
    label = new TextLineEditor(tr("&Font..."), this);
    margin = new NumberField(this);
    AddRow(form, tr("&Label:"), label)->setBuddy(label->edit);
    if (axis == PlotFrame::YAxis) {
        vertical = new QCheckBox(tr("&Vertical"), this);
        form->addRow(QString(), vertical);
        connect(label->edit, &QLineEdit::textChanged, this, &LabelPage::EnableByText);
    }
    AddRow(form, tr("&Margin:"), margin);
}

MList<WText>& LabelPage::Lines() {
    return Frame().Axis(axis_).label;
}

std::int32_t& LabelPage::Margin() {
    return Frame().Axis(axis_).labelMargin;
}

void LabelPage::EnableByText() {
    const bool hasText = !label->edit->text().isEmpty();
    label->font->setEnabled(hasText);
    vertical->setEnabled(hasText);
}

void LabelPage::Fill() {
    ShowLine(Lines(), 0, label, codec_);
    margin->Show(Margin(), kInteger);
    if (vertical != nullptr) {
        vertical->setChecked(!Lines().IsEmpty() && Lines()[0].font &&
                             Lines()[0].font->escapement != 0);
        EnableByText();
    }
}

bool LabelPage::Apply() {
    const std::optional<std::string> text = codec_.Store(label->edit->text(), this);
    std::int32_t newMargin = Margin();
    if (!text || !StoreEditedInt(margin, newMargin)) {
        return false;
    }
    StoreFirstLine(Lines(), *text, label);
    if (vertical != nullptr && !Lines().IsEmpty()) {
        WText& line = Lines()[0];
        if (!line.font) {
            line.font = FontRecord::DefaultTextFont();
        }
        line.font->escapement = vertical->isChecked() ? 900 : 0;
        line.font->orientation = line.font->escapement;
    }
    Margin() = newMargin;
    margin->SetEdited(false);
    return true;
}

// Ticks ------------------------------------------------------------------------

TicksPage::TicksPage(ChartDocument& document, int axis, QWidget* parent)
    : PlotFramePage(document, parent), axis_(axis) {
    list = new QListWidget(this);
    list->setAccessibleName(tr("Ticks"));
    label = new QLineEdit(this);
    location = new NumberField(this);
    convert = new QCheckBox(tr("Con&vert Label"), this);
    auto* insert = new QPushButton(tr("&Insert"), this);
    auto* remove = new QPushButton(tr("&Delete"), this);
    itemFont = new QPushButton(tr("I&tem Font..."), this);
    allFont = new QPushButton(tr("F&ont..."), this);

    auto* form = new QFormLayout;
    AddRow(form, tr("&Label:"), label);
    AddRow(form, tr("Lo&cation:"), location);
    form->addRow(QString(), convert);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {insert, remove, itemFont, allFont}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    auto* listLabel = new QLabel(tr("Tic&ks:"), this);
    listLabel->setBuddy(list);
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list, 1);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(list, &QListWidget::currentRowChanged, this, &TicksPage::Select);
    connect(label, &QLineEdit::textEdited, this, [this] { labelEdited_ = true; });
    connect(convert, &QCheckBox::toggled, this, [this](bool on) {
        location->setEnabled(!on);
        auto* validator = new QRegularExpressionValidator(
            QRegularExpression(
                QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?.*")),
            label);
        label->setValidator(on ? validator : nullptr);
    });
    connect(insert, &QPushButton::clicked, this, &TicksPage::Insert);
    connect(remove, &QPushButton::clicked, this, &TicksPage::Delete);
    connect(itemFont, &QPushButton::clicked, this, [this] {
        if (current_ < 0 || current_ >= static_cast<int>(labels.size())) {
            return;
        }
        const WText& tick = labels[static_cast<std::size_t>(current_)];
        if (std::optional<FontRecord> chosen = ChooseFontRecord(
                this, tick.font.value_or(FontRecord::DefaultTextFont()), tr("Item Font"))) {
            itemFontChosen_ = chosen;
            itemColor_ = tick.textColor;
        }
    });
    connect(allFont, &QPushButton::clicked, this, [this] {
        FontRecord first = FontRecord::DefaultTextFont();
        for (const WText& tick : labels) {
            if (tick.font) {
                first = *tick.font;
                break;
            }
        }
        if (std::optional<FontRecord> chosen = ChooseFontRecord(this, first, tr("Font"))) {
            for (WText& tick : labels) {
                tick.font = *chosen;
            }
        }
    });
}

void TicksPage::Fill() {
    labels = ToVector(Frame().TickLabels(axis_));
    values = ToVector(Frame().TickValues(axis_));
    values.resize(labels.size(), 0.0);
    current_ = -1;
    Rebuild(0);
}

void TicksPage::Rebuild(int selected) {
    const QSignalBlocker block(list);
    list->clear();
    for (const WText& tick : labels) {
        list->addItem(codec_.Show(tick.text));
    }
    current_ = -1;
    if (labels.empty()) {
        label->clear();
        location->clear();
        return;
    }
    if (selected < 0 || selected >= static_cast<int>(labels.size())) {
        selected = 0;
    }
    list->setCurrentRow(selected);
    current_ = selected;
    label->setText(codec_.Show(labels[static_cast<std::size_t>(selected)].text));
    location->Show(values[static_cast<std::size_t>(selected)], "F2");
    labelEdited_ = false;
    itemFontChosen_.reset();
}

void TicksPage::StoreEdited() {
    if (current_ < 0 || current_ >= static_cast<int>(labels.size())) {
        return;
    }
    WText& tick = labels[static_cast<std::size_t>(current_)];
    double& value = values[static_cast<std::size_t>(current_)];
    if (labelEdited_) {
        if (std::optional<std::string> text = codec_.Store(label->text(), this)) {
            tick.text = *text;
        }
    }
    if (convert->isChecked()) {
        if (labelEdited_) {
            // The number the label begins with.
            const std::string text = label->text().toStdString();
            value = ParseDouble(text.c_str());
        }
    } else if (location->IsEdited()) {
        if (const std::optional<double> typed = location->Value()) {
            value = *typed;
        }
    }
    if (itemFontChosen_) {
        tick.font = *itemFontChosen_;
        tick.textColor = itemColor_;
    }
    list->item(current_)->setText(codec_.Show(tick.text));
}

void TicksPage::Select(int row) {
    StoreEdited();
    if (row < 0 || row >= static_cast<int>(labels.size())) {
        current_ = -1;
        return;
    }
    current_ = row;
    label->setText(codec_.Show(labels[static_cast<std::size_t>(row)].text));
    location->Show(values[static_cast<std::size_t>(row)], "F2");
    labelEdited_ = false;
    itemFontChosen_.reset();
}

void TicksPage::Insert() {
    StoreEdited();
    const double low = Frame().Axis(axis_).low;
    std::size_t at = 0;
    double value = low;
    if (!labels.empty()) {
        if (current_ < 0) {
            return;
        }
        at = static_cast<std::size_t>(current_);
        if (at > 0) {
            value = (values[at - 1] + values[at]) * 0.5;
        } else {
            value = values[0] > low ? (low + values[0]) * 0.5 : low;
        }
    }
    WText tick;
    tick.text = FormatNumber(value, "F2");
    labels.insert(labels.begin() + static_cast<std::ptrdiff_t>(at), tick);
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), value);
    current_ = -1;
    Rebuild(static_cast<int>(at));
}

void TicksPage::Delete() {
    if (current_ < 0 || current_ >= static_cast<int>(labels.size())) {
        return;
    }
    const auto at = static_cast<std::size_t>(current_);
    labels.erase(labels.begin() + static_cast<std::ptrdiff_t>(at));
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
    current_ = -1;
    Rebuild(static_cast<int>(at > 0 ? at - 1 : 0));
}

bool TicksPage::Apply() {
    StoreEdited();
    FromVector(Frame().TickLabels(axis_), labels);
    FromVector(Frame().TickValues(axis_), values);
    labelEdited_ = false;
    location->SetEdited(false);
    itemFontChosen_.reset();
    return true;
}

// Automatic ticks ------------------------------------------------------------

AutoTicksPage::AutoTicksPage(ChartDocument& document, int axis, QWidget* parent)
    : PlotFramePage(document, parent), axis_(axis) {
    integer = new QRadioButton(tr("&Integer"), this);
    numeric = new QRadioButton(tr("&Numeric"), this);
    step = new QRadioButton(tr("N&umeric"), this);
    endingOn = new NumberField(this);
    count = new NumberField(this);
    tickStep = new NumberField(this);
    format = new QLineEdit(this);
    format->setMaxLength(static_cast<int>(PlotFrame::kMaxFormatLength));
    auto* grid = new QGridLayout(this);
    const auto addChoice = [&](int row, QRadioButton* radio, const QString& caption,
                               NumberField* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(radio, row, 0);
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row, 2);
    };
    addChoice(0, integer, tr("&Ending on:"), endingOn);
    addChoice(1, numeric, tr("Number of &Ticks:"), count);
    addChoice(2, step, tr("Tick &Step:"), tickStep);
    auto* formatLabel = new QLabel(tr("Numeric Tick &Format:"), this);
    formatLabel->setBuddy(format);
    grid->addWidget(formatLabel, 3, 0, 1, 2);
    grid->addWidget(format, 3, 2);
    grid->setRowStretch(4, 1);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* radio : {integer, numeric, step}) {
        group->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, [this] { touched_ = true; });
    }
    for (QLineEdit* edit : {static_cast<QLineEdit*>(endingOn), static_cast<QLineEdit*>(count),
                            static_cast<QLineEdit*>(tickStep), format}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { touched_ = true; });
    }
}

void AutoTicksPage::Fill() {
    const ConstPlotAxis axis = std::as_const(Frame()).Axis(axis_);
    const std::int32_t inner = axis.tickCount;
    (inner > 0 ? numeric : integer)->setChecked(true);
    endingOn->Show(10, kInteger);
    count->Show(inner > 0 ? inner : 4, kInteger);
    tickStep->Show(1, "F2");
    format->setText(QString::fromStdString(axis.format));
    touched_ = false;
}

bool AutoTicksPage::Apply() {
    if (!touched_) {
        return true;
    }
    using Kind = AutoTicksRequest::Kind;
    AutoTicksRequest request;
    request.kind = integer->isChecked()   ? Kind::Integer
                   : numeric->isChecked() ? Kind::Numeric
                                          : Kind::Step;
    request.endingOn = endingOn->IntValue();
    request.count = count->IntValue();
    request.step = tickStep->Value();
    request.format = format->text().toStdString();
    switch (CheckAutoTicks(Frame(), axis_, request)) {
    case AutoTicksProblem::None:
        break;
    case AutoTicksProblem::EndingOnBelowOne:
        Refuse(this, tr("\"Ending on\" must be 1 or more"));
        return false;
    case AutoTicksProblem::CountNegative:
        Refuse(this, tr("\"Number of Ticks\" must be 0 or more"));
        return false;
    case AutoTicksProblem::TooMany:
        Refuse(this, tr("That many ticks cannot be drawn: at most %1 fit on an axis.")
                         .arg(PlotFrame::kMaxAutomaticTicks));
        return false;
    case AutoTicksProblem::StepNotNumber:
        Refuse(this, tr("This is not a number: %1").arg(tickStep->text()));
        return false;
    }
    MakeAutoTicks(Frame(), axis_, request);
    touched_ = false;
    emit TicksRegenerated(axis_);
    return true;
}

// Axes -------------------------------------------------------------------------

AxisPage::AxisPage(ChartDocument& document, int axis, QWidget* parent)
    : PlotFramePage(document, parent), axis_(axis) {
    const bool x = axis == PlotFrame::XAxis;
    secondTicks = new QCheckBox(x ? tr("Show To&p Ticks") : tr("Show Ri&ght Ticks"), this);
    secondLabels = new QCheckBox(x ? tr("Show Top &Labels") : tr("Show Right &Labels"), this);
    firstTicks = new QCheckBox(x ? tr("Show &Bottom Ticks") : tr("Show L&eft Ticks"), this);
    firstLabels = new QCheckBox(x ? tr("Show Bottom L&abels") : tr("Show Left L&abels"), this);
    in = new QRadioButton(tr("&In"), this);
    out = new QRadioButton(tr("&Out"), this);
    margin = new NumberField(this);
    shift = new NumberField(this);
    auto* direction = new QGroupBox(tr("Ticks"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(in);
    directionLayout->addWidget(out);
    auto* form = new QFormLayout(this);
    for (QCheckBox* box : {secondTicks, secondLabels, firstTicks, firstLabels}) {
        form->addRow(box);
    }
    form->addRow(direction);
    AddRow(form, tr("&Margin:"), margin);
    AddRow(form, tr("&Shift:"), shift);
}

void AxisPage::Fill() {
    const ConstPlotAxis axis = std::as_const(Frame()).Axis(axis_);
    const std::int32_t setup = axis.ticksSetup;
    secondTicks->setChecked((setup & TicksSetup::SecondTicks) != 0);
    secondLabels->setChecked((setup & TicksSetup::SecondLabels) != 0);
    firstTicks->setChecked((setup & TicksSetup::FirstTicks) != 0);
    firstLabels->setChecked((setup & TicksSetup::FirstLabels) != 0);
    ((setup & TicksSetup::In) != 0 ? in : out)->setChecked(true);
    margin->Show(axis.labelGap, kInteger);
    shift->Show(axis.labelShift, kInteger);
}

bool AxisPage::Apply() {
    const PlotAxis axis = Frame().Axis(axis_);
    std::int32_t gap = axis.labelGap;
    std::int32_t labelShift = axis.labelShift;
    if (!StoreEditedInt(margin, gap) || !StoreEditedInt(shift, labelShift)) {
        return false;
    }
    std::int32_t setup = 0;
    setup |= secondTicks->isChecked() ? TicksSetup::SecondTicks : 0;
    setup |= secondLabels->isChecked() ? TicksSetup::SecondLabels : 0;
    setup |= firstTicks->isChecked() ? TicksSetup::FirstTicks : 0;
    setup |= firstLabels->isChecked() ? TicksSetup::FirstLabels : 0;
    setup |= in->isChecked() ? TicksSetup::In : 0;
    axis.ticksSetup = setup;
    axis.labelGap = gap;
    axis.labelShift = labelShift;
    margin->SetEdited(false);
    shift->SetEdited(false);
    return true;
}

// Frame ------------------------------------------------------------------------

FrameRectPage::FrameRectPage(ChartDocument& document, QWidget* parent)
    : PlotFramePage(document, parent), FrameRectForm(this) {
    auto* form = new QFormLayout(this);
    visible = new QCheckBox(tr("&Visible"), this);
    const Captions captions{tr("Frame &Line Width:"),
                            tr("Labels &Spacing:"),
                            tr("Ticks Le&ngth:"),
                            tr("Ticks W&idth:"),
                            tr("&X:"),
                            tr("&Y:"),
                            tr("&Width:"),
                            tr("&Height:")};
    AddSideRows(form, captions);
    AddRectangleRows(form, captions);
    form->addRow(visible);
}

void FrameRectPage::Fill() {
    const PlotFrame& f = Frame();
    ShowValues({f.frameLineWidth, f.textFrameHeight, f.tickLength, f.tickWidth, f.xOrigin,
                f.yOrigin, f.xSize, f.ySize});
    visible->setChecked(f.visible);
}

bool FrameRectPage::Apply() {
    PlotFrame& f = Frame();
    FrameRectValues values{f.frameLineWidth, f.textFrameHeight, f.tickLength, f.tickWidth,
                           f.xOrigin,        f.yOrigin,         f.xSize,      f.ySize};
    // A plot without area could not be drawn at all.
    if (!StoreValues(values) || !CheckArea(this, values)) {
        return false;
    }
    f.frameLineWidth = values.lineWidth;
    f.textFrameHeight = values.spacing;
    f.tickLength = values.tickLength;
    f.tickWidth = values.tickWidth;
    f.xOrigin = values.x;
    f.yOrigin = values.y;
    f.xSize = values.width;
    f.ySize = values.height;
    f.visible = visible->isChecked();
    MarkStored();
    return true;
}

// Grid lines -------------------------------------------------------------------

GridLinesPage::GridLinesPage(ChartDocument& document, int axis, QWidget* parent)
    : PlotFramePage(document, parent), axis_(axis) {
    auto* form = new QFormLayout(this);
    width = new NumberField(this);
    color = new ColorButton(tr("&Color..."), 0, this);
    visible = new QCheckBox(tr("&Visible"), this);
    style = new QComboBox(this);
    for (const char* name : kStyles) {
        style->addItem(tr(name));
    }
    AddRow(form, tr("&Width:"), width);
    AddRow(form, tr("Line color:"), color);
    AddRow(form, tr("&Style:"), style);
    form->addRow(visible);
}

void GridLinesPage::Fill() {
    const ConstPlotAxis axis = std::as_const(Frame()).Axis(axis_);
    width->Show(axis.gridLineWidth, kInteger);
    color->SetColor(axis.gridLineColor);
    visible->setChecked(axis.gridLines);
    const std::int32_t type = axis.gridLineType;
    style->setCurrentIndex(type >= 0 && type < style->count() ? type : 0);
    // What the frame holds already was said when it was chosen.
    warnedLook_ = {axis.gridLineWidth, style->currentIndex()};
}

bool GridLinesPage::Apply() {
    const PlotAxis axis = Frame().Axis(axis_);
    std::int32_t lineWidth = axis.gridLineWidth;
    if (!StoreEditedInt(width, lineWidth)) {
        return false;
    }
    // Said once for each new width and style, not again on OK after Apply.
    const std::pair<std::int32_t, int> look{lineWidth, style->currentIndex()};
    if (lineWidth > 0 && look.second != 0 && look != warnedLook_) {
        Warn(this, window()->windowTitle(),
             tr("This style is valid only when the line width is one or zero in "
                "device units"));
    }
    warnedLook_ = look;
    axis.gridLineWidth = lineWidth;
    axis.gridLineColor = color->Color();
    axis.gridLines = visible->isChecked();
    axis.gridLineType = style->currentIndex();
    width->SetEdited(false);
    return true;
}
