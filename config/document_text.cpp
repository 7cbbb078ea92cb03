#include "config/document_text.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace config {

bool WithinDocumentLimits(const std::string& text) {
    if (text.size() > MAX_DOCUMENT_BYTES) return false;
    std::size_t elements = 0;
    std::size_t attributes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=') {
            if (++attributes > MAX_DOCUMENT_ATTRIBUTES) return false;
        } else if (text[i] == '<' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next != '/' && next != '!' && next != '?' && ++elements > MAX_DOCUMENT_ELEMENTS)
                return false;
        }
    }
    return true;
}

bool IsUtf8(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        int trail = 0;
        unsigned char low = 0x80;  // bounds of the first continuation byte
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++p;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
        } else {
            return false;
        }
        if (end - p <= trail) return false;
        if (p[1] < low || p[1] > high) return false;
        for (int i = 2; i <= trail; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        p += trail + 1;
    }
    return true;
}

bool HasDeclaration(const std::string& text) {
    std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    if (text.compare(i, 5, "<?xml") != 0) return false;
    const char after = i + 5 < text.size() ? text[i + 5] : '\0';
    return after == ' ' || after == '\t' || after == '\n' || after == '?';
}

std::string WithPlainWhiteSpaceInText(const std::string& printed) {
    std::string out;
    out.reserve(printed.size());
    std::size_t i = 0;
    // Copies through `end` (and `end` itself) unchanged.
    const auto copyThrough = [&](const char* end) {
        const std::size_t at = printed.find(end, i);
        const std::size_t stop =
            at == std::string::npos ? printed.size() : at + std::char_traits<char>::length(end);
        out.append(printed, i, stop - i);
        i = stop;
    };
    while (i < printed.size()) {
        if (printed.compare(i, 4, "<!--") == 0) {
            copyThrough("-->");
        } else if (printed.compare(i, 9, "<![CDATA[") == 0) {
            copyThrough("]]>");
        } else if (printed[i] == '<') {
            copyThrough(">");  // the printer writes '>' in attribute values as "&gt;"
        } else if (printed.compare(i, 6, "&#x0A;") == 0) {
            out += '\n';
            i += 6;
        } else if (printed.compare(i, 6, "&#x09;") == 0) {
            out += '\t';
            i += 6;
        } else {
            out += printed[i++];
        }
    }
    return out;
}

DocumentTextRead ReadDocumentText(const std::string& fileName, std::string& text) {
    text.clear();
    // Only a regular file: opening a pipe for reading would wait for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) return DocumentTextRead::Unreadable;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return DocumentTextRead::Unreadable;

    std::string raw;
    char chunk[16 * 1024];
    for (;;) {
        in.read(chunk, sizeof chunk);
        raw.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (raw.size() > MAX_DOCUMENT_BYTES) return DocumentTextRead::BeyondLimits;
        if (!in) break;
    }
    if (in.bad()) return DocumentTextRead::Unreadable;

    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\r') {
            text += raw[i];
        } else {
            text += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
        }
    }
    if (!WithinDocumentLimits(text)) {
        text.clear();
        return DocumentTextRead::BeyondLimits;
    }
    return DocumentTextRead::Read;
}

}  // namespace config
