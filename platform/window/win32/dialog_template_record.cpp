#include "platform/window/win32/dialog_template_record.h"

#include <commctrl.h>

#include <cstdlib>

#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window::win32 {

namespace {

// The dialog manager's predefined control classes, by their atoms.
constexpr WORD BUTTON_CLASS = 0x0080;
constexpr WORD EDIT_CLASS = 0x0081;
constexpr WORD STATIC_CLASS = 0x0082;
constexpr WORD LISTBOX_CLASS = 0x0083;
constexpr WORD COMBOBOX_CLASS = 0x0085;

}  // namespace

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
        case ControlKind::Picture:
        case ControlKind::Frame:
            return {STATIC_CLASS, nullptr};
        case ControlKind::GroupBox:
        case ControlKind::Button:
        case ControlKind::CheckBox:
            return {BUTTON_CLASS, nullptr};
        case ControlKind::Edit:
            return {EDIT_CLASS, nullptr};
        case ControlKind::ListBox:
            return {LISTBOX_CLASS, nullptr};
        case ControlKind::ComboBox:
            return {COMBOBOX_CLASS, nullptr};
        case ControlKind::IpAddress:
            return {0, WC_IPADDRESSW};
        case ControlKind::Custom:
            // Drawn by its owner: a window of the backend's own class, which
            // the dialog attaches its NativeWindow to once it exists.
            return {0, NativeWindow::ClassName()};
    }
    return {STATIC_CLASS, nullptr};
}

DWORD StyleOf(const ControlTemplate& control) {
    DWORD style = control.style;
    if (control.kind == ControlKind::GroupBox) style = (style & ~BS_TYPEMASK) | BS_GROUPBOX;
    if (control.kind == ControlKind::Picture && (style & SS_TYPEMASK) != SS_ICON)
        style = (style & ~SS_TYPEMASK) | SS_BITMAP;
    return style;
}

bool IsBackdrop(std::span<const ControlTemplate> controls, std::size_t index) {
    const ControlTemplate& picture = controls[index];
    if (picture.kind != ControlKind::Picture) return false;
    for (std::size_t later = index + 1; later < controls.size(); ++later) {
        const ControlTemplate& c = controls[later];
        if (c.x < picture.x + picture.cx && picture.x < c.x + c.cx &&
            c.y < picture.y + picture.cy && picture.y < c.y + c.cy)
            return true;
    }
    return false;
}

void DialogTemplateRecord::Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void DialogTemplateRecord::Text(std::string_view utf8) {
    for (wchar_t c : Widen(utf8)) Word(static_cast<WORD>(c));
    Word(0);
}

void DialogTemplateRecord::AlignToDword() {
    if (m_words.size() % 2 != 0) Word(0);
}

DialogTemplateRecord::DialogTemplateRecord(const DialogTemplate& dialog) {
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature: the extended template
    Dword(0);      // helpID
    Dword(dialog.exStyle);
    Dword(dialog.style);
    Word(static_cast<WORD>(dialog.controls.size()));
    Word(static_cast<WORD>(dialog.x));
    Word(static_cast<WORD>(dialog.y));
    Word(static_cast<WORD>(dialog.cx));
    Word(static_cast<WORD>(dialog.cy));
    // No menu resource: the layer's menus are built in code and set on the
    // dialog's window by the Dialog class.
    Word(0);
    Word(0);  // the dialog manager's own class
    Text(dialog.caption);
    if ((dialog.style & DS_SETFONT) != 0) {
        // A negative 16-bit size stands for its magnitude, as on Qt.
        Word(static_cast<WORD>(std::abs(static_cast<int>(dialog.pointSize))));
        Word(static_cast<WORD>(dialog.weight));
        Word(static_cast<WORD>((dialog.italic ? 1 : 0) | (DEFAULT_CHARSET << 8)));
        Text(dialog.faceName);
    }
    for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
        const ControlTemplate& control = dialog.controls[index];
        AlignToDword();
        Dword(0);  // helpID
        Dword(control.exStyle);
        // A backdrop lies above the controls it holds (the dialog manager
        // makes each control beneath the ones before): clipping its
        // siblings, it never paints over the skin's buttons raised above
        // it, and those beneath paint after it (Windows paints the top
        // sibling first).
        Dword(StyleOf(control) | (IsBackdrop(dialog.controls, index) ? WS_CLIPSIBLINGS : 0));
        Word(static_cast<WORD>(control.x));
        Word(static_cast<WORD>(control.y));
        Word(static_cast<WORD>(control.cx));
        Word(static_cast<WORD>(control.cy));
        Dword(static_cast<DWORD>(control.id));  // -1, no id, stays 0xFFFFFFFF
        const ControlClass windowClass = ClassOf(control.kind);
        if (windowClass.ordinal != 0) {
            Word(0xFFFF);
            Word(windowClass.ordinal);
        } else {
            for (const wchar_t* c = windowClass.name; c != nullptr && *c != 0; ++c)
                Word(static_cast<WORD>(*c));
            Word(0);
        }
        // Pictures name no resource: the backend sets their image later.
        Text(control.kind == ControlKind::Picture ? std::string_view{} : control.text);
        Word(0);  // no creation data
    }
}

}  // namespace platform::window::win32
