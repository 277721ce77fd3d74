// MainDialog: the event list and the commands on it (views, find, add,
// modify, delete), and how every change reaches event.dat.
#include "app/confirm_dialog.h"
#include "app/main_dialog.h"
#include "app/main_texts.h"
#include "dialogs/event_editor_dialog.h"
#include "framework/menu.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "grid/grid_notify.h"
#include "res/resource.h"

namespace {

constexpr int kRowMenuPopup = 0;

int RowOf(NMHDR* header) { return reinterpret_cast<GridNotify*>(header)->iRow; }

}  // namespace

void MainDialog::RefreshList() {
  EventPtrList result;
  FillView(events_, nViewMode, timeViewDate, strKeyword, result);
  grid_.ShowEvents(result, nViewMode);
  grid_.FitColumnsToWidth(/*include_fixed=*/true);
  HighlightCurrentRow();
}

void MainDialog::HighlightCurrentRow() {
  if (nCurRow < grid_.GetFixedRowCount() || nCurRow >= grid_.GetRowCount()) return;
  const int last_column = grid_.GetColumnCount() - 1;
  grid_.SetSelectedRange(grid::CellRange{nCurRow, 0, nCurRow, last_column});
  grid_.SetFocusCell(nCurRow, 0);
}

LRESULT MainDialog::OnDateChanged(NMHDR*) {
  UpdateData(true);
  nViewMode = VIEW_BY_DATE;
  timeViewDate = timePicker;
  SendMessageW(ViewSelector(), CB_SETCURSEL, 0, 0);
  RefreshList();
  return 0;
}

void MainDialog::OnViewSelected() {
  const LRESULT index = SendMessageW(ViewSelector(), CB_GETCURSEL, 0, 0);
  if (index >= 0 && index < static_cast<LRESULT>(std::size(kViewOfSelectorEntry))) {
    nViewMode = static_cast<std::int8_t>(kViewOfSelectorEntry[index]);
  }
  RefreshList();
}

void MainDialog::OnFind() {
  FindEventDialog find;
  if (find.DoModal() != IDOK) return;
  nViewMode = VIEW_KEYWORD;
  strKeyword = find.strKeyword;
  RefreshList();
}

void MainDialog::OnAdd() {
  AddEventDialog add(ad_pool_.PickAd());
  if (add.DoModal() != IDOK) return;
  std::unique_ptr<CMyEvent> event = add.TakeEvent();
  if (event == nullptr) return;
  ChangeAndSave([&](EventList& list) {
    list.AddNew(std::move(*event));
    return true;
  });
}

LRESULT MainDialog::OnGridClick(NMHDR* header) {
  // A click below the last row hits no cell (row -1): the grid keeps the
  // highlighted row, and so does nCurRow, so Modify and Delete act on it.
  const int row = RowOf(header);
  if (row >= 0 && grid_.GetSelectedCount() > 0) nCurRow = row;
  return 0;
}

LRESULT MainDialog::OnGridRightClick(NMHDR* header) {
  const int row = RowOf(header);
  if (row < 0) return 0;
  nCurRow = row;
  ShowResourcePopupMenu(hwnd(), IDR_ROW_MENU, kRowMenuPopup);
  return 0;
}

LRESULT MainDialog::OnGridDoubleClick(NMHDR* header) {
  const int row = RowOf(header);
  if (row != 0) ModifyEvent(grid_.CreatedAt(row));
  return 0;
}

void MainDialog::OnModify() { ModifyEvent(grid_.CreatedAt(nCurRow)); }

void MainDialog::ModifyEvent(Time32 created) {
  const CMyEvent* event = events_.FindByCreateTime(created);
  if (event == nullptr) return;
  ModifyEventDialog modify(*event);
  if (modify.DoModal() != IDOK) return;
  const CMyEvent edited = modify.edited();
  // Applied to the record found again now: while the dialog was open an
  // answered reminder or another program may have deleted or replaced it.
  ChangeAndSave(
      [&](EventList& list) {
        CMyEvent* record = list.FindByCreateTime(created);
        if (record == nullptr) return false;
        record->strTitle = edited.strTitle;
        record->strContent = edited.strContent;
        record->bRemind = edited.bRemind;
        record->timeRemind = edited.timeRemind;
        return true;
      },
      SaveWhen::kIfApplied);
}

void MainDialog::OnDelete() {
  // The event the user pointed at, before the question: the list may be
  // rebuilt while it is asked.
  const Time32 created = grid_.CreatedAt(nCurRow);
  ConfirmDialog question(kDeleteQuestion);
  if (question.DoModal() != IDOK) return;
  ChangeAndSave([&](EventList& list) { return list.DeleteByCreateTime(created); });
}

void MainDialog::ChangeAndSave(const std::function<bool(EventList&)>& change, SaveWhen save_when) {
  ChangeOutcome outcome = ChangeEvents(events_, change, save_when);
  ReportOutcome(outcome);
  RefreshList();
}

void MainDialog::TakeInOutsideChanges() {
  const Time32 current = grid_.CreatedAt(nCurRow);
  bool reloaded = false;
  LoadResult result = events_.ReloadIfChanged(&reloaded);
  // An unreadable file is tried again at the next tick; only damage is told.
  if (result.kind == LoadResult::Kind::kDamaged) ReportLoadProblem(result);
  if (!reloaded) return;
  // Keep the user's row on the same event if it is still listed.
  RefreshList();
  if (current != 0) {
    for (int row = 1; row < grid_.GetRowCount(); ++row) {
      if (grid_.CreatedAt(row) == current) {
        nCurRow = row;
        HighlightCurrentRow();
        break;
      }
    }
  }
}

void MainDialog::ReportLoadProblem(const LoadResult& result) {
  win::MessageBox(hwnd(), result.message, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
}

void MainDialog::ReportOutcome(const ChangeOutcome& outcome) {
  if (outcome.reload.kind == LoadResult::Kind::kDamaged) ReportLoadProblem(outcome.reload);
  if (!outcome.aside_path.empty()) {
    win::MessageBox(hwnd(), std::string(kDamagedKeptAs) + "\r\n" + outcome.aside_path, kProgramTitle,
                    MB_OK | MB_ICONINFORMATION);
  }
  if (!outcome.save.ok()) {
    win::MessageBox(hwnd(),
                    std::string(kSaveFailed) + "\r\n" + outcome.save.message() + "\r\n\r\n" + kChangeKept,
                    kProgramTitle, MB_OK | MB_ICONWARNING);
  }
}
