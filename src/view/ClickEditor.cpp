#include "view/ClickEditor.h"

#include "frame/PlotFrame.h"

namespace {

ClickEditor FrameTextEditor(int frameTextKind) {
    switch (frameTextKind) {
    case BottomXTickLabels:
    case TopXTickLabels:
        return ClickEditor::FrameXTicks;
    case LeftYTickLabels:
    case RightYTickLabels:
        return ClickEditor::FrameYTicks;
    case TitleLines:
        return ClickEditor::FrameTitle;
    case XLabelLines:
        return ClickEditor::FrameXLabel;
    default:
        return ClickEditor::FrameYLabel;
    }
}

} // namespace

ClickEditor EditorFor(const ObjectUnderPoint& hit) {
    using Kind = ObjectUnderPoint::Kind;
    switch (hit.kind) {
    case Kind::Text:
    case Kind::Line:
    case Kind::Rectangle:
        return ClickEditor::Annotation;
    case Kind::FrameText:
        return FrameTextEditor(hit.frameTextKind);
    case Kind::XTickMargin:
        return ClickEditor::FrameXTicks;
    case Kind::YTickMargin:
        return ClickEditor::FrameYTicks;
    case Kind::LegendLabel:
    case Kind::LegendTicks:
        return ClickEditor::Scale;
    case Kind::LegendLevel:
        return ClickEditor::LevelColor;
    case Kind::PlotArea:
    case Kind::Nothing:
        break;
    }
    return ClickEditor::None;
}
