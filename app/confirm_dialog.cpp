#include "app/confirm_dialog.h"

#include <algorithm>

#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

constexpr int kHorizontal = 0x1000000;

}  // namespace

ConfirmDialog::ConfirmDialog(std::string question, HWND parent)
    : CSkinDialog(IDD_CONFIRM, parent), strText(std::move(question)) {}

bool ConfirmDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_CONFIRM_BACKGROUND);
  DressPushButton(ok_);
  DressPushButton(cancel_);
  MoveDlgItem(hwnd(), IDOK, 55, 131);
  MoveDlgItem(hwnd(), IDCANCEL, 160, 131);
  DressPlateLabel(text_label_, kHorizontal);
  WrapLongQuestion();
  return true;
}

void ConfirmDialog::WrapLongQuestion() {
  // The label centres one line; a longer question wraps, centred as a block.
  HWND label = GetDlgItem(hwnd(), IDC_CONFIRM_TEXT);
  RECT place{};
  GetWindowRect(label, &place);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  HDC dc = GetDC(label);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT needed{0, 0, width, 0};
  DrawTextW(dc, win::Widen(strText).c_str(), -1, &needed,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old_font);
  ReleaseDC(label, dc);
  if (needed.bottom <= metrics.tmHeight) return;
  SetWindowLongPtrW(label, GWL_STYLE,
                    (GetWindowLongPtrW(label, GWL_STYLE) & ~SS_CENTERIMAGE) | SS_EDITCONTROL);
  const int lines_height = std::min<int>(needed.bottom, height);
  SetWindowPos(label, nullptr, place.left, place.top + (height - lines_height) / 2, width, lines_height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void ConfirmDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Control(IDC_CONFIRM_TEXT, text_label_);
  dx.Text(IDC_CONFIRM_TEXT, strText);
}
