#pragma once
// Event lists of realistic size for the timings of the store and the export:
// titles of 12 to 38 bytes and bodies of 0 to 95 bytes,
// about a third of them Chinese, a third of the events reminders, a few
// created per hour.
#include <iterator>
#include <random>
#include <vector>

#include "events/my_event.h"

// The first event is created just after this time, the others a few minutes apart.
inline constexpr Time32 kBenchFirstTime = 1600000000;

inline std::vector<CMyEvent> MakeBenchEvents(std::size_t n) {
  static const char* const kTitles[] = {
      "Call the dentist about the appointment",
      "\xbf\xaa\xbb\xe1\xa3\xba\xcf\xee\xc4\xbf\xbd\xf8\xb6\xc8",  // "开会：项目进度"
      "Pay the electricity bill",
      "\xb8\xf8\xc2\xe8\xc2\xe8\xb4\xf2\xb5\xe7\xbb\xb0",  // "给妈妈打电话"
      "Weekly report to the team lead",
      "Meeting with the supplier",
  };
  static const char* const kBodies[] = {
      "Ask whether Thursday afternoon is still free, otherwise move it to next week.\r\n"
      "Bring the insurance card.",
      // "准备演示文稿，提前十分钟到会议室。" CR LF "记得带笔记本。"
      "\xd7\xbc\xb1\xb8\xd1\xdd\xca\xbe\xce\xc4\xb8\xe5\xa3\xac\xcc\xe1\xc7\xb0\xca\xae\xb7\xd6\xd6\xd3"
      "\xb5\xbd\xbb\xe1\xd2\xe9\xca\xd2\xa1\xa3\r\n\xbc\xc7\xb5\xc3\xb4\xf8\xb1\xca\xbc\xc7\xb1\xbe\xa1\xa3",
      "Account 4471-2209, due on the 15th.",
      "",
      "Summarise the open issues, the test results and the plan for the release; attach the figures.",
  };
  std::vector<CMyEvent> events;
  std::mt19937 rng(static_cast<unsigned>(n));
  Time32 t = kBenchFirstTime;
  for (std::size_t i = 0; i < n; ++i) {
    t += static_cast<Time32>(rng() % 3000);
    CMyEvent& e = events.emplace_back(t);
    e.strTitle = kTitles[rng() % std::size(kTitles)];
    e.strContent = kBodies[rng() % std::size(kBodies)];
    if (rng() % 3 == 0) {
      e.bRemind = 1;
      e.timeRemind = t + static_cast<Time32>(rng() % 86400 * 30);
    }
  }
  return events;
}
