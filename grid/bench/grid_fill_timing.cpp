// Fill and paint timings of the grid beside the system list-view control,
// both filled with the same rows the way the event list fills its grid:
// remove everything, set the counts, set every cell. Not a test: run it under
// Wine and it prints a table.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/text_boundary.h"
#include "grid/grid_ctrl.h"
#include "grid/testing/event_list_columns.h"

namespace {

struct Row {
  std::string title;  // code page 936, as the program holds it
  std::string created;
  std::string reminder;
  int data;
};

std::vector<Row> MakeRows(int count) {
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(count));
  const char* memo = "\xBC\xC7\xD2\xE4\xCA\xC2\xBC\xFE";  // 记忆事件
  for (int i = 0; i < count; ++i) {
    char created[32], reminder[32];
    std::snprintf(created, sizeof created, "2010-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24,
                  i % 60, (i * 7) % 60);
    std::snprintf(reminder, sizeof reminder, "2011-%02d-%02d 18:30:00", 1 + i % 12, 1 + (i * 3) % 28);
    // "事件" (event) and a number: a title of typical length.
    rows.push_back({"\xCA\xC2\xBC\xFE " + std::to_string(i) + " \xD6\xDC\xBB\xE1\xBC\xC7\xC2\xBC", created,
                    i % 3 == 0 ? memo : reminder, 1267769229 + i});
  }
  return rows;
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void FillGrid(CGridCtrl& grid, const std::vector<Row>& rows) {
  grid.RemoveAllRows();
  SetUpEventListColumns(grid);
  int r = 0;
  for (const Row& row : rows) {
    ++r;
    grid.SetRows(r + 1);
    grid.SetCellText(r, 0, row.title);
    grid.SetCellData(r, 0, row.data);
    grid.SetCellText(r, 1, row.created);
    grid.SetCellText(r, 2, row.reminder);
  }
  grid.FitColumnsToWidth(true);
}

// With `quiet`, redrawing is switched off during the fill (WM_SETREDRAW), the
// list view's own advice for filling many items; without it every insert
// updates the control at once.
void FillListView(HWND list, const std::vector<Row>& rows, bool quiet) {
  if (quiet) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  const char* headers[] = {"\xB1\xEA\xCC\xE2", "\xBD\xA8\xC1\xA2\xCA\xB1\xBC\xE4",
                           "\xCC\xE1\xD0\xD1\xCA\xB1\xBC\xE4"};
  const int widths[] = {250, 130, 130};
  for (int c = 0; c < 3; ++c) {
    std::wstring header = win::Widen(headers[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header.data();
    column.cx = widths[c];
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
  int r = 0;
  for (const Row& row : rows) {
    std::wstring title = win::Widen(row.title);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = r;
    item.pszText = title.data();
    item.lParam = row.data;
    const int index =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    std::wstring created = win::Widen(row.created);
    std::wstring reminder = win::Widen(row.reminder);
    LVITEMW sub{};
    sub.iSubItem = 1;
    sub.pszText = created.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = reminder.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    ++r;
  }
  if (quiet) {
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }
}

double PaintNow(HWND hwnd) {
  const double start = Now();
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  GdiFlush();
  return Now() - start;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = L"GridTimingHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"GridTimingHost", L"Grid timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              1260, 460, nullptr, nullptr, wc.hInstance, nullptr);
  CGridCtrl grid;
  RECT left{10, 10, 620, 410};
  grid.Create(host, left, 1005);
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 630, 10, 610, 400, host,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(1006)), wc.hInstance, nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(grid.GetFont()), TRUE);
  Pump();

  std::printf("Best of several runs; the list view filled with redrawing switched off.\n");
  std::printf("%8s | %12s %12s | %12s %12s | %8s\n", "rows", "grid fill", "grid paint", "list fill",
              "list paint", "ratio");
  std::printf("%8s | %12s %12s | %12s %12s | %8s\n", "", "ms", "ms", "ms", "ms", "grid/list");
  for (int count : {1000, 10000, 100000}) {
    const std::vector<Row> rows = MakeRows(count);
    const int runs = count >= 100000 ? 2 : 3;
    double grid_fill = 1e300, grid_paint = 1e300, list_fill = 1e300, list_paint = 1e300;
    for (int run = 0; run < runs; ++run) {
      double start = Now();
      FillGrid(grid, rows);
      grid_fill = std::min(grid_fill, Now() - start);
      grid_paint = std::min(grid_paint, PaintNow(grid.hwnd()));
      Pump();

      start = Now();
      FillListView(list, rows, /*quiet=*/true);
      list_fill = std::min(list_fill, Now() - start);
      list_paint = std::min(list_paint, PaintNow(list));
      Pump();
    }
    std::printf("%8d | %12.1f %12.1f | %12.1f %12.1f | %8.2f\n", count, grid_fill, grid_paint, list_fill,
                list_paint, (grid_fill + grid_paint) / (list_fill + list_paint));
    std::fflush(stdout);
  }

  // The list view filled plainly, every insert redrawn, for comparison (one run;
  // 100k rows would take hours under Wine).
  std::printf("\nList view filled without switching redrawing off (one run):\n");
  for (int count : {1000, 10000}) {
    const std::vector<Row> rows = MakeRows(count);
    const double start = Now();
    FillListView(list, rows, /*quiet=*/false);
    const double fill = Now() - start;
    const double paint = PaintNow(list);
    std::printf("%8d | %12.1f ms fill %12.1f ms paint\n", count, fill, paint);
    std::fflush(stdout);
    Pump();
  }
  grid.Destroy();
  DestroyWindow(host);
  return 0;
}
