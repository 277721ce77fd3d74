// MainDialog: the event list and the commands on it (views, find, add,
// modify, delete). The controller decides; this file turns the user's
// clicks into its calls and shows what comes back.
#include "app/confirm_dialog.h"
#include "app/main_dialog.h"
#include "app/main_texts.h"
#include "dialogs/event_editor_dialog.h"
#include "dialogs/find_event_dialog.h"
#include "framework/menu.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "grid/grid_notify.h"
#include "res/resource.h"

namespace {

constexpr int kRowMenuPopup = 0;

int RowOf(NMHDR* header) { return reinterpret_cast<GridNotify*>(header)->iRow; }

}  // namespace

HWND MainDialog::ViewSelector() const { return GetDlgItem(hwnd(), IDC_MAIN_VIEW_SELECTOR); }

void MainDialog::RefreshList() {
  EventPtrList rows;
  std::vector<EventKey> keys;
  controller_.FillRows(rows, keys);
  grid_.ShowEvents(rows, keys, controller_.view_mode(), &controller_.rules());
  ShowNextReminderTip();
  grid_.FitColumns();

  const PickedRow::Kept kept = picked_row_.Refilled(controller_.selected(), keys);
  controller_.Select(kept.key);
  if (kept.row < 0) return;
  const int last_column = grid_.GetColumnCount() - 1;
  grid_.SetSelectedRange(grid::CellRange{kept.row, 0, kept.row, last_column});
  grid_.SetFocusCell(kept.row, 0);
}

void MainDialog::PickRow(int row) {
  picked_row_.Pick(row);
  controller_.Select(grid_.KeyAt(row));
}

void MainDialog::Present(const ControllerResult& result) {
  for (const Notice& notice : result.notices) {
    const UINT icon = notice.kind == Notice::Kind::kDamagedKeptAs ? MB_ICONINFORMATION
                      : notice.kind == Notice::Kind::kSaveFailed  ? MB_ICONWARNING
                                                                  : MB_ICONEXCLAMATION;
    win::MessageBox(hwnd(), notice.text, kProgramTitle, MB_OK | icon);
  }
  if (result.list_changed) RefreshList();
  if (result.saved && sync_worker_ != nullptr) sync_worker_->LocalChange();
}

LRESULT MainDialog::OnDateChanged(NMHDR*) {
  UpdateData(true);
  controller_.ShowDay(timePicker);
  SendMessageW(ViewSelector(), CB_SETCURSEL, 0, 0);
  RefreshList();
  return 0;
}

void MainDialog::OnViewSelected() {
  const LRESULT index = SendMessageW(ViewSelector(), CB_GETCURSEL, 0, 0);
  if (index >= 0 && index < static_cast<LRESULT>(std::size(kViewOfSelectorEntry))) {
    controller_.ShowView(kViewOfSelectorEntry[index]);
  }
  RefreshList();
}

void MainDialog::OnFind() {
  FindEventDialog find;
  if (find.DoModal() != IDOK) return;
  controller_.ShowMatches(find.strKeyword);
  RefreshList();
}

void MainDialog::OnAdd() {
  AddEventDialog add(ad_pool_.PickAd());
  if (add.DoModal() != IDOK) return;
  std::optional<CMyEvent> event = add.TakeEvent();
  if (!event) return;
  Present(controller_.Add(std::move(*event), add.repeat_rule()));
}

LRESULT MainDialog::OnGridClick(NMHDR* header) {
  // A click below the last row hits no cell (row -1): the grid keeps the
  // highlighted row, and so does the pick, so Modify and Delete act on it.
  const int row = RowOf(header);
  if (row >= 0 && grid_.GetSelectedCount() > 0) PickRow(row);
  return 0;
}

LRESULT MainDialog::OnGridRightClick(NMHDR* header) {
  const int row = RowOf(header);
  if (row < 0) return 0;
  PickRow(row);
  ShowResourcePopupMenu(hwnd(), IDR_ROW_MENU, kRowMenuPopup);
  return 0;
}

LRESULT MainDialog::OnGridDoubleClick(NMHDR* header) {
  const int row = RowOf(header);
  if (row != 0) ModifyEvent(grid_.KeyAt(row));
  return 0;
}

void MainDialog::OnModify() { ModifyEvent(controller_.selected()); }

void MainDialog::ModifyEvent(EventKey key) {
  const CMyEvent* event = controller_.events().Find(key);
  if (event == nullptr) return;
  const CMyEvent before = *event;
  ModifyEventDialog modify(before, controller_.RuleOf(key));
  if (modify.DoModal() != IDOK) return;
  // Applied to the event as it is now: while the dialog was open an
  // answered reminder or another program may have changed or deleted it.
  const ControllerResult result = controller_.Modify(key, before, modify.edited(), modify.repeat_edit());
  Present(result);
  if (result.event_gone) KeepEditAsNewEvent(modify.edited(), modify.repeat_edit().rule);
}

void MainDialog::KeepEditAsNewEvent(const CMyEvent& edited, const std::optional<RepeatRule>& rule) {
  // Deleted elsewhere while the user edited it: what they typed is not
  // dropped without a word; they decide whether it becomes a new event.
  ConfirmDialog question(kEditedEventGone);
  if (question.DoModal() != IDOK) return;
  CMyEvent event = edited;
  event.timeCreate = NowTime();
  Present(controller_.Add(event, event.bRemind != 0 ? rule : std::nullopt));
}

void MainDialog::OnDelete() {
  // The event the user pointed at, before the question: the list may be
  // rebuilt while it is asked.
  const EventKey key = controller_.selected();
  if (key.created == 0) return;
  ConfirmDialog question(kDeleteQuestion);
  if (question.DoModal() != IDOK) return;
  Present(controller_.Delete(key));
}
