#pragma once
// A message table: one per window class, declared once, mapping a message,
// a command (id + notification code) or a control notification (WM_NOTIFY
// id + code) to a member handler. Entries are tried in order; the first
// that matches handles the message. A class routes through its own table
// and then hands the message on to its base class:
//
//   bool SettingsDialog::RouteMessage(UINT m, WPARAM w, LPARAM l, LRESULT* r) {
//     static const MessageTable<SettingsDialog> table{
//         MessageTable<SettingsDialog>::Command(1035, BN_CLICKED, &SettingsDialog::OnBrowse),
//         MessageTable<SettingsDialog>::Notify(1011, DTN_DATETIMECHANGE, &SettingsDialog::OnDate),
//     };
//     return table.Route(*this, m, w, l, r) || CSkinDialog::RouteMessage(m, w, l, r);
//   }
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

// Menu and accelerator commands carry no control; they are matched with
// notification code 0, as a button's BN_CLICKED is.
inline WORD CommandCode(WPARAM wparam, LPARAM lparam) { return lparam == 0 ? WORD{0} : HIWORD(wparam); }

template <typename T>
class MessageTable {
 public:
  // Returns true when the entry handled the message (then *result is set).
  using Entry = std::function<bool(T&, UINT, WPARAM, LPARAM, LRESULT*)>;

  MessageTable(std::initializer_list<Entry> entries) : entries_(entries) {}

  bool Route(T& target, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) const {
    for (const Entry& entry : entries_) {
      if (entry(target, message, wparam, lparam, result)) return true;
    }
    return false;
  }

  // Any window message: handler(wparam, lparam) gives the message's result.
  static Entry Message(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return [=](T& t, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
      if (m != message) return false;
      *r = (t.*handler)(w, l);
      return true;
    };
  }

  // WM_COMMAND from control or menu item `id` with notification `code`
  // (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE...; 0 for menus). Result 0.
  static Entry Command(int id, WORD code, void (T::*handler)()) {
    return [=](T& t, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
      if (m != WM_COMMAND || LOWORD(w) != static_cast<WORD>(id) || CommandCode(w, l) != code) return false;
      (t.*handler)();
      *r = 0;
      return true;
    };
  }

  // WM_COMMAND with any id from `first` to `last` and notification `code`;
  // the handler receives the id.
  static Entry CommandRange(int first, int last, WORD code, void (T::*handler)(int)) {
    return [=](T& t, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
      const int id = LOWORD(w);
      if (m != WM_COMMAND || id < first || id > last || CommandCode(w, l) != code) return false;
      (t.*handler)(id);
      *r = 0;
      return true;
    };
  }

  // WM_NOTIFY from control `id` with notification `code`; the handler's
  // answer is the message's result.
  static Entry Notify(int id, UINT code, LRESULT (T::*handler)(NMHDR*)) {
    return [=](T& t, UINT m, WPARAM, LPARAM l, LRESULT* r) {
      if (m != WM_NOTIFY) return false;
      auto* header = reinterpret_cast<NMHDR*>(l);
      if (header == nullptr || header->idFrom != static_cast<UINT_PTR>(id) || header->code != code)
        return false;
      *r = (t.*handler)(header);
      return true;
    };
  }

  // WM_TIMER for timer `id`. Result 0.
  static Entry Timer(UINT_PTR id, void (T::*handler)()) {
    return [=](T& t, UINT m, WPARAM w, LPARAM, LRESULT* r) {
      if (m != WM_TIMER || w != id) return false;
      (t.*handler)();
      *r = 0;
      return true;
    };
  }

  // Any entry written as a lambda over the target.
  static Entry Custom(Entry entry) { return entry; }

 private:
  std::vector<Entry> entries_;
};
