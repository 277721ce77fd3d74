#pragma once
// RepeatStore: the file repeat.ini and what this program last knew of it,
// kept as base/watched_file.h says. The order of the saves is EventFolder's
// (events/event_folder.h).
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"
#include "base/watched_file.h"
#include "repeat/repeat_problems.h"
#include "repeat/repeat_rules.h"

class RepeatStore {
 public:
  static constexpr char kFileName[] = "repeat.ini";

  // `path`: the full path of repeat.ini (see RepeatFilePathBeside).
  RepeatStore(FileSystem& file_system, std::string path);

  // Reads the file into *rules (replacing them). A missing file gives no
  // rules. A file that exists but cannot be read leaves *rules as they are
  // and returns the error; until a load succeeds, Save refuses to replace it.
  Status Load(RepeatRules* rules);

  // Writes the rules in one step unless the file already holds exactly
  // these bytes. No rules and no file: no file. A file that could not be
  // read is not replaced (an error) when there is something to write.
  // REQUIRES: the file was loaded again if ChangedOnDisk() said so.
  Status Save(const RepeatRules& rules);

  // True when the file is not what this store last loaded or saved. Before
  // the first Load or Save the store knows of no file.
  bool ChangedOnDisk();

  // Loads the file again when ChangedOnDisk(): the one-second tick and the
  // step before every change. *reloaded tells whether *rules were replaced.
  // A file that cannot be read gives its error once, until a load succeeds.
  Status ReloadIfChanged(RepeatRules* rules, bool* reloaded);

  // What cannot be read in `rules` (the file as loaded), when it is not what
  // was told last: all of it at once, once, until it changes. Empty when
  // there is nothing new to tell.
  RepeatProblems TakeNewProblems(const RepeatRules& rules);

  const std::string& FilePath() const { return file_.FilePath(); }

 private:
  WatchedFile file_;
  std::string told_;  // what was told last, as TellingOf gives it
};

// repeat.ini in the folder of `event_file_path` (the path of event.dat),
// whichever separator the path uses.
std::string RepeatFilePathBeside(const std::string& event_file_path);
