#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "base/cp936_characters.h"
#include "base/text_convert.h"
#include "base/text_convert_internal.h"

namespace cp936 {
namespace {

// Opening a descriptor costs far more than a short conversion, and a list
// converts a few texts per row: each thread opens one per direction, once
// (thread_local keeps conversions safe to use from any thread).
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~IconvHandle() { iconv_close(cd_); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

enum class OnInvalid { kFail, kReplace };

// Appends `in` (bytes of the descriptor's source) converted to *out. On an
// invalid or unconvertible input sequence either fails or appends
// `replacement` and skips `skip` bytes.
bool Convert(const IconvHandle& cd, std::string_view in, OnInvalid on_invalid, std::string_view replacement,
             std::size_t skip, std::string* out) {
  iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);  // a fresh start, whatever the last call left
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buffer[1024];
  while (src_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t rc = iconv(cd.get(), &src, &src_left, &dst, &dst_left);
    out->append(buffer, dst - buffer);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (on_invalid == OnInvalid::kFail) return false;
    out->append(replacement);
    std::size_t step = std::min(skip, src_left);
    src += step;
    src_left -= step;
  }
  return true;
}

const IconvHandle& Cp936ToUtf8() {
  thread_local IconvHandle cd("UTF-8", "CP936");
  return cd;
}

}  // namespace

bool ConvertPair(unsigned char lead, unsigned char trail, std::string* utf8) {
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  return Convert(Cp936ToUtf8(), std::string_view(pair, 2), OnInvalid::kFail, "", 1, utf8);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local IconvHandle cd("CP936", "UTF-8");
  std::string out;
  if (!Convert(cd, utf8, OnInvalid::kFail, "", 1, &out)) return std::nullopt;
  return out;
}

std::string ToUtf8(std::string_view text) {
  std::string out;
  AppendUtf8(text, &out);
  return out;
}

void AppendUtf8(std::string_view text, std::string* out) {
  if (IsAscii(text)) {
    out->append(text);
    return;
  }
  // ASCII runs as they are, double-byte characters from the table; anything
  // else (a single-byte character above 0x7F, a cut or invalid pair) sends
  // the whole text through iconv, which handles it as it always has.
  const Cp936Characters::Table characters = ThisThreadsCp936Characters().table();
  const std::size_t room = Cp936Characters::Table::KnownRoom(text.size());
  char* end = nullptr;
  char nearby[512];  // most texts: written here and appended, sparing a fill of the room
  if (room <= sizeof nearby) {
    end = characters.PutKnown(text, nearby);
    if (end != nullptr) out->append(nearby, static_cast<std::size_t>(end - nearby));
  } else {
    const std::size_t start = out->size();
    out->resize(start + room);
    end = characters.PutKnown(text, out->data() + start);
    out->resize(end == nullptr ? start : static_cast<std::size_t>(end - out->data()));
  }
  if (end == nullptr) Convert(Cp936ToUtf8(), text, OnInvalid::kReplace, "\xEF\xBF\xBD", 1, out);
}

std::string FromUtf16(std::u16string_view wide) {
  std::u16string units = FoldSurrogatePairs(wide);
  std::string_view bytes(reinterpret_cast<const char*>(units.data()), units.size() * 2);
  thread_local IconvHandle cd("CP936", "UTF-16LE");
  std::string out;
  Convert(cd, bytes, OnInvalid::kReplace, "?", 2, &out);
  return out;
}

std::u16string ToUtf16(std::string_view text) {
  thread_local IconvHandle cd("UTF-16LE", "CP936");
  std::string bytes;
  Convert(cd, text, OnInvalid::kReplace, "\xFD\xFF", 1, &bytes);
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

}  // namespace cp936
