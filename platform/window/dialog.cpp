// What a Dialog does the same on every backend: data exchange, bindings,
// message and command maps, the dispatch of commands and owner-drawn
// items, and the default handlers.
#include "platform/window/dialog.h"
#include "platform/window/data_exchange.h"
#include "platform/window/handler_depth.h"

namespace platform::window {

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!m_created) return false;
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailure&) {
        return false;
    }
    return true;
}

void Dialog::AddBinding(std::function<void()> unbind) {
    m_unbinders.push_back(std::move(unbind));
}

Window* Dialog::GetOwnerWindow() const {
    if (Window* owner = FromHandle(m_ownerReference)) return owner;
    return GetParent();
}

void Dialog::MapMessage(unsigned id, MessageHandler handler) {
    m_messageHandlers[id] = std::move(handler);
}

void Dialog::MapCommand(int id, int code, CommandHandler handler) {
    m_commandHandlers[{id, code}] = std::move(handler);
}

void Dialog::DispatchCommand(int id, int code) {
    if (!m_created) return;
    Depth depth(m_dispatchDepth);
    OnCommand(id, code);
}

bool Dialog::DispatchDrawItem(DrawItem& item) {
    if (!m_created) return false;
    Depth depth(m_dispatchDepth);
    return OnDrawItem(item);
}

bool Dialog::OnCommand(int id, int code) {
    const auto found = m_commandHandlers.find({id, code});
    if (found != m_commandHandlers.end()) {
        // A copy: the handler may replace its own entry.
        const CommandHandler handler = found->second;
        handler();
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::IssueDialogCommand(int id) {
    if (Window* control = GetDlgItem(id); control != nullptr && !control->IsWindowEnabled()) return;
    DispatchCommand(id, BN_CLICKED);
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    return true;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnTimer(int) {}

bool Dialog::PreTranslateMessage(const InputMessage&) {
    return false;
}

void Dialog::OnShowWindow(bool) {}

void Dialog::OnMove(int, int) {}

void Dialog::OnClose() {
    IssueDialogCommand(IDCANCEL);
}

void Dialog::OnDestroy() {}

void Dialog::OnCtlColor(Window*, ControlColors&) {}

bool Dialog::OnDrawItem(DrawItem&) {
    return false;
}

}  // namespace platform::window
