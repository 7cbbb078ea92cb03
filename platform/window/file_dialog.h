// The common file dialog: open or save, a filter string of the
// "Name|*.ext|...||" form, a default extension and OFN_* flags. Runs
// through the current dialog service.
#pragma once

#include <string>
#include <string_view>

#include "platform/window/window_handle.h"

namespace platform::window {

inline constexpr unsigned OFN_READONLY = 0x00000001;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr unsigned OFN_HIDEREADONLY = 0x00000004;
inline constexpr unsigned OFN_NOCHANGEDIR = 0x00000008;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr unsigned OFN_EXPLORER = 0x00080000;
inline constexpr unsigned OFN_ENABLESIZING = 0x00800000;

class FileDialog {
  public:
    // Texts are UTF-8.
    FileDialog(bool openFileDialog, std::string_view defaultExtension, std::string_view fileName,
               unsigned flags, std::string_view filter, WindowHandle parent);

    // IDOK when the operator chose a file, IDCANCEL otherwise.
    int DoModal();
    // The full path chosen; empty before a confirmed run.
    const std::string& GetPathName() const { return m_path; }

  private:
    bool m_open;
    std::string m_defaultExtension;
    std::string m_fileName;
    unsigned m_flags;
    std::string m_filter;
    WindowHandle m_parent;
    std::string m_path;
};

}  // namespace platform::window
