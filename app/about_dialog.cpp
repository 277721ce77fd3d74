#include "app/about_dialog.h"

#include <cstdio>

#include "framework/dialog_controls.h"
#include "framework/program_title.h"
#include "res/program_skin.h"
#include "res/resource.h"
#include "update/version_notice.h"

namespace {

constexpr int kHorizontal = 0x1000000;

}  // namespace

AboutDialog::AboutDialog() : CSkinDialog(IDD_ABOUT), strVersion_(VersionText()) {}

std::string AboutDialog::VersionText() {
  char text[64];
  std::snprintf(text, sizeof text, "%s %0.2f", kProgramTitle, kProgramVersion);
  return text;
}

bool AboutDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_ABOUT_BACKGROUND);
  DressPushButton(close_);
  MoveDlgItem(hwnd(), IDOK, 105, 131);
  DressPlateLabel(version_label_, kHorizontal);
  return true;
}

void AboutDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, close_);
  dx.Control(IDC_ABOUT_VERSION, version_label_);
  dx.Text(IDC_ABOUT_VERSION, strVersion_);
}
