#pragma once
// Addresses of a calendar server: absolute http and https URLs, references
// resolved against them (RFC 3986), and the one canonical spelling of a path
// under which the server's hrefs are compared.
#include <optional>
#include <string>
#include <string_view>

struct Url {
  std::string scheme;  // "http" or "https"
  std::string host;    // lower case; an IPv6 literal keeps its brackets
  int port = 0;        // the explicit port, else the scheme's default
  std::string path;    // starts with "/"; the query, if any, follows it

  bool is_https() const { return scheme == "https"; }
  // "scheme://host" plus ":port" when it is not the scheme's default.
  std::string Origin() const;
  // "host:port", for messages that name the server.
  std::string HostAndPort() const;
  std::string ToString() const { return Origin() + path; }
};

// An absolute http or https URL; nullopt for anything else, including a URL
// that carries a user name or password (they belong in the settings). The
// fragment is dropped, an empty path becomes "/".
std::optional<Url> ParseUrl(std::string_view text);

// `reference` (an absolute URL, "//host/path", an absolute or a relative
// path) resolved against `base`, with "." and ".." segments removed.
std::optional<Url> ResolveUrl(const Url& base, std::string_view reference);

bool SameOrigin(const Url& a, const Url& b);

// The path (and query) spelled one way: a percent escape of a character
// that needs none is decoded ("%7E" -> "~", "%40" -> "@"), the escapes kept
// are upper case, and bytes that may not appear raw (space, controls,
// non-ASCII) are escaped. "%2F" stays escaped: it is not a separator.
std::string CanonicalPath(std::string_view path);

// The canonical absolute URL of `url`: what two hrefs are compared by.
std::string CanonicalUrl(const Url& url);

// `bytes` as one path segment: every byte but A-Z a-z 0-9 - . _ ~ escaped.
std::string PercentEncodeSegment(std::string_view bytes);

// The path with a trailing "/" ("/cal" and "/cal/" name the same collection).
std::string WithTrailingSlash(std::string path);
