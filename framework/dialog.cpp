#include "framework/dialog.h"

#include "framework/modeless_keys.h"

Dialog::Dialog(UINT template_id, HWND parent) : template_id_(template_id), parent_(parent) {}

Dialog::Dialog(const DLGTEMPLATE* in_memory_template, HWND parent)
    : in_memory_template_(in_memory_template), parent_(parent) {}

HWND Dialog::DefaultOwner() { return default_owner_ != nullptr ? default_owner_->hwnd() : nullptr; }

HWND Dialog::OwnerForModal() const {
  // The desktop as parent asks for a top-level window of its own. It is given
  // no owner at all: the modal run disables its owner, and the desktop
  // window must never be disabled.
  if (parent_ == GetDesktopWindow()) return nullptr;
  if (parent_ != nullptr) return parent_;
  HWND owner = DefaultOwner();
  if (owner == nullptr) owner = GetActiveWindow();
  // A pop-up cannot be owned by a child window: go up to its top-level window.
  while (owner != nullptr && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
  // Stack on top of whatever modal pop-up the owner already shows.
  if (owner != nullptr) owner = GetLastActivePopup(owner);
  return owner;
}

INT_PTR Dialog::DoModal() {
  if (hwnd() != nullptr) return -1;  // already running
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND owner = OwnerForModal();
  auto self = reinterpret_cast<LPARAM>(this);
  if (in_memory_template_ != nullptr) {
    return DialogBoxIndirectParamW(instance, in_memory_template_, owner, StaticDialogProc, self);
  }
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id_), owner, StaticDialogProc, self);
}

bool Dialog::CreateModeless() {
  if (hwnd() != nullptr) return false;  // already running
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND owner = OwnerForModal();
  auto self = reinterpret_cast<LPARAM>(this);
  modeless_ = true;
  HWND created =
      in_memory_template_ != nullptr
          ? CreateDialogIndirectParamW(instance, in_memory_template_, owner, StaticDialogProc, self)
          : CreateDialogParamW(instance, MAKEINTRESOURCEW(template_id_), owner, StaticDialogProc, self);
  if (created == nullptr) {
    modeless_ = false;
    return false;
  }
  modeless_keys::Register(created);
  return true;
}

void Dialog::EndDialog(INT_PTR result) {
  if (hwnd() == nullptr) return;
  if (!modeless_) {
    ::EndDialog(hwnd(), result);
    return;
  }
  DestroyWindow(hwnd());  // WM_DESTROY forgets the dialog's keys
  OnModelessEnd(result);
}

bool Dialog::UpdateData(bool save) {
  const bool was_exchanging = exchanging_data_;
  exchanging_data_ = true;
  DataExchange dx(hwnd(), save);
  DoDataExchange(dx);
  exchanging_data_ = was_exchanging;
  failed_control_ = dx.failed() ? dx.failed_id() : 0;
  return !dx.failed();
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;  // the refusing control has the focus; stay open
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::RouteMessage(UINT message, WPARAM wparam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return false;
  switch (LOWORD(wparam)) {
    case IDOK:
      OnOK();
      *result = 0;
      return true;
    case IDCANCEL:
      OnCancel();
      *result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY && modeless_) {
    modeless_keys::Unregister(hwnd());
    modeless_ = false;
  }
  const bool control_notification = (message == WM_COMMAND && lparam != 0) || message == WM_NOTIFY;
  if (exchanging_data_ && control_notification) return 0;  // the exchange's own echo
  LRESULT result = 0;
  if (Window::ReflectToChild(hwnd(), message, wparam, lparam, &result)) return result;
  if (RouteMessage(message, wparam, lparam, &result)) return result;
  return DefaultProc(message, wparam, lparam);
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lparam) {
  // Once bound, every message reaches the object through its subclass
  // procedure before the dialog manager sees it; the dialog manager's call
  // here is its default processing, so answer "not handled".
  if (message != WM_INITDIALOG) return FALSE;
  auto* self = reinterpret_cast<Dialog*>(lparam);
  if (self == nullptr || !self->Subclass(hwnd)) return TRUE;
  return self->OnInitDialog() ? TRUE : FALSE;
}
