// The file calls of libical_file_hooks.h: a built-in zone file is read from
// the program's memory through a handle of our own, passed to libical as a
// FILE* that only these functions look into; anything else is a real file.
#include "ical/builtin_zone_files.h"

#include "ical/libical_file_hooks.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace tallyo {

const BuiltinZoneFile* FindBuiltinZoneFile(std::string_view path) {
  constexpr std::string_view folder = kBuiltinZoneFolder;
  if (path.size() <= folder.size() + 1 || path.substr(0, folder.size()) != folder ||
      path[folder.size()] != '/') {
    return nullptr;
  }
  std::string_view name = path.substr(folder.size() + 1);
  const BuiltinZoneFile* end = kBuiltinZoneFiles + kBuiltinZoneFileCount;
  const BuiltinZoneFile* at = std::lower_bound(
      kBuiltinZoneFiles, end, name, [](const BuiltinZoneFile& f, std::string_view n) { return f.name < n; });
  return at != end && at->name == name ? at : nullptr;
}

namespace {

// An open built-in file: what is left to read of it.
struct ZoneReader {
  const char* next;
  const char* end;
};

// The handles given out and not closed yet. libical may load zones on
// several threads (it locks around each load, but not around zones.tab).
std::mutex handles_mutex;
std::unordered_set<const void*>& Handles() {
  static std::unordered_set<const void*> handles;
  return handles;
}

ZoneReader* ReaderOf(FILE* file) {
  std::lock_guard<std::mutex> lock(handles_mutex);
  return Handles().count(file) ? reinterpret_cast<ZoneReader*>(file) : nullptr;
}

}  // namespace
}  // namespace tallyo

extern "C" FILE* tallyo_zone_fopen(const char* path, const char* mode) {
  using namespace tallyo;
  const BuiltinZoneFile* file = FindBuiltinZoneFile(path);
  if (!file) return std::fopen(path, mode);
  auto* reader = new ZoneReader{file->text, file->text + file->size};
  std::lock_guard<std::mutex> lock(handles_mutex);
  Handles().insert(reader);
  return reinterpret_cast<FILE*>(reader);
}

// As fgets: up to size - 1 bytes, up to and including the end of the line.
extern "C" char* tallyo_zone_fgets(char* buffer, int size, FILE* file) {
  tallyo::ZoneReader* reader = tallyo::ReaderOf(file);
  if (!reader) return std::fgets(buffer, size, file);
  if (size <= 0 || reader->next == reader->end) return nullptr;
  std::size_t room = static_cast<std::size_t>(size) - 1;
  std::size_t left = static_cast<std::size_t>(reader->end - reader->next);
  const void* newline = std::memchr(reader->next, '\n', std::min(room, left));
  std::size_t take = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - reader->next) + 1
                             : std::min(room, left);
  std::memcpy(buffer, reader->next, take);
  buffer[take] = '\0';
  reader->next += take;
  return buffer;
}

extern "C" int tallyo_zone_fclose(FILE* file) {
  using namespace tallyo;
  bool ours;
  {
    std::lock_guard<std::mutex> lock(handles_mutex);
    ours = Handles().erase(file) != 0;
  }
  if (!ours) return std::fclose(file);
  delete reinterpret_cast<ZoneReader*>(file);
  return 0;
}
