// EventList: ownership of the records and the lookups by creation time.
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

std::size_t EventList::FirstCreatedAt(Time32 created) const {
  std::size_t i = 0;
  while (i < records_.size() && records_[i].timeCreate != created) ++i;
  return i;
}

const CMyEvent* EventList::FindByCreateTime(Time32 created) const {
  const std::size_t i = FirstCreatedAt(created);
  return i < records_.size() ? &records_[i] : nullptr;
}

CMyEvent* EventList::FindByCreateTime(Time32 created) {
  const std::size_t i = FirstCreatedAt(created);
  return i < records_.size() ? &records_[i] : nullptr;
}

bool EventList::DeleteByCreateTime(Time32 created) {
  const std::size_t i = FirstCreatedAt(created);
  if (i == records_.size()) return false;
  records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

const CMyEvent* EventList::FindDue() const { return FindDue(NowTime()); }

const CMyEvent* EventList::FindDue(Time32 now) const {
  for (const CMyEvent& e : records_) {
    if (e.bRemind != 0 && e.timeRemind <= now) return &e;
  }
  return nullptr;
}
