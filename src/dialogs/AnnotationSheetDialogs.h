#pragma once

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
#include "core/LObjectContainer.h"
#include "dialogs/AnnotationPages.h"
#include "dialogs/AnnotationSheets.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class ChartDocument;
class QDialogButtonBox;
class QPushButton;
class QTabWidget;

// The dialogs behind EditTextAnnotation, EditRectangleAnnotation and
// EditLineAnnotation: a tabbed sheet with OK, Cancel and, for an
// annotation that exists, "&Delete". OK takes every page in tab order (the
// first page that refuses a value keeps the sheet open) and stores the
// annotation: a new one at the end of its list, an existing one in its
// place. Delete removes the annotation from its list at once.
class AnnotationSheet : public QDialog {
    Q_OBJECT
public:
    // What the sheet did to the document, once it is closed.
    AnnotationSheetResult Result() const { return result_; }

    QTabWidget* Pages() const { return tabs_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // None for a new annotation.
    QPushButton* DeleteButton() const { return delete_; }

    void accept() override;
    void reject() override;
    void Delete();

protected:
    AnnotationSheet(const QString& title, bool existing, QWidget* owner);
    bool eventFilter(QObject* object, QEvent* event) override;
    // Adds OK, Cancel and "&Delete" below the pages; called once the pages
    // are made.
    void AddButtons();

    // Takes the pages into the annotation and stores it; none when a page
    // refused a value.
    virtual std::optional<AnnotationSheetResult> Store() = 0;
    // Removes the annotation from its list.
    virtual void Remove() = 0;

private:
    bool existing_;
    QTabWidget* tabs_;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* delete_ = nullptr;
    AnnotationSheetResult result_ = AnnotationSheetResult::Unchanged;
};

// A sheet on one object of a document's list: a copy of the object (or of
// a new one) that the pages edit, stored back on OK.
template <typename T>
class AnnotationObjectSheet : public AnnotationSheet {
protected:
    // index: the object in list; none for fresh, a new object.
    AnnotationObjectSheet(const QString& title, LObjectContainer<T>& list,
                          std::optional<std::uint32_t> index, const T& fresh, QWidget* owner);

    // The object as the sheet opened on it.
    const T& Original() const { return original_; }
    // Stores the edited object: a new one at the end of the list, an
    // existing one in its place, unless it is as it was.
    AnnotationSheetResult Keep(const T& edited);
    void Remove() override;

private:
    LObjectContainer<T>& list_;
    std::optional<std::uint32_t> index_;
    T original_;
};

// "Frame", "Border" and "Interior": the area, outline and fill of a
// rectangle or of the frame of a text.
struct AnnoAreaPages {
    explicit AnnoAreaPages(QWidget* parent);
    void AddTo(QTabWidget* tabs);
    void Show(const AnnoFrameArea& area, const FrameRecord& record);
    // Takes the three pages in order; false after a page's message.
    bool Take(AnnoFrameArea& area, FrameRecord& record);

    AnnoFramePage* frame;
    AnnoBorderPage* border;
    AnnoInteriorPage* interior;
};

// "Text": pages "Text", "Frame" (the text's anchor and box), "Border" and
// "Interior" (the frame drawn over the box; "None" and "Transparent" draw
// no frame).
class TextAnnotationSheet : public AnnotationObjectSheet<LText> {
    Q_OBJECT
public:
    // index: the text in the document's list; none for a new text.
    TextAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                        QWidget* owner);

    AnnoTextPage* TextPage() const { return textPage_; }
    AnnoFramePage* FramePage() const { return area_.frame; }
    AnnoBorderPage* BorderPage() const { return area_.border; }
    AnnoInteriorPage* InteriorPage() const { return area_.interior; }

private:
    std::optional<AnnotationSheetResult> Store() override;

    AnnoFrameArea shownArea_;
    AnnoTextPage* textPage_;
    AnnoAreaPages area_;
};

// "Rectangle": pages "Frame", "Border" and "Interior".
class RectangleAnnotationSheet : public AnnotationObjectSheet<LRectangle> {
    Q_OBJECT
public:
    RectangleAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                             QWidget* owner);

    AnnoFramePage* FramePage() const { return area_.frame; }
    AnnoBorderPage* BorderPage() const { return area_.border; }
    AnnoInteriorPage* InteriorPage() const { return area_.interior; }

private:
    std::optional<AnnotationSheetResult> Store() override;

    AnnoFrameArea shownArea_;
    AnnoAreaPages area_;
};

// "Line": the page "Line Attributes".
class LineAnnotationSheet : public AnnotationObjectSheet<LLine> {
    Q_OBJECT
public:
    LineAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                        QWidget* owner);

    AnnoLinePage* LinePage() const { return linePage_; }

private:
    std::optional<AnnotationSheetResult> Store() override;

    AnnoLinePage* linePage_;
};
