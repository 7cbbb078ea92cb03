// Reading a configuration file's text before TinyXML parses it.
//
// TinyXML parses nested elements recursively and looks attributes up one by
// one, so an element nested a million deep overflows the stack and an element
// with a hundred thousand attributes takes minutes. A configuration holds about
// a hundred elements and seventy attributes in a few kilobytes; text far
// beyond that is refused before it reaches the parser, and a document that
// would print beyond it is not saved.
#pragma once

#include <cstddef>
#include <string>

namespace config {

inline constexpr std::size_t MAX_DOCUMENT_BYTES = 1024 * 1024;
// Upper bounds counted on the raw text: every element starts with '<' and a
// character other than '/', '!' or '?', and every attribute has an '='.
inline constexpr std::size_t MAX_DOCUMENT_ELEMENTS = 1024;
inline constexpr std::size_t MAX_DOCUMENT_ATTRIBUTES = 2048;

enum class DocumentTextRead {
    Read,          // the text is in hand, line ends as line feeds
    Unreadable,    // missing, not a regular file, or not readable
    BeyondLimits,  // larger or richer in markup than any configuration
};

// Reads the whole file, turns CR LF and lone CR line ends into LF as
// TinyXML's own file loader does, and checks the limits above.
DocumentTextRead ReadDocumentText(const std::string& fileName, std::string& text);

// The limit check alone, on text already in hand.
bool WithinDocumentLimits(const std::string& text);

// True when the text is well-formed UTF-8 (no stray or missing continuation
// bytes, no overlong forms, surrogates or code points beyond U+10FFFF).
bool IsUtf8(const std::string& text);

// True when the text opens with an XML declaration (after a byte-order mark
// and white space). Without one, XML text is UTF-8.
bool HasDeclaration(const std::string& text);

// TinyXML's printer writes line feeds and tabs in text as "&#x0A;" and
// "&#x09;". This puts them back as the characters themselves wherever they
// stand in text (outside tags, comments and CDATA sections), so text keeps
// the shape it was read with. Carriage returns stay references: a parser
// would turn a raw one into a line feed.
std::string WithPlainWhiteSpaceInText(const std::string& printed);

}  // namespace config
