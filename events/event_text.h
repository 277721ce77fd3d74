#pragma once
// EventText: the title or body of an event, code page 936 bytes, read like a
// const std::string (and converting to std::string and std::string_view).
//
// Why not std::string: a loaded list of 100k events would be 200k heap blocks,
// built and freed one by one. The texts of a loaded record instead borrow
// their bytes from the load's buffer, which the EventList keeps for as long as
// those records live (see event_batch.h). Every other text owns its bytes: a
// text that is assigned, copied or moved gets its own copy, so a copy of a
// record (a dialog's working copy, a test's snapshot) never depends on the
// list it came from.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class EventText {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  EventText() noexcept = default;
  EventText(std::string_view text) { Own(text); }  // NOLINT: converts like std::string
  EventText(const std::string& text) : EventText(std::string_view(text)) {}
  EventText(const char* text) : EventText(std::string_view(text)) {}
  EventText(const EventText& other) : EventText(other.view()) {}
  EventText(EventText&& other) { TakeFrom(other); }
  // Inline and without Release()'s resetting: a list of 100k loaded records
  // is torn down with two tests per record.
  ~EventText() {
    if (owned()) delete[] data_;
  }

  EventText& operator=(const EventText& other) { return Assign(other.view()); }
  EventText& operator=(EventText&& other) {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  EventText& operator=(std::string_view text) { return Assign(text); }
  EventText& operator=(const std::string& text) { return Assign(text); }
  EventText& operator=(const char* text) { return Assign(text); }

  // Points at bytes the caller keeps alive, unchanged, for the whole life of
  // this text. Only the loader calls this.
  void Borrow(std::string_view bytes) {
    if (owned()) Release();  // a loaded text is new: no call
    data_ = bytes.data();
    size_ = bytes.size();
  }

  // --- read access, as on a const std::string ---
  // Not followed by a NUL: a borrowed text is a piece of the file's bytes.
  const char* data() const noexcept { return data_; }
  std::size_t size() const noexcept { return size_ & kSizeMask; }
  std::size_t length() const noexcept { return size(); }
  bool empty() const noexcept { return size() == 0; }
  char operator[](std::size_t i) const { return data_[i]; }
  char front() const { return data_[0]; }
  char back() const { return data_[size() - 1]; }
  const char* begin() const noexcept { return data_; }
  const char* end() const noexcept { return data_ + size(); }
  std::string_view view() const noexcept { return {data_, size()}; }
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

  // --- changes (the text then owns its bytes) ---
  void clear() { Release(); }
  EventText& assign(std::string_view text) { return Assign(text); }
  EventText& append(std::string_view text);
  EventText& operator+=(std::string_view text) { return append(text); }
  EventText& operator+=(char c) { return append(std::string_view(&c, 1)); }
  void push_back(char c) { append(std::string_view(&c, 1)); }

  // One comparison against string_view serves std::string, string literals and
  // other texts alike (the other side converts); C++20 supplies the reverse.
  friend bool operator==(const EventText& a, std::string_view b) noexcept { return a.view() == b; }
  friend auto operator<=>(const EventText& a, std::string_view b) noexcept { return a.view() <=> b; }

 private:
  // The top bit of size_ says the bytes are a heap block of this text's own.
  static constexpr std::size_t kOwnedBit = ~(~std::size_t{0} >> 1);
  static constexpr std::size_t kSizeMask = ~kOwnedBit;

  bool owned() const noexcept { return (size_ & kOwnedBit) != 0; }
  void Own(std::string_view text);
  EventText& Assign(std::string_view text);
  void TakeFrom(EventText& other);
  void Release() noexcept;

  const char* data_ = "";
  std::size_t size_ = 0;
};

std::ostream& operator<<(std::ostream& out, const EventText& text);

// Concatenation gives a std::string, as it would with std::string fields. One
// overload per kind of other side, so that none needs a conversion to win.
std::string operator+(const EventText& a, const EventText& b);
std::string operator+(const EventText& a, std::string_view b);
std::string operator+(const EventText& a, const std::string& b);
std::string operator+(const EventText& a, const char* b);
std::string operator+(std::string_view a, const EventText& b);
std::string operator+(const std::string& a, const EventText& b);
std::string operator+(const char* a, const EventText& b);
