// What the console does not write comes back from a write as it was:
// characters given as references, text in UTF-8 and white space in text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

// Opens `original` for writing, writes the channel and returns the file.
std::string AfterOneWrite(const std::string& original) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"), original);
    CR40SettingsToXmlDoc doc;
    EXPECT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    EXPECT_TRUE(doc.WriteChannel(20));
    return ReadBytes(dir.File("c.xml"));
}

bool Contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

TEST(ForeignContent, AFileWithoutDeclarationIsReadAsUtf8) {
    const std::string written =
        AfterOneWrite("<Config><Note>&#x263A; &#169; caf\xC3\xA9 \xE2\x82\xAC</Note></Config>");
    // The same characters, now in UTF-8 rather than as references.
    EXPECT_TRUE(Contains(written, "<Note>\xE2\x98\xBA \xC2\xA9 caf\xC3\xA9 \xE2\x82\xAC</Note>"))
        << written;
    EXPECT_TRUE(Contains(written, "<Channel>20</Channel>"));
}

TEST(ForeignContent, WhiteSpaceInTextIsKept) {
    const std::string note = "<Remark>two  spaces\n        a line, a\ttab  </Remark>";
    const std::string written =
        AfterOneWrite("<Device>\n    " + note + "\n    <Channel>3</Channel>\n</Device>\n");
    EXPECT_EQ(written, "<Device>\n    " + note + "\n    <Channel>20</Channel>\n</Device>\n");
    // Written once more, nothing changes.
    EXPECT_EQ(AfterOneWrite(written), written);
}

TEST(ForeignContent, AnEncodingDeclaredOtherThanUtf8IsKept) {
    const std::string original =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<Device>\n"
        "    <Site>Montr\xE9"
        "al</Site>\n</Device>\n";
    EXPECT_TRUE(Contains(AfterOneWrite(original),
                         "<Site>Montr\xE9"
                         "al</Site>"));
}

TEST(ForeignContent, TextThatIsNotUtf8IsKeptAsBytesAndStillLoads) {
    // Read as UTF-8, \xE9 would take the two bytes after it along, and the
    // save (which writes \x03 as a reference) would shift the rest so that a
    // character swallowed the end tag: the saved file would not load again.
    const std::string latin =
        "<Device>\n    <Site>Montr\xE9"
        "al</Site>\n    <Note>\xE9\x03\xE4\xE4\xE4\xE4</Note>\n</Device>\n";
    const std::string written = AfterOneWrite(latin);
    EXPECT_TRUE(Contains(written,
                         "<Site>Montr\xE9"
                         "al</Site>"));
    EXPECT_TRUE(Contains(written, "<Note>\xE9&#x03;\xE4\xE4\xE4\xE4</Note>"));
    TempDir dir;
    WriteBytes(dir.File("c.xml"), written);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("c.xml")));
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 20);
}

TEST(ForeignContent, ADeclarationThatWouldNotPrintBackIsMended) {
    // TinyXML reads `&quot;` in a declaration value as a quote and prints it
    // back bare: without the mend the written file would end its version
    // early and no longer load.
    const std::string written = AfterOneWrite(
        "<?xml version=\"1&quot;<x>\" encoding=\"UTF-8\" ?>\n"
        "<Device>\n    <Channel>3</Channel>\n</Device>\n");
    EXPECT_TRUE(Contains(written, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")) << written;
    TempDir dir;
    WriteBytes(dir.File("c.xml"), written);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("c.xml")));
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 20);
    // A plain declaration is written as it was.
    const std::string plain = "<?xml version=\"1.1\" standalone=\"no\" ?>\n<Device />\n";
    EXPECT_TRUE(Contains(AfterOneWrite(plain), "<?xml version=\"1.1\" standalone=\"no\" ?>"));
}

TEST(ForeignContent, WhiteSpaceAroundValuesStillReads) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"),
               "<Device><UseIGMP>\n   yes\n</UseIGMP><Channel>  14 </Channel>"
               "<DeviceIP>\n 10.1.2.3\n</DeviceIP></Device>");
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("c.xml")));
    std::int32_t on = 0;
    EXPECT_TRUE(doc.ReadUseIGMP(on));
    EXPECT_EQ(on, 1);
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 14);
    std::uint8_t address[4] = {};
    EXPECT_TRUE(doc.ReadDeviceIP(address));
    EXPECT_EQ(address[3], 3);
}

}  // namespace
