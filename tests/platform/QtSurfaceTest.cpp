#include "PlatformTestSupport.h"

#include "platform/FontMapping.h"

#include <QFontInfo>
#include <QRect>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGrey = 0x808080;

// The pixels whose colour is not the expected one, listed for the message.
std::string WrongPixels(const QImage& image,
                        const std::function<std::uint32_t(int, int)>& expected) {
    std::string wrong;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (PixelAt(image, x, y) != expected(x, y) && wrong.size() < 200) {
                wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
            }
        }
    }
    return wrong;
}

// The smallest rectangle of the pixels for which the test holds.
QRect BoundingBox(const QImage& image, const std::function<bool(std::uint32_t)>& test) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            box |= test(PixelAt(image, x, y)) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    return box;
}

DeviceFont Arial(std::int32_t height) {
    FontRecord record = FontRecord::DefaultTextFont();
    record.height = height;
    return DeviceFont{record};
}

} // namespace

TEST(QtSurfaceFill, FillRectAndPolygonsCoverExactlyTheirPixels) {
    Canvas canvas(16, 14);
    canvas.Surface().FillRect({3, 4, 10, 9}, Brush::Solid(kRed));
    canvas.Surface().FillRect({12, 2, 12, 8}, Brush::Solid(kBlue));  // empty
    canvas.Surface().FillRect({14, 9, 12, 12}, Brush::Solid(kBlue)); // reversed
    canvas.Surface().FillRect({0, 0, 16, 2}, Brush::Hollow());
    const IntPoint square[] = {{11, 10}, {15, 10}, {15, 13}, {11, 13}};
    canvas.Surface().FillPolygon(square, Brush::Solid(kBlue));
    EXPECT_EQ(WrongPixels(canvas.Image(),
                          [](int x, int y) {
                              if (3 <= x && x < 10 && 4 <= y && y < 9) {
                                  return kRed;
                              }
                              return 11 <= x && x < 15 && 10 <= y && y < 13 ? kBlue : kWhite;
                          }),
              "");

    // Edges at the ends of the 32-bit range still fill the device.
    Canvas huge(8, 8);
    huge.Surface().FillRect({INT_MIN, INT_MIN, INT_MAX, 5}, Brush::Solid(kRed));
    EXPECT_EQ(WrongPixels(huge.Image(), [](int, int y) { return y < 5 ? kRed : kWhite; }), "");

    // Two triangles cut from a slanted quadrilateral cover exactly what the
    // whole quadrilateral covers: no gap along the shared edge.
    const IntPoint a{2, 1}, b{29, 4}, c{27, 21}, d{1, 17};
    const IntPoint first[] = {a, b, c}, second[] = {a, c, d}, whole[] = {a, b, c, d};
    Canvas halves(32, 24);
    halves.Surface().FillPolygon(first, Brush::Solid(kRed));
    halves.Surface().FillPolygon(second, Brush::Solid(kRed));
    Canvas one(32, 24);
    one.Surface().FillPolygon(whole, Brush::Solid(kRed));
    const QImage& joined = one.Image();
    EXPECT_EQ(WrongPixels(halves.Image(), [&](int x, int y) { return PixelAt(joined, x, y); }), "");
}

TEST(QtSurfaceFill, HatchesRunTheDeviceContextsWayAndFollowTheBackgroundMode) {
    // HS_FDIAGONAL runs from the top left down to the bottom right of the
    // screen, HS_BDIAGONAL from the bottom left up to the top right.
    for (const auto& [hatch, dy] :
         {std::pair{HatchStyle::FDiagonal, 1}, std::pair{HatchStyle::BDiagonal, -1}}) {
        Canvas canvas(16, 16, kGrey);
        canvas.Surface().SetBkMode(BackgroundMode::Transparent);
        canvas.Surface().FillRect({0, 0, 16, 16}, Brush::Hatched(hatch, kRed));
        const QImage& image = canvas.Image();
        EXPECT_EQ(WrongPixels(image,
                              [&](int x, int y) {
                                  const bool line = PixelAt(image, x, y) == kRed;
                                  const bool next = x == 15 || y + dy < 0 || y + dy > 15 ||
                                                    PixelAt(image, x + 1, y + dy) == kRed;
                                  return line && next ? kRed : kGrey; // gaps untouched
                              }),
                  "")
            << "hatch " << hatch;
    }
    // In opaque mode the gaps take the background colour.
    Canvas opaque(16, 16, kGrey);
    opaque.Surface().SetBkColor(kBlue);
    opaque.Surface().FillRect({0, 0, 16, 16}, Brush::Hatched(HatchStyle::DiagCross, kRed));
    const QImage& image = opaque.Image();
    EXPECT_EQ(WrongPixels(
                  image, [&](int x, int y) { return PixelAt(image, x, y) == kRed ? kRed : kBlue; }),
              "");
}

TEST(QtSurfaceShapes, RectangleOutlineInteriorAndHollowBrush) {
    Canvas canvas(20, 16, kGrey);
    QtSurface& surface = canvas.Surface();
    surface.SelectBrush(Brush::Hollow());
    surface.Rectangle(12, 10, 2, 3); // corners in either order
    surface.SelectBrush(Brush::Solid(kRed));
    surface.SelectPen(Pen{PenStyle::Null, 0, 0});
    surface.Rectangle(14, 2, 18, 6); // without an outline: one pixel less each way
    EXPECT_EQ(WrongPixels(canvas.Image(),
                          [](int x, int y) {
                              if (((x == 2 || x == 11) && 3 <= y && y <= 9) ||
                                  ((y == 3 || y == 9) && 2 <= x && x <= 11)) {
                                  return kBlack;
                              }
                              return 14 <= x && x < 17 && 2 <= y && y < 5 ? kRed : kGrey;
                          }),
              "");
}

TEST(QtSurfaceShapes, LinesLeaveOutTheirEndPointAndFollowPenStyleAndRasterOp) {
    Canvas canvas(40, 14, kGrey);
    QtSurface& surface = canvas.Surface();
    surface.MoveTo(2, 1);
    surface.LineTo(10, 1);
    surface.SelectPen(Pen{PenStyle::Dash, 0, kRed});
    surface.SetBkColor(kBlue); // opaque: the gaps in blue
    surface.MoveTo(0, 4);
    surface.LineTo(40, 4);
    surface.SetBkMode(BackgroundMode::Transparent);
    surface.MoveTo(0, 6);
    surface.LineTo(40, 6);
    surface.SelectPen(Pen{PenStyle::Dash, 3, kRed}); // wider dashed pens draw solid
    surface.MoveTo(0, 9);
    surface.LineTo(30, 9);
    surface.SelectPen(Pen{PenStyle::Null, 5, kRed});
    surface.LineTo(40, 13);
    // Exclusive-or: drawing twice erases.
    surface.SetROP2(RasterOp::XorPen);
    surface.SelectPen(Pen{PenStyle::Solid, 0, kWhite});
    surface.SelectBrush(Brush::Hollow());
    surface.Rectangle(0, 0, 40, 14);
    surface.Rectangle(0, 0, 40, 14);
    surface.MoveTo(0, 12);
    surface.LineTo(40, 12);
    const QImage& image = canvas.Image();
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(PixelAt(image, x, 1), 2 <= x && x < 10 ? kBlack : kGrey) << x;
        EXPECT_EQ(PixelAt(image, x, 4), x % 24 < 18 ? kRed : kBlue) << x;
        EXPECT_EQ(PixelAt(image, x, 6), x % 24 < 18 ? kRed : kGrey) << x;
        EXPECT_EQ(PixelAt(image, x, 12), kGrey ^ kWhite) << x;
        EXPECT_EQ(PixelAt(image, x, 13), kGrey) << x;
    }
    for (int x = 2; x < 28; ++x) {
        EXPECT_EQ(PixelAt(image, x, 8), kRed) << x;
        EXPECT_EQ(PixelAt(image, x, 10), kRed) << x;
    }
}

TEST(QtSurfaceText, TextCellLandsOnTheReferencePointForEveryAlignment) {
    constexpr int kX = 80;
    constexpr int kY = 40;
    for (std::uint32_t h : {TextAlign::Left, TextAlign::Center, TextAlign::Right}) {
        for (std::uint32_t v : {TextAlign::Top, TextAlign::Baseline, TextAlign::Bottom}) {
            Canvas canvas(160, 80);
            QtSurface& surface = canvas.Surface();
            surface.SelectFont(Arial(-20));
            surface.SetTextAlign(h | v);
            surface.SetBkColor(kBlue); // opaque: the cell shows in blue
            const IntSize extent = surface.GetTextExtent("HIH");
            surface.TextOut(kX, kY, "HIH");
            const QImage& image = canvas.Image();
            const QRect cell = BoundingBox(image, [](std::uint32_t p) { return p != kWhite; });
            const QRect ink = BoundingBox(image, [](std::uint32_t p) { return (p >> 16) < 0x40; });
            SCOPED_TRACE("alignment " + std::to_string(h | v));

            EXPECT_EQ(cell.size(), QSize(extent.width, extent.height));
            EXPECT_EQ(cell.left(), h == TextAlign::Left    ? kX
                                   : h == TextAlign::Right ? kX - extent.width
                                                           : kX - extent.width / 2);
            if (v == TextAlign::Top) {
                EXPECT_EQ(cell.top(), kY);
            } else if (v == TextAlign::Bottom) {
                EXPECT_EQ(cell.bottom(), kY - 1);
            } else { // capitals stand on the baseline, inside the cell
                EXPECT_NEAR(ink.bottom(), kY - 1, 1);
                EXPECT_TRUE(cell.top() < kY - 10 && cell.bottom() > kY);
            }
        }
    }

    // Escapement turns the text counter-clockwise about the reference
    // point: at 90 degrees a left-top text runs upwards from it.
    Canvas turned(80, 120);
    DeviceFont font = Arial(-20);
    font.record.escapement = 900;
    turned.Surface().SelectFont(font);
    turned.Surface().SetBkColor(kBlue);
    const IntSize extent = turned.Surface().GetTextExtent("HIH");
    turned.Surface().TextOut(30, 100, "HIH");
    const QRect cell = BoundingBox(turned.Image(), [](std::uint32_t p) { return p != kWhite; });
    EXPECT_NEAR(cell.left(), 30, 1);
    EXPECT_NEAR(cell.bottom(), 99, 1);
    EXPECT_NEAR(cell.width(), extent.height, 1);
    EXPECT_NEAR(cell.height(), extent.width, 1);
}

TEST(QtSurfaceText, FontRecordsMapToQtFonts) {
    const QFont arial = ToQFont(Arial(-30));
    EXPECT_EQ(arial.pixelSize(), 30);
    EXPECT_EQ(QFontInfo(arial).family(), "Liberation Sans"); // fontconfig's Arial
    // A positive height is the cell, ascent + descent; 0 the default cell.
    EXPECT_NEAR(PlaceText(ToQFont(Arial(30)), "x", 0).Extent().height, 30, 1);
    EXPECT_NEAR(PlaceText(ToQFont(Arial(0)), "x", 0).Extent().height, kDefaultFontCellHeight, 1);

    DeviceFont styled = Arial(-12);
    styled.record.weight = 700;
    styled.record.italic = styled.record.underline = styled.record.strikeOut = 1;
    const QFont bold = ToQFont(styled);
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_TRUE(bold.italic() && bold.underline() && bold.strikeOut());
    EXPECT_EQ(ToQFont(Arial(-12)).weight(), QFont::Normal);
}

TEST(QtSurfaceState, ScopedHelpersRestoreEverySelection) {
    Canvas canvas(30, 10);
    QtSurface& surface = canvas.Surface();
    const IntSize defaultExtent = surface.GetTextExtent("Wide");
    {
        const ScopedPen pen(surface, Pen{PenStyle::Solid, 0, kRed});
        EXPECT_EQ(pen.Previous(), (Pen{PenStyle::Solid, 0, kBlack}));
        const ScopedBrush brush(surface, Brush::Hatched(HatchStyle::Cross, kRed));
        EXPECT_EQ(brush.Previous(), Brush::Solid(kWhite));
        const ScopedFont font(surface, Arial(-40));
        EXPECT_GT(surface.GetTextExtent("Wide").height, defaultExtent.height);
        const ScopedTextAlign align(surface, TextAlign::Right | TextAlign::Baseline);
        EXPECT_EQ(align.Previous(), TextAlign::Left | TextAlign::Top);
        const ScopedBkMode mode(surface, BackgroundMode::Transparent);
        EXPECT_EQ(mode.Previous(), BackgroundMode::Opaque);
        const ScopedROP2 rop(surface, RasterOp::XorPen);
        surface.MoveTo(0, 1);
        surface.LineTo(30, 1);
    }
    EXPECT_EQ(surface.GetTextExtent("Wide"), defaultExtent);
    surface.MoveTo(0, 3);
    surface.LineTo(30, 3);
    surface.Rectangle(0, 5, 30, 10);
    const QImage& image = canvas.Image();
    EXPECT_EQ(PixelAt(image, 5, 1), kRed ^ kWhite); // exclusive-or of red on white
    EXPECT_EQ(PixelAt(image, 5, 3), kBlack);        // the black pen again
    EXPECT_EQ(PixelAt(image, 5, 7), kWhite);        // the white brush again
}
