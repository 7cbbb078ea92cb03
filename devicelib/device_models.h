// The six receiver models. Each derives from its family through the slots of
// its PID table's record form.
#pragma once

#include "devicelib/device_families.h"
#include "devicelib/model_pid_tables.h"

namespace devicelib {

class CR40 : public WithStandardPidTable<ATSCDevice, SHORT_TABLE_ENTRIES,
                                         StandardControlRule::AlwaysPassed> {
  public:
    CR40();
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    const std::uint8_t* DvbMacBytes() const override;
    bool AcceptStatus() override;
};

// The R40V: an R40 that forwards selected PIDs to UDP destinations.
class CR40Trevan : public WithForwardingPidTable<ATSCDevice> {
  public:
    CR40Trevan();
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    const std::uint8_t* DvbMacBytes() const override;
    bool AcceptStatus() override;
};

class CT22_V2 : public WithStandardPidTable<CSatelliteDevice, LONG_TABLE_ENTRIES,
                                            StandardControlRule::FromControlBit0> {
  public:
    CT22_V2();
    std::int32_t Tune(const void* tuning) override;
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    bool AcceptStatus() override;

    // The T22 2.x takes a fixed flags byte in its network settings.
    static constexpr std::uint8_t NETWORK_FLAGS = 1;
};

class CT22_V3 : public WithStandardPidTable<CSatelliteDevice, SHORT_TABLE_ENTRIES,
                                            StandardControlRule::AlwaysPassed> {
  public:
    CT22_V3();
    std::int32_t Tune(const void* tuning) override;
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    const std::uint8_t* DvbMacBytes() const override;
    bool AcceptStatus() override;
};

// The T22 with conditional access: its status head block carries the
// conditional-access values, and its reset is not echoed.
class CT22CA : public WithForwardingPidTable<CSatelliteDevice> {
  public:
    CT22CA();
    std::int32_t Reset() override;
    std::int32_t Tune(const void* tuning) override;
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    std::int32_t WriteCaTable(const CaTableRecord& table) override;
    const std::uint8_t* DvbMacBytes() const override;
    bool AcceptStatus() override;

    static constexpr int CA_TABLE_ENTRIES = 16;
};

class CTrevan : public WithForwardingPidTable<CSatelliteDevice> {
  public:
    CTrevan();
    std::int32_t Tune(const void* tuning) override;
    std::int32_t ApplyNetworkSettings(const NetworkSettings& settings) override;
    std::int32_t GetStatusRecord(void* record) override;
    const std::uint8_t* DvbMacBytes() const override;
    bool AcceptStatus() override;
};

// A new, unattached device object of a type code (3 to 8), or null.
std::unique_ptr<COrvelDevice> MakeDevice(std::uint16_t type);

}  // namespace devicelib
