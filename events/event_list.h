#pragma once
// EventList owns every event, in stored order: the order in which they were
// loaded from event.dat, followed by those added since. Nothing reorders it.
// Callers read the records through const references: a walk of records(), or
// the pointers that queries put in a result list. Both stay valid until the
// list changes (a record added or deleted, a load); a change to a record
// goes through a lookup on a non-const list.
//
// The file itself is kept by an EventStore (event_store.h), which also
// notices when another program changed it.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/local_time.h"
#include "base/status.h"
#include "events/event_key.h"
#include "events/event_records.h"
#include "events/event_store.h"
#include "events/my_event.h"

// A result list: borrowed pointers into an EventList, owning nothing.
using EventPtrList = std::vector<const CMyEvent*>;

class EventList {
 public:
  // The real file system; the file is MakeAppPath("event.dat"), beside the program.
  EventList();
  // Another file system or file, for tests and tools.
  EventList(FileSystem& file_system, std::string path);
  virtual ~EventList();
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  // --- the store (event.dat) ---

  // Missing file: the list is left unchanged. Otherwise the list is replaced by
  // the records of the file (by those before the fault, for a damaged file).
  LoadResult LoadEvents();
  // Writes the whole list in one step; on failure the old file is untouched
  // and the list in memory is kept; the Status says why. Sets a damaged file
  // aside first.
  Status SaveEvents();
  // Takes in what another program wrote to event.dat since this list last
  // loaded or saved it; *reloaded tells whether the list was replaced. A
  // vanished file leaves the list (the next save writes it again). A damaged
  // or unreadable file leaves the list as it is, is returned once, and is set
  // aside before the next save.
  LoadResult ReloadIfChanged(bool* reloaded);
  // True after a load found a file it could not read completely, until it is set aside.
  bool HasDamagedFile() const { return store_.HasDamagedFile(); }
  Status SetAsideDamagedFile(std::string* aside_path = nullptr) {
    return store_.SetAsideDamagedFile(aside_path);
  }
  // The full path of event.dat.
  std::string FilePath() const { return store_.FilePath(); }

  // --- the records ---

  // Appends `event` at the tail as it is; returns the record.
  const CMyEvent& Add(CMyEvent event);
  // Appends a record the user just made: its creation time moves on to
  // FreeCreateTime(its creation time), so no two records made here share a second.
  const CMyEvent& AddNew(CMyEvent event);
  // The first second from `wanted` on at which no record was created. (Should
  // every second up to 2038 be taken, the last free one before `wanted`.)
  Time32 FreeCreateTime(Time32 wanted) const;
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  // Every record in stored order: begin, end, size, [].
  std::span<const CMyEvent> records() const { return records_; }
  // Every record in stored order (the all-events view), appended to `result`.
  void GetAll(EventPtrList& result) const;

  // --- queries: append to `result`, ascending by timeCreate (equal times in stored order) ---

  // Records created on the local calendar day of `day`.
  void QueryByDate(Time32 day, EventPtrList& result) const;
  void QueryRemind(EventPtrList& result) const;
  void QueryMemo(EventPtrList& result) const;
  // Title or body contains `keyword`: case-insensitive for A-Z, exact for
  // Chinese, matching only at character boundaries. An empty keyword matches all.
  void QueryKeyword(std::string keyword, EventPtrList& result) const;
  // Inserts before the first entry created later than `event`; else at the tail.
  static void InsertSorted(EventPtrList& result, const CMyEvent* event);

  // --- lookups by key (event_key.h) ---

  // The record with that key, or nullptr.
  const CMyEvent* Find(EventKey key) const;
  // The same record, to change in place (anything but its timeCreate).
  CMyEvent* Find(EventKey key);
  // Destroys that record; false (and nothing done) if there is none.
  bool Delete(EventKey key);
  // The key of `record`. REQUIRES: one of this list's records (from
  // records() or a query), the list unchanged since.
  EventKey KeyOf(const CMyEvent& record) const;
  // The keys of `rows`, in their order, from one walk of the list: cheap
  // when no two records share a second. REQUIRES: as KeyOf, for every row.
  std::vector<EventKey> KeysOf(const EventPtrList& rows) const;

  // --- lookups by creation time: the first record in stored order ---

  const CMyEvent* FindByCreateTime(Time32 created) const;
  // The same record, to change in place (anything but its timeCreate).
  CMyEvent* FindByCreateTime(Time32 created);
  // Destroys that record; false (and nothing done) if there is none.
  bool DeleteByCreateTime(Time32 created);
  // The first reminder in stored order whose timeRemind is not later than now.
  const CMyEvent* FindDue() const;
  const CMyEvent* FindDue(Time32 now) const;

 private:
  template <typename Predicate>
  void QueryWhere(EventPtrList& result, Predicate matches) const;
  // The position of the record with that key, or size().
  std::size_t PositionOf(EventKey key) const;

  EventStore store_;
  EventRecords records_;
};
