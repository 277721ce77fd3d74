#pragma once
// Helpers shared by the events tests.
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/local_time.h"
#include "events/my_event.h"
#include "repeat/repeat_rule.h"

// "01 00 ff ff" -> the bytes; spaces and '|' are ignored.
inline std::string Hex(const std::string& text) {
  std::string out;
  int high = -1;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
    int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

inline CMyEvent MakeEvent(std::string title, Time32 created, std::string content = "",
                          std::int32_t remind = 0, Time32 remind_at = 0) {
  return CMyEvent(title, created, content, remind, remind_at);
}

inline bool SameFields(const CMyEvent& a, const CMyEvent& b) {
  return a.strTitle == b.strTitle && a.timeCreate == b.timeCreate && a.strContent == b.strContent &&
         a.bRemind == b.bRemind && a.timeRemind == b.timeRemind;
}

// Records made by a test, to write with WriteEventArchive.
using EventVector = std::vector<CMyEvent>;

// "2026-12-08 09:00:00" as a moment of this PC's zone; a failure if it is no time.
inline Time32 At(const char* local) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime(local, &t)) << local;
  return t;
}

// An RRULE value as a rule; a failure if it cannot be read.
inline RepeatRule Rule(const char* text) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(text, &rule).ok()) << text;
  return rule;
}
