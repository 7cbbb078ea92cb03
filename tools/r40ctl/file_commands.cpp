// r40ctl apply and save: a configuration file applied to a receiver stage by
// stage, and a configuration file made from a receiver's status. Both are
// the console's own operations, shared through config_apply.
#include <cstdio>
#include <string>

#include "config/configuration_apply.h"
#include "config/file_owner.h"
#include "config/r40_settings_to_xml_doc.h"
#include "config/tuning_form.h"
#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/receiver_status.h"
#include "tools/r40ctl/stop_signal.h"

namespace r40ctl {

namespace {

using config::ApplyStage;
using config::StageOutcome;

const char* StageName(ApplyStage stage) {
    switch (stage) {
        case ApplyStage::File:
            return "file";
        case ApplyStage::Network:
            return "network";
        case ApplyStage::Channel:
            return "channel";
        case ApplyStage::PidList:
            return "pids";
    }
    return "?";
}

std::string OutcomeText(const StageOutcome& s) {
    if (s.succeeded) return "applied";
    if (s.stage == ApplyStage::File) return "cannot be loaded";
    if (s.reason == config::REASON_NOT_IN_FILE && !s.detail.empty())
        return "invalid in the file, nothing was sent: " + s.detail;
    if (s.reason == config::REASON_NOT_IN_FILE) return "not in the file (or invalid there)";
    if (s.reason == config::REASON_NOT_FOR_MODEL)
        return s.stage == ApplyStage::Channel ? "skipped: the file holds no tuning this model takes"
                                              : "skipped: not for this model";
    if (s.reason == config::REASON_OTHER_RECEIVER)
        return "not applied: the file was made from receiver " + config::KeyText(s.fileKey);
    return "failed, " + DescribeResult(s.result);
}

// The reason's name beside its number; null when the stage succeeded.
Json ReasonName(const StageOutcome& s) {
    if (s.succeeded) return nullptr;
    switch (s.reason) {
        case config::REASON_NOT_IN_FILE:
            return "not_in_file";
        case config::REASON_SEND_FAILED:
            return s.stage == ApplyStage::File ? "file_unreadable" : "send_failed";
        case config::REASON_NOT_FOR_MODEL:
            return "not_for_model";
        case config::REASON_OTHER_RECEIVER:
            return "other_receiver";
        default:
            return "failed";
    }
}

Json OutcomeJson(const StageOutcome& s) {
    const bool sent =
        !s.succeeded && s.reason == config::REASON_SEND_FAILED && s.stage != ApplyStage::File;
    return Json{{"stage", StageName(s.stage)},
                {"number", static_cast<int>(s.stage)},
                {"ok", s.succeeded},
                {"skipped", s.Skipped()},
                {"reason", s.reason},
                {"reason_name", ReasonName(s)},
                {"result", sent ? Json(s.result) : Json(nullptr)},
                {"result_text", sent ? Json(DeviceResultText(s.result)) : Json(nullptr)},
                {"detail", s.detail.empty() ? Json(nullptr) : Json(s.detail)}};
}

// The exit code of an apply: that of its first failed stage.
int ApplyExitCode(const config::ApplyResult& result) {
    for (const StageOutcome& s : result.stages) {
        if (s.succeeded || s.Skipped()) continue;
        if (s.stage == ApplyStage::File || s.reason == config::REASON_NOT_IN_FILE) return EXIT_FILE;
        return EXIT_REFUSED;
    }
    return 0;
}

std::string StopReason(const config::ApplyResult& result) {
    for (const StageOutcome& s : result.stages)
        if (!s.succeeded && !s.Skipped())
            return std::string(StageName(s.stage)) + " " + OutcomeText(s);
    return "";
}

}  // namespace

int RunApply(Context& context, const ApplyFileOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    std::optional<std::uint16_t> statusPort;
    if (options.statusPort) statusPort = RequireStatusPort(*options.statusPort, "--status-port");
    // A file that cannot be loaded is found out before the network is touched.
    if (CR40SettingsToXmlDoc probe; !probe.Load(options.file))
        throw Failure(EXIT_FILE, options.file +
                                     ": cannot be loaded: missing, unreadable or not a "
                                     "configuration file");

    OpenReceiver receiver = FindAndOpen(context, query);
    config::ApplyOptions apply;
    apply.statusPort = statusPort.value_or(static_cast<std::uint16_t>(receiver.entry.statusPort));
    apply.lastUsedFile = options.lastUsed;
    apply.receiver = config::KeyOfMac(receiver.entry.mac);
    apply.networkOfOtherReceiver = options.withNetwork;
    // A signal stops the apply before its next stage sends.
    apply.stopRequested = [] { return StopRequested(); };
    if (!context.json)
        apply.onStage = [](const StageOutcome& s) {
            std::printf("%-8s %s\n", StageName(s.stage), OutcomeText(s).c_str());
            std::fflush(stdout);
        };
    const config::ApplyResult result = config::LoadAndApply(receiver.get(), options.file, apply);
    // Said even when the rest succeeded: the receiver kept its own address.
    for (const StageOutcome& s : result.stages)
        if (s.reason == config::REASON_OTHER_RECEIVER)
            Message("apply: network settings not applied: " + options.file +
                    " was made from receiver " + config::KeyText(s.fileKey) +
                    " (--with-network applies them anyway)");
    const int exitCode = result.stopped ? 128 + StopSignal() : ApplyExitCode(result);
    if (!options.lastUsed.empty() && exitCode == 0 && !result.lastUsedReplaced)
        Message("warning: " + options.lastUsed + " could not be written");

    if (context.json) {
        Json stages = Json::array();
        for (const StageOutcome& s : result.stages) stages.push_back(OutcomeJson(s));
        Json document = SuccessJson(receiver.entry);
        document["ok"] = exitCode == 0;
        document["file"] = options.file;
        document["stages"] = stages;
        document["last_used_replaced"] = result.lastUsedReplaced;
        document["stopped"] = result.stopped;
        PrintJson(document);
    }
    if (result.stopped) {
        Message("apply: interrupted; " +
                std::string(result.stages.empty()
                                ? "nothing was sent"
                                : "the stages after " +
                                      std::string(StageName(result.stages.back().stage)) +
                                      " were not sent"));
        return exitCode;
    }
    // Stages after the first failure may still have applied (the PID list
    // goes out after a failed channel), so the message names the first.
    if (exitCode != 0) Message("apply: " + StopReason(result));
    return exitCode;
}

int RunSave(Context& context, const SaveOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    const FoundReceiver found = Find(context, query);
    const DeviceInfo& entry = found.entry;
    if (!config::TakesRfChannel(entry.deviceType))
        throw Failure(EXIT_USAGE, std::string("the ") + DeviceTypeName(entry.deviceType) +
                                      " has no channel to save: configuration files are made "
                                      "from R40 and R40V receivers only");

    OpenReceiver receiver = Open(context, found);
    StopIfRequested();
    R40StatusRecord status{};
    std::int32_t rc = 0;
    const auto shown = CurrentStatus(found, receiver, &rc, &status);
    if (!shown) throw Refused("no status from the receiver", rc);

    const auto saved = config::CreateConfigurationFromStatus(receiver.get(), status, options.file);
    using config::CreateFromStatusError;
    switch (saved.error) {
        case CreateFromStatusError::None:
            break;
        case CreateFromStatusError::NotAnR40:
            throw Failure(EXIT_USAGE, "configuration files are made from R40 and R40V only");
        case CreateFromStatusError::PidListUnreadable:
            throw Refused("the receiver did not answer the PID table read; " + options.file +
                              " was not touched",
                          saved.result);
        case CreateFromStatusError::FileNotCreated:
            throw Failure(EXIT_FILE, options.file +
                                         ": cannot be opened for writing (far larger than any "
                                         "configuration file?); nothing was written");
        case CreateFromStatusError::FileNotWritten:
            throw Failure(EXIT_FILE, options.file + ": cannot be written; nothing was written");
    }

    if (context.json) {
        Json document = SuccessJson(entry);
        document["file"] = options.file;
        document["channel"] = static_cast<unsigned>(status.channel);
        document["pids"] = PidsJson(shown->pids);
        PrintJson(document);
    } else {
        PrintFields({{"receiver", DescribeReceiver(entry)},
                     {"file", options.file},
                     {"channel", std::to_string(status.channel)},
                     {"pids", std::to_string(shown->pids.size())}});
    }
    return 0;
}

}  // namespace r40ctl
