// The file dialog and message boxes through the dialog service: the
// filter string of the load/save dialog, the flags of open and save, and
// the scripted answers.
#include <gtest/gtest.h>

#include "platform/window/dialog_service.h"
#include "platform/window/file_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"
#include "platform/window/scripted_dialog_service.h"

namespace {

using namespace platform::window;

const QString XML_FILTER =
    QStringLiteral("Xml Configuration File(*.xml)|*.xml|All Files(*.*)|*.*||");

TEST(FileFilter, TheLoadSaveFilterGivesTwoQtFilters) {
    const QStringList filters = ParseFileFilter(XML_FILTER);
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], "Xml Configuration File(*.xml) (*.xml)");
    EXPECT_EQ(filters[1], "All Files(*.*) (*)");
}

TEST(FileFilter, SeveralPatternsAndOddInput) {
    EXPECT_EQ(ParseFileFilter(QStringLiteral("Pictures|*.png;*.bmp||")),
              QStringList{"Pictures (*.png *.bmp)"});
    EXPECT_TRUE(ParseFileFilter(QString()).isEmpty());
    EXPECT_TRUE(ParseFileFilter(QStringLiteral("||")).isEmpty());
    // A description without patterns matches everything; a dangling one is
    // dropped.
    EXPECT_EQ(ParseFileFilter(QStringLiteral("Any||")), QStringList{"Any (*)"});
    EXPECT_EQ(ParseFileFilter(QStringLiteral("Any| |")), QStringList{"Any (*)"});
    EXPECT_EQ(ParseFileFilter(QStringLiteral("Xml|*.xml|Broken")), QStringList{"Xml (*.xml)"});
}

TEST(FileDialog, OpenAndSaveRunThroughTheServiceWithTheirFlags) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    service.AnswerFileDialog(QStringLiteral("/tmp/receiver.xml"));
    service.AnswerFileDialog(std::nullopt);

    FileDialog open(true, QStringLiteral("xml"), QString(),
                    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING, XML_FILTER, nullptr);
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/receiver.xml");

    FileDialog save(false, QStringLiteral("xml"), QString(),
                    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, XML_FILTER, nullptr);
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_TRUE(save.GetPathName().isEmpty());

    ASSERT_EQ(service.FileDialogs().size(), 2u);
    const FileDialogRequest& first = service.FileDialogs()[0];
    EXPECT_TRUE(first.open);
    EXPECT_EQ(first.filter, XML_FILTER);
    EXPECT_EQ(first.defaultExtension, "xml");
    EXPECT_TRUE(first.flags & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(service.FileDialogs()[1].open);
    EXPECT_TRUE(service.FileDialogs()[1].flags & OFN_OVERWRITEPROMPT);

    // Unscripted: cancelled.
    FileDialog again(true, QStringLiteral("xml"), QString(), 0, XML_FILTER, nullptr);
    EXPECT_EQ(again.DoModal(), IDCANCEL);
}

TEST(MessageBoxes, CarryTextCaptionAndType) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    std::vector<QString> seen;
    service.OnMessageBox([&](const MessageBoxRequest& r) { seen.push_back(r.text); });
    service.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(
        MessageBox(nullptr, QStringLiteral("Error loading PID list from file, using empty list."),
                   QStringLiteral("Console"), MB_OKCANCEL | MB_ICONERROR),
        IDCANCEL);
    ASSERT_EQ(service.MessageBoxes().size(), 1u);
    EXPECT_EQ(service.MessageBoxes()[0].caption, "Console");
    EXPECT_EQ(service.MessageBoxes()[0].type, MB_OKCANCEL | MB_ICONERROR);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(MessageBoxes, ScopedServicesNest) {
    ScriptedDialogService outer;
    ScopedDialogService a(outer);
    {
        ScriptedDialogService inner;
        ScopedDialogService b(inner);
        AfxMessageBox(QStringLiteral("inner"));
        EXPECT_EQ(inner.MessageBoxes().size(), 1u);
    }
    AfxMessageBox(QStringLiteral("outer"));
    EXPECT_EQ(outer.MessageBoxes().size(), 1u);
    EXPECT_EQ(&CurrentDialogService(), &outer);
}

}  // namespace
