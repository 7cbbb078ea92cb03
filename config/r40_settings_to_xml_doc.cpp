#include "config/r40_settings_to_xml_doc.h"

#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "config/document_text.h"
#include "config/tuning_form.h"
#include "config/value_text.h"
#include "platform/file/atomic_file.h"

namespace {

using config::DocumentTextRead;

// A declaration value TinyXML can print back unquoted and unescaped: a
// version, encoding or standalone name.
bool IsPlainDeclarationValue(const std::string& value) {
    for (const char c : value) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_' || c == ':';
        if (!plain) return false;
    }
    return true;
}

// TinyXML prints a declaration's values as they were read, entities decoded
// and nothing escaped: a value holding a quote or a bracket would be saved
// as a file that no longer loads. Such a value is dropped (a version falls
// back to "1.0"); plain ones are kept.
void MendDeclarations(TiXmlDocument& document) {
    for (TiXmlNode* node = document.FirstChild(); node != nullptr; node = node->NextSibling()) {
        TiXmlDeclaration* declaration = node->ToDeclaration();
        if (declaration == nullptr) continue;
        const auto plain = [](const char* value) {
            return IsPlainDeclarationValue(value) ? std::string(value) : std::string();
        };
        std::string version = plain(declaration->Version());
        const std::string encoding = plain(declaration->Encoding());
        const std::string standalone = plain(declaration->Standalone());
        if (version.empty()) version = "1.0";
        *declaration = TiXmlDeclaration(version, encoding, standalone);
    }
}

// Parses text already read; null when TinyXML reports an error. Text keeps
// its white space: a write must give back what the console does not own as
// it was. A file without a declaration is UTF-8; with one, TinyXML follows
// the encoding it names (UTF-8, or bytes kept as they are for any other).
// Text that is not UTF-8 is read byte by byte whatever it declares: read as
// UTF-8, a stray lead byte would take the bytes after it along, and the
// document saved from it might not load again.
std::unique_ptr<TiXmlDocument> Parse(const std::string& fileName, const std::string& text) {
    // TinyXML keeps this switch for the whole process; set once, before the
    // first parse, and never changed.
    static const bool whiteSpaceKept = (TiXmlBase::SetCondenseWhiteSpace(false), true);
    (void)whiteSpaceKept;
    auto document = std::make_unique<TiXmlDocument>(fileName);
    const TiXmlEncoding encoding = !config::IsUtf8(text)          ? TIXML_ENCODING_LEGACY
                                   : config::HasDeclaration(text) ? TIXML_DEFAULT_ENCODING
                                                                  : TIXML_ENCODING_UTF8;
    document->Parse(text.c_str(), nullptr, encoding);
    if (document->Error()) return nullptr;
    MendDeclarations(*document);
    return document;
}

// The whole document as TinyXML's standard printer prints it, four spaces a
// level, written atomically. A document that would print beyond the limits of
// what Load accepts is not saved: everything saved can be loaded again.
bool SaveDocument(const TiXmlDocument& document, const std::string& fileName) {
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\n");
    if (!document.Accept(&printer)) return false;
    const std::string printed = config::WithPlainWhiteSpaceInText(printer.Str());
    if (!config::WithinDocumentLimits(printed)) return false;
    // The last guard before a good file is replaced: what is written must
    // parse, or the file on the disk stays as it was.
    if (Parse(fileName, printed) == nullptr) return false;
    return platform::file::ReplaceFile(fileName, printed);
}

std::unique_ptr<TiXmlElement> TextElement(const char* name, const std::string& text) {
    auto element = std::make_unique<TiXmlElement>(name);
    element->LinkEndChild(std::make_unique<TiXmlText>(text).release());
    return element;
}

// The text of `element`'s first child, white space condensed as values are
// read; none when that child is not a text.
std::optional<std::string> FirstText(const TiXmlElement* element) {
    if (element == nullptr) return std::nullopt;
    const TiXmlNode* first = element->FirstChild();
    if (first == nullptr || first->ToText() == nullptr) return std::nullopt;
    return config::CondensedWhiteSpace(first->Value());
}

// An integer attribute as "%d" reads it; `fallback` when missing or not a number.
std::int32_t IntAttribute(const TiXmlElement& element, const char* name, std::int32_t fallback) {
    const char* text = element.Attribute(name);
    if (text == nullptr) return fallback;
    return config::ScanDecimal(text).value_or(fallback);
}

constexpr const char* PID_LIST = "PIDList";
constexpr const char* SATELLITE_TUNING = "SatelliteTuning";
constexpr const char* PID_ENTRY = "PIDEntry";

// The list's entries in document order: the PID, its control byte and, in the
// form with destinations, where it is forwarded. Children that are not
// PIDEntry elements (comments, foreign elements) are skipped and not counted.
template <typename Record, typename ReadDestination>
bool ReadPidEntries(const TiXmlElement* root, Record& list, ReadDestination readDestination) {
    if (root == nullptr) return false;
    const TiXmlElement* pidList = root->FirstChildElement(PID_LIST);
    if (pidList == nullptr) return false;
    const char* sizeText = pidList->Attribute("Size");
    if (sizeText == nullptr) return false;
    const auto size = config::ScanDecimal(sizeText);
    if (!size || *size < 0 || *size > MAX_PIDS) return false;

    list.count = *size;
    int index = 0;
    for (const TiXmlElement* entry = pidList->FirstChildElement(PID_ENTRY);
         entry != nullptr && index < *size; entry = entry->NextSiblingElement(PID_ENTRY), ++index) {
        list.pid[index] =
            static_cast<std::uint16_t>(IntAttribute(*entry, "Entry", NULL_PID) & 0x1FFF);
        list.control[index] = static_cast<std::uint8_t>(IntAttribute(*entry, "Control", 0) & 0xFF);
        readDestination(*entry, index);
    }
    return true;
}

template <typename Record, typename AddDestination>
std::unique_ptr<TiXmlElement> PidListElement(const Record& list, AddDestination addDestination) {
    auto pidList = std::make_unique<TiXmlElement>(PID_LIST);
    pidList->SetAttribute("Size", list.count);
    for (int i = 0; i < list.count; ++i) {
        auto entry = std::make_unique<TiXmlElement>(PID_ENTRY);
        entry->SetAttribute("Entry", list.pid[i]);
        entry->SetAttribute("Control", list.control[i]);
        addDestination(*entry, i);
        pidList->LinkEndChild(entry.release());
    }
    return pidList;
}

bool ValidCount(std::int32_t count) {
    return count >= 0 && count <= MAX_PIDS;
}

}  // namespace

CR40SettingsToXmlDoc::CR40SettingsToXmlDoc() = default;
CR40SettingsToXmlDoc::~CR40SettingsToXmlDoc() = default;

void CR40SettingsToXmlDoc::Discard() {
    m_root = nullptr;
    m_document.reset();
    m_writable = false;
    m_saveOnCommit = false;
}

bool CR40SettingsToXmlDoc::Load(const std::string& fileName) {
    // A loaded document is for reading; writes need OpenForWriting again.
    Discard();
    std::string text;
    if (config::ReadDocumentText(fileName, text) != DocumentTextRead::Read) return false;
    auto document = Parse(fileName, text);
    if (!document) return false;
    TiXmlElement* root = document->FirstChildElement();
    if (root == nullptr) return false;
    m_document = std::move(document);
    m_root = root;
    return true;
}

std::int32_t CR40SettingsToXmlDoc::OpenForWriting(const std::string& fileName, SaveMode mode) {
    Discard();
    const bool saveOnCommit = mode == SaveMode::OnCommit;
    std::string text;
    const DocumentTextRead read = config::ReadDocumentText(fileName, text);
    // Text too large to be a configuration might still be someone's valid
    // file: it is left alone rather than replaced.
    if (read == DocumentTextRead::BeyondLimits) return OPEN_BEYOND_LIMITS;

    std::unique_ptr<TiXmlDocument> document;
    if (read == DocumentTextRead::Read) document = Parse(fileName, text);
    try {
        if (!document) {
            // Missing, empty or unparsable: a fresh document replaces it.
            document = std::make_unique<TiXmlDocument>(fileName);
            document->LinkEndChild(std::make_unique<TiXmlDeclaration>("1.0", "", "yes").release());
        }
    } catch (const std::bad_alloc&) {
        return OPEN_NO_DOCUMENT;
    }

    TiXmlElement* root = document->FirstChildElement();
    if (root == nullptr) {
        try {
            root = document->LinkEndChild(std::make_unique<TiXmlElement>("Device").release())
                       ->ToElement();
        } catch (const std::bad_alloc&) {
            return OPEN_NO_ROOT;
        }
        if (!saveOnCommit && !SaveDocument(*document, fileName)) return OPEN_SAVE_FAILED;
    }
    m_document = std::move(document);
    m_root = root;
    m_writable = true;
    m_saveOnCommit = saveOnCommit;
    return OPEN_OK;
}

bool CR40SettingsToXmlDoc::Commit() {
    return m_root != nullptr && m_writable && SaveTo(m_document->ValueStr());
}

bool CR40SettingsToXmlDoc::SaveAs(const std::string& fileName) const {
    return m_document != nullptr && SaveDocument(*m_document, fileName);
}

bool CR40SettingsToXmlDoc::SaveTo(const std::string& fileName) const {
    return SaveDocument(*m_document, fileName);
}

std::optional<std::string> CR40SettingsToXmlDoc::ElementText(const char* name) const {
    if (m_root == nullptr) return std::nullopt;
    return FirstText(m_root->FirstChildElement(name));
}

bool CR40SettingsToXmlDoc::ReadAddress(const char* name, Address address) const {
    const auto text = ElementText(name);
    return text && config::ScanDottedAddress(text->c_str(), address) == 4;
}

bool CR40SettingsToXmlDoc::ReadDeviceIP(Address address) const {
    return ReadAddress("DeviceIP", address);
}

bool CR40SettingsToXmlDoc::ReadDeviceSubNet(Address address) const {
    return ReadAddress("DeviceSubNet", address);
}

bool CR40SettingsToXmlDoc::ReadDefaultGW(Address address) const {
    return ReadAddress("DefaultGW", address);
}

bool CR40SettingsToXmlDoc::ReadUnicastStatus(Address address) const {
    return ReadAddress("UnicastStatus", address);
}

bool CR40SettingsToXmlDoc::ReadUseIGMP(std::int32_t& on) const {
    const auto text = ElementText("UseIGMP");
    if (!text) return false;
    on = config::IsYes(text->c_str()) ? 1 : 0;
    return true;
}

bool CR40SettingsToXmlDoc::ReadChannel(std::int32_t& channel) const {
    const auto text = ElementText("Channel");
    if (!text) return false;
    channel = config::DecimalPrefix(text->c_str());
    return channel >= 2 && channel <= 69;
}

bool CR40SettingsToXmlDoc::ReadMACBytes(std::span<std::uint8_t, 3> bytes) const {
    if (m_root == nullptr) return false;
    const char* names[3] = {"MACByte2", "MACByte1", "MACByte0"};
    std::array<std::uint8_t, 3> read{};
    for (std::size_t i = 0; i < read.size(); ++i) {
        const char* text = m_root->Attribute(names[i]);
        if (text == nullptr) return false;
        const auto value = config::ScanDecimal(text);
        if (!value || *value < 0 || *value > 255) return false;
        read[i] = static_cast<std::uint8_t>(*value);
    }
    std::copy(read.begin(), read.end(), bytes.begin());
    return true;
}

bool CR40SettingsToXmlDoc::ReadSatelliteTuning(SatelliteTuning& tuning) const {
    if (m_root == nullptr) return false;
    const TiXmlElement* element = m_root->FirstChildElement(SATELLITE_TUNING);
    if (element == nullptr) return false;
    const auto frequency = config::ScanFixedPoint(element->Attribute("Frequency"));
    const auto symbolRate = config::ScanFixedPoint(element->Attribute("SymbolRate"));
    const char* optionsText = element->Attribute("Options");
    const std::int32_t options =
        optionsText != nullptr ? config::ScanDecimal(optionsText).value_or(-1) : -1;
    if (!frequency || !symbolRate || !config::FrequencyInRange(*frequency) ||
        !config::SymbolRateInRange(*symbolRate) || options < 0 ||
        options > static_cast<std::int32_t>(config::ALL_TUNING_OPTION_BITS))
        return false;
    tuning = config::MakeSatelliteTuning(*frequency, *symbolRate, static_cast<unsigned>(options));
    return true;
}

bool CR40SettingsToXmlDoc::ReadPIDList(PidListRecord& list) const {
    return ReadPidEntries(m_root, list, [](const TiXmlElement&, int) {});
}

bool CR40SettingsToXmlDoc::ReadPIDListWithDestinations(TrevanPidListRecord& list) const {
    return ReadPidEntries(m_root, list, [&list](const TiXmlElement& entry, int i) {
        if (const auto ip = FirstText(entry.FirstChildElement("Destination_IP")))
            config::ScanDottedAddress(ip->c_str(), list.destination[i].address, 3);
        if (const auto port = FirstText(entry.FirstChildElement("Destination_Port")))
            list.destination[i].port =
                static_cast<std::uint16_t>(config::DecimalPrefix(port->c_str()));
    });
}

std::optional<CR40SettingsToXmlDoc::PidListText> CR40SettingsToXmlDoc::ReadPIDListText() const {
    if (m_root == nullptr) return std::nullopt;
    const TiXmlElement* pidList = m_root->FirstChildElement(PID_LIST);
    if (pidList == nullptr) return std::nullopt;
    auto attribute = [](const TiXmlElement& element, const char* name) {
        const char* text = element.Attribute(name);
        return text != nullptr ? std::optional<std::string>(config::CondensedWhiteSpace(text))
                               : std::nullopt;
    };
    PidListText list;
    list.size = attribute(*pidList, "Size");
    for (const TiXmlElement* entry = pidList->FirstChildElement(PID_ENTRY); entry != nullptr;
         entry = entry->NextSiblingElement(PID_ENTRY)) {
        PidEntryText text;
        text.entry = attribute(*entry, "Entry");
        text.control = attribute(*entry, "Control");
        text.destinationIp = FirstText(entry->FirstChildElement("Destination_IP"));
        text.destinationPort = FirstText(entry->FirstChildElement("Destination_Port"));
        list.entries.push_back(std::move(text));
    }
    return list;
}

bool CR40SettingsToXmlDoc::ReplaceRootChild(std::unique_ptr<TiXmlElement> element) {
    if (TiXmlElement* old = m_root->FirstChildElement(element->Value())) m_root->RemoveChild(old);
    m_root->LinkEndChild(element.release());
    return m_saveOnCommit || SaveTo(m_document->ValueStr());
}

bool CR40SettingsToXmlDoc::WriteTextElement(const char* name, const std::string& text) {
    if (m_root == nullptr || !m_writable) return false;
    return ReplaceRootChild(TextElement(name, text));
}

bool CR40SettingsToXmlDoc::WriteMACBytes(std::span<const std::uint8_t, 3> bytes) {
    if (m_root == nullptr || !m_writable) return false;
    // An attribute already there keeps its place and takes the new value.
    m_root->SetAttribute("MACByte2", bytes[0]);
    m_root->SetAttribute("MACByte1", bytes[1]);
    m_root->SetAttribute("MACByte0", bytes[2]);
    return m_saveOnCommit || SaveTo(m_document->ValueStr());
}

bool CR40SettingsToXmlDoc::WriteDeviceIP(ConstAddress address) {
    return WriteTextElement("DeviceIP", config::FormatDottedAddress(address));
}

bool CR40SettingsToXmlDoc::WriteDeviceSubNet(ConstAddress address) {
    return WriteTextElement("DeviceSubNet", config::FormatDottedAddress(address));
}

bool CR40SettingsToXmlDoc::WriteDefaultGW(ConstAddress address) {
    return WriteTextElement("DefaultGW", config::FormatDottedAddress(address));
}

bool CR40SettingsToXmlDoc::WriteUnicastStatus(ConstAddress address) {
    return WriteTextElement("UnicastStatus", config::FormatDottedAddress(address));
}

bool CR40SettingsToXmlDoc::WriteUseIGMP(bool on) {
    return WriteTextElement("UseIGMP", on ? "Yes" : "No");
}

bool CR40SettingsToXmlDoc::WriteChannel(std::int32_t channel) {
    return WriteTextElement("Channel", std::to_string(channel));
}

bool CR40SettingsToXmlDoc::WriteSatelliteTuning(const SatelliteTuning& tuning) {
    if (m_root == nullptr || !m_writable) return false;
    const double frequency = tuning.frequency;
    const double symbolRate = tuning.symbolRate;
    if (!config::FrequencyInRange(frequency) || !config::SymbolRateInRange(symbolRate))
        return false;
    auto element = std::make_unique<TiXmlElement>(SATELLITE_TUNING);
    element->SetAttribute("Frequency", config::FormatFixedPoint(frequency, 1));
    element->SetAttribute("SymbolRate", config::FormatFixedPoint(symbolRate, 3));
    element->SetAttribute("Options", static_cast<int>(config::OptionBitsOf(tuning)));
    return ReplaceRootChild(std::move(element));
}

bool CR40SettingsToXmlDoc::StartAfresh() {
    if (m_root == nullptr || !m_writable) return false;
    try {
        auto document = std::make_unique<TiXmlDocument>(m_document->ValueStr());
        document->LinkEndChild(std::make_unique<TiXmlDeclaration>("1.0", "", "yes").release());
        TiXmlElement* root =
            document->LinkEndChild(std::make_unique<TiXmlElement>("Device").release())->ToElement();
        m_document = std::move(document);
        m_root = root;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CR40SettingsToXmlDoc::WritePIDList(const PidListRecord& list) {
    // A count outside 0 to 32 would write a list that can never be read back.
    if (m_root == nullptr || !m_writable || !ValidCount(list.count)) return false;
    return ReplaceRootChild(PidListElement(list, [](TiXmlElement&, int) {}));
}

bool CR40SettingsToXmlDoc::WritePIDListWithDestinations(const TrevanPidListRecord& list) {
    if (m_root == nullptr || !m_writable || !ValidCount(list.count)) return false;
    return ReplaceRootChild(PidListElement(list, [&list](TiXmlElement& entry, int i) {
        entry.LinkEndChild(
            TextElement("Destination_IP", config::FormatDottedAddress(list.destination[i].address))
                .release());
        entry.LinkEndChild(
            TextElement("Destination_Port", std::to_string(list.destination[i].port)).release());
    }));
}
