#pragma once
// The event list's grid as the tests and the fill timing set it up: one
// fixed header row with the three columns of a view (标题, 建立时间,
// 提醒时间) at their widths, selection by whole rows, no editing.
#include "grid/grid_ctrl.h"

inline void SetUpEventListColumns(CGridCtrl& grid) {
  grid.SetFixedRows(1);
  grid.SetFixedColumns(0);
  grid.SetRows(1);
  grid.SetColumns(3);
  grid.SetCellText(0, 0, "\xB1\xEA\xCC\xE2");                  // 标题
  grid.SetCellText(0, 1, "\xBD\xA8\xC1\xA2\xCA\xB1\xBC\xE4");  // 建立时间
  grid.SetCellText(0, 2, "\xCC\xE1\xD0\xD1\xCA\xB1\xBC\xE4");  // 提醒时间
  grid.SetColumnWidth(0, 250);
  grid.SetColumnWidth(1, 130);
  grid.SetColumnWidth(2, 130);
  grid.bSingleRowSelect = false;
  grid.SetRowSelectMode(true);
  grid.bEditable = false;
}
