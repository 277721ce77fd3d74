#pragma once
// The program's question box (template 135): a question on the skin with
// OK and Cancel. Used for "确定要退出程序吗？" and "确定要删除吗？".
#include <string>

#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

class ConfirmDialog : public CSkinDialog {
 public:
  explicit ConfirmDialog(std::string question, HWND parent = nullptr);

  // The question, code page 936; set before DoModal.
  std::string strText;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  void WrapLongQuestion();

  CSkinButton ok_, cancel_;
  CColorLabel text_label_;
};

// "确定要退出程序吗？" (do you really want to exit the program?)
inline constexpr char kExitQuestion[] =
    "\xc8\xb7\xb6\xa8\xd2\xaa\xcd\xcb\xb3\xf6\xb3\xcc\xd0\xf2\xc2\xf0\xa3\xbf";
// "确定要删除吗？" (do you really want to delete?)
inline constexpr char kDeleteQuestion[] = "\xc8\xb7\xb6\xa8\xd2\xaa\xc9\xbe\xb3\xfd\xc2\xf0\xa3\xbf";
