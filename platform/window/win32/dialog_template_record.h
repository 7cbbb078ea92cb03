// A layer's dialog template as the Win32 dialog manager reads it: the bytes
// of a DLGTEMPLATEEX and one DLGITEMTEMPLATEEX per control, for
// CreateDialogIndirectParamW / DialogBoxIndirectParamW. The dialog manager
// then lays the dialog out in dialog units of the template's font and
// handles Tab, Enter, Escape and the default button itself.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <span>
#include <vector>

#include "platform/window/dialog_template.h"

namespace platform::window::win32 {

// The window class a control of this kind is made from: one of the
// dialog manager's predefined classes by its ordinal, else a class name.
struct ControlClass {
    WORD ordinal = 0;               // 0x0080 BUTTON ... 0x0085 COMBOBOX, or 0
    const wchar_t* name = nullptr;  // when ordinal is 0
};
ControlClass ClassOf(ControlKind kind);

// The style a control of this kind is created with: the template's bits
// (they are Win32's own), with the type a kind implies where the kind says
// more than the bits (a group box is BS_GROUPBOX, a picture SS_BITMAP unless
// it asks for SS_ICON).
DWORD StyleOf(const ControlTemplate& control);
// Whether control `index` is a picture that later controls lie on (a
// window's background picture): it is made with WS_CLIPSIBLINGS.
bool IsBackdrop(std::span<const ControlTemplate> controls, std::size_t index);

class DialogTemplateRecord {
  public:
    explicit DialogTemplateRecord(const DialogTemplate& dialog);

    // DWORD-aligned, valid as long as the record.
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    std::size_t SizeInBytes() const { return m_words.size() * sizeof(WORD); }

  private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value);
    void Text(std::string_view utf8);
    void AlignToDword();

    std::vector<WORD> m_words;  // the allocator's alignment covers DWORDs
};

}  // namespace platform::window::win32
