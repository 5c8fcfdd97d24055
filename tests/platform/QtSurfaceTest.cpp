#include "PlatformTestSupport.h"

#include "platform/FontMapping.h"

#include <QFontInfo>
#include <QRect>

#include <gtest/gtest.h>

#include <climits>

namespace {

// Whether (x, y) lies in left <= x < right, top <= y < bottom.
bool In(int x, int y, int left, int top, int right, int bottom) {
    return left <= x && x < right && top <= y && y < bottom;
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

} // namespace

TEST(QtSurfaceFill, FillsAndRectanglesCoverExactlyTheirPixelsAndTrianglesMeetWithoutAGap) {
    const QImage image = Draw(20, 18, kGrey, [](QtSurface& surface) {
        surface.FillRect({2, 2, 9, 7}, Brush::Solid(kRed));     // right and bottom edges out
        surface.FillRect({12, 2, 12, 8}, Brush::Solid(kBlue));  // empty
        surface.FillRect({14, 9, 12, 12}, Brush::Solid(kBlue)); // reversed
        surface.FillRect({0, 0, 20, 18}, Brush::Hollow());
        const IntPoint square[] = {{11, 2}, {15, 2}, {15, 5}, {11, 5}};
        surface.FillPolygon(square, Brush::Solid(kBlue));
        surface.SelectBrush(Brush::Hollow());
        surface.Rectangle(12, 16, 2, 9); // corners in either order: the outline only
        surface.SelectBrush(Brush::Solid(kRed));
        surface.SelectPen(Pen{PenStyle::Null, 0, 0});
        surface.Rectangle(14, 9, 18, 13); // without an outline: one pixel less each way
    });
    EXPECT_EQ(WrongPixels(image,
                          [](int x, int y) {
                              if (In(x, y, 2, 9, 12, 16) && !In(x, y, 3, 10, 11, 15)) {
                                  return kBlack;
                              }
                              return In(x, y, 2, 2, 9, 7) || In(x, y, 14, 9, 17, 12) ? kRed
                                     : In(x, y, 11, 2, 15, 5)                        ? kBlue
                                                                                     : kGrey;
                          }),
              "");
    // Edges at the ends of the 32-bit range still fill the device.
    const QImage huge = Draw(8, 8, kWhite, [](QtSurface& surface) {
        surface.FillRect({INT_MIN, INT_MIN, INT_MAX, 5}, Brush::Solid(kRed));
    });
    EXPECT_EQ(WrongPixels(huge, [](int, int y) { return y < 5 ? kRed : kWhite; }), "");
    // Two triangles cut from a slanted quadrilateral cover exactly what the
    // whole quadrilateral covers: no gap along the shared edge.
    const IntPoint a{2, 1}, b{29, 4}, c{27, 21}, d{1, 17};
    const QImage halves = Draw(32, 24, kWhite, [&](QtSurface& surface) {
        surface.FillPolygon(std::initializer_list<IntPoint>{a, b, c}, Brush::Solid(kRed));
        surface.FillPolygon(std::initializer_list<IntPoint>{a, c, d}, Brush::Solid(kRed));
    });
    const QImage whole = Draw(32, 24, kWhite, [&](QtSurface& surface) {
        surface.FillPolygon(std::initializer_list<IntPoint>{a, b, c, d}, Brush::Solid(kRed));
    });
    EXPECT_EQ(WrongPixels(halves, [&](int x, int y) { return PixelAt(whole, x, y); }), "");
}

TEST(QtSurfaceFill, DiagonalHatchesRunTheDeviceContextsWay) {
    // HS_FDIAGONAL runs from the top left down to the bottom right of the
    // screen, HS_BDIAGONAL from the bottom left up to the top right: one
    // line every 8 pixels, the gaps left alone in transparent mode.
    for (const auto& [hatch, down] :
         {std::pair{HatchStyle::FDiagonal, 1}, std::pair{HatchStyle::BDiagonal, -1}}) {
        const QImage image = Draw(16, 16, kGrey, [hatch](QtSurface& surface) {
            surface.SetBkMode(BackgroundMode::Transparent);
            surface.FillRect({0, 0, 16, 16}, Brush::Hatched(hatch, kRed));
        });
        int start = 0; // where a line crosses the top row
        while (start < 8 && PixelAt(image, start, 0) != kRed) {
            ++start;
        }
        EXPECT_EQ(WrongPixels(image,
                              [&](int x, int y) {
                                  return (x - start - down * y + 64) % 8 == 0 ? kRed : kGrey;
                              }),
                  "")
            << "hatch " << hatch;
    }
}

TEST(QtSurfaceShapes, LinesLeaveOutTheirEndPointAndExclusiveOrTwiceErases) {
    const QImage image = Draw(40, 14, kGrey, [](QtSurface& surface) {
        surface.MoveTo(2, 1);
        surface.LineTo(10, 1);
        surface.SetROP2(RasterOp::XorPen);
        surface.SelectPen(Pen{PenStyle::Solid, 0, kWhite});
        surface.SelectBrush(Brush::Hollow());
        surface.Rectangle(0, 0, 40, 14);
        surface.Rectangle(0, 0, 40, 14);
        surface.MoveTo(0, 12);
        surface.LineTo(40, 12);
    });
    EXPECT_EQ(WrongPixels(image,
                          [](int x, int y) {
                              return y == 12 ? kGrey ^ kWhite
                                             : (y == 1 && 2 <= x && x < 10 ? kBlack : kGrey);
                          }),
              "");
}

TEST(QtSurfaceText, TextCellLandsOnTheReferencePointForEveryAlignment) {
    constexpr int kX = 80, kY = 40;
    FontRecord font = FontRecord::DefaultTextFont();
    font.height = -20;
    for (std::uint32_t h : {TextAlign::Left, TextAlign::Center, TextAlign::Right}) {
        for (std::uint32_t v : {TextAlign::Top, TextAlign::Baseline, TextAlign::Bottom}) {
            SCOPED_TRACE("alignment " + std::to_string(h | v));
            IntSize extent;
            const QImage image = Draw(160, 80, kWhite, [&](QtSurface& surface) {
                surface.SelectFont(DeviceFont{font});
                surface.SetTextAlign(h | v);
                surface.SetBkColor(kBlue); // opaque: the cell shows in blue
                extent = surface.GetTextExtent("HIH");
                surface.TextOut(kX, kY, "HIH");
            });
            const QRect cell = BoundingBox(image, [](std::uint32_t p) { return p != kWhite; });
            const QRect ink = BoundingBox(image, [](std::uint32_t p) { return (p >> 16) < 0x40; });
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
}

TEST(QtSurfaceText, FontRecordsMapToQtFonts) {
    const auto font = [](std::int32_t height, std::int32_t weight = 400, std::uint8_t flags = 0) {
        FontRecord record = FontRecord::DefaultTextFont();
        record.height = height;
        record.weight = weight;
        record.italic = record.underline = record.strikeOut = flags;
        return ToQFont(DeviceFont{record});
    };
    EXPECT_EQ(font(-30).pixelSize(), 30);
    EXPECT_EQ(QFontInfo(font(-30)).family(), "Liberation Sans"); // fontconfig's Arial
    // A positive height is the cell, ascent + descent; 0 the default cell.
    EXPECT_NEAR(PlaceText(font(30), "x", 0).Extent().height, 30, 1);
    EXPECT_NEAR(PlaceText(font(0), "x", 0).Extent().height, kDefaultFontCellHeight, 1);
    const QFont styled = font(-12, 700, 1);
    EXPECT_TRUE(styled.weight() == QFont::Bold && styled.italic() && styled.underline() &&
                styled.strikeOut());
    EXPECT_TRUE(font(-12).weight() == QFont::Normal && !font(-12).italic());
}
