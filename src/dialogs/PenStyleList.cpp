#include "dialogs/PenStyleList.h"

#include "dialogs/ColorEditors.h"
#include "platform/QtSurface.h"
#include "render/Surface.h"

#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

// Items drawn as samples carry this role set to true.
constexpr int kSampleRole = Qt::UserRole + 1;

constexpr int kSampleWidth = 90;
constexpr int kSampleHeight = 18;

// Draws the items of the popup list as their samples.
class SampleDelegate : public QStyledItemDelegate {
public:
    explicit SampleDelegate(StyleSampleList* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!index.data(kSampleRole).toBool()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : list_->style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QColor color =
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        list_->PaintSample(*painter, option.rect.adjusted(4, 0, -4, 0), index.row(), color);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index)
            .expandedTo(QSize(kSampleWidth, kSampleHeight));
    }

private:
    StyleSampleList* list_;
};

} // namespace

StyleSampleList::StyleSampleList(const QString& accessibleName, QWidget* parent)
    : QComboBox(parent) {
    setAccessibleName(accessibleName);
    setItemDelegate(new SampleDelegate(this));
}

void StyleSampleList::AddSample(const QString& name, std::int32_t style) {
    addItem(name, style);
    setItemData(count() - 1, true, kSampleRole);
}

void StyleSampleList::AddWord(const QString& name, std::int32_t style) {
    addItem(name, style);
}

void StyleSampleList::SetStyle(std::int32_t style) {
    int index = findData(style);
    if (index < 0) {
        AddWord(tr("Style %1").arg(style), style);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

std::int32_t StyleSampleList::Style() const {
    return currentData().toInt();
}

QSize StyleSampleList::sizeHint() const {
    return QComboBox::sizeHint().expandedTo(QSize(kSampleWidth + 40, 0));
}

QSize StyleSampleList::minimumSizeHint() const {
    return QComboBox::minimumSizeHint().expandedTo(QSize(kSampleWidth + 40, 0));
}

void StyleSampleList::PaintSample(QPainter& painter, const QRect& rect, int index,
                                  const QColor& color) const {
    painter.save();
    painter.setClipRect(rect);
    DrawSample(painter, rect, itemData(index).toInt(), color);
    painter.restore();
}

void StyleSampleList::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const bool sample = itemData(currentIndex(), kSampleRole).toBool();
    if (sample) {
        option.currentText.clear();
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (sample) {
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        const QColor color =
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
        PaintSample(painter, field.adjusted(2, 0, -2, 0), currentIndex(), color);
    } else {
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
}

PenStyleList::PenStyleList(Choices choices, const QString& accessibleName, QWidget* parent)
    : StyleSampleList(accessibleName, parent) {
    AddSample(tr("Solid"), PenStyle::Solid);
    AddSample(tr("Dash"), PenStyle::Dash);
    AddSample(tr("Dot"), PenStyle::Dot);
    AddSample(tr("Dashdot"), PenStyle::DashDot);
    AddSample(tr("Dashdotdot"), PenStyle::DashDotDot);
    if (choices == Choices::LinesAndNone) {
        AddWord(tr("None"), PenStyle::Null);
    }
}

void PenStyleList::DrawSample(QPainter& painter, const QRect& rect, std::int32_t style,
                              const QColor& color) const {
    // Drawn as the map draws a one-pixel line of the style.
    QtSurface surface(painter);
    const ScopedBkMode mode(surface, BackgroundMode::Transparent);
    const ScopedPen pen(surface, Pen{style, 1, ColorFrom(color)});
    const std::int32_t y = rect.center().y();
    surface.MoveTo(rect.left(), y);
    surface.LineTo(rect.right() + 1, y);
}

HatchList::HatchList(const QString& accessibleName, QWidget* parent)
    : StyleSampleList(accessibleName, parent) {
    AddSample(tr("Horizontal"), HatchStyle::Horizontal);
    AddSample(tr("Vertical"), HatchStyle::Vertical);
    AddSample(tr("Diagonal down"), HatchStyle::FDiagonal);
    AddSample(tr("Diagonal up"), HatchStyle::BDiagonal);
    AddSample(tr("Cross"), HatchStyle::Cross);
    AddSample(tr("Diagonal cross"), HatchStyle::DiagCross);
}

void HatchList::DrawSample(QPainter& painter, const QRect& rect, std::int32_t style,
                           const QColor& color) const {
    const QRect box = rect.adjusted(0, 3, 0, -3);
    {
        // Drawn as the map fills a hatched rectangle.
        QtSurface surface(painter);
        const ScopedBkMode mode(surface, BackgroundMode::Transparent);
        surface.FillRect(DeviceRect{box.left(), box.top(), box.right() + 1, box.bottom() + 1},
                         Brush::Hatched(style, ColorFrom(color)));
    }
    painter.setPen(color);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}
