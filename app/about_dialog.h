#pragma once
// The About box (template 129): the program's name and version on the skin.
#include <string>

#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

class AboutDialog : public CSkinDialog {
 public:
  AboutDialog();

  // "Tallyo <version>": the title, a blank and the version with two decimals.
  static std::string VersionText();

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  std::string strVersion_;
  CSkinButton close_;
  CColorLabel version_label_;
};
