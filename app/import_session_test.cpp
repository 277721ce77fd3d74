#include "app/import_session.h"

#include <gtest/gtest.h>

#include "app/import_texts.h"

namespace {

ImportPlan PlanWith(int to_add, int to_update, int unchanged = 0) {
  ImportPlan plan;
  plan.counts.to_add = to_add;
  plan.counts.to_update = to_update;
  plan.counts.unchanged = unchanged;
  return plan;
}

TEST(ImportSession, AsksWhenSomethingWouldChangeAndImportsOnlyOnYes) {
  for (auto [adds, updates] : {std::pair{12, 0}, std::pair{0, 1}}) {
    ImportSession session("work.ics");
    EXPECT_EQ(session.step(), ImportSession::Step::kReading);
    EXPECT_NE(session.view().text.find("work.ics"), std::string::npos);
    EXPECT_FALSE(session.view().ok_shown);
    EXPECT_TRUE(session.view().cancel_shown);
    EXPECT_TRUE(session.MayClose());  // reading changes nothing

    session.Planned(PlanWith(adds, updates), "question?", "summary");
    EXPECT_EQ(session.step(), ImportSession::Step::kAsking);
    EXPECT_EQ(session.view().text, "work.ics\r\nquestion?");
    EXPECT_TRUE(session.view().ok_shown);
    EXPECT_TRUE(session.view().cancel_shown);
    EXPECT_FALSE(session.view().progress_shown);

    EXPECT_TRUE(session.Answered(true));
    EXPECT_EQ(session.step(), ImportSession::Step::kImporting);
    EXPECT_FALSE(session.MayClose());
    EXPECT_FALSE(session.view().ok_shown);
    EXPECT_FALSE(session.view().cancel_shown);
    EXPECT_TRUE(session.view().progress_shown);
    EXPECT_EQ(session.view().progress_permille, 0);
  }
}

TEST(ImportSession, NoEndsTheDialogWithoutAnImport) {
  ImportSession session("a.ics");
  session.Planned(PlanWith(3, 0), "q", "s");
  EXPECT_FALSE(session.Answered(false));
  EXPECT_EQ(session.step(), ImportSession::Step::kDone);
  // A late second answer starts nothing.
  EXPECT_FALSE(session.Answered(true));
  EXPECT_EQ(session.step(), ImportSession::Step::kDone);
}

TEST(ImportSession, NothingToChangeShowsTheSummaryWithoutAQuestion) {
  ImportSession session("again.ics");
  session.Planned(PlanWith(0, 0, /*unchanged=*/12), "q", "12 unchanged");
  EXPECT_EQ(session.step(), ImportSession::Step::kDone);
  EXPECT_EQ(session.view().text, "12 unchanged");
  EXPECT_TRUE(session.view().ok_shown);
  EXPECT_FALSE(session.view().cancel_shown);
  EXPECT_FALSE(session.Answered(true));  // there was no question
}

TEST(ImportSession, AnUnreadableFileIsToldByNameAndReasonAndChangesNothing) {
  ImportSession session("photo.jpg");
  ImportPlan plan = PlanWith(5, 0);  // ignored: the file could not be read
  plan.unreadable = true;
  plan.unreadable_reason = "not a calendar";
  session.Planned(plan, "q", "s");
  EXPECT_EQ(session.step(), ImportSession::Step::kDone);
  const std::string& text = session.view().text;
  EXPECT_EQ(text.rfind(kCannotImport, 0), 0u);
  EXPECT_NE(text.find("photo.jpg"), std::string::npos);
  EXPECT_NE(text.find("not a calendar"), std::string::npos);
  EXPECT_NE(text.find(kNothingChanged), std::string::npos);
  EXPECT_FALSE(session.Answered(true));
}

TEST(ImportSession, ProgressCountsUpAndTheSummaryEndsIt) {
  ImportSession session("big.ics");
  session.Planned(PlanWith(10000, 0), "q", "s");
  session.Answered(true);
  session.Progressed(2500, 10000);
  EXPECT_EQ(session.view().progress_permille, 250);
  EXPECT_NE(session.view().text.find("2500 / 10000"), std::string::npos);
  EXPECT_NE(session.view().text.find("big.ics"), std::string::npos);
  session.Progressed(10000, 10000);
  EXPECT_EQ(session.view().progress_permille, 1000);

  ImportOutcome outcome;
  outcome.saved = true;
  session.Applied(outcome, "10000 imported");
  EXPECT_EQ(session.step(), ImportSession::Step::kDone);
  EXPECT_EQ(session.view().text, "10000 imported");
  EXPECT_FALSE(session.view().progress_shown);
  EXPECT_TRUE(session.MayClose());
  // A report that arrives after the end changes nothing.
  session.Progressed(1, 2);
  EXPECT_EQ(session.view().text, "10000 imported");
}

TEST(ImportSession, AnImportThatCouldNotBeSavedSaysWhy) {
  ImportSession session("x.ics");
  session.Planned(PlanWith(1, 0), "q", "s");
  session.Answered(true);
  ImportOutcome outcome;
  outcome.saved = false;
  outcome.message = "the folder is busy";
  session.Applied(outcome, "s");
  EXPECT_NE(session.view().text.find("the folder is busy"), std::string::npos);
  EXPECT_NE(session.view().text.find(kNothingChanged), std::string::npos);
  EXPECT_EQ(session.view().text.find("s\r\n"), std::string::npos);
}

TEST(ImportSession, OutOfOrderCallsAreIgnored) {
  ImportSession session("x.ics");
  ImportOutcome outcome;
  outcome.saved = true;
  session.Applied(outcome, "too early");
  session.Progressed(1, 2);
  EXPECT_EQ(session.step(), ImportSession::Step::kReading);
  session.Planned(PlanWith(1, 0), "q", "s");
  session.Planned(PlanWith(0, 0), "q2", "s2");  // a second plan does not replace the question
  EXPECT_EQ(session.view().text, "x.ics\r\nq");
}

TEST(ProgressPermille, ClampsAndRounds) {
  EXPECT_EQ(ProgressPermille(0, 3), 0);
  EXPECT_EQ(ProgressPermille(1, 3), 333);
  EXPECT_EQ(ProgressPermille(3, 3), 1000);
  EXPECT_EQ(ProgressPermille(5, 3), 1000);
  EXPECT_EQ(ProgressPermille(-1, 3), 0);
  EXPECT_EQ(ProgressPermille(0, 0), 1000);
  // No overflow with the largest counts.
  EXPECT_EQ(ProgressPermille(2000000000, 2100000000), 952);
}

TEST(ProgressThrottle, ReportsTheFirstAChangeOfPermilleAfterTheGapAndAlwaysTheLast) {
  ProgressThrottle throttle(50);
  EXPECT_TRUE(throttle.ShouldReport(0, 100000, 0));
  EXPECT_FALSE(throttle.ShouldReport(50, 100000, 10));    // the same permille
  EXPECT_FALSE(throttle.ShouldReport(5000, 100000, 49));  // another, but too soon
  EXPECT_TRUE(throttle.ShouldReport(5001, 100000, 50));
  EXPECT_FALSE(throttle.ShouldReport(5002, 100000, 500));   // still 50 permille
  EXPECT_TRUE(throttle.ShouldReport(100000, 100000, 501));  // the last, however soon
}

TEST(ProgressThrottle, AFastImportOfManyChangesGivesFewReports) {
  ProgressThrottle throttle(50);
  int reports = 0;
  // 100k changes in one second of the steady clock.
  for (int done = 0; done <= 100000; ++done) {
    if (throttle.ShouldReport(done, 100000, done / 100)) ++reports;
  }
  EXPECT_LE(reports, 22);  // one per 50 ms, the first and the last
  EXPECT_GE(reports, 2);
}

}  // namespace
