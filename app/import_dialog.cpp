#include "app/import_dialog.h"

#include <chrono>
#include <mutex>
#include <utility>

#include "app/import_texts.h"
#include "framework/dialog_controls.h"
#include "framework/gdi.h"
#include "framework/text_boundary.h"
#include "framework/worker_thread.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

constexpr int kHorizontal = 0x1000000;
// Client pixels, as the background (tools/skin/layout.py IMPORT) leaves room.
constexpr RECT kProgressBar{72, 178, 372, 190};
constexpr int kButtonsTop = 214;
constexpr int kLeftButtonX = 110;
constexpr int kRightButtonX = 215;
constexpr int kMiddleButtonX = 162;
// The skin's colours: a recessed well, its frame, the amber accent.
constexpr COLORREF kWell = RGB(31, 66, 66);
constexpr COLORREF kWellFrame = RGB(55, 98, 98);
constexpr COLORREF kAccent = RGB(242, 170, 62);

long long SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  Brush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.get());
}

}  // namespace

// The workers keep this alive after the dialog has ended (a file still
// being read when the user cancelled); their messages to a window that is
// gone are dropped.
struct ImportDialog::Shared {
  std::unique_ptr<ImportWork> work;
  std::mutex mutex;
  PlannedImport planned;
  AppliedImport applied;
};

ImportDialog::ImportDialog(std::string file_name, std::unique_ptr<ImportWork> work, HWND parent)
    : CSkinDialog(IDD_IMPORT, parent), session_(std::move(file_name)), shared_(std::make_shared<Shared>()) {
  shared_->work = std::move(work);
}

ImportDialog::~ImportDialog() = default;

bool ImportDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_IMPORT_BACKGROUND);
  DressPushButton(ok_);
  DressPushButton(cancel_);
  DressPlateLabel(text_label_, kHorizontal);
  StartPlan();
  Show();
  return true;
}

void ImportDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Control(IDC_IMPORT_TEXT, text_label_);
}

bool ImportDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (message) {
    case kPlanned: {
      std::lock_guard<std::mutex> lock(shared_->mutex);
      const PlannedImport& planned = shared_->planned;
      session_.Planned(planned.plan, planned.question, planned.summary);
      break;
    }
    case kProgress:
      session_.Progressed(static_cast<int>(wparam), static_cast<int>(lparam));
      break;
    case kApplied: {
      std::lock_guard<std::mutex> lock(shared_->mutex);
      imported_ = shared_->applied.outcome.saved;
      session_.Applied(shared_->applied.outcome, shared_->applied.summary);
      break;
    }
    default:
      return CSkinDialog::RouteMessage(message, wparam, lparam, result);
  }
  Show();
  *result = 0;
  return true;
}

void ImportDialog::StartPlan() {
  const HWND window = hwnd();
  std::shared_ptr<Shared> shared = shared_;
  const bool started = StartWorkerThread([shared, window] {
    PlannedImport planned = shared->work->Plan();
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      shared->planned = std::move(planned);
    }
    PostMessageW(window, kPlanned, 0, 0);
  });
  if (!started) {
    ImportPlan plan;
    plan.unreadable = true;
    plan.unreadable_reason = kNoWorker;
    session_.Planned(plan, "", "");
  }
}

void ImportDialog::StartApply() {
  const HWND window = hwnd();
  std::shared_ptr<Shared> shared = shared_;
  const bool started = StartWorkerThread([shared, window] {
    ProgressThrottle throttle;
    AppliedImport applied = shared->work->Apply([&throttle, window](int done, int total) {
      if (throttle.ShouldReport(done, total, SteadyMilliseconds())) {
        PostMessageW(window, kProgress, static_cast<WPARAM>(done), static_cast<LPARAM>(total));
      }
    });
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      shared->applied = std::move(applied);
    }
    PostMessageW(window, kApplied, 0, 0);
  });
  if (!started) {
    ImportOutcome outcome;
    outcome.message = kNoWorker;
    session_.Applied(outcome, "");
  }
}

void ImportDialog::OnOK() {
  switch (session_.step()) {
    case ImportSession::Step::kAsking:
      if (session_.Answered(true)) StartApply();
      Show();
      break;
    case ImportSession::Step::kDone:
      EndDialog(imported_ ? IDOK : IDCANCEL);
      break;
    default:
      break;  // Enter while reading or importing does nothing
  }
}

void ImportDialog::OnCancel() {
  if (!session_.MayClose()) return;  // an import that runs is seen through
  if (session_.step() == ImportSession::Step::kAsking) session_.Answered(false);
  EndDialog(imported_ ? IDOK : IDCANCEL);
}

void ImportDialog::Show() {
  const ImportSession::View& view = session_.view();
  win::SetDlgItemText(hwnd(), IDC_IMPORT_TEXT, view.text);
  ShowTextScrollBarWhenNeeded();

  HWND ok = GetDlgItem(hwnd(), IDOK);
  HWND cancel = GetDlgItem(hwnd(), IDCANCEL);
  ok_.SetCaption(session_.step() == ImportSession::Step::kDone ? kCloseButton : kImportButton);
  // A hidden button is also disabled: Enter and Escape reach it otherwise.
  EnableWindow(ok, view.ok_shown ? TRUE : FALSE);
  EnableWindow(cancel, view.cancel_shown ? TRUE : FALSE);
  const bool both = view.ok_shown && view.cancel_shown;
  MoveDlgItem(hwnd(), IDOK, both ? kLeftButtonX : kMiddleButtonX, kButtonsTop);
  MoveDlgItem(hwnd(), IDCANCEL, both ? kRightButtonX : kMiddleButtonX, kButtonsTop);
  ShowWindow(ok, view.ok_shown ? SW_SHOWNA : SW_HIDE);
  ShowWindow(cancel, view.cancel_shown ? SW_SHOWNA : SW_HIDE);
  if (view.ok_shown) {
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  } else if (view.cancel_shown) {
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
  }
  InvalidateRect(hwnd(), &kProgressBar, TRUE);
}

void ImportDialog::ShowTextScrollBarWhenNeeded() {
  // A summary longer than the box scrolls; the scroll bar shows only then.
  HWND text = GetDlgItem(hwnd(), IDC_IMPORT_TEXT);
  RECT box{};
  GetClientRect(text, &box);
  const int line = FontLineHeight(text);
  const int visible_lines = line > 0 ? (box.bottom - box.top) / line : 1;
  ShowScrollBar(text, SB_VERT, FALSE);
  const LRESULT lines = SendMessageW(text, EM_GETLINECOUNT, 0, 0);
  ShowScrollBar(text, SB_VERT, lines > visible_lines ? TRUE : FALSE);
}

void ImportDialog::OnAfterPaint(HDC offscreen) {
  const ImportSession::View& view = session_.view();
  if (!view.progress_shown) return;
  Fill(offscreen, kProgressBar, kWellFrame);
  RECT well{kProgressBar.left + 1, kProgressBar.top + 1, kProgressBar.right - 1, kProgressBar.bottom - 1};
  Fill(offscreen, well, kWell);
  RECT done = well;
  done.right = well.left + (well.right - well.left) * view.progress_permille / 1000;
  if (done.right > done.left) Fill(offscreen, done, kAccent);
}
