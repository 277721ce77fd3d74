#include <windows.h>

#include <string>
#include <utility>

#include "dialogs/autorun_entry.h"
#include "dialogs/autorun_registry.h"
#include "framework/text_boundary.h"

namespace {

// An open registry key, closed on destruction; movable, not copyable.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    std::swap(key_, other.key_);
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens `path` under `root` for setting and deleting values; with
  // `create`, a missing key is created first.
  static RegistryKey OpenForWriting(HKEY root, std::string_view path, bool create) {
    RegistryKey key;
    const std::wstring wide_path = win::Widen(path);
    HKEY opened = nullptr;
    const LSTATUS status =
        create ? RegCreateKeyExW(root, wide_path.c_str(), /*Reserved=*/0, /*lpClass=*/nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, /*lpSecurityAttributes=*/nullptr,
                                 &opened, /*lpdwDisposition=*/nullptr)
               : RegOpenKeyExW(root, wide_path.c_str(), /*ulOptions=*/0, KEY_SET_VALUE, &opened);
    if (status == ERROR_SUCCESS) key.key_ = opened;
    return key;
  }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void UpdateAutoRunEntry(bool enabled, std::string_view program_path) {
  const std::string command = AutoRunCommand(program_path);
  if (enabled && command.empty()) return;
  // Removing needs no key to be made: without the Run key there is no entry.
  RegistryKey run = RegistryKey::OpenForWriting(HKEY_CURRENT_USER, kAutoRunKey, /*create=*/enabled);
  if (!run) return;
  const std::wstring name = win::Widen(kAutoRunValueName);
  if (!enabled) {
    RegDeleteValueW(run.get(), name.c_str());
    return;
  }
  const std::wstring data = win::Widen(command);
  // The stored size counts the terminating zero.
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  RegSetValueExW(run.get(), name.c_str(), /*Reserved=*/0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 bytes);
}
