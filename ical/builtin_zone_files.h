#pragma once
// libical's built-in time zones, compiled into the program: zones.tab and
// one VTIMEZONE file per zone, by their names in libical's zoneinfo/ folder.
// The Windows build's libical reads them through the file calls of
// libical_file_hooks.h, from the folder named kBuiltinZoneFolder.
#include <cstddef>
#include <string_view>

namespace tallyo {

struct BuiltinZoneFile {
  const char* name;  // "zones.tab", "America/New_York.ics"
  std::size_t size;
  const char* text;
};

// Sorted by name (byte order). Made at build time (embed_zone_files.py).
extern const BuiltinZoneFile kBuiltinZoneFiles[];
extern const std::size_t kBuiltinZoneFileCount;

// A folder name no disk has: what libical is told its zone folder is.
inline constexpr char kBuiltinZoneFolder[] = "<built-in zones>";

// The file of `path` ("<built-in zones>/Asia/Shanghai.ics"), or null for a
// path outside kBuiltinZoneFolder or a name it does not hold.
const BuiltinZoneFile* FindBuiltinZoneFile(std::string_view path);

}  // namespace tallyo
