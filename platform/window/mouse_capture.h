// Mouse capture for a window, as Win32's SetCapture: while a widget holds
// the capture, every mouse press, release, double click and move meant for
// any other widget of this application goes to it instead (with its
// position in the capturing widget's coordinates). Other applications are
// not affected: nothing is grabbed from the window system.
#pragma once

#include <QWidget>

namespace platform::window {

// Returns the widget that held the capture before, or null.
QWidget* SetCapture(QWidget* widget);
void ReleaseCapture();
// The capturing widget; null when none (also once it has been destroyed).
QWidget* GetCapture();

}  // namespace platform::window
