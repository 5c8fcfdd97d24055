#include "map/CohortLines.h"
#include "document/MapTypes.h"
#include "map/MapPage.h"
#include "render/CCSystem.h"
#include "support/RecordingSurface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

CohortLineSettings Every(double step, double first) {
    CohortLineSettings settings;
    settings.step = step;
    settings.first = first;
    return settings;
}

// Years 1974 .. 2013 across, ages 0 .. 100 up: the earliest cohort in the
// plot is 1974 - 100 = 1874 (the upper left corner), the latest 2013.
TEST(CohortLines, OneSegmentPerCohortInsideThePlotCutAtItsEdges) {
    const std::vector<CohortSegment> segments =
        CohortSegments(Every(10, 1870), {1, -1}, 1974, 2013, 0, 100);
    ASSERT_EQ(segments.size(), 14u); // 1880, 1890, ..., 2010
    EXPECT_EQ(segments.front().cohort, 1880);
    EXPECT_EQ(segments.back().cohort, 2010);
    // 1900 enters on the left at age 74 and leaves through the top in 2000.
    const CohortSegment& c1900 = segments[2];
    EXPECT_DOUBLE_EQ(c1900.a.x, 1974);
    EXPECT_DOUBLE_EQ(c1900.a.y, 74);
    EXPECT_DOUBLE_EQ(c1900.b.x, 2000);
    EXPECT_DOUBLE_EQ(c1900.b.y, 100);
    // 1980 enters through the bottom at age 0 and leaves on the right.
    const CohortSegment& c1980 = segments[10];
    EXPECT_DOUBLE_EQ(c1980.a.x, 1980);
    EXPECT_DOUBLE_EQ(c1980.a.y, 0);
    EXPECT_DOUBLE_EQ(c1980.b.x, 2013);
    EXPECT_DOUBLE_EQ(c1980.b.y, 33);
}

TEST(CohortLines, ACohortThatOnlyTouchesACornerHasNoSegment) {
    // 1874 and 2013 pass through the corners; 1875 and 2012 cross the plot.
    const auto cohorts = [](double first, double step) {
        std::vector<double> list;
        for (const CohortSegment& s :
             CohortSegments(Every(step, first), {1, -1}, 1974, 2013, 0, 100)) {
            list.push_back(s.cohort);
        }
        return list;
    };
    EXPECT_EQ(cohorts(1874, 139), std::vector<double>{});
    EXPECT_EQ(cohorts(1875, 137), (std::vector<double>{1875, 2012}));
    // No line before the first cohort, however early the plot begins.
    EXPECT_EQ(cohorts(2000, 5), (std::vector<double>{2000, 2005, 2010}));
    // Off, or a step of 0: nothing.
    CohortLineSettings off = Every(10, 1870);
    off.on = false;
    EXPECT_TRUE(CohortSegments(off, {1, -1}, 1974, 2013, 0, 100).empty());
    EXPECT_TRUE(CohortSegments(Every(0, 1870), {1, -1}, 1974, 2013, 0, 100).empty());
    // A step of a day over a long plot stops at the limit.
    EXPECT_EQ(CohortSegments(Every(0.001, -1e9), {1, -1}, 1974, 2013, 0, 100).size(),
              kMaxCohortLines);
}

TEST(CohortLines, TheAxisNamesTurnTheLines) {
    EXPECT_EQ(CohortWeightsOf(AxisName::Year, AxisName::Age).x, 1);
    EXPECT_EQ(CohortWeightsOf(AxisName::Year, AxisName::Age).y, -1);
    EXPECT_EQ(CohortWeightsOf(AxisName::Other, AxisName::Other).y, -1);
    EXPECT_EQ(CohortWeightsOf(AxisName::Age, AxisName::Year).x, -1);
    // A cohort axis: straight lines across it.
    const std::vector<CohortSegment> vertical = CohortSegments(
        Every(10, 1900), CohortWeightsOf(AxisName::Cohort, AxisName::Age), 1905, 1935, 12, 55);
    ASSERT_EQ(vertical.size(), 3u);
    EXPECT_DOUBLE_EQ(vertical[0].a.x, 1910);
    EXPECT_DOUBLE_EQ(vertical[0].a.y, 12);
    EXPECT_DOUBLE_EQ(vertical[0].b.y, 55);
    const std::vector<CohortSegment> horizontal = CohortSegments(
        Every(10, 1900), CohortWeightsOf(AxisName::Year, AxisName::Cohort), 0, 1, 1905, 1925);
    ASSERT_EQ(horizontal.size(), 2u);
    EXPECT_DOUBLE_EQ(horizontal[1].a.y, 1920);
}

// A 4 x 6 map of years 2000 .. 2006 (six columns, so the triangle shapes
// take it too) and ages 0 .. 4, cohort lines every 2 years from 1990: the
// cohorts 1996 .. 2006 span the plot, so 1998, 2000, 2002 and 2004 cross it.
struct CohortPage {
    DMAT data{4, 6};
    WMAT levels{4, 6};
    DMAT scale{1, 1};
    LRGBColorVect colors;
    PlotFrame frame;
    MScale legend;
    LObjectContainer<LText> texts;
    LObjectContainer<LLine> lines;
    LObjectContainer<LRectangle> rectangles;
    PageCoordinateSystem view{0, 2970, 0, 2100, 0, 1024, 720, 0};
    CohortLineSettings cohorts = Every(2, 1990);

    CohortPage() {
        data.Fill(1);
        for (std::uint32_t r = 0; r < 4; ++r) {
            for (std::uint32_t c = 0; c < 6; ++c) {
                levels.Set(r, c, (r + c) % 2);
            }
        }
        scale.Set(0, 0, 0.5);
        colors.Append(0x0000FF);
        colors.Append(0x00FF00);
        colors.Append(0xFFFFFF);
        frame.x1 = 2000;
        frame.x2 = 2006;
        frame.y1 = 0;
        frame.y2 = 4;
        legend.SyncWithScale(scale);
        LText note;
        note.SetText("Note");
        texts.List().addAtTail(note);
        cohorts.color = 0x123456;
        cohorts.width = 0;
        FitPage(view, PageSize::A4(true));
    }
    MapPageContent Content(std::uint32_t mapType) {
        return {levels,  data,   scale, colors, mapType,    {false, 0.0, 0},
                frame,   legend, texts, lines,  rectangles, TextEncoding::Utf8,
                &cohorts};
    }
};

TEST(CohortLines, EveryShapeGetsOneSegmentPerVisibleCohortBetweenCellsAndAnnotations) {
    for (std::uint32_t type = RectangleMap; type <= VLParallelogramMap; ++type) {
        CohortPage page;
        RecordingSurface surface;
        PaintMapPage(surface, page.view, page.Content(type), MapPageOptions{});
        const std::vector<std::string>& log = surface.Log();
        // The calls under the cohort pen, up to the pen that replaces it.
        std::vector<std::string> drawn;
        std::size_t penAt = log.size();
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (log[i].rfind("SelectPen", 0) == 0 && log[i].find("123456") != std::string::npos) {
                penAt = i;
                for (std::size_t j = i + 1; j < log.size() && log[j].rfind("Select", 0) != 0; ++j) {
                    drawn.push_back(log[j]);
                }
                break;
            }
        }
        ASSERT_LT(penAt, log.size()) << MapTypeName(type);
        ASSERT_EQ(drawn.size(), 8u) << MapTypeName(type);
        // Clipped: every end lies within the plot rectangle on the device.
        const CCSystem plot(2000, 2006, 0, 4, page.frame.xOrigin,
                            page.frame.xOrigin + page.frame.xSize, page.frame.yOrigin,
                            page.frame.yOrigin + page.frame.ySize, page.view);
        const DoublePoint low = plot.DataToDevice(2000, 0);
        const DoublePoint high = plot.DataToDevice(2006, 4);
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            EXPECT_EQ(drawn[k].rfind(k % 2 == 0 ? "MoveTo " : "LineTo ", 0), 0u) << drawn[k];
            int x = 0;
            int y = 0;
            ASSERT_EQ(std::sscanf(drawn[k].c_str() + 7, "%d %d", &x, &y), 2) << drawn[k];
            EXPECT_GE(x, static_cast<int>(low.x) - 1) << MapTypeName(type) << drawn[k];
            EXPECT_LE(x, static_cast<int>(high.x) + 1) << MapTypeName(type) << drawn[k];
            EXPECT_LE(y, static_cast<int>(low.y) + 1) << MapTypeName(type) << drawn[k];
            EXPECT_GE(y, static_cast<int>(high.y) - 1) << MapTypeName(type) << drawn[k];
        }
        // Over the cells, under the annotations.
        std::size_t lastCell = 0;
        std::size_t note = log.size();
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (i < penAt && (log[i].rfind("Fill", 0) == 0)) {
                lastCell = i;
            }
            if (log[i].find("\"Note\"") != std::string::npos) {
                note = std::min(note, i);
            }
        }
        EXPECT_LT(lastCell, penAt) << MapTypeName(type);
        EXPECT_LT(penAt, note) << MapTypeName(type);
    }
}

} // namespace

TEST(CohortLinesRefusal, AStepAbove0AndAWidthOf0OrMoreAreKept) {
    CohortLineSettings settings;
    settings.step = 0;
    EXPECT_THAT(CohortLinesRefusal(settings), ::testing::HasSubstr("above 0"));
    settings.step = 1e-9;
    EXPECT_EQ(CohortLinesRefusal(settings), "");
    settings.width = 0;
    EXPECT_EQ(CohortLinesRefusal(settings), "");
    settings.width = -1e-9;
    EXPECT_THAT(CohortLinesRefusal(settings), ::testing::HasSubstr("0 or more"));
    settings.width = 1;
    settings.first = std::nan("");
    EXPECT_FALSE(CohortLinesRefusal(settings).empty());
}
