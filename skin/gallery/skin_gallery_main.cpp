// skin_gallery: renders the skinned controls on their own, enlarged where
// they are small, to PNG files for a look: the progress indicator at several
// positions and the check box unchecked and checked. What they draw is
// checked by the skin tests; this program only makes pictures.
//   skin_gallery [OUTPUT_DIR]     (default: ./skin-renders)
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/window/application.h"
#include "platform/window/image_files.h"
#include "platform/window/window_capture.h"
#include "skin/circle_progress.h"
#include "skin/red_check_box.h"

namespace {

namespace window = platform::window;
using window::Image;

constexpr window::ColorRef SURFACE = window::Rgb(238, 239, 241);  // behind the controls

// Only what the control paints, on transparent pixels.
Image Render(const window::Window& control) {
    return window::CaptureWindow(control, window::CaptureMode::PaintOnly);
}

Image ProgressPositions() {
    skin::CMYCircleProgress progress;
    progress.Create(0, window::Rect{0, 0, 66, 50});
    progress.SetColor(window::Rgb(204, 45, 48));
    progress.SetCircleColor(window::Rgb(255, 0, 0));
    std::vector<Image> positions;
    for (const std::uint32_t pos : {0u, 12u, 25u, 60u, 99u}) {
        progress.SetPos(pos);
        positions.push_back(Render(progress));
    }
    return window::PaintOnImage(window::CreateImage({66 * 5, 50}, SURFACE),
                                [&](window::DeviceContext& dc) {
                                    int x = 0;
                                    for (const Image& position : positions) {
                                        dc.DrawImage({x, 0}, position);
                                        x += 66;
                                    }
                                });
}

// The 15 x 15 box eight times enlarged, unchecked then checked.
Image CheckBoxes() {
    skin::CRedCheckBox box;
    box.Create("", 0, window::Rect::FromSize(0, 0, 15, 15));
    const Image unchecked = Render(box);
    box.SetChecked(true);
    const Image checked = Render(box);
    return window::PaintOnImage(window::CreateImage({15 * 2 * 8, 15 * 8}, SURFACE),
                                [&](window::DeviceContext& dc) {
                                    dc.StretchImage(window::Rect{0, 0, 120, 120}, unchecked);
                                    dc.StretchImage(window::Rect{120, 0, 240, 120}, checked);
                                });
}

}  // namespace

int main(int argc, char** argv) {
    window::PreferOffscreenRendering();
    window::Application application(argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : "skin-renders";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "skin_gallery: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    int failures = 0;
    const struct {
        const char* name;
        Image image;
    } renders[] = {{"circle_progress_positions.png", ProgressPositions()},
                   {"red_check_box_15x15_x8.png", CheckBoxes()}};
    for (const auto& render : renders) {
        const std::string path = (folder / render.name).string();
        if (window::SaveImagePng(render.image, path)) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "skin_gallery: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
