// EventList: ownership of the records and the lookups by creation time.
#include "events/event_list.h"

EventList::EventList() : EventList(DefaultFileSystem(), std::string()) {}

EventList::EventList(FileSystem& file_system, std::string path) : store_(file_system, std::move(path)) {}

EventList::~EventList() = default;

LoadResult EventList::LoadEvents() { return store_.Load(&events_); }

Status EventList::SaveEvents() { return store_.Save(events_.records); }

LoadResult EventList::ReloadIfChanged(bool* reloaded) {
  *reloaded = false;
  if (!store_.ChangedOnDisk()) return {};
  EventRecords fresh;
  LoadResult result = store_.Load(&fresh);
  if (result.ok() && result.found) {
    events_ = std::move(fresh);
    *reloaded = true;
  }
  return result;
}

CMyEvent* EventList::Add(std::unique_ptr<CMyEvent> event) {
  events_.records.push_back(std::move(event));
  return events_.records.back().get();
}

void EventList::GetAll(EventPtrList& result) const {
  result.reserve(result.size() + events_.records.size());
  for (const auto& e : events_.records) result.push_back(e.get());
}

CMyEvent* EventList::FindByCreateTime(Time32 created) const {
  for (const auto& e : events_.records) {
    if (e->timeCreate == created) return e.get();
  }
  return nullptr;
}

bool EventList::DeleteByCreateTime(Time32 created) {
  std::vector<std::unique_ptr<CMyEvent>>& records = events_.records;
  for (auto it = records.begin(); it != records.end(); ++it) {
    if ((*it)->timeCreate == created) {
      records.erase(it);
      return true;
    }
  }
  return false;
}

CMyEvent* EventList::FindDue() const { return FindDue(NowTime()); }

CMyEvent* EventList::FindDue(Time32 now) const {
  for (const auto& e : events_.records) {
    if (e->bRemind != 0 && e->timeRemind <= now) return e.get();
  }
  return nullptr;
}
