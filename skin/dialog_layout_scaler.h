// CDialogLayoutScaler: lays a dialog and its controls out again from the
// dialog's template as if the display had a given number of dots per inch,
// and gives them a font of the matching pixel size, so skinned windows drawn
// on fixed-size pictures keep their layout whatever the display's setting.
#pragma once

#include <optional>
#include <vector>

#include "platform/window/dialog.h"
#include "platform/window/dialog_template.h"
#include "platform/window/dialog_units.h"
#include "platform/window/font.h"
#include "platform/window/window_handle.h"

namespace skin {

class CDialogLayoutScaler {
  public:
    CDialogLayoutScaler() = default;
    CDialogLayoutScaler(const CDialogLayoutScaler&) = delete;
    CDialogLayoutScaler& operator=(const CDialogLayoutScaler&) = delete;

    // Restores a previous application first. Resizes the dialog's client
    // area and moves, resizes and re-fonts each control in template order,
    // stopping at the first control that has no child window.
    void Apply(platform::window::Dialog& dialog,
               const platform::window::DialogTemplate& dialogTemplate,
               double dpi = platform::window::LAYOUT_DPI);

    // Gives the dialog and the controls found their former font back. Sizes
    // and positions stay. Does nothing when nothing is applied.
    void Restore();

    bool IsApplied() const { return m_font.has_value(); }
    int TemplateId() const { return m_templateId; }
    // The font Apply made and the base units measured on it; valid while
    // applied.
    std::optional<platform::window::Font> Font() const { return m_font; }
    platform::window::BaseUnits Units() const { return m_units; }
    // How many controls of the template were laid out.
    int LaidOutCount() const { return m_laidOut; }

  private:
    int m_templateId = 0;
    // The dialog by its handle, which names nothing once the dialog's
    // window is gone: Restore after the dialog went first touches nothing.
    platform::window::WindowHandle m_dialog;
    std::vector<int> m_controlIds;  // the template's ids, for Restore
    std::optional<platform::window::Font> m_font;
    platform::window::Font m_savedFont;
    platform::window::BaseUnits m_units;
    int m_laidOut = 0;
};

}  // namespace skin
