#pragma once
// The grid of the main window (control 1005): one event per row, in one of
// the five views. It keeps no pointers to events: column 0 of each row
// carries the event's creation time as item data, and the main window finds
// the event again through it.
#include "events/event_list.h"
#include "events/event_view_rows.h"
#include "grid/grid_ctrl.h"

class EventListView : public CGridCtrl {
 public:
  EventListView() : CGridCtrl(0, 0, 0, 0) {}

  // The start-up header: one fixed row, the all-events columns, whole-row
  // selection, no in-place editing.
  void SetupColumns();

  // Rebuilds header and rows from `events` (borrowed for the call) in the
  // columns of `view`.
  void ShowEvents(const EventPtrList& events, int view);

  // The creation time carried by `row`; 0 for the header, a row outside the
  // grid, or none (0 matches no event the program made).
  Time32 CreatedAt(int row) const { return GetCellData(row, 0); }

 private:
  void SetHeader(const std::vector<ViewColumn>& columns);
  void UseListMode();
};
