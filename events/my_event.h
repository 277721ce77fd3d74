#pragma once
// One event the user keeps: a memo, or a reminder that falls due at timeRemind.
#include <cstdint>
#include <string>

#include "base/local_time.h"

class CMyEvent {
 public:
  // A new record is created now; the loader overwrites timeCreate with the stored value.
  CMyEvent() : timeCreate(NowTime()) {}
  explicit CMyEvent(Time32 created) : timeCreate(created) {}

  std::string strTitle;      // code page 936
  Time32 timeCreate;         // also the record's lookup key; never changed once set
  std::string strContent;    // code page 936, line breaks as CR LF
  std::int32_t bRemind = 0;  // nonzero: a reminder; zero: a memo
  Time32 timeRemind = 0;     // meaningful only while bRemind is set, but always kept
};
