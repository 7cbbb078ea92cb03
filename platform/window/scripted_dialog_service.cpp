#include "platform/window/scripted_dialog_service.h"

#include "platform/window/message_box.h"
#include "platform/window/messages.h"

namespace platform::window {

int ScriptedDialogService::ShowMessageBox(const MessageBoxRequest& request) {
    m_boxes.push_back(request);
    if (m_boxWatcher) m_boxWatcher(request);
    if (!m_boxAnswers.empty()) {
        const int answer = m_boxAnswers.front();
        m_boxAnswers.pop_front();
        return answer;
    }
    switch (request.type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return IDYES;
        case MB_RETRYCANCEL:
            return IDRETRY;
        default:
            return IDOK;
    }
}

std::optional<std::string> ScriptedDialogService::ShowFileDialog(const FileDialogRequest& request) {
    m_fileDialogs.push_back(request);
    if (m_fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    return answer;
}

}  // namespace platform::window
