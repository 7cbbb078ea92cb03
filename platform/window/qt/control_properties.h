// What every control created from a dialog template carries in the Qt
// backend, and the few operations that work on any control's widget.
//
// Contract kept for custom control classes (the skin):
// - The control id is the dynamic property "controlId" (int), the template's
//   style bits "controlStyle" (uint) and its kind "controlKind" (int, a
//   ControlKind). They are set before the control is first shown.
// - A dialog's controls are its children in template order, so their order
//   in QObject::children() is their stacking order (first = bottom).
// - Every control is the native window of a Window; its text is the
//   Window's window text (Window::GetWindowText reads it where the native
//   control keeps it).
// - A control tells its dialog about user actions with NotifyParent; any
//   control that has a clicked() signal is connected for BN_CLICKED.
#pragma once

#include <QWidget>

#include <cstdint>

#include "platform/window/dialog_template.h"

namespace platform::window {

inline constexpr char CONTROL_ID_PROPERTY[] = "controlId";
inline constexpr char CONTROL_STYLE_PROPERTY[] = "controlStyle";
inline constexpr char CONTROL_KIND_PROPERTY[] = "controlKind";

// The first child of `dialog` (in stacking order) whose control id is `id`;
// null when there is none. Ids of -1 ("(none)") are never searched for.
QWidget* FindControl(QWidget* dialog, int id);

// The control's id; -1 (as for "(none)") when the widget carries none.
int ControlId(const QWidget* control);
std::uint32_t ControlStyle(const QWidget* control);
ControlKind ControlKindOf(const QWidget* control);
bool IsControl(const QWidget* widget);

// Marks a widget as a control with this id, style and kind.
void SetControlProperties(QWidget* control, int id, std::uint32_t style, ControlKind kind);

// Sends a command notification (BN_CLICKED, EN_CHANGE, CBN_DROPDOWN, ...)
// from the control to the dialog that holds it, at once.
void NotifyParent(QWidget* control, int notificationCode);

}  // namespace platform::window
