#include "dialogs/event_list_view.h"

#include "events/event_repeats.h"
#include "grid/column_fit.h"
#include "repeat/repeat_texts.h"

namespace {

// The title column gives up pixels to a rule only down to this width.
constexpr int kLeastTitleWidth = 160;

}  // namespace

void EventListView::SetupColumns() {
  SetFixedRows(1);
  SetFixedColumns(0);
  SetRows(1);
  SetHeader(ViewColumns(VIEW_ALL));
  UseListMode();
}

void EventListView::ShowEvents(const EventPtrList& events, const std::vector<EventKey>& keys, int view,
                               const RepeatRules* rules) {
  keys_ = keys;
  keys_.resize(events.size());
  rule_cells_.clear();
  RemoveAllRows();
  SetHeader(ViewColumns(view));
  UseListMode();
  // One resize for all rows instead of one per row: the same grid, without
  // growing it 100 000 times for a long list.
  SetRows(static_cast<int>(events.size()) + 1);
  int row = 1;
  for (const CMyEvent* event : events) {
    std::vector<std::string> cells = ViewRowCells(view, *event);
    const int column = ReminderTimeColumn(view, *event);
    if (rules != nullptr && !rules->empty() && column >= 0) {
      if (const RepeatSeries* series =
              SeriesOfEvent(*rules, *event, keys_[static_cast<std::size_t>(row) - 1])) {
        AppendRepeatShortName(*series, &cells[static_cast<std::size_t>(column)]);
        rule_cells_.emplace_back(row, column);
      }
    }
    for (int col = 0; col < static_cast<int>(cells.size()); ++col) SetCellText(row, col, cells[col]);
    SetCellData(row, 0, event->timeCreate);
    ++row;
  }
}

void EventListView::FitColumns() {
  FitColumnsToWidth(/*include_fixed=*/true);
  if (rule_cells_.empty()) return;
  // Only the cells with a rule are measured: a list of 100 000 one-off
  // reminders costs nothing here.
  std::vector<int> widths;
  for (int col = 0; col < GetColumnCount(); ++col) widths.push_back(GetColumnWidth(col));
  for (const auto& [row, col] : rule_cells_) {
    grid::WidenColumnFrom(widths, col, CellTextWidth(row, col), /*donor=*/0, kLeastTitleWidth);
  }
  for (int col = 0; col < GetColumnCount(); ++col) SetColumnWidth(col, widths[col]);
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

EventKey EventListView::KeyAt(int row) const {
  if (row < 1 || row > static_cast<int>(keys_.size()) || row >= GetRowCount()) return EventKey{};
  return keys_[static_cast<std::size_t>(row) - 1];
}

int EventListView::RowOf(EventKey key) const {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] == key) return static_cast<int>(i) + 1;
  }
  return -1;
}
