#include "app/sync_schedule.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr std::int64_t kStart = 1000;
constexpr int kMinutes = 15;
constexpr std::int64_t kInterval = kMinutes * 60;

SyncReport Completed() {
  SyncReport report;
  report.completed = true;
  return report;
}

SyncReport Failed(CalDavErrorKind error, std::int64_t retry_after = 0) {
  SyncReport report;
  report.error = error;
  report.retry_after_seconds = retry_after;
  return report;
}

SyncReport NeedsUser() {
  SyncReport report = Failed(CalDavErrorKind::kOther);
  report.needs_user = true;
  return report;
}

class Schedule : public ::testing::Test {
 protected:
  // A pass run from `at` to `end`, ending with `report`.
  void Pass(std::int64_t at, const SyncReport& report, std::int64_t end) {
    ASSERT_TRUE(schedule.Due(at));
    schedule.PassStarted();
    schedule.PassEnded(report, end);
  }
  SyncSchedule schedule;
};

TEST_F(Schedule, OffPlansNothingAndIgnoresChanges) {
  schedule.Configure(false, kMinutes, kStart);
  schedule.LocalChange(kStart);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);
  EXPECT_FALSE(schedule.Due(kStart + 365 * 86400));
}

TEST_F(Schedule, SyncNowRunsOnePassWhileOff) {
  schedule.Configure(false, kMinutes, kStart);
  schedule.SyncNow(kStart + 10);
  Pass(kStart + 10, Completed(), kStart + 11);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);  // no interval while off
  schedule.LocalChange(kStart + 20);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);
  schedule.SyncNow(kStart + 30);
  Pass(kStart + 30, Failed(CalDavErrorKind::kUnreachable), kStart + 31);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);  // nor a retry
}

TEST_F(Schedule, RunsAtStartThenEveryInterval) {
  schedule.Configure(true, kMinutes, kStart);
  EXPECT_EQ(schedule.NextPassAt(), kStart);
  Pass(kStart, Completed(), kStart + 2);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 2 + kInterval);
  EXPECT_FALSE(schedule.Due(kStart + 1 + kInterval));
  Pass(kStart + 2 + kInterval, Completed(), kStart + 3 + kInterval);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 3 + 2 * kInterval);
}

TEST_F(Schedule, IntervalBelowOneMinuteCountsAsOne) {
  schedule.Configure(true, 0, kStart);
  Pass(kStart, Completed(), kStart);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 60);
}

TEST_F(Schedule, BurstOfChangesMakesOnePassSoonAfterTheFirst) {
  schedule.Configure(true, kMinutes, kStart);
  Pass(kStart, Completed(), kStart);
  schedule.LocalChange(kStart + 100);
  schedule.LocalChange(kStart + 101);
  schedule.LocalChange(kStart + 103);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 100 + SyncSchedule::kAfterChangeSeconds);
  Pass(kStart + 105, Completed(), kStart + 106);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 106 + kInterval);
}

TEST_F(Schedule, ChangeDuringAPassMakesAnotherAfterIt) {
  schedule.Configure(true, kMinutes, kStart);
  ASSERT_TRUE(schedule.Due(kStart));
  schedule.PassStarted();
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);  // nothing while it runs
  schedule.LocalChange(kStart + 1);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);
  schedule.PassEnded(Completed(), kStart + 30);
  // The change's few seconds were over before the pass ended: due at once.
  EXPECT_TRUE(schedule.Due(kStart + 30));
}

TEST_F(Schedule, FailuresBackOffDoublingUpToTheLongest) {
  schedule.Configure(true, kMinutes, kStart);
  std::int64_t now = kStart;
  std::int64_t expected = SyncSchedule::kFirstBackOffSeconds;
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    Pass(now, Failed(CalDavErrorKind::kUnreachable), now);
    EXPECT_EQ(schedule.back_off_seconds(), expected);
    EXPECT_EQ(schedule.NextPassAt(), now + expected);
    now += expected;
    expected = std::min(expected * 2, SyncSchedule::kLongestBackOffSeconds);
  }
  EXPECT_EQ(schedule.back_off_seconds(), SyncSchedule::kLongestBackOffSeconds);
  // A pass that goes through ends the back-off.
  Pass(now, Completed(), now);
  EXPECT_EQ(schedule.back_off_seconds(), 0);
  EXPECT_EQ(schedule.NextPassAt(), now + kInterval);
  Pass(now + kInterval, Failed(CalDavErrorKind::kRetryLater), now + kInterval);
  EXPECT_EQ(schedule.back_off_seconds(), SyncSchedule::kFirstBackOffSeconds);
}

TEST_F(Schedule, RetryAfterIsHonouredWithinItsLimit) {
  struct Case {
    std::int64_t retry_after, wait;
  };
  const Case cases[] = {
      {0, SyncSchedule::kFirstBackOffSeconds},
      {5, SyncSchedule::kFirstBackOffSeconds},  // never sooner than the back-off
      {120, 120},
      {7200, 7200},  // longer than the longest back-off: the server said so
      {SyncSchedule::kLongestRetryAfterSeconds + 1, SyncSchedule::kLongestRetryAfterSeconds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.retry_after);
    SyncSchedule fresh;
    fresh.Configure(true, kMinutes, kStart);
    fresh.PassStarted();
    fresh.PassEnded(Failed(CalDavErrorKind::kRetryLater, c.retry_after), kStart);
    EXPECT_EQ(fresh.NextPassAt(), kStart + c.wait);
  }
}

TEST_F(Schedule, ChangesDoNotHurryPastTheBackOff) {
  schedule.Configure(true, kMinutes, kStart);
  Pass(kStart, Failed(CalDavErrorKind::kRetryLater, 600), kStart);
  schedule.LocalChange(kStart + 10);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 600);
}

TEST_F(Schedule, TheUserOverridesTheBackOff) {
  schedule.Configure(true, kMinutes, kStart);
  Pass(kStart, Failed(CalDavErrorKind::kRetryLater, 600), kStart);
  schedule.SyncNow(kStart + 10);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 10);
}

TEST_F(Schedule, StopsWhenThePassNeedsTheUser) {
  for (const SyncReport& report :
       {NeedsUser(), Failed(CalDavErrorKind::kAuth), Failed(CalDavErrorKind::kRefused)}) {
    SCOPED_TRACE(static_cast<int>(report.error));
    SyncSchedule stopping;
    stopping.Configure(true, kMinutes, kStart);
    stopping.PassStarted();
    stopping.LocalChange(kStart + 1);  // even a change waiting for the pass
    stopping.PassEnded(report, kStart + 2);
    EXPECT_TRUE(stopping.stopped_for_user());
    EXPECT_EQ(stopping.NextPassAt(), std::nullopt);
    stopping.LocalChange(kStart + 3);
    EXPECT_FALSE(stopping.Due(kStart + 365 * 86400));
    // The user asks again (after fixing the password, say).
    stopping.SyncNow(kStart + 100);
    EXPECT_FALSE(stopping.stopped_for_user());
    EXPECT_TRUE(stopping.Due(kStart + 100));
  }
}

TEST_F(Schedule, NewSettingsClearAStopAndRunAtOnce) {
  schedule.Configure(true, kMinutes, kStart);
  Pass(kStart, NeedsUser(), kStart);
  schedule.Configure(true, 5, kStart + 50);
  EXPECT_FALSE(schedule.stopped_for_user());
  Pass(kStart + 50, Completed(), kStart + 51);
  EXPECT_EQ(schedule.NextPassAt(), kStart + 51 + 5 * 60);
  schedule.Configure(false, 5, kStart + 60);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);
}

TEST_F(Schedule, SyncNowDuringAPassRunsAgainAfterIt) {
  schedule.Configure(true, kMinutes, kStart);
  schedule.PassStarted();
  schedule.SyncNow(kStart + 1);
  EXPECT_EQ(schedule.NextPassAt(), std::nullopt);
  schedule.PassEnded(Completed(), kStart + 2);
  EXPECT_TRUE(schedule.Due(kStart + 2));
}

}  // namespace
