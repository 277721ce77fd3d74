#pragma once
// The dialog keys (Tab, Enter, Escape, arrows between option buttons) for
// modeless dialogs. The program runs in modal loops (its main window's, or
// a dialog's on top of it), which hand keys only to their own dialog; a
// message filter hook, called by every dialog loop, gives the keys of a
// registered modeless dialog to that dialog instead.
#include <windows.h>

namespace modeless_keys {

// REQUIRES: called on the thread that created `dialog`.
void Register(HWND dialog);
void Unregister(HWND dialog);

}  // namespace modeless_keys
