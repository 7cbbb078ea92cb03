// Where each painting primitive puts its pixels in the layer's terms
// (rectangles right and bottom exclusive, lines with both ends, outlines
// through pixel centres), one table every backend's tests paint on a 20 x 20
// white picture: the Qt and the Win32 backends must agree pixel for pixel.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/window/device_context.h"

namespace painting_cases {

using namespace platform::window;

inline constexpr ColorRef INK = Rgb(200, 30, 40);
inline constexpr ColorRef OTHER = Rgb(10, 120, 250);

struct PrimitiveCase {
    const char* name;
    std::function<void(DeviceContext&)> paint;
    std::vector<std::pair<int, int>> pixels;  // every pixel not left white
};

// A pie's angles: counter-clockwise from three o'clock, a negative sweep
// clockwise. The quarter from twelve to three o'clock, clockwise, on a
// 20 x 20 box: ink in the top-right quadrant only.
inline void PaintQuarterPie(DeviceContext& dc) {
    dc.SetNullPen();
    dc.SetBrush(INK);
    dc.Pie(Rect{0, 0, 20, 20}, 90, -90);
}
struct QuadrantInk {
    int x, y;
    bool inked;
};
inline constexpr QuadrantInk QUARTER_PIE_INK[] = {
    {14, 5, true}, {5, 5, false}, {5, 14, false}, {14, 14, false}};

inline const std::vector<PrimitiveCase>& PrimitiveCases() {
    static const std::vector<PrimitiveCase> cases = {
        {"a fill covers left..right-1",
         [](DeviceContext& dc) {
             dc.FillRect(Rect{2, 3, 5, 5}, INK);
         },
         {{2, 3}, {3, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}}},
        {"a line has both ends",
         [](DeviceContext& dc) {
             dc.SetPen(Pen{INK});
             dc.Line({4, 2}, {4, 5});
         },
         {{4, 2}, {4, 3}, {4, 4}, {4, 5}}},
        {"an outline passes through the rectangle's edge pixels and one past",
         [](DeviceContext& dc) {
             dc.SetPen(Pen{INK});
             dc.SetNullBrush();
             dc.Rectangle(Rect{1, 1, 3, 3});
         },
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {"a polyline joins its points",
         [](DeviceContext& dc) {
             dc.SetPen(Pen{INK});
             const Point points[] = {{1, 1}, {3, 1}, {3, 2}};
             dc.Polyline(points);
         },
         {{1, 1}, {2, 1}, {3, 1}, {3, 2}}},
        {"a dot is one pixel",
         [](DeviceContext& dc) {
             dc.SetPen(Pen{INK});
             dc.SetPixel({7, 9});
         },
         {{7, 9}}},
        {"clipping keeps what lies inside",
         [](DeviceContext& dc) {
             dc.SetClipRect(Rect{3, 3, 5, 4});
             dc.FillRect(Rect{0, 0, 20, 20}, INK);
         },
         {{3, 3}, {4, 3}}},
        {"a translation moves what follows",
         [](DeviceContext& dc) {
             dc.Translate(5, 6);
             dc.FillRect(Rect{0, 0, 1, 2}, INK);
         },
         {{5, 6}, {5, 7}}},
        {"a restore ends the clipping saved before it",
         [](DeviceContext& dc) {
             dc.Save();
             dc.SetClipRect(Rect{0, 0, 1, 1});
             dc.Restore();
             dc.FillRect(Rect{8, 8, 9, 9}, INK);
         },
         {{8, 8}}},
    };
    return cases;
}

}  // namespace painting_cases
