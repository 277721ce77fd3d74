// CGridCtrl: construction, the window class and attaching, the operations
// the program calls, scrolling, fonts and notifications.
#include "grid/grid_ctrl.h"

#include <windows.h>

#include <ole2.h>

#include <algorithm>
#include <climits>
#include <optional>

#include "framework/text_boundary.h"
#include "grid/column_fit.h"
#include "grid/copy_text.h"
#include "grid/grid_clipboard_win.h"
#include "grid/wheel_scroll.h"

namespace {

// Where the window class keeps a font sent to the control before a grid
// object attached to it (the dialog sets its font while creating controls).
const wchar_t kEarlyFontProperty[] = L"TallyoGridEarlyFont";

LRESULT CALLBACK GridClassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFONT:
      SetPropW(hwnd, kEarlyFontProperty, reinterpret_cast<HANDLE>(wparam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(hwnd, kEarlyFontProperty));
    case WM_NCDESTROY:
      RemovePropW(hwnd, kEarlyFontProperty);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// The registry's wheel setting, for systems whose SystemParametersInfo lacks it.
std::optional<std::string> ReadRegistryWheelLines() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t buffer[32] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  DWORD type = 0;
  const LONG result =
      RegQueryValueExW(key, L"WheelScrollLines", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return win::Narrow(buffer);
}

unsigned ReadWheelLinesPerNotch() {
  UINT lines = 0;
  std::optional<unsigned> system;
  if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) system = lines;
  std::optional<std::string> registry = system ? std::nullopt : ReadRegistryWheelLines();
  return grid::ChooseWheelLines(system, registry ? std::optional<std::string_view>(*registry) : std::nullopt);
}

}  // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixed_rows, int fixed_cols) {
  RegisterWindowClass();
  // The clipboard and drag-and-drop facilities of the system's object-linking
  // layer want it started on this thread; the grid works on without it.
  const HRESULT ole = OleInitialize(nullptr);
  ole_initialized_ = SUCCEEDED(ole);
  if (!ole_initialized_) {
    win::MessageBox(nullptr,
                    "OLE initialization failed. Make sure that the OLE libraries are the correct version",
                    "Tallyo", MB_OK | MB_ICONEXCLAMATION);
  }
  wheel_lines_ = ReadWheelLinesPerNotch();
  ApplyFont(nullptr);
  model_.SetRows(rows);
  model_.SetColumns(cols);
  model_.SetFixedRows(fixed_rows);
  model_.SetFixedColumns(fixed_cols);
}

CGridCtrl::~CGridCtrl() {
  Destroy();
  if (ole_initialized_) OleUninitialize();
}

void CGridCtrl::Destroy() {
  title_tip_.Destroy();
  if (owns_window_ && hwnd() != nullptr) DestroyWindow(hwnd());
  owns_window_ = false;
  Window::Destroy();
}

bool CGridCtrl::RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = GridClassProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  return RegisterClassOnce(wc);
}

bool CGridCtrl::Attach(HWND dialog, int id) { return AttachWindow(GetDlgItem(dialog, id)); }

// However the window was bound (Attach, Create, or a dialog's data exchange),
// it is set up here, once.
bool CGridCtrl::AttachWindow(HWND control) { return Subclass(control); }

bool CGridCtrl::Create(HWND parent, const RECT& rect, UINT id, DWORD style) {
  // The class procedure is not a Window one, so Window::Create subclasses it.
  if (!Window::Create(kClassName, L"", style, 0, rect, parent, id)) return false;
  owns_window_ = true;
  return true;
}

void CGridCtrl::OnSubclassed() { InitWindow(); }

void CGridCtrl::InitWindow() {
  const LONG_PTR ex_style = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex_style | WS_EX_CLIENTEDGE);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HFONT early = reinterpret_cast<HFONT>(DefaultProc(WM_GETFONT, 0, 0))) ApplyFont(early);
  hbar_shown_ = vbar_shown_ = false;
  Refresh();
}

// ---- Operations ----

bool CGridCtrl::SetRows(int count) {
  const bool ok = model_.SetRows(count);
  Refresh();
  return ok;
}

bool CGridCtrl::SetColumns(int count) {
  const bool ok = model_.SetColumns(count);
  Refresh();
  return ok;
}

bool CGridCtrl::SetFixedRows(int count) {
  const bool ok = model_.SetFixedRows(count);
  Refresh();
  return ok;
}

bool CGridCtrl::SetFixedColumns(int count) {
  const bool ok = model_.SetFixedColumns(count);
  Refresh();
  return ok;
}

void CGridCtrl::RemoveAllRows() {
  title_tip_.Hide();
  model_.RemoveAllRows();
  anchor_ = {};
  scroll_x_ = scroll_y_ = 0;
  Refresh();
}

bool CGridCtrl::SetCellText(int row, int col, std::string_view text) {
  if (!model_.SetCellText(row, col, text)) return false;
  Refresh();
  return true;
}

bool CGridCtrl::SetCellData(int row, int col, std::int32_t data) {
  return model_.SetCellData(row, col, data);
}

bool CGridCtrl::SetCellFont(int row, int col, const LOGFONTW& font) {
  CGridCell* cell = model_.GetCell(row, col);
  if (cell == nullptr) return false;
  const GridFontId id = fonts_.Add(font);
  if (id == kNoFont) return false;
  cell->SetFont(id);
  Refresh();
  return true;
}

bool CGridCtrl::SetCellColours(int row, int col, GridColour text, GridColour back) {
  CGridCell* cell = model_.GetCell(row, col);
  if (cell == nullptr) return false;
  cell->SetTextClr(text);
  cell->SetBackClr(back);
  Refresh();
  return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
  if (!model_.SetColumnWidth(col, width)) return false;
  Refresh();
  return true;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
  if (!model_.SetRowHeight(row, height)) return false;
  Refresh();
  return true;
}

void CGridCtrl::FitColumnsToWidth(bool include_fixed) {
  const int first = include_fixed ? 0 : model_.GetFixedColumnCount();
  if (model_.GetColumnCount() == 0 || first >= model_.GetColumnCount() || hwnd() == nullptr) return;
  // Without a horizontal bar; with the vertical one exactly when the rows need
  // it, so that the width taken is the one the columns will have to fill.
  updating_scroll_bars_ = true;
  ShowScrollBar(hwnd(), SB_HORZ, FALSE);
  RECT client;
  GetClientRect(hwnd(), &client);
  const bool has_vbar = (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
  const int full_height = client.bottom;
  const bool need_vbar = model_.TotalHeight() > full_height;
  if (need_vbar != has_vbar) ShowScrollBar(hwnd(), SB_VERT, need_vbar);
  updating_scroll_bars_ = false;
  GetClientRect(hwnd(), &client);

  std::vector<int> widths = model_.column_widths();
  grid::FitColumnWidths(widths, first, client.right);
  for (int c = 0; c < static_cast<int>(widths.size()); ++c) model_.SetColumnWidth(c, widths[c]);
  ResetScrollBars();
  Refresh();
}

bool CGridCtrl::AutoSizeColumn(int col) {
  if (col < 0 || col >= model_.GetColumnCount()) return false;
  WindowDC dc(hwnd());
  HDC hdc = dc.get();
  if (hdc == nullptr) return false;
  HGDIOBJ original = nullptr;
  HFONT current = nullptr;
  int widest = 0;
  for (int r = 0; r < model_.GetRowCount(); ++r) {
    const CGridCell& cell = *model_.GetCell(r, col);
    const CGridDefaultCell& def = model_.DefaultCellAt(r, col);
    const int margin = cell.GetMargin() != kMarginFromDefault ? cell.GetMargin() : def.GetMargin();
    int width = 2 * margin;
    if (!cell.GetText().empty()) {
      HFONT font = CellFont(cell, def);
      if (font != current) {
        HGDIOBJ old = SelectObject(hdc, font);
        if (original == nullptr) original = old;
        current = font;
      }
      const std::wstring text = win::Widen(cell.GetText());
      SIZE size{0, 0};
      GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
      width += size.cx;
    }
    widest = std::max(widest, width);
  }
  if (original != nullptr) SelectObject(hdc, original);
  if (grid_lines_ & kGridLinesVertical) widest += 1;
  model_.SetColumnWidth(col, widest);
  Refresh();
  return true;
}

int CGridCtrl::CellTextWidth(int row, int col) {
  if (row < 0 || row >= model_.GetRowCount() || col < 0 || col >= model_.GetColumnCount()) return 0;
  const CGridCell& cell = *model_.GetCell(row, col);
  const CGridDefaultCell& def = model_.DefaultCellAt(row, col);
  const int margin = cell.GetMargin() != kMarginFromDefault ? cell.GetMargin() : def.GetMargin();
  WindowDC dc(hwnd());
  if (dc.get() == nullptr) return 0;
  const SIZE size = MeasureText(dc.get(), CellFont(cell, def), win::Widen(cell.GetText()));
  return 2 * margin + size.cx + ((grid_lines_ & kGridLinesVertical) ? 1 : 0);
}

bool CGridCtrl::AutoSizeRow(int row) {
  if (row < 0 || row >= model_.GetRowCount()) return false;
  WindowDC dc(hwnd());
  if (dc.get() == nullptr) return false;
  int tallest = 0;
  for (int c = 0; c < model_.GetColumnCount(); ++c) {
    const CGridCell& cell = *model_.GetCell(row, c);
    HFONT font = CellFont(cell, model_.DefaultCellAt(row, c));
    const SIZE size = MeasureText(dc.get(), font, cell.GetText().empty() ? L" " : win::Widen(cell.GetText()));
    tallest = std::max(tallest, static_cast<int>(size.cy) * 3 / 2);
  }
  if (grid_lines_ & kGridLinesHorizontal) tallest += 1;
  model_.SetRowHeight(row, tallest);
  Refresh();
  return true;
}

void CGridCtrl::SetRowSelectMode(bool on) {
  model_.ClearSelection();
  // There is no sorting, so there is no sort column to forget.
  row_select_ = on;
  fixed_column_selects_row_ = false;
  Refresh();
}

void CGridCtrl::SetFocusCell(int row, int col) {
  model_.SetFocusCell({row, col});
  Refresh();
}

void CGridCtrl::SetSelectedRange(const grid::CellRange& range) {
  model_.ClearSelection();
  model_.SelectRange(range);
  Refresh();
}

void CGridCtrl::ClearSelection() {
  model_.ClearSelection();
  Refresh();
}

void CGridCtrl::SelectAllCells() { SetSelectedRange(model_.NonFixedRange()); }

bool CGridCtrl::CopySelection() {
  if (model_.GetSelectedCount() == 0) return false;
  return WriteClipboardText(hwnd(), grid::BuildCopyText(model_));
}

void CGridCtrl::EnsureVisible(int row, int col) {
  if (hwnd() == nullptr) return;
  UpdateScrollBarsIfStale();
  const grid::GridView v = view();
  SetScroll(grid::ScrollXToShowColumn(model_, v, col), grid::ScrollYToShowRow(model_, v, row));
}

void CGridCtrl::SetGridLines(int mode) {
  grid_lines_ = mode & kGridLinesBoth;
  Refresh();
}

void CGridCtrl::SetGridBkColor(GridColour colour) {
  grid_bk_colour_ = colour;
  Refresh();
}

HFONT CGridCtrl::GetFont() const { return fonts_.Get(model_.GetDefaultCell(false, false).GetFont()); }

void CGridCtrl::SetFont(HFONT font) { ApplyFont(font); }

void CGridCtrl::ApplyFont(HFONT font) {
  LOGFONTW logfont{};
  if (font == nullptr || GetObjectW(font, sizeof logfont, &logfont) == 0) logfont = SystemMessageLogFont();
  const GridFontId id = fonts_.Add(logfont);
  if (id == kNoFont) return;
  const DefaultCellMetrics metrics = MeasureDefaultCellMetrics(fonts_.Get(id));
  for (bool fixed_row : {false, true}) {
    for (bool fixed_col : {false, true})
      model_.GetDefaultCell(fixed_row, fixed_col).SetFontAndMetrics(id, metrics);
  }
  Refresh();
}

HFONT CGridCtrl::CellFont(const CGridCellBase& cell, const CGridDefaultCell& def) const {
  HFONT font = fonts_.Get(cell.GetFont() != kNoFont ? cell.GetFont() : def.GetFont());
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// ---- Notifications ----

void CGridCtrl::SendNotify(int code, grid::CellId cell) {
  if (hwnd() == nullptr) return;
  GridNotify notify{};
  notify.hdr.hwndFrom = hwnd();
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd()));
  notify.hdr.code = static_cast<UINT>(code);
  notify.iRow = cell.IsValid() ? cell.row : -1;
  notify.iColumn = cell.IsValid() ? cell.col : -1;
  HWND target = GetWindow(hwnd(), GW_OWNER);
  if (target == nullptr) target = GetParent(hwnd());
  if (target != nullptr)
    SendMessageW(target, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CGridCtrl::ChangeSelection(grid::CellId starter, grid::CellId focus, const grid::CellRange& range,
                                bool keep_existing) {
  SendNotify(kGridSelChanging, starter);
  if (!keep_existing) model_.ClearSelection();
  model_.SelectRange(range);
  if (model_.IsValid(focus)) model_.SetFocusCell(focus);
  Refresh();
  SendNotify(kGridSelChanged, model_.GetFocusCell());
}

// ---- Messages ----

LRESULT CGridCtrl::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  const int x = static_cast<short>(LOWORD(lparam));
  const int y = static_cast<short>(HIWORD(lparam));
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint erases area by area, off screen
    case WM_PRINTCLIENT: {
      UpdateScrollBarsIfStale();
      RECT client;
      GetClientRect(hwnd(), &client);
      Draw(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    case WM_SIZE:
      ResetScrollBars();
      Refresh();
      break;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wparam));
      return 0;
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wparam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wparam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(x, y, static_cast<UINT>(wparam), false);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(x, y, static_cast<UINT>(wparam), true);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(x, y);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(x, y, static_cast<UINT>(wparam));
      return 0;
    case WM_RBUTTONDOWN:
      title_tip_.Hide();
      if (GetFocus() != hwnd()) SetFocus(hwnd());
      return 0;
    case WM_RBUTTONUP:
      OnRButtonUp(x, y);
      return 0;  // the notification replaces WM_CONTEXTMENU
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != hwnd() && mouse_mode_ != MouseMode::kNothing) {
        EndMouseMode(false);
        click_pending_ = false;
      }
      return 0;
    case WM_CANCELMODE:
      if (mouse_mode_ != MouseMode::kNothing) {
        EndMouseMode(false);
        click_pending_ = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
      }
      break;
    case WM_TIMER:
      if (wparam == kAutoScrollTimerId) {
        OnAutoScrollTimer();
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_KEYDOWN:
      if (OnKeyDown(static_cast<UINT>(wparam))) return 0;
      break;
    case WM_GETDLGCODE:
      return OnGetDlgCode(reinterpret_cast<const MSG*>(lparam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Refresh();  // the focus rectangle shows only while the grid has the focus
      break;
    case WM_SETFONT:
      ApplyFont(reinterpret_cast<HFONT>(wparam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetFont());
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      Refresh();
      break;
    case WM_DESTROY:
      EndMouseMode(false);
      title_tip_.Destroy();
      break;
    default:
      break;
  }
  return DefaultProc(message, wparam, lparam);
}
