// The hover button: face geometry of the strip, resizing on load, and the
// face shown for each pointer and press state.
#include <QEnterEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/window/images.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "resources/ids.h"
#include "skin/hover_button.h"
#include "skin_test_support.h"

namespace skin {
namespace {

const QColor NORMAL(200, 0, 0);
const QColor PRESSED(0, 160, 0);
const QColor OVER(0, 0, 210);
const QColor HIDDEN_COLUMN(255, 0, 255);

// A 322 x 32 strip whose faces are solid colours and whose last column is
// magenta, so the shown face and any stray column can be told apart.
platform::window::Image ColouredStrip() {
    QImage strip(322, 32, QImage::Format_ARGB32);
    QPainter painter(&strip);
    painter.fillRect(0, 0, 107, 32, NORMAL);
    painter.fillRect(107, 0, 107, 32, PRESSED);
    painter.fillRect(214, 0, 107, 32, OVER);
    painter.fillRect(321, 0, 1, 32, HIDDEN_COLUMN);
    painter.end();
    return platform::window::ImageFromPixmap(QPixmap::fromImage(strip));
}

using platform::window::Rect;
using platform::window::qt::WidgetOf;

// A button of its own window, hidden, at `place`.
void Make(CHoverButton& button, const Rect& place = Rect::FromSize(0, 0, 40, 20),
          platform::window::Window* parent = nullptr) {
    ASSERT_TRUE(button.Create("", 0, place, parent));
}

void SendEnter(CHoverButton& button) {
    QWidget& widget = *WidgetOf(button);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&widget, &enter);
}

void SendLeave(CHoverButton& button) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(WidgetOf(button), &leave);
}

// Every pixel of the rendered button is the one colour.
void ExpectFace(CHoverButton& button, const QColor& colour) {
    const QImage image = test::Render(button);
    ASSERT_EQ(image.size(), QSize(107, 32));
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour.rgb()) ++wrong;
    EXPECT_EQ(wrong, 0) << "pixels not in " << colour.name().toStdString();
}

TEST(HoverFaces, StripOf322GivesFacesOf107AndSkipsTheLastColumn) {
    using platform::window::Rect;
    using platform::window::Size;
    const Size face = FaceSize(Size{322, 32});
    EXPECT_EQ(face, (Size{107, 32}));
    EXPECT_EQ(FaceSourceRect(HoverFace::Normal, face), Rect::FromSize(0, 0, 107, 32));
    EXPECT_EQ(FaceSourceRect(HoverFace::Pressed, face), Rect::FromSize(107, 0, 107, 32));
    EXPECT_EQ(FaceSourceRect(HoverFace::PointerOver, face), Rect::FromSize(214, 0, 107, 32));
    EXPECT_EQ(FaceSourceRect(HoverFace::PointerOver, face).right, 321);  // column 321 never shown
    EXPECT_EQ(FaceSize(Size{0, 0}), Size{});
    EXPECT_EQ(FaceSize(Size{322, 0}), Size{});
}

TEST(HoverButton, StripResizesTheButtonToOneFaceAndRaisesIt) {
    platform::window::Window dialog;
    ASSERT_TRUE(dialog.Create(0, Rect::FromSize(0, 0, 200, 200)));
    CHoverButton button;
    Make(button, Rect::FromSize(7, 126, 116, 28), &dialog);
    QWidget background(WidgetOf(dialog));  // created later, so stacked above the button
    ASSERT_EQ(WidgetOf(dialog)->children().last(), &background);

    button.SetBitmapStrip(ColouredStrip());
    EXPECT_EQ(button.GetPlacement(), Rect::FromSize(7, 126, 107, 32));
    EXPECT_EQ(WidgetOf(dialog)->children().last(), WidgetOf(button));
}

TEST(HoverButton, LoadsTheConsoleStripsFromTheProgramsPictures) {
    for (const int id : {133, 134, 137}) {
        CHoverButton button;
        Make(button, Rect::FromSize(80, 72, 40, 20));
        EXPECT_TRUE(button.LoadBitmapStrip(id)) << id;
        EXPECT_EQ(button.GetPlacement(), Rect::FromSize(80, 72, 107, 32)) << id;
    }
}

TEST(HoverButton, MissingPictureIsReportedAndChangesNothing) {
    CHoverButton button;
    Make(button, Rect::FromSize(1, 2, 30, 40));
    EXPECT_FALSE(button.LoadBitmapStrip(9999));
    EXPECT_EQ(button.GetPlacement(), Rect::FromSize(1, 2, 30, 40));
    EXPECT_TRUE(button.StateSize().IsEmpty());
}

TEST(HoverButton, DrawsNothingBeforeItHasAStrip) {
    CHoverButton button;
    Make(button);
    const QImage image = test::Render(button);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
}

TEST(HoverButton, ShowsTheFaceOfEachState) {
    CHoverButton button;
    Make(button);
    button.SetBitmapStrip(ColouredStrip());
    ExpectFace(button, NORMAL);

    SendEnter(button);
    EXPECT_TRUE(button.IsPointerOver());
    ExpectFace(button, OVER);

    // Pressing while the pointer is over shows the pressed face.
    QTest::mousePress(WidgetOf(button), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.CurrentFace(), HoverFace::Pressed);
    ExpectFace(button, PRESSED);

    QTest::mouseRelease(WidgetOf(button), Qt::LeftButton, {}, QPoint(10, 10));
    ExpectFace(button, OVER);

    SendLeave(button);
    EXPECT_FALSE(button.IsPointerOver());
    ExpectFace(button, NORMAL);
}

TEST(HoverButton, FirstMoveAfterALeaveShowsThePointerOverFaceAgain) {
    CHoverButton button;
    Make(button);
    button.SetBitmapStrip(ColouredStrip());
    SendEnter(button);
    SendLeave(button);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     WidgetOf(button)->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(WidgetOf(button), &move);
    EXPECT_TRUE(button.IsPointerOver());
    ExpectFace(button, OVER);
}

TEST(HoverButton, ConsoleStripFacesDifferByState) {
    CHoverButton button;
    Make(button);
    ASSERT_TRUE(button.LoadBitmapStrip(133));
    const QImage normal = test::Render(button);
    SendEnter(button);
    const QImage over = test::Render(button);
    QTest::mousePress(WidgetOf(button), Qt::LeftButton, {}, QPoint(10, 10));
    const QImage pressed = test::Render(button);
    QTest::mouseRelease(WidgetOf(button), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(normal == over);
    EXPECT_FALSE(normal == pressed);
    EXPECT_FALSE(over == pressed);
    // The pressed face is the strip's second third, drawn at the button's corner.
    const QImage strip =
        platform::window::ToQPixmap(platform::window::LoadBitmap(res::IDB_STRIP_CONFIG_MENU))
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(pressed == strip.copy(107, 0, 107, 32));
}

}  // namespace
}  // namespace skin
