#include "platform/window/popup_menu.h"

#include <QAction>

#include "platform/window/messages.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/popup_menu_native.h"

namespace platform::window {

namespace {

constexpr char ITEM_ID[] = "menuItemId";

QAction* FindItem(const QMenu& menu, int id) {
    for (QAction* action : menu.actions())
        if (action->property(ITEM_ID).toInt() == id && !action->isSeparator()) return action;
    return nullptr;
}

}  // namespace

PopupMenu::PopupMenu() : m_native(std::make_unique<Native>()) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::AppendItem(int id, std::string_view text) {
    QAction* action = m_native->menu.addAction(ToQString(text));
    action->setProperty(ITEM_ID, id);
    Native* native = m_native.get();
    QObject::connect(action, &QAction::triggered, &native->menu, [native, id] {
        SendMessage(native->owner, WM_COMMAND, MakeWParam(static_cast<unsigned>(id), 0), 0);
    });
}

void PopupMenu::AppendSeparator() {
    m_native->menu.addSeparator();
}

void PopupMenu::CheckItem(int id, bool checked) {
    if (QAction* action = FindItem(m_native->menu, id)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

bool PopupMenu::IsItemChecked(int id) const {
    const QAction* action = FindItem(m_native->menu, id);
    return action != nullptr && action->isChecked();
}

void PopupMenu::Track(Point at, WindowHandle owner) {
    m_native->owner = owner;
    m_native->menu.popup(ToQPoint(at));
}

bool PopupMenu::IsOpen() const {
    return m_native->menu.isVisible();
}

}  // namespace platform::window
