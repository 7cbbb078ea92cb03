#include "skin/dialog_layout_scaler.h"

#include <cmath>

#include "skin/template_layout.h"

namespace skin {

namespace window = platform::window;

void CDialogLayoutScaler::Apply(window::Dialog& dialog,
                                const window::DialogTemplate& dialogTemplate, double dpi) {
    Restore();
    if (!std::isfinite(dpi) || dpi <= 0 || dpi > 10000) dpi = window::LAYOUT_DPI;

    m_templateId = dialogTemplate.id;
    m_dialog = dialog.Handle();
    m_controlIds.clear();
    for (const window::ControlTemplate& control : dialogTemplate.controls)
        m_controlIds.push_back(control.id);

    m_font = window::MakeFont(window::FontOf(dialogTemplate), dpi);
    m_savedFont = dialog.GetFont();
    // A dialog's font reaches only the controls that are given it: children
    // keep the font they show now unless the layout below reaches them.
    for (window::Window* child = dialog.GetTopWindow(); child != nullptr;
         child = child->GetNextWindow())
        child->SetFont(child->GetFont());
    dialog.SetFont(*m_font);
    m_units = window::MeasureBaseUnits(*m_font);

    dialog.SetClientSize(ClientSizePixels(dialogTemplate, m_units));

    const std::vector<window::Window*> children = FindControlsInOrder(dialog, m_controlIds);
    m_laidOut = static_cast<int>(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->MoveWindow(ControlRectPixels(dialogTemplate.controls[i], m_units));
        children[i]->SetFont(*m_font);
    }
}

void CDialogLayoutScaler::Restore() {
    if (!m_font.has_value()) return;
    if (window::Window* dialog = window::FromHandle(m_dialog)) {
        dialog->SetFont(m_savedFont);
        for (window::Window* child : FindControlsInOrder(*dialog, m_controlIds))
            child->SetFont(m_savedFont);
    }
    m_font.reset();
    m_dialog = window::WindowHandle();
    m_controlIds.clear();
    m_savedFont = window::Font();
}

}  // namespace skin
