#include "map/MapPage.h"
#include "render/FillGathering.h"
#include "support/RecordingSurface.h"

#include "core/LException.h"
#include "render/Surface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A 2 x 2 map with one boundary, a title, a legend and one annotation of
// each kind, laid out on an A4 landscape page shown in 1024 x 720 pixels.
struct PageFixture {
    DMAT data{2, 2};
    WMAT levels{2, 2};
    DMAT scale{1, 1};
    LRGBColorVect colors;
    PlotFrame frame;
    MScale legend;
    LObjectContainer<LText> texts;
    LObjectContainer<LLine> lines;
    LObjectContainer<LRectangle> rectangles;
    PageCoordinateSystem view{0, 2970, 0, 2100, 0, 1024, 720, 0};

    PageFixture() {
        data.Set(0, 0, 1);
        data.Set(1, 0, 5);
        data.Set(0, 1, 5);
        data.Set(1, 1, 1);
        scale.Set(0, 0, 3);
        for (std::uint32_t r = 0; r < 2; ++r) {
            for (std::uint32_t c = 0; c < 2; ++c) {
                levels.Set(r, c, data.Get(r, c) > 3 ? 1 : 0);
            }
        }
        colors.Append(0x0000FF);
        colors.Append(0x00FF00);
        colors.Append(0xFFFFFF);
        frame.x2 = 2;
        frame.y2 = 2;
        WText title;
        title.text = "Title";
        frame.title.addAtTail(title);
        legend.SyncWithScale(scale);
        LText text;
        text.SetText("Note");
        texts.List().addAtTail(text);
        lines.List().addAtTail(LLine(0.5, 0.5, 1.5, 1.5));
        rectangles.List().addAtTail(LRectangle(0.2, 0.2, 0.8, 0.8));
        FitPage(view, PageSize::A4(true));
    }

    MapPageContent Content() {
        return {levels, data,   scale, colors, 0,         {true, 0.0, 0},
                frame,  legend, texts, lines,  rectangles};
    }
};

// The index of the first call that holds the text, or the call count.
std::size_t IndexOf(const std::vector<std::string>& calls, const std::string& text) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].find(text) != std::string::npos) {
            return i;
        }
    }
    return calls.size();
}

TEST(MapPage, PaintsOutlineCellsLegendFrameAndAnnotationsInOrder) {
    PageFixture page;
    const PageCoordinateSystem before = page.view;
    RecordingSurface surface;
    PaintMapPage(surface, page.view, page.Content(), MapPageOptions{});
    EXPECT_EQ(page.view, before);

    const std::vector<std::string> calls = surface.DrawingCalls();
    // The dotted page outline comes first and spans the fitted page.
    ASSERT_FALSE(calls.empty());
    const IntPoint lowerLeft = before.PageToDevice(0.0, 0.0);
    const IntPoint upperRight = before.PageToDevice(2970.0, 2100.0);
    EXPECT_EQ(calls.front(), "Rectangle " + std::to_string(lowerLeft.x) + " " +
                                 std::to_string(upperRight.y) + " " + std::to_string(upperRight.x) +
                                 " " + std::to_string(lowerLeft.y));
    // Cells (red and green), then the legend's boxes, then the frame's
    // title, then the annotation text after everything else.
    const std::size_t firstCell = IndexOf(calls, "FillRect");
    const std::size_t title = IndexOf(calls, "\"Title\"");
    const std::size_t note = IndexOf(calls, "\"Note\"");
    EXPECT_LT(0u, firstCell);
    EXPECT_LT(firstCell, title);
    EXPECT_LT(title, note);
    EXPECT_LT(note, calls.size());
    EXPECT_EQ(surface.CurrentState(), RecordingSurface().CurrentState());
}

TEST(MapPage, FitPlotAreaAndHiddenMapLeaveOutTheirParts) {
    PageFixture page;
    RecordingSurface onlyCells;
    MapPageOptions fit;
    fit.fitPlotArea = true;
    fit.pageOutline = false;
    PaintMapPage(onlyCells, page.view, page.Content(), fit);
    EXPECT_EQ(onlyCells.Count("TextOut"), 0u);
    EXPECT_GT(onlyCells.Count("FillRect"), 0u);

    RecordingSurface noCells;
    MapPageOptions hidden;
    hidden.showMap = false;
    hidden.pageOutline = false;
    PaintMapPage(noCells, page.view, page.Content(), hidden);
    // Only the legend's boxes fill rectangles now; the title still shows.
    EXPECT_EQ(noCells.Count("FillRect"), 2u);
    EXPECT_GT(noCells.Count("TextOut"), 0u);
}

TEST(MapPage, AReversedDataRangeThrowsAndLeavesTheViewAsItWas) {
    PageFixture page;
    page.frame.x2 = page.frame.x1;
    const PageCoordinateSystem before = page.view;
    RecordingSurface surface;
    EXPECT_THROW(PaintMapPage(surface, page.view, page.Content(), MapPageOptions{}), LException);
    EXPECT_EQ(page.view, before);
}

TEST(MapPage, PrintingMapsTheWholeSheetAndDrawsNoOutline) {
    PageFixture page;
    page.view.SetPageWindow(100, 200, 100, 200); // zoomed in on screen
    const PageCoordinateSystem before = page.view;
    RecordingSurface printer;
    printer.SetDeviceCap(DeviceCap::Technology, DeviceTechnology::RasterPrinter);
    MapPageOptions printing;
    printing.printing = true;
    printing.fitPlotArea = true;
    PaintMapPage(printer, page.view, page.Content(), printing);
    EXPECT_EQ(page.view, before);
    EXPECT_EQ(printer.Count("Rectangle"), 1u); // the rectangle annotation only
    EXPECT_GT(printer.Count("TextOut"), 0u);   // legend and frame despite Fit Plot Area
}

} // namespace

namespace {

// Records whether the painters asked it to gather, as vector surfaces do.
class GatheringRecorder : public RecordingSurface, public FillGathering {
public:
    bool BeginGathering() override {
        ++begun;
        return false;
    }
    void EndGathering() override { ++ended; }
    void FillRects(std::span<const DeviceRect>, Brush) override {
        ADD_FAILURE() << "a union on a surface that does not gather";
    }
    int begun = 0;
    int ended = 0;
};

} // namespace

TEST(MapPage, AWindows1252FileStillGathersAndSpellsItsTextsInUtf8) {
    PageFixture page;
    page.frame.title.Flush();
    WText title;
    title.text = "D\xF8"
                 "d \x96 m\xE6"
                 "nd";
    page.frame.title.addAtTail(title);
    MapPageContent content = page.Content();
    content.textEncoding = TextEncoding::Windows1252;
    GatheringRecorder surface;
    PaintMapPage(surface, page.view, content, MapPageOptions{});
    // The cells and the contour lines are each gathered once.
    EXPECT_EQ(surface.begun, 2);
    EXPECT_EQ(surface.ended, 2);
    const std::vector<std::string> calls = surface.DrawingCalls();
    EXPECT_LT(IndexOf(calls, "D\xC3\xB8"
                             "d \xE2\x80\x93 m\xC3\xA6"
                             "nd"),
              calls.size());
}
