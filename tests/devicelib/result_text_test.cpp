// DeviceResultText through the shared library, against the codes the
// public header and the library's internal one declare: a code added there
// without a text fails here.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "devicelib/devicelib.h"

namespace {

const std::string UNKNOWN = "unknown result code";

// Every RC_ and ERR_ macro of the two headers with its value.
std::map<std::string, std::int32_t> DeclaredResultCodes() {
    const std::regex define(R"(^#define ((?:RC|ERR)_[A-Z0-9_]+) \(?(-?(?:0x[0-9A-Fa-f]+|\d+))\)?)");
    std::map<std::string, std::int32_t> codes;
    for (const char* path :
         {R40_SOURCE_DIR "/devicelib/devicelib.h", R40_SOURCE_DIR "/devicelib/internal_codes.h"}) {
        std::ifstream header(path);
        EXPECT_TRUE(header.good()) << path;
        std::string line;
        while (std::getline(header, line)) {
            std::smatch m;
            if (std::regex_search(line, m, define))
                codes[m[1]] = static_cast<std::int32_t>(std::stol(m[2], nullptr, 0));
        }
    }
    return codes;
}

TEST(DeviceResultText, EveryDeclaredCodeHasASentenceOfItsOwn) {
    const auto codes = DeclaredResultCodes();
    ASSERT_GE(codes.size(), 40u) << "the header's result codes were not found";
    std::set<std::string> seen;
    for (const auto& [name, value] : codes) {
        const char* text = DeviceResultText(value);
        ASSERT_NE(text, nullptr) << name;
        const std::string sentence = text;
        EXPECT_NE(sentence, UNKNOWN) << name << " has no text";
        EXPECT_EQ(sentence.back(), '.') << name << ": " << sentence;
        EXPECT_LT(sentence.size(), 120u) << name << ": not a short sentence";
        EXPECT_TRUE(seen.insert(sentence).second) << name << " shares its text: " << sentence;
    }
    EXPECT_EQ(std::string(DeviceResultText(ERR_TUNE_NOT_CONFIRMED)),
              "The receiver's status does not show the new tuning.");
}

TEST(DeviceResultText, CodesNobodyDeclaredAreUnknownNeverNull) {
    std::set<std::int32_t> declared;
    for (const auto& [name, value] : DeclaredResultCodes()) declared.insert(value);
    for (std::int32_t code :
         {2, -2, 0x1000, 0x1004, 0x2004, 0x400B, 0x5002, 0x6008, 0x7000, INT32_MIN, INT32_MAX}) {
        ASSERT_EQ(declared.count(code), 0u);
        const char* text = DeviceResultText(code);
        ASSERT_NE(text, nullptr) << code;
        EXPECT_EQ(std::string(text), UNKNOWN) << code;
    }
}

}  // namespace
