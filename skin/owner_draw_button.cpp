#include "skin/owner_draw_button.h"

#include <initializer_list>

void MakeButtonOwnerDrawn(HWND button) {
  if (button == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  const WPARAM low_byte = static_cast<WPARAM>(style & 0xFF);
  SendMessageW(button, BM_SETSTYLE, (low_byte & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW,
               /*redraw=*/TRUE);
  const LONG_PTR now = GetWindowLongPtrW(button, GWL_STYLE);
  if (now & WS_BORDER) {
    SetWindowLongPtrW(button, GWL_STYLE, now & ~static_cast<LONG_PTR>(WS_BORDER));
    SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool FocusCameByKeyboard() {
  auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  if (down(VK_LBUTTON) || down(VK_RBUTTON) || down(VK_MBUTTON)) return false;
  for (int key : {VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
    if (down(key)) return true;
  }
  return false;
}
