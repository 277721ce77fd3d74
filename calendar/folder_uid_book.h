#pragma once
// The folder's UIDs (uids.ini, events/event_uids.h) as the import's steps
// ask for them. What an apply keeps is held back until Flush: uids.ini's
// sections are found by a walk of the file, so thousands of new events are
// written as one piece of text read in once, not one section at a time.
#include <string>
#include <unordered_map>
#include <vector>

#include "calendar/import_steps.h"

class EventFolder;

class FolderUidBook : public ImportUidBook {
 public:
  explicit FolderUidBook(EventFolder& folder) : folder_(folder) {}

  std::optional<EventKey> Find(std::string_view uid) const override;
  std::string ImportedFingerprint(EventKey key) const override;
  void Keep(EventKey key, const std::string& uid, const std::string& fingerprint) override;

  // Writes what was kept into the folder's UIDs. REQUIRES: within the
  // change that kept it (the events as they are now).
  void Flush();

 private:
  struct Kept {
    EventKey key;
    std::string uid;
    std::string fingerprint;
  };
  EventFolder& folder_;
  std::vector<Kept> kept_;
  std::unordered_map<std::string, EventKey> kept_uids_;
  std::unordered_map<std::uint64_t, std::size_t> kept_keys_;  // into kept_
};
