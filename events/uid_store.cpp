#include "events/uid_store.h"

Status UidStore::Load(EventUids* uids) {
  std::optional<std::string> bytes;
  Status loaded = file_.Load(&bytes);
  if (loaded.ok()) *uids = bytes ? EventUids(*bytes) : EventUids();
  return loaded;
}

Status UidStore::ReloadIfChanged(EventUids* uids, bool* reloaded) {
  std::optional<std::string> bytes;
  Status status = file_.ReloadIfChanged(&bytes, reloaded);
  if (*reloaded) *uids = bytes ? EventUids(*bytes) : EventUids();
  return status;
}
