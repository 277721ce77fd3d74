#include "grid/grid_clipboard_win.h"

#include <cstring>
#include <string>

#include "framework/text_boundary.h"

namespace {

// Global memory handed to the clipboard: freed unless the clipboard took it.
class GlobalBlock {
 public:
  GlobalBlock(const void* data, std::size_t size) : handle_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (handle_ == nullptr) return;
    if (void* p = GlobalLock(handle_)) {
      std::memcpy(p, data, size);
      GlobalUnlock(handle_);
    } else {
      GlobalFree(handle_);
      handle_ = nullptr;
    }
  }
  ~GlobalBlock() {
    if (handle_) GlobalFree(handle_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  explicit operator bool() const { return handle_ != nullptr; }

  // Hands the block to the clipboard; it is the clipboard's once that succeeded.
  bool PutOnClipboard(UINT format) {
    if (handle_ == nullptr || SetClipboardData(format, handle_) == nullptr) return false;
    handle_ = nullptr;
    return true;
  }

 private:
  HGLOBAL handle_;
};

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

bool WriteClipboardText(HWND owner, std::string_view cp936_text) {
  std::string narrow(cp936_text);
  std::wstring wide = win::Widen(cp936_text);
  const LCID locale = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
  GlobalBlock text(narrow.c_str(), narrow.size() + 1);  // with its zero byte
  GlobalBlock unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalBlock locale_block(&locale, sizeof locale);
  if (!text || !unicode || !locale_block) return false;
  if (!OpenClipboardPatiently(owner)) return false;
  bool ok = EmptyClipboard() != FALSE;
  ok = ok && text.PutOnClipboard(CF_TEXT);
  ok = ok && unicode.PutOnClipboard(CF_UNICODETEXT);
  if (ok) locale_block.PutOnClipboard(CF_LOCALE);
  CloseClipboard();
  return ok;
}
