// Cost of one tick of the reminder check at 1k, 10k and 100k events when
// nothing is due (the common case, every second for the whole run), and of
// the look at event.dat that comes with each tick.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "base/file_system.h"
#include "base/testing/memory_file_system.h"
#include "reminders/reminder_check.h"

namespace {

constexpr Time32 kNow = 1796616000;

class QuietHost : public ReminderHost {
 public:
  Time32 Now() override { return kNow; }
  void Beep() override {}
  void PlaySoundFile(const std::string&) override {}
  void ShowPopup(const CMyEvent&, EventKey) override {}
  void ClosePopup() override {}
  void StartFlash() override {}
  void StopFlash() override {}
  void CommitAnswer(EventKey, const ReminderAnswer&) override {}
};

// A third reminders, all due in the future; the rest memos.
void Fill(EventList& list, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i) {
    CMyEvent e(static_cast<Time32>(1600000000 + i * 60));
    e.strTitle = "Weekly report to the team lead";
    if (i % 3 == 0) {
      e.bRemind = 1;
      e.timeRemind = kNow + 3600 + static_cast<Time32>(i);
    }
    list.Add(std::move(e));
  }
}

void BM_TickNothingDue(benchmark::State& state) {
  MemoryFileSystem fs;
  EventList list(fs, "event.dat");
  Fill(list, state.range(0));
  Settings settings;
  QuietHost host;
  ReminderCheck check(list, settings, host);
  for (auto _ : state) check.Tick();
  benchmark::DoNotOptimize(check.bCheckEnabled);
}
BENCHMARK(BM_TickNothingDue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The once-a-second look for changes from other programs, on a real file
// that did not change: one stat, no read.
void BM_LookForOutsideChange(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "tallyo_reminder_bench";
  std::filesystem::create_directories(dir);
  EventList list(DefaultFileSystem(), (dir / "event.dat").string());
  Fill(list, state.range(0));
  if (!list.SaveEvents().ok()) state.SkipWithError("cannot write the test file");
  for (auto _ : state) {
    bool reloaded = false;
    benchmark::DoNotOptimize(list.ReloadIfChanged(&reloaded));
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LookForOutsideChange)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
