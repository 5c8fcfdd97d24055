#include "dialogs/DialogSupport.h"

#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "dialogs/ColorEditors.h"

#include "platform/QtPrompt.h"

#include <QAbstractSpinBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFontDialog>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>
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

QLabel* AddRow(QFormLayout* form, const QString& caption, QWidget* field, QLayout* layout) {
    auto* label = new QLabel(caption, form->parentWidget());
    label->setBuddy(field);
    if (layout != nullptr) {
        form->addRow(label, layout);
    } else {
        form->addRow(label, field);
    }
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
    Warn(owner, QStringLiteral("Demla"), text);
}

void Warn(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    UseMessageFrame(box);
    box.exec();
}

int NumberFieldWidth(const QWidget* field) {
    return field->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000000000")) + 16;
}

void FitDialog(QDialog* dialog) {
    for (QTabWidget* tabs : dialog->findChildren<QTabWidget*>()) {
        tabs->setUsesScrollButtons(true);
        tabs->setElideMode(Qt::ElideNone);
    }
    const int em = dialog->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        // A field that chose its width keeps it; the editors inside spin
        // and combo boxes go with their box.
        if (edit->maximumWidth() != QWIDGETSIZE_MAX ||
            qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) != nullptr ||
            qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr) {
            continue;
        }
        // A number or a short code (a format, a character) needs little
        // room; a text gets a line's worth.
        const bool number = qobject_cast<const QDoubleValidator*>(edit->validator()) != nullptr ||
                            qobject_cast<const QIntValidator*>(edit->validator()) != nullptr ||
                            edit->maxLength() <= 64;
        edit->setMaximumWidth(number ? std::max(NumberFieldWidth(edit), edit->minimumWidth())
                                     : std::max(40 * em, edit->minimumWidth()));
    }
    // A spin box holds a number, however wide its row.
    for (QAbstractSpinBox* spin : dialog->findChildren<QAbstractSpinBox*>()) {
        if (spin->maximumWidth() == QWIDGETSIZE_MAX) {
            spin->setMaximumWidth(std::max(spin->sizeHint().width(), NumberFieldWidth(spin)));
        }
    }
    for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
        if (box->maximumWidth() == QWIDGETSIZE_MAX) {
            box->setMaximumWidth(std::max(box->sizeHint().width(), 16 * em));
        }
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (qobject_cast<QDialogButtonBox*>(button->parentWidget()) == nullptr &&
            button->maximumWidth() == QWIDGETSIZE_MAX) {
            button->setMaximumWidth(std::max(button->sizeHint().width(), 12 * em));
        }
    }
    QSize size = dialog->sizeHint().expandedTo(dialog->minimumSizeHint());
    const QScreen* screen =
        dialog->parentWidget() != nullptr ? dialog->parentWidget()->screen() : dialog->screen();
    if (screen != nullptr) {
        // Room for the window manager's frame around the dialog.
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    }
    dialog->resize(size);
}
