#include "calendar/folder_uid_book.h"

#include "events/event_folder.h"

namespace {

std::uint64_t KeyBits(EventKey key) {
  return (std::uint64_t{static_cast<std::uint32_t>(key.created)} << 32) | key.twin;
}

// A UID that goes into a line of uids.ini as it is: printable ASCII that
// needs no quotes (as calendars' UIDs are). Others are kept one by one.
bool IsPlainUid(std::string_view uid) {
  if (uid.empty() || uid.size() > 1000 || uid.front() == ' ' || uid.back() == ' ') return false;
  for (char c : uid) {
    if (c < 0x21 || c > 0x7e || c == '"' || c == ';' || c == '#' || c == '[' || c == ']') return false;
  }
  return true;
}

}  // namespace

std::optional<EventKey> FolderUidBook::Find(std::string_view uid) const {
  if (auto it = kept_uids_.find(std::string(uid)); it != kept_uids_.end()) return it->second;
  return folder_.uids().Find(uid, folder_.events());
}

std::string FolderUidBook::ImportedFingerprint(EventKey key) const {
  if (auto it = kept_keys_.find(KeyBits(key)); it != kept_keys_.end()) return kept_[it->second].fingerprint;
  return folder_.uids().Imported(key);
}

void FolderUidBook::Keep(EventKey key, const std::string& uid, const std::string& fingerprint) {
  kept_uids_[uid] = key;
  kept_keys_[KeyBits(key)] = kept_.size();
  kept_.push_back(Kept{key, uid, fingerprint});
}

void FolderUidBook::Flush() {
  EventUids& uids = folder_.uids();
  std::vector<const Kept*> one_by_one;
  std::string bytes;
  // New events (no section yet) as text after the file's own...
  if (kept_.size() > 16) {
    bytes = uids.ToBytes();
    // ...unless the file holds sections on their way out, which a reading
    // of its bytes would take for present.
    if (EventUids(bytes).size() != uids.size()) bytes.clear();
  }
  const bool in_one_piece = !bytes.empty() || (kept_.size() > 16 && uids.empty());
  for (const Kept& kept : kept_) {
    if (!in_one_piece || uids.Entry(kept.key) != nullptr || !IsPlainUid(kept.uid)) {
      one_by_one.push_back(&kept);
      continue;
    }
    bytes.append("[").append(SectionName(RuleKey{kept.key.created, kept.key.twin})).append("]\r\n");
    bytes.append(EventUids::kUidKey).append("=").append(kept.uid).append("\r\n");
    bytes.append(EventUids::kImportedKey).append("=").append(kept.fingerprint).append("\r\n");
  }
  if (in_one_piece && one_by_one.size() != kept_.size()) {
    EventUids read(bytes);
    read.Bind(folder_.events());
    uids = std::move(read);
  }
  for (const Kept* kept : one_by_one) {
    uids.Keep(kept->key, kept->uid);
    uids.SetImported(kept->key, kept->fingerprint);
  }
  kept_.clear();
  kept_uids_.clear();
  kept_keys_.clear();
}
