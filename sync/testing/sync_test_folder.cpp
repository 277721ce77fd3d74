#include "sync/testing/sync_test_folder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>

#include "events/event_folder.h"
#include "events/event_repeats.h"
#include "repeat/repeat_store.h"
#include "sync/testing/fake_mapping.h"

SyncTestFolder::SyncTestFolder(const std::string& name) {
  dir_ = (std::filesystem::temp_directory_path() / ("tallyo_sync_" + name + "_" + std::to_string(getpid())))
             .string();
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

SyncTestFolder::~SyncTestFolder() { std::filesystem::remove_all(dir_); }

bool SyncTestFolder::Change(const std::function<void(EventList&, RepeatRules&)>& change) {
  EventList list(DefaultFileSystem(), EventPath());
  RepeatRules rules;
  RepeatStore store(DefaultFileSystem(), RepeatFilePathBeside(EventPath()));
  EventFolder folder(DefaultFileSystem(), list, rules, store);
  FolderChangeOutcome outcome = folder.Make(
      [&](EventList& events, RepeatRules& event_rules) {
        change(events, event_rules);
        return true;
      },
      {});
  return outcome.all_saved();
}

void SyncTestFolder::Add(const std::string& title, const std::string& body, Time32 remind_at) {
  ASSERT_TRUE(Change([&](EventList& events, RepeatRules&) {
    events.AddNew(CMyEvent(title, NowTime(), body, remind_at != 0 ? 1 : 0, remind_at));
  }));
}

bool SyncTestFolder::Edit(const std::string& title, const std::function<void(CMyEvent&)>& edit) {
  bool found = false;
  EXPECT_TRUE(Change([&](EventList& events, RepeatRules&) {
    for (const CMyEvent& event : events.records()) {
      if (std::string(event.strTitle) != title) continue;
      edit(*events.Find(events.KeyOf(event)));
      found = true;
      return;
    }
  }));
  return found;
}

bool SyncTestFolder::Delete(const std::string& title) {
  bool found = false;
  EXPECT_TRUE(Change([&](EventList& events, RepeatRules& rules) {
    for (const CMyEvent& event : events.records()) {
      if (std::string(event.strTitle) != title) continue;
      found = DeleteEventAndRule(events, rules, events.KeyOf(event));
      return;
    }
  }));
  return found;
}

std::vector<CMyEvent> SyncTestFolder::Events() const {
  EventList list(DefaultFileSystem(), EventPath());
  EXPECT_TRUE(list.LoadEvents().ok());
  return std::vector<CMyEvent>(list.records().begin(), list.records().end());
}

std::vector<std::string> SyncTestFolder::Titles() const {
  std::vector<std::string> titles;
  for (const CMyEvent& event : Events()) titles.emplace_back(event.strTitle);
  std::sort(titles.begin(), titles.end());
  return titles;
}

SyncReport SyncTestFolder::Pass(HttpTransport& transport, const std::string& calendar_url,
                                SyncPassOptions options) {
  return Pass(transport, calendar_url, options, FakeObjectMapping());
}

SyncReport SyncTestFolder::Pass(HttpTransport& transport, const std::string& calendar_url,
                                const SyncPassOptions& options, const ObjectMapping& mapping) {
  EventList list(DefaultFileSystem(), EventPath());
  RepeatRules rules;
  RepeatStore store(DefaultFileSystem(), RepeatFilePathBeside(EventPath()));
  EventFolder folder(DefaultFileSystem(), list, rules, store);
  SyncSettings settings;
  settings.calendar_url = calendar_url;
  settings.enabled = true;
  return RunSyncPassWith(folder, transport, settings, options, mapping, NowTime());
}
