#include "base/cp936.h"

namespace cp936 {

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  for (std::size_t pos = from;; pos += CharLength(text, pos)) {
    if (text.size() - pos < needle.size()) return std::string_view::npos;
    if (text.compare(pos, needle.size(), needle) == 0) return pos;
    if (pos == text.size()) return std::string_view::npos;
  }
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += CharLength(text, pos)) {
    if (text[pos] == c) return pos;
  }
  return std::string_view::npos;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size(); pos += CharLength(out, pos)) {
    if (out[pos] >= 'A' && out[pos] <= 'Z') out[pos] = static_cast<char>(out[pos] - 'A' + 'a');
  }
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t hit = Find(text, from); !from.empty() && hit != std::string_view::npos;
       hit = Find(text, from, start)) {
    out.append(text.substr(start, hit - start)).append(to);
    start = hit + from.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace cp936
