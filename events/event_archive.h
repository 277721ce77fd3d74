#pragma once
// The byte coding of event.dat: the application framework's object archive of
// a counted list of CMyEvent records. Pure functions over bytes in memory; the
// file access lives in the event store (event_store.h).
//
// Layout (little-endian): count (16-bit, or 0xFFFF + 32-bit), then per record a
// class tag (0xFFFF + class description for the first, 0x8001 afterwards) and
// the fields title, timeCreate, content, bRemind, timeRemind.
#include <cstdint>
#include <span>
#include <string>

#include "events/event_records.h"
#include "events/my_event.h"
#include "events/shared_bytes.h"

enum class ArchiveError {
  kNone,
  kEndOfFile,  // the bytes end inside a count, tag, text or field
  kBadIndex,   // class reference to an unknown number, null or object reference, number limit
  kBadClass,   // class name other than "CMyEvent", too long or cut short
  kBadSchema,  // class schema other than 1
};

// Classes and objects share one numbering that must stay below this.
inline constexpr std::uint32_t kArchiveMaxMapCount = 0x3FFFFFFE;

// Appends to *events every record read completely, in file order, and stops at
// the first fault, which it returns (the incomplete record is dropped). Bytes
// after the last counted record are ignored. Never allocates more than the
// input bytes can justify. `max_map_count` exists so tests can reach the limit.
// The records' texts share `bytes`, as they are (a wide text is converted
// into bytes of its own), so a load costs little more than reading the file.
ArchiveError ReadEventArchive(const SharedBytes& bytes, EventRecords* events,
                              std::uint32_t max_map_count = kArchiveMaxMapCount);

// The complete file image of `events` in the given order.
// REQUIRES: events.size() + 1 < kArchiveMaxMapCount.
std::string WriteEventArchive(std::span<const CMyEvent> events);

// The message the program shows for `error`, naming the file `path`
// (code page 936); empty for kNone.
std::string ArchiveErrorMessage(ArchiveError error, const std::string& path);
