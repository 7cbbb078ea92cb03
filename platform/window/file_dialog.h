// The common file dialog: open or save, a filter string of the
// "Name|*.ext|...||" form, a default extension and OFN_* flags. Runs
// through the current dialog service.
#pragma once

#include <QString>
#include <QWidget>

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
    FileDialog(bool openFileDialog, const QString& defaultExtension, const QString& fileName,
               unsigned flags, const QString& filter, QWidget* parent);

    // IDOK when the operator chose a file, IDCANCEL otherwise.
    int DoModal();
    // The full path chosen; empty before a confirmed run.
    QString GetPathName() const { return m_path; }

  private:
    bool m_open;
    QString m_defaultExtension;
    QString m_fileName;
    unsigned m_flags;
    QString m_filter;
    QWidget* m_parent;
    QString m_path;
};

}  // namespace platform::window
