// Natively nothing keeps a password: tallyo-cli takes it from the
// environment or asks on the console each time.
#include "sync/sync_password.h"

bool SyncPasswordsKept() { return false; }

Status SaveSyncPassword(std::string_view, std::string_view, std::string_view) {
  return Status::InvalidArgument("passwords are not kept on this system");
}

std::optional<std::string> LoadSyncPassword(std::string_view) { return std::nullopt; }

Status ForgetSyncPassword(std::string_view) { return Status::Ok(); }
