// Feeds arbitrary bytes to the event.dat reader: it must never crash, read out
// of bounds or allocate more than the input justifies, and whatever it accepts
// must write back to bytes that read the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "events/event_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  EventRecords events;
  ArchiveError error = ReadEventArchive(SharedBytes::CopyOf(bytes), &events);
  if (!ArchiveErrorMessage(error, "event.dat").empty() != (error != ArchiveError::kNone)) std::abort();

  // Every record read survives a write and a second read unchanged.
  std::string image = WriteEventArchive(events);
  EventRecords again;
  if (ReadEventArchive(SharedBytes::CopyOf(image), &again) != ArchiveError::kNone ||
      again.size() != events.size())
    std::abort();
  if (WriteEventArchive(again) != image) std::abort();
  return 0;
}
