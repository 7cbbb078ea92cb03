#include "platform/window/application.h"

#include <QApplication>

#include "platform/window/qt/conversions.h"

namespace platform::window {

struct Application::Native {
    Native(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
};

Application::Application(int& argc, char** argv) : m_native(std::make_unique<Native>(argc, argv)) {}

Application::~Application() = default;

void Application::SetName(std::string_view name) {
    QApplication::setApplicationName(ToQString(name));
}

void Application::SetQuitOnLastWindowClosed(bool quit) {
    QApplication::setQuitOnLastWindowClosed(quit);
}

void PreferOffscreenRendering() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

void PumpMessages(int maxMilliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, maxMilliseconds);
}

}  // namespace platform::window
