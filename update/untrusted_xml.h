#pragma once
// Parsing XML that comes from the network with the installed TinyXML, whose
// parser is not safe on every input:
//  - it recurses once per nesting level, so a deeply nested document
//    exhausts the thread's stack; the number of element starts bounds the
//    depth, and a text with too many is not parsed;
//  - reading a document as UTF-8 (the default when the declaration names
//    no encoding), a lead byte just before the terminating zero makes it
//    step up to three bytes past the zero; the text is therefore parsed
//    from a copy followed by zero bytes.
#include <cstddef>
#include <string_view>

class TiXmlDocument;

// The remote configuration holds a handful of elements.
inline constexpr std::size_t kMaxXmlElementStarts = 1000;

// Number of places where the parser would start an element: "<" followed
// by a letter, "_" or a byte of 127 or more. Every element the parser builds
// starts at one of them, so it bounds both the depth and the size of the tree.
std::size_t CountXmlElementStarts(std::string_view text);

// Parses `text` (up to its end or first zero byte) into `document` with no
// parsing data and the default encoding, as TiXmlDocument::Parse would.
// False, with the document left empty, when the text has more than
// kMaxXmlElementStarts element starts. Parse errors are not examined.
bool ParseUntrustedXml(TiXmlDocument& document, std::string_view text);
