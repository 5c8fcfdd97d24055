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

// What each kind of object under the pointer opens: annotations their own
// sheet, the legend's labels and ticks the scale, tick labels on either side
// (and the margin where the ticks stand) the ticks of their axis, frame
// lines their page whichever line was hit; the plot and empty paper nothing,
// for a click in the plot is for the cell menus and zooming.
TEST(EditorFor, EachObjectOpensItsOwnEditor) {
    const std::pair<ObjectUnderPoint, ClickEditor> cases[] = {
        {Hit(Kind::Text, 3), ClickEditor::Annotation},
        {Hit(Kind::Line, 3), ClickEditor::Annotation},
        {Hit(Kind::Rectangle, 3), ClickEditor::Annotation},
        {Hit(Kind::LegendLevel, 0), ClickEditor::LevelColor},
        {Hit(Kind::LegendLabel, 2), ClickEditor::Scale},
        {Hit(Kind::LegendTicks), ClickEditor::Scale},
        {Hit(Kind::FrameText, 0, BottomXTickLabels), ClickEditor::FrameXTicks},
        {Hit(Kind::FrameText, 0, TopXTickLabels), ClickEditor::FrameXTicks},
        {Hit(Kind::FrameText, 0, LeftYTickLabels), ClickEditor::FrameYTicks},
        {Hit(Kind::FrameText, 0, RightYTickLabels), ClickEditor::FrameYTicks},
        {Hit(Kind::XTickMargin), ClickEditor::FrameXTicks},
        {Hit(Kind::YTickMargin), ClickEditor::FrameYTicks},
        {Hit(Kind::PlotArea), ClickEditor::None},
        {Hit(Kind::Nothing), ClickEditor::None},
    };
    for (const auto& [hit, editor] : cases) {
        EXPECT_EQ(EditorFor(hit), editor) << static_cast<int>(hit.kind) << " " << hit.frameTextKind;
    }
    for (const std::uint32_t line : {0u, 1u, 4u}) {
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, TitleLines)), ClickEditor::FrameTitle);
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, XLabelLines)), ClickEditor::FrameXLabel);
        EXPECT_EQ(EditorFor(Hit(Kind::FrameText, line, YLabelLines)), ClickEditor::FrameYLabel);
    }
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

// A rectangle without width or height zooms nowhere; nor does a move or an
// end outside a drag or after its cancel.
TEST(ZoomDrag, EmptyRectanglesAndCancelledDragsZoomNowhere) {
    ZoomDrag drag;
    for (const IntPoint end : {IntPoint{100, 200}, IntPoint{100, 260}, IntPoint{150, 200}}) {
        drag.Start({100, 200});
        EXPECT_FALSE(drag.Finish(end)) << end.x << "," << end.y;
        EXPECT_FALSE(drag.IsActive());
    }
    EXPECT_FALSE(drag.Move({5, 5}));
    EXPECT_FALSE(drag.Finish({50, 50}));
    drag.Start({0, 0});
    drag.Cancel();
    EXPECT_FALSE(drag.Move({5, 5}));
    EXPECT_FALSE(drag.Finish({50, 50}));
}

} // namespace
