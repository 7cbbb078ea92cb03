// The number in a PID entry box, read as C's strtol reads it on the
// console's home platform (32-bit long): leading white space, an optional
// sign, in base 16 an optional "0x" or "0X", then digits up to the first
// character that is not one. No digits give 0; a number beyond the 32-bit
// range is held at its end.
#pragma once

#include <QString>

#include <cstdint>

namespace dialogs {

std::int32_t ParseEntryNumber(const QString& text, int base);

}  // namespace dialogs
