// One receiver configuration kept in an XML file, read and written element by
// element through TinyXML's document tree.
//
// The file holds the receiver's network settings, RF channel, PID list and the
// last three bytes of its MAC address:
//
//   <?xml version="1.0" standalone="yes" ?>
//   <Device MACByte2="0" MACByte1="96" MACByte0="53">
//       <DeviceIP>192.168.0.50</DeviceIP>
//       <Channel>14</Channel>
//       <PIDList Size="1">
//           <PIDEntry Entry="481" Control="1" />
//       </PIDList>
//   </Device>
//
// Use: Load before reads, OpenForWriting before writes. Every write replaces
// its element (appending it last under the root) and saves the whole document
// to the file at once, or, opened with SaveMode::OnCommit, once at Commit; a
// save never leaves the file half written. Each object
// belongs to one thread and is not copied.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devicelib/devicelib.h"

class TiXmlDocument;
class TiXmlElement;

// The last configuration applied, in the working directory. One name on every
// file system, whatever capitalisation a caller once used.
inline constexpr char LAST_USED_CONFIG_FILE[] = "lastused.xml";

// Results of OpenForWriting.
inline constexpr std::int32_t OPEN_OK = 0;
inline constexpr std::int32_t OPEN_NO_DOCUMENT = -2;    // the document cannot be created
inline constexpr std::int32_t OPEN_NO_ROOT = -3;        // the root element cannot be created
inline constexpr std::int32_t OPEN_SAVE_FAILED = -4;    // the new or completed file cannot be saved
inline constexpr std::int32_t OPEN_BEYOND_LIMITS = -5;  // far beyond any configuration; left alone

class CR40SettingsToXmlDoc {
  public:
    using Address = std::span<std::uint8_t, 4>;
    using ConstAddress = std::span<const std::uint8_t, 4>;

    // When the writes after OpenForWriting reach the file.
    enum class SaveMode {
        // Every write saves the whole document at once, and so does the
        // opening that creates or completes the file.
        EachWrite,
        // Nothing is saved until Commit replaces the file once with all that
        // was written: a configuration of several elements is never seen
        // with some of them, whatever stops the writer half way.
        OnCommit,
    };

    CR40SettingsToXmlDoc();
    ~CR40SettingsToXmlDoc();
    CR40SettingsToXmlDoc(const CR40SettingsToXmlDoc&) = delete;
    CR40SettingsToXmlDoc& operator=(const CR40SettingsToXmlDoc&) = delete;

    // Parses the file; true when it parsed and has a root element, whatever
    // its name. A file far beyond any configuration in size or markup
    // (config/document_text.h) is not parsed. The document loaded refuses writes.
    bool Load(const std::string& fileName);

    // Opens the file for writes, creating it (declaration and an empty
    // "Device" root) when it is missing, empty or unparsable, and adding the
    // root to a file that has none. Returns one of the OPEN_ results; on any
    // but OPEN_OK the object is empty and refuses writes.
    std::int32_t OpenForWriting(const std::string& fileName, SaveMode mode = SaveMode::EachWrite);

    // OnCommit: saves everything written since OpenForWriting to the file,
    // replacing it once. False (the file as it was) when it cannot be saved,
    // or when the document was not opened for writing.
    bool Commit();

    // Saves the whole document under another name; later writes still go to
    // the file the document was opened with.
    bool SaveAs(const std::string& fileName) const;

    // Reads fail one by one: a missing element, an element without text or a
    // value that does not convert fails only that read.
    bool ReadDeviceIP(Address address) const;
    bool ReadDeviceSubNet(Address address) const;
    bool ReadDefaultGW(Address address) const;
    bool ReadUnicastStatus(Address address) const;
    bool ReadUseIGMP(std::int32_t& on) const;
    // Stores the channel whatever its value; true only for 2 to 69.
    bool ReadChannel(std::int32_t& channel) const;
    // The root's three MAC bytes (fourth, fifth, sixth byte of the receiver's
    // MAC address); false unless all three are there, each 0 to 255.
    bool ReadMACBytes(std::span<std::uint8_t, 3> bytes) const;
    // A satellite receiver's tuning; false unless the element is there with
    // a frequency and symbol rate the tuning command can carry and option
    // bits 0 to 31.
    bool ReadSatelliteTuning(SatelliteTuning& tuning) const;
    // Overwrites only what the file provides; the caller prepares the rest.
    bool ReadPIDList(PidListRecord& list) const;
    bool ReadPIDListWithDestinations(TrevanPidListRecord& list) const;

    // Writes are refused (false) until OpenForWriting; each returns whether
    // the file was saved (OnCommit: whether the document took it). A failed save keeps the change
    // in the document, and the next save that succeeds writes it out. A document that would print
    // beyond what Load accepts is not saved. PID lists with a count outside
    // 0 to 32 are refused.
    bool WriteMACBytes(std::span<const std::uint8_t, 3> bytes);
    bool WriteDeviceIP(ConstAddress address);
    bool WriteDeviceSubNet(ConstAddress address);
    bool WriteDefaultGW(ConstAddress address);
    bool WriteUnicastStatus(ConstAddress address);
    bool WriteUseIGMP(bool on);
    bool WriteChannel(std::int32_t channel);
    // <SatelliteTuning Frequency="1234.5" SymbolRate="27.500" Options="5" />:
    // MHz in tenths, Msym/s in thousandths, the option bits as a number.
    bool WriteSatelliteTuning(const SatelliteTuning& tuning);
    bool WritePIDList(const PidListRecord& list);
    bool WritePIDListWithDestinations(const TrevanPidListRecord& list);

    // Empties the document opened for writing (a declaration and an empty
    // "Device" root, as a new file), for a file that is to describe another
    // receiver from now on. Nothing is saved until the next write.
    bool StartAfresh();

    // The texts behind the reads, white space condensed as the reads see
    // them, for checks stricter than the reads (config/values_to_send.h):
    // a root element's text, and the PID list's Size with every PIDEntry's
    // attributes and destination texts, in document order. None where the
    // file has no such element or attribute.
    struct PidEntryText {
        std::optional<std::string> entry, control, destinationIp, destinationPort;
    };
    struct PidListText {
        std::optional<std::string> size;
        std::vector<PidEntryText> entries;
    };
    std::optional<std::string> ElementText(const char* name) const;
    std::optional<PidListText> ReadPIDListText() const;

  private:
    void Discard();
    bool ReadAddress(const char* name, Address address) const;
    bool WriteTextElement(const char* name, const std::string& text);
    bool ReplaceRootChild(std::unique_ptr<TiXmlElement> element);
    bool SaveTo(const std::string& fileName) const;

    std::unique_ptr<TiXmlDocument> m_document;
    TiXmlElement* m_root = nullptr;  // inside m_document
    bool m_writable = false;
    bool m_saveOnCommit = false;
};
