#include "dialogs/find_event_dialog.h"

#include "framework/dialog_controls.h"
#include "res/program_skin.h"
#include "res/resource.h"

FindEventDialog::FindEventDialog() : CSkinDialog(IDD_FIND) {}

bool FindEventDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_FIND_BACKGROUND);

  HWND dialog = hwnd();
  MoveDlgItem(dialog, IDC_FIND_KEYWORD, 102, 75, 122, 13);
  FitEditHeightToFont(GetDlgItem(dialog, IDC_FIND_KEYWORD));  // 13 pixels may clip the font
  MoveDlgItem(dialog, IDOK, 55, 131);
  MoveDlgItem(dialog, IDCANCEL, 155, 131);
  DressPushButton(ok_);
  DressPushButton(cancel_);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_FIND_KEYWORD)), TRUE);
  return false;  // the focus is set
}

void FindEventDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Text(IDC_FIND_KEYWORD, strKeyword);
}
