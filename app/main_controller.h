#pragma once
// MainController: what the main window does with the events, without a
// window. It keeps the view (which events the grid lists) and the event the
// user picked, makes every change the same way (take in what another program
// wrote, make the change, save), remembers changes that could not be saved
// yet and replays them onto whatever the file holds next, and decides what
// the user must be told. The window turns its messages into calls here and
// shows the notices it gets back.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/local_time.h"
#include "events/event_folder.h"
#include "events/event_key.h"
#include "events/event_list.h"
#include "events/event_repeats.h"
#include "events/event_view_rows.h"
#include "reminders/reminder_answer.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"

// One message box for the user.
struct Notice {
  enum class Kind {
    kDamagedFile,    // event.dat could not be read completely
    kDamagedKeptAs,  // the damaged file was set aside under another name
    kSaveFailed,     // a change could not be written; it is kept
    kRepeatProblem,  // repeat.ini or a rule in it cannot be read
  };
  Kind kind;
  std::string text;  // code page 936, the whole message
};

// What a call changed and what to tell.
struct ControllerResult {
  std::vector<Notice> notices;
  bool list_changed = false;  // the grid must be filled again
  // The event the call was for is gone (another program deleted it): nothing
  // was changed, and what the user gave for it is still in their hands.
  bool event_gone = false;
  // This program's changes reached the files (a change, or a save tried
  // again): what the background sync waits for. Taking in another
  // program's writes, a sync's among them, is not one.
  bool saved = false;
};

class MainController {
 public:
  // The controller owns the program's event list, the file at
  // `event_file_path` on `file_system` (not loaded until Load); the repeat
  // rules are kept in repeat.ini beside it. A change waits up to
  // `lock_wait` for another writer of the folder; past that it is kept like
  // one that could not be saved.
  MainController(FileSystem& file_system, std::string event_file_path,
                 std::chrono::milliseconds lock_wait = EventFolder::kWindowWait);

  // The list, to read. Every change goes through the calls below, and
  // anything else that changes the folder (tallyo-cli, a sync, another copy
  // of the program) writes the files, which Tick takes in: the list has no
  // other door.
  const EventList& events() const { return events_; }

  // --- the view ---
  int view_mode() const { return view_mode_; }
  Time32 view_day() const { return view_day_; }
  const std::string& keyword() const { return keyword_; }
  // The day view (0) of the local day of `day`.
  void ShowDay(Time32 day);
  // One of the views the selector offers (0, 1, 2, 4); the day view keeps its day.
  void ShowView(int view_mode);
  // The matches of `keyword` (view 3).
  void ShowMatches(std::string keyword);
  // The events of the current view, in the order the grid lists them, and
  // the key of each.
  void FillRows(EventPtrList& rows, std::vector<EventKey>& keys) const;

  // --- the event the user picked (creation time 0: none) ---
  void Select(EventKey key) { selected_ = key; }
  EventKey selected() const { return selected_; }

  // --- repeating reminders ---
  const RepeatRules& rules() const { return rules_; }
  // The rule of the event named by `key`; nullptr for a one-off.
  const RepeatRule* RuleOf(EventKey key) const;
  // The popup's line for it at `now` ("每天重复 · 下次 ..."); empty for a one-off.
  std::string RepeatLine(EventKey key, Time32 now) const;

  // --- loading and changing ---
  // At start: a damaged or unreadable file is told; the records read before
  // the fault are kept. So is a rule that cannot be read.
  ControllerResult Load();
  // `event`'s creation time is moved to the next free second if taken. With
  // a rule, the series starts at its reminder time.
  ControllerResult Add(CMyEvent event, const std::optional<RepeatRule>& rule = std::nullopt);
  // Applies what the user changed between `before` (the event as the dialog
  // opened it) and `after` (as it was confirmed) to the event named by
  // `key`, as it is now: a field the user left alone keeps its current
  // value, which may have changed meanwhile (an answered reminder, another
  // program). If the event is gone nothing happens and the result says so
  // (event_gone), so the user can keep the edit as a new event. Keys are looked up
  // afresh for every change, after what another program wrote is taken in.
  // A new reminder time or another "重复" entry starts the series anew at
  // the reminder time; no reminder, no rule.
  ControllerResult Modify(EventKey key, const CMyEvent& before, const CMyEvent& after,
                          const RepeatEdit& repeat = {});
  // Deletes the event and its rule.
  ControllerResult Delete(EventKey key);
  // The answer to a reminder popup, given at `now`: "done" moves a repeating
  // reminder to its next occurrence and deletes any other; the other
  // answers move this one alert.
  ControllerResult Answer(EventKey key, const ReminderAnswer& answer, Time32 now);

  // The one-second look at event.dat: takes in what another program wrote
  // (replaying the changes not saved yet onto it) and tries a failed save
  // again, quietly.
  ControllerResult Tick();

  // Changes that are in the list but not in event.dat yet.
  bool HasUnsavedChanges() const { return !unsaved_.empty() || rules_unsaved_; }
  // The last save stopped at repeat.ini, which is written before event.dat:
  // what an exit now would lose waits on rule changes.
  bool RuleFileBehind() const { return rules_unsaved_; }
  // One more try at writing them before the program ends; true when nothing
  // is left unsaved.
  bool SaveBeforeExit();

 private:
  using Change = std::function<bool(EventList&, RepeatRules&)>;
  enum class Quiet { kNo, kYes };

  // Takes in outside changes, makes `change`, saves. A change that found
  // nothing to change (the event is gone) writes nothing.
  ControllerResult Make(Change change);
  // Reloads a changed file and replays the unsaved changes onto it.
  void TakeIn(ControllerResult& result);
  // One pass through the folder's door: under its lock, takes in, makes
  // `change` (none: saves what is unsaved), saves. A failure keeps the
  // changes for the next try and is told unless `quiet`; a lock held by
  // another writer is not told.
  void Write(ControllerResult& result, const Change* change, Quiet quiet, std::chrono::milliseconds wait);
  // Makes `change` in memory and keeps it until it is saved.
  bool Apply(const Change& change, ControllerResult& result);
  void TellSaveResult(const FolderChangeOutcome& outcome, ControllerResult& result, Quiet quiet);
  void WaitBeforeRetry();
  void TellLoadProblem(const LoadResult& load, ControllerResult& result);
  void TellRepeatProblems(ControllerResult& result);

  EventList events_;
  int view_mode_ = VIEW_BY_DATE;
  Time32 view_day_ = 0;
  std::string keyword_;
  EventKey selected_;
  RepeatRules rules_;
  // The rules as they were before the first change not saved yet: what
  // tells this program's rule changes from another program's.
  RepeatRules rules_before_changes_;
  RepeatStore repeat_store_;
  EventFolder folder_;
  std::chrono::milliseconds lock_wait_;
  // Applied to the list, not yet saved: replayed after every reload.
  std::vector<Change> unsaved_;
  // repeat.ini could not be saved (nor event.dat after it).
  bool rules_unsaved_ = false;
  // Ticks to wait before the next quiet retry, and the wait after that.
  int retry_wait_ = 0;
  int retry_backoff_ = 1;
};
