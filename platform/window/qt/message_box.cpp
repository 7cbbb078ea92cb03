#include "platform/window/message_box.h"

#include <QApplication>
#include <QFileInfo>

#include "platform/window/dialog.h"
#include "platform/window/dialog_service.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"

namespace platform::window {

namespace {

// The handle of the window the operator works in, null when none of ours.
WindowHandle ActiveWindowHandle() {
    for (QWidget* widget = QApplication::activeWindow(); widget != nullptr;
         widget = widget->parentWidget())
        if (auto* dialog = dynamic_cast<Dialog*>(qt::WindowOf(widget))) return dialog->Handle();
    return WindowHandle();
}

}  // namespace

std::string ApplicationName() {
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty()) return ToUtf8(name);
    return ToUtf8(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

int AfxMessageBox(std::string_view text, unsigned type) {
    // Owned by the active window, as the framework does, so the box stays on top.
    return MessageBox(ActiveWindowHandle(), text, ApplicationName(), type);
}

}  // namespace platform::window
