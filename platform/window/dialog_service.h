// Message boxes and the file open/save dialog go through a service so that
// tests can replace the real modal boxes with scripted answers: no test ever
// waits on a box that nobody will close.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

namespace platform::window {

struct MessageBoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned type = 0;  // MB_* buttons and icon bits
};

struct FileDialogRequest {
    QWidget* owner = nullptr;
    bool open = true;          // open dialog; false: save dialog
    QString filter;            // "Name|*.ext|Other|*.*||" form
    QString defaultExtension;  // without the dot, e.g. "xml"
    QString fileName;          // start name, may be empty
    unsigned flags = 0;        // OFN_* bits
};

class DialogService {
  public:
    virtual ~DialogService() = default;
    // Returns the id of the button that closed the box (IDOK, IDYES, ...).
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Returns the full path chosen, or nullopt when the operator cancelled.
    virtual std::optional<QString> ShowFileDialog(const FileDialogRequest& request) = 0;
};

// The service in use: the one installed last, else the real Qt boxes.
DialogService& CurrentDialogService();

// Installs a service for its own lifetime, restoring the previous one after.
class ScopedDialogService {
  public:
    explicit ScopedDialogService(DialogService& service);
    ~ScopedDialogService();
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;

  private:
    DialogService* m_previous;
};

// Qt's name filters for a filter string of the "Name|*.a;*.b|...||" form:
// {"Name (*.a *.b)", ...}; "*.*" becomes "*" so that every file matches.
QStringList ParseFileFilter(const QString& filter);

}  // namespace platform::window
