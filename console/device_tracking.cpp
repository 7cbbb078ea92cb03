// Keeping the device list current, opening the selected device, polling
// its status and noticing when it has gone. Everything that can block runs
// on a worker; workers report by posted messages and touch nothing of the
// window but its atomic flags.

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

#include "console/config_sub_menue.h"
#include "console/console_messages.h"
#include "console/device_text.h"
#include "console/halden_dlg.h"
#include "console/status_panel.h"
#include "console/worker_reports.h"
#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/system_metrics.h"
#include "platform/window/worker_thread.h"
#include "skin/ani_logo.h"
#include "skin/transparent_static.h"

namespace console {

namespace window = platform::window;

namespace {

const std::string DEVICE_REMOVED = "R40 Management Console \n Selected Device Removed";

// What the R40 family's status lacks (a signal percentage) and the T22
// family's (an SNR).
constexpr float NO_SNR = std::numeric_limits<float>::quiet_NaN();
constexpr int NO_PERCENT = -1;

// A selected device may be missing from one pass; the second miss in a row
// removes it.
constexpr int MISS_ALLOWANCE = 2;

}  // namespace

std::size_t PolledRecordSize(std::uint16_t type) {
    // The Trevan and the T22CA are opened but never polled.
    if (type == TYPE_TREVAN || type == TYPE_T22CA) return 0;
    return devicelib::StatusRecordSize(type);
}

void CHaldenDlg::OnTimer(int id) {
    switch (id) {
        case TIMER_DISCOVERY:
            FreeRetiredMenus();
            if (!m_discoveryRunning) StartDiscoveryWorker();
            break;
        case TIMER_STATUS_POLL:
            if (m_pollEnabled && !m_pollBusy) StartStatusPollWorker();
            break;
        case TIMER_LOGO:
            if (m_logo != nullptr) m_logo->Animate();
            break;
        case TIMER_ALARM_SUMMARY:
            OnAlarmSummaryTimer();
            break;
        default:
            window::Dialog::OnTimer(id);
    }
}

// ---- Discovery -------------------------------------------------------------------

DeviceList CHaldenDlg::KnownDevices() const {
    DeviceList known{};
    auto add = [&known](const DeviceInfo& entry) {
        if (known.count >= MAX_DEVICES) return;
        for (int i = 0; i < known.count; ++i)
            if (std::memcmp(known.entries[i].mac, entry.mac, 6) == 0) return;
        known.entries[known.count++] = entry;
    };
    if (m_selectedKey != NO_DEVICE_KEY) add(m_selectedEntry);
    for (const DeviceList* list : {&m_deviceList, &m_previousDeviceList})
        for (int i = 0; i < std::min<int>(list->count, MAX_DEVICES); ++i) add(list->entries[i]);
    return known;
}

void CHaldenDlg::StartDiscoveryWorker() {
    m_discoveryRunning = true;
    // Receivers the operator has seen keep their place in the list when
    // newcomers (forged ones, too) would fill it: the selected one, and
    // those of the last two passes (a receiver missed once is still known).
    const DeviceList known = KnownDevices();
    const bool started = window::BeginWorkerThread(
        [this, known](window::WindowHandle handle) {
            // A console killed during a network change left its host route and
            // neighbour entry behind; they go before the first pass.
            static std::once_flag staleRoutesRemoved;
            std::call_once(staleRoutesRemoved, [] { RemoveStaleRoutes(); });
            // While the operator has the list dropped down, the pass is skipped.
            if (!m_deviceListInUse) {
                auto report = std::make_unique<DiscoveryReport>();
                DiscoverDevicesKeeping(&report->list, &known, &report->refused);
                window::PostMessage(handle, WM_DISCOVERY_DONE, 0, 0, std::move(report));
            }
            m_discoveryRunning = false;
        },
        Handle());
    if (!started) m_discoveryRunning = false;
}

std::intptr_t CHaldenDlg::OnDiscoveryDone(window::Message& message) {
    std::unique_ptr<DiscoveryReport> report = message.payload.Take<DiscoveryReport>();
    if (!report || m_deviceListInUse) return 0;
    ++m_discoveryPasses;
    m_previousDeviceList = m_deviceList;
    m_deviceList = report->list;
    // The list is a packed record: its count is read by value, never bound to
    // a reference (std::min takes references).
    const std::uint16_t heard = m_deviceList.count;
    m_deviceList.count = std::min<std::uint16_t>(heard, MAX_DEVICES);
    KeepSelectedWhileItAnswers();
    m_deviceListInUse = true;
    RefillDeviceList();
    m_deviceListInUse = false;
    return 0;
}

void CHaldenDlg::KeepSelectedWhileItAnswers() {
    const bool answered = m_statusSincePass;
    m_statusSincePass = false;
    if (m_selectedKey == NO_DEVICE_KEY || !answered) return;
    for (int i = 0; i < m_deviceList.count; ++i)
        if (DeviceKey(m_deviceList.entries[i].mac) == m_selectedKey) return;
    // The pass did not hear it, yet its status keeps coming: it is there.
    // (A flood can hide it from a pass; its own listener still hears it.)
    if (m_deviceList.count < MAX_DEVICES) ++m_deviceList.count;
    m_deviceList.entries[m_deviceList.count - 1] = m_selectedEntry;
}

void CHaldenDlg::RefillDeviceList() {
    m_deviceCombo->ResetContent();
    for (int i = 0; i < m_deviceList.count; ++i) {
        const DeviceInfo& entry = m_deviceList.entries[i];
        const int item = m_deviceCombo->AddString(DeviceListItemText(entry));
        m_deviceCombo->SetItemData(item, DeviceKey(entry.mac));
    }

    if (m_selectedKey == NO_DEVICE_KEY) {
        m_missCount = MISS_ALLOWANCE;
    } else {
        int found = -1;
        for (int i = 0; i < m_deviceCombo->GetCount() && found < 0; ++i)
            if (m_deviceCombo->GetItemData(i) == m_selectedKey) found = i;
        if (found >= 0) {
            m_deviceCombo->SetCurSel(found);
            m_selectedIndex = found;
            m_selectedEntry = m_deviceList.entries[found];
            m_missCount = MISS_ALLOWANCE;
        } else if (--m_missCount <= 0) {
            OnSelectedDeviceRemoved();
        }
    }
    SizeDropDownList();
}

void CHaldenDlg::SizeDropDownList() {
    const window::Font font = m_deviceCombo->GetFont();
    const int scrollBar = window::GetSystemMetrics(window::SM_CXVSCROLL);
    int widest = 0;
    for (int i = 0; i < m_deviceCombo->GetCount(); ++i)
        widest = std::max(widest, font.TextWidth(m_deviceCombo->GetLBText(i)) + scrollBar);
    m_deviceCombo->SetDroppedWidth(widest + font.TextWidth("0"));
}

void CHaldenDlg::OnSelectedDeviceRemoved() {
    RaiseRemovalAlarm();
    ShowMessage(DEVICE_REMOVED);
    ShowIndicators(false);
    m_selectedKey = NO_DEVICE_KEY;
    SuspendPolling();
    DestroyHistoryPanel();
    DestroyStatusPanel();
    DestroyConfigMenu();
}

// ---- Selection and opening ---------------------------------------------------------

void CHaldenDlg::OnDeviceSelected() {
    const int item = m_deviceCombo->GetCurSel();
    const std::intptr_t key = item >= 0 ? m_deviceCombo->GetItemData(item) : NO_DEVICE_KEY;
    // The placeholder "Device List" and anything not in the list select
    // nothing.
    if (item < 0 || key == NO_DEVICE_KEY || item >= m_deviceList.count) {
        m_deviceListInUse = false;
        return;
    }
    m_selectedKey = static_cast<std::int32_t>(key);
    m_selectedIndex = item;
    const DeviceInfo entry = m_deviceList.entries[item];
    m_selectedEntry = entry;
    m_statusSincePass = false;

    // The open device is let go; a poll still reading it finishes first,
    // and the device closes when that last user is done.
    SuspendPolling();
    m_device.reset();
    m_lastStatus.reset();
    m_deviceState.reset();
    FollowSelection(entry);

    ShowMessage(DeviceDescription(entry.deviceType, entry.mac, entry.address, false));
    m_deviceListInUse = false;
    ShowIndicators(true);
    // An open menu now configures this device, in the PID list form it takes.
    if (m_configMenu) m_configMenu->SetDeviceType(entry.deviceType);

    // Opening waits for the device's first status: on a worker.
    const std::uint64_t generation = ++m_openGeneration;
    m_openPending = true;
    ++m_opensRunning;
    const bool started = window::BeginWorkerThread(
        [this, entry, generation](window::WindowHandle handle) {
            auto report = std::make_unique<OpenReport>();
            report->generation = generation;
            report->entry = entry;
            int32_t result = 0;
            if (DeviceHandle opened = OpenDevice(&entry, OPEN_TIMEOUT_MS, &result)) {
                std::uint16_t type = TYPE_UNRECOGNISED;
                GetDeviceType(opened, &type);
                report->device = std::make_shared<DeviceSession>(opened, generation, type);
            }
            window::PostMessage(handle, WM_DEVICE_OPENED, 0, 0, std::move(report));
            --m_opensRunning;
        },
        Handle());
    if (!started) {
        --m_opensRunning;
        m_openPending = false;
    }
}

std::intptr_t CHaldenDlg::OnDeviceOpened(window::Message& message) {
    std::unique_ptr<OpenReport> report = message.payload.Take<OpenReport>();
    // An open for an earlier selection is let go (and so closed) here.
    if (!report || report->generation != m_openGeneration || m_shutDown) return 0;
    m_openPending = false;
    if (m_selectedKey == NO_DEVICE_KEY || !report->device) return 0;
    m_device = std::move(report->device);
    const DeviceInfo& entry = report->entry;
    ShowMessage(DeviceDescription(entry.deviceType, entry.mac, entry.address, true));
    ResumePolling();
    return 0;
}

// ---- Status polling ----------------------------------------------------------------

void CHaldenDlg::StartStatusPollWorker() {
    SharedDevice device = m_device;
    if (!device) return;
    m_pollBusy = true;
    const bool started = window::BeginWorkerThread(
        [this, device](window::WindowHandle handle) {
            const std::size_t size = PolledRecordSize(device->Type());
            if (m_pollEnabled && size != 0) {
                auto report = std::make_unique<StatusReport>();
                report->generation = device->Generation();
                report->type = device->Type();
                const int32_t rc = device->Use(
                    [&](DeviceHandle h) { return GetDeviceStatus(h, report->record.data()); });
                if (rc == 0) window::PostMessage(handle, WM_STATUS_READY, 1, 0, std::move(report));
            }
            m_pollBusy = false;
        },
        Handle());
    if (!started) m_pollBusy = false;
}

std::intptr_t CHaldenDlg::OnStatusReady(window::Message& message) {
    std::unique_ptr<StatusReport> report = message.payload.Take<StatusReport>();
    if (!report || !m_pollEnabled) return 1;
    // A record of a device opened before is never read as one of this device.
    if (!m_device || report->generation != m_device->Generation()) return 1;
    m_deviceState = ReceiverStateFrom(report->type, report->record);
    m_statusSincePass = true;

    switch (report->type) {
        case TYPE_T22_V2: {
            const auto record = report->As<T22V2StatusRecord>();
            SetIndicators(record.lock != 0, record.dataActivity > 0);
            RecordStatus(record.lock != 0, record.dataActivity > 0, NO_SNR, record.signalPercent);
            break;
        }
        case TYPE_T22_V3: {
            const auto record = report->As<T22V3StatusRecord>();
            SetIndicators(record.lock != 0, record.dataActivity > 0);
            RecordStatus(record.lock != 0, record.dataActivity > 0, NO_SNR, record.signalPercent);
            break;
        }
        case TYPE_R40:
        case TYPE_R40_TREVAN: {
            auto record = std::make_unique<R40StatusRecord>(report->As<R40StatusRecord>());
            SetIndicators(record->lock != 0, record->dataActivity > 0);
            const std::string description =
                DeviceDescription(report->type, record->mac, record->deviceAddress, true);
            // A file operation's message or an alarm stays a while before the
            // description takes the line back.
            if (description != m_messageText && !MessageHeld()) ShowMessage(description);
            if (m_statusPanel) m_statusPanel->UpdateFromStatus(record.get());
            RecordStatus(record->lock != 0, record->dataActivity > 0, record->snr, NO_PERCENT);
            m_lastStatus = std::move(record);
            break;
        }
        default:
            break;
    }
    return 0;
}

// ---- Indicators --------------------------------------------------------------------

void CHaldenDlg::ShowIndicators(bool show) {
    for (window::ButtonControl* indicator : {m_lockIndicator, m_dataIndicator})
        if (indicator != nullptr) indicator->ShowWindow(show ? window::SW_SHOW : window::SW_HIDE);
    for (skin::CTransparentStatic* label : {m_lockLabel, m_dataLabel})
        if (label != nullptr) label->ShowWindow(show ? window::SW_SHOW : window::SW_HIDE);
}

void CHaldenDlg::SetIndicators(bool locked, bool data) {
    // A status arrives every 600 ms and mostly says what the lights show
    // already: only a change repaints them.
    auto set = [](window::ButtonControl* indicator, const window::Icon& icon) {
        if (!indicator->GetIcon().SharesPictures(icon)) indicator->SetIcon(icon);
    };
    set(m_lockIndicator, locked ? m_iconGreen : m_iconRed);
    set(m_dataIndicator, data ? m_iconGreen : m_iconNoData);
}

}  // namespace console
