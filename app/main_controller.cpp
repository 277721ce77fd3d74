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

// The fields of `after` that differ from `before` go into `record`.
void ApplyEdit(const CMyEvent& before, const CMyEvent& after, CMyEvent& record) {
  if (after.strTitle != before.strTitle.view()) record.strTitle = after.strTitle;
  if (after.strContent != before.strContent.view()) record.strContent = after.strContent;
  const bool reminder_changed =
      after.bRemind != before.bRemind || (after.bRemind != 0 && after.timeRemind != before.timeRemind);
  if (reminder_changed) {
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

}  // namespace

MainController::MainController(EventList& events, FileSystem& file_system)
    : events_(events),
      view_day_(NowTime()),
      repeat_store_(file_system, RepeatFilePathBeside(events.FilePath())) {}

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
  return RepeatPopupLine(series->rule(), series->FirstAfter(now));
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
    const bool reminder_changed =
        after.bRemind != before.bRemind || (after.bRemind != 0 && after.timeRemind != before.timeRemind);
    if (repeat.changed || reminder_changed) {
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
  TakeIn(result);
  if (!HasUnsavedChanges()) rules_before_changes_ = rules_;
  if (!change(events_, rules_)) {
    result.event_gone = true;
    return result;
  }
  result.list_changed = true;
  unsaved_.push_back(std::move(change));
  Save(result, Quiet::kNo);
  return result;
}

ControllerResult MainController::Tick() {
  ControllerResult result;
  TakeIn(result);
  if (HasUnsavedChanges() && --retry_wait_ <= 0) {
    if (!unsaved_.empty()) {
      Save(result, Quiet::kYes);
    } else {
      SaveRules(result, Quiet::kYes);
    }
  }
  return result;
}

bool MainController::SaveBeforeExit() {
  if (!HasUnsavedChanges()) return true;
  ControllerResult ignored;
  TakeIn(ignored);
  if (!unsaved_.empty()) {
    Save(ignored, Quiet::kYes);
  } else {
    SaveRules(ignored, Quiet::kYes);
  }
  return !HasUnsavedChanges();
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
  }
  if (!reloaded) return;
  result.list_changed = true;
  // What this program did and could not save yet goes onto what the file
  // holds now.
  for (const Change& change : unsaved_) change(events_, rules_);
  if (!unsaved_.empty()) retry_wait_ = 0;
}

void MainController::Save(ControllerResult& result, Quiet quiet) {
  Status saved;
  if (events_.HasDamagedFile()) {
    std::string aside;
    saved = events_.SetAsideDamagedFile(&aside);
    if (!aside.empty()) {
      result.notices.push_back({Notice::Kind::kDamagedKeptAs, std::string(kDamagedKeptAs) + "\r\n" + aside});
    }
  }
  if (saved.ok()) saved = events_.SaveEvents();
  if (saved.ok()) {
    unsaved_.clear();
    retry_wait_ = 0;
    retry_backoff_ = 1;
    // event.dat first, then repeat.ini: a crash in between may lose a rule
    // change, never an event.
    SaveRules(result, quiet);
    return;
  }
  retry_wait_ = retry_backoff_;
  retry_backoff_ = std::min(retry_backoff_ * 2, kLongestRetryWait);
  if (quiet == Quiet::kYes) return;
  std::string text = std::string(kSaveFailed) + "\r\n" + saved.message();
  if (saved.code() == Status::Code::kAccessDenied) {
    text += std::string("\r\n") + kFolderNotWritable + FolderOf(events_.FilePath());
  }
  text += std::string("\r\n\r\n") + kChangeKept;
  result.notices.push_back({Notice::Kind::kSaveFailed, std::move(text)});
}

void MainController::SaveRules(ControllerResult& result, Quiet quiet) {
  const Status saved = repeat_store_.Save(rules_, CreationTimes(events_));
  rules_unsaved_ = !saved.ok();
  if (saved.ok()) {
    if (!HasUnsavedChanges()) rules_before_changes_ = RepeatRules{};
    return;
  }
  retry_wait_ = retry_backoff_;
  retry_backoff_ = std::min(retry_backoff_ * 2, kLongestRetryWait);
  if (quiet == Quiet::kYes) return;
  result.notices.push_back({Notice::Kind::kSaveFailed, std::string(kRepeatFileNotSaved) + "\r\n" +
                                                           saved.message() + "\r\n\r\n" + kChangeKept});
}

void MainController::TellRepeatProblems(ControllerResult& result) {
  for (const RepeatProblem& problem : repeat_store_.TakeNewProblems(rules_)) {
    const CMyEvent* event = events_.FindByCreateTime(problem.created);
    const std::string title =
        event != nullptr ? std::string(event->strTitle) : std::to_string(problem.created);
    result.notices.push_back(
        {Notice::Kind::kRepeatProblem, UnreadableRepeatMessage(title, problem.rule_text)});
  }
}

void MainController::TellLoadProblem(const LoadResult& load, ControllerResult& result) {
  if (load.ok()) return;
  result.notices.push_back({Notice::Kind::kDamagedFile, load.message});
}
