#include "app/about_dialog.h"

#include <cstdio>

#include "app/skin_layout.h"
#include "framework/program_title.h"
#include "res/resource.h"
#include "update/version_notice.h"

AboutDialog::AboutDialog() : CSkinDialog(IDD_ABOUT) {}

std::string AboutDialog::VersionText() {
  char text[64];
  std::snprintf(text, sizeof text, "%s %0.2f", kProgramTitle, kProgramVersion);
  return text;
}

bool AboutDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  SetSmallDialogFrame(*this, IDB_ABOUT_BACKGROUND);
  SetPushButton(close_, hwnd(), IDOK, 105, 131);
  SetPlateLabel(version_label_, hwnd(), IDC_ABOUT_VERSION);
  strVersion_ = VersionText();
  UpdateData(false);
  return true;
}

void AboutDialog::DoDataExchange(DataExchange& dx) { dx.Text(IDC_ABOUT_VERSION, strVersion_); }
