// What repeating reminders add to the once-a-second check, with 100k events
// of which 10k repeat: the check as it is today (a look at event.dat for
// changes from other programs, then the walk for a due reminder) with and
// without the look at repeat.ini; what an alert of a repeating reminder
// adds (its rule, the next occurrence, the popup's line, the answer); and
// what a change or an outside edit of repeat.ini costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "base/file_system.h"
#include "events/event_repeats.h"
#include "events/testing/bench_events.h"
#include "repeat/repeat_texts.h"

namespace {

// Later than every reminder of the bench events: nothing is due.
constexpr Time32 kNow = kBenchFirstTime - 1;

struct Folder {
  std::filesystem::path dir;
  std::unique_ptr<EventList> events;
  RepeatRules rules;
  std::unique_ptr<RepeatStore> store;
  Time32 repeating = 0;  // the creation time of one repeating reminder
};

// 100k events, every tenth a reminder with one of six rules; saved to a
// folder of its own with (`with_rules`) or without repeat.ini.
Folder& Data(bool with_rules) {
  static Folder folders[2];
  Folder& f = folders[with_rules];
  if (f.events) return f;
  f.dir =
      std::filesystem::temp_directory_path() / (with_rules ? "tallyo_repeat_bench" : "tallyo_plain_bench");
  std::filesystem::create_directories(f.dir);
  const std::string event_path = (f.dir / "event.dat").string();
  f.events = std::make_unique<EventList>(DefaultFileSystem(), event_path);
  f.store = std::make_unique<RepeatStore>(DefaultFileSystem(), RepeatFilePathBeside(event_path));
  std::vector<CMyEvent> events = MakeBenchEvents(100000);
  const char* const kRules[] = {"FREQ=DAILY",  "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR",
                                "FREQ=WEEKLY", "FREQ=MONTHLY",
                                "FREQ=YEARLY", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;COUNT=40"};
  // Every tenth event repeats (the next one when another was created in the same second).
  std::vector<Time32> repeating;
  Time32 last_created = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    CMyEvent& e = events[i];
    if (e.bRemind != 0) e.timeRemind = std::max(e.timeRemind, kNow + 3600);
    const bool first_of_its_second = i == 0 || e.timeCreate != last_created;
    last_created = e.timeCreate;
    if (with_rules && repeating.size() < 10000 && repeating.size() * 10 <= i && first_of_its_second) {
      e.bRemind = 1;
      e.timeRemind = kNow + 3600 + static_cast<Time32>(i);
      repeating.push_back(e.timeCreate);
    }
    f.events->Add(std::move(e));
  }
  for (std::size_t i = 0; i < repeating.size(); ++i) {
    RepeatRule rule;
    if (!ParseRepeatRule(kRules[i % 6], &rule).ok()) std::abort();
    if (SetEventRepeat(*f.events, f.rules, {repeating[i], 0}, rule) != SetRepeatResult::kSet) std::abort();
  }
  if (with_rules) f.repeating = repeating[repeating.size() / 2];
  std::filesystem::remove(f.store->FilePath());
  if (!f.events->SaveEvents().ok() || !f.store->Save(f.rules, CreationTimes(*f.events)).ok()) std::abort();
  return f;
}

// Today's check: the look at event.dat and the walk for a due reminder.
void BM_TickWithoutRules(benchmark::State& state) {
  Folder& f = Data(false);
  for (auto _ : state) {
    bool reloaded = false;
    benchmark::DoNotOptimize(f.events->ReloadIfChanged(&reloaded));
    benchmark::DoNotOptimize(f.events->FindDue(kNow));
  }
}
BENCHMARK(BM_TickWithoutRules)->Unit(benchmark::kMicrosecond);

// The same check with 10k rules: repeat.ini is looked at too.
void BM_TickWithRules(benchmark::State& state) {
  Folder& f = Data(true);
  if (f.rules.size() != 10000) state.SkipWithError("not 10k rules");
  for (auto _ : state) {
    bool reloaded = false;
    benchmark::DoNotOptimize(f.events->ReloadIfChanged(&reloaded));
    benchmark::DoNotOptimize(f.store->ReloadIfChanged(&f.rules, &reloaded));
    benchmark::DoNotOptimize(f.events->FindDue(kNow));
  }
}
BENCHMARK(BM_TickWithRules)->Unit(benchmark::kMicrosecond);

// The look at repeat.ini alone, unchanged: one look at size and write time.
void BM_LookAtRepeatIni(benchmark::State& state) {
  Folder& f = Data(true);
  for (auto _ : state) benchmark::DoNotOptimize(f.store->ChangedOnDisk());
}
BENCHMARK(BM_LookAtRepeatIni)->Unit(benchmark::kMicrosecond);

// When a repeating reminder falls due: its rule and the popup's line with
// the next occurrence, then the answer "我知道了" (without the save).
void BM_AlertOfARepeatingReminder(benchmark::State& state) {
  Folder& f = Data(true);
  const CMyEvent* due = f.events->FindByCreateTime(f.repeating);
  for (auto _ : state) {
    const RepeatSeries* series = SeriesOfEvent(f.rules, *due, {f.repeating, 0});
    std::string line = RepeatPopupLine(*series, series->FirstAfter(due->timeRemind));
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_AlertOfARepeatingReminder)->Unit(benchmark::kMicrosecond);

// The answer finds the event again by its creation time: one walk of the list.
void BM_AcknowledgeARepeatingReminder(benchmark::State& state) {
  Folder& f = Data(true);
  CMyEvent* event = f.events->FindByCreateTime(f.repeating);
  const Time32 remind = event->timeRemind;
  for (auto _ : state) {
    event->timeRemind = remind;
    benchmark::DoNotOptimize(AcknowledgeReminder(*f.events, f.rules, {f.repeating, 0}, remind));
  }
}
BENCHMARK(BM_AcknowledgeARepeatingReminder)->Unit(benchmark::kMicrosecond);

// The next occurrence of a rule repeating every minute since 2000, and the
// thousand after it, found by arithmetic rather than by walking 14 million minutes.
void BM_NextOfAMinutelyRuleSince2000(benchmark::State& state) {
  WallSeconds start = 0;
  if (!ParseWallTime("2000-01-01 00:00:00", &start)) std::abort();
  RepeatRule rule;
  rule.frequency = RepeatFrequency::kMinutely;
  RepeatSeries series(start, rule);
  const Time32 now = 1796691630;  // 2026-12-08 09:00:30 in Shanghai
  for (auto _ : state) {
    if (state.range(0) == 1) {
      benchmark::DoNotOptimize(series.FirstAfter(now));
    } else {
      benchmark::DoNotOptimize(series.ListAfter(now, static_cast<std::size_t>(state.range(0))).data());
    }
  }
}
BENCHMARK(BM_NextOfAMinutelyRuleSince2000)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Reading 10k rules again after another program changed repeat.ini.
void BM_LoadRules(benchmark::State& state) {
  Folder& f = Data(true);
  RepeatStore store(DefaultFileSystem(), f.store->FilePath());
  RepeatRules rules;
  for (auto _ : state) {
    if (!store.Load(&rules).ok()) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_LoadRules)->Unit(benchmark::kMillisecond);

// What a change adds after event.dat is saved: the creation times of 100k
// events, the rules of vanished events dropped, and repeat.ini written
// (here with one rule changed each time).
void BM_SaveRulesAfterAChange(benchmark::State& state) {
  Folder& f = Data(true);
  const RepeatSeries series = *f.rules.SeriesOf(f.repeating);
  RepeatRule other = series.rule();
  int flip = 0;
  for (auto _ : state) {
    other.interval = 1 + (flip ^= 1);
    f.rules.Set(f.repeating, RepeatSeries(series.start(), other));
    if (!f.store->Save(f.rules, CreationTimes(*f.events)).ok()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveRulesAfterAChange)->Unit(benchmark::kMillisecond);

// The same save when the rules did not change (an edit of a one-off event).
void BM_SaveUnchangedRules(benchmark::State& state) {
  Folder& f = Data(true);
  for (auto _ : state) {
    if (!f.store->Save(f.rules, CreationTimes(*f.events)).ok()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveUnchangedRules)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
