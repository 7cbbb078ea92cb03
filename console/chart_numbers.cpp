#include "console/chart_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace console {
namespace {

// Enough places past the last shown one that a value which is not exactly
// half way shows a digit other than 0 before they end: doubles of the
// chart's magnitude differ from a tie by far more than 1e-30.
constexpr int TIE_PLACES = 30;

}  // namespace

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return "--";
    char text[512];
    const auto exact = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                     decimals + TIE_PLACES);
    if (exact.ec != std::errc()) return "--";
    // The digits past the shown places: "5000..." is an exact tie, which
    // to_chars would round to even.
    const std::string_view all(text, static_cast<std::size_t>(exact.ptr - text));
    const std::string_view rest = all.substr(all.size() - TIE_PLACES);
    const bool tie =
        rest.front() == '5' && rest.find_first_not_of('0', 1) == std::string_view::npos;
    if (tie)
        value =
            std::nextafter(value, std::copysign(std::numeric_limits<double>::infinity(), value));
    const auto shown =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (shown.ec != std::errc()) return "--";
    return std::string(text, shown.ptr);
}

std::string ScaleText(double value) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    if (error != std::errc()) return "--";
    return std::string(text, end);
}

}  // namespace console
