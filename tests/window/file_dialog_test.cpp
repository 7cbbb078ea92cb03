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

constexpr std::string_view XML_FILTER = "Xml Configuration File(*.xml)|*.xml|All Files(*.*)|*.*||";

TEST(FileFilter, PairsOfNameAndPatternsUpToTheEmptyField) {
    using Filters = std::vector<FileFilter>;
    const struct {
        std::string_view filter;
        Filters parsed;
    } cases[] = {
        {XML_FILTER,
         Filters{{"Xml Configuration File(*.xml)", {"*.xml"}}, {"All Files(*.*)", {"*.*"}}}},
        {"Pictures|*.png; *.bmp||", Filters{{"Pictures", {"*.png", "*.bmp"}}}},
        {"", Filters{}},
        {"||", Filters{}},
        // A description without patterns matches every file.
        {"Any||", Filters{{"Any", {"*.*"}}}},
        {"Any| |", Filters{{"Any", {"*.*"}}}},
        // A dangling description is dropped, and nothing after the end counts.
        {"Xml|*.xml|Broken", Filters{{"Xml", {"*.xml"}}}},
        {"Xml|*.xml||Other|*.txt||", Filters{{"Xml", {"*.xml"}}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseFileFilter(c.filter), c.parsed) << c.filter;
}

TEST(FileDialog, OpenAndSaveRunThroughTheServiceWithTheirFlags) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    service.AnswerFileDialog("/tmp/receiver.xml");
    service.AnswerFileDialog(std::nullopt);

    FileDialog open(true, "xml", "", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING,
                    XML_FILTER, WindowHandle());
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/receiver.xml");

    FileDialog save(false, "xml", "", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, XML_FILTER,
                    WindowHandle());
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_TRUE(save.GetPathName().empty());

    ASSERT_EQ(service.FileDialogs().size(), 2u);
    const FileDialogRequest& first = service.FileDialogs()[0];
    EXPECT_TRUE(first.open);
    EXPECT_EQ(first.filter, XML_FILTER);
    EXPECT_EQ(first.defaultExtension, "xml");
    EXPECT_TRUE(first.flags & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(service.FileDialogs()[1].open);
    EXPECT_TRUE(service.FileDialogs()[1].flags & OFN_OVERWRITEPROMPT);

    // Unscripted: cancelled.
    FileDialog again(true, "xml", "", 0, XML_FILTER, WindowHandle());
    EXPECT_EQ(again.DoModal(), IDCANCEL);
}

TEST(MessageBoxes, CarryTextCaptionAndType) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    std::vector<std::string> seen;
    service.OnMessageBox([&](const MessageBoxRequest& r) { seen.push_back(r.text); });
    service.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(MessageBox(WindowHandle(), "Error loading PID list from file, using empty list.",
                         "Console", MB_OKCANCEL | MB_ICONERROR),
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
        AfxMessageBox("inner");
        EXPECT_EQ(inner.MessageBoxes().size(), 1u);
    }
    AfxMessageBox("outer");
    EXPECT_EQ(outer.MessageBoxes().size(), 1u);
    EXPECT_EQ(&CurrentDialogService(), &outer);
}

}  // namespace
