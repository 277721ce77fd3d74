// What a sync's writing costs an event: a new object (a reminder, a series
// with its zone and dates) and a server's object patched (a title, a move of
// a series with attendees, alarms and an override). Run in TZ=Asia/Shanghai.
#include <benchmark/benchmark.h>

#include <string>

#include "calendar/calendar_object.h"
#include "events/my_event.h"
#include "repeat/repeat_series.h"

namespace {

constexpr Time32 kAt = 1796693400;  // 2026-12-08 09:30 in Shanghai

void NewReminder(benchmark::State& state) {
  const CalendarItem item = ItemOfEvent(CMyEvent("Title, with; text", kAt, "Body\r\nsecond line", 1, kAt),
                                        nullptr, "1796693400-0@tallyo.example");
  for (auto _ : state) benchmark::DoNotOptimize(NewCalendarObject(item));
}
BENCHMARK(NewReminder);

void NewSeries(benchmark::State& state) {
  RepeatRule rule;
  ParseRepeatRule("FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270430", &rule);
  const RepeatSeries series(WallFromCivil(2027, 2, 1, 9, 30, 0), rule,
                            {{WallFromCivil(2027, 3, 13, 9, 30, 0)}, {WallFromCivil(2027, 3, 18, 9, 30, 0)}});
  const CalendarItem item = ItemOfEvent(CMyEvent("Weekly", kAt, "", 1, kAt), &series, "s@tallyo.example");
  for (auto _ : state) benchmark::DoNotOptimize(NewCalendarObject(item));
}
BENCHMARK(NewSeries);

const std::string kServerText =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\n"
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
    "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\nUID:lunch@phone.example\r\nDTSTAMP:20261201T080000Z\r\nSEQUENCE:2\r\n"
    "DTSTART;TZID=Europe/Berlin:20261210T100000\r\nDTEND;TZID=Europe/Berlin:20261210T113000\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=TH\r\nSUMMARY:Team lunch\r\nDESCRIPTION:Bring it\r\nLOCATION:Room 5\r\n"
    "ORGANIZER;CN=Ann:mailto:ann@example.com\r\nATTENDEE;CN=Bob;PARTSTAT=ACCEPTED:mailto:bob@example.com\r\n"
    "CATEGORIES:Work,Food\r\nX-PHONE-COLOR:#ff0000\r\n"
    "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:Lunch soon\r\nEND:VALARM\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:lunch@phone.example\r\nRECURRENCE-ID;TZID=Europe/Berlin:20261217T100000\r\n"
    "DTSTAMP:20261201T080000Z\r\nDTSTART;TZID=Europe/"
    "Berlin:20261217T120000\r\nSUMMARY:Later\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

CalendarItem ServerItem() {
  CalendarItem item;
  item.title = "Team lunch";
  item.body = "Bring it\r\nRoom 5";
  item.reminds = true;
  RepeatRule rule;
  ParseRepeatRule("FREQ=WEEKLY;BYDAY=FR;COUNT=10", &rule);
  item.rule = rule;
  item.series_start = WallFromCivil(2026, 12, 10, 16, 45, 0);
  item.alarm_offset = -900;
  return item;
}

void PatchTitle(benchmark::State& state) {
  const CalendarItem agreed = ServerItem();
  CalendarItem wanted = agreed;
  wanted.title = "Team dinner";
  for (auto _ : state) benchmark::DoNotOptimize(PatchCalendarObject(kServerText, agreed, wanted));
}
BENCHMARK(PatchTitle);

void PatchSeriesMoved(benchmark::State& state) {
  const CalendarItem agreed = ServerItem();
  CalendarItem wanted = agreed;
  wanted.series_start += 3600;
  for (auto _ : state) benchmark::DoNotOptimize(PatchCalendarObject(kServerText, agreed, wanted));
}
BENCHMARK(PatchSeriesMoved);

}  // namespace

BENCHMARK_MAIN();
