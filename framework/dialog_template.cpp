#include "framework/dialog_template.h"

#include "framework/text_boundary.h"

DialogTemplate::DialogTemplate(DWORD style, short x, short y, short cx, short cy, std::string_view title,
                               std::string_view font_face, WORD point_size) {
  AddDword(style | DS_SETFONT);
  AddDword(0);          // extended style
  words_.push_back(0);  // number of controls, counted by AddControl
  for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the system's dialog class
  AddString(win::Widen(title));
  words_.push_back(point_size);
  AddString(win::Widen(font_face));
}

DialogTemplate& DialogTemplate::AddControl(const wchar_t* class_name, WORD id, std::string_view text,
                                           DWORD style, short x, short y, short cx, short cy,
                                           DWORD ex_style) {
  AlignToDword();
  AddDword(style);
  AddDword(ex_style);
  for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
  words_.push_back(id);
  AddString(class_name);
  AddString(win::Widen(text));
  words_.push_back(0);  // no creation data
  ++words_[4];          // DLGTEMPLATE::cdit
  return *this;
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) words_.push_back(0);
}

void DialogTemplate::AddDword(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::AddString(std::wstring_view text) {
  words_.insert(words_.end(), text.begin(), text.end());
  words_.push_back(0);
}
