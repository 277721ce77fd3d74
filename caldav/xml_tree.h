#pragma once
// A small XML reader for the answers of a calendar server, which are
// untrusted input. It reads without recursion, so no nesting can exhaust the
// stack; it refuses documents over the limits below, document type
// declarations (and with them entity expansion), unknown entities and zero
// bytes; it keeps character data exactly, line ends included, which
// calendar data needs (TinyXML's whitespace condensing is one switch for the
// whole process, and its parser recurses once per nesting level).
// Namespace prefixes are resolved: elements are named by namespace and
// local name, whatever prefix the server chose.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlElement {
  std::string ns;    // the namespace name ("DAV:"), "" when none or undeclared
  std::string name;  // the local name
  // As written, prefixed names included, namespace declarations left out.
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // the character data directly inside, entities decoded
  std::vector<XmlElement> children;

  bool Is(std::string_view element_ns, std::string_view element_name) const {
    return ns == element_ns && name == element_name;
  }
  // The first child of that name, or null.
  const XmlElement* Child(std::string_view child_ns, std::string_view child_name) const;
  // The value of the attribute of that name as written, or "".
  std::string_view Attribute(std::string_view attribute_name) const;
};

struct XmlLimits {
  std::size_t max_bytes = std::size_t{64} << 20;
  std::size_t max_elements = 1'000'000;
  std::size_t max_depth = 64;
};

// The root element of `text` (UTF-8), or nullopt with the reason in *error.
std::optional<XmlElement> ReadXml(std::string_view text, std::string* error, const XmlLimits& limits = {});

// `text` with &, <, >, " and ' escaped, for building request bodies.
std::string EscapeXml(std::string_view text);
