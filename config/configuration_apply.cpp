#include "config/configuration_apply.h"

#include <algorithm>
#include <thread>

#include "config/pid_list_form.h"
#include "config/r40_settings_to_xml_doc.h"
#include "config/tuning_form.h"
#include "config/values_to_send.h"

namespace config {

namespace {

class StageReporter {
  public:
    StageReporter(ApplyResult& result, const ApplyOptions& options)
        : m_result(result), m_options(options) {}

    void Succeeded(ApplyStage stage) { Report({stage, true, 0, 0, {}, {}}); }
    void NotInFile(ApplyStage stage) { Report({stage, false, REASON_NOT_IN_FILE, 0, {}, {}}); }
    void Invalid(const ValueFault& fault) {
        Report({fault.stage, false, REASON_NOT_IN_FILE, 0, {}, fault.Text()});
    }
    void NotForModel(ApplyStage stage) { Report({stage, false, REASON_NOT_FOR_MODEL, 0, {}, {}}); }
    void OtherReceiver(ApplyStage stage, const ReceiverKey& fileKey) {
        Report({stage, false, REASON_OTHER_RECEIVER, 0, fileKey, {}});
    }
    void SendFailed(ApplyStage stage, std::int32_t code) {
        Report({stage, false, REASON_SEND_FAILED, code, {}, {}});
    }

  private:
    void Report(const StageOutcome& outcome) {
        m_result.stages.push_back(outcome);
        if (m_options.onStage) m_options.onStage(outcome);
    }

    ApplyResult& m_result;
    const ApplyOptions& m_options;
};

// A caller that is empty reaches no device: every call fails.
std::int32_t Call(const DeviceCaller& device, const DeviceCall& call) {
    return device ? device(call) : RC_FAILED;
}

DeviceCaller Direct(DeviceHandle device) {
    return [device](const DeviceCall& call) { return call(device); };
}

bool StopRequested(const ApplyOptions& options) {
    return options.stopRequested && options.stopRequested();
}

// Waits out the pause unless a stop is asked for meanwhile; false then.
bool PauseUnlessStopped(const ApplyOptions& options) {
    constexpr std::chrono::milliseconds STEP{20};
    const auto end = std::chrono::steady_clock::now() + options.pause;
    while (!StopRequested(options)) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, STEP));
    }
    return false;
}

bool ReadNetworkSettings(const CR40SettingsToXmlDoc& document, std::uint16_t statusPort,
                         NetworkSettings& settings) {
    settings = NetworkSettings{};
    settings.statusPort = statusPort;
    settings.listenPort = statusPort;
    std::int32_t useIgmp = 0;
    if (!document.ReadDefaultGW(settings.defaultGateway) ||
        !document.ReadDeviceIP(settings.deviceAddress) ||
        !document.ReadDeviceSubNet(settings.subnetMask) ||
        !document.ReadUnicastStatus(settings.unicastStatusAddress) ||
        !document.ReadUseIGMP(useIgmp))
        return false;
    settings.useIgmp = useIgmp != 0 ? 1 : 0;
    return true;
}

}  // namespace

bool ApplyResult::AllApplied() const {
    auto applied = [&](ApplyStage stage) {
        return std::any_of(stages.begin(), stages.end(),
                           [&](const StageOutcome& s) { return s.stage == stage && s.succeeded; });
    };
    return applied(ApplyStage::Network) && applied(ApplyStage::Channel) &&
           applied(ApplyStage::PidList);
}

ApplyResult LoadAndApply(DeviceHandle device, const std::string& fileName,
                         const ApplyOptions& options) {
    return LoadAndApply(Direct(device), fileName, options);
}

ApplyResult LoadAndApply(const DeviceCaller& device, const std::string& fileName,
                         const ApplyOptions& options) {
    ApplyResult result;
    StageReporter report(result, options);

    CR40SettingsToXmlDoc document;
    if (!document.Load(fileName)) {
        report.SendFailed(ApplyStage::File, 0);
        return result;
    }

    NetworkSettings settings;
    if (!ReadNetworkSettings(document, options.statusPort, settings)) {
        report.NotInFile(ApplyStage::Network);
        return result;
    }
    // Another receiver's address, put on this one, would give two receivers
    // one identity on the LAN.
    ReceiverKey fileKey{};
    const bool fromOtherReceiver =
        options.receiver && !options.networkOfOtherReceiver &&
        OwnerOf(document, *options.receiver, &fileKey) == FileOwner::OtherReceiver;

    std::uint16_t type = TYPE_UNRECOGNISED;
    Call(device, [&](DeviceHandle h) { return GetDeviceType(h, &type); });
    // Nothing goes out when anything that would is unfit for a receiver.
    if (const auto fault = CheckValuesToSend(document, type, !fromOtherReceiver)) {
        report.Invalid(*fault);
        return result;
    }
    if (StopRequested(options)) {
        result.stopped = true;
        return result;
    }

    bool networkApplied = false;
    if (fromOtherReceiver) {
        report.OtherReceiver(ApplyStage::Network, fileKey);
    } else if (const std::int32_t rc =
                   Call(device, [&](DeviceHandle h) { return SetNetworkSettings(h, &settings); });
               rc != 0) {
        report.SendFailed(ApplyStage::Network, rc);
        return result;
    } else {
        report.Succeeded(ApplyStage::Network);
        networkApplied = true;
    }

    // SetChannel reads an RF channel or a SatelliteTuning by the device's
    // type: each model gets only its own kind.
    std::int32_t channel = 0;
    std::uint16_t rfChannel = 0;
    SatelliteTuning satellite{};
    const void* tuning = nullptr;
    if (TakesRfChannel(type) && document.ReadChannel(channel)) {
        rfChannel = static_cast<std::uint16_t>(channel);
        tuning = &rfChannel;
    } else if (TakesSatelliteTuning(type) && document.ReadSatelliteTuning(satellite)) {
        tuning = &satellite;
    }
    if (tuning == nullptr) {
        if (TakesRfChannel(type))
            report.NotInFile(ApplyStage::Channel);
        else
            report.NotForModel(ApplyStage::Channel);
    } else if (!PauseUnlessStopped(options)) {
        result.stopped = true;
        return result;
    } else {
        if (const std::int32_t rc =
                Call(device, [&](DeviceHandle h) { return SetChannel(h, tuning); });
            rc != 0)
            report.SendFailed(ApplyStage::Channel, rc);
        else
            report.Succeeded(ApplyStage::Channel);
    }

    // The list goes to the library only in the form the device type takes.
    auto forwarding = EmptyPidList<TrevanPidListRecord>();
    auto standard = EmptyPidList<PidListRecord>();
    void* list = nullptr;
    if (TakesForwardingPidList(type)) {
        if (document.ReadPIDListWithDestinations(forwarding)) list = &forwarding;
    } else if (TakesStandardPidList(type)) {
        if (document.ReadPIDList(standard)) {
            // Every standard-form entry is a PID the receiver passes, control
            // 1, as the content dialog makes them. A file saved from a
            // forwarding model marks its video PID 0; an R40 or T22 (3.x)
            // reports every entry back as 1, so that list would never verify.
            std::fill(std::begin(standard.control), std::end(standard.control), std::uint8_t{1});
            list = &standard;
        }
    } else {
        report.SendFailed(ApplyStage::PidList, RC_FAILED);
        return result;
    }
    if (list == nullptr) {
        report.NotInFile(ApplyStage::PidList);
        return result;
    }
    if (!PauseUnlessStopped(options)) {
        result.stopped = true;
        return result;
    }
    if (const std::int32_t rc = Call(device, [&](DeviceHandle h) { return SetPidList(h, list); });
        rc != 0) {
        report.SendFailed(ApplyStage::PidList, rc);
        return result;
    }
    report.Succeeded(ApplyStage::PidList);

    // The loaded file, as it was loaded, becomes the last used configuration,
    // but only when it is the receiver's own configuration now: with its
    // network settings skipped it describes another receiver.
    if (!options.lastUsedFile.empty() && networkApplied)
        result.lastUsedReplaced = document.SaveAs(options.lastUsedFile);
    return result;
}

CreateFromStatusResult CreateConfigurationFromStatus(DeviceHandle device,
                                                     const R40StatusRecord& status,
                                                     const std::string& fileName) {
    return CreateConfigurationFromStatus(Direct(device), status, fileName);
}

CreateFromStatusResult CreateConfigurationFromStatus(const DeviceCaller& device,
                                                     const R40StatusRecord& status,
                                                     const std::string& fileName) {
    std::uint16_t type = TYPE_UNRECOGNISED;
    Call(device, [&](DeviceHandle h) { return GetDeviceType(h, &type); });
    if (!TakesRfChannel(type)) return {CreateFromStatusError::NotAnR40, 0};

    // The table is read before the file is touched: a receiver that does not
    // answer must not leave a file with an empty or stale list behind.
    auto forwarding = EmptyPidList<TrevanPidListRecord>();
    auto standard = EmptyPidList<PidListRecord>();
    const bool withDestinations = type == TYPE_R40_TREVAN;
    const std::int32_t rc = Call(device, [&](DeviceHandle h) {
        return withDestinations ? GetPidList(h, &forwarding) : GetPidList(h, &standard);
    });
    if (rc != 0) return {CreateFromStatusError::PidListUnreadable, rc};

    // The whole configuration replaces the file once: never a file with the
    // new address beside the old channel and PID list.
    CR40SettingsToXmlDoc document;
    if (document.OpenForWriting(fileName, CR40SettingsToXmlDoc::SaveMode::OnCommit) != OPEN_OK)
        return {CreateFromStatusError::FileNotCreated, 0};
    const std::uint8_t macBytes[3] = {status.mac[3], status.mac[4], status.mac[5]};
    const bool written =
        document.WriteMACBytes(macBytes) && document.WriteDefaultGW(status.defaultGateway) &&
        document.WriteDeviceIP(status.deviceAddress) &&
        document.WriteDeviceSubNet(status.subnetMask) &&
        document.WriteUnicastStatus(status.unicastStatusAddress) &&
        document.WriteUseIGMP(status.igmpOn == 1) && document.WriteChannel(status.channel) &&
        (withDestinations ? document.WritePIDListWithDestinations(forwarding)
                          : document.WritePIDList(standard)) &&
        document.Commit();
    if (!written) return {CreateFromStatusError::FileNotWritten, 0};
    return {};
}

}  // namespace config
