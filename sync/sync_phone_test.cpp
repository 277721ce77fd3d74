// A phone and Tallyo on one calendar: python3-caldav (testing/phone.py)
// changes the calendar as a phone's calendar app would, and Tallyo's passes
// run with the full mapping of calendar/. radicale on 127.0.0.1, started by ctest.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "caldav/testing/radicale_test_server.h"
#include "events/event_repeats.h"
#include "repeat/repeat_series.h"
#include "repeat/repeat_store.h"
#include "repeat/repeat_texts.h"
#include "sync/testing/sync_test_folder.h"

namespace {

Time32 Utc(int year, int month, int day, int hour, int minute) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  return static_cast<Time32>(timegm(&tm));
}

class PhoneAndTallyo : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(server_.problem(), "");
    HttpTransportOptions options;
    options.user = RadicaleTestServer::kUser;
    options.password = RadicaleTestServer::kPassword;
    transport_ = MakeHttpTransport(options);
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    calendar_ = server_.MakeCalendar(*transport_, "phone-" + name, "Phone", {"VEVENT", "VTODO"});
    ASSERT_NE(calendar_, "");
  }

  // phone.py's output; the test fails when it does.
  std::string Phone(const std::string& arguments) {
    std::string command = std::string("PHONE_USER=") + RadicaleTestServer::kUser +
                          " PHONE_PASSWORD=" + RadicaleTestServer::kPassword + " /usr/bin/python3 " +
                          TALLYO_PHONE_SCRIPT + " '" + calendar_ + "' " + arguments;
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
      ADD_FAILURE() << command;
      return output;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
  }

  SyncReport Pass(SyncTestFolder& folder) {
    SyncReport report = folder.Pass(*transport_, calendar_, {}, CalendarObjectMapping());
    EXPECT_TRUE(report.completed) << report.message;
    return report;
  }

  // The only event of the folder, and its series (nullopt: a one-off).
  std::optional<RepeatSeries> SeriesOf(SyncTestFolder& folder) {
    EventList list(DefaultFileSystem(), folder.EventPath());
    EXPECT_TRUE(list.LoadEvents().ok());
    RepeatRules rules;
    RepeatStore store(DefaultFileSystem(), RepeatFilePathBeside(folder.EventPath()));
    EXPECT_TRUE(store.Load(&rules).ok());
    BindRules(list, rules);
    if (list.size() != 1) return std::nullopt;
    const RepeatSeries* series = SeriesOfEvent(rules, list.records()[0], list.KeyOf(list.records()[0]));
    if (series == nullptr) return std::nullopt;
    return *series;
  }

  RadicaleTestServer server_;
  std::unique_ptr<HttpTransport> transport_;
  std::string calendar_;
  SyncTestFolder tallyo_{"tallyo"};
};

}  // namespace

TEST_F(PhoneAndTallyo, WhatThePhoneDoesArrivesAndWhatTallyoDoesNotShowSurvivesItsChanges) {
  // 09:00 in New York (EDT, UTC-4) with an alarm 15 minutes before.
  Phone("add dentist@phone Dentist 20300318T090000 America/New_York 15");
  SyncReport report = Pass(tallyo_);
  EXPECT_EQ(report.down, 1);
  std::vector<CMyEvent> events = tallyo_.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(std::string(events[0].strTitle), "Dentist");
  EXPECT_EQ(events[0].bRemind, 1);
  EXPECT_EQ(events[0].timeRemind, Utc(2030, 3, 18, 12, 45));

  Phone("summary dentist@phone 'Dentist, room 4'");
  EXPECT_EQ(Pass(tallyo_).down, 1);
  EXPECT_EQ(tallyo_.Titles(), (std::vector<std::string>{"Dentist, room 4"}));

  // Tallyo changes the title and moves the reminder an hour on.
  ASSERT_TRUE(tallyo_.Edit("Dentist, room 4", [](CMyEvent& e) {
    e.strTitle = "\xD1\xC0\xD2\xBD";  // 牙医
    e.timeRemind += 3600;
  }));
  EXPECT_EQ(Pass(tallyo_).up, 1);
  const std::string text = Phone("dump dentist@phone");
  EXPECT_NE(text.find("SUMMARY:\xE7\x89\x99\xE5\x8C\xBB"), std::string::npos) << text;  // 牙医, UTF-8
  EXPECT_NE(text.find("X-PHONE-COLOR:teal"), std::string::npos) << text;
  // Both categories, in one line or two (the same to every reader).
  EXPECT_NE(text.find("CATEGORIES:Phone"), std::string::npos) << text;
  EXPECT_NE(text.find("Tests"), std::string::npos) << text;
  EXPECT_NE(text.find("mailto:li@example.com"), std::string::npos) << text;
  EXPECT_NE(text.find("TRIGGER:-PT15M"), std::string::npos) << "the alarm keeps its offset\n" << text;
  EXPECT_NE(text.find("TZID=America/New_York:20300318T100000"), std::string::npos) << text;

  // A rule no entry of the drop-down stands for, then one occurrence deleted.
  Phone("rrule dentist@phone 'FREQ=WEEKLY;BYDAY=MO,WE;COUNT=6'");
  EXPECT_EQ(Pass(tallyo_).down, 1);
  std::optional<RepeatSeries> series = SeriesOf(tallyo_);
  ASSERT_TRUE(series.has_value());
  EXPECT_EQ(RepeatChoiceOf(&series->rule()), kCustomRepeatChoice);  // shown as 自定义
  Phone("exdate dentist@phone 20300320T100000");
  EXPECT_EQ(Pass(tallyo_).down, 1);
  series = SeriesOf(tallyo_);
  ASSERT_TRUE(series.has_value());
  EXPECT_EQ(series->dates().removed.size(), 1u);

  // "我知道了" on the series moves only Tallyo's next time: nothing goes up.
  ASSERT_TRUE(tallyo_.Change([](EventList& events, RepeatRules& rules) {
    AcknowledgeReminder(events, rules, events.KeyOf(events.records()[0]), Utc(2030, 3, 18, 14, 0));
  }));
  report = Pass(tallyo_);
  EXPECT_EQ(report.up, 0);
  EXPECT_EQ(report.down, 0);
  EXPECT_EQ(Phone("uids"), "dentist@phone\n");
}

TEST_F(PhoneAndTallyo, AnAnsweredOneOffLeavesThePhoneAndRemindAgainMovesIt) {
  Phone("add once@phone Once 20300318T090000 America/New_York 0");
  Phone("add twice@phone Twice 20300319T090000 America/New_York 0");
  EXPECT_EQ(Pass(tallyo_).down, 2);
  // Remind again in ten minutes.
  ASSERT_TRUE(tallyo_.Edit("Twice", [](CMyEvent& e) { e.timeRemind = Utc(2030, 3, 19, 13, 10); }));
  // "我知道了" on the one-off deletes it.
  ASSERT_TRUE(tallyo_.Change([](EventList& events, RepeatRules& rules) {
    for (const CMyEvent& event : events.records()) {
      if (std::string(event.strTitle) != "Once") continue;
      AcknowledgeReminder(events, rules, events.KeyOf(event), Utc(2030, 3, 18, 13, 1));
      return;
    }
  }));
  SyncReport report = Pass(tallyo_);
  EXPECT_EQ(report.deleted, 1);
  EXPECT_EQ(report.up, 1);
  EXPECT_EQ(Phone("uids"), "twice@phone\n");
  EXPECT_NE(Phone("dump twice@phone").find("TZID=America/New_York:20300319T091000"), std::string::npos);
}
