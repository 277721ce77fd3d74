#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/text_convert.h"
#include "base/text_convert_internal.h"

namespace cp936 {
namespace {

// One conversion descriptor per call: conversions are rare and short, and this
// keeps them safe to use from any thread.
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

// Converts `in` (bytes of the handle's source) and appends the result to *out.
// On an invalid or unconvertible input sequence either fails or appends
// `replacement` and skips `skip` bytes.
bool ConvertAppend(const IconvHandle& cd, std::string_view in, OnInvalid on_invalid,
                   std::string_view replacement, std::size_t skip, std::string* out) {
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
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    if (on_invalid == OnInvalid::kFail) return false;
    out->append(replacement);
    std::size_t step = std::min(skip, src_left);
    src += step;
    src_left -= step;
  }
  return true;
}

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   OnInvalid on_invalid, std::string_view replacement, std::size_t skip) {
  IconvHandle cd(to, from);
  std::string out;
  if (!ConvertAppend(cd, in, on_invalid, replacement, skip, &out)) return std::nullopt;
  return out;
}

constexpr char kUtf8Replacement[] = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

std::optional<std::string> FromUtf8(std::string_view utf8) {
  return Convert("CP936", "UTF-8", utf8, OnInvalid::kFail, "", 1);
}

std::string ToUtf8(std::string_view text) {
  return *Convert("UTF-8", "CP936", text, OnInvalid::kReplace, kUtf8Replacement, 1);
}

std::string FromUtf16(std::u16string_view wide) {
  std::u16string units = FoldSurrogatePairs(wide);
  std::string_view bytes(reinterpret_cast<const char*>(units.data()), units.size() * 2);
  return *Convert("CP936", "UTF-16LE", bytes, OnInvalid::kReplace, "?", 2);
}

std::u16string ToUtf16(std::string_view text) {
  std::string bytes = *Convert("UTF-16LE", "CP936", text, OnInvalid::kReplace, "\xFD\xFF", 1);
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

struct Utf8Converter::State {
  IconvHandle from_cp936{"UTF-8", "CP936"};
};

Utf8Converter::Utf8Converter() : state_(std::make_unique<State>()) {}
Utf8Converter::~Utf8Converter() = default;

std::string_view Utf8Converter::Convert(std::string_view text) {
  if (IsAscii(text)) return text;
  converted_.clear();
  ConvertAppend(state_->from_cp936, text, OnInvalid::kReplace, kUtf8Replacement, 1, &converted_);
  return converted_;
}

}  // namespace cp936
