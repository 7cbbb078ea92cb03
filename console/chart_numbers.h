// Numbers as the history chart writes them.
#pragma once

#include <string>

namespace console {

// `value` with `decimals` places; a value exactly half way between two
// places rounds away from zero (12.25 -> "12.3"), as operators read a scale.
std::string FixedText(double value, int decimals);

// A scale label: at most six significant digits, no trailing zeros
// ("25", "-5", "12.5").
std::string ScaleText(double value);

}  // namespace console
