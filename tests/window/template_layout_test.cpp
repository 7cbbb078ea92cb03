// The dialog templates as data, and windows built from them: every control
// at the pixel rectangle its dialog units give, in template order, of the
// class its kind calls for. Template 102's empty layout is rendered to
// window-renders/ in the build tree.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSet>

#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/custom_control.h"
#include "platform/window/dialog_units.h"
#include "platform/window/images.h"
#include "platform/window/picture_control.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/native.h"
#include "platform/window/static_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "resources/image_catalogue.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

QRect PixelRect(const ControlTemplate& item, const BaseUnits& base) {
    return QRect(HorizontalPixels(item.x, base), VerticalPixels(item.y, base),
                 HorizontalPixels(item.cx, base), VerticalPixels(item.cy, base));
}

std::vector<QWidget*> ControlsInOrder(QWidget* dialog) {
    std::vector<QWidget*> controls;
    for (QObject* child : dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && IsControl(widget)) controls.push_back(widget);
    }
    return controls;
}

TEST(Templates, AllElevenAreFoundByIdAndNoOther) {
    const int ids[] = {102, 144, 149, 157, 161, 162, 166, 176, 180, 184, 186};
    for (int id : ids) {
        const DialogTemplate* dialog = res::FindDialogTemplate(id);
        ASSERT_NE(dialog, nullptr) << id;
        EXPECT_EQ(dialog->id, id);
        EXPECT_TRUE(dialog->style & DS_SETFONT);
        EXPECT_EQ(dialog->faceName, "Arial");
        EXPECT_EQ(dialog->pointSize, 9);
        EXPECT_FALSE(dialog->style & WS_CAPTION) << id;
    }
    EXPECT_EQ(res::AllDialogTemplates().size(), std::size(ids));
    EXPECT_EQ(res::FindDialogTemplate(103), nullptr);
}

TEST(Templates, ControlsHaveUniqueIdsAndLieInsideTheirDialog) {
    for (const DialogTemplate* dialog : res::AllDialogTemplates()) {
        QSet<int> ids;
        for (const ControlTemplate& item : dialog->controls) {
            EXPECT_TRUE(item.style & WS_CHILD) << dialog->id << "/" << item.id;
            EXPECT_GE(item.x, 0);
            EXPECT_GE(item.y, 0);
            EXPECT_LE(item.x + item.cx, dialog->cx) << dialog->id << "/" << item.id;
            EXPECT_LE(item.y + item.cy, dialog->cy) << dialog->id << "/" << item.id;
            if (item.id == -1) continue;
            EXPECT_FALSE(ids.contains(item.id)) << dialog->id << " repeats " << item.id;
            ids.insert(item.id);
        }
    }
}

TEST(Templates, EveryImageTheyNameIsCatalogued) {
    QSet<int> catalogued;
    for (const res::ImageSpec& image : res::ImageCatalogue()) catalogued.insert(image.id);
    for (const DialogTemplate* dialog : res::AllDialogTemplates())
        for (const ControlTemplate& item : dialog->controls)
            if (item.imageId != 0) {
                EXPECT_TRUE(catalogued.contains(item.imageId)) << item.imageId;
            }
}

TEST(Templates, ArtworkPresentHasTheCataloguedSize) {
    // The artwork is added separately; what is there must fit the layout.
    for (const res::ImageSpec& image : res::ImageCatalogue()) {
        if (image.icon) {
            const std::vector<Size> sizes = IconSizes(image.id);
            if (sizes.empty()) continue;
            EXPECT_TRUE(std::ranges::find(sizes, Size(image.width, image.height)) != sizes.end())
                << "icon " << image.id << " lacks " << image.width << "x" << image.height;
        } else {
            const Size size = BitmapSize(image.id);
            if (size.IsEmpty()) continue;
            EXPECT_EQ(size, Size(image.width, image.height)) << "bitmap " << image.id;
        }
    }
}

TEST(Templates, MissingImagesAreNullNotFatal) {
    EXPECT_TRUE(LoadBitmap(9999).IsNull());
    EXPECT_TRUE(LoadIcon(9999).IsNull());
    EXPECT_TRUE(BitmapSize(9999).IsEmpty());
    EXPECT_TRUE(Icon().ImageNear({8, 8}).IsNull());
}

TEST(MainConsoleLayout, EveryControlAtItsDialogUnitRectangleInTemplateOrder) {
    const DialogTemplate* tmpl = res::FindDialogTemplate(res::IDD_MAIN_CONSOLE);
    RecordingDialog dialog(tmpl);
    ASSERT_TRUE(dialog.Create());
    const BaseUnits base = MeasureBaseUnits(MakeFont(FontOf(*tmpl), LAYOUT_DPI));
    ASSERT_GT(base.baseX, 0);
    ASSERT_GT(base.baseY, 0);
    EXPECT_EQ(WidgetOf(dialog)->width(), HorizontalPixels(230, base));
    EXPECT_EQ(WidgetOf(dialog)->height(), VerticalPixels(94, base));
    EXPECT_EQ(WidgetOf(dialog)->font().pixelSize(), 12);  // Arial 9 at 96 dpi

    const std::vector<QWidget*> controls = ControlsInOrder(WidgetOf(dialog));
    ASSERT_EQ(controls.size(), tmpl->controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& item = tmpl->controls[i];
        SCOPED_TRACE(item.id);
        EXPECT_EQ(ControlId(controls[i]), item.id);
        EXPECT_EQ(ControlStyle(controls[i]), item.style);
        EXPECT_EQ(controls[i]->geometry(), PixelRect(item, base));
        EXPECT_EQ(controls[i]->isHidden(), (item.style & WS_VISIBLE) == 0);
        if (item.id != -1) {
            EXPECT_EQ(platform::window::qt::WidgetOf(dialog.GetDlgItem(item.id)), controls[i]);
        }
    }

    // The classes the kinds call for, with their texts and pictures.
    EXPECT_NE(dialog.GetDlgItemAs<PictureControl>(res::IDC_MAIN_BACKGROUND), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CustomControl>(res::IDC_MAIN_LOGO), nullptr);
    EXPECT_NE(qobject_cast<QGroupBox*>(controls[3]), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_MAIN_MESSAGE)->GetWindowText(), "R40 Management Console");
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_MAIN_DEVICE_LIST_LABEL)->GetWindowText(), "Device List");
    auto* lock = dialog.GetDlgItemAs<ButtonControl>(res::IDC_MAIN_LOCK_INDICATOR);
    ASSERT_NE(lock, nullptr);
    auto* lockButton = qobject_cast<QPushButton*>(WidgetOf(*lock));
    ASSERT_NE(lockButton, nullptr);
    EXPECT_TRUE(lockButton->isFlat());
    if (!LoadIcon(res::IDI_INDICATOR_GREEN).IsNull()) {
        EXPECT_FALSE(lock->GetIcon().IsNull());
    }
    EXPECT_FALSE(
        platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_MAIN_DEVICE_LIST))->isVisible());
}

TEST(MainConsoleLayout, IsCentredOnTheScreen) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(dialog.Create());
    const QRect area = WidgetOf(dialog)->screen()->availableGeometry();
    EXPECT_NEAR(WidgetOf(dialog)->geometry().center().x(), area.center().x(), 1);
    EXPECT_NEAR(WidgetOf(dialog)->geometry().center().y(), area.center().y(), 1);
}

TEST(MainConsoleLayout, RendersTheEmptyLayout) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(dialog.Create());
    const QImage plain = WidgetOf(dialog)->grab().toImage();
    ASSERT_EQ(plain.size(), WidgetOf(dialog)->size());
    EXPECT_TRUE(plain.save(RenderDir() + QStringLiteral("/template_102_empty.png")));

    // The same with each control outlined and numbered, to check by eye.
    QImage outlined = plain.scaled(plain.size() * 2);
    QPainter painter(&outlined);
    painter.setPen(QColor(0, 160, 255));
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (QWidget* control : ControlsInOrder(WidgetOf(dialog))) {
        const QRect r(control->geometry().topLeft() * 2, control->geometry().size() * 2);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.drawText(r.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(ControlId(control)));
    }
    painter.end();
    EXPECT_TRUE(outlined.save(RenderDir() + QStringLiteral("/template_102_outlined.png")));

    // The background picture is drawn where the artwork exists.
    if (!LoadBitmap(res::IDB_MAIN_BACKGROUND).IsNull()) {
        const QImage art = ToQPixmap(LoadBitmap(res::IDB_MAIN_BACKGROUND)).toImage();
        EXPECT_EQ(plain.pixelColor(200, 80), art.pixelColor(200, 80));
    }
}

TEST(AllTemplates, BuildWindowsWithEveryControl) {
    for (const DialogTemplate* tmpl : res::AllDialogTemplates()) {
        SCOPED_TRACE(tmpl->id);
        RecordingDialog dialog(tmpl);
        ASSERT_TRUE(dialog.Create());
        const BaseUnits base = MeasureBaseUnits(MakeFont(FontOf(*tmpl), LAYOUT_DPI));
        EXPECT_EQ(WidgetOf(dialog)->size(),
                  QSize(HorizontalPixels(tmpl->cx, base), VerticalPixels(tmpl->cy, base)));
        // Every control of the template, in its order, with its id, style,
        // rectangle and visibility, found by its id.
        const std::vector<QWidget*> controls = ControlsInOrder(WidgetOf(dialog));
        ASSERT_EQ(controls.size(), tmpl->controls.size());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ControlTemplate& item = tmpl->controls[i];
            SCOPED_TRACE(item.id);
            EXPECT_EQ(ControlId(controls[i]), item.id);
            EXPECT_EQ(ControlStyle(controls[i]), item.style);
            EXPECT_EQ(controls[i]->geometry(), PixelRect(item, base));
            EXPECT_EQ(controls[i]->isHidden(), (item.style & WS_VISIBLE) == 0);
            if (item.id != -1) {
                EXPECT_EQ(platform::window::qt::WidgetOf(dialog.GetDlgItem(item.id)), controls[i]);
            }
        }
        // Shown, what the template makes visible is visible.
        dialog.ShowWindow(SW_SHOW);
        for (std::size_t i = 0; i < controls.size(); ++i)
            EXPECT_EQ(controls[i]->isVisible(), (tmpl->controls[i].style & WS_VISIBLE) != 0)
                << tmpl->controls[i].id;
    }
}

}  // namespace
