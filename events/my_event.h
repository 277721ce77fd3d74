#pragma once
// One event the user keeps: a memo, or a reminder that falls due at timeRemind.
// A plain value: copies are records of their own (their texts share bytes
// that never change, see shared_text.h).
#include <cstdint>
#include <utility>

#include "base/local_time.h"
#include "events/shared_text.h"

class CMyEvent {
 public:
  // A new record is created now.
  CMyEvent() : timeCreate(NowTime()) {}
  explicit CMyEvent(Time32 created) : timeCreate(created) {}
  CMyEvent(SharedText title, Time32 created, SharedText content, std::int32_t remind, Time32 remind_at)
      : strTitle(std::move(title)),
        timeCreate(created),
        strContent(std::move(content)),
        bRemind(remind),
        timeRemind(remind_at) {}

  SharedText strTitle;       // code page 936
  Time32 timeCreate;         // with its place among the events of that second, the record's key (event_key.h)
  SharedText strContent;     // code page 936, line breaks as CR LF
  std::int32_t bRemind = 0;  // nonzero: a reminder; zero: a memo
  Time32 timeRemind = 0;     // meaningful only while bRemind is set, but always kept
};
