#include "dialogs/ScaleSheet.h"

#include "core/FormatNumber.h"
#include "dialogs/ColorEditors.h"
#include "document/ChartDocument.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"
#include "scale/ScaleManipulatorAdv.h"
#include "scale/ScaleRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

std::uint32_t& Flag(LevelFlags& flags, std::uint32_t i) {
    return flags[flags.GetLowerBound() + i];
}

} // namespace

// Scale Levels ---------------------------------------------------------------------

ScaleLevelsPage::ScaleLevelsPage(ChartDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    list = new QListWidget(this);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setAccessibleName(tr("Scale levels"));
    caption = new QLabel(this);
    value = new NumberField(this);
    format = new QLineEdit(this);
    format->setMaxLength(static_cast<int>(MScale::kMaxTickFormat));
    format->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[FEfe][0-9]{0,2}")), format));
    showTick = new QCheckBox(tr("Show &Tick"), this);
    showLabel = new QCheckBox(tr("Show &Label"), this);
    showLine = new QCheckBox(tr("Show &Internal Line"), this);
    color = new ColorButton(tr("&Color..."), 0xFFFFFF, this);
    color->setAccessibleName(tr("LevelColor"));
    auto* add = new QPushButton(tr("&Add Level"), this);
    auto* remove = new QPushButton(tr("&Delete Level"), this);

    auto* listLabel = new QLabel(tr("Le&vels:"), this);
    listLabel->setBuddy(list);
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list, 1);
    left->addWidget(caption);
    auto* form = new QFormLayout;
    AddRow(form, tr("Val&ue:"), value);
    AddRow(form, tr("&Format:"), format);
    form->addRow(showTick);
    form->addRow(showLabel);
    form->addRow(showLine);
    form->addRow(tr("Level color:"), color);
    form->addRow(add);
    form->addRow(remove);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(form);

    connect(list, &QListWidget::itemSelectionChanged, this, &ScaleLevelsPage::SelectionChanged);
    connect(add, &QPushButton::clicked, this, &ScaleLevelsPage::AddLevels);
    connect(remove, &QPushButton::clicked, this, &ScaleLevelsPage::DeleteLevels);
    connect(showTick, &QCheckBox::clicked, this,
            [this](bool on) { FlagToggled(MScale::kHideTick, on); });
    connect(showLabel, &QCheckBox::clicked, this,
            [this](bool on) { FlagToggled(MScale::kHideLabel, on); });
    connect(showLine, &QCheckBox::clicked, this,
            [this](bool on) { FlagToggled(MScale::kHideLine, on); });
    connect(color, &ColorButton::ColorChosen, this, [this](std::uint32_t chosen) {
        const std::vector<std::uint32_t> rows = Selected();
        if (rows.size() == 1) {
            colors.Level(rows.front()) = chosen;
        }
    });
    connect(format, &QLineEdit::editingFinished, this, [this] { Rebuild(list->currentRow()); });
}

void ScaleLevelsPage::Fill() {
    scale = document_.ScaleValues;
    colors = document_.LevelColors;
    flags = document_.Legend.GetLevelFlags();
    format->setText(QString::fromStdString(document_.Legend.GetTickFormat()));
    Rebuild(0);
}

void ScaleLevelsPage::Rebuild(int selected) {
    const QSignalBlocker block(list);
    list->clear();
    const std::string code =
        format->text().isEmpty() ? std::string("F4") : format->text().toStdString();
    for (std::uint32_t i = 0, n = BoundaryCount(scale); i < n; ++i) {
        list->addItem(QString::fromStdString(FormatNumber(scale.Get(i, 0), code)));
    }
    if (list->count() > 0) {
        if (selected < 0 || selected >= list->count()) {
            selected = 0;
        }
        list->setCurrentRow(selected);
    }
    valueRow_ = -1;
    SelectionChanged();
}

std::vector<std::uint32_t> ScaleLevelsPage::Selected() const {
    std::vector<std::uint32_t> rows;
    for (const QListWidgetItem* item : list->selectedItems()) {
        rows.push_back(static_cast<std::uint32_t>(list->row(item)));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ScaleLevelsPage::Select(const std::vector<std::uint32_t>& rows) {
    list->clearSelection();
    for (const std::uint32_t row : rows) {
        if (QListWidgetItem* item = list->item(static_cast<int>(row))) {
            item->setSelected(true);
        }
    }
}

bool ScaleLevelsPage::StoreValue() {
    if (valueRow_ < 0 || !value->IsEdited()) {
        return true;
    }
    const std::optional<double> typed = value->Value();
    const auto row = static_cast<std::uint32_t>(valueRow_);
    if (!typed || !BoundariesRise(scale, row, *typed)) {
        Refuse(this, tr("The value must lie between the boundaries below and above it."));
        value->setFocus();
        return false;
    }
    scale.Set(row, 0, *typed);
    value->SetEdited(false);
    list->item(valueRow_)->setText(QString::fromStdString(FormatNumber(
        *typed, format->text().isEmpty() ? std::string("F4") : format->text().toStdString())));
    return true;
}

void ScaleLevelsPage::SelectionChanged() {
    StoreValue();
    const std::vector<std::uint32_t> rows = Selected();
    const std::uint32_t count = BoundaryCount(scale);
    if (count == 0) {
        caption->setText(tr("Level 0/0"));
    } else if (rows.size() == 1) {
        caption->setText(tr("Level %1/%2").arg(rows.front()).arg(count - 1));
    } else {
        caption->clear();
    }
    const bool one = rows.size() == 1;
    value->setEnabled(one);
    valueRow_ = one ? static_cast<int>(rows.front()) : -1;
    if (one) {
        value->Show(scale.Get(rows.front(), 0),
                    format->text().isEmpty() ? "F4" : format->text().toStdString().c_str());
    } else {
        value->clear();
    }
    const bool any = !rows.empty();
    const bool flagsInStep = flags.GetCount() == count;
    for (QCheckBox* box : {showTick, showLabel, showLine}) {
        box->setEnabled(any);
    }
    const std::uint32_t first = any && flagsInStep ? Flag(flags, rows.front()) : 0;
    showTick->setChecked(any && (first & MScale::kHideTick) == 0);
    showLabel->setChecked(any && (first & MScale::kHideLabel) == 0);
    showLine->setChecked(any && (first & MScale::kHideLine) == 0);
    color->setEnabled(one);
    color->SetColor(one ? colors.Level(rows.front()) : 0xFFFFFF);
}

void ScaleLevelsPage::FlagToggled(std::uint32_t bit, bool shown) {
    if (flags.GetCount() != BoundaryCount(scale)) {
        flags = LevelFlags();
        for (std::uint32_t i = 0; i < BoundaryCount(scale); ++i) {
            flags.Append(0);
        }
    }
    for (const std::uint32_t row : Selected()) {
        std::uint32_t& flag = Flag(flags, row);
        flag = shown ? flag & ~bit : flag | bit;
    }
}

void ScaleLevelsPage::EditSelected(bool (ScaleManipulator::*edit)(std::uint32_t)) {
    if (!StoreValue()) {
        return;
    }
    const std::vector<std::uint32_t> rows = Selected();
    if (rows.empty()) {
        return;
    }
    ScaleManipulatorAdv manipulator(scale, colors, flags, document_.GetPrompt());
    // From the last selected down, so that every boundary still stands at
    // the index the user selected when its turn comes.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        (manipulator.*edit)(*it);
    }
    Rebuild(static_cast<int>(rows.front()));
}

void ScaleLevelsPage::AddLevels() {
    EditSelected(&ScaleManipulator::SplitLevel);
}

void ScaleLevelsPage::DeleteLevels() {
    EditSelected(&ScaleManipulator::DeleteLevel);
}

bool ScaleLevelsPage::Apply() {
    if (!StoreValue()) {
        return false;
    }
    if (format->isEnabled() && !format->text().isEmpty()) {
        document_.Legend.SetTickFormat(format->text().toStdString());
    }
    document_.SetScale(scale, colors, flags);
    return true;
}

// Frame ------------------------------------------------------------------------------

ScaleFramePage::ScaleFramePage(ChartDocument& document, QWidget* parent)
    : QWidget(parent), FrameRectForm(this), document_(document) {
    auto* form = new QFormLayout(this);
    link = new QCheckBox(tr("Lin&k To Plot"), this);
    visible = new QCheckBox(tr("&Visible"), this);
    font = new QPushButton(tr("Labels &Font..."), this);
    const Captions captions{tr("Frame Line &Width:"),
                            tr("Tick &Margin:"),
                            tr("Tick &Length:"),
                            tr("Tick W&idth:"),
                            tr("&X:"),
                            tr("&Y:"),
                            tr("Wi&dth:"),
                            tr("&Height:")};
    AddSideRows(form, captions);
    form->addRow(link);
    xCaption = AddRectangleRows(form, captions);
    form->addRow(visible);
    form->addRow(font);
    connect(link, &QCheckBox::toggled, this, &ScaleFramePage::Linked);
    connect(font, &QPushButton::clicked, this, [this] {
        const FontRecord current = chosenFont_.value_or(document_.Legend.GetLabelFont());
        if (std::optional<FontRecord> chosen = ChooseFontRecord(this, current, tr("Labels Font"))) {
            chosenFont_ = chosen;
        }
    });
}

void ScaleFramePage::Linked() {
    const bool linked = link->isChecked();
    const MScale& legend = document_.Legend;
    xCaption->setText(linked ? tr("M&argin:") : tr("&X:"));
    x->Show(linked ? legend.GetScaleMargin() : legend.GetXOrigin(), "F0");
    for (NumberField* field : {y, width, height}) {
        field->setEnabled(!linked);
    }
}

void ScaleFramePage::Fill() {
    const MScale& legend = document_.Legend;
    ShowValues({legend.GetFrameLineWidth(), legend.GetTickMargin(), legend.GetTickLength(),
                legend.GetTickWidth(), 0, legend.GetYOrigin(), legend.GetXSize(),
                legend.GetYSize()});
    visible->setChecked(legend.IsVisible());
    const QSignalBlocker block(link);
    link->setChecked((legend.GetPlacementFlags() & MScale::kExplicitPosition) == 0);
    Linked();
    chosenFont_.reset();
}

bool ScaleFramePage::Apply() {
    MScale& legend = document_.Legend;
    const bool linked = link->isChecked();
    // Linked, the first field is the margin from the plot, and the legend
    // takes the plot's height.
    FrameRectValues values{legend.GetFrameLineWidth(),
                           legend.GetTickMargin(),
                           legend.GetTickLength(),
                           legend.GetTickWidth(),
                           linked ? legend.GetScaleMargin() : legend.GetXOrigin(),
                           legend.GetYOrigin(),
                           legend.GetXSize(),
                           legend.GetYSize()};
    if (!StoreValues(values) || (!linked && !CheckArea(this, values))) {
        return false;
    }
    legend.SetFrameLineWidth(values.lineWidth);
    legend.SetTickMargin(values.spacing);
    legend.SetTickLength(values.tickLength);
    legend.SetTickWidth(values.tickWidth);
    std::uint16_t placement = legend.GetPlacementFlags();
    if (linked) {
        legend.SetScaleMargin(values.x);
        legend.SetPlacementFlags(placement & ~MScale::kExplicitPosition);
        legend.Place(document_.LegendSource());
    } else {
        legend.SetPosition(values.x, values.y, values.width, values.height);
        legend.SetPlacementFlags(placement | MScale::kExplicitPosition);
    }
    legend.SetVisible(visible->isChecked());
    if (chosenFont_) {
        legend.SetLabelFont(*chosenFont_, legend.GetLabelColor());
        legend.SetPlacementFlags(legend.GetPlacementFlags() | MScale::kLabelFontGiven);
    }
    return true;
}

// Sequence -----------------------------------------------------------------------------

SequencePage::SequencePage(ChartDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    additive = new QRadioButton(tr("&Additive"), this);
    multiplicative = new QRadioButton(tr("&Multiplicative"), this);
    addStart = new NumberField(this);
    increment = new NumberField(this);
    addLevels = new NumberField(this);
    mulStart = new NumberField(this);
    multiplier = new NumberField(this);
    mulLevels = new NumberField(this);
    auto* group = new QButtonGroup(this);
    group->addButton(additive);
    group->addButton(multiplicative);
    additive->setChecked(true);
    const std::uint32_t count = std::max<std::uint32_t>(1, document.BoundaryCount());
    addStart->Show(0, "F2");
    increment->Show(1, "F2");
    addLevels->Show(count, "F0");
    mulStart->Show(1, "F2");
    multiplier->Show(2, "F2");
    mulLevels->Show(count, "F0");

    auto* grid = new QGridLayout(this);
    const auto column = [&](int c, QRadioButton* radio, NumberField* start, const QString& step,
                            NumberField* stepField, NumberField* levels) {
        grid->addWidget(radio, 0, c * 2, 1, 2);
        const auto row = [&](int r, const QString& text, NumberField* field) {
            auto* label = new QLabel(text, this);
            label->setBuddy(field);
            grid->addWidget(label, r, c * 2);
            grid->addWidget(field, r, c * 2 + 1);
        };
        row(1, c == 0 ? tr("&Start:") : tr("S&tart:"), start);
        row(2, step, stepField);
        row(3, c == 0 ? tr("&Levels:") : tr("L&evels:"), levels);
    };
    column(0, additive, addStart, tr("&Increment:"), increment, addLevels);
    column(1, multiplicative, mulStart, tr("M&ultiplier:"), multiplier, mulLevels);
    grid->setRowStretch(4, 1);
    for (QRadioButton* radio : {additive, multiplicative}) {
        connect(radio, &QRadioButton::clicked, this, [this] { touched_ = true; });
    }
    for (NumberField* field : {addStart, increment, addLevels, mulStart, multiplier, mulLevels}) {
        connect(field, &QLineEdit::textEdited, this, [this] { touched_ = true; });
    }
}

SequenceRequest SequencePage::Request() const {
    const bool add = additive->isChecked();
    return {!add, (add ? addStart : mulStart)->Value(), (add ? increment : multiplier)->Value(),
            (add ? addLevels : mulLevels)->Value()};
}

bool SequencePage::Check() {
    switch (CheckSequence(Request())) {
    case SequenceProblem::None:
        return true;
    case SequenceProblem::IncrementNotPositive:
        Refuse(this, tr("Increment must be positive"));
        break;
    case SequenceProblem::MultiplierNotAboveOne:
        Refuse(this, tr("Multiplier must be higher than one"));
        break;
    case SequenceProblem::StartNotPositive:
        Refuse(this, tr("Start value must be positive"));
        break;
    case SequenceProblem::StartNotNumber:
        Refuse(this, tr("This is not a number: %1")
                         .arg((additive->isChecked() ? addStart : mulStart)->text()));
        break;
    case SequenceProblem::LevelsOutOfRange:
        Refuse(this, tr("Number of scale levels is out of range"));
        break;
    }
    return false;
}

bool SequencePage::Apply() {
    if (!touched_) {
        return true;
    }
    if (!Check()) {
        return false;
    }
    DMAT scale;
    MakeSequenceScale(scale, Request());
    LRGBColorVect colors = document_.LevelColors;
    FitLevelColors(colors, BoundaryCount(scale), document_.MissingColor);
    document_.SetScale(std::move(scale), std::move(colors));
    touched_ = false;
    return true;
}

// The sheet ---------------------------------------------------------------------------

ScaleSheet::ScaleSheet(ChartDocument& document, std::function<void()> repaint, QWidget* parent)
    : QDialog(parent), document_(document), repaint_(std::move(repaint)),
      savedScale_(document.ScaleValues), savedColors_(document.LevelColors),
      savedLegend_(document.Legend) {
    setWindowTitle(tr("Scale"));
    tabs_ = new QTabWidget(this);
    levels_ = new ScaleLevelsPage(document, tabs_);
    frame_ = new ScaleFramePage(document, tabs_);
    sequence_ = new SequencePage(document, tabs_);
    tabs_->addTab(levels_, tr("Scale Levels"));
    tabs_->addTab(frame_, tr("Frame"));
    tabs_->addTab(sequence_, tr("Sequence"));
    levels_->Fill();
    frame_->Fill();
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &ScaleSheet::Apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    FitDialog(this);
}

bool ScaleSheet::Apply() {
    // The sequence is checked first: its refusal must leave the scale alone.
    if (sequence_->IsTouched() && !sequence_->Check()) {
        tabs_->setCurrentWidget(sequence_);
        return false;
    }
    if (!levels_->Apply()) {
        tabs_->setCurrentWidget(levels_);
        return false;
    }
    if (!frame_->Apply()) {
        tabs_->setCurrentWidget(frame_);
        return false;
    }
    sequence_->Apply();
    levels_->Fill();
    frame_->Fill();
    repaint_();
    return true;
}

void ScaleSheet::accept() {
    if (Apply()) {
        QDialog::accept();
    }
}

void ScaleSheet::reject() {
    document_.Legend = savedLegend_;
    document_.SetScale(savedScale_, savedColors_);
    repaint_();
    QDialog::reject();
}
