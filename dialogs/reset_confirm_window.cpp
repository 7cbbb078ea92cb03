#include "dialogs/reset_confirm_window.h"

#include "dialogs/dialog_look.h"
#include "platform/window/data_exchange.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/transparent_static.h"

namespace dialogs {

namespace window = platform::window;

CResetConfirmWindow::CResetConfirmWindow()
    : window::Dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM)) {}

CResetConfirmWindow::~CResetConfirmWindow() {
    DestroyWindow();
}

void CResetConfirmWindow::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_RESET_QUESTION, m_question);
}

bool CResetConfirmWindow::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);
    return true;
}

void CResetConfirmWindow::OnOK() {
    EndDialog(window::IDOK);
}

void CResetConfirmWindow::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopRight);
}

}  // namespace dialogs
