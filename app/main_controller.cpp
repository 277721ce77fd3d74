#include "app/main_controller.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

#include "app/main_texts.h"
#include "base/cp936.h"
#include "events/event_repeats.h"
#include "repeat/repeat_texts.h"

namespace {

// A failed save is tried again at every tick at first, then less often, up
// to once in this many ticks (a disk that stays full is not written every
// second for hours).
constexpr int kLongestRetryWait = 16;
// The tick's try to save waits this long for another writer of the folder,
// and tries again at the next tick.
constexpr std::chrono::milliseconds kTickLockWait{50};

// The fields of `after` that differ from `before` go into `record`.
// The user changed the reminder: turned it on or off, or gave another time.
bool ReminderChanged(const CMyEvent& before, const CMyEvent& after) {
  return after.bRemind != before.bRemind || (after.bRemind != 0 && after.timeRemind != before.timeRemind);
}

void ApplyEdit(const CMyEvent& before, const CMyEvent& after, CMyEvent& record) {
  if (after.strTitle != before.strTitle.view()) record.strTitle = after.strTitle;
  if (after.strContent != before.strContent.view()) record.strContent = after.strContent;
  if (ReminderChanged(before, after)) {
    record.bRemind = after.bRemind;
    record.timeRemind = after.timeRemind;
  }
}

// The folder part of a file's full path, by characters of code page 936 (a
// trail byte may look like a backslash).
std::string FolderOf(const std::string& path) {
  std::size_t last_separator = std::string::npos;
  for (std::size_t i = 0; i < path.size(); i += cp936::CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == '/') last_separator = i;
  }
  return last_separator == std::string::npos ? path : path.substr(0, last_separator);
}

// The message for a change that could not be written to the events' folder.
std::string SaveFailedText(const Status& status, const std::string& event_file_path) {
  std::string text = std::string(kSaveFailed) + "\r\n" + status.message();
  if (status.code() == Status::Code::kAccessDenied) {
    text += std::string("\r\n") + kFolderNotWritable + FolderOf(event_file_path);
  }
  return text + "\r\n\r\n" + kChangeKept;
}

}  // namespace

MainController::MainController(FileSystem& file_system, std::string event_file_path,
                               std::chrono::milliseconds lock_wait)
    : events_(file_system, std::move(event_file_path)),
      view_day_(NowTime()),
      repeat_store_(file_system, RepeatFilePathBeside(events_.FilePath())),
      folder_(file_system, events_, rules_, repeat_store_),
      lock_wait_(lock_wait) {}

const RepeatRule* MainController::RuleOf(EventKey key) const {
  const CMyEvent* event = events_.Find(key);
  if (event == nullptr) return nullptr;
  const RepeatSeries* series = SeriesOfEvent(rules_, *event, key);
  return series != nullptr ? &series->rule() : nullptr;
}

std::string MainController::RepeatLine(EventKey key, Time32 now) const {
  const CMyEvent* event = events_.Find(key);
  if (event == nullptr) return {};
  const RepeatSeries* series = SeriesOfEvent(rules_, *event, key);
  if (series == nullptr) return {};
  return RepeatPopupLine(*series, series->FirstAfter(now));
}

// --- the view ---

void MainController::ShowDay(Time32 day) {
  view_mode_ = VIEW_BY_DATE;
  view_day_ = day;
}

void MainController::ShowView(int view_mode) { view_mode_ = view_mode; }

void MainController::ShowMatches(std::string keyword) {
  view_mode_ = VIEW_KEYWORD;
  keyword_ = std::move(keyword);
}

void MainController::FillRows(EventPtrList& rows, std::vector<EventKey>& keys) const {
  FillView(events_, view_mode_, view_day_, keyword_, rows);
  keys = events_.KeysOf(rows);
}

// --- loading and changing ---

ControllerResult MainController::Load() {
  ControllerResult result;
  result.list_changed = true;
  TellLoadProblem(events_.LoadEvents(), result);
  const Status rules = repeat_store_.Load(&rules_);
  if (!rules.ok())
    result.notices.push_back({Notice::Kind::kRepeatProblem, kRepeatFileUnreadable + rules.message()});
  BindRules(events_, rules_);
  TellRepeatProblems(result);
  return result;
}

ControllerResult MainController::Add(CMyEvent event, const std::optional<RepeatRule>& rule) {
  return Make([event = std::move(event), rule](EventList& list, RepeatRules& rules) {
    // Another copy of the program or tallyo-cli may have made an event in
    // the same second: the new one takes the next free second.
    const CMyEvent& added = list.AddNew(event);
    if (rule) SetEventRepeat(list, rules, list.KeyOf(added), rule);
    return true;
  });
}

ControllerResult MainController::Modify(EventKey key, const CMyEvent& before, const CMyEvent& after,
                                        const RepeatEdit& repeat) {
  return Make([key, before, after, repeat](EventList& list, RepeatRules& rules) {
    CMyEvent* record = list.Find(key);
    if (record == nullptr) return false;
    ApplyEdit(before, after, *record);
    if (repeat.changed || ReminderChanged(before, after)) {
      // The series starts again at the reminder time the dialog gave.
      SetEventRepeat(list, rules, key, after.bRemind != 0 ? repeat.rule : std::nullopt);
    }
    return true;
  });
}

ControllerResult MainController::Delete(EventKey key) {
  return Make([key](EventList& list, RepeatRules& rules) { return DeleteEventAndRule(list, rules, key); });
}

ControllerResult MainController::Answer(EventKey key, const ReminderAnswer& answer, Time32 now) {
  return Make([key, answer, now](EventList& list, RepeatRules& rules) {
    if (answer.fields.nChoice != kNoReminder) return ApplyReminderAnswer(list, key, answer, now);
    // Done: the body edited in the popup goes with the event when it repeats.
    CMyEvent* event = list.Find(key);
    if (event == nullptr) return false;
    event->strContent = answer.strContent;
    return AcknowledgeReminder(list, rules, key, now) != AcknowledgeResult::kGone;
  });
}

ControllerResult MainController::Make(Change change) {
  ControllerResult result;
  Write(result, &change, Quiet::kNo, lock_wait_);
  return result;
}

ControllerResult MainController::Tick() {
  ControllerResult result;
  TakeIn(result);
  if (HasUnsavedChanges() && --retry_wait_ <= 0) Write(result, nullptr, Quiet::kYes, kTickLockWait);
  return result;
}

bool MainController::SaveBeforeExit() {
  if (!HasUnsavedChanges()) return true;
  ControllerResult ignored;
  Write(ignored, nullptr, Quiet::kYes, lock_wait_);
  return !HasUnsavedChanges();
}

bool MainController::Apply(const Change& change, ControllerResult& result) {
  if (!HasUnsavedChanges()) rules_before_changes_ = rules_;
  if (!change(events_, rules_)) return false;
  result.list_changed = true;
  unsaved_.push_back(change);
  return true;
}

void MainController::Write(ControllerResult& result, const Change* change, Quiet quiet,
                           std::chrono::milliseconds wait) {
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = wait;
  options.take_in = [&](FolderChangeOutcome&) {
    TakeIn(result);
    return true;
  };
  const FolderChangeOutcome outcome = folder_.Make(
      [&](EventList&, RepeatRules&) { return change == nullptr || Apply(*change, result); }, options);
  if (outcome.lock.ok()) {
    if (outcome.applied) {
      TellSaveResult(outcome, result, quiet);
    } else if (change != nullptr) {
      result.event_gone = true;
    }
    return;
  }
  // The change waits in memory, as one that could not be saved does, and
  // goes onto what the files hold at the next try.
  if (change != nullptr && !Apply(*change, result)) {
    result.event_gone = true;
    return;
  }
  if (outcome.lock.code() == Status::Code::kBusy) {
    retry_wait_ = 1;  // another writer: the next tick tries again
    return;
  }
  WaitBeforeRetry();
  if (quiet == Quiet::kYes) return;
  result.notices.push_back({Notice::Kind::kSaveFailed, SaveFailedText(outcome.lock, events_.FilePath())});
}

void MainController::WaitBeforeRetry() {
  retry_wait_ = retry_backoff_;
  retry_backoff_ = std::min(retry_backoff_ * 2, kLongestRetryWait);
}

void MainController::TakeIn(ControllerResult& result) {
  bool reloaded = false;
  LoadResult load = events_.ReloadIfChanged(&reloaded);
  // An unreadable file is tried again at the next look; only damage is told.
  if (load.kind == LoadResult::Kind::kDamaged) TellLoadProblem(load, result);
  bool rules_reloaded = false;
  RepeatRules fresh;
  const Status rules = repeat_store_.ReloadIfChanged(&fresh, &rules_reloaded);
  if (!rules.ok())
    result.notices.push_back({Notice::Kind::kRepeatProblem, kRepeatFileUnreadable + rules.message()});
  if (rules_reloaded) {
    BindRules(events_, fresh);
    if (HasUnsavedChanges()) {
      // Rule changes of this program not saved yet stay on top of what the
      // other program wrote, which it now counts as seen.
      RepeatRules theirs = fresh;
      fresh.TakeChanges(rules_before_changes_, rules_);
      rules_before_changes_ = std::move(theirs);
    }
    rules_ = std::move(fresh);
    result.list_changed = true;
    TellRepeatProblems(result);
  } else if (reloaded) {
    BindRules(events_, rules_);  // an older tool may have deleted an event of a shared second
  }
  if (!reloaded) return;
  result.list_changed = true;
  // What this program did and could not save yet goes onto what the file
  // holds now.
  for (const Change& change : unsaved_) change(events_, rules_);
  if (!unsaved_.empty()) retry_wait_ = 0;
}

void MainController::TellSaveResult(const FolderChangeOutcome& outcome, ControllerResult& result,
                                    Quiet quiet) {
  if (!outcome.aside_path.empty()) {
    result.notices.push_back(
        {Notice::Kind::kDamagedKeptAs, std::string(kDamagedKeptAs) + "\r\n" + outcome.aside_path});
  }
  if (outcome.all_saved()) {
    result.saved = true;
    unsaved_.clear();
    rules_unsaved_ = false;
    rules_before_changes_ = RepeatRules{};
    retry_wait_ = 0;
    retry_backoff_ = 1;
    return;
  }
  // repeat.ini is saved before event.dat: when it fails, neither is.
  rules_unsaved_ = !outcome.rules_save.ok();
  WaitBeforeRetry();
  if (quiet == Quiet::kYes) return;
  if (!outcome.rules_save.ok()) {
    result.notices.push_back({Notice::Kind::kSaveFailed, std::string(kRepeatFileNotSaved) + "\r\n" +
                                                             outcome.rules_save.message() + "\r\n\r\n" +
                                                             kChangeKept});
  } else {
    result.notices.push_back({Notice::Kind::kSaveFailed, SaveFailedText(outcome.save, events_.FilePath())});
  }
}

void MainController::TellRepeatProblems(ControllerResult& result) {
  // One message for all of them, however many.
  const RepeatProblems problems = repeat_store_.TakeNewProblems(rules_);
  if (problems.empty()) return;
  auto title_of = [this](Time32 created) {
    const CMyEvent* event = events_.FindByCreateTime(created);
    return event != nullptr ? std::string(event->strTitle) : std::to_string(created);
  };
  result.notices.push_back(
      {Notice::Kind::kRepeatProblem, RepeatProblemsMessage(problems, title_of, repeat_store_.FilePath())});
}

void MainController::TellLoadProblem(const LoadResult& load, ControllerResult& result) {
  if (load.ok()) return;
  result.notices.push_back({Notice::Kind::kDamagedFile, load.message});
}
