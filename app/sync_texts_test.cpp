#include "app/sync_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp936.h"
#include "reminders/next_reminder_tip.h"

namespace {

LocalTime At(int hour, int minute) {
  LocalTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 8;
  t.hour = hour;
  t.minute = minute;
  return t;
}

TEST(SyncTexts, ResultLineOfACompletedPass) {
  SyncReport report;
  report.completed = true;
  report.up = 2;
  report.down = 1;
  // "上次同步 12:03：上传 2，下载 1"
  EXPECT_EQ(SyncResultLine(report, At(12, 3)),
            "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD 12:03\xA3\xBA\xC9\xCF\xB4\xAB 2\xA3\xAC\xCF\xC2\xD4\xD8 1");
  report.up = 0;
  report.down = 0;
  report.deleted = 3;
  report.conflicts = 1;
  report.local_only = 4;
  // "上次同步 09:00：上传 0，下载 0，删除 3，冲突 1，4 条备忘只留在本机（日历不收待办）"
  EXPECT_EQ(
      SyncResultLine(report, At(9, 0)),
      "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD 09:00\xA3\xBA\xC9\xCF\xB4\xAB 0\xA3\xAC\xCF\xC2\xD4\xD8 0"
      "\xA3\xAC\xC9\xBE\xB3\xFD 3\xA3\xAC\xB3\xE5\xCD\xBB 1\xA3\xAC"
      "4 \xCC\xF5\xB1\xB8\xCD\xFC\xD6\xBB\xC1\xF4\xD4\xDA\xB1\xBE\xBB\xFA\xA3\xA8\xC8\xD5\xC0\xFA\xB2\xBB"
      "\xCA\xD5\xB4\xFD\xB0\xEC\xA3\xA9");
}

TEST(SyncTexts, ResultLineOfAPassThatStopped) {
  SyncReport report;
  report.error = CalDavErrorKind::kOther;
  report.message = "\xC3\xDC\xC2\xEB\xB2\xBB\xB6\xD4";  // "密码不对"
  // "上次同步 23:59 未完成：密码不对"
  EXPECT_EQ(SyncResultLine(report, At(23, 59)),
            "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD 23:59 "
            "\xCE\xB4\xCD\xEA\xB3\xC9\xA3\xBA\xC3\xDC\xC2\xEB\xB2\xBB\xB6\xD4");
  report.message.clear();
  // Without a reason: "同步没有完成".
  EXPECT_EQ(SyncResultLine(report, At(0, 0)),
            "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD 00:00 \xCE\xB4\xCD\xEA\xB3\xC9\xA3\xBA"
            "\xCD\xAC\xB2\xBD\xC3\xBB\xD3\xD0\xCD\xEA\xB3\xC9");
}

TEST(SyncTexts, TheServersRefusalsAreToldInTheUsersWordsNotTheEnginesEnglish) {
  SyncReport report;
  report.needs_user = true;
  report.error = CalDavErrorKind::kAuth;
  report.message = "127.0.0.1:5232 answered 401 to PROPFIND /: the user name or password was not accepted";
  // "服务器不接受用户名或密码"
  EXPECT_EQ(SyncStopReason(report),
            "\xB7\xFE\xCE\xF1\xC6\xF7\xB2\xBB\xBD\xD3\xCA\xDC\xD3\xC3\xBB\xA7"
            "\xC3\xFB\xBB\xF2\xC3\xDC\xC2\xEB");
  report.error = CalDavErrorKind::kNone;
  report.one_side_empty = true;
  report.message = "every event is gone from the calendar while Tallyo still holds them";
  const std::string empty_side = SyncStopReason(report);
  EXPECT_EQ(empty_side.find("every event"), std::string::npos);
  // "...没有删除任何事件..."
  EXPECT_NE(empty_side.find("\xC3\xBB\xD3\xD0\xC9\xBE\xB3\xFD\xC8\xCE\xBA\xCE\xCA\xC2\xBC\xFE"),
            std::string::npos);
}

TEST(SyncTexts, StoppedTipFitsTheTrayWithoutSplittingACharacter) {
  SyncReport report;
  report.needs_user = true;
  report.message = "\xC3\xDC\xC2\xEB\xB2\xBB\xB6\xD4";  // "密码不对"
  // "同步已停止：密码不对"
  EXPECT_EQ(SyncStoppedTip(report),
            "\xCD\xAC\xB2\xBD\xD2\xD1\xCD\xA3\xD6\xB9\xA3\xBA\xC3\xDC\xC2\xEB\xB2\xBB\xB6\xD4");
  for (int extra : {0, 1, 200}) {
    SCOPED_TRACE(extra);
    report.message = std::string(120, 'a') + std::string(extra, 'x');
    for (int i = 0; i < 100; ++i) report.message += "\xC3\xDC";  // "密"
    const std::string tip = SyncStoppedTip(report);
    std::size_t characters = 0, at = 0;
    for (; at < tip.size(); at += cp936::CharLength(tip, at)) ++characters;
    EXPECT_EQ(at, tip.size());  // no half character at the end
    EXPECT_EQ(characters, kTrayTipCharacters);
  }
}

}  // namespace
