#include "dialogs/event_list_view.h"

void EventListView::SetupColumns() {
  SetFixedRows(1);
  SetFixedColumns(0);
  SetRows(1);
  SetHeader(ViewColumns(VIEW_ALL));
  UseListMode();
}

void EventListView::ShowEvents(const EventPtrList& events, int view) {
  RemoveAllRows();
  SetHeader(ViewColumns(view));
  UseListMode();
  // One resize for all rows instead of one per row: the same grid, without
  // growing it 100 000 times for a long list.
  SetRows(static_cast<int>(events.size()) + 1);
  int row = 1;
  for (const CMyEvent* event : events) {
    const std::vector<std::string> cells = ViewRowCells(view, *event);
    for (int col = 0; col < static_cast<int>(cells.size()); ++col) SetCellText(row, col, cells[col]);
    SetCellData(row, 0, event->timeCreate);
    ++row;
  }
}

void EventListView::SetHeader(const std::vector<ViewColumn>& columns) {
  SetFixedRows(1);
  SetFixedColumns(0);
  SetRows(1);
  SetColumns(static_cast<int>(columns.size()));
  for (int col = 0; col < static_cast<int>(columns.size()); ++col) {
    SetCellText(0, col, columns[col].caption);
    SetColumnWidth(col, columns[col].width);
  }
}

void EventListView::UseListMode() {
  bSingleRowSelect = false;
  SetRowSelectMode(true);
  bEditable = false;
}
