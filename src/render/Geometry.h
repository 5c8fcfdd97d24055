#pragma once

#include <cstdint>

// Small value types shared by the coordinate systems and the drawing surface.
// Device values are pixels (y downwards); page and data values are doubles.

struct IntPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

struct DoublePoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const DoublePoint&, const DoublePoint&) = default;
};

struct IntSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const IntSize&, const IntSize&) = default;
};

struct DoubleSize {
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const DoubleSize&, const DoubleSize&) = default;
};

// A device rectangle; filling covers left <= x < right, top <= y < bottom.
struct DeviceRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};
