#include "config/values_to_send.h"

#include <array>
#include <cstring>
#include <variant>

#include "config/pid_list_form.h"
#include "config/value_text.h"

namespace config {

namespace {

constexpr std::uint32_t HIGHEST_PORT = 0xFFFF;
constexpr std::uint32_t HIGHEST_CONTROL = 0xFF;  // a byte, as the file format has it

const char* const NOT_AN_ADDRESS = "not an IPv4 address of four numbers 0 to 255";

struct AddressElement {
    const char* name;
    std::uint8_t* field;
};

ValueFault Fault(ApplyStage stage, std::string element, std::string value, std::string why) {
    return {stage, std::move(element), std::move(value), std::move(why)};
}

std::string EntryName(std::size_t index, const char* part) {
    return "PIDEntry " + std::to_string(index + 1) + " " + part;
}

std::optional<ValueFault> CheckNetwork(const CR40SettingsToXmlDoc& document) {
    // The ports are the caller's, not the file's: the library judges them
    // when the settings are sent.
    NetworkSettings settings{};
    settings.statusPort = settings.listenPort = STATUS_PORTS[0];
    const std::array<AddressElement, 4> elements{{
        {"DefaultGW", settings.defaultGateway},
        {"DeviceIP", settings.deviceAddress},
        {"DeviceSubNet", settings.subnetMask},
        {"UnicastStatus", settings.unicastStatusAddress},
    }};
    // Without all of them the network stage sends nothing and says so.
    for (const AddressElement& element : elements)
        if (!document.ElementText(element.name)) return std::nullopt;
    if (!document.ElementText("UseIGMP")) return std::nullopt;

    for (const AddressElement& element : elements) {
        const std::string text = *document.ElementText(element.name);
        const auto address = ExactDottedAddress(text);
        if (!address) return Fault(ApplyStage::Network, element.name, text, NOT_AN_ADDRESS);
        std::memcpy(element.field, address->data(), 4);
    }
    const std::int32_t refused = CheckNetworkSettings(&settings);
    auto named = [&](const char* name) {
        return Fault(ApplyStage::Network, name, *document.ElementText(name),
                     DeviceResultText(refused));
    };
    switch (refused) {
        case 0:
            return std::nullopt;
        case ERR_NET_MASK_INVALID:
            return named("DeviceSubNet");
        case ERR_NET_GATEWAY_INVALID:
            return named("DefaultGW");
        case ERR_NET_STATUS_COPY_INVALID:
            return named("UnicastStatus");
        default:  // the address itself
            return named("DeviceIP");
    }
}

// The entry's texts must be whole numbers and addresses of their kind; a
// missing destination is none (0.0.0.0, port 0), as the apply reads it.
std::optional<ValueFault> CheckEntryTexts(const CR40SettingsToXmlDoc::PidEntryText& entry,
                                          std::size_t index, bool destinations) {
    using Text = std::optional<std::string>;
    auto number = [&](const Text& text, const char* part,
                      std::uint32_t max) -> std::optional<ValueFault> {
        if (!text) return Fault(ApplyStage::PidList, EntryName(index, part), "", "missing");
        if (!ExactDecimal(*text, max))
            return Fault(ApplyStage::PidList, EntryName(index, part), *text,
                         "not a number 0 to " + std::to_string(max));
        return std::nullopt;
    };
    if (auto fault = number(entry.entry, "Entry", HIGHEST_PORT)) return fault;
    // The standard form sends every entry with control 1, whatever the file says.
    if (!destinations) return std::nullopt;
    if (auto fault = number(entry.control, "Control", HIGHEST_CONTROL)) return fault;
    if (entry.destinationIp && !ExactDottedAddress(*entry.destinationIp))
        return Fault(ApplyStage::PidList, EntryName(index, "Destination_IP"), *entry.destinationIp,
                     NOT_AN_ADDRESS);
    if (entry.destinationPort)
        return number(entry.destinationPort, "Destination_Port", HIGHEST_PORT);
    return std::nullopt;
}

// What the library finds wrong with entry `index` of the list the apply
// would send, told against the file's texts.
ValueFault EntryFault(std::int32_t refused, const CR40SettingsToXmlDoc::PidEntryText& entry,
                      std::size_t index, const TrevanPidListRecord* forwarding) {
    if (refused == ERR_PID_FORWARDING && forwarding != nullptr) {
        if (forwarding->control[index] > 7)
            return Fault(ApplyStage::PidList, EntryName(index, "Control"), *entry.control,
                         "a forwarded PID's control value is 0 to 7");
        return Fault(
            ApplyStage::PidList, EntryName(index, "destination"),
            entry.destinationIp.value_or("0.0.0.0") + ":" + entry.destinationPort.value_or("0"),
            DeviceResultText(refused));
    }
    const std::uint32_t pid = *ExactDecimal(*entry.entry, HIGHEST_PORT);
    return Fault(ApplyStage::PidList, EntryName(index, "Entry"), *entry.entry,
                 pid <= NULL_PID ? "this PID is in the list twice"
                                 : "not a PID 0 to 8190 (8191 marks an empty entry)");
}

std::optional<ValueFault> CheckPidListTexts(const CR40SettingsToXmlDoc& document,
                                            std::uint16_t deviceType) {
    const bool destinations = TakesForwardingPidList(deviceType);
    if (!destinations && !TakesStandardPidList(deviceType)) return std::nullopt;
    const auto text = document.ReadPIDListText();
    if (!text) return std::nullopt;  // no list: the apply says so
    const std::string sizeText = text->size.value_or("");
    const auto size = ExactDecimal(sizeText, MAX_PIDS);
    if (!size) return Fault(ApplyStage::PidList, "PIDList Size", sizeText, "not a count 0 to 32");
    if (*size != text->entries.size())
        return Fault(ApplyStage::PidList, "PIDList Size", sizeText,
                     "the list holds " + std::to_string(text->entries.size()) + " PIDEntry");
    for (std::size_t i = 0; i < text->entries.size(); ++i)
        if (auto fault = CheckEntryTexts(text->entries[i], i, destinations)) return fault;

    // The list as the apply reads and sends it.
    AnyPidList list = EmptyPidListFor(deviceType);
    std::int32_t bad = -1;
    std::int32_t refused = 0;
    const TrevanPidListRecord* forwarding = nullptr;
    if (auto* record = std::get_if<TrevanPidListRecord>(&list)) {
        document.ReadPIDListWithDestinations(*record);
        forwarding = record;
        refused = CheckPidList(deviceType, record, &bad);
    } else {
        auto& standard = std::get<PidListRecord>(list);
        document.ReadPIDList(standard);
        std::fill(std::begin(standard.control), std::end(standard.control), std::uint8_t{1});
        refused = CheckPidList(deviceType, &standard, &bad);
    }
    if (refused == 0) return std::nullopt;
    if (bad < 0)
        return Fault(ApplyStage::PidList, "PIDList Size", sizeText, DeviceResultText(refused));
    return EntryFault(refused, text->entries[static_cast<std::size_t>(bad)],
                      static_cast<std::size_t>(bad), forwarding);
}

}  // namespace

std::string ValueFault::Text() const {
    return element + " \"" + value + "\": " + why;
}

std::optional<ValueFault> CheckValuesToSend(const CR40SettingsToXmlDoc& document,
                                            std::uint16_t deviceType, bool networkSent) {
    if (networkSent)
        if (auto fault = CheckNetwork(document)) return fault;
    return CheckPidListTexts(document, deviceType);
}

}  // namespace config
