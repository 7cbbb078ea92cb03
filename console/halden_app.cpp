#include "console/halden_app.h"

#include "console/halden_dlg.h"

namespace console {

int CHaldenApp::InitInstance() {
    CHaldenDlg dialog;
    dialog.DoModal();
    return 0;
}

}  // namespace console
