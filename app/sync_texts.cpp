#include "app/sync_texts.h"

#include <cstdio>
#include <string_view>

#include "base/cp936.h"
#include "reminders/next_reminder_tip.h"

namespace {

constexpr char kLastSync[] = "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD ";                // "上次同步 "
constexpr char kUp[] = "\xA3\xBA\xC9\xCF\xB4\xAB ";                              // "：上传 "
constexpr char kDown[] = "\xA3\xAC\xCF\xC2\xD4\xD8 ";                            // "，下载 "
constexpr char kDeleted[] = "\xA3\xAC\xC9\xBE\xB3\xFD ";                         // "，删除 "
constexpr char kConflicts[] = "\xA3\xAC\xB3\xE5\xCD\xBB ";                       // "，冲突 "
constexpr char kNotDone[] = " \xCE\xB4\xCD\xEA\xB3\xC9\xA3\xBA";                 // " 未完成："
constexpr char kStopped[] = "\xCD\xAC\xB2\xBD\xD2\xD1\xCD\xA3\xD6\xB9\xA3\xBA";  // "同步已停止："
// "同步没有完成", when the pass gave no reason.
constexpr char kNoReason[] = "\xCD\xAC\xB2\xBD\xC3\xBB\xD3\xD0\xCD\xEA\xB3\xC9";
// "，N 条备忘只留在本机（日历不收待办）"
constexpr char kLocalOnlyBefore[] = "\xA3\xAC";
constexpr char kLocalOnlyAfter[] =
    " \xCC\xF5\xB1\xB8\xCD\xFC\xD6\xBB\xC1\xF4\xD4\xDA\xB1\xBE\xBB\xFA\xA3\xA8\xC8\xD5\xC0\xFA\xB2\xBB\xCA"
    "\xD5"
    "\xB4\xFD\xB0\xEC\xA3\xA9";

std::string Reason(const SyncReport& report) {
  return report.message.empty() ? std::string(kNoReason) : report.message;
}

}  // namespace

std::string SyncResultLine(const SyncReport& report, const LocalTime& when) {
  char clock[8];
  std::snprintf(clock, sizeof clock, "%02d:%02d", when.hour % 100, when.minute % 100);
  std::string line = std::string(kLastSync) + clock;
  if (!report.completed) return line + kNotDone + Reason(report);
  line += kUp + std::to_string(report.up) + kDown + std::to_string(report.down);
  if (report.deleted > 0) line += kDeleted + std::to_string(report.deleted);
  if (report.conflicts > 0) line += kConflicts + std::to_string(report.conflicts);
  if (report.local_only > 0) line += kLocalOnlyBefore + std::to_string(report.local_only) + kLocalOnlyAfter;
  return line;
}

std::string SyncStoppedTip(const SyncReport& report) {
  const std::string tip = kStopped + Reason(report);
  std::size_t end = 0;
  for (std::size_t count = 0; end < tip.size() && count < kTrayTipCharacters; ++count) {
    end += cp936::CharLength(tip, end);
  }
  return tip.substr(0, end);
}
