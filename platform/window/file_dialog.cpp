#include "platform/window/file_dialog.h"

#include "platform/window/dialog_service.h"
#include "platform/window/messages.h"

namespace platform::window {

FileDialog::FileDialog(bool openFileDialog, std::string_view defaultExtension,
                       std::string_view fileName, unsigned flags, std::string_view filter,
                       WindowHandle parent)
    : m_open(openFileDialog),
      m_defaultExtension(defaultExtension),
      m_fileName(fileName),
      m_flags(flags),
      m_filter(filter),
      m_parent(parent) {}

int FileDialog::DoModal() {
    const FileDialogRequest request{m_parent,           m_open,     m_filter,
                                    m_defaultExtension, m_fileName, m_flags};
    const std::optional<std::string> chosen = CurrentDialogService().ShowFileDialog(request);
    if (!chosen || chosen->empty()) {
        m_path.clear();
        return IDCANCEL;
    }
    m_path = *chosen;
    return IDOK;
}

}  // namespace platform::window
