#pragma once

#include "map/MapPage.h"
#include "render/Geometry.h"
#include "render/PageCoordinateSystem.h"
#include "render/PageLayout.h"

#include <optional>
#include <string>

class ChartDocument;
class PlotFrame;
class Surface;

// The page a view starts with, and where it falls back to when the printer
// gives none: A4 across.
inline constexpr double kDefaultPageWidth = 2970;
inline constexpr double kDefaultPageHeight = 2100;
// Move Up, Down, Left and Right shift the page window by 5 cm.
inline constexpr double kMoveStep = 500;

// True when a page window (corners in any order) may be shown on a screen
// of that many pixels: not so small that a page unit grows past 32767 / 6000
// pixels, not so large that it shrinks below 50 / 6000 of one.
bool WithinZoomLimits(double x1, double x2, double y1, double y2, IntSize screen);

enum class MoveDirection { Up, Down, Left, Right };

// Everything a map window knows and does that needs no window system: the
// page shown through the window, zooming and moving over it, and the paint.
// The widget turns its events into these calls and paints with Paint.
class MapViewState {
public:
    MapViewState();

    const PageCoordinateSystem& PageSystem() const { return page_; }
    const PageSize& Page() const { return pageSize_; }

    // The screen's size in pixels, which bounds zooming.
    void SetScreen(IntSize screen) { screen_ = screen; }
    IntSize Screen() const { return screen_; }

    // Takes the page size the printer gives (nothing, or a side that is not
    // positive, falls back to A4 across) and shows the whole page.
    void RecomputePage(std::optional<DoubleSize> printerPage);

    // The window's client area changed size; false (and nothing changes)
    // when a side is 0. Outside Fit Plot Area the whole page is shown again.
    bool Resize(int width, int height);

    // Shows the page window (x1, x2, y1, y2), widened about its centre so that
    // page units are square (in Fit Plot Area, as it is).
    void SetWindowWithAspect(double x1, double x2, double y1, double y2);
    // The same, subject to the zoom limits; false when the window was refused.
    bool ZoomTo(double x1, double x2, double y1, double y2);

    void FitPage();
    // Zooms by two into or out of the page around the last click point.
    bool ZoomIn();
    bool ZoomOut();
    // Centres the page window on the last click point, keeping its size.
    void CenterHere();
    // The rubber band's corners, in device pixels, become the page window.
    bool ZoomToDeviceRect(IntPoint a, IntPoint b);
    void Move(MoveDirection direction);

    // Fit Plot Area stretches the plot rectangle over the whole window;
    // turning it off shows the page window that was shown before.
    void ToggleFitPlotArea(const PlotFrame& frame);
    void LeaveFitPlotArea();
    bool IsFitPlotArea() const { return fitPlotArea_; }

    DoublePoint DeviceToPage(IntPoint point) const;
    IntPoint ViewportCentre() const;

    // Paints the page of a document on a surface: the window's own (with the
    // page outline unless switched off) or, when printing, a printer's whole
    // sheet. The view's page system is the same afterwards. Returns the
    // message of the exception that stopped the paint, if one did.
    // A cells drawer stands in for the map type's painter on screen.
    std::optional<std::string> Paint(Surface& surface, ChartDocument& document, bool printing,
                                     const MapCellsDrawer& cells = {});

    // The point of the last left or right button press, in device pixels;
    // zooming and centring act on it.
    IntPoint lastClick;
    // Set when the view is created, consumed by the first notice that the
    // document was written: that notice is the view's own load.
    bool justOpened = false;
    // The cells and their contour lines are shown (Show Plot).
    bool showMap = true;
    // The document's orientation still has to reach the printer setup.
    bool pageSetupPending = true;
    // The dotted outline of the sheet (off while exporting or copying).
    bool pageOutline = true;
    // False while a paint runs.
    bool paintComplete = true;

private:
    PageCoordinateSystem page_;
    PageSize pageSize_;
    IntSize screen_{1024, 768};
    bool fitPlotArea_ = false;
    // The page window shown before Fit Plot Area was turned on.
    double savedX1_ = 0;
    double savedX2_ = kDefaultPageWidth;
    double savedY1_ = 0;
    double savedY2_ = kDefaultPageHeight;
};
