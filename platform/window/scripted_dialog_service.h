// A dialog service for tests: it records every message box and file dialog
// asked for and answers from a script instead of showing anything.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/window/dialog_service.h"

namespace platform::window {

class ScriptedDialogService : public DialogService {
  public:
    // Answers for the next boxes, in order. Without a scripted answer a
    // message box is closed with its first button (IDOK, IDYES or IDRETRY)
    // and a file dialog is cancelled.
    void AnswerMessageBox(int buttonId) { m_boxAnswers.push_back(buttonId); }
    void AnswerFileDialog(std::optional<std::string> path) {
        m_fileAnswers.push_back(std::move(path));
    }

    // Called while a box is "open", before it is answered: lets a test look
    // at the window behind it.
    void OnMessageBox(std::function<void(const MessageBoxRequest&)> watcher) {
        m_boxWatcher = std::move(watcher);
    }

    const std::vector<MessageBoxRequest>& MessageBoxes() const { return m_boxes; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }

    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;

  private:
    std::deque<int> m_boxAnswers;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::function<void(const MessageBoxRequest&)> m_boxWatcher;
    std::vector<MessageBoxRequest> m_boxes;
    std::vector<FileDialogRequest> m_fileDialogs;
};

}  // namespace platform::window
