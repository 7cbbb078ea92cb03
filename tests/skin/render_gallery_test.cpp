// Builds the console's skinned windows from their real templates on the
// window layer's dialog, with the skinned controls placed where the windows'
// tables put them and the layout scaler applied, renders them to PNG files
// under the build tree's skin-renders folder for a look, and checks that the
// pictures line up with the controls the scaler places and that what is
// drawn on them lands where it belongs. The controls on their own are
// rendered by the skin_gallery program.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/window/dialog.h"
#include "platform/window/images.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/ani_logo.h"
#include "skin/artgen/art_style.h"
#include "skin/circle_progress.h"
#include "skin/dialog_layout_scaler.h"
#include "skin/hover_button.h"
#include "skin/red_check_box.h"
#include "skin/skin_palette.h"
#include "skin/template_layout.h"
#include "skin/transparent_static.h"
#include "skin_test_support.h"

using platform::window::qt::WidgetOf;

namespace skin {
namespace {

namespace window = platform::window;

enum class Skinned { Label, Logo, Hover, Progress, Check };

// Which controls of each template are skinned, as the windows' tables say.
const std::map<int, std::map<int, Skinned>>& SkinnedControls() {
    using S = Skinned;
    static const std::map<int, std::map<int, Skinned>> controls{
        {102,
         {{1023, S::Label},
          {1024, S::Label},
          {1025, S::Label},
          {1010, S::Label},
          {1067, S::Logo},
          {1003, S::Hover},
          {1005, S::Hover},
          {1006, S::Hover}}},
        {144,
         {{1018, S::Label},
          {1019, S::Label},
          {1020, S::Label},
          {1021, S::Label},
          {1022, S::Label},
          {1023, S::Label},
          {1025, S::Label},
          {1027, S::Label},
          {1024, S::Label},
          {1026, S::Label}}},
        {149, {{1061, S::Label}, {1062, S::Progress}}},
        {157,
         {{1031, S::Label},
          {1032, S::Label},
          {1033, S::Label},
          {1035, S::Label},
          {1036, S::Label},
          {1056, S::Check}}},
        {161, {{1041, S::Label}}},
        {162,
         {{1052, S::Label},
          {1053, S::Label},
          {1054, S::Label},
          {1055, S::Label},
          {1057, S::Check},
          {1058, S::Check},
          {1084, S::Check}}},
        {166, {{1018, S::Label}}},
        {176,
         {{1072, S::Label},
          {1073, S::Label},
          {1074, S::Label},
          {1075, S::Label},
          {1076, S::Label},
          {1081, S::Label},
          {1077, S::Check},
          {1078, S::Check},
          {1079, S::Check},
          {1080, S::Check},
          {1082, S::Progress}}},
        {180, {}},
    };
    return controls;
}

// A console window as its class would build it: skinned controls put in
// place first, then the layout scaler at 96 dots per inch, then the hover
// buttons' strips.
class SkinnedWindow : public window::Dialog {
  public:
    explicit SkinnedWindow(int templateId) : window::Dialog(res::FindDialogTemplate(templateId)) {
        SetPaintsItself();  // the load/save dialog's tiled background
    }

    CDialogLayoutScaler scaler;

  protected:
    bool OnInitDialog() override {
        window::Dialog::OnInitDialog();
        for (const auto& [id, kind] : SkinnedControls().at(Template()->id)) {
            switch (kind) {
                case Skinned::Label:
                    SubclassDlgItem<CTransparentStatic>(id);
                    break;
                case Skinned::Logo:
                    SubclassDlgItem<CAniLogo>(id);
                    break;
                case Skinned::Hover:
                    SubclassDlgItem<CHoverButton>(id);
                    break;
                case Skinned::Progress:
                    SubclassDlgItem<CMYCircleProgress>(id);
                    break;
                case Skinned::Check:
                    SubclassDlgItem<CRedCheckBox>(id);
                    break;
            }
        }
        scaler.Apply(*this, *Template(), window::LAYOUT_DPI);
        for (const window::ControlTemplate& item : Template()->controls)
            if (auto* hover = GetDlgItemAs<CHoverButton>(item.id))
                hover->LoadBitmapStrip(item.imageId);
        return false;
    }

    void OnDestroy() override {
        scaler.Restore();
        window::Dialog::OnDestroy();
    }

    // The load/save dialog has no picture: it tiles the menu's background.
    void OnPaint(window::DeviceContext& dc) override {
        if (Template()->id != res::IDD_LOAD_SAVE) return;
        dc.TileImage(GetClientRect(), window::LoadBitmap(res::IDB_MENU_BACKGROUND));
    }
};

struct ShownWindow {
    explicit ShownWindow(int templateId) : dialog(templateId) {
        created = dialog.Create();
        dialog.ShowWindow(window::SW_SHOW);
        test::Settle();
    }
    ~ShownWindow() { dialog.DestroyWindow(); }
    QImage Screen() { return test::ScreenContents(*WidgetOf(dialog)); }
    template <typename T>
    T* Control(int id) {
        return dialog.GetDlgItemAs<T>(id);
    }
    // The control's widget, for what only the Qt backend shows.
    QWidget* Widget(int id) { return WidgetOf(dialog.GetDlgItem(id)); }
    SkinnedWindow dialog;
    bool created = false;
};

void ExpectSaved(const QImage& image, const QString& name) {
    EXPECT_FALSE(test::SaveRender(image, name).isEmpty()) << name.toStdString();
}

// A label's rectangle without the edges its style draws.
QRect Inside(const QRect& label) {
    return label.adjusted(3, 3, -3, -3);
}

// The share of an image's pixels that have the colour, give or take a few
// units (the status panel shows its displays a shade darker than drawn).
double ShareOfColour(const QImage& image, QRgb colour) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int matching = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (test::SameColour(rgb.pixel(x, y), colour, 4)) ++matching;
    return rgb.isNull() ? 0.0 : static_cast<double>(matching) / (rgb.width() * rgb.height());
}

QImage Bitmap(int id) {
    return window::ToQPixmap(window::LoadBitmap(id))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(RenderGallery, EveryTemplateIsLaidOutWholeAtTheScalersSize) {
    for (const auto& [id, skinned] : SkinnedControls()) {
        ShownWindow shown(id);
        ASSERT_TRUE(shown.created) << id;
        const window::DialogTemplate& layout = *res::FindDialogTemplate(id);
        EXPECT_EQ(shown.dialog.scaler.LaidOutCount(), static_cast<int>(layout.controls.size()))
            << id;
        EXPECT_EQ(shown.dialog.GetClientRect().GetSize(),
                  ClientSizePixels(layout, shown.dialog.scaler.Units()))
            << id;
        ExpectSaved(shown.Screen(), QStringLiteral("template_%1.png").arg(id));
    }
}

TEST(RenderGallery, MainWindowLinesUpWithItsBackground) {
    ShownWindow main(res::IDD_MAIN_CONSOLE);
    ASSERT_TRUE(main.created);
    const QSize client = WidgetOf(main.dialog)->size();
    const QImage art = Bitmap(res::IDB_MAIN_BACKGROUND);
    EXPECT_GE(art.width(), client.width());
    EXPECT_GE(art.height(), client.height());

    // Placed where the template's label stood, the skinned label took over
    // its text and style.
    auto* deviceList = main.Control<CTransparentStatic>(res::IDC_MAIN_DEVICE_LIST_LABEL);
    ASSERT_NE(deviceList, nullptr);
    EXPECT_EQ(deviceList->Text(), "Device List");
    EXPECT_EQ(deviceList->Style() & 0x3u, window::SS_CENTER);

    // The message line stands on the picture's display area.
    const QRect message = main.Widget(res::IDC_MAIN_MESSAGE)->geometry();
    for (const QPoint p : {message.center(), message.topLeft(), message.bottomRight()})
        EXPECT_EQ(art.pixel(p), art::DISPLAY.rgb()) << p.x() << "," << p.y();
    EXPECT_NE(art.pixel(message.topLeft() - QPoint(1, 1)), art::DISPLAY.rgb());
    // The hover buttons stand within the window on the footer band.
    for (const int id :
         {res::IDC_MAIN_CONFIG_MENU, res::IDC_MAIN_FILE_OPERATIONS, res::IDC_MAIN_STATUS_PANEL}) {
        const QRect button =
            platform::window::ToQRect(main.Control<CHoverButton>(id)->GetPlacement());
        EXPECT_EQ(button.size(), QSize(107, 32)) << id;
        EXPECT_TRUE(QRect(QPoint(0, 0), client).contains(button)) << id;
        EXPECT_EQ(art.pixel(button.left() - 1, button.center().y()), art::BASE_DEEP.rgb()) << id;
    }
    const QImage start = main.Screen();
    ExpectSaved(start, QStringLiteral("main_window_start.png"));

    // Live: a new message, a face under the pointer.
    main.Control<CTransparentStatic>(res::IDC_MAIN_MESSAGE)
        ->SetText("R40 02-5C-C1-00-12-34\n192.168.10.40");
    for (const int id : {res::IDC_MAIN_LOCK_INDICATOR, res::IDC_MAIN_DATA_INDICATOR,
                         res::IDC_MAIN_LOCK_LABEL, res::IDC_MAIN_DATA_LABEL})
        main.Widget(id)->show();
    auto* logo = main.Control<CAniLogo>(res::IDC_MAIN_LOGO);
    logo->SetStep(3);
    logo->SetAlphaRange(125, 255);
    for (int i = 0; i < 20; ++i) logo->Animate();
    EXPECT_TRUE(logo->HasBackground());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(
        WidgetOf(*main.Control<CHoverButton>(res::IDC_MAIN_FILE_OPERATIONS)), &enter);
    const QImage live = main.Screen();
    ExpectSaved(live, QStringLiteral("main_window_live.png"));

    // The new message was drawn on the display, which still shows around
    // the text (a label never fills its background); the hovered button
    // changed its face while the others kept theirs.
    EXPECT_NE(start.copy(message), live.copy(message));
    EXPECT_GT(ShareOfColour(live.copy(Inside(message)), art::DISPLAY.rgb()), 0.5);
    const auto face = [&](int id) {
        return platform::window::ToQRect(main.Control<CHoverButton>(id)->GetPlacement());
    };
    EXPECT_NE(start.copy(face(res::IDC_MAIN_FILE_OPERATIONS)),
              live.copy(face(res::IDC_MAIN_FILE_OPERATIONS)));
    EXPECT_EQ(start.copy(face(res::IDC_MAIN_CONFIG_MENU)),
              live.copy(face(res::IDC_MAIN_CONFIG_MENU)));
}

TEST(RenderGallery, StatusPanelValuesStandOnDisplays) {
    ShownWindow panel(res::IDD_STATUS_PANEL);
    ASSERT_TRUE(panel.created);
    const QImage art = Bitmap(res::IDB_STATUS_BACKGROUND);
    EXPECT_GE(art.width(), WidgetOf(panel.dialog)->width());
    EXPECT_GE(art.height(), WidgetOf(panel.dialog)->height());
    for (const int id : {res::IDC_STATUS_PID_TITLE, res::IDC_STATUS_CHANNEL, res::IDC_STATUS_SNR,
                         res::IDC_STATUS_GATEWAY}) {
        const QRect value = panel.Widget(id)->geometry();
        for (const QPoint p : {value.center(), value.topLeft(), value.bottomRight()})
            EXPECT_EQ(art.pixel(p), art::DISPLAY.rgb()) << id;
    }
    panel.Control<CTransparentStatic>(res::IDC_STATUS_CHANNEL)->SetText("23");
    panel.Control<CTransparentStatic>(res::IDC_STATUS_SNR)->SetText("27.50 dB");
    panel.Control<CTransparentStatic>(res::IDC_STATUS_GATEWAY)->SetText("192.168.10.1");
    panel.Widget(res::IDC_STATUS_IGMP_IMAGE)->show();
    const QImage live = panel.Screen();
    ExpectSaved(live, QStringLiteral("status_panel_live.png"));

    // Each value is written in the skin colour inside its edges, on the
    // display that still shows around it.
    for (const int id : {res::IDC_STATUS_CHANNEL, res::IDC_STATUS_SNR, res::IDC_STATUS_GATEWAY}) {
        const QImage drawn =
            live.copy(Inside(panel.Widget(id)->geometry())).convertToFormat(QImage::Format_RGB32);
        bool skinColoured = false;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                skinColoured =
                    skinColoured || test::SameColour(drawn.pixel(x, y), test::Pixel(SKIN_COLOR), 8);
        EXPECT_TRUE(skinColoured) << id;
        EXPECT_GT(ShareOfColour(drawn, art::DISPLAY.rgb()), 0.4) << id;
    }
}

TEST(RenderGallery, ConfigurationMenuButtonPicturesKeepTheirFaceInsideTheButton) {
    ShownWindow menu(res::IDD_CONFIG_MENU);
    ASSERT_TRUE(menu.created);
    EXPECT_GE(Bitmap(res::IDB_MENU_BACKGROUND).height(), WidgetOf(menu.dialog)->height());
    // Each 123 x 39 picture shows centred on its button; everything of it
    // outside the button is clear.
    for (const window::ControlTemplate& item : menu.dialog.Template()->controls) {
        if (item.kind != window::ControlKind::Button) continue;
        const QSize button = menu.Widget(item.id)->size();
        const QImage picture = window::ToQPixmap(window::LoadBitmap(item.imageId))
                                   .toImage()
                                   .convertToFormat(QImage::Format_ARGB32);
        const QRect shown(QPoint((picture.width() - button.width()) / 2,
                                 (picture.height() - button.height()) / 2),
                          button);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (!shown.contains(x, y)) {
                    ASSERT_EQ(qAlpha(picture.pixel(x, y)), 0) << item.id << " " << x << "," << y;
                }
    }
    ExpectSaved(menu.Screen(), QStringLiteral("configuration_menu_buttons.png"));

    // While a change is applied: the message and the spinning indicator.
    for (const int id :
         {res::IDC_MENU_NETWORK, res::IDC_MENU_CHANNEL, res::IDC_MENU_CONTENT, res::IDC_MENU_RESET})
        menu.Widget(id)->hide();
    auto* label = menu.Control<CTransparentStatic>(res::IDC_MENU_MESSAGE);
    label->SetText("Configuring Device\nPlease Wait");
    label->ShowWindow(window::SW_SHOW);
    auto* progress = menu.Control<CMYCircleProgress>(res::IDC_MENU_PROGRESS);
    progress->SetColor(platform::window::Rgb(204, 45, 48));
    progress->SetCircleColor(platform::window::Rgb(255, 0, 0));
    progress->SetPos(35);
    progress->ShowWindow(window::SW_SHOW);
    ExpectSaved(menu.Screen(), QStringLiteral("configuration_menu_busy.png"));
}

// Checking a box on a shown dialog repaints the box, and only the box; the
// unchecked box shows the dialog's background picture through it.
void ExpectCheckingRepaintsOnlyTheBox(ShownWindow& shown, int boxId, const QString& name) {
    auto* box = shown.Control<CRedCheckBox>(boxId);
    ASSERT_NE(box, nullptr) << boxId;
    box->SetChecked(false);
    const QImage unchecked = shown.Screen();
    box->SetChecked(true);
    const QImage checked = shown.Screen();
    ExpectSaved(checked, name);
    const QRect area = platform::window::ToQRect(box->GetPlacement());
    EXPECT_NE(unchecked.copy(area), checked.copy(area)) << boxId;
    QImage outside = checked;
    QPainter(&outside).drawImage(area.topLeft(), unchecked.copy(area));
    EXPECT_EQ(outside, unchecked) << boxId;
    box->SetChecked(false);
    EXPECT_EQ(shown.Screen(), unchecked) << boxId;
}

TEST(RenderGallery, DialogsWithCheckBoxes) {
    ShownWindow network(res::IDD_NETWORK_CONFIG);
    ASSERT_TRUE(network.created);
    ExpectCheckingRepaintsOnlyTheBox(network, res::IDC_NET_IGMP,
                                     QStringLiteral("network_dialog_checked.png"));

    ShownWindow loadSave(res::IDD_LOAD_SAVE);
    ASSERT_TRUE(loadSave.created);
    for (const int id : {res::IDC_FILE_PATH, res::IDC_FILE_BROWSE, 1, 2})
        loadSave.Widget(id)->show();
    ExpectCheckingRepaintsOnlyTheBox(loadSave, res::IDC_FILE_LOAD_APPLY_ALL,
                                     QStringLiteral("load_save_dialog.png"));
}

}  // namespace
}  // namespace skin
