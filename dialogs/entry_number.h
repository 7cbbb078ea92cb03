// The number in a PID entry box, read as C's strtol reads it on the
// console's home platform (32-bit long): leading white space, an optional
// sign, in base 16 an optional "0x" or "0X", then digits up to the first
// character that is not one. No digits give 0; a number beyond the 32-bit
// range is held at its end.
#pragma once

#include <cstdint>
#include <string_view>

namespace dialogs {

// The text is UTF-8; a character beyond ASCII ends the number as any other
// that is not a digit.
std::int32_t ParseEntryNumber(std::string_view text, int base);

}  // namespace dialogs
