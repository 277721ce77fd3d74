#include "app/confirm_dialog.h"

#include "app/skin_layout.h"
#include "res/resource.h"

ConfirmDialog::ConfirmDialog(std::string question, HWND parent)
    : CSkinDialog(IDD_CONFIRM, parent), strText(std::move(question)) {}

bool ConfirmDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  SetSmallDialogFrame(*this, IDB_CONFIRM_BACKGROUND);
  SetPushButton(ok_, hwnd(), IDOK, 55, 131);
  SetPushButton(cancel_, hwnd(), IDCANCEL, 160, 131);
  SetPlateLabel(text_label_, hwnd(), IDC_CONFIRM_TEXT);
  UpdateData(false);
  return true;
}

void ConfirmDialog::DoDataExchange(DataExchange& dx) { dx.Text(IDC_CONFIRM_TEXT, strText); }
