// Template 162: the content selection dialog (CContentSelectDlg), 162 x 99,
// Arial 9, a modal pop-up without caption. OK is the default button, so
// Enter in the PID entry confirms the dialog.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 99, IDB_DIALOG_BACKGROUND),
    Label(IDC_CONTENT_PID_LABEL, 8, 10, 52, 8, "Enter PID Value"),
    Edit(IDC_CONTENT_PID_ENTRY, 8, 24, 52, 12, pw::ES_CENTER | pw::ES_AUTOHSCROLL | pw::WS_BORDER),
    OwnerDrawCheckBox(IDC_CONTENT_DECIMAL, 8, 39, 10, 10),
    Label(IDC_CONTENT_DECIMAL_LABEL, 22, 40, 32, 8, "Decimal"),
    OwnerDrawCheckBox(IDC_CONTENT_HEX, 8, 50, 10, 10),
    Label(IDC_CONTENT_HEX_LABEL, 22, 51, 42, 8, "HexDecimal"),
    FlatBitmapButton(IDC_CONTENT_ADD, 69, 15, 18, 12, IDB_ADD_ARROW),
    FlatBitmapButton(IDC_CONTENT_REMOVE, 69, 31, 18, 12, IDB_REMOVE),
    FlatBitmapButton(IDC_CONTENT_CLEAR, 69, 50, 18, 12, IDB_CLEAR),
    ListBox(IDC_CONTENT_PID_LIST, 98, 6, 56, 46,
            pw::LBS_SORT | pw::LBS_NOTIFY | pw::WS_VSCROLL | pw::WS_BORDER),
    Frame(IDC_CONTENT_VIDEO_FRAME, 99, 56, 56, 18, pw::SS_BLACKFRAME | pw::SS_SUNKEN),
    Label(IDC_CONTENT_VIDEO_LABEL, 102, 57, 32, 16, "Video PID", pw::SS_CENTER),
    OwnerDrawCheckBox(IDC_CONTENT_VIDEO_PID, 140, 59, 10, 10),
    Label(IDC_CONTENT_MESSAGE, 4, 70, 88, 26, ""),
    FlatBitmapButton(pw::IDOK, 118, 80, 14, 14, IDB_CHECK_MARK, pw::BS_DEFPUSHBUTTON),
    FlatBitmapButton(pw::IDCANCEL, 140, 80, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate CONTENT_SELECT =
    Dialog(IDD_CONTENT_SELECT, MODAL, 0, 162, 99, CONTROLS);

}  // namespace res::templates
