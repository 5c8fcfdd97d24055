#include "dialogs/AnnotationSheets.h"
#include "dialogs/DialogSupport.h"

#include "dialogs/AnnotationSheetDialogs.h"
#include "document/ChartDocument.h"
#include "document/SafeFile.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The frame of a text that has none: no outline and no fill, so that the
// text is drawn as it was.
constexpr FrameRecord kNoFrame{0.0, PenStyle::Null, 0x000000, BrushStyle::Hollow, 0xFFFFFF, 0};

bool DrawsSomething(const FrameRecord& record) {
    return record.penStyle != PenStyle::Null || record.fillStyle != BrushStyle::Hollow;
}

// The encoding of the document's setup file, which typed texts are written
// in; a document whose file cannot be read is written as UTF-8.
TextEncoding DocumentEncoding(const ChartDocument& document) {
    std::string bytes;
    if (!document.GetPath().empty() && ReadWholeFile(document.GetPath(), bytes)) {
        return DetectEncoding(bytes);
    }
    return TextEncoding::Utf8;
}

template <typename T>
bool SameTerms(const MVector<T>& a, const MVector<T>& b) {
    if (a.GetCount() != b.GetCount()) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.GetCount(); ++i) {
        if (a[a.GetLowerBound() + i] != b[b.GetLowerBound() + i]) {
            return false;
        }
    }
    return true;
}

bool SamePoint(const LPoint& a, const LPoint& b) {
    return SameTerms(a.XValues(), b.XValues()) && SameTerms(a.YValues(), b.YValues()) &&
           SameTerms(a.XAttributes(), b.XAttributes()) &&
           SameTerms(a.YAttributes(), b.YAttributes());
}

bool SameCorners(const LGraphicObject& a, const LGraphicObject& b) {
    return SamePoint(a.GetA(), b.GetA()) && SamePoint(a.GetB(), b.GetB());
}

bool Same(const LRectangle& a, const LRectangle& b) {
    return SameCorners(a, b) && a.GetFrameRecord() == b.GetFrameRecord();
}

bool Same(const LLine& a, const LLine& b) {
    return SameCorners(a, b) && a.GetWidth() == b.GetWidth() &&
           a.GetPenStyle() == b.GetPenStyle() && a.GetColor() == b.GetColor();
}

bool Same(const LText& a, const LText& b) {
    const bool sameFrame = a.GetFrame() == nullptr
                               ? b.GetFrame() == nullptr
                               : b.GetFrame() != nullptr && Same(*a.GetFrame(), *b.GetFrame());
    return sameFrame && SameCorners(a, b) && a.GetText() == b.GetText() &&
           a.GetFont() == b.GetFont() && a.GetTextColor() == b.GetTextColor() &&
           a.GetBkColor() == b.GetBkColor() && a.GetBkMode() == b.GetBkMode() &&
           a.GetHorizontalAlignment() == b.GetHorizontalAlignment() &&
           a.GetVerticalAlignment() == b.GetVerticalAlignment();
}

bool OnPage(const LGraphicObject& object) {
    return object.GetA().GetXAttribute() == PageUnits;
}

// Gives the object the coordinate system chosen, when it is not the one
// shown (an object whose points carry other attributes keeps them).
void TakeCoordinateSystem(LGraphicObject& object, const AnnoFrameArea& area,
                          const AnnoFrameArea& shown) {
    if (area.onPage != shown.onPage) {
        object.SetCoordinateAttribute(area.onPage ? PageUnits : DataUnits);
    }
}

// One end of a rectangle's side: start + size, or the end as it was when
// neither was changed (the sum need not give it back exactly).
double FarEnd(double start, double size, double shownStart, double shownSize, double was) {
    return start == shownStart && size == shownSize ? was : start + size;
}

// Where a new annotation goes: the middle half of the plot, in data units.
struct PlotMiddle {
    double x1, y1, x2, y2;
};

PlotMiddle MiddleOfPlot(const ChartDocument& document) {
    const PlotFrame& frame = document.Frame;
    const double w = (frame.x2 - frame.x1) / 4;
    const double h = (frame.y2 - frame.y1) / 4;
    return {frame.x1 + w, frame.y1 + h, frame.x2 - w, frame.y2 - h};
}

template <typename Sheet, typename T>
AnnotationSheetResult RunSheet(ChartDocument& document, const LObjectContainer<T>& container,
                               std::optional<std::uint32_t> index, QWidget* owner) {
    if (index && *index >= container.List().GetCount()) {
        return AnnotationSheetResult::Unchanged;
    }
    Sheet sheet(document, index, owner);
    sheet.exec();
    return sheet.Result();
}

LText NewText(const ChartDocument& document) {
    const PlotMiddle middle = MiddleOfPlot(document);
    return LText(LPoint((middle.x1 + middle.x2) / 2, (middle.y1 + middle.y2) / 2), LPoint(0, 0),
                 std::nullopt, FontRecord::DefaultTextFont());
}

LRectangle NewRectangle(const ChartDocument& document) {
    const PlotMiddle middle = MiddleOfPlot(document);
    LRectangle rectangle(middle.x1, middle.y1, middle.x2, middle.y2);
    // An outline only, so that the new rectangle does not hide the map.
    rectangle.SetFill(Brush{BrushStyle::Hollow, 0xFFFFFF, 0});
    return rectangle;
}

LLine NewLine(const ChartDocument& document) {
    const PlotMiddle middle = MiddleOfPlot(document);
    return LLine(middle.x1, middle.y1, middle.x2, middle.y2);
}

} // namespace

AnnotationSheet::AnnotationSheet(const QString& title, bool existing, QWidget* owner)
    : QDialog(owner), existing_(existing) {
    setWindowTitle(title);
    tabs_ = new QTabWidget(this);
    // Ctrl+Tab and Ctrl+Page Down turn the pages forward, Ctrl+Shift+Tab
    // and Ctrl+Page Up backward. The keys are caught before anything else
    // sees them: a sheet owned by a map view would otherwise lose Ctrl+Tab
    // to the window area that holds the view, which switches its windows
    // with it.
    QApplication::instance()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

void AnnotationSheet::AddButtons() {
    // Made after the pages, in the order they stand in, so that Tab reaches
    // them after the fields.
    buttons_ = new QDialogButtonBox(this);
    if (existing_) {
        delete_ = buttons_->addButton(tr("&Delete"), QDialogButtonBox::ActionRole);
        delete_->setAutoDefault(false);
        delete_->setAccessibleDescription(tr("Removes the annotation from the map"));
        connect(delete_, &QPushButton::clicked, this, &AnnotationSheet::Delete);
    }
    buttons_->addButton(QDialogButtonBox::Ok)->setDefault(true);
    buttons_->addButton(QDialogButtonBox::Cancel);
    connect(buttons_, &QDialogButtonBox::accepted, this, &AnnotationSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &AnnotationSheet::reject);
    layout()->addWidget(buttons_);
    FitDialog(this);
}

bool AnnotationSheet::eventFilter(QObject* object, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !object->isWidgetType() ||
        static_cast<QWidget*>(object)->window() != this) {
        return QDialog::eventFilter(object, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & Qt::ControlModifier) == 0 || tabs_->count() == 0) {
        return QDialog::eventFilter(object, event);
    }
    const bool back = (key->modifiers() & Qt::ShiftModifier) != 0;
    int by = 0;
    switch (key->key()) {
    case Qt::Key_Tab:
        by = back ? -1 : 1;
        break;
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
        by = -1;
        break;
    case Qt::Key_PageDown:
        by = 1;
        break;
    default:
        return QDialog::eventFilter(object, event);
    }
    const int count = tabs_->count();
    tabs_->setCurrentIndex((tabs_->currentIndex() + by + count) % count);
    return true;
}

void AnnotationSheet::accept() {
    const std::optional<AnnotationSheetResult> stored = Store();
    if (!stored) {
        return;
    }
    result_ = *stored;
    QDialog::accept();
}

void AnnotationSheet::reject() {
    result_ = AnnotationSheetResult::Unchanged;
    QDialog::reject();
}

void AnnotationSheet::Delete() {
    if (delete_ == nullptr) {
        return;
    }
    Remove();
    result_ = AnnotationSheetResult::Deleted;
    QDialog::done(QDialog::Accepted);
}

template <typename T>
AnnotationObjectSheet<T>::AnnotationObjectSheet(const QString& title, LObjectContainer<T>& list,
                                                std::optional<std::uint32_t> index, const T& fresh,
                                                QWidget* owner)
    : AnnotationSheet(title, index.has_value(), owner), list_(list), index_(index),
      original_(index ? list.List()[*index] : fresh) {}

template <typename T>
AnnotationSheetResult AnnotationObjectSheet<T>::Keep(const T& edited) {
    if (index_ && Same(edited, original_)) {
        return AnnotationSheetResult::Unchanged;
    }
    if (index_) {
        list_.List()[*index_] = edited;
    } else {
        list_.List().addAtTail(edited);
    }
    return AnnotationSheetResult::Changed;
}

template <typename T>
void AnnotationObjectSheet<T>::Remove() {
    MList<T>& list = list_.List();
    if (!index_ || *index_ >= list.GetCount()) {
        return;
    }
    list.GoHead();
    for (std::uint32_t i = 0; i < *index_; ++i) {
        list.GoNext();
    }
    list.RemoveCurrent();
}

template class AnnotationObjectSheet<LText>;
template class AnnotationObjectSheet<LRectangle>;
template class AnnotationObjectSheet<LLine>;

AnnoAreaPages::AnnoAreaPages(QWidget* parent)
    : frame(new AnnoFramePage(parent)), border(new AnnoBorderPage(parent)),
      interior(new AnnoInteriorPage(parent)) {}

void AnnoAreaPages::AddTo(QTabWidget* tabs) {
    tabs->addTab(frame, AnnotationSheet::tr("Frame"));
    tabs->addTab(border, AnnotationSheet::tr("Border"));
    tabs->addTab(interior, AnnotationSheet::tr("Interior"));
}

void AnnoAreaPages::Show(const AnnoFrameArea& area, const FrameRecord& record) {
    frame->Show(area);
    border->Show(record);
    interior->Show(record);
}

bool AnnoAreaPages::Take(AnnoFrameArea& area, FrameRecord& record) {
    const std::optional<AnnoFrameArea> taken = frame->Take();
    if (!taken || !border->Take(record)) {
        return false;
    }
    area = *taken;
    interior->Take(record);
    return true;
}

TextAnnotationSheet::TextAnnotationSheet(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner)
    : AnnotationObjectSheet(tr("Text"), document.Texts, index, NewText(document), owner),
      textPage_(new AnnoTextPage(DocumentEncoding(document), this)), area_(this) {
    Pages()->addTab(textPage_, tr("Text"));
    area_.AddTo(Pages());
    const LText& text = Original();
    const LPoint& anchor = text.GetAnchor();
    const LPoint& box = text.GetBox();
    shownArea_ = {anchor.GetX(), anchor.GetY(), box.GetX(), box.GetY(), OnPage(text)};
    textPage_->Show(text);
    area_.Show(shownArea_,
               text.GetFrame() != nullptr ? text.GetFrame()->GetFrameRecord() : kNoFrame);
    AddButtons();
    textPage_->TextField()->setFocus();
    textPage_->TextField()->selectAll();
}

std::optional<AnnotationSheetResult> TextAnnotationSheet::Store() {
    LText text = Original();
    const LRectangle* frame = Original().GetFrame();
    FrameRecord record = frame != nullptr ? frame->GetFrameRecord() : kNoFrame;
    AnnoFrameArea area;
    if (!textPage_->Take(text) || !area_.Take(area, record)) {
        return std::nullopt;
    }
    TakeCoordinateSystem(text, area, shownArea_);
    text.GetA().SetX(area.x);
    text.GetA().SetY(area.y);
    text.GetB().SetX(area.width);
    text.GetB().SetY(area.height);
    // The frame covers the box: it is made again over the box as it is now.
    // A frame kept as it was stays even when it draws nothing.
    const bool keep = frame != nullptr && record == frame->GetFrameRecord();
    text.SetFrame(keep || DrawsSomething(record) ? std::optional<FrameRecord>(record)
                                                 : std::nullopt);
    return Keep(text);
}

RectangleAnnotationSheet::RectangleAnnotationSheet(ChartDocument& document,
                                                   std::optional<std::uint32_t> index,
                                                   QWidget* owner)
    : AnnotationObjectSheet(tr("Rectangle"), document.Rectangles, index, NewRectangle(document),
                            owner),
      area_(this) {
    area_.AddTo(Pages());
    // Corners stored the other way round show as the same area.
    const LPoint& a = Original().GetA();
    const LPoint& b = Original().GetB();
    shownArea_ = {std::min(a.GetX(), b.GetX()), std::min(a.GetY(), b.GetY()),
                  std::abs(b.GetX() - a.GetX()), std::abs(b.GetY() - a.GetY()), OnPage(Original())};
    area_.Show(shownArea_, Original().GetFrameRecord());
    AddButtons();
    area_.frame->XStart()->setFocus();
}

std::optional<AnnotationSheetResult> RectangleAnnotationSheet::Store() {
    LRectangle rectangle = Original();
    FrameRecord record = rectangle.GetFrameRecord();
    AnnoFrameArea area;
    if (!area_.Take(area, record)) {
        return std::nullopt;
    }
    TakeCoordinateSystem(rectangle, area, shownArea_);
    if (area != shownArea_) {
        // Corner A is the lower left one, B the upper right one.
        const AnnoFrameArea& shown = shownArea_;
        const LPoint& a = Original().GetA();
        const LPoint& b = Original().GetB();
        const double bx =
            FarEnd(area.x, area.width, shown.x, shown.width, std::max(a.GetX(), b.GetX()));
        const double by =
            FarEnd(area.y, area.height, shown.y, shown.height, std::max(a.GetY(), b.GetY()));
        rectangle.GetA().SetX(area.x);
        rectangle.GetA().SetY(area.y);
        rectangle.GetB().SetX(bx);
        rectangle.GetB().SetY(by);
    }
    rectangle.SetFrameRecord(record);
    return Keep(rectangle);
}

LineAnnotationSheet::LineAnnotationSheet(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner)
    : AnnotationObjectSheet(tr("Line"), document.Lines, index, NewLine(document), owner),
      linePage_(new AnnoLinePage(this)) {
    Pages()->addTab(linePage_, tr("Line Attributes"));
    linePage_->Show(Original());
    AddButtons();
    linePage_->XStart()->setFocus();
}

std::optional<AnnotationSheetResult> LineAnnotationSheet::Store() {
    LLine line = Original();
    if (!linePage_->Take(line)) {
        return std::nullopt;
    }
    return Keep(line);
}

AnnotationSheetResult EditTextAnnotation(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner) {
    return RunSheet<TextAnnotationSheet>(document, document.Texts, index, owner);
}

AnnotationSheetResult EditRectangleAnnotation(ChartDocument& document,
                                              std::optional<std::uint32_t> index, QWidget* owner) {
    return RunSheet<RectangleAnnotationSheet>(document, document.Rectangles, index, owner);
}

AnnotationSheetResult EditLineAnnotation(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner) {
    return RunSheet<LineAnnotationSheet>(document, document.Lines, index, owner);
}
