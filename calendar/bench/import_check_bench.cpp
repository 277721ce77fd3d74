// What imported calendars cost afterwards and on the way in:
//  - the once-a-second check (the look at event.dat and repeat.ini for
//    outside changes, then the walk for a due reminder) with 10k repeating
//    events imported, 1k of them with rules past the arithmetic engine
//    (expanded by libical), beside today's check of 10k one-off reminders
//    without repeat.ini;
//  - the alert of a reminder with such a rule (its next occurrence);
//  - the import of a 10k-event calendar in memory: read and planned, and
//    applied.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "base/file_system.h"
#include "calendar/import_steps.h"
#include "calendar/testing/memory_uid_book.h"
#include "events/event_repeats.h"

namespace {

constexpr Time32 kNow = 1796688000;  // 2026-12-08 00:00 UTC

// `n` events from 2027 on; every `repeat_every`-th repeats (0: none), of
// which every tenth with a rule libical expands; a third with an alarm.
std::string Calendar(int n, int repeat_every) {
  const char* const kPlain[] = {"FREQ=DAILY", "FREQ=WEEKLY", "FREQ=WEEKLY;BYDAY=MO,WE,FR", "FREQ=MONTHLY",
                                "FREQ=YEARLY"};
  const char* const kBeyond[] = {"FREQ=MONTHLY;BYDAY=2TU", "FREQ=MONTHLY;BYDAY=-1FR",
                                 "FREQ=MONTHLY;BYMONTHDAY=-1", "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"};
  std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//bench//EN\r\n";
  char line[160];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line,
                  "BEGIN:VEVENT\r\nUID:bench-%d@tallyo.example\r\nSUMMARY:Event %d\r\n"
                  "DTSTART;TZID=America/New_York:%04d%02d%02dT%02d0000\r\n",
                  i, i, 2027 + (i / 336) % 10, 1 + (i / 28) % 12, 1 + i % 28, 8 + i % 10);
    text += line;
    if (repeat_every > 0 && i % repeat_every == 0) {
      const int k = i / repeat_every;
      text += std::string("RRULE:") + (k % 10 == 0 ? kBeyond[(k / 10) % 4] : kPlain[k % 5]) + "\r\n";
    }
    if (i % 3 == 1) text += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n";
    text += "END:VEVENT\r\n";
  }
  return text + "END:VCALENDAR\r\n";
}

struct Folder {
  std::filesystem::path dir;
  std::unique_ptr<EventList> events;
  RepeatRules rules;
  std::unique_ptr<RepeatStore> store;
  EventKey beyond;  // an event with a rule libical expands
};

// 10k events imported and saved: all repeating (`rules`) or none.
Folder& Data(bool rules) {
  static Folder folders[2];
  Folder& f = folders[rules];
  if (f.events) return f;
  f.dir = std::filesystem::temp_directory_path() /
          (rules ? "tallyo_import_rules_bench" : "tallyo_import_plain_bench");
  std::filesystem::remove_all(f.dir);
  std::filesystem::create_directories(f.dir);
  const std::string event_path = (f.dir / "event.dat").string();
  f.events = std::make_unique<EventList>(DefaultFileSystem(), event_path);
  f.store = std::make_unique<RepeatStore>(DefaultFileSystem(), RepeatFilePathBeside(event_path));
  MemoryUidBook uids;
  ImportOptions options;
  options.now = kNow;
  const ImportPlan plan = PlanImportInto(Calendar(10000, rules ? 1 : 0), *f.events, f.rules, uids, options);
  ApplyImportTo(plan, *f.events, f.rules, uids, options, {});
  if (rules && f.rules.size() != 10000) std::abort();
  f.beyond = *uids.Find("bench-0@tallyo.example");  // FREQ=MONTHLY;BYDAY=2TU
  if (!f.events->SaveEvents().ok() || (rules && !f.store->Save(f.rules).ok())) std::abort();
  return f;
}

// Today's check: 10k one-off reminders, no repeat.ini.
void BM_CheckWithoutRules(benchmark::State& state) {
  Folder& f = Data(false);
  for (auto _ : state) {
    bool reloaded = false;
    benchmark::DoNotOptimize(f.events->ReloadIfChanged(&reloaded));
    benchmark::DoNotOptimize(f.store->ReloadIfChanged(&f.rules, &reloaded));
    benchmark::DoNotOptimize(f.events->FindDue(kNow));
  }
}
BENCHMARK(BM_CheckWithoutRules)->Unit(benchmark::kMicrosecond);

// The same check with 10k repeating events, 1k of them with libical's rules.
void BM_CheckWithImportedRules(benchmark::State& state) {
  Folder& f = Data(true);
  for (auto _ : state) {
    bool reloaded = false;
    benchmark::DoNotOptimize(f.events->ReloadIfChanged(&reloaded));
    benchmark::DoNotOptimize(f.store->ReloadIfChanged(&f.rules, &reloaded));
    benchmark::DoNotOptimize(f.events->FindDue(kNow));
  }
}
BENCHMARK(BM_CheckWithImportedRules)->Unit(benchmark::kMicrosecond);

// When such a reminder falls due: its next occurrence (the series was
// walked from its start once, when it was read).
void BM_NextOfALibicalRule(benchmark::State& state) {
  Folder& f = Data(true);
  const CMyEvent* event = f.events->Find(f.beyond);
  const RepeatSeries* series = SeriesOfEvent(f.rules, *event, f.beyond);
  if (series == nullptr || series->rule().IsPlain()) state.SkipWithError("no libical rule");
  for (auto _ : state) benchmark::DoNotOptimize(series->FirstAfter(event->timeRemind));
}
BENCHMARK(BM_NextOfALibicalRule)->Unit(benchmark::kMicrosecond);

// The import in memory: the calendar read, every component decided on.
void BM_PlanImport10k(benchmark::State& state) {
  const std::string ics = Calendar(10000, 10);
  for (auto _ : state) {
    EventList events(DefaultFileSystem(), "/nonexistent/event.dat");
    RepeatRules rules;
    MemoryUidBook uids;
    ImportOptions options;
    options.now = kNow;
    benchmark::DoNotOptimize(PlanImportInto(ics, events, rules, uids, options).counts.to_add);
  }
  state.counters["bytes"] = static_cast<double>(ics.size());
}
BENCHMARK(BM_PlanImport10k)->Unit(benchmark::kMillisecond);

// ...and the plan applied to the lists (not saved).
void BM_ApplyImport10k(benchmark::State& state) {
  const std::string ics = Calendar(10000, 10);
  EventList empty(DefaultFileSystem(), "/nonexistent/event.dat");
  RepeatRules no_rules;
  MemoryUidBook no_uids;
  ImportOptions options;
  options.now = kNow;
  const ImportPlan plan = PlanImportInto(ics, empty, no_rules, no_uids, options);
  for (auto _ : state) {
    EventList events(DefaultFileSystem(), "/nonexistent/event.dat");
    RepeatRules rules;
    MemoryUidBook uids;
    benchmark::DoNotOptimize(ApplyImportTo(plan, events, rules, uids, options, {}).to_add);
  }
}
BENCHMARK(BM_ApplyImport10k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
