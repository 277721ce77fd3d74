// SharedText: a part of shared bytes.
#include "events/shared_text.h"

#include <ostream>
#include <stdexcept>

SharedText::SharedText(std::string_view text) {
  if (text.size() > kMaxSize) throw std::length_error("a text of an event is limited to 4 GiB - 1 bytes");
  bytes_ = SharedBytes::CopyOf(text);
  size_ = static_cast<std::uint32_t>(text.size());
}

std::ostream& operator<<(std::ostream& out, const SharedText& text) { return out << text.view(); }

std::string operator+(const SharedText& a, const SharedText& b) { return a.str().append(b.view()); }
std::string operator+(const SharedText& a, std::string_view b) { return a.str().append(b); }
std::string operator+(const SharedText& a, const std::string& b) { return a.str().append(b); }
std::string operator+(const SharedText& a, const char* b) { return a.str().append(b); }
std::string operator+(std::string_view a, const SharedText& b) { return std::string(a).append(b.view()); }
std::string operator+(const std::string& a, const SharedText& b) { return std::string(a).append(b.view()); }
std::string operator+(const char* a, const SharedText& b) { return std::string(a).append(b.view()); }
