#include "dialogs/MapAppearanceDialog.h"
#include "dialogs/DialogSupport.h"

#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "dialogs/ColorEditors.h"
#include "document/ChartDocument.h"
#include "document/MapTypes.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

MapAppearanceDialog::MapAppearanceDialog(ChartDocument& document, QWidget* parent)
    : QDialog(parent), document_(document), savedType_(document_.MapType),
      savedContours_(document_.ContourLines), savedWidth_(document_.ContourLinesWidth),
      savedColor_(document_.ContourLinesColor), color_(document_.ContourLinesColor) {
    setWindowTitle(tr("Demla Map Appearance"));
    setMinimumWidth(340);

    types_ = new QComboBox(this);
    // Triangles pair the columns of the matrix: an odd count has no pairs.
    const bool oddColumns = document_.DataMatrix.GetColumns() % 2 == 1;
    for (std::uint32_t type = 0; type < kMapTypeNames.size(); ++type) {
        if (oddColumns && (type == TriangleMap || type == LTriangleMap)) {
            continue;
        }
        const std::string_view name = MapTypeName(type);
        types_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                        type);
    }
    types_->setCurrentIndex(std::max(0, types_->findData(document_.MapType)));
    auto* typeLabel = new QLabel(tr("Map &type:"), this);
    typeLabel->setBuddy(types_);

    contours_ = new QCheckBox(tr("&Draw contour lines"), this);
    contours_->setChecked(document_.ContourLines);
    width_ = new QLineEdit(QString::fromStdString(FormatNumber(document_.ContourLinesWidth, "F2")),
                           this);
    width_->setMaxLength(64);
    auto* validator = new QDoubleValidator(this);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    width_->setValidator(validator);
    auto* widthLabel = new QLabel(tr("Line &width (0.1 mm):"), this);
    widthLabel->setBuddy(width_);
    connect(width_, &QLineEdit::textEdited, this, [this] { widthEdited_ = true; });

    change_ = new QPushButton(tr("&Change..."), this);
    change_->setAccessibleName(tr("Change contour line color"));
    sample_ = new QFrame(this);
    sample_->setFrameStyle(QFrame::Box | QFrame::Plain);
    sample_->setMinimumSize(48, 20);
    sample_->setAutoFillBackground(true);
    sample_->setAccessibleName(tr("Contour line color"));
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(sample_, 1);
    colorRow->addWidget(change_);
    auto* colorLabel = new QLabel(tr("Line color:"), this);
    colorLabel->setBuddy(change_);

    auto* form = new QFormLayout;
    form->addRow(typeLabel, types_);
    form->addRow(contours_);
    form->addRow(widthLabel, width_);
    form->addRow(colorLabel, colorRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(contours_, &QCheckBox::toggled, this, &MapAppearanceDialog::ContourSwitched);
    connect(change_, &QPushButton::clicked, this, &MapAppearanceDialog::ChooseColor);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ContourSwitched();
    FitDialog(this);
}

void MapAppearanceDialog::ContourSwitched() {
    const bool on = contours_->isChecked();
    width_->setEnabled(on);
    change_->setEnabled(on);
    ShowColor();
}

void MapAppearanceDialog::ShowColor() {
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::Window,
                     contours_->isChecked() ? ColorOf(color_) : palette.color(QPalette::Button));
    sample_->setPalette(palette);
}

void MapAppearanceDialog::ChooseColor() {
    QColorDialog::setCustomColor(0, ColorOf(color_));
    const QColor chosen = QColorDialog::getColor(ColorOf(color_), this, tr("Contour Line Color"));
    if (chosen.isValid()) {
        color_ = ColorFrom(chosen);
        ShowColor();
    }
}

void MapAppearanceDialog::accept() {
    double width = document_.ContourLinesWidth;
    if (widthEdited_) {
        const std::string text = width_->text().trimmed().toStdString();
        std::size_t consumed = 0;
        const double parsed = ParseDouble(text.c_str(), &consumed);
        const std::optional<double> value =
            !text.empty() && consumed == text.size() ? std::optional<double>(parsed) : std::nullopt;
        if (!value) {
            Warn(this, windowTitle(), tr("Width must be a number"));
            width_->setFocus();
            return;
        }
        if (*value < 0) {
            Warn(this, windowTitle(), tr("Width must be positive or zero"));
            width_->setFocus();
            return;
        }
        width = *value;
    }
    document_.ContourLinesWidth = width;
    document_.ContourLines = contours_->isChecked();
    document_.ContourLinesColor = color_;
    document_.MapType = types_->currentData().toUInt();
    QDialog::accept();
}

void MapAppearanceDialog::reject() {
    document_.MapType = savedType_;
    document_.ContourLines = savedContours_;
    document_.ContourLinesWidth = savedWidth_;
    document_.ContourLinesColor = savedColor_;
    QDialog::reject();
}
