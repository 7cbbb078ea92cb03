#include "platform/window/dialog_service.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/window/file_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"

namespace platform::window {

namespace {

// The real boxes, shown with Qt and run modally.
class QtDialogService : public DialogService {
  public:
    int ShowMessageBox(const MessageBoxRequest& request) override {
        QMessageBox box(request.owner);
        box.setWindowTitle(request.caption);
        box.setText(request.text);
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

    std::optional<QString> ShowFileDialog(const FileDialogRequest& request) override {
        QFileDialog dialog(request.owner);
        dialog.setNameFilters(ParseFileFilter(request.filter));
        dialog.setDefaultSuffix(request.defaultExtension);
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
        if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.front();
    }

  private:
    static QMessageBox::Icon IconOf(unsigned type) {
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
};

DialogService*& Installed() {
    static DialogService* installed = nullptr;
    return installed;
}

}  // namespace

DialogService& CurrentDialogService() {
    if (Installed() != nullptr) return *Installed();
    static QtDialogService real;
    return real;
}

ScopedDialogService::ScopedDialogService(DialogService& service) : m_previous(Installed()) {
    Installed() = &service;
}

ScopedDialogService::~ScopedDialogService() {
    Installed() = m_previous;
}

QStringList ParseFileFilter(const QString& filter) {
    // Pairs of description and patterns, ended by an empty field ("||").
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString name = fields[i].trimmed();
        if (name.isEmpty()) break;
        QStringList patterns;
        for (const QString& pattern : fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (!p.isEmpty()) patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        result << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return result;
}

}  // namespace platform::window
