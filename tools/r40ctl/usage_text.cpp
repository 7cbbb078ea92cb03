#include "tools/r40ctl/usage_text.h"

#include <cctype>
#include <regex>
#include <vector>

namespace r40ctl {

namespace {

struct Rewrite {
    std::regex pattern;
    const char* replacement;
};

const std::vector<Rewrite>& Rewrites() {
    static const std::vector<Rewrite> rewrites = [] {
        using std::regex;
        std::vector<Rewrite> r;
        auto add = [&](const char* pattern, const char* replacement) {
            r.push_back({regex(pattern), replacement});
        };
        add("^The following argument was not expected: (-.*)$", "unknown option $1");
        add("^The following arguments? (?:was|were) not expected: (.*)$",
            "unexpected argument: $1");
        add("^A subcommand is required$", "missing command");
        add("^(\\S+) is required$", "missing $1");
        add("^Could not convert: (\\S+) = (.*)$", "$1: \"$2\" is not a number");
        add("^The value (.*) is not an allowed value for (\\S+)$", "$2: \"$1\" is not allowed");
        add("^(\\S+): \\d+ required \\S+ missing$", "$1 needs a value");
        add("^Expected exactly \\d+ arguments? to (\\S+), got \\d+$", "$1 needs a value");
        add("^Expected at least \\d+ arguments? to (\\S+), got \\d+$", "$1 needs a value");
        add("^(\\S+): At least (\\d+) required but received \\d+$", "$1 needs at least $2 values");
        add("^(\\S+): At Most (\\d+) required but received \\d+$", "$1 takes at most $2 values");
        add("^(\\S+): too many inputs for a flag$", "$1 takes no value");
        return r;
    }();
    return rewrites;
}

// "0.100000" as the parser prints a bound, written "0.1".
std::string Trimmed(std::string number) {
    if (number.find('.') == std::string::npos) return number;
    while (!number.empty() && number.back() == '0') number.pop_back();
    if (!number.empty() && number.back() == '.') number.pop_back();
    return number;
}

}  // namespace

std::string UsageText(const std::string& parserMessage) {
    static const std::regex range("^(\\S+): Value (.*) not in range (\\S+) to (\\S+)$");
    std::smatch m;
    if (std::regex_match(parserMessage, m, range))
        return m[1].str() + ": " + m[2].str() + " is outside " + Trimmed(m[3].str()) + " to " +
               Trimmed(m[4].str());
    for (const Rewrite& rewrite : Rewrites())
        if (std::regex_match(parserMessage, rewrite.pattern))
            return std::regex_replace(parserMessage, rewrite.pattern, rewrite.replacement);
    std::string text = parserMessage;
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) &&
        std::islower(static_cast<unsigned char>(text[1])))
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace r40ctl
