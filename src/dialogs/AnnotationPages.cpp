#include "dialogs/AnnotationPages.h"

#include "annotations/LLine.h"
#include "annotations/LText.h"
#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "core/Prompt.h"
#include "dialogs/ColorSwatch.h"
#include "dialogs/PenStyleList.h"
#include "document/SetupValues.h"
#include "platform/QtPrompt.h"
#include "platform/QtText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Numbers are shown with up to 15 significant digits, so that a value read
// from a file shows as it was written.
const std::string kNumberFormat = "G15";

// The longest text, in bytes with the escapes of a setup string, that a
// setup file can hold for one annotation.
constexpr std::size_t kMaxTextBytes = 1023;

// The point size the font dialog opens on when a font gives none.
constexpr int kDefaultPointSize = 12;

constexpr int kFieldWidth = 110;

// Shows a refusal in a box owned by the page, with the page's tab in front
// and the offending field focused.
void Refuse(QWidget* page, QWidget* field, const QString& text) {
    for (QWidget* widget = page->parentWidget(); widget != nullptr;
         widget = widget->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            tabs->setCurrentWidget(page);
            break;
        }
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationName), text,
                    QMessageBox::Ok, page);
    UseMessageFrame(box);
    box.exec();
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    }
}

bool ReadNumber(QWidget* page, AnnoNumberField* field, const QString& caption, double& value) {
    const std::optional<double> typed = field->Value();
    if (!typed) {
        Refuse(page, field, QObject::tr("%1 must be a number").arg(caption));
        return false;
    }
    value = *typed;
    return true;
}

// A width or height: a number, positive or zero.
bool ReadSize(QWidget* page, AnnoNumberField* field, const QString& caption,
              const QString& negative, double& value) {
    if (!ReadNumber(page, field, caption, value)) {
        return false;
    }
    if (value < 0.0) {
        Refuse(page, field, negative);
        return false;
    }
    return true;
}

AnnoNumberField* AddNumberRow(QWidget* page, QFormLayout* form, const QString& caption) {
    auto* field = new AnnoNumberField(page);
    auto* label = new QLabel(caption, page);
    label->setBuddy(field);
    form->addRow(label, field);
    return field;
}

// A colour row: a label bound to the button that opens the colour dialog,
// the swatch and the button.
void AddColorRow(QWidget* page, QFormLayout* form, const QString& caption, ColorSwatch* swatch,
                 QPushButton* button, const QString& dialogTitle) {
    auto* label = new QLabel(caption, page);
    label->setBuddy(button);
    auto* row = new QHBoxLayout;
    row->addWidget(swatch, 1);
    row->addWidget(button);
    form->addRow(label, row);
    swatch->ChooseWith(button, dialogTitle);
}

AnnoPenFields AddPenRows(QWidget* page, QFormLayout* form, const QString& changeCaption,
                         PenStyleList::Choices choices, const QString& whose) {
    AnnoPenFields fields;
    fields.width = AddNumberRow(page, form, QObject::tr("Width"));
    fields.width->setAccessibleName(QObject::tr("%1 width").arg(whose));
    fields.swatch = new ColorSwatch(QObject::tr("%1 color").arg(whose), page);
    fields.change = new QPushButton(changeCaption, page);
    fields.change->setAccessibleName(QObject::tr("Change %1 color").arg(whose.toLower()));
    AddColorRow(page, form, QObject::tr("Color"), fields.swatch, fields.change,
                QObject::tr("%1 Color").arg(whose));
    fields.styles = new PenStyleList(choices, QObject::tr("%1 style").arg(whose), page);
    auto* styleLabel = new QLabel(QObject::tr("Style"), page);
    styleLabel->setBuddy(fields.styles);
    form->addRow(styleLabel, fields.styles);
    return fields;
}

void ShowPen(const AnnoPenFields& fields, double width, std::int32_t style, std::uint32_t color) {
    fields.width->SetValue(width);
    fields.swatch->SetColor(color);
    fields.styles->SetStyle(style);
}

bool TakePen(QWidget* page, const AnnoPenFields& fields, double& width, std::int32_t& style,
             std::uint32_t& color) {
    double typed = 0.0;
    if (!ReadSize(page, fields.width, QObject::tr("Width"),
                  QObject::tr("Width must be positive or zero"), typed)) {
        return false;
    }
    width = typed;
    style = fields.styles->Style();
    color = fields.swatch->Color();
    return true;
}

QFormLayout* NewForm() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

// The font dialog's form of a stored font (height in points, negative for
// the character height).
QFont DialogFont(const FontRecord& record) {
    QFont font;
    if (!record.GetFaceName().empty()) {
        font.setFamily(QString::fromLatin1(record.GetFaceName().data(),
                                           static_cast<qsizetype>(record.GetFaceName().size())));
    }
    const int points = record.height != 0 ? std::abs(record.height) : kDefaultPointSize;
    font.setPointSize(std::clamp(points, 1, 1000));
    font.setWeight(record.weight > 0
                       ? static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000))
                       : QFont::Normal);
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

// The stored font for what the font dialog chose; what the dialog does not
// choose (rotation, character set, quality...) is kept from the record.
FontRecord RecordFromDialog(const QFont& font, FontRecord record) {
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : kDefaultPointSize;
    record.height = -std::max(1, static_cast<int>(std::lround(points)));
    record.weight = font.weight();
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    record.SetFaceName(font.family().toLatin1().toStdString());
    return record;
}

} // namespace

QString FontDescription(const FontRecord& font) {
    QString text = QString::fromLatin1(font.GetFaceName().data(),
                                       static_cast<qsizetype>(font.GetFaceName().size()));
    const int points = font.height != 0 ? std::abs(font.height) : kDefaultPointSize;
    text += QObject::tr(", %1 pt").arg(points);
    QStringList style;
    if (font.weight >= 600) {
        style << QObject::tr("bold");
    }
    if (font.italic != 0) {
        style << QObject::tr("italic");
    }
    if (font.underline != 0) {
        style << QObject::tr("underlined");
    }
    if (font.strikeOut != 0) {
        style << QObject::tr("struck out");
    }
    if (!style.isEmpty()) {
        text += QStringLiteral(", ") + style.join(QLatin1Char(' '));
    }
    return text;
}

AnnoNumberField::AnnoNumberField(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(64);
    setMinimumWidth(kFieldWidth);
}

void AnnoNumberField::SetValue(double value) {
    shown_ = value;
    shownText_ = QString::fromStdString(FormatNumber(value, kNumberFormat));
    setText(shownText_);
}

std::optional<double> AnnoNumberField::Value() const {
    if (text() == shownText_) {
        return shown_;
    }
    const std::string typed = text().trimmed().toStdString();
    double value = 0.0;
    if (!ParseWholeDouble(typed.data(), typed.data() + typed.size(), value) ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

AnnoCoordinateChoice::AnnoCoordinateChoice(QWidget* parent)
    : QGroupBox(tr("Coordinate System"), parent) {
    plot_ = new QRadioButton(tr("Plot"), this);
    page_ = new QRadioButton(tr("Page"), this);
    plot_->setToolTip(tr("In the plot's data units: moves with the plot's range"));
    page_->setToolTip(tr("On the page, in tenths of a millimetre"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(plot_);
    layout->addWidget(page_);
    layout->addStretch(1);
    plot_->setChecked(true);
}

void AnnoCoordinateChoice::SetOnPage(bool onPage) {
    (onPage ? page_ : plot_)->setChecked(true);
}

bool AnnoCoordinateChoice::OnPage() const {
    return page_->isChecked();
}

AnnoFramePage::AnnoFramePage(QWidget* parent) : QWidget(parent) {
    auto* form = NewForm();
    x_ = AddNumberRow(this, form, tr("x Start"));
    y_ = AddNumberRow(this, form, tr("y Start"));
    width_ = AddNumberRow(this, form, tr("Width"));
    height_ = AddNumberRow(this, form, tr("Height"));
    coordinates_ = new AnnoCoordinateChoice(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(coordinates_);
    layout->addStretch(1);
}

void AnnoFramePage::Show(const AnnoFrameArea& area) {
    x_->SetValue(area.x);
    y_->SetValue(area.y);
    width_->SetValue(area.width);
    height_->SetValue(area.height);
    coordinates_->SetOnPage(area.onPage);
}

std::optional<AnnoFrameArea> AnnoFramePage::Take() {
    AnnoFrameArea area;
    if (!ReadNumber(this, x_, tr("x Start"), area.x) ||
        !ReadNumber(this, y_, tr("y Start"), area.y) ||
        !ReadSize(this, width_, tr("Width"), tr("Width must be positive or zero"), area.width) ||
        !ReadSize(this, height_, tr("Height"), tr("Height must be positive or zero"),
                  area.height)) {
        return std::nullopt;
    }
    area.onPage = coordinates_->OnPage();
    return area;
}

AnnoBorderPage::AnnoBorderPage(QWidget* parent) : QWidget(parent) {
    auto* form = NewForm();
    fields_ =
        AddPenRows(this, form, tr("Change"), PenStyleList::Choices::LinesAndNone, tr("Border"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
}

void AnnoBorderPage::Show(const FrameRecord& record) {
    ShowPen(fields_, record.borderWidth, record.penStyle, record.penColor);
}

bool AnnoBorderPage::Take(FrameRecord& record) {
    return TakePen(this, fields_, record.borderWidth, record.penStyle, record.penColor);
}

AnnoInteriorPage::AnnoInteriorPage(QWidget* parent) : QWidget(parent) {
    auto* form = NewForm();
    fillStyles_ = new QComboBox(this);
    fillStyles_->addItem(tr("Solid"), BrushStyle::Solid);
    fillStyles_->addItem(tr("Transparent"), BrushStyle::Hollow);
    fillStyles_->addItem(tr("Hatched"), BrushStyle::Hatched);
    fillStyles_->setAccessibleName(tr("Fill style"));
    auto* styleLabel = new QLabel(tr("Style"), this);
    styleLabel->setBuddy(fillStyles_);
    form->addRow(styleLabel, fillStyles_);

    swatch_ = new ColorSwatch(tr("Fill color"), this);
    change_ = new QPushButton(tr("Change"), this);
    change_->setAccessibleName(tr("Change fill color"));
    AddColorRow(this, form, tr("Color"), swatch_, change_, tr("Fill Color"));

    hatches_ = new HatchList(tr("Hatch"), this);
    auto* hatchLabel = new QLabel(tr("Hatch"), this);
    hatchLabel->setBuddy(hatches_);
    form->addRow(hatchLabel, hatches_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    connect(fillStyles_, &QComboBox::currentIndexChanged, this, &AnnoInteriorPage::FillStyleChosen);
}

void AnnoInteriorPage::Show(const FrameRecord& record) {
    int index = fillStyles_->findData(record.fillStyle);
    if (index < 0) {
        fillStyles_->addItem(tr("Style %1").arg(record.fillStyle), record.fillStyle);
        index = fillStyles_->count() - 1;
    }
    fillStyles_->setCurrentIndex(index);
    swatch_->SetColor(record.fillColor);
    hatches_->SetStyle(record.hatchStyle);
    FillStyleChosen();
}

void AnnoInteriorPage::Take(FrameRecord& record) const {
    record.fillStyle = fillStyles_->currentData().toUInt();
    record.fillColor = swatch_->Color();
    record.hatchStyle = hatches_->Style();
}

void AnnoInteriorPage::FillStyleChosen() {
    const std::uint32_t style = fillStyles_->currentData().toUInt();
    // A transparent fill has no colour; only a hatched one has a hatch.
    change_->setEnabled(style != BrushStyle::Hollow);
    swatch_->setEnabled(style != BrushStyle::Hollow);
    hatches_->setEnabled(style == BrushStyle::Hatched);
}

AnnoTextPage::AnnoTextPage(TextEncoding encoding, QWidget* parent)
    : QWidget(parent), encoding_(encoding) {
    auto* form = NewForm();
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    text_ = new QLineEdit(this);
    text_->setMinimumWidth(320);
    auto* textLabel = new QLabel(tr("Te&xt"), this);
    textLabel->setBuddy(text_);
    form->addRow(textLabel, text_);

    fontButton_ = new QPushButton(tr("&Font"), this);
    fontName_ = new QLabel(this);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontButton_);
    fontRow->addWidget(fontName_, 1);
    form->addRow(fontRow);

    textColorButton_ = new QPushButton(tr("Color"), this);
    textColor_ = new ColorSwatch(tr("Text color"), this);
    bkColorButton_ = new QPushButton(tr("BkColor"), this);
    bkColor_ = new ColorSwatch(tr("Background color"), this);
    textColorButton_->setAccessibleName(tr("Change text color"));
    bkColorButton_->setAccessibleName(tr("Change background color"));
    textColor_->ChooseWith(textColorButton_, tr("Text Color"));
    bkColor_->ChooseWith(bkColorButton_, tr("Background Color"));
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(textColorButton_);
    colorRow->addWidget(textColor_);
    colorRow->addSpacing(12);
    colorRow->addWidget(bkColorButton_);
    colorRow->addWidget(bkColor_);
    colorRow->addStretch(1);
    form->addRow(colorRow);

    modes_ = new QComboBox(this);
    modes_->addItem(tr("Opaque"), BackgroundMode::Opaque);
    modes_->addItem(tr("Transparent"), BackgroundMode::Transparent);
    modes_->setAccessibleName(tr("Background mode"));
    auto* modeLabel = new QLabel(tr("Mode"), this);
    modeLabel->setBuddy(modes_);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(modes_);
    modeRow->addStretch(1);
    form->addRow(modeLabel, modeRow);

    const auto alignmentGroup =
        [this](const QString& title, QButtonGroup*& group,
               std::initializer_list<std::pair<QString, std::uint32_t>> choices) {
            auto* box = new QGroupBox(title, this);
            auto* column = new QVBoxLayout(box);
            group = new QButtonGroup(this);
            for (const auto& [caption, value] : choices) {
                auto* button = new QRadioButton(caption, box);
                group->addButton(button, static_cast<int>(value));
                column->addWidget(button);
            }
            return box;
        };
    auto* alignments = new QHBoxLayout;
    alignments->addWidget(alignmentGroup(tr("Horizontal alignment"), horizontal_,
                                         {{tr("&Left"), TextAlign::Left},
                                          {tr("&Right"), TextAlign::Right},
                                          {tr("&Center"), TextAlign::Center}}));
    alignments->addWidget(alignmentGroup(tr("Vertical alignment"), vertical_,
                                         {{tr("&Top"), TextAlign::Top},
                                          {tr("&Bottom"), TextAlign::Bottom},
                                          {tr("B&aseline"), TextAlign::Baseline}}));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(alignments);
    layout->addStretch(1);
    connect(fontButton_, &QPushButton::clicked, this, &AnnoTextPage::ChooseFont);
}

void AnnoTextPage::Show(const LText& text) {
    shownBytes_ = text.GetText();
    shownText_ = shownBytes_ ? TextFromBytes(*shownBytes_) : tr("some text");
    text_->setText(shownText_);
    // A long text is read from its start.
    text_->setCursorPosition(0);
    text_->setToolTip(shownText_);
    font_ = text.EffectiveFont();
    fontChosen_ = false;
    ShowFont();
    textColor_->SetColor(text.GetTextColor());
    bkColor_->SetColor(text.GetBkColor());
    modes_->setCurrentIndex(
        std::max(0, modes_->findData(text.GetBkMode() == BackgroundMode::Transparent
                                         ? BackgroundMode::Transparent
                                         : BackgroundMode::Opaque)));
    const auto check = [](QButtonGroup* group, std::uint32_t value, std::uint32_t fallback) {
        QAbstractButton* button = group->button(static_cast<int>(value));
        (button != nullptr ? button : group->button(static_cast<int>(fallback)))->setChecked(true);
    };
    check(horizontal_, text.GetHorizontalAlignment(), TextAlign::Left);
    check(vertical_, text.GetVerticalAlignment(), TextAlign::Bottom);
}

bool AnnoTextPage::Take(LText& text) {
    const QString typed = text_->text();
    if (typed.isEmpty()) {
        Refuse(this, text_, tr("The text must not be empty"));
        return false;
    }
    std::string bytes;
    if (shownBytes_ && typed == shownText_) {
        bytes = *shownBytes_;
    } else {
        const std::optional<std::string> encoded =
            EncodeFromUtf8(typed.toUtf8().toStdString(), encoding_);
        if (!encoded) {
            QString refused;
            for (const QChar c : typed) {
                if (!EncodeFromUtf8(QString(c).toUtf8().toStdString(), encoding_)) {
                    refused = c;
                    break;
                }
            }
            Refuse(this, text_,
                   tr("The text holds the character \"%1\", which the map's setup file "
                      "(written in Windows-1252) cannot hold. Replace it.")
                       .arg(refused));
            return false;
        }
        bytes = *encoded;
    }
    if (SetupStringText(bytes).size() - 2 > kMaxTextBytes) {
        Refuse(this, text_,
               tr("The text is too long: a setup file holds at most %1 bytes of one text.")
                   .arg(kMaxTextBytes));
        return false;
    }
    text.SetText(std::move(bytes));
    if (fontChosen_) {
        text.SetFont(font_);
    }
    text.SetTextColor(textColor_->Color());
    text.SetBkColor(bkColor_->Color());
    text.SetBkMode(modes_->currentData().toInt());
    text.SetHorizontalAlignment(static_cast<std::uint32_t>(horizontal_->checkedId()));
    text.SetVerticalAlignment(static_cast<std::uint32_t>(vertical_->checkedId()));
    return true;
}

void AnnoTextPage::ChooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, DialogFont(font_), this, tr("Font"));
    if (!ok) {
        return;
    }
    font_ = RecordFromDialog(chosen, font_);
    fontChosen_ = true;
    ShowFont();
}

void AnnoTextPage::ShowFont() {
    fontName_->setText(FontDescription(font_));
    fontButton_->setAccessibleDescription(fontName_->text());
}

AnnoLinePage::AnnoLinePage(QWidget* parent) : QWidget(parent) {
    auto* ends = NewForm();
    xStart_ = AddNumberRow(this, ends, tr("x Start"));
    yStart_ = AddNumberRow(this, ends, tr("y Start"));
    xEnd_ = AddNumberRow(this, ends, tr("x End"));
    yEnd_ = AddNumberRow(this, ends, tr("y End"));
    coordinates_ = new AnnoCoordinateChoice(this);
    // One form, so that the fields of the ends and of the pen line up.
    ends->addRow(coordinates_);
    fields_ = AddPenRows(this, ends, tr("&Change"), PenStyleList::Choices::Lines, tr("Line"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ends);
    layout->addStretch(1);
}

void AnnoLinePage::Show(const LLine& line) {
    xStart_->SetValue(line.GetA().GetX());
    yStart_->SetValue(line.GetA().GetY());
    xEnd_->SetValue(line.GetB().GetX());
    yEnd_->SetValue(line.GetB().GetY());
    coordinates_->SetOnPage(line.GetA().GetXAttribute() == PageUnits);
    ShowPen(fields_, line.GetWidth(), line.GetPenStyle(), line.GetColor());
}

bool AnnoLinePage::Take(LLine& line) {
    double ax = 0.0;
    double ay = 0.0;
    double bx = 0.0;
    double by = 0.0;
    double width = 0.0;
    std::int32_t style = 0;
    std::uint32_t color = 0;
    if (!ReadNumber(this, xStart_, tr("x Start"), ax) ||
        !ReadNumber(this, yStart_, tr("y Start"), ay) ||
        !ReadNumber(this, xEnd_, tr("x End"), bx) || !ReadNumber(this, yEnd_, tr("y End"), by) ||
        !TakePen(this, fields_, width, style, color)) {
        return false;
    }
    const bool onPage = coordinates_->OnPage();
    if (onPage != (line.GetA().GetXAttribute() == PageUnits)) {
        line.SetCoordinateAttribute(onPage ? PageUnits : DataUnits);
    }
    line.GetA().SetX(ax);
    line.GetA().SetY(ay);
    line.GetB().SetX(bx);
    line.GetB().SetY(by);
    line.SetWidth(width);
    line.SetPenStyle(style);
    line.SetColor(color);
    return true;
}
