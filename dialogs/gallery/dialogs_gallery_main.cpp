// dialogs_gallery: renders each configuration dialog, filled as an operator
// would see it, to a PNG, and all of them on one sheet, so their look can be
// reviewed side by side. Runs offscreen unless another display is asked for.
//   dialogs_gallery [OUTPUT_DIR]     (default: ./dialog-renders)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "devicelib/devicelib.h"
#include "dialogs/channel_select_dialog.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/load_save_configuration.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "dialogs/satellite_tuning_dialog.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/application.h"
#include "platform/window/edit_control.h"
#include "platform/window/image_files.h"
#include "platform/window/list_box_control.h"
#include "platform/window/window_capture.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

namespace {

namespace window = platform::window;

using window::Image;

struct Render {
    std::string name;
    Image image;
};

// Shows the dialog modeless, lets it paint, and takes its picture.
Image Shoot(window::Dialog& dialog) {
    if (!dialog.HasWindow() && !dialog.Create()) return Image();
    dialog.ShowWindow(window::SW_SHOW);
    for (int i = 0; i < 5; ++i) window::PumpMessages(10);
    Image image = window::CaptureWindow(dialog);
    dialog.DestroyWindow();
    return image;
}

Image NetworkDialog() {
    dialogs::CNetCfgDlgSkined dialog;
    dialog.SetStartValues({192, 168, 10, 40}, {192, 168, 10, 1}, {255, 255, 255, 0},
                          {255, 255, 255, 255}, true);
    return Shoot(dialog);
}

Image ChannelDialog() {
    dialogs::CChannelSelectDlg dialog;
    dialog.SetStartChannel(23);
    return Shoot(dialog);
}

Image SatelliteTuningDialog() {
    dialogs::CSatelliteTuningDlg dialog(TYPE_T22_V3);
    SatelliteTuning tuning{};
    tuning.frequency = 1234.5f;
    tuning.symbolRate = 27.5f;
    tuning.tuneOption0 = 1;
    tuning.tuneOption4 = 1;
    dialog.SetStartTuning(tuning);
    return Shoot(dialog);
}

Image ResetWindow() {
    dialogs::CResetConfirmWindow dialog;
    return Shoot(dialog);
}

Image VideoPidDialog() {
    dialogs::CConfVideoPIDDlg dialog;
    dialog.SetTarget(481, {239, 1, 1, 10}, 5000);
    return Shoot(dialog);
}

// An R40V list: three PIDs, the selected one a video PID with a destination.
Image ContentDialog() {
    TrevanPidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    const std::uint16_t pids[] = {481, 0x31, 2000};
    for (int i = 0; i < 3; ++i) {
        list.pid[i] = pids[i];
        list.control[i] = 1;
    }
    list.control[0] = 0;
    list.destination[0] = PidDestination{{239, 1, 1, 10}, 5000};
    list.count = 3;

    dialogs::CContentSelectDlg dialog(TYPE_R40_TREVAN);
    dialog.AttachPidList(&list);
    if (!dialog.Create()) return Image();
    dialog.GetDlgItemAs<window::EditControl>(res::IDC_CONTENT_PID_ENTRY)->SetText("481");
    auto* entries = dialog.GetDlgItemAs<window::ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    for (int i = 0; i < entries->GetCount(); ++i)
        if (entries->GetItemData(i) == 481) entries->SetCurSel(i);
    dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_CONTENT_VIDEO_PID)->SetChecked(true);
    dialog.GetDlgItemAs<skin::CTransparentStatic>(res::IDC_CONTENT_MESSAGE)
        ->SetText("Entry Already Exists in the List");
    return Shoot(dialog);
}

void PumpFor(std::chrono::milliseconds span) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < until) {
        window::PumpMessages(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A folder of its own under the system's temporary folder, removed with
// everything in it when it goes.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::error_code error;
        const auto base = std::filesystem::temp_directory_path(error);
        if (error) return;
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate = base / ("dialogs_gallery-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate, error)) m_path = candidate;
        }
    }
    ~TemporaryFolder() {
        std::error_code error;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// The load/save dialog as the operator first sees it.
Image LoadSaveChoosing() {
    dialogs::CLoadSaveConfiguration dialog;
    return Shoot(dialog);
}

// Operation 3 chosen, with a file named.
void ChooseApplyAll(dialogs::CLoadSaveConfiguration& dialog, const std::string& path) {
    dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_FILE_LOAD_APPLY_ALL)->SetChecked(true);
    dialog.DispatchCommand(res::IDC_FILE_LOAD_APPLY_ALL, window::BN_CLICKED);
    dialog.GetDlgItemAs<window::EditControl>(res::IDC_FILE_PATH)->SetText(path);
}

Image LoadSaveChosen() {
    dialogs::CLoadSaveConfiguration dialog;
    if (!dialog.Create()) return Image();
    ChooseApplyAll(dialog, "/home/operator/receivers/studio-b.xml");
    return Shoot(dialog);
}

// Operation 3 at work: the receiver takes its time over the network
// settings, then refuses them.
std::pair<Image, Image> LoadSaveApplyingAndFailed() {
    const TemporaryFolder folder;
    if (folder.Path().empty()) return {};
    const std::string path = (folder.Path() / "studio-b.xml").string();
    std::ofstream(path) << "<Device><DeviceIP>192.168.10.40</DeviceIP>"
                           "<DeviceSubNet>255.255.255.0</DeviceSubNet>"
                           "<DefaultGW>192.168.10.1</DefaultGW>"
                           "<UnicastStatus>255.255.255.255</UnicastStatus>"
                           "<UseIGMP>Yes</UseIGMP></Device>";
    dialogs::CLoadSaveConfiguration dialog;
    dialog.SetDevice(
        [](const config::DeviceCall&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            return RC_FAILED;
        },
        8309);
    if (!dialog.Create()) return {};
    ChooseApplyAll(dialog, path);
    dialog.DispatchCommand(window::IDOK, window::BN_CLICKED);
    dialog.ShowWindow(window::SW_SHOW);
    PumpFor(std::chrono::milliseconds(600));  // the indicator has turned a while
    const Image applying = window::CaptureWindow(dialog);
    PumpFor(std::chrono::milliseconds(1500));
    const Image failed = window::CaptureWindow(dialog);
    while (dialog.ApplyRunning() && dialog.ApplyRunning()->load())
        PumpFor(std::chrono::milliseconds(20));
    dialog.DestroyWindow();
    return {applying, failed};
}

// The pictures side by side on the console's surface, in rows of three.
Image Sheet(const std::vector<Render>& renders) {
    constexpr int GAP = 16;
    constexpr int PER_ROW = 3;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const Render& r : renders) {
        cellWidth = std::max(cellWidth, r.image.GetSize().width);
        cellHeight = std::max(cellHeight, r.image.GetSize().height);
    }
    const int count = static_cast<int>(renders.size());
    const int rows = (count + PER_ROW - 1) / PER_ROW;
    const window::Size size{GAP + PER_ROW * (cellWidth + GAP), GAP + rows * (cellHeight + GAP)};
    return window::PaintOnImage(
        window::CreateImage(size, window::Rgb(90, 94, 102)), [&](window::DeviceContext& dc) {
            for (int i = 0; i < count; ++i)
                dc.DrawImage(window::Point{GAP + (i % PER_ROW) * (cellWidth + GAP),
                                           GAP + (i / PER_ROW) * (cellHeight + GAP)},
                             renders[i].image);
        });
}

}  // namespace

int main(int argc, char** argv) {
    window::PreferOffscreenRendering();
    window::Application application(argc, argv);
    application.SetName("R40 Management Console");
    const std::filesystem::path outputDir = argc > 1 ? argv[1] : "dialog-renders";
    std::error_code error;
    std::filesystem::create_directories(outputDir, error);
    if (!std::filesystem::is_directory(outputDir, error)) {
        std::fprintf(stderr, "dialogs_gallery: cannot create %s\n", outputDir.string().c_str());
        return 1;
    }

    const auto [applying, failed] = LoadSaveApplyingAndFailed();
    const std::vector<Render> renders = {
        {"network_config_157.png", NetworkDialog()},
        {"channel_select_161.png", ChannelDialog()},
        {"satellite_tuning_186.png", SatelliteTuningDialog()},
        {"reset_confirm_166.png", ResetWindow()},
        {"content_select_r40v_162.png", ContentDialog()},
        {"video_pid_180.png", VideoPidDialog()},
        {"load_save_choosing_176.png", LoadSaveChoosing()},
        {"load_save_chosen_176.png", LoadSaveChosen()},
        {"load_save_applying_176.png", applying},
        {"load_save_failed_176.png", failed},
    };
    int failures = 0;
    for (const Render& r : renders) {
        const std::string path = (outputDir / r.name).string();
        if (!window::SaveImagePng(r.image, path)) {
            std::fprintf(stderr, "dialogs_gallery: could not render %s\n", path.c_str());
            ++failures;
            continue;
        }
        std::printf("%s\n", path.c_str());
    }
    const std::string sheetPath = (outputDir / "all_dialogs.png").string();
    if (!window::SaveImagePng(Sheet(renders), sheetPath)) ++failures;
    std::printf("%s\n", sheetPath.c_str());
    return failures == 0 ? 0 : 1;
}
