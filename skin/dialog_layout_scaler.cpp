#include "skin/dialog_layout_scaler.h"

#include <cmath>

#include "platform/window/qt/native.h"
#include "skin/template_layout.h"

namespace skin {

namespace window = platform::window;

void CDialogLayoutScaler::Apply(window::Window& dialogWindow,
                                const window::DialogTemplate& dialogTemplate, double dpi) {
    Restore();
    QWidget* widget = window::qt::WidgetOf(dialogWindow);
    if (widget == nullptr) return;
    QWidget& dialog = *widget;
    if (!std::isfinite(dpi) || dpi <= 0 || dpi > 10000) dpi = window::LAYOUT_DPI;

    m_templateId = dialogTemplate.id;
    m_window = &dialog;
    m_controlIds.clear();
    for (const window::ControlTemplate& control : dialogTemplate.controls)
        m_controlIds.push_back(control.id);

    m_font = window::MakeFont(window::FontOf(dialogTemplate), dpi);
    m_savedFont = dialog.font();
    m_savedFontWasExplicit = dialog.testAttribute(Qt::WA_SetFont);
    // A dialog's font reaches only the controls that are given it: children
    // keep the font they show now unless the layout below reaches them.
    for (QObject* object : dialog.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && !child->isWindow() && !child->testAttribute(Qt::WA_SetFont))
            child->setFont(child->font());
    }
    dialog.setFont(*m_font);
    m_units = window::MeasureBaseUnits(*m_font);

    // Resizing keeps the client area's top-left corner where it is.
    dialog.resize(ClientSizePixels(dialogTemplate, m_units));

    const std::vector<QWidget*> children = FindControlsInOrder(dialog, m_controlIds);
    m_laidOut = static_cast<int>(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->setGeometry(ControlRectPixels(dialogTemplate.controls[i], m_units));
        children[i]->setFont(*m_font);
    }
}

void CDialogLayoutScaler::Restore() {
    if (!m_font.has_value()) return;
    if (QWidget* dialog = m_window.data()) {
        if (m_savedFontWasExplicit)
            dialog->setFont(m_savedFont);
        else
            dialog->setFont(QFont());  // back to inheriting the application font
        for (QWidget* child : FindControlsInOrder(*dialog, m_controlIds))
            child->setFont(m_savedFont);
    }
    m_font.reset();
    m_window.clear();
    m_controlIds.clear();
    m_savedFont = QFont();
    m_savedFontWasExplicit = false;
}

}  // namespace skin
