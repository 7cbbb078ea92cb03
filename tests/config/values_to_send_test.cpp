// What an apply would send, judged on real files before it sends anything:
// every value must stand in the file exactly as an address or number of its
// kind, and be one a receiver can take. Values the reads would cut down to
// something harmless-looking are named as the file holds them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/values_to_send.h"
#include "tests/config/file_fixtures.h"

namespace {

using config::ApplyStage;
using config::CheckValuesToSend;
using config_test::TempDir;
using config_test::WriteBytes;

struct Parts {
    std::string gateway = "10.1.2.1", address = "10.1.2.3", mask = "255.255.255.0",
                copy = "255.255.255.255";
    std::string pidList =
        "<PIDList Size=\"2\">"
        "<PIDEntry Entry=\"481\" Control=\"0\"><Destination_IP>239.1.1.1"
        "</Destination_IP><Destination_Port>1234</Destination_Port></PIDEntry>"
        "<PIDEntry Entry=\"482\" Control=\"1\"><Destination_IP>0.0.0.0"
        "</Destination_IP><Destination_Port>0</Destination_Port></PIDEntry>"
        "</PIDList>";

    bool withGateway = true;

    std::string Text() const {
        return "<Device>" + (withGateway ? "<DefaultGW>" + gateway + "</DefaultGW>" : "") +
               "<DeviceIP>" + address + "</DeviceIP><DeviceSubNet>" + mask +
               "</DeviceSubNet><UnicastStatus>" + copy +
               "</UnicastStatus><UseIGMP>No</UseIGMP><Channel>14</Channel>" + pidList + "</Device>";
    }
};

std::string Entry(const std::string& pid, const std::string& ip = "0.0.0.0",
                  const std::string& port = "0", const std::string& control = "1") {
    return "<PIDEntry Entry=\"" + pid + "\" Control=\"" + control + "\"><Destination_IP>" + ip +
           "</Destination_IP><Destination_Port>" + port + "</Destination_Port></PIDEntry>";
}

std::string List(const std::string& size, const std::string& entries) {
    return "<PIDList Size=\"" + size + "\">" + entries + "</PIDList>";
}

std::optional<config::ValueFault> Judge(const Parts& parts, std::uint16_t type,
                                        bool networkSent = true) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"), parts.Text());
    CR40SettingsToXmlDoc document;
    EXPECT_TRUE(document.Load(dir.File("c.xml")));
    return CheckValuesToSend(document, type, networkSent);
}

TEST(ValuesToSend, EveryValueNoReceiverCanTakeIsNamedAsTheFileHoldsIt) {
    struct Case {
        const char* what;
        void (*change)(Parts&);
        std::string element, value;  // empty: nothing to refuse
    };
    const std::vector<Case> cases{
        {"the example", [](Parts&) {}, "", ""},
        {"white space around a value", [](Parts& p) { p.address = "  10.1.2.3 "; }, "", ""},
        {"negative numbers", [](Parts& p) { p.address = "-1.-1.-1.-1"; }, "DeviceIP",
         "-1.-1.-1.-1"},
        {"words after the address", [](Parts& p) { p.address = "10.1.2.3xyz"; }, "DeviceIP",
         "10.1.2.3xyz"},
        {"a fifth number", [](Parts& p) { p.address = "10.1.2.3.7"; }, "DeviceIP", "10.1.2.3.7"},
        {"three numbers", [](Parts& p) { p.gateway = "10.1.2"; }, "DefaultGW", "10.1.2"},
        {"limited broadcast", [](Parts& p) { p.address = "255.255.255.255"; }, "DeviceIP",
         "255.255.255.255"},
        {"subnet broadcast", [](Parts& p) { p.address = "10.1.2.255"; }, "DeviceIP", "10.1.2.255"},
        {"multicast", [](Parts& p) { p.address = "224.0.0.1"; }, "DeviceIP", "224.0.0.1"},
        {"this network", [](Parts& p) { p.address = "0.0.0.1"; }, "DeviceIP", "0.0.0.1"},
        {"mask with holes", [](Parts& p) { p.mask = "255.0.255.0"; }, "DeviceSubNet",
         "255.0.255.0"},
        {"gateway a group", [](Parts& p) { p.gateway = "239.0.0.1"; }, "DefaultGW", "239.0.0.1"},
        {"status copy nowhere", [](Parts& p) { p.copy = "0.0.0.0"; }, "UnicastStatus", "0.0.0.0"},
        {"PID beyond 13 bits",
         [](Parts& p) { p.pidList = List("2", Entry("481") + Entry("99999")); }, "PIDEntry 2 Entry",
         "99999"},
        {"the PAT, as receivers hold it", [](Parts& p) { p.pidList = List("1", Entry("0")); }, "",
         ""},
        {"PID in hexadecimal", [](Parts& p) { p.pidList = List("1", Entry("0x1E1")); },
         "PIDEntry 1 Entry", "0x1E1"},
        {"PID twice", [](Parts& p) { p.pidList = List("2", Entry("481") + Entry("481")); },
         "PIDEntry 2 Entry", "481"},
        {"port beyond 16 bits",
         [](Parts& p) { p.pidList = List("1", Entry("481", "239.1.1.1", "70000", "0")); },
         "PIDEntry 1 Destination_Port", "70000"},
        {"negative port",
         [](Parts& p) { p.pidList = List("1", Entry("481", "239.1.1.1", "-1", "0")); },
         "PIDEntry 1 Destination_Port", "-1"},
        {"three-number destination",
         [](Parts& p) { p.pidList = List("1", Entry("481", "1.2.3", "1234", "0")); },
         "PIDEntry 1 Destination_IP", "1.2.3"},
        {"destination without a port",
         [](Parts& p) { p.pidList = List("1", Entry("481", "10.0.0.5", "0", "0")); },
         "PIDEntry 1 destination", "10.0.0.5:0"},
        {"control beyond three bits",
         [](Parts& p) { p.pidList = List("1", Entry("481", "0.0.0.0", "0", "9")); },
         "PIDEntry 1 Control", "9"},
        {"more entries than Size",
         [](Parts& p) { p.pidList = List("1", Entry("481") + Entry("482")); }, "PIDList Size", "1"},
        {"fewer entries than Size", [](Parts& p) { p.pidList = List("3", Entry("481")); },
         "PIDList Size", "3"},
        {"no PID list: the apply says so", [](Parts& p) { p.pidList = ""; }, "", ""},
        {"no gateway: the apply says so", [](Parts& p) { p.withGateway = false; }, "", ""},
        {"a gateway that is no address", [](Parts& p) { p.gateway = "x"; }, "DefaultGW", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Parts parts;
        c.change(parts);
        const auto fault = Judge(parts, TYPE_R40_TREVAN);
        if (c.element.empty()) {
            EXPECT_FALSE(fault) << fault->Text();
            continue;
        }
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->element, c.element);
        EXPECT_EQ(fault->value, c.value);
        EXPECT_EQ(fault->stage,
                  c.element.rfind("PID", 0) == 0 ? ApplyStage::PidList : ApplyStage::Network);
        EXPECT_NE(fault->Text().find(c.element + " \"" + c.value + "\": "), std::string::npos);
    }
}

// The standard form has no destinations and its controls are sent as 1
// (the file's, even a missing one, do not matter); a list longer than an
// R40's table is refused at its Size.
TEST(ValuesToSend, TheStandardFormIsJudgedAsTheModelTakesIt) {
    Parts parts;
    parts.pidList = List("2", "<PIDEntry Entry=\"481\" Control=\"0\" /><PIDEntry Entry=\"482\" />");
    EXPECT_FALSE(Judge(parts, TYPE_R40));
    const auto missing = Judge(parts, TYPE_R40_TREVAN);
    ASSERT_TRUE(missing) << "a forwarded entry without its control value";
    EXPECT_EQ(missing->element, "PIDEntry 2 Control");
    std::string seventeen;
    for (int pid = 100; pid < 117; ++pid)
        seventeen += "<PIDEntry Entry=\"" + std::to_string(pid) + "\" Control=\"1\" />";
    parts.pidList = List("17", seventeen);
    const auto fault = Judge(parts, TYPE_R40);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->element, "PIDList Size");
    EXPECT_FALSE(Judge(parts, TYPE_T22_V2)) << "its table holds 32";
}

// Another receiver's file has its network settings skipped, not sent: only
// what goes out is judged, so its PID list is still refused and its
// addresses are not.
TEST(ValuesToSend, NetworkSettingsThatStayBehindAreNotJudged) {
    Parts parts;
    parts.address = "255.255.255.255";
    EXPECT_FALSE(Judge(parts, TYPE_R40_TREVAN, false));
    parts.pidList = List("1", Entry("99999"));
    const auto fault = Judge(parts, TYPE_R40_TREVAN, false);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->element, "PIDEntry 1 Entry");
}

}  // namespace
