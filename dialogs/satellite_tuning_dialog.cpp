#include "dialogs/satellite_tuning_dialog.h"

#include <cmath>

#include "config/tuning_form.h"
#include "dialogs/dialog_look.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"

namespace dialogs {

namespace window = platform::window;

namespace {

constexpr int OPTION_LABEL = res::IDC_SAT_OPTION0_LABEL - res::IDC_SAT_OPTION0;

int OptionBoxId(int bit) {
    return res::IDC_SAT_OPTION0 + 2 * bit;
}

// What the command carries of a value: whole tenths of a MHz, thousandths
// of a Msym/s.
double RoundedTo(double value, double unitsPerValue) {
    return std::floor(value * unitsPerValue + 0.5) / unitsPerValue;
}

}  // namespace

CSatelliteTuningDlg::CSatelliteTuningDlg(std::uint16_t deviceType)
    : window::Dialog(res::FindDialogTemplate(res::IDD_SATELLITE_TUNING)), m_deviceType(deviceType) {
    // The boxes draw on the background picture: what lies under their text
    // is repainted before every change of it.
    for (int id : {res::IDC_SAT_FREQUENCY, res::IDC_SAT_SYMBOL_RATE})
        MapCommand(id, window::EN_UPDATE, [this, id] {
            if (window::Window* edit = GetDlgItem(id)) {
                const window::Rect place = edit->GetPlacement();
                InvalidateRect(
                    window::Rect{place.left + 2, place.top + 2, place.right - 2, place.bottom - 2});
            }
        });
}

CSatelliteTuningDlg::~CSatelliteTuningDlg() {
    DestroyWindow();
}

void CSatelliteTuningDlg::SetStartTuning(const SatelliteTuning& tuning) {
    m_start = tuning;
    m_hasStart = true;
}

bool CSatelliteTuningDlg::GetResult(SatelliteTuning& tuning) const {
    tuning = m_result;
    return m_confirmed;
}

unsigned CSatelliteTuningDlg::OfferedBits() const {
    return config::TuningOptionBitsOf(m_deviceType);
}

void CSatelliteTuningDlg::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_SAT_FREQUENCY, m_frequencyEdit);
    window::DDX_Control(dx, res::IDC_SAT_SYMBOL_RATE, m_symbolRateEdit);
    for (int bit = 0; bit < res::IDC_SAT_OPTION_COUNT; ++bit)
        window::DDX_Control(dx, OptionBoxId(bit), m_optionBoxes[bit]);

    window::DDX_Text(dx, res::IDC_SAT_FREQUENCY, m_frequency, 1);
    if (dx.Saving()) m_frequency = RoundedTo(m_frequency, config::FREQUENCY_UNITS_PER_MHZ);
    window::DDV_MinMaxDouble(dx, m_frequency, config::LOWEST_FREQUENCY_MHZ,
                             config::HIGHEST_FREQUENCY_MHZ);
    window::DDX_Text(dx, res::IDC_SAT_SYMBOL_RATE, m_symbolRate, 3);
    if (dx.Saving()) m_symbolRate = RoundedTo(m_symbolRate, config::SYMBOL_RATE_UNITS_PER_MSPS);
    window::DDV_MinMaxDouble(dx, m_symbolRate, config::LOWEST_SYMBOL_RATE_MSPS,
                             config::HIGHEST_SYMBOL_RATE_MSPS);
}

bool CSatelliteTuningDlg::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);

    // Only the option bits this model sends are offered.
    const unsigned offered = OfferedBits();
    const unsigned startBits = m_hasStart ? config::OptionBitsOf(m_start) : 0u;
    for (int bit = 0; bit < res::IDC_SAT_OPTION_COUNT; ++bit) {
        const bool shown = (offered & (1u << bit)) != 0;
        if (m_optionBoxes[bit] != nullptr) {
            m_optionBoxes[bit]->ShowWindow(shown ? window::SW_SHOW : window::SW_HIDE);
            m_optionBoxes[bit]->SetChecked(shown && (startBits & (1u << bit)) != 0);
        }
        if (window::Window* label = GetDlgItem(OptionBoxId(bit) + OPTION_LABEL))
            label->ShowWindow(shown ? window::SW_SHOW : window::SW_HIDE);
    }

    if (m_hasStart) {
        m_frequency = m_start.frequency;
        m_symbolRate = m_start.symbolRate;
        UpdateData(false);
    }
    return true;
}

void CSatelliteTuningDlg::OnOK() {
    // A refused entry has been reported; the dialog stays open with the
    // entry selected for correction.
    if (!UpdateData(true)) return;
    unsigned bits = 0;
    for (int bit = 0; bit < res::IDC_SAT_OPTION_COUNT; ++bit)
        if (m_optionBoxes[bit] != nullptr && m_optionBoxes[bit]->IsChecked()) bits |= 1u << bit;
    m_result = config::MakeSatelliteTuning(m_frequency, m_symbolRate, bits & OfferedBits());
    m_confirmed = true;
    EndDialog(window::IDOK);
}

void CSatelliteTuningDlg::OnCancel() {
    m_confirmed = false;
    EndDialog(window::IDCANCEL);
}

void CSatelliteTuningDlg::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopRight);
}

void CSatelliteTuningDlg::OnCtlColor(window::Window*, window::ControlColors& colors) {
    GiveSkinTextColour(colors);
}

}  // namespace dialogs
