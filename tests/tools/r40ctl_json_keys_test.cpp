// Every key r40ctl's JSON documents hold is documented in its man page, so
// that scripts can rely on what the page promises.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/tools/r40ctl_fixture.h"

namespace tools_test {
namespace {

void CollectKeys(const Json& value, std::set<std::string>& keys) {
    if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it) {
            keys.insert(it.key());
            CollectKeys(it.value(), keys);
        }
    } else if (value.is_array()) {
        for (const Json& item : value) CollectKeys(item, keys);
    }
}

using JsonKeys = R40ctlTest;

TEST_F(JsonKeys, EveryKeyIsInTheManPage) {
    StartReceiver(sim::Model::R40V, 20);
#ifndef _WIN32
    StartReceiver(sim::Model::T22CA, 21);
#endif
    const std::string file = TempDir() + "/saved.xml";
    std::set<std::string> keys;
    const auto collect = [&](const std::vector<std::vector<std::string>>& runs) {
        for (const auto& args : runs) {
            const RunResult run = Run(args);
            EXPECT_NE(run.exitCode, EXIT_USAGE) << Shown(run);
            CollectKeys(Document(run), keys);
        }
    };
    collect({
        {"discover", "--json"},
        {"status", ReceiverAddress(20), "--json"},
        {"save", ReceiverAddress(20), file, "--json"},
        {"reset", ReceiverAddress(20), "--yes", "--json"},
    });
#ifdef _WIN32
    // Only the first receiver a test starts is reached under Wine: the
    // satellite receiver takes the R40V's place.
    for (auto& rx : m_receivers) rx->Stop();
    m_receivers.clear();
    StartReceiver(sim::Model::T22CA, 21);
#endif
    collect({
        {"status", ReceiverAddress(21), "--json"},
        {"tune", ReceiverAddress(21), "--frequency", "1100", "--symbol-rate", "20", "--json"},
        {"network", ReceiverAddress(21), "--igmp", "on", "--json"},
        {"apply", ReceiverAddress(21), file, "--json"},
        {"status", "127.0.0.99", "--json"},
    });
    // Everything the commands print, failures included.
    for (const char* expected : {"ok", "receiver", "receivers", "status", "pids", "stages", "error",
                                 "destination", "satellite", "echoed", "skipped"})
        EXPECT_EQ(keys.count(expected), 1u) << expected << " never printed";

    std::ifstream in(R40_SOURCE_DIR "/tools/r40ctl/r40ctl.1");
    std::stringstream page;
    page << in.rdbuf();
    const std::string text = page.str();
    for (const std::string& key : keys)
        EXPECT_TRUE(std::regex_search(text, std::regex("\\b" + key + "\\b")))
            << "\"" << key << "\" is printed but not in the man page";
}

}  // namespace
}  // namespace tools_test
