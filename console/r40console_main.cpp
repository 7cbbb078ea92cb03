// r40console: the R40 Management Console. No command-line options.
#include <QApplication>

#include "console/halden_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    // The console lives in the notification area while hidden: closing its
    // last visible window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    console::CHaldenApp app;
    return app.InitInstance();
}
