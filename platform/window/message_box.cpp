#include "platform/window/message_box.h"

#include <QApplication>
#include <QFileInfo>

#include "platform/window/dialog_service.h"

namespace platform::window {

QString ApplicationName() {
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty()) return name;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned type) {
    return CurrentDialogService().ShowMessageBox(MessageBoxRequest{owner, text, caption, type});
}

int AfxMessageBox(const QString& text, unsigned type) {
    // Owned by the active window, as the framework does, so the box stays on top.
    return MessageBox(QApplication::activeWindow(), text, ApplicationName(), type);
}

}  // namespace platform::window
