#include "view/ClickEditor.h"
#include "frame/PlotFrame.h"
#include "view/ZoomDrag.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Kind = ObjectUnderPoint::Kind;

ObjectUnderPoint Hit(Kind kind, std::uint32_t index = 0, int frameTextKind = 0) {
    return ObjectUnderPoint{kind, index, frameTextKind};
}

TEST(EditorFor, AnnotationsAndLegendLevelsOpenTheirOwnEditor) {
    for (const Kind kind : {Kind::Text, Kind::Line, Kind::Rectangle}) {
        EXPECT_EQ(EditorFor(Hit(kind, 3)), ClickEditor::Annotation);
    }
    EXPECT_EQ(EditorFor(Hit(Kind::LegendLevel, 0)), ClickEditor::LevelColor);
    // The legend's labels and its ticks are the scale's.
    EXPECT_EQ(EditorFor(Hit(Kind::LegendLabel, 2)), ClickEditor::Scale);
    EXPECT_EQ(EditorFor(Hit(Kind::LegendTicks)), ClickEditor::Scale);
}

TEST(EditorFor, TickLabelsOpenTheTicksOfTheirAxis) {
    // Labels on either side of the plot, and the margin where the ticks
    // stand, open the same pages: those of their axis.
    const std::pair<int, ClickEditor> labels[] = {
        {BottomXTickLabels, ClickEditor::FrameXTicks},
        {TopXTickLabels, ClickEditor::FrameXTicks},
        {LeftYTickLabels, ClickEditor::FrameYTicks},
        {RightYTickLabels, ClickEditor::FrameYTicks},
    };
    for (const auto& [kind, editor] : labels) {
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, 0, kind)), editor) << kind;
    }
    EXPECT_EQ(EditorFor(Hit(Kind::XTickMargin)), ClickEditor::FrameXTicks);
    EXPECT_EQ(EditorFor(Hit(Kind::YTickMargin)), ClickEditor::FrameYTicks);
}

TEST(EditorFor, FrameLinesOpenTheirPageWhicheverLineWasHit) {
    for (const std::uint32_t line : {0u, 1u, 4u}) {
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, TitleLines)), ClickEditor::FrameTitle);
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, XLabelLines)), ClickEditor::FrameXLabel);
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, YLabelLines)), ClickEditor::FrameYLabel);
    }
}

TEST(EditorFor, TheMapItselfAndEmptyPaperOpenNothing) {
    // A click in the plot is for the cell menus and zooming, never a sheet.
    EXPECT_EQ(EditorFor(Hit(Kind::PlotArea)), ClickEditor::None);
    EXPECT_EQ(EditorFor(Hit(Kind::Nothing)), ClickEditor::None);
}

TEST(ZoomDrag, ThePixelUnderThePointerBelongsToTheRectangle) {
    ZoomDrag drag;
    drag.Start({100, 200});
    EXPECT_TRUE(drag.Move({140, 230}));
    EXPECT_EQ(drag.Current(), (IntPoint{140, 230}));
    // Down and right: the far corner is one past the end.
    std::optional<ZoomDrag::Corners> corners = drag.Finish({150, 260});
    ASSERT_TRUE(corners);
    EXPECT_EQ(corners->nearCorner, (IntPoint{100, 200}));
    EXPECT_EQ(corners->farCorner, (IntPoint{151, 261}));
    EXPECT_FALSE(drag.IsActive());

    // Up and left: the start pixel is kept, so the near corner moves by one.
    drag.Start({100, 200});
    corners = drag.Finish({99, 199});
    ASSERT_TRUE(corners);
    EXPECT_EQ(corners->nearCorner, (IntPoint{101, 201}));
    EXPECT_EQ(corners->farCorner, (IntPoint{99, 199}));
}

TEST(ZoomDrag, ARectangleWithoutWidthOrHeightZoomsNowhere) {
    ZoomDrag drag;
    for (const IntPoint end : {IntPoint{100, 200}, IntPoint{100, 260}, IntPoint{150, 200}}) {
        drag.Start({100, 200});
        EXPECT_FALSE(drag.Finish(end)) << end.x << "," << end.y;
        EXPECT_FALSE(drag.IsActive());
    }
}

TEST(ZoomDrag, NothingHappensOutsideADragOrAfterItsCancel) {
    ZoomDrag drag;
    EXPECT_FALSE(drag.Move({5, 5}));
    EXPECT_FALSE(drag.Finish({50, 50}));
    drag.Start({0, 0});
    drag.Cancel();
    EXPECT_FALSE(drag.Move({5, 5}));
    EXPECT_FALSE(drag.Finish({50, 50}));
}

} // namespace
