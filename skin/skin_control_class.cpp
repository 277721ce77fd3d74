#include "skin/skin_control_class.h"

#include "framework/window.h"

const wchar_t* SkinControlClass() {
  static constexpr wchar_t kName[] = L"TallyoSkinControl";
  Window::RegisterWindowClass(kName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
  return kName;
}

bool TopLevelOnScreen(HWND control) {
  // A child is visible only while every window it lies in is.
  return control != nullptr && IsWindowVisible(control) && !IsIconic(GetAncestor(control, GA_ROOT));
}
