#include "app/skin_layout.h"

#include "res/resource.h"

namespace {

constexpr COLORREF kSkinTeal = 0x4D4D26;  // red 38, green 77, blue 77
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kHorizontal = 0x1000000;

}  // namespace

void SetSmallDialogFrame(CSkinDialog& dialog, UINT background_id) {
  dialog.SetBackgroundBitmap(background_id);
  dialog.SetCloseButtonInsets(6, 1);
  dialog.SetCloseButtonBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED);
  dialog.SetCaptionHeight(30);
  dialog.SetDragFullWindows(1);
}

void SetPushButton(CSkinButton& button, HWND dialog, int id, int x, int y) {
  if (button.hwnd() == nullptr) button.SubclassDlgItem(dialog, id);
  button.SetBitmaps(IDB_PUSH_BUTTON_NORMAL, IDB_PUSH_BUTTON_HOVER, IDB_PUSH_BUTTON_PRESSED,
                    IDB_PUSH_BUTTON_PRESSED);
  button.SetShowText(1);
  if (x >= 0) PlaceControl(dialog, id, x, y);
}

void SetPlateLabel(CColorLabel& label, HWND dialog, int id) {
  if (label.hwnd() == nullptr) label.SubclassDlgItem(dialog, id);
  label.SetBackground(kSkinTeal, kSkinTeal, kHorizontal, 0);
  label.SetLabelTextColor(kWhite);
}

void PlaceControl(HWND dialog, int id, int x, int y, int width, int height) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (width < 0 || height < 0) flags |= SWP_NOSIZE;
  SetWindowPos(control, nullptr, x, y, width, height, flags);
}
