#pragma once
// A Tallyo folder in a temporary directory for the sync tests: its files
// read afresh for every step, as separate runs of the program or of
// tallyo-cli would, and changed through EventFolder under its lock.
#include <functional>
#include <string>
#include <vector>

#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "sync/sync_engine.h"

class SyncTestFolder {
 public:
  explicit SyncTestFolder(const std::string& name);
  ~SyncTestFolder();

  const std::string& dir() const { return dir_; }
  std::string EventPath() const { return dir_ + "/event.dat"; }

  // Makes a change under the lock; true when the files were saved.
  bool Change(const std::function<void(EventList&, RepeatRules&)>& change);
  // A reminder at `remind_at` (0: a memo).
  void Add(const std::string& title, const std::string& body = "", Time32 remind_at = 0);
  // The event with that title, changed by `edit`; false when there is none.
  bool Edit(const std::string& title, const std::function<void(CMyEvent&)>& edit);
  bool Delete(const std::string& title);

  // Every event as it is on disk now.
  std::vector<CMyEvent> Events() const;
  std::vector<std::string> Titles() const;  // sorted

  // A pass with the tests' own mapping (testing/fake_mapping.h), or another.
  SyncReport Pass(HttpTransport& transport, const std::string& calendar_url, SyncPassOptions options = {});
  SyncReport Pass(HttpTransport& transport, const std::string& calendar_url, const SyncPassOptions& options,
                  const ObjectMapping& mapping);

 private:
  std::string dir_;
};
