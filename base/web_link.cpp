#include "base/web_link.h"

#include "base/cp936.h"

namespace {

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Host name labels: letters, digits, '-' and '_', separated by single dots;
// one trailing dot (a fully qualified name) is allowed.
bool IsHostName(std::string_view host) {
  if (host.empty() || host.front() == '.') return false;
  bool previous_dot = false;
  for (char c : host) {
    if (c == '.') {
      if (previous_dot) return false;
      previous_dot = true;
    } else if (IsAsciiAlpha(c) || IsDigit(c) || c == '-' || c == '_') {
      previous_dot = false;
    } else {
      return false;
    }
  }
  return true;
}

// "[...]" holding hex digits, ':' and '.' only (an IPv6 address, possibly
// with an embedded IPv4 tail).
bool IsIpv6Literal(std::string_view host) {
  if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
  bool has_colon = false;
  for (char c : host.substr(1, host.size() - 2)) {
    if (c == ':') {
      has_colon = true;
    } else if (!IsHexDigit(c) && c != '.') {
      return false;
    }
  }
  return has_colon;
}

bool IsPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  long value = 0;
  for (char c : port) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535;
}

bool IsAuthority(std::string_view authority) {
  // Userinfo is refused outright rather than skipped: "good.example@evil.example"
  // reads as good.example to a person and goes to evil.example.
  if (authority.find('@') != std::string_view::npos) return false;
  std::string_view host = authority;
  std::size_t port_colon = std::string_view::npos;
  if (!authority.empty() && authority.front() == '[') {
    std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return false;
    host = authority.substr(0, close + 1);
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return false;
      port_colon = close + 1;
    }
    if (!IsIpv6Literal(host)) return false;
  } else {
    port_colon = authority.find(':');
    host = authority.substr(0, port_colon);
    if (!IsHostName(host)) return false;
  }
  return port_colon == std::string_view::npos || IsPort(authority.substr(port_colon + 1));
}

// ASCII characters that never appear unescaped in an address, besides
// controls and the blank.
bool IsForbiddenAscii(char c) { return std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos; }

// Path, query and fragment: printable ASCII without the forbidden characters,
// well-formed %-escapes, and complete double-byte characters of code page 936.
bool IsPathQueryFragment(std::string_view rest) {
  for (std::size_t pos = 0; pos < rest.size();) {
    unsigned char c = static_cast<unsigned char>(rest[pos]);
    if (c >= 0x80) {
      if (!cp936::IsLeadByte(c) || pos + 1 >= rest.size()) return false;
      unsigned char trail = static_cast<unsigned char>(rest[pos + 1]);
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
      pos += 2;
      continue;
    }
    if (c <= 0x20 || c == 0x7F || IsForbiddenAscii(static_cast<char>(c))) return false;
    if (c == '%') {
      if (pos + 2 >= rest.size() || !IsHexDigit(rest[pos + 1]) || !IsHexDigit(rest[pos + 2])) {
        return false;
      }
      pos += 3;
      continue;
    }
    ++pos;
  }
  return true;
}

}  // namespace

bool IsSafeWebLink(std::string_view url) {
  if (url.empty() || url.size() > kMaxWebLinkBytes) return false;
  std::size_t colon = url.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view scheme = url.substr(0, colon);
  if (!EqualsIgnoringAsciiCase(scheme, "http") && !EqualsIgnoringAsciiCase(scheme, "https")) return false;
  std::string_view after_scheme = url.substr(colon + 1);
  if (after_scheme.substr(0, 2) != "//") return false;
  std::string_view hierarchy = after_scheme.substr(2);
  std::size_t authority_end = hierarchy.find_first_of("/?#");
  std::string_view authority = hierarchy.substr(0, authority_end);
  if (!IsAuthority(authority)) return false;
  if (authority_end == std::string_view::npos) return true;
  return IsPathQueryFragment(hierarchy.substr(authority_end));
}
