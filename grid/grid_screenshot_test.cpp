// A picture of the grid as the event list shows it: the header, a selected
// row, a title cut short with an ellipsis and its title tip. Saved as
// grid_screenshot.bmp in the working folder for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/testing/screen_capture.h"
#include "grid/grid_ctrl.h"
#include "grid/testing/event_list_columns.h"
#include "grid/testing/grid_test_window.h"

namespace {

// Code page 936 texts.
const char kMemoEvent[] = "\xBC\xC7\xD2\xE4\xCA\xC2\xBC\xFE";  // 记忆事件
// 给客户回电话，确认下周三的会议室和投影仪是否已经预订好
const char kLongTitle[] =
    "\xB8\xF8\xBF\xCD\xBB\xA7\xBB\xD8\xB5\xE7\xBB\xB0\xA3\xAC\xC8\xB7\xC8\xCF\xCF\xC2\xD6\xDC\xC8\xFD\xB5\xC4"
    "\xBB\xE1\xD2\xE9\xCA\xD2\xBA\xCD\xCD\xB6\xD3\xB0\xD2\xC7\xCA\xC7\xB7\xF1\xD2\xD1\xBE\xAD\xD4\xA4\xB6\xA9"
    "\xBA\xC3";
const char* const kTitles[] = {
    "\xD6\xDC\xBB\xE1",  // 周会
    kLongTitle,
    "\xBD\xBB\xCB\xAE\xB5\xE7\xB7\xD1",  // 交水电费
    "\xC2\xE8\xC2\xE8\xC9\xFA\xC8\xD5",  // 妈妈生日
    "Check the backup drive and copy the photos from the old laptop before Friday",
    "\xCA\xE9\xB5\xEA\xC8\xA1\xCA\xE9",  // 书店取书
};

TEST(GridScreenshot, HeaderSelectedRowEllipsisAndTitleTip) {
  GridTestHost host;
  CGridCtrl grid;
  ASSERT_TRUE(host.Open(560, 260));
  ASSERT_TRUE(host.AddGrid(grid, 540, 240));
  // The main window's font: 宋体, 9 points.
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  HFONT font =
      CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"\u5B8B\u4F53");
  SendMessageW(grid.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

  // Filled as the event list fills view 4 (all events).
  grid.RemoveAllRows();
  SetUpEventListColumns(grid);
  int r = 0;
  for (const char* title : kTitles) {
    ++r;
    grid.SetRows(r + 1);
    grid.SetCellText(r, 0, title);
    grid.SetCellData(r, 0, 1267769229 + r * 3600);
    char created[32];
    std::snprintf(created, sizeof created, "2010-03-%02d %02d:07:09", 4 + r, 8 + r);
    grid.SetCellText(r, 1, created);
    if (r % 3 == 0) {
      grid.SetCellText(r, 2, kMemoEvent);
    } else {
      char remind[32];
      std::snprintf(remind, sizeof remind, "2010-03-%02d 18:30:00", 5 + r);
      grid.SetCellText(r, 2, remind);
    }
  }
  grid.FitColumnsToWidth(true);

  // Select row 3, then hover over the long title of row 2.
  SetForegroundWindow(host.hwnd());
  SetFocus(grid.hwnd());
  const grid::PixelRect row3 = grid::CellRect(grid.model(), grid.view(), {3, 0});
  SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row3.left + 8, row3.top + 4));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(row3.left + 8, row3.top + 4));
  PumpMessages();
  const grid::PixelRect row2 = grid::CellRect(grid.model(), grid.view(), {2, 0});
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(row2.left + 20, row2.top + 4));
  HWND tip = grid.title_tip().hwnd();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(IsWindowVisible(tip));
  RedrawWindow(host.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  Sleep(200);  // let the display catch up before reading it back
  PumpMessages();

  // Read the screen back over the host window (the tip lies inside it).
  RECT area;
  GetWindowRect(host.hwnd(), &area);
  RECT tip_rect;
  GetWindowRect(tip, &tip_rect);
  UnionRect(&area, &area, &tip_rect);
  const screen_capture::Screenshot shot = screen_capture::CaptureScreenRect(area);
  ASSERT_TRUE(screen_capture::SaveBmp(shot, L"grid_screenshot.bmp"));

  // The selected row's dark grey and the tip's background made it to the screen.
  POINT selected{
      static_cast<LONG>(grid.GetColumnWidth(0) + grid.GetColumnWidth(1) + grid.GetColumnWidth(2) - 6),
      static_cast<LONG>(row3.top + 4)};
  ClientToScreen(grid.hwnd(), &selected);
  EXPECT_EQ(shot.at_screen(selected.x, selected.y), RGB(51, 51, 51));
  EXPECT_EQ(shot.at_screen(tip_rect.right - 3, tip_rect.top + 2), GetSysColor(COLOR_INFOBK));
  EXPECT_GT(tip_rect.right - tip_rect.left, grid.GetColumnWidth(0));

  grid.Destroy();
  DeleteObject(font);
}

}  // namespace
