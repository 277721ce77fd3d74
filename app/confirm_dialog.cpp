#include "app/confirm_dialog.h"

#include "framework/dialog_controls.h"
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
  return true;
}

void ConfirmDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Control(IDC_CONFIRM_TEXT, text_label_);
  dx.Text(IDC_CONFIRM_TEXT, strText);
}
