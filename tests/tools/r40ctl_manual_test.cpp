// The man page: installed by cmake --install, formatted without warnings,
// and naming every option each subcommand's --help offers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Output of a shell command (stdout and stderr), and its exit status.
std::string Capture(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    *status = ::pclose(pipe);
    return output;
}

const std::string MAN_PAGE = R40_SOURCE_DIR "/tools/r40ctl/r40ctl.1";

TEST(ManPage, InstallsWithCmakeInstall) {
    const auto prefix =
        std::filesystem::temp_directory_path() / ("r40ctl-install-" + std::to_string(::getpid()));
    int status = -1;
    const std::string output = Capture(
        std::string(R40_CMAKE) + " --install " R40_BINARY_DIR " --prefix " + prefix.string(),
        &status);
    EXPECT_EQ(status, 0) << output;
    // Compressed, as man and Debian expect.
    const auto installed = prefix / "share/man/man1/r40ctl.1.gz";
    EXPECT_TRUE(std::filesystem::exists(installed)) << output;
    int gunzipStatus = -1;
    EXPECT_EQ(Capture("gzip -dc " + installed.string(), &gunzipStatus), ReadFile(MAN_PAGE));
    EXPECT_EQ(gunzipStatus, 0);
    std::filesystem::remove_all(prefix);
}

TEST(ManPage, FormatsWithoutWarnings) {
    int status = -1;
    const std::string output = Capture("groff -man -ww -z " + MAN_PAGE, &status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "");
}

TEST(ManPage, NamesEveryOptionOfEverySubcommand) {
    const std::string page = ReadFile(MAN_PAGE);
    ASSERT_FALSE(page.empty());
    const std::regex longOption(R"(--([a-z][a-z-]+))");
    for (const char* command :
         {"discover", "status", "tune", "pids", "network", "reset", "apply", "save", "exporter"}) {
        int status = -1;
        const std::string help =
            Capture(std::string(R40CTL_PATH) + " " + command + " --help", &status);
        ASSERT_EQ(status, 0) << help;
        EXPECT_NE(page.find(std::string(".B ") + command), std::string::npos) << command;
        for (std::sregex_iterator it(help.begin(), help.end(), longOption), end; it != end; ++it) {
            const std::string option = (*it)[1];
            if (option == "help") continue;
            // Written in roff as \-\-option with each hyphen escaped.
            std::string roff = "\\-\\-" + std::regex_replace(option, std::regex("-"), "\\-");
            EXPECT_NE(page.find(roff), std::string::npos)
                << command << " --" << option << " is not in the man page";
        }
    }
}

TEST(Help, EveryReceiverCommandNamesItsValuesAndShowsExamples) {
    for (const char* command :
         {"discover", "status", "tune", "pids", "network", "reset", "apply", "save"}) {
        SCOPED_TRACE(command);
        int status = -1;
        const std::string help =
            Capture(std::string(R40CTL_PATH) + " " + command + " --help", &status);
        ASSERT_EQ(status, 0) << help;
        // Every value is named for what it is, none as the parser's TEXT.
        EXPECT_EQ(help.find("TEXT"), std::string::npos) << help;
        EXPECT_NE(help.find("--port PORT"), std::string::npos) << help;
        EXPECT_NE(help.find("--timeout SECONDS"), std::string::npos) << help;
        const std::size_t examples = help.find("Examples:\n");
        ASSERT_NE(examples, std::string::npos) << help;
        EXPECT_NE(help.find(std::string("  r40ctl ") + command + " ", examples), std::string::npos)
            << help;
    }
}

// The exporter is no receiver command, but its values are named the same way.
TEST(Help, TheExporterNamesItsValuesAndShowsExamples) {
    int status = -1;
    const std::string help = Capture(std::string(R40CTL_PATH) + " exporter --help", &status);
    if (status != 0) GTEST_SKIP() << "this build has no exporter";
    EXPECT_EQ(help.find("TEXT"), std::string::npos) << help;
    for (const char* named :
         {"--listen ADDRESS:PORT", "--port PORT", "--forget-after DURATION", "--expect MAC",
          "--expect-file FILE", "Examples:\n  r40ctl exporter "})
        EXPECT_NE(help.find(named), std::string::npos) << named << "\n" << help;
}

}  // namespace
