// Views over the status records: one accessor per field, returning the
// field's address inside the record. The decoders are written once per
// family against these accessors and fill any model's record through it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "devicelib/devicelib.h"

namespace devicelib {

class Status {
  public:
    explicit Status(void* record) : m_record(static_cast<std::uint8_t*>(record)) {}
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    // Slot order.
    virtual ~Status();                                 // 0
    virtual std::uint8_t* headBlock() = 0;             // 1
    virtual std::uint8_t* versionMajor() = 0;          // 2
    virtual std::uint8_t* versionMinor() = 0;          // 3
    virtual std::uint8_t* word38() = 0;                // 4
    virtual std::uint8_t* defaultGateway() = 0;        // 5
    virtual std::uint8_t* unicastStatusAddress() = 0;  // 6
    virtual std::uint8_t* subnetMask() = 0;            // 7
    virtual std::uint8_t* mac() = 0;                   // 8
    virtual std::uint8_t* deviceAddress() = 0;         // 9
    virtual std::uint8_t* statusPort() = 0;            // 10
    virtual std::uint8_t* word54() = 0;                // 11
    virtual std::uint8_t* word56() = 0;                // 12
    virtual std::uint8_t* dataActivity() = 0;          // 13
    virtual std::uint8_t* word5A() = 0;                // 14
    virtual std::uint8_t* words58() = 0;               // 15
    virtual std::uint8_t* pids() = 0;                  // 16

  protected:
    std::uint8_t* m_record;
};

class ATSCStatus : public Status {
  public:
    using Status::Status;
    virtual std::uint8_t* modeFlag() = 0;       // 17
    virtual std::uint8_t* channel() = 0;        // 18
    virtual std::uint8_t* word4C() = 0;         // 19
    virtual std::uint8_t* word4E() = 0;         // 20
    virtual std::uint8_t* word4A() = 0;         // 21
    virtual std::uint8_t* carrierOffset() = 0;  // 22
    virtual std::uint8_t* value46() = 0;        // 23
    virtual std::uint8_t* value48() = 0;        // 24
    virtual std::uint8_t* receiverFlags() = 0;  // 25
    virtual std::uint8_t* modulation() = 0;     // 26
    virtual std::uint8_t* snr() = 0;            // 27
    virtual std::uint8_t* snrB() = 0;           // 28
    virtual std::uint8_t* byte3F() = 0;         // 29
    virtual std::uint8_t* byte3E() = 0;         // 30
    virtual std::uint8_t* lock() = 0;           // 31
    virtual std::uint8_t* flagBit1() = 0;       // 32
    virtual std::uint8_t* flagBits2to3() = 0;   // 33
    virtual std::uint8_t* snrLowFlag() = 0;     // 34
    virtual std::uint8_t* flagBit7() = 0;       // 35
    virtual std::uint8_t* dvbMac() = 0;         // 36
    virtual std::uint8_t* igmpOn() = 0;         // 37
};

class SatelliteStatus : public Status {
  public:
    using Status::Status;
    virtual std::uint8_t* modeFlag() = 0;     // 17
    virtual std::uint8_t* symbolRate() = 0;   // 18
    virtual std::uint8_t* frequency() = 0;    // 19
    virtual std::uint8_t* tuneBit0() = 0;     // 20
    virtual std::uint8_t* tuneBit1() = 0;     // 21
    virtual std::uint8_t* tuneBit2() = 0;     // 22
    virtual std::uint8_t* code3F() = 0;       // 23
    virtual std::uint8_t* satFlagBit0() = 0;  // 24
    virtual std::uint8_t* lock() = 0;         // 25
    virtual std::uint8_t* satFlagBit2() = 0;  // 26
    virtual std::uint8_t* byte46() = 0;       // 27
};

// The accessors of slots 1 to 16, common to every record layout.
template <class Record, class Family>
class CommonFields : public Family {
  public:
    using Family::Family;
#define DEVICELIB_FIELD(name)                           \
    std::uint8_t* name() override {                     \
        return this->m_record + offsetof(Record, name); \
    }
    DEVICELIB_FIELD(headBlock)
    DEVICELIB_FIELD(versionMajor)
    DEVICELIB_FIELD(versionMinor)
    DEVICELIB_FIELD(word38)
    DEVICELIB_FIELD(defaultGateway)
    DEVICELIB_FIELD(unicastStatusAddress)
    DEVICELIB_FIELD(subnetMask)
    DEVICELIB_FIELD(mac)
    DEVICELIB_FIELD(deviceAddress)
    DEVICELIB_FIELD(statusPort)
    DEVICELIB_FIELD(word54)
    DEVICELIB_FIELD(word56)
    DEVICELIB_FIELD(dataActivity)
    DEVICELIB_FIELD(word5A)
    DEVICELIB_FIELD(words58)
    DEVICELIB_FIELD(pids)
    DEVICELIB_FIELD(modeFlag)
};

template <class Record>
class AtscFields : public CommonFields<Record, ATSCStatus> {
  public:
    using CommonFields<Record, ATSCStatus>::CommonFields;
    DEVICELIB_FIELD(channel)
    DEVICELIB_FIELD(word4C)
    DEVICELIB_FIELD(word4E)
    DEVICELIB_FIELD(word4A)
    DEVICELIB_FIELD(carrierOffset)
    DEVICELIB_FIELD(value46)
    DEVICELIB_FIELD(value48)
    DEVICELIB_FIELD(receiverFlags)
    DEVICELIB_FIELD(modulation)
    DEVICELIB_FIELD(snr)
    DEVICELIB_FIELD(snrB)
    DEVICELIB_FIELD(byte3F)
    DEVICELIB_FIELD(byte3E)
    DEVICELIB_FIELD(lock)
    DEVICELIB_FIELD(flagBit1)
    DEVICELIB_FIELD(flagBits2to3)
    DEVICELIB_FIELD(snrLowFlag)
    DEVICELIB_FIELD(flagBit7)
    DEVICELIB_FIELD(dvbMac)
    DEVICELIB_FIELD(igmpOn)
};

template <class Record>
class SatelliteFields : public CommonFields<Record, SatelliteStatus> {
  public:
    using CommonFields<Record, SatelliteStatus>::CommonFields;
    DEVICELIB_FIELD(symbolRate)
    DEVICELIB_FIELD(frequency)
    DEVICELIB_FIELD(tuneBit0)
    DEVICELIB_FIELD(tuneBit1)
    DEVICELIB_FIELD(tuneBit2)
    DEVICELIB_FIELD(code3F)
    DEVICELIB_FIELD(satFlagBit0)
    DEVICELIB_FIELD(lock)
    DEVICELIB_FIELD(satFlagBit2)
    DEVICELIB_FIELD(byte46)
#undef DEVICELIB_FIELD
};

// The six views. The R40 and R40V share one record layout.
class R40Status final : public AtscFields<R40StatusRecord> {
  public:
    using AtscFields::AtscFields;
};
class R40TrevanStatus final : public AtscFields<R40StatusRecord> {
  public:
    using AtscFields::AtscFields;
};
class T22V2Status final : public SatelliteFields<T22V2StatusRecord> {
  public:
    using SatelliteFields::SatelliteFields;
};
class T22V3Status final : public SatelliteFields<T22V3StatusRecord> {
  public:
    using SatelliteFields::SatelliteFields;
};
class T22CAStatus final : public SatelliteFields<T22CAStatusRecord> {
  public:
    using SatelliteFields::SatelliteFields;
};
class TrevanStatus final : public SatelliteFields<TrevanStatusRecord> {
  public:
    using SatelliteFields::SatelliteFields;
};

}  // namespace devicelib
