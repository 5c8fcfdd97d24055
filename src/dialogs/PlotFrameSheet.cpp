#include "dialogs/PlotFrameSheet.h"

#include "dialogs/CohortLinesPage.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/PlotFramePages.h"
#include "document/ChartDocument.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

std::vector<PlotFrameSheet::Page> PlotFrameSheet::AllPages() {
    return {Coordinates, Title, XLabel, YLabel, XTicks,     AutoXTicks, YTicks,
            AutoYTicks,  XAxis, YAxis,  Frame,  XGridLines, YGridLines, CohortLines};
}

std::vector<PlotFrameSheet::Page> PlotFrameSheet::XTickPages() {
    return {XTicks, AutoXTicks, XGridLines, Coordinates, XAxis};
}

std::vector<PlotFrameSheet::Page> PlotFrameSheet::YTickPages() {
    return {YTicks, AutoYTicks, YGridLines, Coordinates, YAxis};
}

PlotFrameSheet::PlotFrameSheet(ChartDocument& document, const std::vector<Page>& pages,
                               std::function<void()> repaint, QWidget* parent)
    : QDialog(parent), document_(document), saved_(document.Frame),
      savedCohortLines_(document.CohortLines), repaint_(std::move(repaint)) {
    setWindowTitle(tr("Plot Frame"));
    tabs_ = new QTabWidget(this);
    const auto make = [&](Page page) -> std::pair<PlotFramePage*, QString> {
        switch (page) {
        case Coordinates:
            return {new CoordinatesPage(document, tabs_), tr("Coordinates")};
        case Title:
            return {new TitlePage(document, tabs_), tr("Title")};
        case XLabel:
            return {new LabelPage(document, PlotFrame::XAxis, tabs_), tr("X-Label")};
        case YLabel:
            return {new LabelPage(document, PlotFrame::YAxis, tabs_), tr("Y-Label")};
        case XTicks:
            return {new TicksPage(document, PlotFrame::XAxis, tabs_), tr("X-Ticks")};
        case AutoXTicks:
            return {new AutoTicksPage(document, PlotFrame::XAxis, tabs_), tr("Auto X-Ticks")};
        case YTicks:
            return {new TicksPage(document, PlotFrame::YAxis, tabs_), tr("Y-Ticks")};
        case AutoYTicks:
            return {new AutoTicksPage(document, PlotFrame::YAxis, tabs_), tr("Auto Y-Ticks")};
        case XAxis:
            return {new AxisPage(document, PlotFrame::XAxis, tabs_), tr("X-Axis")};
        case YAxis:
            return {new AxisPage(document, PlotFrame::YAxis, tabs_), tr("Y-Axis")};
        case Frame:
            return {new FrameRectPage(document, tabs_), tr("Frame")};
        case XGridLines:
            return {new GridLinesPage(document, PlotFrame::XAxis, tabs_), tr("X-Grid Lines")};
        case YGridLines:
            return {new GridLinesPage(document, PlotFrame::YAxis, tabs_), tr("Y-Grid Lines")};
        case CohortLines:
            return {new CohortLinesPage(document, tabs_), tr("Cohort Lines")};
        }
        return {nullptr, QString()};
    };
    for (const Page page : pages) {
        const auto [widget, title] = make(page);
        widget->Fill();
        tabs_->addTab(widget, title);
        pages_.emplace_back(page, widget);
    }
    // New automatic ticks show in the tick list of their axis.
    for (const auto& [page, widget] : pages_) {
        connect(widget, &PlotFramePage::TicksRegenerated, this, [this](int axis) {
            const Page list = axis == PlotFrame::XAxis ? XTicks : YTicks;
            if (auto* ticks = static_cast<TicksPage*>(PageWidget(list))) {
                ticks->Fill();
            }
        });
    }

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &PlotFrameSheet::Apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    FitDialog(this);
}

PlotFrameSheet::~PlotFrameSheet() = default;

QWidget* PlotFrameSheet::PageWidget(Page page) const {
    for (const auto& [kind, widget] : pages_) {
        if (kind == page) {
            return widget;
        }
    }
    return nullptr;
}

bool PlotFrameSheet::Apply() {
    bool applied = true;
    for (const auto& [page, widget] : pages_) {
        if (!widget->Apply()) {
            tabs_->setCurrentWidget(widget);
            applied = false;
            break;
        }
    }
    repaint_();
    return applied;
}

void PlotFrameSheet::accept() {
    if (Apply()) {
        QDialog::accept();
    }
}

void PlotFrameSheet::reject() {
    document_.Frame = saved_;
    document_.CohortLines = savedCohortLines_;
    repaint_();
    QDialog::reject();
}
