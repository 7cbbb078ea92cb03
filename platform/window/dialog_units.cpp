#include "platform/window/dialog_units.h"

#include <QFontMetrics>

#include <algorithm>

namespace platform::window {

TemplateFont FontOf(const DialogTemplate& dialog) {
    TemplateFont font;
    if ((dialog.style & DS_SETFONT) == 0) {
        font.face = QStringLiteral("Tahoma");
        return font;
    }
    font.face =
        QString::fromUtf8(dialog.faceName.data(), static_cast<qsizetype>(dialog.faceName.size()));
    int points = dialog.pointSize;
    font.pointSize = points < 0 ? -points : points;
    font.weight = dialog.weight;
    font.italic = dialog.italic;
    return font;
}

QFont MakeFont(const TemplateFont& font, double dpi) {
    QFont qfont(font.face);
    // Qt's pixel size is the em height, which is what a Win32 character
    // height (as opposed to a cell height) asks for.
    qfont.setPixelSize(CharacterHeightPixels(font.pointSize, dpi));
    qfont.setWeight(QFont::Weight(std::clamp(font.weight, 1, 1000)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(false);
    qfont.setStrikeOut(false);
    return qfont;
}

BaseUnits MeasureBaseUnits(const QFont& font) {
    QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return BaseUnits{(width / 26 + 1) / 2, metrics.height()};
}

}  // namespace platform::window
