#include "res/program_skin.h"

#include "res/resource.h"

namespace {

constexpr COLORREF kSkinTeal = RGB(38, 77, 77);
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

void DressDialogFrame(CSkinDialog& dialog, UINT background_id, int close_right_inset) {
  dialog.SetBackgroundBitmap(background_id);
  dialog.SetCloseButtonInsets(close_right_inset, 1);
  dialog.SetCloseButtonBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED);
  dialog.SetCaptionHeight(30);
  dialog.SetDragFullWindows(1);
}

void DressPushButton(CSkinButton& button) {
  button.SetBitmaps(IDB_PUSH_BUTTON_NORMAL, IDB_PUSH_BUTTON_HOVER, IDB_PUSH_BUTTON_PRESSED,
                    IDB_PUSH_BUTTON_PRESSED);
  button.SetShowText(1);
}

void DressRadioButton(CSkinRadioButton& button) {
  button.SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
}

void DressPlateLabel(CColorLabel& label, int direction_word) {
  label.SetBackground(kSkinTeal, kSkinTeal, direction_word, 0);
  label.SetLabelTextColor(kWhite);
}

void ShowAdLink(CLinkLabel& link, HWND dialog, const RECT& place, const std::string& text,
                const std::string& url) {
  if (text.empty() || !link.Create(dialog, place)) return;
  link.SetTransparent();
  link.SetLinkText(text);
  link.SetLinkTarget(url);
}
