// Writes event.dat exactly as the framework's archive did, so files stay
// interchangeable with every earlier version of the program.
#include <cstring>

#include "events/event_archive.h"

namespace {

constexpr char kClassName[] = "CMyEvent";
constexpr std::size_t kClassNameLength = sizeof kClassName - 1;
constexpr std::uint16_t kSchema = 1;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kFirstClassReference = 0x8001;

std::size_t CountSize(std::size_t count) { return count < 0xFFFF ? 2 : 6; }

std::size_t TextSize(std::string_view text) {
  std::size_t n = text.size();
  return (n <= 254 ? 1 : n <= 65533 ? 3 : 7) + n;
}

std::size_t RecordSize(const CMyEvent& e) { return TextSize(e.strTitle) + TextSize(e.strContent) + 12; }

// Appends into a buffer sized in advance; one pass, no reallocation.
class ByteWriter {
 public:
  explicit ByteWriter(char* out) : p_(out) {}
  void U8(std::uint8_t v) { *p_++ = static_cast<char>(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Bytes(const char* data, std::size_t n) {
    if (n != 0) std::memcpy(p_, data, n);
    p_ += n;
  }
  void Count(std::size_t n) {
    if (n < 0xFFFF) {
      U16(static_cast<std::uint16_t>(n));
    } else {
      U16(0xFFFF);
      U32(static_cast<std::uint32_t>(n));
    }
  }
  void Text(std::string_view text) {
    std::size_t n = text.size();
    if (n <= 254) {
      U8(static_cast<std::uint8_t>(n));
    } else if (n <= 65533) {
      U8(0xFF);
      U16(static_cast<std::uint16_t>(n));
    } else {
      U8(0xFF);
      U16(0xFFFF);
      U32(static_cast<std::uint32_t>(n));
    }
    Bytes(text.data(), n);
  }

 private:
  char* p_;
};

}  // namespace

std::string WriteEventArchive(std::span<const CMyEvent> events) {
  std::size_t size = CountSize(events.size());
  if (!events.empty()) size += 4 + kClassNameLength;  // the class description
  for (const CMyEvent& e : events) size += 2 + RecordSize(e);

  std::string image(size, '\0');
  ByteWriter out(image.data());
  out.Count(events.size());
  bool class_written = false;
  for (const CMyEvent& e : events) {
    if (!class_written) {
      out.U16(kNewClassTag);
      out.U16(kSchema);
      out.U16(static_cast<std::uint16_t>(kClassNameLength));
      out.Bytes(kClassName, kClassNameLength);
      class_written = true;
    } else {
      out.U16(kFirstClassReference);
    }
    // The fields in the order of CMyEvent's serialisation.
    out.Text(e.strTitle);
    out.I32(e.timeCreate);
    out.Text(e.strContent);
    out.I32(e.bRemind);
    out.I32(e.timeRemind);
  }
  return image;
}
