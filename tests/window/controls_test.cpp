// The simple controls drawn from their style bits: text alignment and
// wrapping, '&' prefixes, edges, pictures placed as Win32 places them, and
// the edit control's digits-only style and notifications.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window/button_control.h"
#include "platform/window/edit_control.h"
#include "platform/window/frame_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/static_host.h"
#include "platform/window/static_control.h"
#include "platform/window/styles.h"
#include "platform/window/system_metrics.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

Image Solid(QSize size, QColor colour) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return ImageFromPixmap(pixmap);
}

// Renders a widget on a white ground, as a window background would be.
QImage Render(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A static control in the native window a dialog gives it.
struct Static {
    qt::StaticHost* label = new qt::StaticHost(std::make_unique<StaticControl>(), nullptr);
    std::unique_ptr<QWidget> owner{label};
    StaticControl& control = *label->Control();
};

TEST(StaticText, AlignmentAndWrappingFollowTheStyle) {
    Static s;
    s.control.SetStyle(SS_CENTER);
    EXPECT_EQ(s.label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_TRUE(s.label->wordWrap());
    s.control.SetStyle(SS_RIGHT);
    EXPECT_EQ(s.label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    s.control.SetStyle(SS_LEFTNOWORDWRAP);
    EXPECT_FALSE(s.label->wordWrap());
    s.control.SetStyle(SS_LEFT | SS_CENTERIMAGE);
    EXPECT_EQ(s.label->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
    EXPECT_FALSE(s.label->wordWrap());
}

TEST(StaticText, PrefixesAreResolvedUnlessNoPrefix) {
    EXPECT_EQ(ResolvePrefixes("Save && &Load"), "Save & Load");
    Static s;
    s.control.SetText("A&B");
    EXPECT_EQ(s.label->text(), "AB");
    EXPECT_EQ(s.control.Text(), "A&B");
    s.control.SetStyle(SS_NOPREFIX);
    EXPECT_EQ(s.label->text(), "A&B");
    // Line feeds stay line feeds.
    s.control.SetText("Channel Number  \n (2 - 69)");
    EXPECT_EQ(s.label->text(), "Channel Number  \n (2 - 69)");
}

TEST(StaticText, SunkenAndBorderedEdges) {
    Static s;
    s.label->resize(20, 10);
    s.control.SetStyle(SS_SUNKEN);
    QImage image = Render(s.label);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(19, 9), QColor(255, 255, 255));
    EXPECT_EQ(s.label->contentsMargins(), QMargins(1, 1, 1, 1));
    s.control.SetStyle(SS_SUNKEN | WS_BORDER);
    image = Render(s.label);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(128, 128, 128));
    EXPECT_EQ(s.label->contentsMargins(), QMargins(2, 2, 2, 2));
}

TEST(Picture, TopLeftAtItsOwnSizeOrCentred) {
    PictureControl picture;
    ASSERT_TRUE(picture.Create(0, Rect::FromSize(0, 0, 10, 10)));
    picture.SetBitmap(Solid(QSize(4, 4), Qt::red));
    EXPECT_EQ(picture.PictureRect(), Rect::FromSize(0, 0, 4, 4));
    picture.SetStyle(SS_BITMAP | SS_CENTERIMAGE);
    EXPECT_EQ(picture.PictureRect(), Rect::FromSize(3, 3, 4, 4));
    QImage image = Render(qt::WidgetOf(picture));
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    // A picture larger than the control is cut off, not shrunk.
    const Image previous = picture.SetBitmap(Solid(QSize(30, 30), Qt::blue));
    EXPECT_EQ(previous.GetSize(), Size(4, 4));
    EXPECT_EQ(picture.PictureRect().GetSize(), Size(30, 30));
    image = Render(qt::WidgetOf(picture));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::blue));
}

TEST(Button, PictureIsCentredAndFlatButtonsDrawNoBevel) {
    ButtonControl button;
    ASSERT_TRUE(button.Create("", BS_BITMAP | BS_FLAT, Rect::FromSize(0, 0, 21, 21)));
    EXPECT_TRUE(button.GetBitmap().IsNull());
    EXPECT_TRUE(button.SetBitmap(Solid(QSize(9, 9), Qt::red)).IsNull());
    EXPECT_EQ(button.PictureRect(), Rect::FromSize(6, 6, 9, 9));
    const QImage image = Render(qt::WidgetOf(button));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    button.SetStyle(BS_BITMAP | BS_FLAT | BS_LEFT);
    EXPECT_EQ(button.PictureRect().left, 0);
    button.SetStyle(BS_BITMAP | BS_FLAT | BS_RIGHT);
    EXPECT_EQ(button.PictureRect().right - 1, 20);
}

TEST(Button, IconsAreDrawnAtTheirOwnSize) {
    ButtonControl button;
    ASSERT_TRUE(button.Create("", 0, Rect::FromSize(0, 0, 12, 9)));
    // Of the sizes an icon comes in, the one nearest the button's is drawn.
    button.SetIcon(
        Icon({Solid(QSize(16, 16), Qt::red), Image(), Solid(QSize(8, 8), QColor(0, 255, 0))}));
    EXPECT_EQ(button.PictureRect().GetSize(), Size(8, 8));
    EXPECT_EQ(Render(qt::WidgetOf(button)).pixelColor(5, 4), QColor(0, 255, 0));
}

TEST(Frame, EachTypeDrawnInsideItsEdges) {
    const QColor black(0, 0, 0), grey(128, 128, 128), white(255, 255, 255);
    struct Pixel {
        int x, y;
        QColor colour;
    };
    struct Case {
        const char* name;
        std::uint32_t style, exStyle;
        std::vector<Pixel> pixels;  // of a 12 x 8 frame on a white ground
    };
    const Case cases[] = {
        {"black frame inside a sunken edge",
         SS_BLACKFRAME | SS_SUNKEN,
         0,
         {{0, 0, grey}, {11, 7, white}, {1, 1, black}, {10, 6, black}, {5, 4, white}}},
        {"grey rectangle inside a border",
         SS_GRAYRECT | WS_BORDER,
         0,
         {{0, 0, black}, {11, 7, black}, {1, 1, grey}, {10, 6, grey}}},
        {"black rectangle inside a client edge",
         SS_BLACKRECT,
         WS_EX_CLIENTEDGE,
         {{0, 0, grey},
          {11, 7, white},
          {1, 1, QColor(64, 64, 64)},
          {10, 6, QColor(227, 227, 227)},
          {2, 2, black},
          {9, 5, black}}},
        {"etched frame: sunken outside, raised inside",
         SS_ETCHEDFRAME,
         0,
         {{0, 0, grey}, {0, 6, grey}, {11, 0, white}, {5, 7, white}, {10, 3, grey}, {5, 6, grey}}},
        {"etched line across the top",
         SS_ETCHEDHORZ,
         0,
         {{0, 0, grey}, {11, 0, grey}, {3, 1, white}, {3, 2, white}}},
        {"etched line down the left",
         SS_ETCHEDVERT,
         0,
         {{0, 0, grey}, {0, 7, grey}, {1, 7, white}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameControl frame;
        ASSERT_TRUE(frame.Create(0, Rect::FromSize(0, 0, 12, 8)));
        frame.SetStyle(c.style, c.exStyle);
        const QImage image = Render(qt::WidgetOf(frame));
        for (const Pixel& pixel : c.pixels)
            EXPECT_EQ(image.pixelColor(pixel.x, pixel.y), pixel.colour)
                << "at " << pixel.x << ", " << pixel.y;
    }
}

TEST(Edit, DigitsOnlyAndEveryChangeNotified) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CHANNEL_SELECT));
    ASSERT_TRUE(dialog.Create());
    auto* edit = dialog.GetDlgItemAs<EditControl>(res::IDC_CHANNEL_NUMBER);
    ASSERT_NE(edit, nullptr);
    auto* line = qobject_cast<QLineEdit*>(qt::WidgetOf(*edit));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    line->setFocus();
    dialog.commands.clear();
    QTest::keyClicks(line, QStringLiteral("4x2"));
    EXPECT_EQ(edit->GetText(), "42");
    ASSERT_EQ(dialog.commands.size(), 4u);  // two changes, each EN_UPDATE then EN_CHANGE
    EXPECT_EQ(dialog.commands[0].code, EN_UPDATE);
    EXPECT_EQ(dialog.commands[1].code, EN_CHANGE);
    edit->SetText("7");
    EXPECT_EQ(dialog.commands.size(), 6u);
    edit->SetSel(0, -1);
    EXPECT_EQ(line->selectedText(), "7");
    edit->SetSel(-1, 0);
    EXPECT_FALSE(line->hasSelectedText());
}

TEST(SystemMetrics, ScrollBarWidthIsKnown) {
    EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
}

}  // namespace
