// Reads event.dat like the framework's archive did, but refuses what the rest
// of the program cannot handle (null entries, the same record twice) and checks
// every length against the bytes that are really there.
#include <algorithm>

#include "base/text_convert.h"
#include "events/event_archive.h"

namespace {

constexpr std::string_view kClassName = "CMyEvent";
constexpr std::uint16_t kSchema = 1;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;  // a 32-bit tag follows
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::size_t kMaxClassNameLength = 63;
// Tag, empty title, timeCreate, empty content, bRemind, timeRemind.
constexpr std::size_t kSmallestRecord = 2 + 1 + 4 + 1 + 4 + 4;

class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}

  std::size_t remaining() const { return data_.size() - pos_; }
  const unsigned char* here() const { return reinterpret_cast<const unsigned char*>(data_.data()) + pos_; }
  // REQUIRES: n <= remaining().
  void Skip(std::size_t n) { pos_ += n; }

  bool U8(std::uint8_t* v) {
    if (remaining() < 1) return false;
    *v = static_cast<std::uint8_t>(data_[pos_++]);
    return true;
  }
  bool U16(std::uint16_t* v) {
    if (remaining() < 2) return false;
    *v = static_cast<std::uint16_t>(Byte(0) | Byte(1) << 8);
    pos_ += 2;
    return true;
  }
  bool U32(std::uint32_t* v) {
    if (remaining() < 4) return false;
    *v = Byte(0) | Byte(1) << 8 | Byte(2) << 16 | Byte(3) << 24;
    pos_ += 4;
    return true;
  }
  bool I32(std::int32_t* v) {
    std::uint32_t u;
    if (!U32(&u)) return false;
    *v = static_cast<std::int32_t>(u);
    return true;
  }
  // REQUIRES: n <= remaining().
  std::string_view Take(std::size_t n) {
    std::string_view out = data_.substr(pos_, n);
    pos_ += n;
    return out;
  }

 private:
  std::uint32_t Byte(std::size_t i) const { return static_cast<unsigned char>(data_[pos_ + i]); }

  std::string_view data_;
  std::size_t pos_ = 0;
};

// Text length: one byte below 0xFF, else 0xFF and a word, else 0xFF 0xFFFF and
// a 32-bit value. 0xFF 0xFFFE marks a wide text whose length follows.
struct TextLength {
  std::uint64_t length = 0;
  bool wide_marker = false;
};

ArchiveError ReadTextLength(ByteReader& in, TextLength* out) {
  std::uint8_t b;
  if (!in.U8(&b)) return ArchiveError::kEndOfFile;
  if (b < 0xFF) {
    out->length = b;
    return ArchiveError::kNone;
  }
  std::uint16_t w;
  if (!in.U16(&w)) return ArchiveError::kEndOfFile;
  if (w == 0xFFFE) {
    out->wide_marker = true;
  } else if (w == 0xFFFF) {
    std::uint32_t d;
    if (!in.U32(&d)) return ArchiveError::kEndOfFile;
    out->length = d;
  } else {
    out->length = w;
  }
  return ArchiveError::kNone;
}

// A text as the file holds it: its bytes, or for a wide text the bytes
// converted to code page 936.
struct TextField {
  std::string_view bytes;
  std::string converted;
  bool wide = false;
};

ArchiveError ReadText(ByteReader& in, TextField* text) {
  TextLength len;
  if (ArchiveError e = ReadTextLength(in, &len); e != ArchiveError::kNone) return e;
  bool wide = len.wide_marker;
  if (wide) {
    len = {};
    if (ArchiveError e = ReadTextLength(in, &len); e != ArchiveError::kNone) return e;
    // A second marker has no meaning; the framework would have failed on it too.
    if (len.wide_marker) return ArchiveError::kBadIndex;
  }
  std::uint64_t bytes = wide ? 2 * len.length : len.length;
  if (bytes > in.remaining()) return ArchiveError::kEndOfFile;
  std::string_view raw = in.Take(static_cast<std::size_t>(bytes));
  if (!wide) {
    text->bytes = raw;
    return ArchiveError::kNone;
  }
  std::u16string units(static_cast<std::size_t>(len.length), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     static_cast<unsigned char>(raw[2 * i + 1]) << 8);
  }
  text->converted = cp936::FromUtf16(units);
  text->bytes = text->converted;
  text->wide = true;
  return ArchiveError::kNone;
}

// A text of the record: a part of the file's bytes, or the converted text of its own.
SharedText PlaceText(const SharedBytes& file, const TextField& field) {
  return field.wide ? SharedText(field.converted) : SharedText(file, field.bytes);
}

// The archive's numbering of classes and objects while one file is read.
class ObjectNumbering {
 public:
  explicit ObjectNumbering(std::uint32_t limit) : limit_(limit) {}

  ArchiveError AddClass() {
    if (next_ >= limit_) return ArchiveError::kBadIndex;
    // Later records of this class refer to it by this short tag.
    if (next_ < kBigObjectTag) usual_tag_ = static_cast<std::uint16_t>(0x8000 | next_);
    class_numbers_.push_back(next_++);  // ascending, so binary search works
    return ArchiveError::kNone;
  }
  // The short tag of the class read last; 0 (never a valid tag) before any.
  std::uint16_t usual_tag() const { return usual_tag_; }
  ArchiveError AddObject() {
    if (next_ >= limit_) return ArchiveError::kBadIndex;
    ++next_;
    return ArchiveError::kNone;
  }
  bool IsClass(std::uint32_t number) const {
    return std::binary_search(class_numbers_.begin(), class_numbers_.end(), number);
  }

 private:
  std::uint32_t limit_;
  std::uint32_t next_ = 1;  // 0 stands for a null pointer
  std::vector<std::uint32_t> class_numbers_;
  std::uint16_t usual_tag_ = 0;
};

ArchiveError ReadClassDescription(ByteReader& in) {
  std::uint16_t schema, name_length;
  if (!in.U16(&schema) || !in.U16(&name_length)) return ArchiveError::kEndOfFile;
  // A name that is too long or cut short is an unknown class, not an early end.
  if (name_length > kMaxClassNameLength || name_length > in.remaining()) return ArchiveError::kBadClass;
  if (in.Take(name_length) != kClassName) return ArchiveError::kBadClass;
  if (schema != kSchema) return ArchiveError::kBadSchema;
  return ArchiveError::kNone;
}

ArchiveError ReadClassTag(ByteReader& in, ObjectNumbering& numbers) {
  std::uint16_t word;
  if (!in.U16(&word)) return ArchiveError::kEndOfFile;
  std::uint32_t tag;
  if (word == kBigObjectTag) {
    if (!in.U32(&tag)) return ArchiveError::kEndOfFile;
  } else {
    tag = (static_cast<std::uint32_t>(word & 0x8000) << 16) | (word & 0x7FFF);
  }
  // Without the class bit the tag is a null pointer or a record already read:
  // neither may enter the list.
  if ((tag & kBigClassTag) == 0) return ArchiveError::kBadIndex;
  if (word == kNewClassTag) {
    if (ArchiveError e = ReadClassDescription(in); e != ArchiveError::kNone) return e;
    return numbers.AddClass();
  }
  if (!numbers.IsClass(tag & ~kBigClassTag)) return ArchiveError::kBadIndex;
  return ArchiveError::kNone;
}

std::int32_t Int32At(const unsigned char* p) {
  return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// The record almost every file holds throughout: the short tag of the known
// class and two texts of fewer than 255 bytes, all there. Read in one go and
// appended; returns false, having read nothing, for any other record.
bool ReadUsualRecord(ByteReader& in, ObjectNumbering& numbers, const SharedBytes& file,
                     EventRecords* events) {
  const unsigned char* p = in.here();
  const std::size_t left = in.remaining();
  const std::uint16_t tag = numbers.usual_tag();
  if (tag == 0 || left < kSmallestRecord || (p[0] | p[1] << 8) != tag) return false;
  const std::size_t title_length = p[2];
  const std::size_t content_at = 3 + title_length + 4;  // the content's length byte
  if (title_length == 0xFF || left < content_at + 1 + 8) return false;
  const std::size_t content_length = p[content_at];
  const std::size_t end = content_at + 1 + content_length + 8;
  if (content_length == 0xFF || left < end) return false;
  if (numbers.AddObject() != ArchiveError::kNone) return false;  // the general path says why

  const char* bytes = reinterpret_cast<const char*>(p);
  events->emplace_back(SharedText(file, std::string_view(bytes + 3, title_length)),
                       Int32At(p + 3 + title_length),
                       SharedText(file, std::string_view(bytes + content_at + 1, content_length)),
                       Int32At(p + end - 8), Int32At(p + end - 4));
  in.Skip(end);
  return true;
}

// Reads one record and appends it; on a fault appends nothing.
ArchiveError ReadRecord(ByteReader& in, ObjectNumbering& numbers, const SharedBytes& file,
                        EventRecords* events) {
  if (ReadUsualRecord(in, numbers, file, events)) return ArchiveError::kNone;
  if (ArchiveError e = ReadClassTag(in, numbers); e != ArchiveError::kNone) return e;
  if (ArchiveError e = numbers.AddObject(); e != ArchiveError::kNone) return e;
  TextField title, content;
  std::int32_t created = 0, remind = 0, remind_at = 0;
  if (ArchiveError e = ReadText(in, &title); e != ArchiveError::kNone) return e;
  if (!in.I32(&created)) return ArchiveError::kEndOfFile;
  if (ArchiveError e = ReadText(in, &content); e != ArchiveError::kNone) return e;
  if (!in.I32(&remind) || !in.I32(&remind_at)) return ArchiveError::kEndOfFile;
  events->emplace_back(PlaceText(file, title), created, PlaceText(file, content), remind, remind_at);
  return ArchiveError::kNone;
}

}  // namespace

ArchiveError ReadEventArchive(const SharedBytes& bytes, EventRecords* events, std::uint32_t max_map_count) {
  ByteReader in(bytes.view());
  std::uint16_t word;
  if (!in.U16(&word)) return ArchiveError::kEndOfFile;
  std::uint32_t count = word;
  if (word == 0xFFFF && !in.U32(&count)) return ArchiveError::kEndOfFile;

  // Reserve only what the remaining bytes could possibly hold.
  events->reserve(events->size() + std::min<std::size_t>(count, in.remaining() / kSmallestRecord));
  ObjectNumbering numbers(max_map_count);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (ArchiveError e = ReadRecord(in, numbers, bytes, events); e != ArchiveError::kNone) return e;
  }
  return ArchiveError::kNone;
}
