#pragma once
// Data exchange between a dialog's members and its controls. A dialog's
// DoDataExchange names each member with its control once; the same code
// pushes the members to the controls (saving() false) or reads the
// controls back (saving() true). Reading stops at the first control that
// refuses its value: the user is told why, the focus goes to that control,
// and the exchanges after it do nothing.
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/local_time.h"

class Window;

class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

  HWND dialog() const { return dialog_; }
  bool saving() const { return saving_; }
  bool failed() const { return failed_; }
  // The control that refused its value (meaningful when failed()).
  int failed_id() const { return failed_id_; }

  // Window text of any control, as code page 936.
  void Text(int id, std::string& value);
  // A signed integer in an edit: "请键入一个整数。" when the text is not
  // a whole number (dialog_fields::ParseIntegerField), and the member keeps
  // its value.
  void Int(int id, std::int32_t& value);
  // Check box state: 0 unchecked, 1 checked, 2 indeterminate.
  void Check(int id, int& value);
  // The index of the checked radio button in the group that starts at
  // `first_id` (the controls up to the next WS_GROUP); -1 when none is.
  void Radio(int first_id, int& index);
  // The chosen entry of a drop-down list (-1: none).
  void ListIndex(int id, int& index);
  // A date and time picker's value as a time value (local calendar time).
  void DateTime(int id, Time32& value);
  // Binds a control to its object (subclassing it) the first time.
  void Control(int id, Window& control);

  // Marks control `id` as refusing its value: focus to it (with its text
  // selected when it is an edit). For checks a dialog writes itself.
  void Fail(int id);

 private:
  HWND Item(int id) const;
  bool Skip() const { return failed(); }

  HWND dialog_;
  bool saving_;
  bool failed_ = false;
  int failed_id_ = 0;
};
