// The iCalendar text of 1k, 10k and 100k events, in memory: what the export
// adds to loading event.dat and writing the bytes out.
#include <benchmark/benchmark.h>

#include "cli/ics_export.h"
#include "events/testing/bench_events.h"

namespace {

// As the export writes to standard output: the text is taken away in pieces
// of 256 KiB (here simply dropped), so the buffer stays small and warm.
void BM_IcsCalendar(benchmark::State& state) {
  auto events = MakeBenchEvents(static_cast<std::size_t>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    IcsUids uids(events);
    IcsWriter writer;
    for (const auto& event : events) {
      writer.Add(event, uids);
      if (writer.text().size() >= 256 * 1024) {
        benchmark::DoNotOptimize(writer.text().data());
        bytes += writer.text().size();
        writer.Clear();
      }
    }
    writer.Finish();
    bytes += writer.text().size();
    benchmark::DoNotOptimize(writer.text().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["calendar_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_IcsCalendar)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
