// What every backend's device context must paint, checked the same way on
// each: the Qt and the Win32 backends paint these cases through their own
// pictures and must agree pixel for pixel where nothing is antialiased, and
// by placement and size where fonts are involved. The layer's terms:
// rectangles right and bottom exclusive, lines with both ends, outlines
// through pixel centres.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/window/device_context.h"

namespace painting_checks {

using namespace platform::window;

inline constexpr ColorRef INK = Rgb(200, 30, 40);
inline constexpr ColorRef OTHER = Rgb(10, 120, 250);
inline constexpr ColorRef WHITE = Rgb(255, 255, 255);

// A white picture a backend painted, read pixel by pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::function<ColorRef(int x, int y)> at;

    // Every pixel not left white, as (x, y) pairs, row by row.
    std::vector<std::pair<int, int>> Inked() const {
        std::vector<std::pair<int, int>> inked;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != WHITE) inked.push_back({x, y});
        return inked;
    }

    // The smallest rectangle around them (empty when there are none).
    Rect InkBounds() const {
        Rect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const auto& [x, y] : Inked()) {
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x + 1);
            bounds.bottom = std::max(bounds.bottom, y + 1);
        }
        return bounds;
    }
};

using Paint = std::function<void(DeviceContext&)>;
// How a backend paints a white picture of `width` x `height` whose window
// font is `windowFontPixels` high.
using PaintOn = std::function<Picture(int width, int height, int windowFontPixels, const Paint&)>;

struct PrimitiveCase {
    const char* name;
    Paint paint;
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

inline void ExpectEachPrimitiveCoversExactlyItsPixels(const PaintOn& paintOn) {
    for (const auto& c : PrimitiveCases()) {
        const Picture picture = paintOn(20, 20, 12, c.paint);
        EXPECT_EQ(picture.Inked(), c.pixels) << c.name;
        for (const auto& [x, y] : c.pixels) EXPECT_EQ(picture.at(x, y), INK) << c.name;
    }
}

inline void ExpectShapesOutlinedWithThePenAndFilledWithTheBrush(const PaintOn& paintOn) {
    const Picture shapes = paintOn(20, 20, 12, [](DeviceContext& dc) {
        dc.SetPen(Pen{INK});
        dc.SetBrush(OTHER);
        dc.Rectangle(Rect{2, 2, 8, 8});
        dc.SetNullPen();
        const Point triangle[] = {{12, 2}, {18, 2}, {15, 8}};
        dc.Polygon(triangle);
    });
    EXPECT_EQ(shapes.at(2, 5), INK);
    EXPECT_EQ(shapes.at(8, 5), INK);
    EXPECT_EQ(shapes.at(5, 5), OTHER);
    EXPECT_EQ(shapes.at(15, 4), OTHER);
    EXPECT_EQ(shapes.at(11, 4), WHITE);

    const Picture pie = paintOn(20, 20, 12, PaintQuarterPie);
    for (const auto& [x, y, inked] : QUARTER_PIE_INK)
        EXPECT_EQ(pie.at(x, y) == INK, inked) << x << "," << y;
}

// `tile` is 2 x 2: (10, 20, 30) (40, 50, 60) on top, (70, 80, 90) and a
// transparent pixel below.
inline void ExpectImagesDrawnCutTiledAndBlended(const PaintOn& paintOn, const Image& tile) {
    ASSERT_FALSE(tile.IsNull());
    EXPECT_EQ(tile.GetSize(), (Size{2, 2}));
    const Picture picture = paintOn(20, 20, 12, [&](DeviceContext& dc) {
        dc.TileImage(Rect{3, 3, 8, 6}, tile);
        dc.DrawImage({10, 10}, tile, Rect{1, 0, 2, 2});  // the right column only
        dc.SetOpacity(0.5);
        dc.DrawImage({15, 15}, tile);
        dc.DrawImage({0, 0}, Image());  // the null image draws nothing
    });
    // Tiles start at the rectangle's corner and stop at its edge; the
    // transparent pixel shows the ground.
    EXPECT_EQ(picture.at(3, 3), Rgb(10, 20, 30));
    EXPECT_EQ(picture.at(5, 3), Rgb(10, 20, 30));
    EXPECT_EQ(picture.at(4, 4), WHITE);
    EXPECT_EQ(picture.at(7, 5), Rgb(10, 20, 30));
    EXPECT_EQ(picture.at(8, 3), WHITE);
    EXPECT_EQ(picture.at(3, 6), WHITE);
    // The cut: the source's right column at the destination's left.
    EXPECT_EQ(picture.at(10, 10), Rgb(40, 50, 60));
    EXPECT_EQ(picture.at(11, 10), WHITE);
    // Half opacity: half way to the white ground.
    EXPECT_NEAR(RedOf(picture.at(15, 15)), (10 + 255) / 2, 2);
    EXPECT_EQ(picture.at(0, 0), WHITE);
}

inline void ExpectTextPlacedByItsFormatBitsInItsColour(const PaintOn& paintOn) {
    // Where the ink of one word lands in a wide, tall rectangle.
    const auto inkBounds = [&](unsigned format) {
        return paintOn(120, 60, 12,
                       [&](DeviceContext& dc) {
                           dc.SetFont(dc.WindowFont());
                           dc.SetTextColor(INK);
                           dc.DrawText(Rect{0, 0, 120, 60}, "Lock", format);
                       })
            .InkBounds();
    };
    const Rect topLeft = inkBounds(DT_LEFT | DT_TOP);
    const Rect centred = inkBounds(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const Rect bottomRight = inkBounds(DT_RIGHT | DT_BOTTOM);
    ASSERT_FALSE(topLeft.IsEmpty()) << "no ink: the text was not drawn";
    EXPECT_LT(topLeft.left, 5);
    EXPECT_LT(topLeft.top, 10);
    EXPECT_NEAR((centred.left + centred.right) / 2, 60, 3);
    EXPECT_NEAR((centred.top + centred.bottom) / 2, 30, 4);
    EXPECT_GT(bottomRight.right, 113);
    EXPECT_GT(bottomRight.bottom, 52);
    EXPECT_NEAR(centred.Width(), topLeft.Width(), 1) << "the same word, moved";
}

// DrawText's prefix, ellipsis and word-break bits, each seen against the
// same text drawn another way, on one 12 pixel high line of a 120 x 60
// picture.
struct TextFormatCase {
    const char* name;
    const char* text;
    unsigned format;
    const char* otherText;
    unsigned otherFormat;
    // Given the ink of the text and of the other text, and whether both
    // pictures are the same.
    std::function<bool(const Rect& ink, const Rect& other, bool same)> holds;
};

inline const std::vector<TextFormatCase>& TextFormatCases() {
    static const char* const LONG = "Create a Configuration File From The current Device Status";
    static const char* const PATH = "/home/operator/configurations/studio/last_used.xml";
    static const std::vector<TextFormatCase> cases = {
        {"a prefix '&' is not shown unless DT_NOPREFIX", "&Apply", DT_SINGLELINE, "&Apply",
         DT_SINGLELINE | DT_NOPREFIX,
         [](const Rect& ink, const Rect& other, bool) { return other.Width() > ink.Width() + 3; }},
        {"'&&' shows one ampersand", "A&&B", DT_SINGLELINE, "A&B", DT_SINGLELINE | DT_NOPREFIX,
         [](const Rect& ink, const Rect& other, bool) {
             return std::abs(ink.Width() - other.Width()) <= 1;
         }},
        {"an end ellipsis keeps a long line inside", LONG, DT_SINGLELINE | DT_END_ELLIPSIS, LONG,
         DT_SINGLELINE,
         [](const Rect& ink, const Rect& other, bool) {
             return ink.right < 119 && other.right == 120;
         }},
        {"a word ellipsis keeps a long line inside", LONG, DT_SINGLELINE | DT_WORD_ELLIPSIS, LONG,
         DT_SINGLELINE,
         [](const Rect& ink, const Rect& other, bool) {
             return ink.right < 119 && other.right == 120;
         }},
        {"a path ellipsis shortens the middle, not the end", PATH, DT_SINGLELINE | DT_PATH_ELLIPSIS,
         PATH, DT_SINGLELINE | DT_END_ELLIPSIS,
         [](const Rect& ink, const Rect&, bool same) { return ink.right < 119 && !same; }},
        {"an ellipsis shortens each line on its own", "Status\nCreate a Configuration File",
         DT_END_ELLIPSIS, "Status\nCreate a Configuration File", 0,
         [](const Rect& ink, const Rect& other, bool) {
             return ink.right < 119 && other.right == 120 && ink.Height() == other.Height();
         }},
        {"DT_WORDBREAK breaks a long line at words", LONG, DT_WORDBREAK, LONG, 0,
         [](const Rect& ink, const Rect& other, bool) {
             return ink.right < 119 && ink.Height() > 2 * other.Height();
         }},
    };
    return cases;
}

inline void ExpectTextFormatBitsHonoured(const PaintOn& paintOn) {
    const auto draw = [&](const char* text, unsigned format) {
        return paintOn(120, 60, 12, [&](DeviceContext& dc) {
            dc.SetFont(dc.WindowFont());
            dc.SetTextColor(INK);
            dc.DrawText(Rect{0, 0, 120, 60}, text, format);
        });
    };
    for (const auto& c : TextFormatCases()) {
        const Picture picture = draw(c.text, c.format);
        const Picture other = draw(c.otherText, c.otherFormat);
        const Rect ink = picture.InkBounds();
        const Rect otherInk = other.InkBounds();
        ASSERT_FALSE(ink.IsEmpty() || otherInk.IsEmpty()) << c.name << ": no ink";
        EXPECT_TRUE(c.holds(ink, otherInk, picture.Inked() == other.Inked()))
            << c.name << ": ink " << ink.left << ".." << ink.right << " x " << ink.top << ".."
            << ink.bottom << ", other " << otherInk.left << ".." << otherInk.right << " x "
            << otherInk.top << ".." << otherInk.bottom;
    }
}

// PaintOnImage paints a copy: `tile` as in ExpectImagesDrawnCutTiledAndBlended.
inline void ExpectPaintOnImagePaintsACopy(const PaintOn& paintOn, const Image& tile) {
    const Image painted = PaintOnImage(tile, [](DeviceContext& dc) {
        dc.FillRect(Rect{0, 0, 1, 1}, INK);
        dc.SetOpacity(0.5);
        dc.FillRect(Rect{1, 0, 2, 1}, OTHER);
    });
    ASSERT_FALSE(painted.IsNull());
    EXPECT_EQ(painted.GetSize(), tile.GetSize());
    bool calledForNull = false;
    EXPECT_TRUE(PaintOnImage(Image(), [&](DeviceContext&) { calledForNull = true; }).IsNull());
    EXPECT_FALSE(calledForNull);
    const Picture picture = paintOn(20, 20, 12, [&](DeviceContext& dc) {
        dc.DrawImage({0, 0}, tile);
        dc.DrawImage({5, 5}, painted);
    });
    EXPECT_EQ(picture.at(0, 0), Rgb(10, 20, 30)) << "the original changed";
    EXPECT_EQ(picture.at(5, 5), INK);
    // Half way from (40, 50, 60) to OTHER; the rest as it was.
    EXPECT_NEAR(RedOf(picture.at(6, 5)), (40 + 10) / 2, 2);
    EXPECT_NEAR(BlueOf(picture.at(6, 5)), (60 + 250) / 2, 2);
    EXPECT_EQ(picture.at(5, 6), Rgb(70, 80, 90));
}

inline void ExpectCreatedFontsHaveTheirHeightAndWeight() {
    const Font large = Font::Create("Arial", 30, 700);
    const Font small = Font::Create("Arial", 10, 400);
    EXPECT_EQ(large.PixelSize(), 30);
    EXPECT_TRUE(large.Bold());
    EXPECT_FALSE(small.Bold());
    EXPECT_EQ(Font::Create("Arial", 0, 400).PixelSize(), 1) << "at least one pixel";
    // A line holds the characters and a little more.
    EXPECT_GE(large.LineHeight(), 30);
    EXPECT_LE(large.LineHeight(), 40);
    EXPECT_GE(small.LineHeight(), 10);
    EXPECT_LT(small.LineHeight(), large.LineHeight() / 2);
    EXPECT_GT(large.TextWidth("R40"), 2 * small.TextWidth("R40"));
}

inline void ExpectTextWidthFollowsTheFontAndTheWindowFontStaysItsOwn(const PaintOn& paintOn) {
    paintOn(10, 10, 10, [](DeviceContext& dc) {
        Font small = dc.WindowFont();
        EXPECT_EQ(small.PixelSize(), 10);
        dc.SetFont(small);
        const int narrow = dc.TextWidth("now");
        EXPECT_GT(narrow, 0);
        Font large = dc.WindowFont();
        large.SetPixelSize(20);
        large.SetBold(true);
        EXPECT_TRUE(large.Bold());
        dc.SetFont(large);
        EXPECT_GT(dc.TextWidth("now"), narrow + narrow / 2);
        EXPECT_EQ(dc.TextWidth(""), 0);
        // Changing a copy leaves the window's font as it was.
        EXPECT_EQ(dc.WindowFont().PixelSize(), 10);
        EXPECT_FALSE(dc.WindowFont().Bold());
    });
}

}  // namespace painting_checks
