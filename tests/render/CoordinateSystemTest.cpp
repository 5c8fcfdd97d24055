#include "core/LException.h"
#include "render/CCSystem.h"
#include "render/PageCoordinateSystem.h"
#include "render/RoundCoordinate.h"
#include "support/RecordingSurface.h"
#include "support/Thrown.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

PageCoordinateSystem A4OnScreen() {
    return {0, 2970, 0, 2100, 0, 1024, 720, 0};
}

TEST(PageCoordinateSystemTest, MapsTheA4PageOntoTheDeviceWithYFlipped) {
    const PageCoordinateSystem page = A4OnScreen();
    EXPECT_EQ(page.PageToDevice(0, 0), (IntPoint{0, 720}));
    EXPECT_EQ(page.PageToDevice(2970, 2100), (IntPoint{1024, 0}));
    EXPECT_EQ(page.PageToDevice(1485, 1050), (IntPoint{512, 360}));
    EXPECT_DOUBLE_EQ(page.MeanScale(), (1024.0 / 2970 + 720.0 / 2100) / 2);
    EXPECT_EQ(PageCoordinateSystem(), page); // a view starts with this page

    // Back from the device only up to the rounding.
    const IntPoint device = page.PageToDevice(1234.5, 987.6);
    const DoublePoint back = page.DeviceToPage(device.x, device.y);
    EXPECT_NEAR(back.x, 1234.5, 0.5 / page.XScale());
    EXPECT_NEAR(back.y, 987.6, 0.5 / page.YScale());
}

TEST(PageCoordinateSystemTest, RejectedWindowOrViewportKeepsThePreviousMapping) {
    PageCoordinateSystem page = A4OnScreen();
    const std::string rejected =
        "PageCoordinateSystem::SetDeviceViewport: x2 <= x1 || y2 <= y1 check failed";
    EXPECT_EQ(Thrown<LException>([&] { page.SetDeviceRect(0, 1024, 300, 300); }), rejected);
    EXPECT_EQ(Thrown<LException>([&] { page.SetDeviceRect(500, 500, 720, 0); }), rejected);
    EXPECT_EQ(Thrown<LException>([&] { page.SetPageWindow(10, 5, 0, 2100); }), rejected);
    EXPECT_EQ(Thrown<LException>([&] { page.SetPageWindow(0, 2970, 7, 7); }), rejected);
    EXPECT_EQ(Thrown<LException>([&] { page.SetPageWindow(0, std::nan(""), 0, 2100); }), rejected);
    EXPECT_EQ(Thrown<LException>([&] { page.SetPageWindow(0, HUGE_VAL, 0, 2100); }), rejected);
    EXPECT_EQ(page, A4OnScreen());

    page.SetDeviceRect(100, 300, 400, 200); // a valid change takes effect
    EXPECT_EQ(page.PageToDevice(0, 0), (IntPoint{100, 400}));
}

TEST(PageCoordinateSystemTest, RoundCoordinateKeepsHalvesAndCutsNegativesTowardZero) {
    // A page system whose x scale is one device unit per page unit.
    const PageCoordinateSystem page(0, 1000, 0, 1000, 0, 1000, 1000, 0);
    EXPECT_EQ(page.PageToDevice(99.5, 0).x, 99);
    EXPECT_EQ(page.PageToDevice(99.500001, 0).x, 100);
    EXPECT_EQ(page.PageToDevice(-0.7, 0).x, 0);
    EXPECT_EQ(page.PageToDevice(-2.51, 0).x, -2);
    EXPECT_EQ(RoundCoordinate(2.51), 3);
    // Degenerate values stay defined.
    EXPECT_EQ(RoundCoordinate(std::nan("")), 0);
    EXPECT_EQ(RoundCoordinate(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TruncateCoordinate(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(TruncateCoordinate(-3.9), -3);
}

TEST(PageCoordinateSystemTest, PrinterPageComesFromTheDeviceResolution) {
    RecordingSurface printer;
    printer.SetDeviceCap(DeviceCap::HorzRes, 4800);
    printer.SetDeviceCap(DeviceCap::VertRes, 3300);
    printer.SetDeviceCap(DeviceCap::LogPixelsX, 600);
    printer.SetDeviceCap(DeviceCap::LogPixelsY, 600);
    PageCoordinateSystem page = PageCoordinateSystem::FromDevice(printer);
    EXPECT_DOUBLE_EQ(page.GetX2(), 2032.0);
    EXPECT_DOUBLE_EQ(page.GetY2(), 1397.0);
    EXPECT_EQ(page.PageToDevice(0, 0), (IntPoint{0, 3300}));

    printer.SetDeviceCap(DeviceCap::LogPixelsY, 0); // no resolution: the A4 page
    page = PageCoordinateSystem::FromDevice(printer);
    EXPECT_DOUBLE_EQ(page.GetX2(), 2970.0);
    EXPECT_DOUBLE_EQ(page.GetY2(), 2100.0);
    EXPECT_EQ(page.GetRight(), 4800);
}

// Data 1950..2000 x 0..100 on page 300..2300 x 200..1200, page shown at
// 0.5 device units per page unit on a 1500 x 700 device.
class CCSystemTest : public ::testing::Test {
protected:
    PageCoordinateSystem page{0, 3000, 0, 1400, 0, 1500, 700, 0};
    CCSystem chart{1950, 2000, 0, 100, 300, 2300, 200, 1200, page};
};

TEST_F(CCSystemTest, TransformsChainDataToPageToDevice) {
    EXPECT_DOUBLE_EQ(chart.DataToPage(1975, 0).x, 1300.0);
    EXPECT_EQ(chart.DataToDevice(1950, 100), (DoublePoint{150.0, 100.0}));
    EXPECT_EQ(chart.DeviceToData(650, 350), (DoublePoint{1975.0, 50.0}));

    const double refused[][8] = {{2000, 1950, 0, 100, 300, 2300, 200, 1200},
                                 {1950, 2000, 0, 100, 300, 2300, 200, 200},
                                 {1950, 2000, 0, std::nan(""), 0, 1, 0, 1}};
    for (const auto& r : refused) {
        EXPECT_EQ(Thrown<LException>(
                      [&] { CCSystem(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], page); }),
                  "CCSystem :: CCSystem: parameter check failed");
    }
}

TEST_F(CCSystemTest, AttributesNamePlotEdgesAndFractions) {
    // Lower right corner of the plot, whatever the values.
    EXPECT_EQ(chart.TransToDevice(LPoint(-77, 123, DataXMax, DataYMin)), (DoublePoint{1150, 600}));
    EXPECT_EQ(chart.TransToDevice(LPoint(0.5, 0, RelativeX, DataYMax)).x, 650.0);
    EXPECT_GT(chart.TransToDevice(LPoint(1.2, 0, RelativeX, DataYMax)).x, 1150.0);
    // A y quantity on the x axis: RelativeY reads the term's y value.
    const CCSystem square(0, 100, 0, 100, 0, 1000, 0, 1000, page);
    EXPECT_DOUBLE_EQ(square.TransToDevice(LPoint(0.1, 0.3, RelativeY, PageUnits)).x, 150.0);
    EXPECT_DOUBLE_EQ(square.TransToDevice(LPoint(9, 9, DataYMax, PageUnits)).x, 500.0);
}

TEST_F(CCSystemTest, ExtentsWrongAttributesAndShortLists) {
    const PageCoordinateSystem coarse(0, 2000, 0, 2000, 0, 1000, 500, 0);
    const CCSystem system(0, 1, 0, 1, 0, 2000, 0, 2000, coarse);
    EXPECT_EQ(system.ExtentToDevice(LPoint(100, 50, PageUnits, PageUnits)),
              (DoubleSize{50.0, 12.5}));

    const auto wrong = static_cast<PointAttribute>(8);
    EXPECT_EQ(Thrown<LException>([&] { chart.TransToDevice(LPoint(0, 0, wrong, DataUnits)); }),
              "CCSystem::TransToDevice: Wrong attribute");
    EXPECT_EQ(Thrown<LException>([&] { chart.TransToDevice(LPoint(0, 0, PageUnits, wrong)); }),
              "CCSystem::TransToDevice: Wrong attribute");

    LPoint ragged;
    ragged.XValues().Append(1.0); // two x values, one of everything else
    EXPECT_EQ(Thrown<LException>([&] { chart.TransToDevice(ragged); }),
              "MVector[i]: index out of range");
    LPoint empty;
    empty.XValues().Flush();
    EXPECT_EQ(Thrown<LException>([&] { chart.TransToDevice(empty); }), "MVector: empty vector");
}

TEST_F(CCSystemTest, LaterTermsAreLengthsAddedToTheFirstTerm) {
    LPoint point(1950, 0, DataUnits, DataUnits); // device (150, 600)
    point.AddTerm(40, 40, PageUnits, PageUnits); // 20 device units right and up
    EXPECT_EQ(chart.TransToDevice(point), (DoublePoint{170.0, 580.0}));
    point.AddTerm(2.5, 10, DataUnits, DataUnits); // 100 and 100 page units
    EXPECT_EQ(chart.TransToDevice(point), (DoublePoint{220.0, 530.0}));
    point.AddTerm(0.5, 0.1, RelativeX, RelativeY); // half the width, a tenth of the height
    EXPECT_EQ(chart.TransToDevice(point), (DoublePoint{720.0, 480.0}));
}

} // namespace
