#include "app/main_controller.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

#include "app/main_texts.h"
#include "base/cp936.h"

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

MainController::MainController(EventList& events) : events_(events), view_day_(NowTime()) {}

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
  return result;
}

ControllerResult MainController::Add(CMyEvent event) {
  return Make([event = std::move(event)](EventList& list) {
    // Another copy of the program or tallyo-cli may have made an event in
    // the same second: the new one takes the next free second.
    list.AddNew(event);
    return true;
  });
}

ControllerResult MainController::Modify(EventKey key, const CMyEvent& before, const CMyEvent& after) {
  return Make([key, before, after](EventList& list) {
    CMyEvent* record = list.Find(key);
    if (record == nullptr) return false;
    ApplyEdit(before, after, *record);
    return true;
  });
}

ControllerResult MainController::Delete(EventKey key) {
  return Make([key](EventList& list) { return list.Delete(key); });
}

ControllerResult MainController::Answer(EventKey key, const ReminderAnswer& answer, Time32 now) {
  return Make([key, answer, now](EventList& list) { return ApplyReminderAnswer(list, key, answer, now); });
}

ControllerResult MainController::Make(Change change) {
  ControllerResult result;
  TakeIn(result);
  if (!change(events_)) return result;
  result.list_changed = true;
  unsaved_.push_back(std::move(change));
  Save(result, Quiet::kNo);
  return result;
}

ControllerResult MainController::Tick() {
  ControllerResult result;
  TakeIn(result);
  if (!unsaved_.empty() && --retry_wait_ <= 0) Save(result, Quiet::kYes);
  return result;
}

bool MainController::SaveBeforeExit() {
  if (unsaved_.empty()) return true;
  ControllerResult ignored;
  TakeIn(ignored);
  Save(ignored, Quiet::kYes);
  return unsaved_.empty();
}

void MainController::TakeIn(ControllerResult& result) {
  bool reloaded = false;
  LoadResult load = events_.ReloadIfChanged(&reloaded);
  // An unreadable file is tried again at the next look; only damage is told.
  if (load.kind == LoadResult::Kind::kDamaged) TellLoadProblem(load, result);
  if (!reloaded) return;
  result.list_changed = true;
  // What this program did and could not save yet goes onto what the file holds now.
  for (const Change& change : unsaved_) change(events_);
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

void MainController::TellLoadProblem(const LoadResult& load, ControllerResult& result) {
  if (load.ok()) return;
  result.notices.push_back({Notice::Kind::kDamagedFile, load.message});
}
