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

}  // namespace

std::string SyncStopReason(const SyncReport& report) {
  if (report.one_side_empty) {
    // "一边的事件忽然全没了，另一边还有：没有删除任何事件，请检查后再同步"
    return "\xD2\xBB\xB1\xDF\xB5\xC4\xCA\xC2\xBC\xFE\xBA\xF6\xC8\xBB\xC8\xAB\xC3\xBB\xC1\xCB\xA3\xAC"
           "\xC1\xED\xD2\xBB\xB1\xDF\xBB\xB9\xD3\xD0\xA3\xBA\xC3\xBB\xD3\xD0\xC9\xBE\xB3\xFD\xC8\xCE"
           "\xBA\xCE\xCA\xC2\xBC\xFE\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xBA\xF3\xD4\xD9\xCD\xAC\xB2\xBD";
  }
  switch (report.error) {
    case CalDavErrorKind::kAuth:
      return "\xB7\xFE\xCE\xF1\xC6\xF7\xB2\xBB\xBD\xD3\xCA\xDC\xD3\xC3\xBB\xA7\xC3\xFB\xBB\xF2\xC3\xDC"
             "\xC2\xEB";  // "服务器不接受用户名或密码"
    case CalDavErrorKind::kUnreachable:
      return "\xC1\xAC\xB2\xBB\xC9\xCF\xC8\xD5\xC0\xFA\xB7\xFE\xCE\xF1\xC6\xF7\xA3\xAC\xC9\xD4\xBA\xF3"
             "\xD4\xD9\xCA\xD4";  // "连不上日历服务器，稍后再试"
    case CalDavErrorKind::kRetryLater:
      return "\xC8\xD5\xC0\xFA\xB7\xFE\xCE\xF1\xC6\xF7\xD5\xFD\xC3\xA6\xA3\xAC\xC9\xD4\xBA\xF3\xD4\xD9"
             "\xCA\xD4";  // "日历服务器正忙，稍后再试"
    case CalDavErrorKind::kRefused:
      // "连接被拒绝：证书有误，或从加密地址转到了不加密的地址"
      return "\xC1\xAC\xBD\xD3\xB1\xBB\xBE\xDC\xBE\xF8\xA3\xBA\xD6\xA4\xCA\xE9\xD3\xD0\xCE\xF3\xA3\xAC"
             "\xBB\xF2\xB4\xD3\xBC\xD3\xC3\xDC\xB5\xD8\xD6\xB7\xD7\xAA\xB5\xBD\xC1\xCB\xB2\xBB\xBC\xD3"
             "\xC3\xDC\xB5\xC4\xB5\xD8\xD6\xB7";
    case CalDavErrorKind::kNotFound:
      return "\xB7\xFE\xCE\xF1\xC6\xF7\xC9\xCF\xD5\xD2\xB2\xBB\xB5\xBD\xCB\xF9\xD1\xA1\xB5\xC4\xC8\xD5"
             "\xC0\xFA";  // "服务器上找不到所选的日历"
    case CalDavErrorKind::kBadAnswer:
      return "\xC8\xD5\xC0\xFA\xB7\xFE\xCE\xF1\xC6\xF7\xB5\xC4\xBB\xD8\xB4\xF0\xCE\xDE\xB7\xA8\xB6\xC1"
             "\xC8\xA1";  // "日历服务器的回答无法读取"
    default:
      return report.message.empty() ? std::string(kNoReason) : report.message;
  }
}

std::string SyncResultLine(const SyncReport& report, const LocalTime& when) {
  char clock[8];
  std::snprintf(clock, sizeof clock, "%02d:%02d", when.hour % 100, when.minute % 100);
  std::string line = std::string(kLastSync) + clock;
  if (!report.completed) return line + kNotDone + SyncStopReason(report);
  line += kUp + std::to_string(report.up) + kDown + std::to_string(report.down);
  if (report.deleted > 0) line += kDeleted + std::to_string(report.deleted);
  if (report.conflicts > 0) line += kConflicts + std::to_string(report.conflicts);
  if (report.local_only > 0) line += kLocalOnlyBefore + std::to_string(report.local_only) + kLocalOnlyAfter;
  return line;
}

std::string SyncStoppedTip(const SyncReport& report) {
  const std::string tip = kStopped + SyncStopReason(report);
  std::size_t end = 0;
  for (std::size_t count = 0; end < tip.size() && count < kTrayTipCharacters; ++count) {
    end += cp936::CharLength(tip, end);
  }
  return tip.substr(0, end);
}
