// dialogs_gallery: renders each configuration dialog, filled as an operator
// would see it, to a PNG, and all of them on one sheet, so their look can be
// reviewed side by side. Runs offscreen unless another platform is asked for.
//   dialogs_gallery [OUTPUT_DIR]     (default: ./dialog-renders)
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "devicelib/devicelib.h"
#include "dialogs/channel_select_dialog.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/load_save_configuration.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "dialogs/satellite_tuning_dialog.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/edit_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/qt/native.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

using platform::window::qt::WidgetOf;

namespace {

namespace window = platform::window;

struct Render {
    QString name;
    QImage image;
};

// Shows the dialog modeless, lets it paint, and takes its picture.
QImage Shoot(window::Dialog& dialog) {
    if (!dialog.HasWindow() && !dialog.Create()) return QImage();
    dialog.ShowWindow(window::SW_SHOW);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QImage image = WidgetOf(dialog)->grab().toImage();
    dialog.DestroyWindow();
    return image;
}

QImage NetworkDialog() {
    dialogs::CNetCfgDlgSkined dialog;
    dialog.SetStartValues({192, 168, 10, 40}, {192, 168, 10, 1}, {255, 255, 255, 0},
                          {255, 255, 255, 255}, true);
    return Shoot(dialog);
}

QImage ChannelDialog() {
    dialogs::CChannelSelectDlg dialog;
    dialog.SetStartChannel(23);
    return Shoot(dialog);
}

QImage SatelliteTuningDialog() {
    dialogs::CSatelliteTuningDlg dialog(TYPE_T22_V3);
    SatelliteTuning tuning{};
    tuning.frequency = 1234.5f;
    tuning.symbolRate = 27.5f;
    tuning.tuneOption0 = 1;
    tuning.tuneOption4 = 1;
    dialog.SetStartTuning(tuning);
    return Shoot(dialog);
}

QImage ResetWindow() {
    dialogs::CResetConfirmWindow dialog;
    return Shoot(dialog);
}

QImage VideoPidDialog() {
    dialogs::CConfVideoPIDDlg dialog;
    dialog.SetTarget(481, {239, 1, 1, 10}, 5000);
    return Shoot(dialog);
}

// An R40V list: three PIDs, the selected one a video PID with a destination.
QImage ContentDialog() {
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
    if (!dialog.Create()) return QImage();
    dialog.GetDlgItemAs<window::EditControl>(res::IDC_CONTENT_PID_ENTRY)->SetText("481");
    auto* entries = dialog.GetDlgItemAs<window::ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    for (int i = 0; i < entries->GetCount(); ++i)
        if (entries->GetItemData(i) == 481) entries->SetCurSel(i);
    dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_CONTENT_VIDEO_PID)->SetChecked(true);
    dialog.GetDlgItemAs<skin::CTransparentStatic>(res::IDC_CONTENT_MESSAGE)
        ->SetText("Entry Already Exists in the List");
    return Shoot(dialog);
}

void PumpFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

// The load/save dialog as the operator first sees it.
QImage LoadSaveChoosing() {
    dialogs::CLoadSaveConfiguration dialog;
    return Shoot(dialog);
}

// Operation 3 chosen, with a file named.
void ChooseApplyAll(dialogs::CLoadSaveConfiguration& dialog, const QString& path) {
    dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_FILE_LOAD_APPLY_ALL)->SetChecked(true);
    dialog.DispatchCommand(res::IDC_FILE_LOAD_APPLY_ALL, window::BN_CLICKED);
    dialog.GetDlgItemAs<window::EditControl>(res::IDC_FILE_PATH)->SetText(path.toStdString());
}

QImage LoadSaveChosen() {
    dialogs::CLoadSaveConfiguration dialog;
    if (!dialog.Create()) return QImage();
    ChooseApplyAll(dialog, QStringLiteral("/home/operator/receivers/studio-b.xml"));
    return Shoot(dialog);
}

// Operation 3 at work: the receiver takes its time over the network
// settings, then refuses them.
std::pair<QImage, QImage> LoadSaveApplyingAndFailed() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("studio-b.xml")).toStdString();
    std::ofstream(path) << "<Device><DeviceIP>192.168.10.40</DeviceIP>"
                           "<DeviceSubNet>255.255.255.0</DeviceSubNet>"
                           "<DefaultGW>192.168.10.1</DefaultGW>"
                           "<UnicastStatus>255.255.255.255</UnicastStatus>"
                           "<UseIGMP>Yes</UseIGMP></Device>";
    dialogs::CLoadSaveConfiguration dialog;
    dialog.SetDevice(
        [](const config::DeviceCall&) {
            QThread::msleep(1500);
            return RC_FAILED;
        },
        8309);
    if (!dialog.Create()) return {};
    ChooseApplyAll(dialog, QString::fromStdString(path));
    dialog.DispatchCommand(window::IDOK, window::BN_CLICKED);
    dialog.ShowWindow(window::SW_SHOW);
    PumpFor(600);  // the indicator has turned a while
    const QImage applying = WidgetOf(dialog)->grab().toImage();
    PumpFor(1500);
    const QImage failed = WidgetOf(dialog)->grab().toImage();
    while (dialog.ApplyRunning() && dialog.ApplyRunning()->load()) PumpFor(20);
    dialog.DestroyWindow();
    return {applying, failed};
}

// The pictures side by side on the console's surface, in rows of three.
QImage Sheet(const std::vector<Render>& renders) {
    constexpr int GAP = 16;
    constexpr int PER_ROW = 3;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const Render& r : renders) {
        cellWidth = std::max(cellWidth, r.image.width());
        cellHeight = std::max(cellHeight, r.image.height());
    }
    const int count = static_cast<int>(renders.size());
    const int rows = (count + PER_ROW - 1) / PER_ROW;
    QImage sheet(GAP + PER_ROW * (cellWidth + GAP), GAP + rows * (cellHeight + GAP),
                 QImage::Format_RGB32);
    sheet.fill(QColor(90, 94, 102));
    QPainter painter(&sheet);
    for (int i = 0; i < count; ++i)
        painter.drawImage(GAP + (i % PER_ROW) * (cellWidth + GAP),
                          GAP + (i / PER_ROW) * (cellHeight + GAP), renders[i].image);
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    const QString outputDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("dialog-renders");
    if (!QDir().mkpath(outputDir)) {
        std::fprintf(stderr, "dialogs_gallery: cannot create %s\n", qPrintable(outputDir));
        return 1;
    }

    const auto [applying, failed] = LoadSaveApplyingAndFailed();
    const std::vector<Render> renders = {
        {QStringLiteral("network_config_157.png"), NetworkDialog()},
        {QStringLiteral("channel_select_161.png"), ChannelDialog()},
        {QStringLiteral("satellite_tuning_186.png"), SatelliteTuningDialog()},
        {QStringLiteral("reset_confirm_166.png"), ResetWindow()},
        {QStringLiteral("content_select_r40v_162.png"), ContentDialog()},
        {QStringLiteral("video_pid_180.png"), VideoPidDialog()},
        {QStringLiteral("load_save_choosing_176.png"), LoadSaveChoosing()},
        {QStringLiteral("load_save_chosen_176.png"), LoadSaveChosen()},
        {QStringLiteral("load_save_applying_176.png"), applying},
        {QStringLiteral("load_save_failed_176.png"), failed},
    };
    int failures = 0;
    for (const Render& r : renders) {
        const QString path = QDir(outputDir).filePath(r.name);
        if (r.image.isNull() || !r.image.save(path)) {
            std::fprintf(stderr, "dialogs_gallery: could not render %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    const QString sheetPath = QDir(outputDir).filePath(QStringLiteral("all_dialogs.png"));
    if (!Sheet(renders).save(sheetPath)) ++failures;
    std::printf("%s\n", qPrintable(sheetPath));
    return failures == 0 ? 0 : 1;
}
