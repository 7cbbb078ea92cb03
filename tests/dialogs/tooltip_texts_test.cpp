// Every balloon tip of the configuration dialogs as the operator reads it:
// the title, the information icon, how long a tip stays, the colour, and
// the text of each tool, one table per dialog. The channel and reset
// dialogs have no tips.
#include <gtest/gtest.h>

#include <initializer_list>

#include "dialog_test_support.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/load_save_configuration.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/video_pid_dialog.h"

namespace {

using namespace dialogs_test;

// A tool that is no control: the rest of the dialog.
constexpr int DIALOG_ITSELF = 0;

struct Tip {
    int tool;  // control id, or DIALOG_ITSELF
    const char* text;
};

void ExpectTips(Dialog& dialog, const BalloonToolTip& tips, const char* title, int showMs,
                std::initializer_list<Tip> expected) {
    EXPECT_EQ(tips.GetTitle(), title);
    EXPECT_EQ(tips.GetTitleIcon(), TTI_INFO);
    EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), showMs);
    EXPECT_EQ(tips.GetDelayTime(TTDT_RESHOW), 0);
    EXPECT_EQ(tips.GetTipTextColor(), Rgb(204, 48, 45));
    EXPECT_EQ(tips.GetToolCount(), static_cast<int>(expected.size()));
    for (const Tip& tip : expected) {
        platform::window::Window* tool =
            tip.tool == DIALOG_ITSELF ? &dialog : dialog.GetDlgItem(tip.tool);
        ASSERT_NE(tool, nullptr) << tip.tool;
        EXPECT_EQ(tips.GetText(tool), tip.text) << "tool " << tip.tool;
    }
}

TEST(DialogTips, NetworkDialog) {
    dialogs::CNetCfgDlgSkined dialog;
    RunModal(dialog, [&] {
        ExpectTips(
            dialog, dialog.ToolTip(), "Network Configuration Dialog", 8000,
            {
                {1056, "Turn Internet Group Management Protocol On/Off"},
                {1028,
                 "Enter the IP address for the receiver\n Note: Make sure the address is local to "
                 "your network \n so that further configuration messages can be sent to the "
                 "receiver"},
                {1029, "Enter the Subnet Mask to be used by the receiver in Forwarding decisions"},
                {1030, "Enter the address of the Default gateway that the receiver should use"},
                {2, "Discard the Settings and close this dialog box"},
                {1034,
                 "A copy of the device status will be sent to that unicast address \n Enter "
                 "255.255.255.255 to disable that feature"},
                {DIALOG_ITSELF,
                 "Enter the network settings for the R40\n Click check mark to apply settings or "
                 "'X' to cancel \n Note: you have to close this dialog box before using the "
                 "console further "},
                {1,
                 "Apply the settings to the device \n Note: For further configuration messages "
                 "to reach the device \n the network settings should make the receiver local to "
                 "the configuring machine"},
            });
        dialog.EndDialog(IDCANCEL);
    });
}

TEST(DialogTips, ContentDialog) {
    dialogs::CContentSelectDlg dialog(TYPE_R40_TREVAN);
    TrevanPidListRecord list{};
    dialog.AttachPidList(&list);
    RunModal(dialog, [&] {
        ExpectTips(
            dialog, dialog.ToolTip(), "Content Selection Dialog", 6000,
            {
                {1048, "Remove the Selected PID From the List"},
                {1047, "Add the Program ID in the text box to the List"},
                {1051, "Clears the PID List \n All Programs in the List are deleted"},
                {1, "Apply the selected PID List to the Active Device"},
                {2, "Discard the List and close this dialog box"},
                {1043,
                 "Enter the Program ID then press the Arrow button to Add it \n Use the check "
                 "boxes to switch between decimal and hexdecimal input modes \n Hexadecimal "
                 "input can be preceded with 0x "},
                {DIALOG_ITSELF,
                 "Add the programs that carry data services to the list\n These programs will be "
                 "passed by the R40 \n Click check mark to apply settings or 'X' to cancel \n "
                 "Note: you have to close this dialog box before using the console further "},
                {1050, "The list of programs that the R40 should pass"},
                {1084,
                 "Select whether or not this is a Video PID, and configure\n the forwarding "
                 "information."},
            });
        dialog.EndDialog(IDCANCEL);
    });
}

TEST(DialogTips, VideoPidDialog) {
    dialogs::CConfVideoPIDDlg dialog;
    dialog.SetTarget(481, {239, 1, 1, 1}, 5000);
    RunModal(dialog, [&] {
        ExpectTips(dialog, dialog.ToolTip(), "Video PID Configuration Dialog", 6000,
                   {
                       {1, "Save the Video PID settings for the selected PID"},
                       {2, "Discard the Video PID settings and close this dialog box"},
                       {1086, "Enter the Destination IP address for the Video PID."},
                       {1088, "Enter the Destination UDP port for the Video PID."},
                       {DIALOG_ITSELF,
                        "Enter the Destination IP address and UDP port for the video PID \n Click "
                        "check mark to apply settings or 'X' to cancel \n Note: you have to close "
                        "this dialog box before using the console further "},
                   });
        dialog.EndDialog(IDCANCEL);
    });
}

TEST(DialogTips, LoadSaveDialog) {
    dialogs::CLoadSaveConfiguration dialog;
    RunModal(dialog, [&] {
        ExpectTips(dialog, dialog.ToolTip(), "Load Save Dialog", 5000,
                   {
                       {DIALOG_ITSELF,
                        "Select the operation that you want \n Select the file name and \n click "
                        "on the check mark to perform the operation \n Note: If you press 'ESC' "
                        "the dialog will close and the operation will be canceled "},
                       {1064, "Open a file selection dialog"},
                       {2, "Discard the selection and close this dialog box"},
                       {1, "Perform the selected operation \n on the specified file name"},
                   });
        dialog.EndDialog(IDCANCEL);
    });
}

}  // namespace
