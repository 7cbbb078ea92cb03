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
    StartReceiver(sim::Model::T22CA, 21);
    const std::string file = TempDir() + "/saved.xml";
    std::set<std::string> keys;
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"discover", "--json"},
             std::vector<std::string>{"status", "127.0.0.20", "--json"},
             std::vector<std::string>{"status", "127.0.0.21", "--json"},
             std::vector<std::string>{"tune", "127.0.0.21", "--frequency", "1100", "--symbol-rate",
                                      "20", "--json"},
             std::vector<std::string>{"network", "127.0.0.21", "--igmp", "on", "--json"},
             std::vector<std::string>{"save", "127.0.0.20", file, "--json"},
             std::vector<std::string>{"apply", "127.0.0.21", file, "--json"},
             std::vector<std::string>{"reset", "127.0.0.20", "--yes", "--json"},
             std::vector<std::string>{"status", "127.0.0.99", "--json"},
         }) {
        const RunResult run = Run(args);
        EXPECT_NE(run.exitCode, EXIT_USAGE) << Shown(run);
        CollectKeys(Document(run), keys);
    }
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
