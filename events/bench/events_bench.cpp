// Speed of the event store and the queries at 1k, 10k and 100k events, with
// plain reading and writing of the same bytes as the yardstick for the store.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include "base/file_system.h"
#include "events/event_list.h"
#include "events/testing/bench_events.h"

namespace {

struct Fixture {
  std::filesystem::path dir;
  std::string path;
  std::string image;
  std::unique_ptr<EventList> list;
  Time32 middle_day = 0;
  Time32 first_time = 0;
};

Fixture& Data(std::size_t n) {
  static std::map<std::size_t, Fixture> cache;
  Fixture& f = cache[n];
  if (f.list) return f;
  f.dir = std::filesystem::temp_directory_path() / "tallyo_events_bench";
  std::filesystem::create_directories(f.dir);
  f.path = (f.dir / ("event-" + std::to_string(n) + ".dat")).string();
  f.list = std::make_unique<EventList>(DefaultFileSystem(), f.path);
  std::vector<CMyEvent> events = MakeBenchEvents(n);
  f.first_time = kBenchFirstTime;
  if (!events.empty()) f.middle_day = events[n / 2].timeCreate;
  for (auto& e : events) f.list->Add(std::move(e));
  f.image = WriteEventArchive(f.list->records());
  if (!DefaultFileSystem().ReplaceFile(f.path, f.image).ok()) std::abort();
  return f;
}

void SetBytes(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.image.size()));
}

void BM_LoadEvents(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  EventList list(DefaultFileSystem(), f.path);
  for (auto _ : state) {
    if (!list.LoadEvents().ok()) state.SkipWithError("load failed");
  }
  SetBytes(state, f);
}

// Start-up: the list is empty before the load; tearing the list down is not timed.
void BM_LoadEventsAtStart(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto list = std::make_unique<EventList>(DefaultFileSystem(), f.path);
    if (!list->LoadEvents().ok()) state.SkipWithError("load failed");
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
  SetBytes(state, f);
}

void BM_ReadSameBytes(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  std::string bytes;
  for (auto _ : state) {
    if (!DefaultFileSystem().ReadFile(f.path, &bytes).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBytes(state, f);
}

// What a load itself reads into: a fresh buffer each time, as at start.
void BM_ReadSameBytesFresh(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    BigBuffer bytes;
    if (!DefaultFileSystem().ReadFileToBuffer(f.path, &bytes).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBytes(state, f);
}

void BM_SaveEvents(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    if (!f.list->SaveEvents().ok()) state.SkipWithError("save failed");
  }
  SetBytes(state, f);
}

void BM_WriteSameBytes(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    if (!DefaultFileSystem().ReplaceFile(f.path, f.image).ok()) state.SkipWithError("write failed");
  }
  SetBytes(state, f);
}

// The byte coding alone, against copying the same bytes: as a load decodes
// (records in one block, texts sharing the bytes).
void BM_DecodeInMemory(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    BigBuffer buffer(f.image.size());
    std::memcpy(buffer.data(), f.image.data(), f.image.size());
    EventRecords events;
    ReadEventArchive(SharedBytes(std::move(buffer)), &events);
    benchmark::DoNotOptimize(events.data());
  }
  SetBytes(state, f);
}

void BM_EncodeInMemory(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string image = WriteEventArchive(f.list->records());
    benchmark::DoNotOptimize(image.data());
  }
  SetBytes(state, f);
}

void BM_CopySameBytes(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string copy = f.image;
    benchmark::DoNotOptimize(copy.data());
  }
  SetBytes(state, f);
}

template <typename Query>
void RunQuery(benchmark::State& state, Query query) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  EventPtrList result;
  for (auto _ : state) {
    result.clear();
    query(f, result);
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["rows"] = static_cast<double>(result.size());
}

void BM_QueryByDate(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryByDate(f.middle_day, r); });
}
void BM_QueryRemind(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryRemind(r); });
}
void BM_QueryMemo(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryMemo(r); });
}
void BM_QueryKeywordLatin(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryKeyword("REPORT", r); });
}
void BM_QueryKeywordChinese(benchmark::State& state) {
  // "妈妈" (mother)
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryKeyword("\xc2\xe8\xc2\xe8", r); });
}
void BM_QueryKeywordEmpty(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->QueryKeyword("", r); });
}
void BM_GetAll(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) { f.list->GetAll(r); });
}
// Nothing due yet: the check walks the whole list, once a second.
void BM_FindDueNoneDue(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) {
    if (const CMyEvent* e = f.list->FindDue(f.first_time - 1)) r.push_back(e);
  });
}
void BM_FindByCreateTimeLast(benchmark::State& state) {
  RunQuery(state, [](Fixture& f, EventPtrList& r) {
    const EventList& list = *f.list;
    r.push_back(list.FindByCreateTime(list.records().back().timeCreate));
  });
}

// The keys of every row of the all-events view, as a grid of the whole list
// would need them (stored order rising, no two records in one second).
void BM_KeysOfAllRows(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  EventPtrList rows;
  f.list->GetAll(rows);
  for (auto _ : state) {
    std::vector<EventKey> keys = f.list->KeysOf(rows);
    benchmark::DoNotOptimize(keys.data());
  }
}
// The same for a list stored in falling order: the records that share a
// second are then found by sorting.
void BM_KeysOfAllRowsFallingOrder(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  EventList list(DefaultFileSystem(), "unused.dat");
  std::vector<CMyEvent> events = MakeBenchEvents(n);
  for (std::size_t i = n; i-- > 0;) list.Add(events[i]);
  EventPtrList rows;
  list.GetAll(rows);
  for (auto _ : state) {
    std::vector<EventKey> keys = list.KeysOf(rows);
    benchmark::DoNotOptimize(keys.data());
  }
}
// A new record's creation time, with the list created up to now.
void BM_FreeCreateTime(benchmark::State& state) {
  Fixture& f = Data(static_cast<std::size_t>(state.range(0)));
  const Time32 last = f.list->records().back().timeCreate;
  for (auto _ : state) benchmark::DoNotOptimize(f.list->FreeCreateTime(last));
}

#define EVENT_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_LoadEvents) EVENT_SIZES;
BENCHMARK(BM_LoadEventsAtStart) EVENT_SIZES;
BENCHMARK(BM_ReadSameBytes) EVENT_SIZES;
BENCHMARK(BM_ReadSameBytesFresh) EVENT_SIZES;
BENCHMARK(BM_SaveEvents) EVENT_SIZES;
BENCHMARK(BM_WriteSameBytes) EVENT_SIZES;
BENCHMARK(BM_DecodeInMemory) EVENT_SIZES;
BENCHMARK(BM_EncodeInMemory) EVENT_SIZES;
BENCHMARK(BM_CopySameBytes) EVENT_SIZES;
BENCHMARK(BM_QueryByDate) EVENT_SIZES;
BENCHMARK(BM_QueryRemind) EVENT_SIZES;
BENCHMARK(BM_QueryMemo) EVENT_SIZES;
BENCHMARK(BM_QueryKeywordLatin) EVENT_SIZES;
BENCHMARK(BM_QueryKeywordChinese) EVENT_SIZES;
BENCHMARK(BM_QueryKeywordEmpty) EVENT_SIZES;
BENCHMARK(BM_GetAll) EVENT_SIZES;
BENCHMARK(BM_FindDueNoneDue) EVENT_SIZES;
BENCHMARK(BM_FindByCreateTimeLast) EVENT_SIZES;
BENCHMARK(BM_KeysOfAllRows) EVENT_SIZES;
BENCHMARK(BM_KeysOfAllRowsFallingOrder) EVENT_SIZES;
BENCHMARK(BM_FreeCreateTime) EVENT_SIZES;

}  // namespace

BENCHMARK_MAIN();
