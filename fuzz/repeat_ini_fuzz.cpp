// repeat.ini as any bytes, and the same bytes as one RRULE value: reading
// never crashes or runs away; every section that reads has a series whose
// occurrences come in order, and one that does not says why; a rule that
// reads writes back to a text that reads the same; a save changes nothing
// but what it was asked to, and keeps a section it cannot read line for line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "repeat/repeat_store.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSeries(const RepeatSeries& series) {
  std::vector<WallSeconds> walls = series.FirstWalls(6);
  for (std::size_t i = 0; i < walls.size(); ++i) {
    Check(walls[i] >= series.start());
    if (i > 0) Check(walls[i] > walls[i - 1]);
  }
  // From the start, from the first occurrence and from the middle of the range.
  for (Time32 after : {Time32{-2000000000}, Time32{0}, Time32{1796605200}}) {
    std::vector<Time32> moments = series.ListAfter(after, 4);
    for (std::size_t i = 0; i < moments.size(); ++i) Check(moments[i] > (i == 0 ? after : moments[i - 1]));
    Check(series.FirstAfter(after) == (moments.empty() ? std::nullopt : std::optional<Time32>(moments[0])));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  RepeatRule rule;
  if (ParseRepeatRule(bytes, &rule).ok()) {
    RepeatRule again;
    Check(ParseRepeatRule(FormatRepeatRule(rule), &again).ok() && again == rule);
  }

  RepeatRules rules(bytes);
  const std::string normalized = rules.ToBytes();
  Check(RepeatRules(normalized).ToBytes() == normalized);
  std::vector<Time32> existing;
  for (const RepeatEntry* entry : rules.Unreadable()) {
    Check(!entry->problem.empty());
    existing.push_back(entry->created);
  }

  // Saved with every event still there, the file is only normalized.
  MemoryFileSystem fs;
  fs.files["repeat.ini"] = bytes;
  RepeatStore store(fs, "repeat.ini");
  RepeatRules loaded;
  Check(store.Load(&loaded).ok());
  std::vector<Time32> all;
  for (const RepeatEntry* entry : loaded.Unreadable()) all.push_back(entry->created);
  for (Time32 created : {Time32{0}, Time32{1796605200}}) all.push_back(created);
  // (Readable entries are found by trying the creation times the file names.)
  const IniFile document(bytes);  // outlives the views its sections hand out
  for (const IniFile::Section& section : document.Sections()) {
    if (std::optional<Time32> created = CreationTimeOfSection(section.name)) {
      all.push_back(*created);
      if (const RepeatSeries* series = loaded.SeriesOf(*created)) CheckSeries(*series);
    }
  }
  loaded.DropVanished(all);
  Check(store.Save(loaded).ok());
  Check(fs.files.count("repeat.ini") == 0 ? bytes.empty() && loaded.empty()
                                          : fs.files["repeat.ini"] == normalized);

  // A new rule and the loss of every readable one leave each unreadable section as it was.
  WallSeconds start = 0;
  Check(ParseWallTime("2026-12-08 09:00:00", &start));
  loaded.Set(1796605201, RepeatSeries(start, RepeatRule{}));
  existing.push_back(1796605201);
  loaded.DropVanished(existing);
  Check(store.Save(loaded).ok());
  RepeatRules after(fs.files["repeat.ini"]);
  for (const RepeatEntry* entry : rules.Unreadable()) {
    if (entry->created == 1796605201) continue;
    const RepeatEntry* kept = after.Find(entry->created);
    Check(kept != nullptr && !kept->series && kept->rule_text == entry->rule_text &&
          kept->start_text == entry->start_text);
  }
  Check(after.SeriesOf(1796605201) != nullptr);
  return 0;
}
