// The real message boxes and file dialogs, shown with Qt and run modally.
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "platform/window/dialog_service.h"
#include "platform/window/file_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/message_event.h"
#include "platform/window/window_handle.h"

namespace platform::window {

namespace {

// The owner's window while it lives; a box without one stands alone.
QWidget* OwnerWidget(WindowHandle owner) {
    return qobject_cast<QWidget*>(LookupWindow(owner));
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Qt's name filters: "Name (*.a *.b)", "*" for every file.
QStringList QtNameFilters(std::string_view filter) {
    QStringList result;
    for (const FileFilter& entry : ParseFileFilter(filter)) {
        QStringList patterns;
        for (const std::string& pattern : entry.patterns)
            patterns << (pattern == "*.*" ? QStringLiteral("*") : ToQString(pattern));
        result << QStringLiteral("%1 (%2)").arg(ToQString(entry.name),
                                                patterns.join(QLatin1Char(' ')));
    }
    return result;
}

class QtDialogService : public DialogService {
  public:
    int ShowMessageBox(const MessageBoxRequest& request) override {
        QMessageBox box(OwnerWidget(request.owner));
        box.setWindowTitle(ToQString(request.caption));
        box.setText(ToQString(request.text));
        box.setIcon(IconOf(request.type));
        switch (request.type & MB_TYPEMASK) {
            case MB_OKCANCEL:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            case MB_YESNOCANCEL:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                break;
            case MB_YESNO:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            case MB_RETRYCANCEL:
                box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
                break;
            default:
                box.setStandardButtons(QMessageBox::Ok);
                break;
        }
        switch (box.exec()) {
            case QMessageBox::Ok:
                return IDOK;
            case QMessageBox::Yes:
                return IDYES;
            case QMessageBox::No:
                return IDNO;
            case QMessageBox::Retry:
                return IDRETRY;
            default:
                return IDCANCEL;
        }
    }

    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override {
        QFileDialog dialog(OwnerWidget(request.owner));
        dialog.setNameFilters(QtNameFilters(request.filter));
        dialog.setDefaultSuffix(ToQString(request.defaultExtension));
        if (request.open) {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                        : QFileDialog::AnyFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite,
                             (request.flags & OFN_OVERWRITEPROMPT) == 0);
        }
        if (!request.fileName.empty()) dialog.selectFile(ToQString(request.fileName));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return std::nullopt;
        return ToUtf8(chosen.front());
    }
};

}  // namespace

DialogService& NativeDialogService() {
    static QtDialogService real;
    return real;
}

}  // namespace platform::window
