#include "dialogs/ColorSwatch.h"

#include "dialogs/ColorEditors.h"

#include <QColorDialog>
#include <QPainter>
#include <QPushButton>

ColorSwatch::ColorSwatch(const QString& accessibleName, QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAccessibleName(accessibleName);
    SetColor(0);
}

void ColorSwatch::SetColor(std::uint32_t color) {
    color_ = color & 0xFFFFFF;
    setAccessibleDescription(ColorOf(color_).name());
    update();
}

bool ColorSwatch::Choose(const QString& title) {
    QColorDialog dialog(ColorOf(color_), window());
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) {
        return false;
    }
    SetColor(ColorFrom(dialog.selectedColor()));
    return true;
}

void ColorSwatch::ChooseWith(QPushButton* button, const QString& title) {
    connect(button, &QPushButton::clicked, this, [this, title] { Choose(title); });
}

QSize ColorSwatch::sizeHint() const {
    return {48, 20};
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ColorOf(color_));
    }
    QFrame::paintEvent(event);
}
