#pragma once
// The grid of the main window (control 1005): one event per row, in one of
// the five views. It keeps no pointers to events: each row carries its
// event's key (creation time and place among the events of that second;
// column 0 also holds the creation time as item data), and the main window
// finds the event again through it.
#include <utility>
#include <vector>

#include "events/event_key.h"
#include "events/event_list.h"
#include "events/event_view_rows.h"
#include "grid/grid_ctrl.h"
#include "repeat/repeat_rules.h"

class EventListView : public CGridCtrl {
 public:
  EventListView() : CGridCtrl(0, 0, 0, 0) {}

  // The start-up header: one fixed row, the all-events columns, whole-row
  // selection, no in-place editing.
  void SetupColumns();

  // Rebuilds header and rows from `events` (borrowed for the call) in the
  // columns of `view`; `keys` names the event of each (EventList::KeysOf).
  // The reminder time of a repeating event ends with its rule's short name,
  // "2026-12-08 09:00:00 (每天)", when `rules` are given.
  void ShowEvents(const EventPtrList& events, const std::vector<EventKey>& keys, int view,
                  const RepeatRules* rules = nullptr);

  // Fills the grid's width with the columns, then widens a time column
  // whose repeat rule would be cut ("07:41:19 (每个工…") with pixels of the
  // title column, which keeps room for a short title.
  void FitColumns();

  // The event `row` lists; a key of creation time 0 for the header or a row
  // outside the grid.
  EventKey KeyAt(int row) const;
  // The row that lists `key`, or -1.
  int RowOf(EventKey key) const;

  // The creation time carried by `row`; 0 for the header, a row outside the
  // grid, or none (0 matches no event the program made).
  Time32 CreatedAt(int row) const { return GetCellData(row, 0); }

 private:
  std::vector<EventKey> keys_;  // of rows 1, 2, ...
  // The cells that end with a rule's short name, as (row, column).
  std::vector<std::pair<int, int>> rule_cells_;

  void SetHeader(const std::vector<ViewColumn>& columns);
  void UseListMode();
};
