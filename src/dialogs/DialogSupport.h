#pragma once

#include "render/FontRecord.h"
#include "setup/TextEncoding.h"

#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QDialog;
class QFormLayout;
class QLabel;

// Small pieces the property sheets are made of.

// A number field: shows a number in a number format, tells whether the
// user edited it, and reads the text locale-free (a "." is the decimal
// point whatever the desktop's language).
class NumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr);

    void Show(double value, const char* format);
    bool IsEdited() const { return edited_; }
    void SetEdited(bool edited) { edited_ = edited; }
    // The text as a number; nothing when it is not one.
    std::optional<double> Value() const;
    // The number truncated to an integer, as sizes and widths are kept.
    std::optional<std::int32_t> IntValue() const;

private:
    bool edited_ = false;
};

// Stores a field's integer into target when the user edited it; false,
// after a message, when its text is no number.
bool StoreEditedInt(NumberField* field, std::int32_t& target);

// Adds a row "caption: field" to a form, the caption bound to the field;
// where layout is given, it stands in the row for the field (the field and
// the buttons beside it).
QLabel* AddRow(QFormLayout* form, const QString& caption, QWidget* field,
               QLayout* layout = nullptr);

// A button showing a colour, which opens the colour dialog.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    ColorButton(const QString& text, std::uint32_t color, QWidget* parent = nullptr);
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color);

signals:
    void ColorChosen(std::uint32_t color);

private:
    void Choose();
    std::uint32_t color_;
};

// The font dialog on a stored font: the height shown in points; the chosen
// font comes back with its height as minus its point size, and the parts
// the dialog does not edit (escapement, quality...) kept.
std::optional<FontRecord> ChooseFontRecord(QWidget* owner, const FontRecord& font,
                                           const QString& title);

// Texts of a setup file in the window: shown decoded, stored back in the
// encoding of the file they came from. A character that encoding cannot
// hold is refused with a message.
class SetupTextCodec {
public:
    // The encoding the document found its setup file in.
    explicit SetupTextCodec(TextEncoding encoding) : encoding_(encoding) {}
    QString Show(const std::string& bytes) const;
    std::optional<std::string> Store(const QString& text, QWidget* owner) const;

private:
    TextEncoding encoding_ = TextEncoding::Utf8;
};

// The program's refusal of a value: an exclamation box captioned "Demla".
void Refuse(QWidget* owner, const QString& text);
// An exclamation box over a dialog, with the caption given.
void Warn(QWidget* owner, const QString& caption, const QString& text);

// Lays a dialog out for the screen it opens on, once its pages are made:
// tab bars scroll rather than widen the dialog, fields and buttons keep
// widths that suit what they hold however wide the dialog grows, and the
// dialog takes the size of its contents, never more than the screen has.
void FitDialog(QDialog* dialog);

// The width of a number field: room for about fourteen digits.
int NumberFieldWidth(const QWidget* field);
