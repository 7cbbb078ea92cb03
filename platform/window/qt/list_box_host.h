// The native window of a ListBoxControl: a QListWidget set up from the
// control's style bits that holds the items, reports the operator's
// selections and double clicks, and hands owner-drawn items to the dialog.
#pragma once

#include <QListWidget>

#include <memory>

#include "platform/window/list_box_control.h"
#include "platform/window/qt/host.h"

namespace platform::window::qt {

class ListBoxHost : public OwningHost<QListWidget> {
  public:
    ListBoxHost(std::unique_ptr<ListBoxControl> control, QWidget* parent);

    // Takes the control's style bits.
    void ApplyStyle(std::uint32_t style, std::uint32_t exStyle);

    // Set while the control's code changes the list: nothing is notified.
    bool byCode = false;

  private:
    std::uint32_t m_style = 0;
};

// The list widget behind a list box; null when it has no window.
QListWidget* ListWidgetOf(const ListBoxControl& control);

}  // namespace platform::window::qt
