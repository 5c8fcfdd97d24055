#pragma once

#include "core/MList.h"
#include "core/MVector.h"
#include "frame/WText.h"
#include "render/CCSystem.h"
#include "render/Geometry.h"
#include "render/Surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

// Bits of an axis's ticks setup. The first side is the bottom of the x axis
// and the left of the y axis, the second side the top and the right.
struct TicksSetup {
    static constexpr std::int32_t FirstTicks = 1;
    static constexpr std::int32_t SecondTicks = 2;
    static constexpr std::int32_t FirstLabels = 4;
    static constexpr std::int32_t SecondLabels = 8;
    static constexpr std::int32_t In = 16; // ticks point into the plot
};

// The kinds of frame texts, in the order FindFrameText searches them.
enum FrameTextKind : int {
    TitleLines = 0,
    XLabelLines = 1,
    YLabelLines = 2,
    BottomXTickLabels = 3,
    TopXTickLabels = 4,
    LeftYTickLabels = 5,
    RightYTickLabels = 6,
};

// Where a frame text was last drawn, in device units.
struct FrameTextRect {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(const FrameTextRect&, const FrameTextRect&) = default;
};

// An axis range of a setup file that holds no values: as the file gave it.
struct EmptyRange {
    double low;
    double high;
};

template <class Frame>
struct BasicAxis;
class PlotFrame;
// One axis's settings of a frame, as references into it.
using PlotAxis = BasicAxis<PlotFrame>;
using ConstPlotAxis = BasicAxis<const PlotFrame>;

// The plot frame of a map: where the plot lies on the page, the data range
// of both axes, the ticks with their labels, the axis labels, the title,
// the grid lines and the frame rectangle, with the [PLOT.FRAME] section of
// the setup file that holds them.
//
// The settings are plain public fields: the document, the view and the
// property sheet read and change them directly. Lengths are page units
// (tenths of a millimetre); the data range is in data units.
class PlotFrame {
public:
    static constexpr int XAxis = 0;
    static constexpr int YAxis = 1;
    // A number format code keeps at most this many characters.
    static constexpr std::size_t kMaxFormatLength = 15;
    // The automatic tick makers make at most about this many ticks between
    // the two ends of an axis; more could never be told apart on a page,
    // and a damaged file must not make millions of them.
    static constexpr std::int32_t kMaxAutomaticTicks = 1000;

    PlotFrame() { SetDefaults(); }

    // Every setting back to its default, except the text and tick lists.
    void SetDefaults();

    // The defaults, then the [PLOT.FRAME] section of the file. Reading the
    // same file always makes the same frame: the text and tick lists start
    // empty too. Errors of the setup reader come out as
    // DemlaSetupException; what was read before the error stays.
    void ReadSetup(const std::string& fileName);

    // Whether low to high is a range a map can be drawn over: finite, high
    // above low, and wide enough that its page scale stays finite.
    static bool IsUsableRange(double low, double high);

    // Appends the whole [PLOT.FRAME] section, header included, with "\r\n"
    // line ends.
    void WriteSetup(std::string& text);

    // Replaces the ticks of an axis (XAxis or YAxis) by a tick at each end
    // of its range, both cut to integers, and one at every multiple of step
    // in between that lies at least step / 2 from both ends. Nothing
    // changes when the range holds fewer than two integers. When the
    // multiples are too many (kMaxAutomaticTicks), only those of a multiple
    // of step that keeps them within the limit are taken.
    void MakeIntegerTicks(int axis, std::int32_t step);

    // Replaces labels and values by count + 2 evenly spaced ticks from low
    // to high, the ends included, labelled with the number format. A count
    // below 0 counts as 0, one above kMaxAutomaticTicks as that.
    static void MakeNumericTicks(double low, double high, std::int32_t count, MList<WText>& labels,
                                 MList<double>& values, const std::string& format);

    // Draws the frame around the plot: ticks and tick labels, title, axis
    // labels, frame rectangle and grid lines, and records where each text
    // went. Nothing is drawn when the frame is not visible.
    void Draw(Surface& surface, const CCSystem& coordinates);

    // Draw one axis's ticks and tick labels. width and height receive the
    // largest device size of the labels on the first side (of those on the
    // second side when the first has none; of the y axis only the left
    // labels count).
    void DrawXTicks(Surface& surface, const CCSystem& coordinates, std::int32_t& width,
                    std::int32_t& height);
    void DrawYTicks(Surface& surface, const CCSystem& coordinates, std::int32_t& width,
                    std::int32_t& height);

    // The frame text drawn last at the device point: its kind and its
    // position among the rectangles of that kind. A rectangle holds the
    // points strictly inside it.
    bool FindFrameText(const IntPoint& point, int& kind, std::uint32_t& index) const;

    // The rectangles of one kind of text from the last drawing.
    const MVector<FrameTextRect>& GetTextRects(FrameTextKind kind) const { return hits_[kind]; }

    // The settings of one axis (XAxis or YAxis), for editors that treat
    // both alike.
    PlotAxis Axis(int axis);
    ConstPlotAxis Axis(int axis) const;
    MList<WText>& TickLabels(int axis) { return axis == XAxis ? xTickLabels : yTickLabels; }
    MList<double>& TickValues(int axis) { return axis == XAxis ? xTickValues : yTickValues; }

    // The plot rectangle on the page.
    std::int32_t xOrigin;
    std::int32_t yOrigin; // lower edge
    std::int32_t xSize;
    std::int32_t ySize;

    std::int32_t frameLineWidth;
    std::int32_t textFrameHeight; // height of one title or axis-label line
    std::int32_t tickLength;
    std::int32_t tickWidth;
    std::int32_t xLabelGap; // from the x ticks to the x tick labels
    std::int32_t yLabelGap;
    std::int32_t xLabelShift; // horizontal offset of the x tick labels
    std::int32_t yLabelShift; // vertical offset of the y tick labels
    std::int32_t titleMargin;
    std::int32_t xLabelMargin;
    std::int32_t yLabelMargin;

    // The data range.
    double x1;
    double x2;
    double y1;
    double y2;

    std::int32_t frameRectangleVisible; // a flag
    std::string xFormat;
    std::string yFormat;

    // The ticks: labels and values, parallel lists.
    MList<WText> xTickLabels;
    MList<WText> yTickLabels;
    MList<double> xTickValues;
    MList<double> yTickValues;
    // Inner ticks of numeric ticks, 0 for other ticks.
    std::int32_t xTickCount;
    std::int32_t yTickCount;

    // One WText per line.
    MList<WText> title;
    MList<WText> xLabel;
    MList<WText> yLabel;

    bool xGridLines;
    bool yGridLines;
    std::int32_t xGridLineWidth;
    std::int32_t yGridLineWidth;
    std::uint32_t xGridLineColor;
    std::uint32_t yGridLineColor;
    std::int32_t xGridLineType; // a PenStyle number
    std::int32_t yGridLineType;
    std::int32_t yTicksSetup; // TicksSetup bits
    std::int32_t xTicksSetup;
    bool visible;

    // Set by ReadSetup when the file gave an axis a range that holds no
    // values (xTicks={0,0}); that axis kept its range from before, as if
    // the file gave none, and the load reports it.
    std::optional<EmptyRange> emptyXRange;
    std::optional<EmptyRange> emptyYRange;

private:
    static constexpr int kTextKinds = 7;

    MVector<FrameTextRect> hits_[kTextKinds];
};

template <class Frame>
struct BasicAxis {
    template <class T>
    using Ref = std::conditional_t<std::is_const_v<Frame>, const T&, T&>;

    BasicAxis(Frame& f, int axis)
        : x(axis == PlotFrame::XAxis), low(x ? f.x1 : f.y1), high(x ? f.x2 : f.y2),
          format(x ? f.xFormat : f.yFormat), tickLabels(x ? f.xTickLabels : f.yTickLabels),
          tickValues(x ? f.xTickValues : f.yTickValues), tickCount(x ? f.xTickCount : f.yTickCount),
          ticksSetup(x ? f.xTicksSetup : f.yTicksSetup), labelGap(x ? f.xLabelGap : f.yLabelGap),
          labelShift(x ? f.xLabelShift : f.yLabelShift), label(x ? f.xLabel : f.yLabel),
          labelMargin(x ? f.xLabelMargin : f.yLabelMargin),
          gridLines(x ? f.xGridLines : f.yGridLines),
          gridLineWidth(x ? f.xGridLineWidth : f.yGridLineWidth),
          gridLineColor(x ? f.xGridLineColor : f.yGridLineColor),
          gridLineType(x ? f.xGridLineType : f.yGridLineType) {}

    bool x; // the x axis, else the y axis
    Ref<double> low;
    Ref<double> high;
    Ref<std::string> format;
    Ref<MList<WText>> tickLabels;
    Ref<MList<double>> tickValues;
    Ref<std::int32_t> tickCount;
    Ref<std::int32_t> ticksSetup;
    Ref<std::int32_t> labelGap;
    Ref<std::int32_t> labelShift;
    Ref<MList<WText>> label;
    Ref<std::int32_t> labelMargin;
    Ref<bool> gridLines;
    Ref<std::int32_t> gridLineWidth;
    Ref<std::uint32_t> gridLineColor;
    Ref<std::int32_t> gridLineType;
};

inline PlotAxis PlotFrame::Axis(int axis) {
    return PlotAxis(*this, axis);
}

inline ConstPlotAxis PlotFrame::Axis(int axis) const {
    return ConstPlotAxis(*this, axis);
}
