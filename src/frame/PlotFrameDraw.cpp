// Drawing the plot frame. Every part is drawn through the annotation
// objects: ticks, frame sides and grid lines are LLines, the texts LTexts.
// Positions are worked out in page units and data units; the objects take
// them to the device.

#include "frame/PlotFrame.h"

#include "annotations/LLine.h"
#include "annotations/LText.h"
#include "core/MListIter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Rects = std::vector<FrameTextRect>;

LPoint PagePoint(double x, double y) {
    return LPoint(x, y, PageUnits, PageUnits);
}

// A side's ticks point out of the plot when they are drawn and not turned in.
bool PointsOut(std::int32_t setup, std::int32_t tickBit) {
    return (setup & tickBit) != 0 && (setup & TicksSetup::In) == 0;
}

void DrawPageLine(Surface& surface, const CCSystem& coordinates, double width, DoublePoint a,
                  DoublePoint b) {
    LLine line;
    line.SetA(PagePoint(a.x, a.y));
    line.SetB(PagePoint(b.x, b.y));
    line.SetWidth(width);
    line.Draw(surface, &coordinates);
}

FrameTextRect DrawText(Surface& surface, const CCSystem& coordinates, const WText& text,
                       DoublePoint anchor, DoubleSize box, std::uint32_t horizontal,
                       std::uint32_t vertical) {
    LText label(PagePoint(anchor.x, anchor.y), PagePoint(box.width, box.height), text.text,
                text.font);
    label.SetTextColor(text.textColor);
    label.SetBkColor(text.bkColor);
    label.SetHorizontalAlignment(horizontal);
    label.SetVerticalAlignment(vertical);
    label.Draw(surface, &coordinates);
    const LText::DrawnBox& drawn = label.GetDrawnBox();
    return {drawn.width, drawn.height, drawn.left, drawn.top};
}

// Draws line i of a title or axis label in the box at anchorOf(i).
template <typename AnchorOf>
Rects DrawLines(Surface& surface, const CCSystem& coordinates, MList<WText>& lines, DoubleSize box,
                AnchorOf anchorOf) {
    Rects rects;
    MListIter<WText> line(lines);
    std::int32_t i = 0;
    for (bool more = line.First(); more; more = line.Next(), ++i) {
        rects.push_back(DrawText(surface, coordinates, line.Current(), anchorOf(i), box,
                                 TextAlign::Center, TextAlign::Baseline));
    }
    return rects;
}

void KeepLarger(const FrameTextRect& rect, std::int32_t& width, std::int32_t& height) {
    width = std::max(width, rect.width);
    height = std::max(height, rect.height);
}

// Hit vectors grow one element at a time only by copying the whole vector,
// so they are built in one go.
MVector<FrameTextRect> ToHitVector(const Rects& rects) {
    MVector<FrameTextRect> vector(static_cast<std::uint32_t>(rects.size()));
    for (std::uint32_t i = 0; i < rects.size(); ++i) {
        vector[i] = rects[i];
    }
    return vector;
}

void DrawGridLines(Surface& surface, const CCSystem& coordinates, MList<double>& values, double low,
                   double high, std::int32_t width, std::uint32_t color, std::int32_t style,
                   bool vertical, double otherLow, double otherHigh) {
    LLine line;
    line.SetWidth(width);
    line.SetColor(color);
    line.SetPenStyle(style);
    MListIter<double> value(values);
    for (bool more = value.First(); more; more = value.Next()) {
        const double v = value.Current();
        // A grid line on a range end would only cover the frame.
        if (!(low < v && v < high)) {
            continue;
        }
        line.SetA(vertical ? LPoint(v, otherLow) : LPoint(otherLow, v));
        line.SetB(vertical ? LPoint(v, otherHigh) : LPoint(otherHigh, v));
        line.Draw(surface, &coordinates);
    }
}

} // namespace

void PlotFrame::Draw(Surface& surface, const CCSystem& coordinates) {
    if (!visible) {
        for (MVector<FrameTextRect>& hits : hits_) {
            hits.Flush();
        }
        return;
    }
    const PageCoordinateSystem& page = coordinates.GetPageSystem();
    std::int32_t xWidth = 0;
    std::int32_t xHeight = 0;
    DrawXTicks(surface, coordinates, xWidth, xHeight);
    const double h = page.YScale() > 0 ? std::fabs(xHeight / page.YScale()) : 0.0;
    std::int32_t yWidth = 0;
    std::int32_t yHeight = 0;
    DrawYTicks(surface, coordinates, yWidth, yHeight);
    const double w = page.XScale() != 0 ? std::fabs(yWidth / page.XScale()) : 0.0;

    const double frameHeight = textFrameHeight;

    // Title lines stack upwards from above the plot and its top ticks.
    double titleBase = double(yOrigin) + ySize + titleMargin;
    if (PointsOut(xTicksSetup, TicksSetup::SecondTicks)) {
        titleBase += tickLength;
    }
    if ((xTicksSetup & TicksSetup::SecondLabels) != 0) {
        titleBase += xLabelGap + h;
    }
    hits_[TitleLines] = ToHitVector(
        DrawLines(surface, coordinates, title, {double(xSize), frameHeight}, [&](std::int32_t i) {
            return DoublePoint{double(xOrigin), titleBase + frameHeight * i};
        }));

    // x-label lines stack downwards from below the bottom ticks and labels.
    double xLabelBase = double(yOrigin) - xLabelMargin;
    if (PointsOut(xTicksSetup, TicksSetup::FirstTicks)) {
        xLabelBase -= tickLength;
    }
    if ((xTicksSetup & TicksSetup::FirstLabels) != 0) {
        xLabelBase -= h + xLabelGap;
    }
    hits_[XLabelLines] = ToHitVector(
        DrawLines(surface, coordinates, xLabel, {double(xSize), frameHeight}, [&](std::int32_t i) {
            return DoublePoint{double(xOrigin), xLabelBase - (i + 1) * frameHeight};
        }));

    // y-label lines go leftwards from beyond the left ticks and labels.
    double yLabelBase = double(xOrigin) - yLabelMargin - w;
    if (PointsOut(yTicksSetup, TicksSetup::FirstTicks)) {
        yLabelBase -= tickLength;
    }
    if ((yTicksSetup & TicksSetup::FirstLabels) != 0) {
        yLabelBase -= yLabelGap;
    }
    hits_[YLabelLines] = ToHitVector(
        DrawLines(surface, coordinates, yLabel, {frameHeight, double(ySize)}, [&](std::int32_t i) {
            return DoublePoint{yLabelBase - frameHeight * i, double(yOrigin)};
        }));

    if (frameRectangleVisible != 0) {
        const double left = xOrigin;
        const double bottom = yOrigin;
        const double right = double(xOrigin) + xSize;
        const double top = double(yOrigin) + ySize;
        DrawPageLine(surface, coordinates, frameLineWidth, {left, bottom}, {left, top});
        DrawPageLine(surface, coordinates, frameLineWidth, {left, top}, {right, top});
        DrawPageLine(surface, coordinates, frameLineWidth, {right, top}, {right, bottom});
        DrawPageLine(surface, coordinates, frameLineWidth, {right, bottom}, {left, bottom});
    }

    // Grid lines come last, over everything else of the frame.
    if (xGridLines) {
        DrawGridLines(surface, coordinates, xTickValues, x1, x2, xGridLineWidth, xGridLineColor,
                      xGridLineType, true, y1, y2);
    }
    if (yGridLines) {
        DrawGridLines(surface, coordinates, yTickValues, y1, y2, yGridLineWidth, yGridLineColor,
                      yGridLineType, false, x1, x2);
    }
}

void PlotFrame::DrawXTicks(Surface& surface, const CCSystem& coordinates, std::int32_t& width,
                           std::int32_t& height) {
    width = 0;
    height = 0;
    hits_[BottomXTickLabels].Flush();
    hits_[TopXTickLabels].Flush();
    const std::int32_t setup = xTicksSetup;
    constexpr std::int32_t kAnyTicksOrLabels = TicksSetup::FirstTicks | TicksSetup::SecondTicks |
                                               TicksSetup::FirstLabels | TicksSetup::SecondLabels;
    if ((setup & kAnyTicksOrLabels) == 0) {
        return;
    }
    const bool bottomOut = PointsOut(setup, TicksSetup::FirstTicks);
    const bool topOut = PointsOut(setup, TicksSetup::SecondTicks);
    const bool bottomLabels = (setup & TicksSetup::FirstLabels) != 0;
    const double tick = tickLength;
    Rects bottom;
    Rects top;
    MListIter<WText> label(xTickLabels);
    MListIter<double> value(xTickValues);
    for (bool more = label.First() && value.First(); more; more = label.Next() && value.Next()) {
        const double v = value.Current();
        if (!(x1 <= v && v <= x2)) {
            continue;
        }
        const DoublePoint low = coordinates.DataToPage(v, y1);
        const DoublePoint high = coordinates.DataToPage(v, y2);
        if ((setup & TicksSetup::FirstTicks) != 0) {
            const double end = bottomOut ? low.y - tick : low.y + tick;
            DrawPageLine(surface, coordinates, tickWidth, low, {low.x, end});
        }
        if ((setup & TicksSetup::SecondTicks) != 0) {
            const double end = topOut ? high.y + tick : high.y - tick;
            DrawPageLine(surface, coordinates, tickWidth, high, {high.x, end});
        }
        if (bottomLabels) {
            const DoublePoint anchor{low.x + xLabelShift,
                                     low.y - (bottomOut ? tick : 0.0) - xLabelGap};
            bottom.push_back(DrawText(surface, coordinates, label.Current(), anchor, {},
                                      TextAlign::Center, TextAlign::Top));
            KeepLarger(bottom.back(), width, height);
        }
        if ((setup & TicksSetup::SecondLabels) != 0) {
            const DoublePoint anchor{high.x + xLabelShift,
                                     high.y + (topOut ? tick : 0.0) + xLabelGap};
            top.push_back(DrawText(surface, coordinates, label.Current(), anchor, {},
                                   TextAlign::Center, TextAlign::Bottom));
            if (!bottomLabels) {
                KeepLarger(top.back(), width, height);
            }
        }
    }
    hits_[BottomXTickLabels] = ToHitVector(bottom);
    hits_[TopXTickLabels] = ToHitVector(top);
}

void PlotFrame::DrawYTicks(Surface& surface, const CCSystem& coordinates, std::int32_t& width,
                           std::int32_t& height) {
    width = 0;
    height = 0;
    hits_[LeftYTickLabels].Flush();
    hits_[RightYTickLabels].Flush();
    const std::int32_t setup = yTicksSetup;
    constexpr std::int32_t kAnyTicksOrLabels = TicksSetup::FirstTicks | TicksSetup::SecondTicks |
                                               TicksSetup::FirstLabels | TicksSetup::SecondLabels;
    if ((setup & kAnyTicksOrLabels) == 0) {
        return;
    }
    const bool leftOut = PointsOut(setup, TicksSetup::FirstTicks);
    const bool rightOut = PointsOut(setup, TicksSetup::SecondTicks);
    const double tick = tickLength;
    Rects left;
    Rects right;
    MListIter<WText> label(yTickLabels);
    MListIter<double> value(yTickValues);
    for (bool more = label.First() && value.First(); more; more = label.Next() && value.Next()) {
        const double v = value.Current();
        if (!(y1 <= v && v <= y2)) {
            continue;
        }
        const DoublePoint low = coordinates.DataToPage(x1, v);
        const DoublePoint high = coordinates.DataToPage(x2, v);
        if ((setup & TicksSetup::FirstTicks) != 0) {
            const double end = leftOut ? low.x - tick : low.x + tick;
            DrawPageLine(surface, coordinates, tickWidth, low, {end, low.y});
        }
        if ((setup & TicksSetup::SecondTicks) != 0) {
            const double end = rightOut ? high.x + tick : high.x - tick;
            DrawPageLine(surface, coordinates, tickWidth, high, {end, high.y});
        }
        if ((setup & TicksSetup::FirstLabels) != 0) {
            const DoublePoint anchor{low.x - (leftOut ? tick : 0.0) - yLabelGap,
                                     low.y + yLabelShift};
            left.push_back(DrawText(surface, coordinates, label.Current(), anchor, {},
                                    TextAlign::Right, TextAlign::Baseline));
            KeepLarger(left.back(), width, height);
        }
        // Labels on the right take no room from the y-axis label.
        if ((setup & TicksSetup::SecondLabels) != 0) {
            const DoublePoint anchor{high.x + (rightOut ? tick : 0.0) + yLabelGap,
                                     high.y + yLabelShift};
            right.push_back(DrawText(surface, coordinates, label.Current(), anchor, {},
                                     TextAlign::Left, TextAlign::Baseline));
        }
    }
    hits_[LeftYTickLabels] = ToHitVector(left);
    hits_[RightYTickLabels] = ToHitVector(right);
}
