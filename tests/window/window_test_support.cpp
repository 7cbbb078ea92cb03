#include "window_test_support.h"

#include <QDir>
#include <QTest>
#include <QWidget>

namespace window_test {

bool Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 2000);
}

QString RenderDir() {
    const QString dir = QStringLiteral(R40_WINDOW_RENDER_DIR);
    QDir().mkpath(dir);
    return dir;
}

}  // namespace window_test
