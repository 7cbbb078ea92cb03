#include "platform/window/dialog_units.h"

#include <algorithm>

namespace platform::window {

TemplateFont FontOf(const DialogTemplate& dialog) {
    TemplateFont font;
    if ((dialog.style & DS_SETFONT) == 0) {
        font.face = "Tahoma";
        return font;
    }
    font.face = dialog.faceName;
    int points = dialog.pointSize;
    font.pointSize = points < 0 ? -points : points;
    font.weight = dialog.weight;
    font.italic = dialog.italic;
    return font;
}

Font MakeFont(const TemplateFont& font, double dpi) {
    // Font::Create asks for a character height (a negative LOGFONT height),
    // not a cell height, as a dialog's point size does.
    Font made = Font::Create(font.face, CharacterHeightPixels(font.pointSize, dpi),
                             std::clamp(font.weight, 1, 1000));
    made.SetItalic(font.italic);
    return made;
}

BaseUnits MeasureBaseUnits(const Font& font) {
    const int width = font.TextWidth("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return BaseUnits{(width / 26 + 1) / 2, font.LineHeight()};
}

}  // namespace platform::window
