#pragma once
// One event the user keeps: a memo, or a reminder that falls due at timeRemind.
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "base/local_time.h"
#include "events/event_text.h"

class CMyEvent {
 public:
  // A new record is created now; the loader overwrites timeCreate with the stored value.
  CMyEvent() : timeCreate(NowTime()) {}
  explicit CMyEvent(Time32 created) : timeCreate(created) {}

  // Copies are records of their own: they own their texts and their memory,
  // whatever the original borrowed from its load.
  CMyEvent(const CMyEvent& other) { CopyFields(other); }
  CMyEvent(CMyEvent&& other) { CopyFields(std::move(other)); }
  CMyEvent& operator=(const CMyEvent& other) { return CopyFields(other); }
  CMyEvent& operator=(CMyEvent&& other) { return CopyFields(std::move(other)); }
  ~CMyEvent() = default;

  EventText strTitle;  // code page 936
  Time32 timeCreate;   // also the record's lookup key; never changed once set

 private:
  // Set only by EventBatch, never copied. Kept here, in the room after
  // timeCreate, so a record is 48 bytes instead of 56.
  bool in_batch_ = false;

 public:
  EventText strContent;      // code page 936, line breaks as CR LF
  std::int32_t bRemind = 0;  // nonzero: a reminder; zero: a memo
  Time32 timeRemind = 0;     // meaningful only while bRemind is set, but always kept

  // `delete` of a record: records of a load live in their load's block
  // (event_batch.h), which frees them all at once; only the others are freed
  // one by one. Either way the record is destroyed here.
  static void operator delete(CMyEvent* event, std::destroying_delete_t);
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, void* place) noexcept;  // into a batch's block

 private:
  friend class EventBatch;

  template <typename Other>
  CMyEvent& CopyFields(Other&& other) {
    strTitle = std::forward<Other>(other).strTitle;
    timeCreate = other.timeCreate;
    strContent = std::forward<Other>(other).strContent;
    bRemind = other.bRemind;
    timeRemind = other.timeRemind;
    return *this;
  }
};
