#include "skin/logo_fade.h"

#include <algorithm>

namespace skin {
namespace {

LogoFont Measure(std::string_view text, int pixelHeight, int weight) {
    LogoFont result;
    result.pixelHeight = std::max(1, pixelHeight);
    result.font = platform::window::Font::Create("arial", result.pixelHeight, weight);
    result.weight = weight;
    result.textSize = {result.font.TextWidth(text), result.font.LineHeight()};
    return result;
}

}  // namespace

FadeState NextFade(FadeState state, int step, int alphaMin, int alphaMax) {
    // Wide arithmetic: a huge step must not overflow.
    long long alpha = state.alpha;
    alpha += state.rising ? static_cast<long long>(step) : -static_cast<long long>(step);
    if (alpha > alphaMax) {
        alpha = alphaMax;
        state.rising = false;
    }
    if (alpha < alphaMin) {
        alpha = alphaMin;
        state.rising = true;
    }
    state.alpha = static_cast<int>(alpha);
    return state;
}

LogoFont FitLogoFont(std::string_view text, platform::window::Size client) {
    const int w = client.width;
    const int h = client.height;
    LogoFont fitted = Measure(text, static_cast<int>(0.8 * h), LOGO_WEIGHT_FITTING);
    // The first shrink scales the 0.8 x h font by the width ratio; later ones
    // scale the font just tried, so each step is smaller than the last.
    double scaledFrom = 0.8 * h;
    while ((fitted.textSize.width > w || fitted.textSize.height > h) && fitted.pixelHeight > 1) {
        double ratio = fitted.textSize.width > 0
                           ? static_cast<double>(std::max(w, 0)) / fitted.textSize.width
                           : 1.0;
        ratio = std::min(ratio, 1.0);
        const double f = scaledFrom * ratio;
        int next = static_cast<int>(0.95 * f);
        next = std::min(next, fitted.pixelHeight - 1);
        fitted = Measure(text, next, LOGO_WEIGHT_SHRUNK);
        scaledFrom = fitted.pixelHeight;
    }
    return fitted;
}

}  // namespace skin
