#include "dialogs/content_select_dialog.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "dialogs/dialog_look.h"
#include "dialogs/entry_number.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "platform/window/images.h"
#include "platform/window/list_box_control.h"
#include "platform/window/message_box.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

namespace dialogs {

namespace window = platform::window;

namespace {

constexpr char DUPLICATE[] = "Entry Already Exists in the List";
constexpr char NOTHING_SELECTED[] =
    "Please Select PID to Remove, Use Clear Button to Clear the List";
constexpr std::string_view LIST_FULL = "The PID list is full (32 entries).";

// A control byte of 1 passes a PID plainly; 0 marks it as a video PID whose
// packets are forwarded to its destination.
constexpr std::uint8_t CONTROL_PLAIN = 1;
constexpr std::uint8_t CONTROL_VIDEO = 0;

PidDestination ToDestination(const Ipv4Address& address, std::uint16_t port) {
    PidDestination destination{};
    std::copy(address.begin(), address.end(), destination.address);
    destination.port = port;
    return destination;
}

}  // namespace

CContentSelectDlg::CContentSelectDlg(std::uint16_t deviceType)
    : window::Dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT)), m_deviceType(deviceType) {
    MapCommand(res::IDC_CONTENT_DECIMAL, window::BN_CLICKED, [this] { OnDecimalBox(); });
    MapCommand(res::IDC_CONTENT_HEX, window::BN_CLICKED, [this] { OnHexBox(); });
    MapCommand(res::IDC_CONTENT_ADD, window::BN_CLICKED, [this] { OnAdd(); });
    MapCommand(res::IDC_CONTENT_REMOVE, window::BN_CLICKED, [this] { OnRemove(); });
    MapCommand(res::IDC_CONTENT_CLEAR, window::BN_CLICKED, [this] { OnClear(); });
    MapCommand(res::IDC_CONTENT_PID_LIST, window::LBN_SELCHANGE, [this] { OnSelectionChange(); });
    MapCommand(res::IDC_CONTENT_VIDEO_PID, window::BN_CLICKED, [this] { OnVideoPidBox(); });
}

CContentSelectDlg::~CContentSelectDlg() {
    DestroyWindow();
}

bool CContentSelectDlg::EditsDestinations() const {
    return m_deviceType == TYPE_R40_TREVAN && m_pidList.HasDestinations();
}

void CContentSelectDlg::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_CONTENT_PID_LABEL, m_pidLabel);
    window::DDX_Control(dx, res::IDC_CONTENT_PID_ENTRY, m_entry);
    window::DDX_Control(dx, res::IDC_CONTENT_DECIMAL, m_decimalBox);
    window::DDX_Control(dx, res::IDC_CONTENT_DECIMAL_LABEL, m_decimalLabel);
    window::DDX_Control(dx, res::IDC_CONTENT_HEX, m_hexBox);
    window::DDX_Control(dx, res::IDC_CONTENT_HEX_LABEL, m_hexLabel);
    window::DDX_Control(dx, res::IDC_CONTENT_ADD, m_addButton);
    window::DDX_Control(dx, res::IDC_CONTENT_PID_LIST, m_list);
    window::DDX_Control(dx, res::IDC_CONTENT_VIDEO_PID, m_videoPidBox);
    window::DDX_Control(dx, res::IDC_CONTENT_MESSAGE, m_message);
}

bool CContentSelectDlg::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);
    SetButtonBitmap(*this, res::IDC_CONTENT_ADD, res::IDB_ADD_ARROW);
    SetButtonBitmap(*this, res::IDC_CONTENT_REMOVE, res::IDB_REMOVE);
    SetButtonBitmap(*this, res::IDC_CONTENT_CLEAR, res::IDB_CLEAR);

    m_decimalBox->SetChecked(true);
    m_decimalMode = true;
    m_hexBox->SetChecked(false);
    m_videoPidBox->SetChecked(false);

    const bool video = EditsDestinations();
    for (const int id :
         {res::IDC_CONTENT_VIDEO_PID, res::IDC_CONTENT_VIDEO_LABEL, res::IDC_CONTENT_VIDEO_FRAME})
        if (window::Window* control = GetDlgItem(id))
            control->ShowWindow(video ? window::SW_SHOW : window::SW_HIDE);

    // A count from a file or a receiver is held to what the record holds.
    const std::int32_t count = std::clamp<std::int32_t>(m_pidList.Count(), 0, MAX_PIDS);
    // The forwarding form is edited in place from here on; the standard
    // form is written only on OK.
    if (video) m_pidList.SetCount(count);
    m_list->ResetContent();
    for (int slot = 0; slot < count; ++slot) AddListEntry(m_pidList.Pid(slot));

    SetUpToolTips(
        m_toolTip, *this, "Content Selection Dialog", 6000,
        {
            {GetDlgItem(res::IDC_CONTENT_REMOVE), "Remove the Selected PID From the List"},
            {m_addButton, "Add the Program ID in the text box to the List"},
            {GetDlgItem(res::IDC_CONTENT_CLEAR),
             "Clears the PID List \n All Programs in the List are deleted"},
            {GetDlgItem(window::IDOK), "Apply the selected PID List to the Active Device"},
            {GetDlgItem(window::IDCANCEL), "Discard the List and close this dialog box"},
            {GetDlgItem(res::IDC_CONTENT_PID_ENTRY),
             "Enter the Program ID then press the Arrow button to Add it \n Use the check boxes "
             "to switch between decimal and hexdecimal input modes \n Hexadecimal input can be "
             "preceded with 0x "},
            {this,
             "Add the programs that carry data services to the list\n These programs will be "
             "passed by the R40 \n Click check mark to apply settings or 'X' to cancel \n Note: "
             "you have to close this dialog box before using the console further "},
            {GetDlgItem(res::IDC_CONTENT_PID_LIST),
             "The list of programs that the R40 should pass"},
            {m_videoPidBox,
             "Select whether or not this is a Video PID, and configure\n the forwarding "
             "information."},
        });
    return true;
}

// ---- Entry modes -------------------------------------------------------------

void CContentSelectDlg::OnDecimalBox() {
    if (m_decimalMode) {
        m_decimalBox->SetChecked(true);  // the press unchecked it
        return;
    }
    m_decimalMode = true;
    m_entryText = m_entry->GetText();
    m_entry->SetText(std::to_string(ParseEntryNumber(m_entryText, 16)));
    m_hexBox->SetChecked(false);
}

void CContentSelectDlg::OnHexBox() {
    if (!m_decimalMode) {
        m_hexBox->SetChecked(true);
        return;
    }
    m_decimalMode = false;
    m_entryText = m_entry->GetText();
    // A negative number shows as its 32-bit two's complement, as "%X" does.
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X",
                  static_cast<unsigned>(ParseEntryNumber(m_entryText, 10)));
    m_entry->SetText(hex);
    m_decimalBox->SetChecked(false);
}

// ---- Add, Remove, Clear --------------------------------------------------------

void CContentSelectDlg::OnAdd() {
    m_entryText = m_entry->GetText();
    const std::int32_t value = ParseEntryNumber(m_entryText, m_decimalMode ? 10 : 16);
    if (value < MIN_PID || value > MAX_PID) {
        window::AfxMessageBox("Please enter a PID number between " + std::to_string(MIN_PID) +
                                  " and " + std::to_string(MAX_PID) + ".",
                              window::MB_OK);
        return;
    }
    const auto pid = static_cast<std::uint16_t>(value);
    if (ListHolds(pid)) {
        ShowMessage(DUPLICATE);
        return;
    }
    // The record has 32 slots: a 33rd entry is refused before anything
    // changes, in the list or in the record.
    std::optional<int> slot;
    if (EditsDestinations()) slot = FreeSlot();
    if (m_list->GetCount() >= MAX_PIDS || (EditsDestinations() && !slot)) {
        window::AfxMessageBox(LIST_FULL, window::MB_OK);
        return;
    }

    AddListEntry(pid);
    if (m_list->GetCount() > ADD_BUTTON_LIMIT)
        m_addButton->ShowWindow(window::SW_HIDE);  // for the rest of the run

    if (slot) {
        m_pidList.SetCount(m_pidList.Count() + 1);
        m_pidList.SetPid(*slot, pid);
        m_pidList.SetControl(*slot, CONTROL_PLAIN);
        m_pidList.SetDestination(*slot, PidDestination{});
        m_videoPidBox->SetChecked(false);
    }
}

void CContentSelectDlg::OnRemove() {
    const int selected = m_list->GetCurSel();
    const std::optional<std::uint16_t> pid = SelectedPid();
    if (!pid) {
        ShowMessage(NOTHING_SELECTED);
        return;
    }
    if (EditsDestinations()) {
        for (int slot = 0; slot < MAX_PIDS; ++slot) {
            if (m_pidList.Pid(slot) == *pid) {
                // The control byte stays; the slot is reused by the next Add
                // or closed up on OK.
                m_pidList.SetCount(m_pidList.Count() - 1);
                m_pidList.SetPid(slot, PID_REMOVED);
                m_pidList.SetDestination(slot, PidDestination{});
                break;
            }
            if (slot >= m_pidList.Count() && m_pidList.Pid(slot) == NULL_PID) break;
        }
        m_videoPidBox->SetChecked(false);
    }
    m_list->DeleteString(selected);
}

void CContentSelectDlg::OnClear() {
    m_list->ResetContent();
    if (!EditsDestinations()) return;
    for (int slot = 0; slot < MAX_PIDS && m_pidList.Count() > 0; ++slot) {
        const std::uint16_t pid = m_pidList.Pid(slot);
        if (pid == PID_REMOVED || pid == NULL_PID) continue;
        m_pidList.SetCount(m_pidList.Count() - 1);
        m_pidList.SetPid(slot, NULL_PID);
        m_pidList.SetDestination(slot, PidDestination{});
    }
    m_videoPidBox->SetChecked(false);
}

// ---- Video PIDs ----------------------------------------------------------------

void CContentSelectDlg::OnSelectionChange() {
    if (!EditsDestinations()) return;
    const std::optional<std::uint16_t> pid = SelectedPid();
    if (!pid) return;
    for (int slot = 0; slot < MAX_PIDS; ++slot) {
        if (m_pidList.Pid(slot) != *pid) continue;
        if (IsNoDestination(m_pidList.Destination(slot))) {
            m_videoPidBox->SetChecked(false);
            continue;
        }
        // A PID with a destination opens its dialog at once; the box stays
        // checked whatever the operator does there.
        m_videoPidBox->SetChecked(true);
        if (const std::optional<PidDestination> entered = AskDestination(slot))
            m_pidList.SetDestination(slot, *entered);
    }
}

void CContentSelectDlg::OnVideoPidBox() {
    if (!EditsDestinations()) return;
    const std::optional<std::uint16_t> pid = SelectedPid();
    int slot = 0;
    while (pid && slot < MAX_PIDS && m_pidList.Pid(slot) != *pid) ++slot;
    if (!pid || slot == MAX_PIDS) {
        m_videoPidBox->SetChecked(false);
        return;
    }
    if (!m_videoPidBox->IsChecked()) {
        m_pidList.SetDestination(slot, PidDestination{});
        m_pidList.SetControl(slot, CONTROL_PLAIN);
        return;
    }
    if (const std::optional<PidDestination> entered = AskDestination(slot)) {
        m_pidList.SetDestination(slot, *entered);
        m_pidList.SetControl(slot, CONTROL_VIDEO);
        return;
    }
    m_videoPidBox->SetChecked(false);
    m_pidList.SetDestination(slot, PidDestination{});
    m_pidList.SetControl(slot, CONTROL_PLAIN);
}

std::optional<PidDestination> CContentSelectDlg::AskDestination(int slot) {
    const PidDestination current = m_pidList.Destination(slot);
    CConfVideoPIDDlg dialog;
    dialog.SetOwnerReference(Handle());
    dialog.SetTarget(
        m_pidList.Pid(slot),
        Ipv4Address{current.address[0], current.address[1], current.address[2], current.address[3]},
        current.port);
    dialog.DoModal();
    if (!dialog.IsConfirmed()) return std::nullopt;
    Ipv4Address address{};
    std::uint16_t port = 0;
    dialog.GetDestination(address, port);
    return ToDestination(address, port);
}

// ---- OK and Cancel ---------------------------------------------------------------

void CContentSelectDlg::OnOK() {
    m_confirmed = true;
    if (EditsDestinations())
        CloseGaps();
    else
        RebuildFromList();
    EndDialog(window::IDOK);
}

void CContentSelectDlg::CloseGaps() {
    for (int i = 0; i < m_pidList.Count() && i < MAX_PIDS; ++i) {
        if (m_pidList.Pid(i) != PID_REMOVED) continue;
        int j = i + 1;
        while (j < MAX_PIDS && m_pidList.Pid(j) == PID_REMOVED) ++j;
        if (j == MAX_PIDS) continue;
        m_pidList.SetPid(i, m_pidList.Pid(j));
        m_pidList.SetControl(i, m_pidList.Control(j));
        m_pidList.SetDestination(i, m_pidList.Destination(j));
        m_pidList.SetPid(j, PID_REMOVED);
        m_pidList.SetDestination(j, PidDestination{});
    }
}

void CContentSelectDlg::RebuildFromList() {
    if (!m_pidList.IsAttached()) return;
    // A forwarding form edited without destinations keeps each PID's own
    // destination as the list is written back in a new order.
    std::map<std::uint16_t, PidDestination> destinations;
    const std::int32_t count = std::clamp<std::int32_t>(m_pidList.Count(), 0, MAX_PIDS);
    for (int slot = count - 1; slot >= 0; --slot)
        destinations[m_pidList.Pid(slot)] = m_pidList.Destination(slot);

    const int entries = std::min(m_list->GetCount(), MAX_PIDS);
    m_pidList.SetCount(entries);
    for (int i = 0; i < entries; ++i) {
        const auto pid = static_cast<std::uint16_t>(m_list->GetItemData(i));
        m_pidList.SetPid(i, pid);
        m_pidList.SetControl(i, CONTROL_PLAIN);
        const auto found = destinations.find(pid);
        m_pidList.SetDestination(i, found != destinations.end() ? found->second : PidDestination{});
    }
}

void CContentSelectDlg::OnCancel() {
    EndDialog(window::IDCANCEL);
}

// ---- The rest --------------------------------------------------------------------

void CContentSelectDlg::AddListEntry(std::uint16_t pid) {
    char text[32];
    std::snprintf(text, sizeof text, "%d (0x%X)", int{pid}, unsigned{pid});
    const int index = m_list->AddString(text);
    if (index >= 0) m_list->SetItemData(index, pid);
}

bool CContentSelectDlg::ListHolds(std::uint16_t pid) const {
    for (int i = 0; i < m_list->GetCount(); ++i)
        if (m_list->GetItemData(i) == pid) return true;
    return false;
}

std::optional<std::uint16_t> CContentSelectDlg::SelectedPid() const {
    const int selected = m_list->GetCurSel();
    if (selected == window::LB_ERR) return std::nullopt;
    return static_cast<std::uint16_t>(m_list->GetItemData(selected));
}

std::optional<int> CContentSelectDlg::FreeSlot() const {
    for (int slot = 0; slot < MAX_PIDS; ++slot) {
        const std::uint16_t pid = m_pidList.Pid(slot);
        if (pid == PID_REMOVED || (slot >= m_pidList.Count() && pid == NULL_PID)) return slot;
    }
    return std::nullopt;
}

void CContentSelectDlg::ShowMessage(std::string_view text) {
    m_message->SetText(text);
    SetTimer(TIMER_MESSAGE_CLEAR, MESSAGE_CLEAR_MS);  // a new message starts the time again
}

void CContentSelectDlg::OnTimer(int id) {
    if (id != TIMER_MESSAGE_CLEAR) return;
    KillTimer(TIMER_MESSAGE_CLEAR);
    m_message->SetText("");
}

void CContentSelectDlg::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopRight);
}

void CContentSelectDlg::OnDestroy() {
    // The record is the caller's; this run is over with it.
    m_pidList = PidListSlots();
    window::Dialog::OnDestroy();
}

bool CContentSelectDlg::PreTranslateMessage(const window::InputMessage& message) {
    m_toolTip.RelayEvent(message);
    return window::Dialog::PreTranslateMessage(message);
}

void CContentSelectDlg::OnCtlColor(window::Window* control, window::ControlColors& colors) {
    GiveSkinTextColour(colors);
    // The video PID label and its frame blend with the background picture.
    const int id = control != nullptr ? control->GetDlgCtrlID() : -1;
    if (id == res::IDC_CONTENT_VIDEO_LABEL || id == res::IDC_CONTENT_VIDEO_FRAME)
        colors.background = window::LoadBitmap(res::IDB_DIALOG_BACKGROUND);
}

}  // namespace dialogs
