#pragma once
// Which link targets Tallyo hands to the shell. Every target that comes from
// the remote document (the download link, ticker links, advertisement links)
// passes through IsSafeWebLink before it is opened: the shell would run a
// program path, a UNC path or a protocol handler (file:, ms-msdt:, ...) just
// as readily as it opens a web page.
#include <string_view>

// True only for a well-formed absolute http:// or https:// address (scheme in
// any letter case), judged by parsing it. `url` is code page 936 text.
// Refused, among others:
//  - any other scheme, a missing "//", an empty host;
//  - userinfo ("https://good.example@evil.example" hides the real host);
//  - blanks anywhere (also leading or trailing), control characters, and the
//    characters a URL never holds unescaped: " < > \ ^ ` { | };
//  - a port that is not 1 to 65535, a malformed %-escape, a host that is not
//    a plain host name, IPv4 or bracketed IPv6 address;
//  - addresses longer than kMaxWebLinkBytes.
// Double-byte characters of code page 936 are accepted in the path, query and
// fragment (the browser encodes them); never in the host.
bool IsSafeWebLink(std::string_view url);

inline constexpr std::size_t kMaxWebLinkBytes = 2048;
