#pragma once
// Which row of the event grid stays picked when the list is filled again
// after a change or a reload. The picked event stays picked wherever the new
// list puts it; if it left the list, whatever event now fills the row picked
// last is picked, as that row stays highlighted; a row that lists no event
// picks nothing. Rows count as the grid's do: row 0 is the header, row r
// lists keys[r - 1]. Window-free: the main window highlights the row.
#include <vector>

#include "events/event_key.h"

class PickedRow {
 public:
  // The user picked `row` (it may list no event).
  void Pick(int row) { row_ = row; }

  // The grid now lists `keys`; `picked` is the event picked so far (creation
  // time 0: none). The row to highlight and the event it lists, which is the
  // one picked now; row -1 and no event when no row lists one.
  struct Kept {
    int row = -1;
    EventKey key;
  };
  Kept Refilled(EventKey picked, const std::vector<EventKey>& keys);

 private:
  int row_ = -1;
};
