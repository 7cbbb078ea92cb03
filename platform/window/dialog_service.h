// Message boxes and the file open/save dialog go through a service so that
// tests can replace the real modal boxes with scripted answers: no test ever
// waits on a box that nobody will close.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/window_handle.h"

namespace platform::window {

struct MessageBoxRequest {
    WindowHandle owner;  // null: no owner window
    std::string text;    // UTF-8, as every text below
    std::string caption;
    unsigned type = 0;  // MB_* buttons and icon bits
};

struct FileDialogRequest {
    WindowHandle owner;
    bool open = true;              // open dialog; false: save dialog
    std::string filter;            // "Name|*.ext|Other|*.*||" form
    std::string defaultExtension;  // without the dot, e.g. "xml"
    std::string fileName;          // start name, may be empty
    unsigned flags = 0;            // OFN_* bits
};

class DialogService {
  public:
    virtual ~DialogService() = default;
    // Returns the id of the button that closed the box (IDOK, IDYES, ...).
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Returns the full path chosen (UTF-8), or nullopt when the operator
    // cancelled.
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
};

// The service installed last, else the window system's own boxes.
DialogService& CurrentDialogService();
// The window system's own boxes (the backend provides them).
DialogService& NativeDialogService();

class ScopedDialogService {
  public:
    explicit ScopedDialogService(DialogService& service);
    ~ScopedDialogService();
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;

  private:
    DialogService* m_previous;
};

// One entry of a file dialog's filter: what the operator reads and the
// patterns it stands for ("*.xml"; "*.*" for every file).
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;
    bool operator==(const FileFilter&) const = default;
};

// Pairs of description and ';'-separated patterns, ended by an empty field
// ("||"). A description without patterns matches every file ("*.*"); a
// description without its pattern field is dropped.
std::vector<FileFilter> ParseFileFilter(std::string_view filter);

}  // namespace platform::window
