// The grid window in-process under Wine: the class and attaching, fitting,
// clicks and their notifications, divider sizing, keyboard, wheel, title
// tips, the clipboard, and what the paint puts where.
#include "grid/grid_ctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/text_boundary.h"
#include "grid/testing/grid_test_window.h"

namespace {

constexpr int kId = 1005;
// The standard codes as the signed values the notification carries.
constexpr int kClick = -2;   // NM_CLICK
constexpr int kDblClk = -3;  // NM_DBLCLK
constexpr int kRClick = -5;  // NM_RCLICK
// 记忆事件 in code page 936.
const char kMemoEvent[] = "\xBC\xC7\xD2\xE4\xCA\xC2\xBC\xFE";

// "a1", "H0"... (appended rather than concatenated: GCC 12 warns falsely about the latter).
std::string Label(char letter, int number) {
  std::string label(1, letter);
  label += std::to_string(number);
  return label;
}

class GridCtrlTest : public testing::Test {
 protected:
  // One host window for all tests: under Wine without a window manager each
  // top-level window takes two seconds to go away.
  static void SetUpTestSuite() {
    shared_host = new GridTestHost;
    shared_host->Open(700, 500);
  }
  static void TearDownTestSuite() {
    delete shared_host;
    shared_host = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(host.hwnd(), nullptr);
    ASSERT_TRUE(host.AddGrid(grid, 500, 300));
    host.Clear();
  }

  // Rebuilds the grid as the event list view does, then fits the columns.
  void FillLikeEventList(int rows, std::vector<int> widths = {250, 130, 130}) {
    grid.RemoveAllRows();
    grid.SetFixedRows(1);
    grid.SetFixedColumns(0);
    grid.SetRows(1);
    grid.SetColumns(static_cast<int>(widths.size()));
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
      grid.SetCellText(0, c, Label('H', c));
      grid.SetColumnWidth(c, widths[c]);
    }
    grid.bSingleRowSelect = false;
    grid.SetRowSelectMode(true);
    grid.bEditable = false;
    for (int r = 1; r <= rows; ++r) {
      grid.SetRows(r + 1);
      grid.SetCellText(r, 0, Label('a', r));
      grid.SetCellData(r, 0, 1000 + r);
      for (int c = 1; c < static_cast<int>(widths.size()); ++c) {
        grid.SetCellText(r, c, Label(static_cast<char>('a' + c), r));
      }
    }
    grid.FitColumnsToWidth(true);
    PumpMessages();
    host.Clear();
  }

  // A point inside cell (row, col), a few pixels from its top-left corner.
  POINT In(int row, int col) const {
    const grid::PixelRect r = grid::CellRect(grid.model(), grid.view(), {row, col});
    return {static_cast<int>(r.left) + 4, static_cast<int>(r.top) + 3};
  }
  int BelowLastRow() const { return static_cast<int>(grid.model().TotalHeight() - grid.view().scroll_y) + 5; }
  std::vector<int> Widths() const {
    std::vector<int> w;
    for (int c = 0; c < grid.GetColumnCount(); ++c) w.push_back(grid.GetColumnWidth(c));
    return w;
  }
  void SetClientWidth(int width) {
    RECT window, client;
    GetWindowRect(grid.hwnd(), &window);
    GetClientRect(grid.hwnd(), &client);
    SetWindowPos(grid.hwnd(), nullptr, 0, 0, window.right - window.left + (width - client.right),
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bool RowSelected(int row) const {
    for (int c = 0; c < grid.GetColumnCount(); ++c) {
      if (!grid.IsCellSelected(row, c)) return false;
    }
    return true;
  }

  static GridTestHost* shared_host;
  GridTestHost& host = *shared_host;
  CGridCtrl grid;
};

GridTestHost* GridCtrlTest::shared_host = nullptr;

TEST(GridWindowClass, IsRegisteredForDialogTemplatesByTheFirstGrid) {
  CGridCtrl grid;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"MFCGridCtrl", &wc));
  EXPECT_EQ(wc.style & (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), UINT{CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(grid.GetRowCount(), 0);
  EXPECT_EQ(grid.GetColumnCount(), 0);
  EXPECT_TRUE(grid.bEditable);
  EXPECT_FALSE(grid.bSingleRowSelect);
  EXPECT_FALSE(grid.GetRowSelectMode());
  EXPECT_EQ(grid.GetGridLines(), CGridCtrl::kGridLinesBoth);
}

// A dialog template in memory: font "宋体" 9 points and one "MFCGridCtrl" control 1005.
std::vector<WORD> GridDialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto words = [&](std::initializer_list<WORD> list) {
    for (WORD w : list) t.push_back(w);
  };
  auto text = [&](const wchar_t* s) {
    for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
    t.push_back(0);
  };
  dword(DS_SETFONT | WS_POPUP | WS_CAPTION | WS_VISIBLE);
  dword(0);
  words({1, 0, 0, 300, 200});  // items, x, y, cx, cy
  words({0, 0});               // no menu, default class
  text(L"Grid");
  t.push_back(9);
  text(L"\u5B8B\u4F53");
  if (t.size() % 2) t.push_back(0);  // items start on a DWORD boundary
  dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  dword(0);
  words({9, 29, 260, 150, kId});
  text(L"MFCGridCtrl");
  text(L"");
  t.push_back(0);  // no creation data
  return t;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(GridWindowClass, AttachesToATemplateControlWithASunkenEdgeAndTheDialogFont) {
  CGridCtrl grid;  // registers the class before the dialog names it
  std::vector<WORD> t = GridDialogTemplate();
  HWND dialog = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), nullptr, PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(GetDlgItem(dialog, kId), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog, kId), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  ASSERT_TRUE(grid.Attach(dialog, kId));
  EXPECT_NE(GetWindowLongPtrW(grid.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  LOGFONTW dialog_font{}, grid_font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof dialog_font,
             &dialog_font);
  ASSERT_NE(grid.GetFont(), nullptr);
  GetObjectW(grid.GetFont(), sizeof grid_font, &grid_font);
  EXPECT_STREQ(grid_font.lfFaceName, dialog_font.lfFaceName);
  EXPECT_EQ(grid_font.lfHeight, dialog_font.lfHeight);

  // The default cells measure themselves in that font.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, grid.GetFont());
  SIZE blank, sample;
  GetTextExtentPoint32W(dc, L" ", 1, &blank);
  GetTextExtentPoint32W(dc, L" XXXXXXXXXXXX ", 14, &sample);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  for (bool fixed_row : {false, true}) {
    for (bool fixed_col : {false, true}) {
      const CGridDefaultCell& cell = grid.GetDefaultCell(fixed_row, fixed_col);
      EXPECT_EQ(cell.GetMargin(), blank.cx);
      EXPECT_EQ(cell.GetWidth(), sample.cx);
      EXPECT_EQ(cell.GetHeight(), sample.cy * 3 / 2);
    }
  }
  grid.SetRows(2);
  EXPECT_EQ(grid.GetRowHeight(1), sample.cy * 3 / 2);
  // The control belongs to the dialog: the grid only lets go of it.
  HWND control = grid.hwnd();
  grid.Destroy();
  EXPECT_TRUE(IsWindow(control));
  EXPECT_EQ(Window::FromHandle(control), nullptr);

  // Bound again through a dialog's data exchange: set up all the same.
  CGridCtrl bound;
  DataExchange dx(dialog, /*saving=*/false);
  dx.Control(kId, bound);
  ASSERT_EQ(bound.hwnd(), control);
  ASSERT_NE(bound.GetFont(), nullptr);
  bound.SetRows(2);
  EXPECT_EQ(bound.GetRowHeight(1), sample.cy * 3 / 2);
  bound.Destroy();
  DestroyWindow(dialog);
}

TEST_F(GridCtrlTest, FitsTheEventListColumnsToTheClientWidth) {
  EXPECT_NE(GetWindowLongPtrW(grid.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  FillLikeEventList(3);
  EXPECT_EQ(Widths(), (std::vector<int>{246, 127, 127}));
  SetClientWidth(520);
  FillLikeEventList(3);
  EXPECT_EQ(Widths(), (std::vector<int>{254, 133, 133}));

  // With more rows than fit, the vertical bar takes its width and the columns fill the rest.
  FillLikeEventList(60);
  const LONG_PTR style = GetWindowLongPtrW(grid.hwnd(), GWL_STYLE);
  EXPECT_NE(style & WS_VSCROLL, 0);
  EXPECT_EQ(style & WS_HSCROLL, 0);
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  std::vector<int> w = Widths();
  EXPECT_EQ(w[0] + w[1] + w[2], client.right);

  // A column dragged to zero stays hidden through later fits.
  grid.SetColumnWidth(1, 0);
  grid.FitColumnsToWidth(true);
  EXPECT_EQ(grid.GetColumnWidth(1), 0);
  EXPECT_GT(grid.GetColumnWidth(2), 0);
}

TEST_F(GridCtrlTest, AClickOnTheHeaderSendsRowZeroAndSelectsThatColumn) {
  FillLikeEventList(4);
  const POINT p = In(0, 1);
  Click(grid.hwnd(), p.x, p.y);
  ASSERT_EQ(host.Codes(), (std::vector<int>{kGridSelChanging, kGridSelChanged, kClick}));
  EXPECT_EQ(host.notifications[2].row, 0);
  EXPECT_EQ(host.notifications[2].col, 1);
  for (const RecordedNotify& n : host.notifications) EXPECT_EQ(n.id, UINT_PTR{kId});
  for (int r = 1; r <= 4; ++r) EXPECT_TRUE(grid.IsCellSelected(r, 1));
  EXPECT_FALSE(grid.IsCellSelected(1, 0));
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{1, 1}));
  // The command after the click arrives later, posted.
  EXPECT_TRUE(host.commands.empty());
  PumpMessages();
  EXPECT_EQ(host.commands, (std::vector<WPARAM>{MAKEWPARAM(kId, 0)}));
}

TEST_F(GridCtrlTest, AHeaderClickKeepsTheViewAndTheFocusRow) {
  FillLikeEventList(100);
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  const grid::Offset scrolled = grid.view().scroll_y;
  ASSERT_GT(scrolled, 0);
  const int row = grid::TopNonFixedRow(grid.model(), grid.view()) + 1;
  Click(grid.hwnd(), In(row, 0).x, In(row, 0).y);
  Click(grid.hwnd(), In(0, 2).x, In(0, 2).y);
  EXPECT_EQ(grid.view().scroll_y, scrolled);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{row, 2}));
  EXPECT_EQ(grid.GetSelectedCount(), 100);
}

TEST_F(GridCtrlTest, ClicksBelowTheLastRowNameNoCell) {
  FillLikeEventList(3);
  Click(grid.hwnd(), In(2, 0).x, In(2, 0).y);
  PumpMessages();
  host.Clear();

  Click(grid.hwnd(), 30, BelowLastRow());
  ASSERT_EQ(host.Codes(), (std::vector<int>{kClick}));
  EXPECT_EQ(host.notifications[0].row, -1);
  EXPECT_EQ(host.notifications[0].col, -1);
  EXPECT_EQ(grid.GetCellData(host.notifications[0].row, 0), 0);
  EXPECT_TRUE(RowSelected(2));  // the selection stays
  PumpMessages();
  EXPECT_TRUE(host.commands.empty());  // no command without a cell

  host.Clear();
  RightClick(grid.hwnd(), 30, BelowLastRow());
  ASSERT_EQ(host.Codes(), (std::vector<int>{kRClick}));
  EXPECT_EQ(host.notifications[0].row, -1);
  EXPECT_EQ(host.notifications[0].col, -1);
}

TEST_F(GridCtrlTest, CellOperationsFailSoftly) {
  FillLikeEventList(3);
  EXPECT_FALSE(grid.SetCellText(4, 0, "x"));
  EXPECT_FALSE(grid.SetCellData(0, 3, 1));
  EXPECT_FALSE(grid.SetColumnWidth(3, 10));
  EXPECT_FALSE(grid.SetColumnWidth(0, -1));
  EXPECT_FALSE(grid.SetRows(-1));
  EXPECT_EQ(grid.GetCellData(-1, 0), 0);
  EXPECT_EQ(grid.GetCellData(0, 0), 0);
  EXPECT_EQ(grid.GetCellData(2, 0), 1002);
  EXPECT_EQ(grid.GetCellData(4, 0), 0);
}

TEST_F(GridCtrlTest, ClicksSelectWholeRowsShiftExtendsCtrlToggles) {
  FillLikeEventList(8);
  Click(grid.hwnd(), In(2, 1).x, In(2, 1).y);
  EXPECT_EQ(host.Codes(), (std::vector<int>{kGridSelChanging, kGridSelChanged, kClick}));
  EXPECT_EQ(host.notifications[2].row, 2);
  EXPECT_EQ(host.notifications[2].col, 1);
  EXPECT_EQ(grid.GetSelectedCount(), 3);
  EXPECT_TRUE(RowSelected(2));

  Click(grid.hwnd(), In(4, 0).x, In(4, 0).y, MK_SHIFT);
  EXPECT_EQ(grid.GetSelectedCount(), 9);
  EXPECT_EQ(grid.GetSelectedCellRange(), (grid::CellRange{2, 0, 4, 2}));
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{4, 0}));

  Click(grid.hwnd(), In(6, 0).x, In(6, 0).y, MK_CONTROL);
  EXPECT_EQ(grid.GetSelectedCount(), 12);
  Click(grid.hwnd(), In(3, 0).x, In(3, 0).y, MK_CONTROL);
  EXPECT_EQ(grid.GetSelectedCount(), 9);
  EXPECT_FALSE(RowSelected(3));

  grid.bSingleRowSelect = true;
  Click(grid.hwnd(), In(5, 0).x, In(5, 0).y, MK_SHIFT);
  EXPECT_EQ(grid.GetSelectedCount(), 3);
  EXPECT_TRUE(RowSelected(5));
}

TEST_F(GridCtrlTest, DraggingExtendsTheSelectionAndTheClickNamesThePressedCell) {
  FillLikeEventList(8);
  const POINT from = In(2, 0), to = In(5, 2);
  SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  EXPECT_EQ(grid.GetSelectedCellRange(), (grid::CellRange{2, 0, 5, 2}));
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{5, 2}));
  ASSERT_FALSE(host.notifications.empty());
  EXPECT_EQ(host.notifications.back().code, kClick);
  EXPECT_EQ(host.notifications.back().row, 2);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(GridCtrlTest, DraggingBelowTheGridScrollsOnTheTimer) {
  FillLikeEventList(80);
  const POINT from = In(2, 0);
  SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  RECT window;
  GetWindowRect(grid.hwnd(), &window);
  SetCursorPos(window.left + 40, window.bottom + 30);
  POINT cursor;
  GetCursorPos(&cursor);
  if (cursor.y != window.bottom + 30) GTEST_SKIP() << "the display does not let the pointer move";
  for (int i = 0; i < 4; ++i) SendMessageW(grid.hwnd(), WM_TIMER, 1, 0);
  EXPECT_GT(grid.view().scroll_y, 0);
  const int last_visible = grid::VisibleNonFixedRange(grid.model(), grid.view()).max_row;
  EXPECT_EQ(grid.GetFocusCell().row, last_visible);
  EXPECT_TRUE(RowSelected(2));
  EXPECT_TRUE(RowSelected(last_visible));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(40, 400));
}

TEST_F(GridCtrlTest, DraggingADividerSetsTheWidthAtLeastZero) {
  FillLikeEventList(3);
  const int before = grid.GetColumnWidth(0);
  const int line = before - 1;  // column 0's grid line
  const int y = 4;
  SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(line + 2, y));
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(line + 32, y));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(line + 32, y));
  EXPECT_EQ(grid.GetColumnWidth(0), before + 30);
  ASSERT_FALSE(host.notifications.empty());
  EXPECT_EQ(host.notifications.back().code, kClick);
  EXPECT_EQ(host.notifications.back().row, 0);
  EXPECT_EQ(grid.GetSelectedCount(), 0);  // sizing selects nothing

  const int edge = grid.GetColumnWidth(0) - 1;
  SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, y));
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-200, y));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-200, y));
  EXPECT_EQ(grid.GetColumnWidth(0), 0);
}

TEST_F(GridCtrlTest, DoubleClickOnADividerAutosizesWithoutADoubleClickNotification) {
  FillLikeEventList(3);
  const std::string longest = "a considerably longer title than the others";
  grid.SetCellText(2, 0, longest);
  const int line = grid.GetColumnWidth(0) - 1;
  DoubleClick(grid.hwnd(), line, 4);
  for (int code : host.Codes()) EXPECT_NE(code, kDblClk);

  HDC dc = GetDC(grid.hwnd());
  HGDIOBJ old = SelectObject(dc, grid.GetFont());
  SIZE size;
  const std::wstring wide = win::Widen(longest);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(grid.hwnd(), dc);
  EXPECT_EQ(grid.GetColumnWidth(0), size.cx + 2 * grid.GetDefaultCell(false, false).GetMargin() + 1);

  host.Clear();
  const POINT cell = In(3, 1);
  DoubleClick(grid.hwnd(), cell.x, cell.y);
  std::vector<int> codes = host.Codes();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back(), kDblClk);
  EXPECT_EQ(host.notifications.back().row, 3);
  EXPECT_EQ(host.notifications.back().col, 1);
}

TEST_F(GridCtrlTest, RightClickMovesTheFocusButNotTheSelection) {
  FillLikeEventList(6);
  Click(grid.hwnd(), In(2, 0).x, In(2, 0).y);
  host.Clear();
  RightClick(grid.hwnd(), In(5, 1).x, In(5, 1).y);
  ASSERT_EQ(host.Codes(), (std::vector<int>{kRClick}));
  EXPECT_EQ(host.notifications[0].row, 5);
  EXPECT_EQ(host.notifications[0].col, 1);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{5, 1}));
  EXPECT_TRUE(RowSelected(2));
  EXPECT_EQ(grid.GetSelectedCount(), 3);

  host.Clear();
  RightClick(grid.hwnd(), In(0, 2).x, In(0, 2).y);
  ASSERT_EQ(host.Codes(), (std::vector<int>{kRClick}));
  EXPECT_EQ(host.notifications[0].row, 0);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{1, 2}));  // never onto the header
}

TEST_F(GridCtrlTest, KeysMoveTheFocusAndShiftExtends) {
  FillLikeEventList(6);
  Click(grid.hwnd(), In(2, 0).x, In(2, 0).y);
  host.Clear();

  PressKey(grid.hwnd(), VK_DOWN);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{3, 0}));
  EXPECT_EQ(grid.GetSelectedCellRange(), (grid::CellRange{3, 0, 3, 2}));
  ASSERT_EQ(host.Codes(), (std::vector<int>{kGridSelChanging, kGridSelChanged}));
  EXPECT_EQ(host.notifications[1].row, 3);
  {
    HeldKeys shift({VK_SHIFT});
    PressKey(grid.hwnd(), VK_DOWN);
    PressKey(grid.hwnd(), VK_DOWN);
  }
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{5, 0}));
  EXPECT_EQ(grid.GetSelectedCellRange(), (grid::CellRange{3, 0, 5, 2}));
  EXPECT_EQ(grid.GetSelectedCount(), 9);
  {
    HeldKeys shift({VK_SHIFT});
    PressKey(grid.hwnd(), VK_UP);
    PressKey(grid.hwnd(), VK_UP);
    PressKey(grid.hwnd(), VK_UP);
  }
  EXPECT_EQ(grid.GetSelectedCellRange(), (grid::CellRange{2, 0, 3, 2}));

  PressKey(grid.hwnd(), VK_RIGHT);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{2, 1}));
  EXPECT_EQ(grid.GetSelectedCount(), 3);  // without Shift back to one row
  PressKey(grid.hwnd(), VK_END);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{2, 2}));
  PressKey(grid.hwnd(), VK_TAB);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{3, 0}));
  {
    HeldKeys shift({VK_SHIFT});
    PressKey(grid.hwnd(), VK_TAB);  // Shift+Tab goes back and does not extend
  }
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{2, 2}));
  EXPECT_EQ(grid.GetSelectedCount(), 3);
  {
    HeldKeys ctrl({VK_CONTROL});
    PressKey(grid.hwnd(), VK_END);
    EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{6, 2}));
    PressKey(grid.hwnd(), VK_HOME);
    EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{1, 0}));
  }
  PressKey(grid.hwnd(), VK_UP);
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{1, 0}));  // never onto the header

  // Tab is the grid's while it has a cell to go to.
  MSG tab{grid.hwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_NE(SendMessageW(grid.hwnd(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB,
            0);
  {
    HeldKeys ctrl({VK_CONTROL});
    PressKey(grid.hwnd(), VK_END);
  }
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB,
            0);
}

TEST_F(GridCtrlTest, PageDownMovesTheFocusAsFarAsTheView) {
  FillLikeEventList(100);
  Click(grid.hwnd(), In(1, 0).x, In(1, 0).y);
  const int top_before = grid::TopNonFixedRow(grid.model(), grid.view());
  PressKey(grid.hwnd(), VK_NEXT);
  const int top_after = grid::TopNonFixedRow(grid.model(), grid.view());
  EXPECT_GT(top_after, top_before);
  EXPECT_EQ(grid.GetFocusCell().row, 1 + (top_after - top_before));
  EXPECT_TRUE(RowSelected(grid.GetFocusCell().row));
  for (int i = 0; i < 30; ++i) PressKey(grid.hwnd(), VK_NEXT);
  EXPECT_EQ(grid.GetFocusCell().row, 100);
  for (int i = 0; i < 30; ++i) PressKey(grid.hwnd(), VK_PRIOR);
  EXPECT_EQ(grid.GetFocusCell().row, 1);
  EXPECT_EQ(grid.view().scroll_y, 0);
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<no clipboard>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    const char* p = static_cast<const char*>(GlobalLock(h));
    if (p) text.assign(p);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardUnicode() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<no clipboard>";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h));
    if (p) text.assign(p);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

TEST_F(GridCtrlTest, CtrlCCopiesTheSelectedRowsToTheClipboard) {
  FillLikeEventList(3, {200, 200});
  Click(grid.hwnd(), In(1, 0).x, In(1, 0).y);
  Click(grid.hwnd(), In(2, 0).x, In(2, 0).y, MK_SHIFT);
  {
    HeldKeys ctrl({VK_CONTROL});
    PressKey(grid.hwnd(), 'C');
  }
  EXPECT_EQ(ClipboardText(), "a1\tb1\na2\tb2");
  EXPECT_EQ(ClipboardUnicode(), L"a1\tb1\na2\tb2");

  // Ctrl+A and Ctrl+Insert: everything, and Chinese text reaches Unicode readers intact.
  grid.SetCellText(3, 1, kMemoEvent);
  {
    HeldKeys ctrl({VK_CONTROL});
    PressKey(grid.hwnd(), 'A');
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    PressKey(grid.hwnd(), VK_INSERT);
  }
  EXPECT_EQ(ClipboardText(), std::string("a1\tb1\na2\tb2\na3\t") + kMemoEvent);
  EXPECT_EQ(ClipboardUnicode(), L"a1\tb1\na2\tb2\na3\t\u8BB0\u5FC6\u4E8B\u4EF6");
}

TEST_F(GridCtrlTest, TheWheelScrollsTheSystemsLinesPerNotch) {
  FillLikeEventList(100);
  const unsigned lines = grid.wheel_lines_per_notch();
  ASSERT_GT(lines, 0u);
  ASSERT_LT(lines, 20u);
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ(grid.view().scroll_y, grid.model().RowTop(1 + static_cast<int>(lines)) - grid.model().RowTop(1));
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ(grid.view().scroll_y, 0);
}

TEST_F(GridCtrlTest, TitleTipShowsTheWholeTextOfATruncatedCell) {
  FillLikeEventList(3, {60, 300});
  const std::string text = "a title that is far too long for sixty pixels";
  grid.SetCellText(1, 0, text);
  SetForegroundWindow(host.hwnd());
  SetFocus(grid.hwnd());
  PumpMessages();
  ASSERT_EQ(GetFocus(), grid.hwnd());

  const POINT p = In(1, 0);
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  HWND tip = grid.title_tip().hwnd();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(IsWindowVisible(tip));
  wchar_t class_name[32] = {};
  GetClassNameW(tip, class_name, 32);
  EXPECT_STREQ(class_name, L"ZTitleTip");
  EXPECT_NE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(grid.title_tip().text(), L" " + win::Widen(text) + L" ");
  RECT tip_rect, cell{0, 0, 0, 0};
  GetWindowRect(tip, &tip_rect);
  const grid::PixelRect r = grid::CellRect(grid.model(), grid.view(), {1, 0});
  cell = {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right) - 1,
          static_cast<LONG>(r.bottom) - 1};
  MapWindowPoints(grid.hwnd(), nullptr, reinterpret_cast<POINT*>(&cell), 2);
  EXPECT_EQ(tip_rect.left, cell.left);
  EXPECT_EQ(tip_rect.top, cell.top);
  EXPECT_EQ(tip_rect.bottom, cell.bottom);
  EXPECT_GT(tip_rect.right - tip_rect.left, 60);

  // A key hides it and goes on to the grid.
  PressKey(grid.hwnd(), VK_DOWN);
  EXPECT_FALSE(IsWindowVisible(tip));

  // Leaving the cell hides it.
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  ASSERT_TRUE(IsWindowVisible(tip));
  POINT outside{cell.right + 20, cell.top + 2};
  ScreenToClient(tip, &outside);
  SendMessageW(tip, WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_NE(GetCapture(), tip);

  // A click on the tip reaches the cell below.
  Click(grid.hwnd(), In(3, 1).x, In(3, 1).y);
  ASSERT_TRUE(RowSelected(3));
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  ASSERT_TRUE(IsWindowVisible(tip));
  host.Clear();
  SendMessageW(tip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_FALSE(IsWindowVisible(tip));
  PumpMessages();
  EXPECT_EQ(grid.GetFocusCell(), (grid::CellId{1, 0}));
  EXPECT_TRUE(RowSelected(1));
  EXPECT_FALSE(RowSelected(3));
  SendMessageW(grid.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  ASSERT_FALSE(host.notifications.empty());
  EXPECT_EQ(host.notifications.back().code, kClick);
  EXPECT_EQ(host.notifications.back().row, 1);

  // Text that fits gets no tip.
  const POINT fits = In(1, 1);
  SendMessageW(grid.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(fits.x, fits.y));
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(GridCtrlTest, PaintsHeaderSelectionGridLinesAndTheEmptyArea) {
  FillLikeEventList(3);
  Click(grid.hwnd(), In(2, 0).x, In(2, 0).y);
  GridSnapshot shot(grid.hwnd());
  const grid::GridModel& m = grid.model();
  const int header_bottom = static_cast<int>(m.RowTop(1));
  const int row2_middle = static_cast<int>(m.RowTop(2) + m.RowTop(3)) / 2;
  const int col0_right = grid.GetColumnWidth(0);
  const int col2_left = col0_right + grid.GetColumnWidth(1);
  const int cells_right = col2_left + grid.GetColumnWidth(2);

  // The selected row: dark grey behind the text; the other rows the window colour.
  EXPECT_EQ(shot.Pixel(cells_right - 8, row2_middle), RGB(51, 51, 51));
  EXPECT_EQ(shot.Pixel(cells_right - 8, static_cast<int>(m.RowTop(1)) + 3), GetSysColor(COLOR_WINDOW));
  // Grid lines at the right of each column and the bottom of each row.
  EXPECT_EQ(shot.Pixel(col0_right - 1, row2_middle), RGB(192, 192, 192));
  EXPECT_EQ(shot.Pixel(cells_right - 20, static_cast<int>(m.RowTop(2)) - 1), RGB(192, 192, 192));
  // The header: button face inside a raised edge, sunken over the focus column (0).
  EXPECT_EQ(shot.Pixel(col2_left + 60, header_bottom / 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(shot.Pixel(col2_left + 1, 0), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(shot.Pixel(col2_left + 10, header_bottom - 2), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.Pixel(10, 0), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.Pixel(10, header_bottom - 2), GetSysColor(COLOR_3DHILIGHT));
  // No cell below the last row: the grid's own background, the button shadow.
  const int below = static_cast<int>(m.TotalHeight()) + 5;
  ASSERT_LT(below, shot.height());
  EXPECT_EQ(shot.Pixel(20, below), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(GridCtrlTest, AFontSentToTheWindowReachesAllDefaultCells) {
  LOGFONTW lf{};
  lf.lfHeight = -20;
  wcscpy(lf.lfFaceName, L"Tahoma");
  HFONT font = CreateFontIndirectW(&lf);
  SendMessageW(grid.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  LOGFONTW got{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(grid.hwnd(), WM_GETFONT, 0, 0)), sizeof got, &got);
  EXPECT_EQ(got.lfHeight, -20);
  const int height = grid.GetDefaultCell(false, false).GetHeight();
  EXPECT_GT(height, 20);
  for (bool fixed_row : {false, true}) {
    for (bool fixed_col : {false, true})
      EXPECT_EQ(grid.GetDefaultCell(fixed_row, fixed_col).GetHeight(), height);
  }
  DeleteObject(font);  // the grid keeps its own copy
  grid.SetRows(1);
  grid.SetColumns(1);
  grid.SetCellText(0, 0, "still drawn");
  GridSnapshot shot(grid.hwnd());
  EXPECT_EQ(shot.width(), 500);
}

TEST_F(GridCtrlTest, AGridThatMadeItsWindowDestroysIt) {
  HWND window = grid.hwnd();
  grid.Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(grid.hwnd(), nullptr);
}

}  // namespace
