// Template 186: the satellite tuning dialog (CSatelliteTuningDlg), 162 x 99
// like the channel dialog it stands in for on a satellite receiver, Arial
// 9, a modal pop-up without caption. OK is the default button, so Enter in
// either box confirms the dialog.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr int OPTION_LABEL = IDC_SAT_OPTION0_LABEL - IDC_SAT_OPTION0;

// Option bits 0 to 2 in the left column, 3 and 4 in the right.
constexpr ControlTemplate OptionBox(int bit) {
    return OwnerDrawCheckBox(IDC_SAT_OPTION0 + 2 * bit, bit < 3 ? 10 : 62, 42 + 12 * (bit % 3), 10,
                             10);
}
constexpr ControlTemplate OptionLabel(int bit, std::string_view text) {
    return Label(IDC_SAT_OPTION0 + 2 * bit + OPTION_LABEL, bit < 3 ? 24 : 76, 43 + 12 * (bit % 3),
                 34, 8, text);
}

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 99, IDB_DIALOG_BACKGROUND),
    Label(IDC_SAT_FREQUENCY_LABEL, 10, 10, 80, 10, "Frequency (MHz)", pw::SS_SUNKEN),
    Edit(IDC_SAT_FREQUENCY, 98, 9, 50, 12, pw::ES_CENTER | pw::ES_AUTOHSCROLL | pw::WS_BORDER),
    Label(IDC_SAT_SYMBOL_RATE_LABEL, 10, 25, 80, 10, "Symbol Rate (Msym/s)", pw::SS_SUNKEN),
    Edit(IDC_SAT_SYMBOL_RATE, 98, 24, 50, 12, pw::ES_CENTER | pw::ES_AUTOHSCROLL | pw::WS_BORDER),
    OptionBox(0),
    OptionLabel(0, "Option 0"),
    OptionBox(1),
    OptionLabel(1, "Option 1"),
    OptionBox(2),
    OptionLabel(2, "Option 2"),
    OptionBox(3),
    OptionLabel(3, "Option 3"),
    OptionBox(4),
    OptionLabel(4, "Option 4"),
    FlatBitmapButton(pw::IDOK, 118, 80, 14, 14, IDB_CHECK_MARK, pw::BS_DEFPUSHBUTTON),
    FlatBitmapButton(pw::IDCANCEL, 140, 80, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate SATELLITE_TUNING =
    Dialog(IDD_SATELLITE_TUNING, MODAL, 0, 162, 99, CONTROLS);

}  // namespace res::templates
