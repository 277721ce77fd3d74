#include "framework/modeless_keys.h"

#include <algorithm>
#include <vector>

namespace modeless_keys {
namespace {

// Per thread: windows belong to the thread that made them, and so do hooks.
thread_local std::vector<HWND> t_dialogs;
thread_local HHOOK t_hook = nullptr;
thread_local bool t_in_hook = false;

LRESULT CALLBACK Filter(int code, WPARAM wparam, LPARAM lparam) {
  // MSGF_DIALOGBOX: a dialog loop asks. IsDialogMessage below asks again;
  // that inner question is left to the next hook.
  if (code == MSGF_DIALOGBOX && !t_in_hook) {
    MSG* msg = reinterpret_cast<MSG*>(lparam);
    for (HWND dialog : t_dialogs) {
      if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) continue;
      t_in_hook = true;
      const BOOL handled = IsDialogMessageW(dialog, msg);
      t_in_hook = false;
      if (handled) return 1;
      break;
    }
  }
  return CallNextHookEx(t_hook, code, wparam, lparam);
}

}  // namespace

void Register(HWND dialog) {
  if (std::find(t_dialogs.begin(), t_dialogs.end(), dialog) != t_dialogs.end()) return;
  t_dialogs.push_back(dialog);
  if (t_hook == nullptr) t_hook = SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
}

void Unregister(HWND dialog) {
  t_dialogs.erase(std::remove(t_dialogs.begin(), t_dialogs.end(), dialog), t_dialogs.end());
  if (t_dialogs.empty() && t_hook != nullptr) {
    UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
  }
}

}  // namespace modeless_keys
