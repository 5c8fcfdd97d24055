#pragma once

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
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
    void AddPage(QWidget* page, const QString& title);

    // Takes the pages into the annotation and stores it; none when a page
    // refused a value.
    virtual std::optional<AnnotationSheetResult> Store() = 0;
    // Removes the annotation from its list.
    virtual void Remove() = 0;

private:
    QTabWidget* tabs_;
    QDialogButtonBox* buttons_;
    QPushButton* delete_ = nullptr;
    AnnotationSheetResult result_ = AnnotationSheetResult::Unchanged;
};

// "Text": pages "Text", "Frame" (the text's anchor and box), "Border" and
// "Interior" (the frame drawn over the box; "None" and "Transparent" draw
// no frame).
class TextAnnotationSheet : public AnnotationSheet {
    Q_OBJECT
public:
    // index: the text in the document's list; none for a new text.
    TextAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                        QWidget* owner);

    AnnoTextPage* TextPage() const { return textPage_; }
    AnnoFramePage* FramePage() const { return framePage_; }
    AnnoBorderPage* BorderPage() const { return borderPage_; }
    AnnoInteriorPage* InteriorPage() const { return interiorPage_; }

private:
    std::optional<AnnotationSheetResult> Store() override;
    void Remove() override;

    ChartDocument& document_;
    std::optional<std::uint32_t> index_;
    LText original_;
    AnnoFrameArea shownArea_;
    AnnoTextPage* textPage_;
    AnnoFramePage* framePage_;
    AnnoBorderPage* borderPage_;
    AnnoInteriorPage* interiorPage_;
};

// "Rectangle": pages "Frame", "Border" and "Interior".
class RectangleAnnotationSheet : public AnnotationSheet {
    Q_OBJECT
public:
    RectangleAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                             QWidget* owner);

    AnnoFramePage* FramePage() const { return framePage_; }
    AnnoBorderPage* BorderPage() const { return borderPage_; }
    AnnoInteriorPage* InteriorPage() const { return interiorPage_; }

private:
    std::optional<AnnotationSheetResult> Store() override;
    void Remove() override;

    ChartDocument& document_;
    std::optional<std::uint32_t> index_;
    LRectangle original_;
    AnnoFrameArea shownArea_;
    AnnoFramePage* framePage_;
    AnnoBorderPage* borderPage_;
    AnnoInteriorPage* interiorPage_;
};

// "Line": the page "Line Attributes".
class LineAnnotationSheet : public AnnotationSheet {
    Q_OBJECT
public:
    LineAnnotationSheet(ChartDocument& document, std::optional<std::uint32_t> index,
                        QWidget* owner);

    AnnoLinePage* LinePage() const { return linePage_; }

private:
    std::optional<AnnotationSheetResult> Store() override;
    void Remove() override;

    ChartDocument& document_;
    std::optional<std::uint32_t> index_;
    LLine original_;
    AnnoLinePage* linePage_;
};
