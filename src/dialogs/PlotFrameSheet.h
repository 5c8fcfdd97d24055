#pragma once

#include "frame/PlotFrame.h"
#include "map/CohortLines.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class ChartDocument;
class QTabWidget;
class PlotFramePage;

// "Plot Frame": the plot frame of a map and its cohort lines in fourteen
// pages (or the few that
// belong to a clicked part of the frame). Apply writes every page into the
// document's frame and repaints the maps; OK does the same and closes;
// Cancel puts back the frame and cohort lines the sheet opened on.
class PlotFrameSheet : public QDialog {
    Q_OBJECT
public:
    enum Page {
        Coordinates,
        Title,
        XLabel,
        YLabel,
        XTicks,
        AutoXTicks,
        YTicks,
        AutoYTicks,
        XAxis,
        YAxis,
        Frame,
        XGridLines,
        YGridLines,
        CohortLines,
    };
    // Every page, in tab order.
    static std::vector<Page> AllPages();
    // The pages of a clicked part: an x or y tick band or tick label, the
    // title, an axis label.
    static std::vector<Page> XTickPages();
    static std::vector<Page> YTickPages();

    PlotFrameSheet(ChartDocument& document, const std::vector<Page>& pages,
                   std::function<void()> repaint, QWidget* parent);
    ~PlotFrameSheet() override;

    // Writes every page into the frame; false, with the refusing page
    // shown, when one refused its values.
    bool Apply();
    void accept() override;
    void reject() override;

    QTabWidget* Tabs() const { return tabs_; }
    // The page shown for a kind, or null when the sheet has none.
    QWidget* PageWidget(Page page) const;

private:
    ChartDocument& document_;
    PlotFrame saved_;
    std::optional<CohortLineSettings> savedCohortLines_;
    std::function<void()> repaint_;
    QTabWidget* tabs_;
    std::vector<std::pair<Page, PlotFramePage*>> pages_;
};
