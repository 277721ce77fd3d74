// EventText: owning or borrowing the bytes of a title or body.
#include "events/event_text.h"

#include <cstring>
#include <ostream>

void EventText::Own(std::string_view text) {
  if (text.empty()) return;  // the empty text needs no block
  char* bytes = new char[text.size()];
  std::memcpy(bytes, text.data(), text.size());
  data_ = bytes;
  size_ = text.size() | kOwnedBit;
}

EventText& EventText::Assign(std::string_view text) {
  // `text` may point into this very text: copy before letting go.
  EventText copy(text);
  Release();
  TakeFrom(copy);
  return *this;
}

EventText& EventText::append(std::string_view text) {
  std::string joined(view());
  joined.append(text);
  return Assign(joined);
}

void EventText::TakeFrom(EventText& other) {
  if (!other.owned()) {
    // Borrowed bytes belong to a load that may end before this text does.
    Own(other.view());
    return;
  }
  data_ = other.data_;
  size_ = other.size_;
  other.data_ = "";
  other.size_ = 0;
}

void EventText::Release() noexcept {
  if (owned()) delete[] data_;
  data_ = "";
  size_ = 0;
}

std::ostream& operator<<(std::ostream& out, const EventText& text) { return out << text.view(); }

std::string operator+(const EventText& a, const EventText& b) { return a.str().append(b.view()); }
std::string operator+(const EventText& a, std::string_view b) { return a.str().append(b); }
std::string operator+(const EventText& a, const std::string& b) { return a.str().append(b); }
std::string operator+(const EventText& a, const char* b) { return a.str().append(b); }
std::string operator+(std::string_view a, const EventText& b) { return std::string(a).append(b.view()); }
std::string operator+(const std::string& a, const EventText& b) { return std::string(a).append(b.view()); }
std::string operator+(const char* a, const EventText& b) { return std::string(a).append(b.view()); }
