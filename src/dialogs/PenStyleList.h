#pragma once

#include <QComboBox>

#include <cstdint>

// A drop-down list of styles, each shown as a sample of what it draws (a
// line, a hatch) instead of its name. The names stay the items' texts, so
// that the list is read aloud, and typed-ahead, by them. An item that has
// no sample is drawn as its name.
class StyleSampleList : public QComboBox {
    Q_OBJECT
public:
    // The style the list shows; a style that is not in the list is added
    // to it under the name "Style n", so that an unknown value from a file
    // is kept when the user does not change it.
    void SetStyle(std::int32_t style);
    std::int32_t Style() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Draws the sample of the item at index into rect, in color.
    void PaintSample(QPainter& painter, const QRect& rect, int index, const QColor& color) const;

protected:
    StyleSampleList(const QString& accessibleName, QWidget* parent);
    // An item drawn as a sample.
    void AddSample(const QString& name, std::int32_t style);
    // An item drawn as its name.
    void AddWord(const QString& name, std::int32_t style);
    virtual void DrawSample(QPainter& painter, const QRect& rect, std::int32_t style,
                            const QColor& color) const = 0;

    void paintEvent(QPaintEvent* event) override;
};

// The pen styles "Solid", "Dash", "Dot", "Dashdot", "Dashdotdot" (0 to
// 4) as sample lines; a border list also offers "None" (5, no outline).
class PenStyleList : public StyleSampleList {
    Q_OBJECT
public:
    enum class Choices { Lines, LinesAndNone };
    PenStyleList(Choices choices, const QString& accessibleName, QWidget* parent);

protected:
    void DrawSample(QPainter& painter, const QRect& rect, std::int32_t style,
                    const QColor& color) const override;
};

// The six hatch styles of hatched fills as hatched boxes.
class HatchList : public StyleSampleList {
    Q_OBJECT
public:
    HatchList(const QString& accessibleName, QWidget* parent);

protected:
    void DrawSample(QPainter& painter, const QRect& rect, std::int32_t style,
                    const QColor& color) const override;
};
