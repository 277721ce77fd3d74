#pragma once
// The find dialog (template 132): one keyword, used as typed.
#include <string>

#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

class FindEventDialog : public CSkinDialog {
 public:
  FindEventDialog();
  std::string strKeyword;  // edit 1019, used as typed

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  CSkinButton ok_, cancel_;
};
