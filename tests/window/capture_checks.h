// What every backend's window capture and picture files must do, checked
// the same way on each: a window captured as shown and painted alone, its
// children laid over it where they stand (hidden ones left out), the
// picture written as PNG and read back pixel for pixel, a blank picture in
// one colour, and the failures that must stay failures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/window/image_files.h"
#include "platform/window/window.h"
#include "platform/window/window_capture.h"

namespace capture_checks {

using namespace platform::window;

// A pixel as 0xAARRGGBB, not premultiplied.
using Argb = std::uint32_t;
// How a backend reads a pixel of one of its images.
using PixelOf = std::function<Argb(const Image& image, int x, int y)>;

constexpr Argb Opaque(ColorRef c) {
    return 0xFF000000u | (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
}

inline constexpr ColorRef TOP_LEFT = Rgb(200, 30, 40);
inline constexpr ColorRef TOP_RIGHT = Rgb(10, 120, 250);
inline constexpr ColorRef BOTTOM = Rgb(30, 160, 60);
inline constexpr ColorRef CHILD = Rgb(250, 200, 0);
inline constexpr ColorRef SPOT = Rgb(120, 0, 140);

// Covers itself whole: the top half red left, blue right, the bottom green.
class Quadrants : public Window {
  public:
    Quadrants() { SetPaintsItself(true); }

  protected:
    void OnPaint(DeviceContext& dc) override {
        const Rect all = GetClientRect();
        const int midX = all.Width() / 2;
        const int midY = all.Height() / 2;
        dc.FillRect(Rect{0, 0, midX, midY}, TOP_LEFT);
        dc.FillRect(Rect{midX, 0, all.right, midY}, TOP_RIGHT);
        dc.FillRect(Rect{0, midY, all.right, all.bottom}, BOTTOM);
    }
};

// Fills itself in one colour.
class Filled : public Window {
  public:
    explicit Filled(ColorRef color) : m_color(color) { SetPaintsItself(true); }

  protected:
    void OnPaint(DeviceContext& dc) override { dc.FillRect(GetClientRect(), m_color); }

  private:
    ColorRef m_color;
};

// Paints a 3 x 3 spot at (2, 2) and nothing else: on its erased background,
// or, transparent, with what lies beneath showing.
class Spot : public Window {
  public:
    explicit Spot(bool transparent) {
        if (transparent)
            SetPaintsTransparent();
        else
            SetPaintsItself();
    }

  protected:
    void OnPaint(DeviceContext& dc) override { dc.FillRect(Rect{2, 2, 5, 5}, SPOT); }
};

// The windows of a case; `captured` is the one its picture is taken of.
struct Scene {
    std::vector<std::unique_ptr<Window>> windows;
    Window* captured = nullptr;

    template <typename W, typename... Args>
    W& Add(std::uint32_t style, const Rect& rect, Window* parent, Args&&... args) {
        auto window = std::make_unique<W>(std::forward<Args>(args)...);
        W& made = *window;
        EXPECT_TRUE(made.Create(style, rect, parent));
        windows.push_back(std::move(window));
        return made;
    }
    ~Scene() {
        // Children before their parents.
        while (!windows.empty()) windows.pop_back();
    }
};

struct PixelIs {
    int x, y;
    Argb argb;
};

struct CaptureCase {
    const char* name;
    std::function<void(Scene&)> build;
    CaptureMode mode;
    Size size;
    std::vector<PixelIs> pixels;
    bool opaque;  // every pixel of the picture
};

inline std::vector<CaptureCase> CaptureCases() {
    constexpr std::uint32_t SHOWN = 0x10000000;  // WS_VISIBLE
    return {
        {"quadrants_as_shown",
         [](Scene& s) {
             s.captured = &s.Add<Quadrants>(0, Rect{0, 0, 20, 10}, nullptr);
         },
         CaptureMode::AsShown,
         {20, 10},
         {{0, 0, Opaque(TOP_LEFT)},
          {9, 4, Opaque(TOP_LEFT)},
          {10, 0, Opaque(TOP_RIGHT)},
          {19, 4, Opaque(TOP_RIGHT)},
          {0, 5, Opaque(BOTTOM)},
          {19, 9, Opaque(BOTTOM)}},
         true},
        {"child_over_parent",
         [](Scene& s) {
             Window& parent = s.Add<Quadrants>(0, Rect{0, 0, 40, 30}, nullptr);
             s.Add<Filled>(SHOWN, Rect{12, 4, 20, 10}, &parent, CHILD);
             s.Add<Filled>(SHOWN, Rect{0, 20, 10, 30}, &parent, CHILD).ShowWindow(SW_HIDE);
             s.captured = &parent;
         },
         CaptureMode::AsShown,
         {40, 30},
         {{11, 4, Opaque(TOP_LEFT)},
          {12, 4, Opaque(CHILD)},
          {19, 9, Opaque(CHILD)},
          {20, 9, Opaque(TOP_RIGHT)},
          {12, 10, Opaque(TOP_LEFT)},
          {0, 20, Opaque(BOTTOM)},  // where the hidden child is
          {9, 29, Opaque(BOTTOM)}},
         true},
        {"spot_painted_alone",
         [](Scene& s) {
             s.captured = &s.Add<Spot>(0, Rect{0, 0, 8, 7}, nullptr, false);
         },
         CaptureMode::PaintOnly,
         {8, 7},
         {{2, 2, Opaque(SPOT)}, {4, 4, Opaque(SPOT)}, {1, 2, 0}, {5, 4, 0}, {7, 6, 0}},
         false},
        {"spot_as_shown_on_its_background",
         [](Scene& s) {
             s.captured = &s.Add<Spot>(0, Rect{0, 0, 8, 7}, nullptr, false);
         },
         CaptureMode::AsShown,
         {8, 7},
         {{2, 2, Opaque(SPOT)}, {4, 4, Opaque(SPOT)}},
         true},
        {"transparent_child_shows_its_parent",
         [](Scene& s) {
             Window& parent = s.Add<Filled>(0, Rect{0, 0, 16, 12}, nullptr, CHILD);
             s.Add<Spot>(SHOWN, Rect{4, 3, 12, 10}, &parent, true);
             s.captured = &parent;
         },
         CaptureMode::AsShown,
         {16, 12},
         {{6, 5, Opaque(SPOT)}, {8, 7, Opaque(SPOT)}, {5, 5, Opaque(CHILD)}, {9, 7, Opaque(CHILD)}},
         true},
    };
}

// A file in the test program's temporary folder, removed when it goes.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& name)
        : m_path(std::filesystem::path(testing::TempDir()) /
                 std::filesystem::path(std::u8string(name.begin(), name.end()))) {}
    ~TemporaryFile() {
        std::error_code error;
        std::filesystem::remove(m_path, error);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    std::string Utf8() const {
        const std::u8string text = m_path.u8string();
        return std::string(text.begin(), text.end());
    }
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

inline void ExpectSamePixels(const PixelOf& pixel, const Image& a, const Image& b,
                             const char* name) {
    ASSERT_EQ(a.GetSize(), b.GetSize()) << name;
    int differing = 0;
    for (int y = 0; y < a.GetSize().height; ++y)
        for (int x = 0; x < a.GetSize().width; ++x)
            if (pixel(a, x, y) != pixel(b, x, y)) ++differing;
    EXPECT_EQ(differing, 0) << name;
}

// Each case captured, checked, written as PNG (under a name outside ASCII)
// and read back: the same picture, pixel for pixel.
inline void ExpectCapturesSavedAndReadBack(const PixelOf& pixel, const std::string& backend) {
    for (const CaptureCase& c : CaptureCases()) {
        SCOPED_TRACE(c.name);
        Image captured;
        {
            Scene scene;
            c.build(scene);
            ASSERT_NE(scene.captured, nullptr);
            captured = CaptureWindow(*scene.captured, c.mode);
        }
        ASSERT_FALSE(captured.IsNull());
        EXPECT_EQ(captured.GetSize(), c.size);
        for (const PixelIs& p : c.pixels)
            EXPECT_EQ(pixel(captured, p.x, p.y), p.argb) << "at " << p.x << "," << p.y;
        int translucent = 0;
        for (int y = 0; y < captured.GetSize().height; ++y)
            for (int x = 0; x < captured.GetSize().width; ++x)
                if ((pixel(captured, x, y) >> 24) != 0xFF) ++translucent;
        if (c.opaque) {
            EXPECT_EQ(translucent, 0);
        }

        const TemporaryFile file(backend + "-" + c.name + "-Zürich.png");
        ASSERT_TRUE(SaveImagePng(captured, file.Utf8()));
        std::ifstream written(file.Path(), std::ios::binary);
        char signature[8] = {};
        written.read(signature, sizeof signature);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG") << "a PNG file, whatever the name";
        ExpectSamePixels(pixel, captured, LoadImageFile(file.Utf8()), c.name);
    }
}

// A blank picture in one colour; what cannot be captured, written or read
// says so rather than giving something.
inline void ExpectBlankImagesAndFailures(const PixelOf& pixel, const std::string& backend) {
    const Image blank = CreateImage({5, 3}, TOP_RIGHT);
    ASSERT_EQ(blank.GetSize(), (Size{5, 3}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(blank, x, y), Opaque(TOP_RIGHT));
    EXPECT_TRUE(CreateImage({0, 4}, TOP_RIGHT).IsNull());

    Window never;  // no native window
    EXPECT_TRUE(CaptureWindow(never).IsNull());

    const TemporaryFile notAPicture(backend + "-not-a-picture.png");
    std::ofstream(notAPicture.Path()) << "<Device/>";
    const TemporaryFile missing(backend + "-missing.png");
    const TemporaryFile inMissingFolder(backend + "-no-such-folder/blank.png");
    const struct {
        const char* what;
        bool saved;
    } saves[] = {{"the null image", SaveImagePng(Image(), missing.Utf8())},
                 {"into a missing folder", SaveImagePng(blank, inMissingFolder.Utf8())}};
    for (const auto& s : saves) EXPECT_FALSE(s.saved) << s.what;
    EXPECT_FALSE(std::filesystem::exists(missing.Path()));
    const struct {
        const char* what;
        Image read;
    } reads[] = {{"a missing file", LoadImageFile(missing.Utf8())},
                 {"a file that is no picture", LoadImageFile(notAPicture.Utf8())}};
    for (const auto& r : reads) EXPECT_TRUE(r.read.IsNull()) << r.what;
}

}  // namespace capture_checks
