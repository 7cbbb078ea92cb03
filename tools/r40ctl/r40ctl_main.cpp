// r40ctl: every receiver operation from the command line, for scripts and
// machines without a display. Data goes to stdout (aligned text, or JSON with
// --json), messages to stderr; exit codes in failure.h and r40ctl.1.
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/commands.h"
#if R40CTL_EXPORTER
#include "tools/r40ctl/exporter/hearing_options.h"
#endif
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/stop_signal.h"
#include "tools/r40ctl/text_values.h"
#include "tools/r40ctl/usage_text.h"

#ifndef R40CTL_VERSION
#define R40CTL_VERSION "0"
#endif

namespace {

using namespace r40ctl;

constexpr const char* RECEIVER_HELP =
    "IPv4 address, MAC address (02-5C-C1-00-00-14, 02:5c:c1:00:00:14, 025cc1000014) or its "
    "last three bytes (00-00-14)";

// The subcommands, their options and what running each one means.
class CommandLine {
  public:
    CommandLine();
    // Parses, runs the subcommand and maps a failure to its exit code.
    int Main(int argc, char** argv);

  private:
    CLI::App* Command(const char* name, const char* description, bool receiver,
                      std::string* receiverText, const char* examples, std::function<int()> body);
    void Report(const Failure& failure) const;
    // The first word that should be a command and is none, or empty.
    std::string UnknownCommand(int argc, char** argv) const;
    // "r40ctl status --help" for the command given, else "r40ctl --help".
    std::string HelpHint() const;

    CLI::App m_app{
        "Manage R40 and T22 receivers on the network: discover, read status, tune, "
        "set PIDs and network settings, reset, apply and save configuration files.",
        "r40ctl"};
    Context m_context;
    std::string m_port;
    std::function<int()> m_run;

    StatusOptions m_status;
    TuneOptions m_tune;
    PidsOptions m_pids;
    NetworkOptions m_network;
    ResetOptions m_reset;
    ApplyFileOptions m_apply;
    SaveOptions m_save;
    ExporterOptions m_exporter;
};

// CLI11's Range lets NaN through: every comparison with it is false.
CLI::Validator Finite() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value))
                return text + " is not a finite number";
            return {};
        },
        "FINITE");
}

// std::optional<std::string> members as CLI11 options.
CLI::Option* AddOptional(CLI::App* command, const char* name, std::optional<std::string>& value,
                         const char* help) {
    return command->add_option_function<std::string>(
        name, [&value](const std::string& text) { value = text; }, help);
}

CLI::App* CommandLine::Command(const char* name, const char* description, bool receiver,
                               std::string* receiverText, const char* examples,
                               std::function<int()> body) {
    CLI::App* command = m_app.add_subcommand(name, description);
    command->add_flag("--json", m_context.json, "one JSON document on stdout (keys in r40ctl(1))");
    command
        ->add_option("--port", m_port,
                     receiver ? "look for the receiver on this status port only"
                              : "list only receivers heard on this status port")
        ->type_name("PORT");
    command
        ->add_option_function<double>(
            "--timeout", [this](double seconds) { m_context.timeout = seconds; },
            receiver ? "seconds to wait for the receiver's status (default 3)"
                     : "listen this many seconds, pass after pass (default: one pass, about 2)")
        ->type_name("SECONDS")
        ->check(Finite())
        ->check(CLI::Range(0.1, 3600.0));
    if (receiver)
        command->add_option("RECEIVER", *receiverText, RECEIVER_HELP)
            ->required()
            ->type_name("RECEIVER");
    command->footer(std::string("Examples:\n") + examples);
    command->callback([this, body] { m_run = body; });
    return command;
}

CommandLine::CommandLine() {
    m_app.set_version_flag("--version", std::string("r40ctl ") + R40CTL_VERSION);
    m_app.require_subcommand(1);
    // Before the command as well as after it: r40ctl --json status ...
    m_app.add_flag("--json", m_context.json, "one JSON document on stdout (keys in r40ctl(1))");
    m_app.footer(
        "Exit codes: 0 success, 1 the receiver refused or did not confirm, 2 usage error, 3 "
        "receiver not found, 4 file error.\nSee r40ctl(1) for the JSON keys.");

    Command("discover", "one discovery pass: address, MAC, model and status port per line", false,
            nullptr,
            "  r40ctl discover\n"
            "  r40ctl discover --timeout 10 --json   (receivers with a slow status rhythm too)",
            [this] { return RunDiscover(m_context); });

    CLI::App* s = Command(
        "status", "the receiver's decoded status", true, &m_status.receiver,
        "  r40ctl status 192.168.0.50\n"
        "  r40ctl status 00-60-35 --watch --interval 5\n"
        "  r40ctl status 192.168.0.50 --watch --count 1 --json   (a health check: exit 0 or not)",
        [this] { return RunStatus(m_context, m_status); });
    s->add_flag("--watch", m_status.watch,
                "one line per interval until interrupted; exit 1 when no line had a status");
    s->add_option("--interval", m_status.interval,
                  "seconds between watch lines (default 1; never more often than the receiver "
                  "sends)")
        ->type_name("SECONDS")
        ->check(Finite())
        ->check(CLI::Range(0.1, 86400.0));
    s->add_option("--count", m_status.count, "stop the watch after this many lines")
        ->type_name("N")
        ->check(CLI::Range(1L, 1000000000L));

    CLI::App* t =
        Command("tune", "tune and wait for the receiver's confirmation", true, &m_tune.receiver,
                "  r40ctl tune 192.168.0.50 --channel 33\n"
                "  r40ctl tune 00-60-36 --frequency 1150 --symbol-rate 22 --options 0x03",
                [this] { return RunTune(m_context, m_tune); });
    t->add_option_function<std::string>(
         "--channel",
         [this](const std::string& text) {
             // A number too long for any channel is refused as written, not
             // as the largest integer it would be clamped to.
             const auto channel = ParseNumber(text, 0x7FFFFFFF);
             if (!channel)
                 throw CLI::ValidationError("--channel", text + " is not a channel 2 to 69");
             m_tune.channel = static_cast<long>(*channel);
         },
         "RF channel 2 to 69 (R40, R40V)")
        ->type_name("N");
    t->add_option_function<double>(
         "--frequency", [this](double v) { m_tune.frequency = v; }, "frequency in MHz (satellite)")
        ->type_name("MHZ");
    t->add_option_function<double>(
         "--symbol-rate", [this](double v) { m_tune.symbolRate = v; },
         "symbol rate in Msym/s (satellite)")
        ->type_name("MSYMS");
    AddOptional(t, "--options", m_tune.options, "tuning option bits 0 to 4, e.g. 0x03 (satellite)")
        ->type_name("BITS");

    CLI::App* p = Command("pids", "read or write the PID list", true, &m_pids.receiver,
                          "  r40ctl pids 192.168.0.50\n"
                          "  r40ctl pids 192.168.0.50 --set 0x30 0x31 0x34\n"
                          "  r40ctl pids 00-60-35 --set 48 49=239.1.1.1:1234   (R40V: forward 49)",
                          [this] { return RunPids(m_context, m_pids); });
    p->add_option("--set", m_pids.set,
                  "the new list: PIDs 32 to 8190, decimal or 0x hex; PID=ADDRESS:PORT forwards "
                  "a PID (R40V, T22CA, Trevan)")
        ->type_name("PID[=ADDRESS:PORT]")
        ->expected(1, MAX_PIDS + 8);
    p->add_flag("--clear", m_pids.clear, "write an empty list");

    CLI::App* n = Command("network", "change network settings; those not given are kept", true,
                          &m_network.receiver,
                          "  r40ctl network 192.168.0.50 --address 192.168.0.60\n"
                          "  r40ctl network 00-60-35 --gateway 192.168.0.1 --igmp on",
                          [this] { return RunNetwork(m_context, m_network); });
    AddOptional(n, "--address", m_network.address, "the receiver's new IPv4 address")
        ->type_name("ADDRESS");
    AddOptional(n, "--mask", m_network.mask, "subnet mask, e.g. 255.255.255.0")->type_name("MASK");
    AddOptional(n, "--gateway", m_network.gateway, "default gateway")->type_name("ADDRESS");
    AddOptional(n, "--status-copy", m_network.statusCopy,
                "address that gets a copy of each status, or off")
        ->type_name("ADDRESS|off");
    AddOptional(n, "--igmp", m_network.igmp, "on or off")->type_name("on|off");
    AddOptional(n, "--status-port", m_network.statusPort,
                "status port the receiver is to send to (default: the one it uses now)")
        ->type_name("PORT");

    CLI::App* r = Command("reset", "restart the receiver", true, &m_reset.receiver,
                          "  r40ctl reset 192.168.0.50          (asks first)\n"
                          "  r40ctl reset 00-60-35 --yes        (from a script)",
                          [this] { return RunReset(m_context, m_reset); });
    r->add_flag("--yes", m_reset.yes, "do not ask (required when stdin is not a terminal)");

    CLI::App* a = Command("apply", "apply a configuration file: network, channel, PID list", true,
                          &m_apply.receiver,
                          "  r40ctl apply 192.168.0.50 studio-a.xml\n"
                          "  r40ctl apply 00-60-35 studio-a.xml --last-used lastused.xml --json",
                          [this] { return RunApply(m_context, m_apply); });
    a->add_option("FILE", m_apply.file, "configuration file (XML)")->required()->type_name("FILE");
    AddOptional(a, "--status-port", m_apply.statusPort,
                "status port for the network settings (default: the one it uses now)")
        ->type_name("PORT");
    a->add_option("--last-used", m_apply.lastUsed,
                  "after network and PID list applied, save the file here too (as the console "
                  "keeps lastused.xml)")
        ->type_name("FILE");
    a->add_flag("--with-network", m_apply.withNetwork,
                "apply the network settings even when the file was made from another receiver");

    CLI::App* v = Command("save",
                          "create a configuration file from the receiver's status (R40, "
                          "R40V)",
                          true, &m_save.receiver, "  r40ctl save 192.168.0.50 studio-a.xml",
                          [this] { return RunSave(m_context, m_save); });
    v->add_option("FILE", m_save.file, "configuration file to create or update")
        ->required()
        ->type_name("FILE");

#if R40CTL_EXPORTER
    // Not a receiver command: it names no receiver and sends nothing.
    CLI::App* e = m_app.add_subcommand(
        "exporter",
        "serve the status of every receiver heard to Prometheus (/metrics over HTTP); sends "
        "nothing to the receivers");
    e->add_option("--listen", m_exporter.listen,
                  "HTTP address ADDRESS:PORT (default 0.0.0.0:" +
                      std::to_string(DEFAULT_EXPORTER_PORT) + "; [::]:PORT for IPv6)")
        ->type_name("ADDRESS:PORT");
    exporter::AddHearingOptions(
        *e, m_exporter.hearing,
        "how long after its last status a silent receiver's series go: seconds, or "
        "with s, m, h or d (default 7d; expected receivers are never forgotten)");
    e->footer(
        "Examples:\n"
        "  r40ctl exporter --listen localhost:9771\n"
        "  r40ctl exporter --expect 02-5C-C1-00-60-36 --forget-after 30d");
    m_exporter.version = R40CTL_VERSION;
    e->callback([this] { m_run = [this] { return RunExporter(m_exporter); }; });
#endif
}

// The failure as a JSON document: what --json promises even when a command fails.
Json FailureJson(const Context& context, const Failure& failure) {
    Json error{{"exit_code", failure.ExitCode()}, {"message", failure.what()}};
    error["result"] = failure.Result() ? Json(*failure.Result()) : Json(nullptr);
    error["result_text"] =
        failure.Result() ? Json(DeviceResultText(*failure.Result())) : Json(nullptr);
    Json document{{"ok", false}};
    document["receiver"] = context.receiver ? ReceiverJson(*context.receiver) : Json(nullptr);
    document["error"] = error;
    return document;
}

void CommandLine::Report(const Failure& failure) const {
    Message(failure.what());
    if (m_context.json) PrintJson(FailureJson(m_context, failure));
}

std::string CommandLine::UnknownCommand(int argc, char** argv) const {
    // The program's own options take no value, so the first word that is
    // no option is where the command stands.
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") return i + 1 < argc ? argv[i + 1] : "";
        if (!word.empty() && word.front() == '-') continue;
        for (const CLI::App* command : m_app.get_subcommands({}))
            if (command->get_name() == word) return "";
        return std::string(word);
    }
    return "";
}

std::string CommandLine::HelpHint() const {
    for (const CLI::App* command : m_app.get_subcommands({}))
        if (command->parsed()) return "r40ctl " + command->get_name() + " --help";
    return "r40ctl --help";
}

int CommandLine::Main(int argc, char** argv) {
    if (const std::string unknown = UnknownCommand(argc, argv); !unknown.empty()) {
        std::string names;
        for (const CLI::App* command : m_app.get_subcommands({}))
            names += (names.empty() ? "" : ", ") + command->get_name();
        Message("unknown command \"" + unknown + "\" (commands: " + names + ")");
        return EXIT_USAGE;
    }
    try {
        m_app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return m_app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return m_app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return m_app.exit(e);
    } catch (const CLI::ParseError& e) {
        // CLI11's own codes are not ours: every argument error is 2.
        Message(UsageText(e.what()) + " (see " + HelpHint() + ")");
        return EXIT_USAGE;
    }

    InstallStopHandlers();
    try {
        if (!m_port.empty()) m_context.port = RequireStatusPort(m_port, "--port");
        return m_run();
    } catch (const Failure& failure) {
        Report(failure);
        return failure.ExitCode();
    } catch (const std::exception& e) {
        Report(Failure(EXIT_REFUSED, std::string("unexpected failure: ") + e.what()));
        return EXIT_REFUSED;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine commandLine;
    return commandLine.Main(argc, argv);
}
