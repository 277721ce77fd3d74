#include "caldav/http_transport.h"

#include <cctype>

#include "caldav/http_header_lines.h"

namespace {
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}
}  // namespace

std::string_view HttpResult::Header(std::string_view name) const {
  for (const HttpHeader& header : headers) {
    if (EqualIgnoringCase(header.name, name)) return header.value;
  }
  return {};
}

void WipeSecret(std::string& secret) {
  // Through a volatile pointer, so the stores are not dropped as dead.
  volatile char* bytes = secret.data();
  for (std::size_t i = 0; i < secret.size(); ++i) bytes[i] = 0;
  secret.clear();
}

bool ParseHeaderLine(std::string_view line, HttpHeader& header) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  std::size_t colon = line.find(':');
  if (colon == 0 || colon == std::string_view::npos || line.substr(0, 5) == "HTTP/") return false;
  std::string_view name = line.substr(0, colon);
  if (name.find_first_of(" \t") != std::string_view::npos) return false;
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  header.name = std::string(name);
  header.value = std::string(value);
  return true;
}

std::vector<HttpHeader> ParseHeaderBlock(std::string_view block) {
  std::vector<HttpHeader> headers;
  while (!block.empty()) {
    std::size_t end = block.find('\n');
    std::string_view line = block.substr(0, end);
    HttpHeader header;
    if (ParseHeaderLine(line, header)) headers.push_back(std::move(header));
    if (end == std::string_view::npos) break;
    block.remove_prefix(end + 1);
  }
  return headers;
}
