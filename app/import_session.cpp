#include "app/import_session.h"

#include <algorithm>
#include <utility>

#include "app/import_texts.h"

ImportSession::ImportSession(std::string file_name) : file_name_(std::move(file_name)) {
  view_.text = kReadingBefore + file_name_ + kEllipsis;
  view_.cancel_shown = true;  // reading may be left: it changes nothing
}

void ImportSession::Planned(const ImportPlan& plan, const std::string& question, const std::string& summary) {
  if (step_ != Step::kReading) return;
  if (plan.unreadable) {
    Finish(kCannotImport + file_name_ + kColon + "\r\n" + plan.unreadable_reason + "\r\n" + kNothingChanged);
    return;
  }
  if (plan.counts.to_add + plan.counts.to_update == 0) {
    // Nothing would change: no question, only what the file holds.
    Finish(summary);
    return;
  }
  step_ = Step::kAsking;
  view_ = View{};
  view_.text = file_name_ + "\r\n" + question;
  view_.ok_shown = true;
  view_.cancel_shown = true;
}

bool ImportSession::Answered(bool import) {
  if (step_ != Step::kAsking) return false;
  if (!import) {
    step_ = Step::kDone;
    return false;
  }
  step_ = Step::kImporting;
  view_ = View{};
  view_.closable = false;
  view_.progress_shown = true;
  Progressed(0, 0);
  return true;
}

void ImportSession::Progressed(int done, int total) {
  if (step_ != Step::kImporting) return;
  view_.progress_permille = total > 0 ? ProgressPermille(done, total) : 0;
  view_.text = kImportingBefore + file_name_;
  if (total > 0) {
    view_.text += "\r\n" + std::string(kDoneSoFar) + std::to_string(done) + " / " + std::to_string(total);
  }
}

void ImportSession::Applied(const ImportOutcome& outcome, const std::string& summary) {
  if (step_ != Step::kImporting) return;
  if (!outcome.saved) {
    Finish(kCannotImport + file_name_ + kColon + "\r\n" + outcome.message + "\r\n" + kNothingChanged);
    return;
  }
  Finish(summary);
}

void ImportSession::Finish(std::string text) {
  step_ = Step::kDone;
  view_ = View{};
  view_.text = std::move(text);
  view_.ok_shown = true;
}

int ProgressPermille(int done, int total) {
  if (total <= 0) return 1000;
  const long long clamped = std::clamp(done, 0, total);
  return static_cast<int>(clamped * 1000 / total);
}

bool ProgressThrottle::ShouldReport(int done, int total, long long now_ms) {
  const int permille = ProgressPermille(done, total);
  const bool last = done >= total;
  if (reported_ && !last) {
    if (permille == last_permille_ || now_ms - last_ms_ < min_gap_ms_) return false;
  }
  reported_ = true;
  last_permille_ = permille;
  last_ms_ = now_ms;
  return true;
}
