#include <windows.h>

#include "base/text_convert.h"
#include "base/text_convert_internal.h"

namespace cp936 {
namespace {

constexpr UINT kCodePage = 936;

std::u16string MultiToWide(UINT code_page, DWORD flags, std::string_view in, bool* ok) {
  *ok = true;
  if (in.empty()) return {};
  int n = MultiByteToWideChar(code_page, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) {
    *ok = false;
    return {};
  }
  std::u16string out(n, u'\0');
  MultiByteToWideChar(code_page, flags, in.data(), static_cast<int>(in.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string WideToMulti(UINT code_page, std::u16string_view in, bool strict, bool* ok) {
  *ok = true;
  if (in.empty()) return {};
  auto* src = reinterpret_cast<const wchar_t*>(in.data());
  BOOL used_default = FALSE;
  // The UTF-8 code page accepts neither flags nor a default character.
  DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* used = code_page == CP_UTF8 ? nullptr : &used_default;
  int n = WideCharToMultiByte(code_page, flags, src, static_cast<int>(in.size()), nullptr, 0, nullptr, used);
  if (n <= 0) {
    *ok = false;
    return {};
  }
  std::string out(n, '\0');
  WideCharToMultiByte(code_page, flags, src, static_cast<int>(in.size()), out.data(), n, nullptr, used);
  if (strict && used_default) *ok = false;
  return out;
}

}  // namespace

bool ConvertPair(unsigned char lead, unsigned char trail, std::string* utf8) {
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  bool ok = false;
  std::u16string wide = MultiToWide(kCodePage, MB_ERR_INVALID_CHARS, std::string_view(pair, 2), &ok);
  if (!ok) return false;
  *utf8 = WideToMulti(CP_UTF8, wide, false, &ok);
  return ok;
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  bool ok = false;
  std::u16string wide = MultiToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &ok);
  if (!ok) return std::nullopt;
  std::string out = WideToMulti(kCodePage, wide, /*strict=*/true, &ok);
  if (!ok) return std::nullopt;
  return out;
}

std::string ToUtf8(std::string_view text) {
  bool ok = false;
  return WideToMulti(CP_UTF8, MultiToWide(kCodePage, 0, text, &ok), false, &ok);
}

void AppendUtf8(std::string_view text, std::string* out) { out->append(ToUtf8(text)); }

std::string FromUtf16(std::u16string_view wide) {
  bool ok = false;
  return WideToMulti(kCodePage, FoldSurrogatePairs(wide), /*strict=*/false, &ok);
}

std::u16string ToUtf16(std::string_view text) {
  bool ok = false;
  return MultiToWide(kCodePage, 0, text, &ok);
}

}  // namespace cp936
