#pragma once
// Builds a dialog template in memory, for dialogs that have no resource
// (tests, and anything made at run time). Texts are code page 936.
//
//   DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 200, 100, "Title");
//   t.AddControl(WC_EDITW, 1001, "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 80, 12);
//   Dialog dialog(t.get());
#include <windows.h>

#include <string_view>
#include <vector>

class DialogTemplate {
 public:
  // Sizes are dialog units. DS_SETFONT is added, with the given face.
  DialogTemplate(DWORD style, short x, short y, short cx, short cy, std::string_view title,
                 std::string_view font_face = "MS Shell Dlg", WORD point_size = 9);

  // Adds a control of window class `class_name` (any registered class).
  DialogTemplate& AddControl(const wchar_t* class_name, WORD id, std::string_view text, DWORD style, short x,
                             short y, short cx, short cy, DWORD ex_style = 0);

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AlignToDword();
  void AddDword(DWORD value);
  void AddString(std::wstring_view text);

  std::vector<WORD> words_;
};
