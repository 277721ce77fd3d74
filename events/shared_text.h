#pragma once
// SharedText: the title or body of an event, code page 936 bytes that never
// change, read like a const std::string (and converting to std::string and
// std::string_view).
//
// Why not std::string: a loaded list of 100k events would be 200k heap
// blocks, built and freed one by one. A loaded text is instead a part of the
// file's bytes, which it holds a share of (shared_bytes.h); a text the
// program sets gets a block of its own. Either way the text keeps alive the
// bytes it points into, so a record never outlives its texts' bytes, whatever
// happens to the list or the load it came from. Copies share the bytes; a
// change makes a new text.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "events/shared_bytes.h"

class SharedText {
 public:
  static constexpr std::size_t npos = std::string_view::npos;
  // What event.dat can store: a text's length is at most a 32-bit value.
  static constexpr std::size_t kMaxSize = UINT32_MAX;

  SharedText() noexcept = default;
  // A copy of `text` in a block of its own. Throws std::length_error beyond kMaxSize.
  SharedText(std::string_view text);  // NOLINT: converts like std::string
  SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
  SharedText(const char* text) : SharedText(std::string_view(text)) {}
  // `part` of `bytes`, sharing them. REQUIRES: `part` lies within bytes.view().
  // Inline: a load makes two of these per record.
  SharedText(const SharedBytes& bytes, std::string_view part) {
    if (part.empty()) return;  // the empty text needs no bytes
    const auto offset = static_cast<std::size_t>(part.data() - bytes.data());
    if (offset > UINT32_MAX || part.size() > kMaxSize) {
      *this = SharedText(part);  // beyond 4 GiB into a load: a copy (or the error)
      return;
    }
    bytes_ = bytes;
    offset_ = static_cast<std::uint32_t>(offset);
    size_ = static_cast<std::uint32_t>(part.size());
  }

  SharedText& operator=(std::string_view text) { return *this = SharedText(text); }
  SharedText& operator=(const std::string& text) { return *this = SharedText(text); }
  SharedText& operator=(const char* text) { return *this = SharedText(text); }

  // --- read access, as on a const std::string ---
  // Not followed by a NUL: a loaded text is a piece of the file's bytes.
  const char* data() const noexcept { return bytes_.data() + offset_; }
  std::size_t size() const noexcept { return size_; }
  std::size_t length() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  char operator[](std::size_t i) const { return data()[i]; }
  char front() const { return data()[0]; }
  char back() const { return data()[size_ - 1]; }
  const char* begin() const noexcept { return data(); }
  const char* end() const noexcept { return data() + size_; }
  std::string_view view() const noexcept { return {data(), size_}; }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const noexcept { return view(); }  // NOLINT
  operator std::string() const { return str(); }                 // NOLINT

  std::size_t find(std::string_view s, std::size_t pos = 0) const { return view().find(s, pos); }
  std::size_t find(char c, std::size_t pos = 0) const { return view().find(c, pos); }
  std::size_t rfind(std::string_view s, std::size_t pos = npos) const { return view().rfind(s, pos); }
  std::size_t find_first_of(std::string_view s, std::size_t pos = 0) const {
    return view().find_first_of(s, pos);
  }
  std::string substr(std::size_t pos = 0, std::size_t n = npos) const {
    return std::string(view().substr(pos, n));
  }
  int compare(std::string_view s) const noexcept { return view().compare(s); }
  bool starts_with(std::string_view s) const noexcept { return view().starts_with(s); }
  bool ends_with(std::string_view s) const noexcept { return view().ends_with(s); }

  void clear() noexcept { *this = SharedText(); }

  // One comparison against string_view serves std::string, string literals and
  // other texts alike (the other side converts); C++20 supplies the reverse.
  friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.view() == b; }
  friend auto operator<=>(const SharedText& a, std::string_view b) noexcept { return a.view() <=> b; }

 private:
  SharedBytes bytes_;
  // Where in bytes_ the text lies: 16 bytes in all, so a record stays 48.
  std::uint32_t offset_ = 0;
  std::uint32_t size_ = 0;
};

std::ostream& operator<<(std::ostream& out, const SharedText& text);

// Concatenation gives a std::string, as it would with std::string fields. One
// overload per kind of other side, so that none needs a conversion to win.
std::string operator+(const SharedText& a, const SharedText& b);
std::string operator+(const SharedText& a, std::string_view b);
std::string operator+(const SharedText& a, const std::string& b);
std::string operator+(const SharedText& a, const char* b);
std::string operator+(std::string_view a, const SharedText& b);
std::string operator+(const std::string& a, const SharedText& b);
std::string operator+(const char* a, const SharedText& b);
