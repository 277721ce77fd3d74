// Writes an event.dat of N realistic events, for timing tallyo-cli on it:
//   make_bench_event_dat N PATH
#include <cstdio>
#include <cstdlib>

#include "base/file_system.h"
#include "events/event_archive.h"
#include "events/testing/bench_events.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_bench_event_dat N PATH\n");
    return 2;
  }
  auto events = MakeBenchEvents(std::strtoul(argv[1], nullptr, 10));
  Status status = DefaultFileSystem().ReplaceFile(argv[2], WriteEventArchive(events));
  if (!status.ok()) {
    std::fprintf(stderr, "%s\n", status.message().c_str());
    return 1;
  }
  return 0;
}
