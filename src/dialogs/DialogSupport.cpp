#include "dialogs/DialogSupport.h"

#include "app/ColorEditors.h"
#include "core/FormatNumber.h"
#include "core/NumberText.h"

#include <QColorDialog>
#include <QDoubleValidator>
#include <QFontDialog>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>

#include <cmath>
#include <limits>

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
    auto* validator = new QDoubleValidator(this);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::ScientificNotation);
    setValidator(validator);
    setMaxLength(64);
    connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

void NumberField::Show(double value, const char* format) {
    setText(QString::fromStdString(FormatNumber(value, format)));
    edited_ = false;
}

std::optional<double> NumberField::Value() const {
    const std::string text = this->text().trimmed().toStdString();
    std::size_t consumed = 0;
    const double value = ParseDouble(text.c_str(), &consumed);
    if (text.empty() || consumed != text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> NumberField::IntValue() const {
    const std::optional<double> value = Value();
    if (!value || std::fabs(*value) > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::trunc(*value));
}

bool StoreEditedInt(NumberField* field, std::int32_t& target) {
    if (!field->IsEdited()) {
        return true;
    }
    const std::optional<std::int32_t> value = field->IntValue();
    if (!value) {
        Refuse(field, QObject::tr("This is not a number: %1").arg(field->text()));
        field->setFocus();
        return false;
    }
    target = *value;
    return true;
}

QLabel* AddRow(QFormLayout* form, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, form->parentWidget());
    label->setBuddy(field);
    form->addRow(label, field);
    return label;
}

ColorButton::ColorButton(const QString& text, std::uint32_t color, QWidget* parent)
    : QPushButton(text, parent), color_(color) {
    SetColor(color);
    connect(this, &QPushButton::clicked, this, &ColorButton::Choose);
}

void ColorButton::SetColor(std::uint32_t color) {
    color_ = color;
    QPixmap swatch(16, 16);
    swatch.fill(ColorOf(color));
    setIcon(QIcon(swatch));
    setAccessibleDescription(ColorOf(color).name());
}

void ColorButton::Choose() {
    QColorDialog::setCustomColor(0, ColorOf(color_));
    const QColor chosen = QColorDialog::getColor(ColorOf(color_), this, text().remove('&'));
    if (chosen.isValid()) {
        SetColor(ColorFrom(chosen));
        emit ColorChosen(color_);
    }
}

std::optional<FontRecord> ChooseFontRecord(QWidget* owner, const FontRecord& font,
                                           const QString& title) {
    QFont initial(
        QString::fromLatin1(font.GetFaceName().empty() ? "Arial" : font.GetFaceName().c_str()));
    initial.setPointSize(font.height != 0 ? std::abs(font.height) : 12);
    initial.setWeight(static_cast<QFont::Weight>(font.weight > 0 ? font.weight : 400));
    initial.setItalic(font.italic != 0);
    initial.setUnderline(font.underline != 0);
    initial.setStrikeOut(font.strikeOut != 0);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner, title);
    if (!ok) {
        return std::nullopt;
    }
    FontRecord record = font;
    record.height = -std::max(1, chosen.pointSize());
    record.weight = static_cast<std::int32_t>(chosen.weight());
    record.italic = chosen.italic() ? 1 : 0;
    record.underline = chosen.underline() ? 1 : 0;
    record.strikeOut = chosen.strikeOut() ? 1 : 0;
    record.SetFaceName(chosen.family().toLatin1().toStdString());
    return record;
}

QString SetupTextCodec::Show(const std::string& bytes) const {
    return QString::fromStdString(TextToUtf8(bytes, encoding_));
}

std::optional<std::string> SetupTextCodec::Store(const QString& text, QWidget* owner) const {
    std::string reason;
    std::optional<std::string> bytes = TypedTextToFile(text.toStdString(), encoding_, &reason);
    if (!bytes) {
        Refuse(owner, QString::fromStdString(reason));
    }
    return bytes;
}

void Refuse(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, QStringLiteral("Demla"), text);
}
