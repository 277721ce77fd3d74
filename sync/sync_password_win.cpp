// The Credential Manager: a generic credential of this PC per server, its
// secret the password in UTF-16 (as the system's own dialogs keep one).
#include <windows.h>
// wincred.h needs windows.h first.
#include <wincred.h>

#include <string>

#include "base/text_convert.h"
#include "sync/sync_password.h"

namespace {

std::wstring Wide(std::string_view cp936_text) {
  const std::u16string wide = cp936::ToUtf16(cp936_text);
  return std::wstring(wide.begin(), wide.end());
}

// UTF-8 to UTF-16 and back, for the password only: nothing else in Tallyo
// holds text the code page cannot.
std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8FromWide(const wchar_t* wide, std::size_t units) {
  if (units == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(units), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(units), out.data(), n, nullptr, nullptr);
  return out;
}

void Wipe(std::wstring& secret) {
  SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
  secret.clear();
}

std::string SystemError(const char* what, DWORD error) {
  return std::string(what) + " failed (error " + std::to_string(error) + ")";
}

}  // namespace

bool SyncPasswordsKept() { return true; }

Status SaveSyncPassword(std::string_view address, std::string_view user, std::string_view password) {
  std::wstring secret = WideFromUtf8(password);
  if (secret.size() > kLongestSyncPasswordUnits) {
    Wipe(secret);
    return Status::InvalidArgument("the password is longer than Windows keeps (256 characters)");
  }
  std::wstring target = Wide(SyncPasswordTarget(address));
  std::wstring user_name = Wide(user);
  CREDENTIALW credential{};
  credential.Type = CRED_TYPE_GENERIC;
  credential.TargetName = target.data();
  credential.UserName = user_name.data();
  credential.CredentialBlobSize = static_cast<DWORD>(secret.size() * sizeof(wchar_t));
  credential.CredentialBlob = reinterpret_cast<BYTE*>(secret.data());
  credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
  const BOOL written = CredWriteW(&credential, 0);
  const DWORD error = GetLastError();
  Wipe(secret);
  if (!written) return Status::IoError(SystemError("CredWrite", error));
  return Status::Ok();
}

std::optional<std::string> LoadSyncPassword(std::string_view address) {
  const std::wstring target = Wide(SyncPasswordTarget(address));
  PCREDENTIALW credential = nullptr;
  if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &credential)) return std::nullopt;
  std::optional<std::string> password;
  if (credential->CredentialBlobSize % sizeof(wchar_t) == 0) {
    password = Utf8FromWide(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                            credential->CredentialBlobSize / sizeof(wchar_t));
  }
  if (credential->CredentialBlob != nullptr) {
    SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
  }
  CredFree(credential);
  return password;
}

Status ForgetSyncPassword(std::string_view address) {
  const std::wstring target = Wide(SyncPasswordTarget(address));
  if (CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0)) return Status::Ok();
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_FOUND) return Status::Ok();
  return Status::IoError(SystemError("CredDelete", error));
}
