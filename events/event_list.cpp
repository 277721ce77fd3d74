// EventList: ownership of the records, and the lookups by creation time alone.
#include "events/event_list.h"

#include <utility>

EventList::EventList() : EventList(DefaultFileSystem(), std::string()) {}

EventList::EventList(FileSystem& file_system, std::string path) : store_(file_system, std::move(path)) {}

EventList::~EventList() = default;

LoadResult EventList::LoadEvents() { return store_.Load(&records_); }

Status EventList::SaveEvents() { return store_.Save(records_); }

LoadResult EventList::ReloadIfChanged(bool* reloaded) {
  *reloaded = false;
  if (!store_.ChangedOnDisk()) return {};
  EventRecords fresh;
  LoadResult result = store_.Load(&fresh);
  if (result.ok() && result.found) {
    records_ = std::move(fresh);
    *reloaded = true;
  }
  return result;
}

const CMyEvent& EventList::Add(CMyEvent event) { return records_.emplace_back(std::move(event)); }

void EventList::GetAll(EventPtrList& result) const {
  result.reserve(result.size() + records_.size());
  for (const CMyEvent& e : records_) result.push_back(&e);
}

// The first of a second is its twin 0: the old lookups are the keys' first twins.
const CMyEvent* EventList::FindByCreateTime(Time32 created) const { return Find(EventKey{created, 0}); }

CMyEvent* EventList::FindByCreateTime(Time32 created) { return Find(EventKey{created, 0}); }

bool EventList::DeleteByCreateTime(Time32 created) { return Delete(EventKey{created, 0}); }

const CMyEvent* EventList::FindDue() const { return FindDue(NowTime()); }

const CMyEvent* EventList::FindDue(Time32 now) const {
  for (const CMyEvent& e : records_) {
    if (e.bRemind != 0 && e.timeRemind <= now) return &e;
  }
  return nullptr;
}
