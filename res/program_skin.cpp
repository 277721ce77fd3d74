#include "res/program_skin.h"

#include "res/resource.h"

namespace {

constexpr COLORREF kSkinTeal = RGB(38, 77, 77);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSkinText = RGB(236, 243, 242);  // the skin's painted labels

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
  button.SetFocusCueColor(kSkinTeal);  // on the light face
}

void DressRadioButton(CSkinRadioButton& button) {
  button.SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
  // A button wide enough to draw its own caption draws it like the skin's
  // painted labels, on the dialog's colour.
  button.SetBkColor(kSkinTeal);
  button.SetTextColor(kSkinText);
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
