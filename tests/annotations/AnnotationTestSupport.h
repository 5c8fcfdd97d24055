#pragma once

#include "annotations/LGraphicObject.h"
#include "render/CCSystem.h"
#include "render/PageCoordinateSystem.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A page shown at 0.5 device units per page unit (2000 x 1000 page units on
// 1000 x 500 pixels) and a plot of data 0..100 x 0..100 over the whole page
// (20 page units per data unit along x, 10 along y).
class AnnotationTest : public ::testing::Test {
protected:
    AnnotationTest() {
        FontRecord courier;
        courier.height = -9;
        courier.SetFaceName("Courier");
        // Something other than the surface's defaults, so that restoring is
        // told apart from resetting.
        surface.SelectPen(Pen{PenStyle::Dot, 3, 0x0a0b0c});
        surface.SelectBrush(Brush::Hatched(HatchStyle::Cross, 0x00ff00));
        surface.SelectFont(DeviceFont{courier});
        surface.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
        surface.SetBkMode(BackgroundMode::Transparent);
        surface.SetTextColor(0x111111);
        surface.SetBkColor(0x222222);
        surface.ClearLog();
    }

    // Draws and checks that the surface is left as it was found.
    std::vector<std::string> Draw(LGraphicObject& object, const CCSystem* coordinates) {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        object.Draw(surface, coordinates);
        EXPECT_EQ(surface.CurrentState(), before) << surface.Text();
        return surface.Log();
    }
    std::vector<std::string> Draw(LGraphicObject& object) { return Draw(object, &chart); }

    PageCoordinateSystem page{0, 2000, 0, 1000, 0, 1000, 500, 0};
    CCSystem chart{0, 100, 0, 100, 0, 2000, 0, 1000, page};
    RecordingSurface surface;
};
