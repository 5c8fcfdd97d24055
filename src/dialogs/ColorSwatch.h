#pragma once

#include <QFrame>

#include <cstdint>

class QPushButton;

// A box filled with a colour (0x00BBGGRR), for the colour fields of the
// property sheets. Its accessible name says whose colour it is, and its
// accessible description names the colour ("#rrggbb"), so that the field
// can be read without seeing it.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    ColorSwatch(const QString& accessibleName, QWidget* parent);

    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color);

    // Opens the colour dialog on the swatch's colour; the chosen colour
    // becomes the swatch's. True when one was chosen.
    bool Choose(const QString& title);

    // A button that opens the colour dialog for this swatch.
    void ChooseWith(QPushButton* button, const QString& title);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t color_ = 0;
};
