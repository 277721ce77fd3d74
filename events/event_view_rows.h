#pragma once
// What the event list view shows, without a window: which events each view
// lists, its column captions and widths, and the cell texts of one row. The
// grid (EventListView) and tallyo-cli's list command both use it.
#include <string>
#include <vector>

#include "base/local_time.h"
#include "events/event_list.h"

enum ViewMode : int {
  VIEW_BY_DATE = 0,  // created on the chosen local day, ascending
  VIEW_REMIND = 1,   // reminders, ascending
  VIEW_MEMO = 2,     // memos, ascending
  VIEW_KEYWORD = 3,  // title or body contains the keyword, ascending
  VIEW_ALL = 4,      // every event, stored order
};

struct ViewColumn {
  std::string caption;  // code page 936
  int width;            // pixels, before the columns are widened to fill the grid
};

// The events of `view`, appended to `result`; any other view value lists nothing.
void FillView(const EventList& events, int view, Time32 view_date, const std::string& keyword,
              EventPtrList& result);

// The header of `view`: two columns, or three for the keyword and all-events
// views; a view other than 0, 1, 3 and 4 gets the header of view 2.
std::vector<ViewColumn> ViewColumns(int view);

// The cell of ViewRowCells(view, event) that shows the event's reminder
// time; -1 when the row shows none (a memo, the memo view).
int ReminderTimeColumn(int view, const CMyEvent& event);

// One row: the title, then the times ("%04d-%02d-%02d %02d:%02d:%02d", local)
// or "记忆事件" for a memo's reminder column. As many cells as ViewColumns(view).
std::vector<std::string> ViewRowCells(int view, const CMyEvent& event);
// The same cells written into `cells` (its strings reused, so a long list
// allocates nothing per row), with the times converted by `times`.
void ViewRowCells(int view, const CMyEvent& event, LocalTimeConverter& times,
                  std::vector<std::string>& cells);
