// Builds the console's skinned windows by hand from their templates, lays
// them out with the scaler, renders them to PNG files under the build tree's
// skin-renders folder for a look, and checks that the pictures line up with
// the controls the scaler places.
#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "platform/window/images.h"
#include "platform/window/styles.h"
#include "skin/ani_logo.h"
#include "skin/artgen/art_style.h"
#include "skin/circle_progress.h"
#include "skin/dialog_layout_scaler.h"
#include "skin/hover_button.h"
#include "skin/label_text_format.h"
#include "skin/red_check_box.h"
#include "skin/template_layout.h"
#include "skin/transparent_static.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using namespace platform::window;  // the Win32 style names

using platform::window::ControlKind;
using platform::window::ControlTemplate;
using platform::window::DialogTemplate;

enum class Kind {
    Picture,
    ImageButton,
    IconButton,
    Group,
    Label,
    Logo,
    Hover,
    Combo,
    List,
    Progress,
    Check,
    Edit,
    Address
};

struct Control {
    int id;
    Kind kind;
    int x, y, cx, cy;
    const char* text = "";
    int image = 0;
    std::uint32_t style = 0;
};

constexpr std::uint32_t kCentre = 1;
constexpr std::uint32_t kSunken = SS_SUNKEN;
constexpr std::uint32_t kBordered = WS_BORDER;

// Template 102, the main console window.
const std::vector<Control> kMainWindow{
    {1004, Kind::Picture, 0, 0, 230, 94, "", 131},
    {1027, Kind::ImageButton, 0, 0, 12, 10, "", 156},
    {1001, Kind::ImageButton, 218, 0, 12, 11, "", 132},
    {-1, Kind::Group, 70, 0, 148, 18},
    {1021, Kind::IconButton, 75, 8, 8, 6, "", 147},
    {1023, Kind::Label, 85, 7, 22, 8, "Lock", 0, kCentre},
    {1022, Kind::IconButton, 114, 8, 8, 6, "", 146},
    {1024, Kind::Label, 124, 7, 24, 8, "Data", 0, kCentre},
    {1025, Kind::Label, 156, 7, 42, 8, "Device List", 0, kCentre},
    {1058, Kind::ImageButton, 199, 5, 18, 12, "", 167},
    {1014, Kind::Combo, 200, 5, 16, 50, "Device List"},
    {1010, Kind::Label, 70, 20, 148, 47, "R40 Management Console", 0,
     kCentre | kSunken | kBordered},
    {1067, Kind::Logo, 32, 30, 26, 24},
    {1003, Kind::Hover, 4, 72, 66, 16, "", 133},
    {1005, Kind::Hover, 80, 72, 66, 16, "", 134},
    {1006, Kind::Hover, 156, 72, 66, 16, "", 137},
};

// Template 144, the status panel.
const std::vector<Control> kStatusPanel{
    {-1, Kind::Picture, 0, 0, 230, 96, "", 145},
    {-1, Kind::Group, 3, 2, 75, 90},
    {1018, Kind::Label, 8, 10, 62, 11, "Selected Contents", 0, kSunken | kCentre},
    {1017, Kind::List, 7, 25, 65, 63},
    {-1, Kind::Group, 82, 6, 140, 22},
    {1019, Kind::Label, 86, 16, 36, 8, "Channel "},
    {1020, Kind::Label, 126, 15, 20, 10, "23", 0, kSunken | kCentre},
    {1021, Kind::Label, 161, 16, 18, 8, "SNR"},
    {1022, Kind::Label, 184, 15, 34, 10, "27.50 dB", 0, kSunken | kCentre},
    {-1, Kind::Group, 82, 32, 144, 44},
    {1023, Kind::Label, 86, 41, 60, 8, "Default Gateway"},
    {1025, Kind::Label, 149, 40, 72, 11, "192.168.10.1", 0, kSunken | kCentre},
    {1027, Kind::Label, 87, 58, 79, 8, "Multicast Filtering (IGMP)"},
    {1060, Kind::Picture, 170, 56, 14, 12, "", 175},
};

// Template 149, the configuration menu.
const std::vector<Control> kConfigMenu{
    {-1, Kind::Picture, 0, 0, 63, 99, "", 150},
    {1026, Kind::ImageButton, 5, 5, 52, 14, "", 153},
    {1020, Kind::ImageButton, 5, 28, 52, 14, "", 151},
    {1030, Kind::ImageButton, 5, 50, 52, 14, "", 154},
    {1029, Kind::ImageButton, 5, 72, 52, 14, "", 152},
};

// The configuration menu while it applies a change.
const std::vector<Control> kConfigMenuBusy{
    {-1, Kind::Picture, 0, 0, 63, 99, "", 150},
    {1061, Kind::Label, 0, 20, 62, 32, "Configuring Device\nPlease Wait", 0, kCentre},
    {1062, Kind::Progress, 11, 61, 44, 33},
};

// Template 157, the network configuration dialog.
const std::vector<Control> kNetworkDialog{
    {-1, Kind::Picture, 0, 0, 162, 99, "", 158},
    {-1, Kind::Group, 4, 0, 152, 58},
    {1031, Kind::Label, 8, 10, 57, 10, "Receiver Address"},
    {1028, Kind::Address, 69, 9, 82, 13, "192.168.10.40"},
    {1032, Kind::Label, 8, 27, 49, 10, "Subnet Mask"},
    {1029, Kind::Address, 69, 26, 82, 13, "255.255.255.0"},
    {1033, Kind::Label, 8, 42, 54, 10, "Default Gateway"},
    {1030, Kind::Address, 69, 41, 82, 13, "192.168.10.1"},
    {1035, Kind::Label, 7, 61, 57, 10, "Send Status To"},
    {1034, Kind::Address, 69, 60, 82, 13, "192.168.10.2"},
    {-1, Kind::Group, 4, 78, 96, 18},
    {1036, Kind::Label, 6, 79, 74, 16, "Use IGMP for filtering Multicast Traffic", 0, kCentre},
    {1056, Kind::Check, 85, 82, 10, 10},
    {1, Kind::ImageButton, 118, 80, 14, 14, "", 159},
    {2, Kind::ImageButton, 140, 80, 14, 14, "", 160},
};

// Template 176, the load/save dialog, tiled with bitmap 150.
const std::vector<Control> kLoadSaveDialog{
    {1072, Kind::Label, 70, 6, 80, 10, "Select Desired Operation"},
    {1077, Kind::Check, 5, 24, 12, 10},
    {1073, Kind::Label, 22, 24, 132, 10, "Save Last Used Configuration to a File"},
    {1078, Kind::Check, 5, 41, 12, 10},
    {1074, Kind::Label, 22, 42, 185, 8,
     "Create a Configuration File From The current Device Status"},
    {1079, Kind::Check, 5, 59, 12, 10},
    {1075, Kind::Label, 22, 60, 146, 8, "Load a configuration File and apply all settings"},
    {1080, Kind::Check, 5, 75, 12, 10},
    {1076, Kind::Label, 22, 76, 192, 8,
     "Load a configuration file and let me apply settings individually"},
    {1063, Kind::Edit, 7, 103, 115, 14, "lastused.xml"},
    {1064, Kind::ImageButton, 124, 103, 45, 15, "", 179},
    {1, Kind::ImageButton, 182, 103, 14, 15, "", 175},
    {2, Kind::ImageButton, 202, 103, 14, 15, "", 174},
};

// A flat push button showing its picture centred, cut at its edges, as the
// templates' bitmap buttons do.
class CentredImageButton : public QAbstractButton {
  public:
    CentredImageButton(const QPixmap& image, QWidget* parent)
        : QAbstractButton(parent), m_image(image) {}
    const QPixmap& Image() const { return m_image; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap((width() - m_image.width()) / 2, (height() - m_image.height()) / 2,
                           m_image);
    }

  private:
    QPixmap m_image;
};

QWidget* MakeControl(const Control& c, QWidget& dialog) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case Kind::Picture: {
            auto* label = new QLabel(&dialog);
            label->setPixmap(platform::window::LoadBitmap(c.image));
            label->setAlignment(c.id == 1060 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case Kind::ImageButton:
            widget = new CentredImageButton(platform::window::LoadBitmap(c.image), &dialog);
            break;
        case Kind::IconButton:
            widget =
                new CentredImageButton(platform::window::LoadIcon(c.image).pixmap(8, 8), &dialog);
            break;
        case Kind::Group:
            widget = new QGroupBox(&dialog);
            break;
        case Kind::Label: {
            auto* label = new CTransparentStatic(&dialog);
            label->SetStyle(c.style);
            label->SetText(text);
            widget = label;
            break;
        }
        case Kind::Logo:
            widget = new CAniLogo(&dialog);
            break;
        case Kind::Hover:
            widget = new CHoverButton(&dialog);
            break;
        case Kind::Combo: {
            auto* combo = new QComboBox(&dialog);
            combo->addItem(text);
            combo->hide();
            widget = combo;
            break;
        }
        case Kind::List: {
            auto* list = new QListWidget(&dialog);
            for (const int pid : {0x100, 0x101, 0x1E1, 0x0FFF}) {
                auto* item =
                    new QListWidgetItem(QStringLiteral("0x%1  (%2)")
                                            .arg(pid, 4, 16, QLatin1Char('0'))
                                            .toUpper()
                                            .replace(QStringLiteral("0X"), QStringLiteral("0x"))
                                            .arg(pid, 4, 10, QLatin1Char('0')),
                                        list);
                item->setForeground(QColor(204, 45, 48));
                item->setTextAlignment(Qt::AlignHCenter);
            }
            widget = list;
            break;
        }
        case Kind::Progress: {
            auto* progress = new CMYCircleProgress(&dialog);
            progress->SetColor(QColor(204, 45, 48));
            progress->SetCircleColor(QColor(255, 0, 0));
            progress->SetPos(35);
            widget = progress;
            break;
        }
        case Kind::Check:
            widget = new CRedCheckBox(&dialog);
            break;
        case Kind::Edit:
        case Kind::Address: {
            auto* edit = new QLineEdit(text, &dialog);
            if (c.kind == Kind::Address) edit->setAlignment(Qt::AlignCenter);
            widget = edit;
            break;
        }
    }
    widget->setProperty(platform::window::kControlIdProperty, c.id);
    return widget;
}

// A dialog built from controls, laid out by the scaler with Arial 9.
struct BuiltDialog {
    BuiltDialog(int id, int cx, int cy, const std::vector<Control>& controls) {
        for (const Control& c : controls) {
            widgets.push_back(MakeControl(c, dialog));
            items.push_back(ControlTemplate{c.id, ControlKind::Static, c.x, c.y, c.cx, c.cy});
        }
        layout.id = id;
        layout.style = platform::window::DS_SETFONT;
        layout.cx = cx;
        layout.cy = cy;
        layout.pointSize = 9;
        layout.faceName = "Arial";
        layout.controls = items;
        scaler.Apply(dialog, layout, 96.0);
        for (std::size_t i = 0; i < widgets.size(); ++i)
            if (auto* hover = qobject_cast<CHoverButton*>(widgets[i]))
                hover->LoadBitmapStrip(controls[i].image);
    }
    template <typename T>
    T* Find(int id) {
        for (QWidget* widget : widgets)
            if (widget->property(platform::window::kControlIdProperty).toInt() == id)
                return dynamic_cast<T*>(widget);
        return nullptr;
    }
    QImage Show() {
        dialog.show();
        test::Settle();
        return test::ScreenContents(dialog);
    }
    QWidget dialog;
    std::vector<QWidget*> widgets;
    std::vector<ControlTemplate> items;
    DialogTemplate layout;
    CDialogLayoutScaler scaler;
};

void ExpectSaved(const QImage& image, const QString& name) {
    EXPECT_FALSE(test::SaveRender(image, name).isEmpty()) << name.toStdString();
}

TEST(RenderGallery, MainWindowLinesUpWithItsBackground) {
    BuiltDialog main(102, 230, 94, kMainWindow);
    EXPECT_EQ(main.scaler.LaidOutCount(), static_cast<int>(kMainWindow.size()));
    const QSize client = main.dialog.size();
    const QPixmap background = platform::window::LoadBitmap(131);
    // The picture covers the whole window.
    EXPECT_GE(background.width(), client.width());
    EXPECT_GE(background.height(), client.height());

    const QImage art = background.toImage().convertToFormat(QImage::Format_RGB32);
    // The message line stands on the picture's display area.
    const QRect message = main.Find<QWidget>(1010)->geometry();
    EXPECT_EQ(art.pixel(message.center()), art::kDisplay.rgb());
    EXPECT_EQ(art.pixel(message.topLeft()), art::kDisplay.rgb());
    EXPECT_EQ(art.pixel(message.bottomRight()), art::kDisplay.rgb());
    EXPECT_NE(art.pixel(message.topLeft() - QPoint(1, 1)), art::kDisplay.rgb());
    // The hover buttons stand within the window on the footer band.
    for (const int id : {1003, 1005, 1006}) {
        const QRect button = main.Find<QWidget>(id)->geometry();
        EXPECT_EQ(button.size(), QSize(107, 32)) << id;
        EXPECT_TRUE(QRect(QPoint(0, 0), client).contains(button)) << id;
        EXPECT_EQ(art.pixel(button.left() - 1, button.center().y()), art::kBaseDeep.rgb()) << id;
    }
    ExpectSaved(main.Show(), QStringLiteral("main_window_start.png"));

    // Live: indicators, a message, the logo half faded, a face under the pointer.
    main.Find<CTransparentStatic>(1010)->SetText(
        QStringLiteral("R40 02-5C-C1-00-12-34\n192.168.10.40"));
    auto* logo = main.Find<CAniLogo>(1067);
    logo->SetStep(3);
    logo->SetAlphaRange(125, 255);
    for (int i = 0; i < 20; ++i) logo->Animate();
    EXPECT_TRUE(logo->HasBackground());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(main.Find<CHoverButton>(1005), &enter);
    ExpectSaved(test::ScreenContents(main.dialog), QStringLiteral("main_window_live.png"));
}

TEST(RenderGallery, StatusPanelLinesUpWithItsBackground) {
    BuiltDialog panel(144, 231, 96, kStatusPanel);
    EXPECT_EQ(panel.scaler.LaidOutCount(), static_cast<int>(kStatusPanel.size()));
    const QSize client = panel.dialog.size();
    const QImage art =
        platform::window::LoadBitmap(145).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GE(art.width(), client.width());
    EXPECT_GE(art.height(), client.height());
    for (const int id : {1018, 1020, 1022, 1025}) {
        const QRect value = panel.Find<QWidget>(id)->geometry();
        EXPECT_EQ(art.pixel(value.center()), art::kDisplay.rgb()) << id;
        EXPECT_EQ(art.pixel(value.topLeft()), art::kDisplay.rgb()) << id;
        EXPECT_EQ(art.pixel(value.bottomRight()), art::kDisplay.rgb()) << id;
    }
    ExpectSaved(panel.Show(), QStringLiteral("status_panel.png"));
}

TEST(RenderGallery, ConfigurationMenuButtonsFitTheirPictures) {
    BuiltDialog menu(149, 63, 99, kConfigMenu);
    const QSize client = menu.dialog.size();
    EXPECT_GE(platform::window::LoadBitmap(150).height(), client.height());
    // Each 123 x 39 picture shows centred on its button; its face lies
    // inside the button and the rest of the picture is clear.
    for (const int id : {1026, 1020, 1030, 1029}) {
        auto* button = menu.Find<CentredImageButton>(id);
        ASSERT_NE(button, nullptr);
        const QImage picture = button->Image().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(picture.size(), QSize(123, 39));
        const QRect shown(QPoint((123 - button->width()) / 2, (39 - button->height()) / 2),
                          button->size());
        ASSERT_TRUE(QRect(0, 0, 123, 39).contains(shown));
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (!shown.contains(x, y)) {
                    ASSERT_EQ(qAlpha(picture.pixel(x, y)), 0) << id << " at " << x << "," << y;
                }
    }
    ExpectSaved(menu.Show(), QStringLiteral("configuration_menu.png"));

    BuiltDialog busy(149, 63, 99, kConfigMenuBusy);
    ExpectSaved(busy.Show(), QStringLiteral("configuration_menu_busy.png"));
}

TEST(RenderGallery, NetworkDialogWithCheckBoxes) {
    BuiltDialog network(157, 162, 99, kNetworkDialog);
    EXPECT_EQ(network.scaler.LaidOutCount(), static_cast<int>(kNetworkDialog.size()));
    ExpectSaved(network.Show(), QStringLiteral("network_dialog_unchecked.png"));
    network.Find<CRedCheckBox>(1056)->SetChecked(true);
    ExpectSaved(test::ScreenContents(network.dialog), QStringLiteral("network_dialog_checked.png"));
}

// The load/save dialog has no picture control: it tiles bitmap 150.
class TiledDialog : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawTiledPixmap(rect(), platform::window::LoadBitmap(150));
    }
};

TEST(RenderGallery, LoadSaveDialogOnItsTiledBackground) {
    TiledDialog host;
    BuiltDialog dialog(176, 231, 122, kLoadSaveDialog);
    dialog.dialog.setParent(&host);
    host.resize(dialog.dialog.size());
    dialog.dialog.move(0, 0);
    dialog.Find<CRedCheckBox>(1079)->SetChecked(true);
    host.show();
    dialog.dialog.show();
    ExpectSaved(test::ScreenContents(host), QStringLiteral("load_save_dialog.png"));
}

TEST(RenderGallery, ControlsOnTheirOwn) {
    CMYCircleProgress progress;
    progress.resize(66, 50);
    progress.SetColor(QColor(204, 45, 48));
    progress.SetCircleColor(QColor(255, 0, 0));
    QImage sheet(66 * 5, 50, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(238, 239, 241));
    {
        QPainter painter(&sheet);
        int x = 0;
        for (const std::uint32_t pos : {0u, 12u, 25u, 60u, 99u}) {
            progress.SetPos(pos);
            painter.drawImage(x, 0, test::Render(progress));
            x += 66;
        }
    }
    ExpectSaved(sheet, QStringLiteral("circle_progress_positions.png"));

    CRedCheckBox box;
    box.resize(15, 15);
    QImage boxes(15 * 2 * 8, 15 * 8, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&boxes);
        painter.drawImage(QRect(0, 0, 120, 120), test::Render(box));
        box.SetChecked(true);
        painter.drawImage(QRect(120, 0, 120, 120), test::Render(box));
    }
    ExpectSaved(boxes, QStringLiteral("red_check_box_15x15_x8.png"));
}

}  // namespace
}  // namespace skin
