#include "caldav/url.h"

#include <cctype>
#include <vector>

namespace {

int DefaultPort(std::string_view scheme) { return scheme == "https" ? 443 : 80; }

bool IsUnreserved(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

// Characters a path segment may hold as they are (RFC 3986 pchar, less "%").
bool IsPathCharacter(unsigned char c) {
  return IsUnreserved(c) ||
         std::string_view("!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendEscape(std::string& out, unsigned char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

bool HasControl(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

std::string_view WithoutFragment(std::string_view text) { return text.substr(0, text.find('#')); }

// RFC 3986 5.2.4, on a path without its query.
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> kept;
  bool trailing_slash = false;
  std::size_t start = 1;  // the path starts with "/"
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view segment = path.substr(start, end - start);
    bool last = end == path.size();
    if (segment == "..") {
      if (!kept.empty()) kept.pop_back();
      trailing_slash = true;
    } else if (segment == ".") {
      trailing_slash = true;
    } else {
      kept.push_back(segment);
      trailing_slash = false;
    }
    if (last) break;
    start = end + 1;
  }
  std::string out;
  for (std::string_view segment : kept) {
    out += '/';
    out += segment;
  }
  if (trailing_slash || out.empty()) out += '/';
  return out;
}

std::string NormalisePathAndQuery(std::string_view path_and_query) {
  std::size_t query = path_and_query.find('?');
  std::string path = RemoveDotSegments(path_and_query.substr(0, query));
  if (query != std::string_view::npos) path += path_and_query.substr(query);
  return path;
}

bool ValidHost(std::string_view host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    for (char c : host.substr(1, host.size() - 2)) {
      if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    }
    return true;
  }
  for (char c : host) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.' && c != '_') return false;
  }
  return true;
}

// "http" or "https" when `text` starts with it followed by "://" (any case).
std::optional<std::string> SchemeOf(std::string_view text) {
  std::size_t colon = text.find("://");
  if (colon == std::string_view::npos) return std::nullopt;
  std::string scheme;
  for (char c : text.substr(0, colon))
    scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (scheme != "http" && scheme != "https") return std::nullopt;
  return scheme;
}

// Whether `reference` starts with a scheme ("mailto:", "ftp:"): letters,
// digits, "+", "-" or "." after a letter, before a colon and any "/?#".
bool HasScheme(std::string_view reference) {
  if (reference.empty() || !std::isalpha(static_cast<unsigned char>(reference.front()))) return false;
  for (char c : reference) {
    if (c == ':') return true;
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

}  // namespace

std::string Url::Origin() const {
  std::string origin = scheme + "://" + host;
  if (port != DefaultPort(scheme)) origin += ":" + std::to_string(port);
  return origin;
}

std::string Url::HostAndPort() const { return host + ":" + std::to_string(port); }

std::optional<Url> ParseUrl(std::string_view text) {
  text = WithoutFragment(text);
  if (HasControl(text) || text.find(' ') != std::string_view::npos) return std::nullopt;
  std::optional<std::string> scheme = SchemeOf(text);
  if (!scheme) return std::nullopt;
  text.remove_prefix(scheme->size() + 3);
  std::size_t authority_end = text.find_first_of("/?");
  if (authority_end == std::string_view::npos) authority_end = text.size();
  std::string_view authority = text.substr(0, authority_end);
  if (authority.find('@') != std::string_view::npos) return std::nullopt;

  Url url;
  url.scheme = *scheme;
  url.port = DefaultPort(url.scheme);
  std::size_t port_colon = authority.rfind(':');
  if (port_colon != std::string_view::npos && authority.find(']', port_colon) != std::string_view::npos) {
    port_colon = std::string_view::npos;  // a colon inside an IPv6 literal
  }
  std::string_view host = authority.substr(0, port_colon);
  if (port_colon != std::string_view::npos) {
    std::string_view digits = authority.substr(port_colon + 1);
    if (!digits.empty()) {
      if (digits.size() > 5) return std::nullopt;
      int port = 0;
      for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        port = port * 10 + (c - '0');
      }
      if (port < 1 || port > 65535) return std::nullopt;
      url.port = port;
    }
  }
  if (!ValidHost(host)) return std::nullopt;
  for (char c : host) url.host += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  std::string_view rest = text.substr(authority_end);
  url.path = NormalisePathAndQuery(rest.empty() || rest.front() == '?' ? "/" + std::string(rest)
                                                                       : std::string(rest));
  return url;
}

std::optional<Url> ResolveUrl(const Url& base, std::string_view reference) {
  reference = WithoutFragment(reference);
  if (HasControl(reference)) return std::nullopt;
  if (HasScheme(reference)) return ParseUrl(reference);
  if (reference.substr(0, 2) == "//") return ParseUrl(base.scheme + ":" + std::string(reference));
  Url url = base;
  if (reference.empty()) return url;
  std::string_view base_path = std::string_view(base.path).substr(0, base.path.find('?'));
  if (reference.front() == '/') {
    url.path = NormalisePathAndQuery(reference);
  } else if (reference.front() == '?') {
    url.path = std::string(base_path) + std::string(reference);
  } else {
    std::string merged(base_path.substr(0, base_path.rfind('/') + 1));
    merged += reference;
    url.path = NormalisePathAndQuery(merged);
  }
  return url;
}

bool SameOrigin(const Url& a, const Url& b) {
  return a.scheme == b.scheme && a.host == b.host && a.port == b.port;
}

std::string CanonicalPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  bool in_query = false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 && HexValue(path[i + 2]) >= 0) {
      unsigned char decoded = static_cast<unsigned char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2]));
      if (IsPathCharacter(decoded)) {
        out += static_cast<char>(decoded);
      } else {
        AppendEscape(out, decoded);
      }
      i += 2;
    } else if (c == '/' || IsPathCharacter(c) || (in_query && c == '?')) {
      out += static_cast<char>(c);
    } else if (c == '?' && !in_query) {
      in_query = true;
      out += '?';
    } else {
      AppendEscape(out, c);
    }
  }
  return out;
}

std::string CanonicalUrl(const Url& url) { return url.Origin() + CanonicalPath(url.path); }

std::string PercentEncodeSegment(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (IsUnreserved(c)) {
      out += static_cast<char>(c);
    } else {
      AppendEscape(out, c);
    }
  }
  return out;
}

std::string WithTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}
