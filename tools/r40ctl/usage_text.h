// The argument parser's messages in r40ctl's own words: short, lower case,
// naming the option and the value as given.
#pragma once

#include <string>

namespace r40ctl {

// The parser's message for an argument error, rewritten; a message of no
// known form keeps its words with a lower-case first letter.
std::string UsageText(const std::string& parserMessage);

}  // namespace r40ctl
