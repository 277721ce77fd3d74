#pragma once
// CGridCtrl: the table control the event list is shown in. A rectangle of
// cells whose first rows (and columns) can be fixed headers that do not
// scroll; row-select mode, keyboard and mouse selection, divider sizing,
// title tips, copying to the clipboard, and notifications to the parent.
//
// The window class "MFCGridCtrl" is registered when the first grid object is
// constructed, so a dialog template can name it; the grid object then attaches
// to the control the dialog made (Attach), or creates its own window (Create).
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/window.h"
#include "grid/cell_range.h"
#include "grid/grid_fonts_win.h"
#include "grid/grid_geometry.h"
#include "grid/grid_model.h"
#include "grid/grid_notify.h"
#include "grid/title_tip.h"

class CGridCtrl : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"MFCGridCtrl";
  // Grid line modes.
  static constexpr int kGridLinesNone = 0;
  static constexpr int kGridLinesHorizontal = 1;
  static constexpr int kGridLinesVertical = 2;
  static constexpr int kGridLinesBoth = 3;
  static constexpr GridColour kGridLineColour = 0x00C0C0C0;  // RGB(192, 192, 192)
  static constexpr GridColour kSelectedBackColour = 0x00333333;

  CGridCtrl(int rows = 0, int cols = 0, int fixed_rows = 0, int fixed_cols = 0);
  ~CGridCtrl() override;

  // Registers "MFCGridCtrl" unless it is registered already (the constructor does this).
  static bool RegisterWindowClass();

  // Attaches to control `id` of `dialog` (a window of class "MFCGridCtrl"),
  // gives it a sunken client edge and takes over the font the dialog set on it.
  bool Attach(HWND dialog, int id);
  bool AttachWindow(HWND control);
  // Creates a grid child window of `parent`.
  bool Create(HWND parent, const RECT& rect, UINT id,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
  // Destroys a window made by Create; lets go of an attached one (which
  // belongs to its dialog). Hides Window::Destroy, which would only let go
  // of a window that is reached by subclassing, as every grid window is.
  void Destroy();

  // Counts. Each returns false only on a negative count or when memory runs out.
  int GetRowCount() const { return model_.GetRowCount(); }
  int GetColumnCount() const { return model_.GetColumnCount(); }
  int GetFixedRowCount() const { return model_.GetFixedRowCount(); }
  int GetFixedColumnCount() const { return model_.GetFixedColumnCount(); }
  bool SetRows(int count);
  bool SetColumns(int count);
  bool SetFixedRows(int count);
  bool SetFixedColumns(int count);
  void RemoveAllRows();

  // Cells. False (or 0, or empty) when the cell does not exist.
  bool SetCellText(int row, int col, std::string_view text);
  std::string GetCellText(int row, int col) const { return model_.GetCellText(row, col); }
  bool SetCellData(int row, int col, std::int32_t data);
  std::int32_t GetCellData(int row, int col) const { return model_.GetCellData(row, col); }
  CGridCellBase* GetCell(int row, int col) { return model_.GetCell(row, col); }
  bool SetCellFont(int row, int col, const LOGFONTW& font);
  bool SetCellColours(int row, int col, GridColour text, GridColour back);

  // Sizes. False when the column (row) does not exist or the size is negative.
  bool SetColumnWidth(int col, int width);
  int GetColumnWidth(int col) const { return model_.GetColumnWidth(col); }
  bool SetRowHeight(int row, int height);
  int GetRowHeight(int row) const { return model_.GetRowHeight(row); }
  // Shares the difference between the client width and the columns' total
  // among the columns of non-zero width (with include_fixed, the fixed ones too).
  void FitColumnsToWidth(bool include_fixed);
  // Sizes a column (row) to its widest (tallest) text, header included.
  bool AutoSizeColumn(int col);
  // The width cell (row, col) needs to show its whole text: the text in the
  // cell's font and its margins (0 outside the grid).
  int CellTextWidth(int row, int col);
  bool AutoSizeRow(int row);

  // Selection and focus.
  // Clears the selection, forgets any sort column, sets the mode, turns off
  // row selection by clicking a fixed-column cell, and redraws.
  void SetRowSelectMode(bool on);
  bool GetRowSelectMode() const { return row_select_; }
  grid::CellId GetFocusCell() const { return model_.GetFocusCell(); }
  void SetFocusCell(int row, int col);
  int GetSelectedCount() const { return model_.GetSelectedCount(); }
  grid::CellRange GetSelectedCellRange() const { return model_.GetSelectedCellRange(); }
  bool IsCellSelected(int row, int col) const { return model_.IsCellSelected(row, col); }
  void SetSelectedRange(const grid::CellRange& range);
  void ClearSelection();
  void SelectAllCells();
  // Copies the selection to the clipboard (Ctrl+C); false with nothing selected
  // or when the clipboard could not be had.
  bool CopySelection();
  // Scrolls so that the cell is fully in view.
  void EnsureVisible(int row, int col);

  // Look and behaviour switches.
  CGridDefaultCell& GetDefaultCell(bool fixed_row, bool fixed_col) {
    return model_.GetDefaultCell(fixed_row, fixed_col);
  }
  void SetGridLines(int mode);
  int GetGridLines() const { return grid_lines_; }
  void SetGridBkColor(GridColour colour);
  void EnableTitleTips(bool on) { title_tips_ = on; }
  void EnableResize(bool on) { allow_resize_ = on; }
  void SetHeaderClickSelects(bool on) { header_click_selects_ = on; }
  unsigned wheel_lines_per_notch() const { return wheel_lines_; }
  HFONT GetFont() const;
  // Applies a font to all four default cells (what WM_SETFONT does) and redraws.
  void SetFont(HFONT font);

  // The cell model and the current scroll position and client size.
  const grid::GridModel& model() const { return model_; }
  grid::GridView view() const;
  // Recomputes the scroll bars now instead of at the next paint.
  void ResetScrollBars();
  const CTitleTip& title_tip() const { return title_tip_; }

  // Written by the program directly, as public flags.
  bool bEditable = true;          // cells may be edited in place (not built; read only)
  bool bSingleRowSelect = false;  // in row-select mode only one row at a time

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnSubclassed() override;

 private:
  static constexpr UINT_PTR kAutoScrollTimerId = 1;
  enum class MouseMode {
    kNothing,
    kSelectCells,
    kSelectRows,
    kSelectColumns,
    kSelectAll,
    kSizingColumn,
    kSizingRow
  };

  void InitWindow();
  // Marks the scroll bars stale and asks for one repaint, however many
  // changes come before it.
  void Refresh();
  void UpdateScrollBarsIfStale();
  void SetScroll(grid::Offset x, grid::Offset y);
  void OnScroll(int bar, int code);
  void ApplyFont(HFONT font);
  void SendNotify(int code, grid::CellId cell);
  void ChangeSelection(grid::CellId starter, grid::CellId focus, const grid::CellRange& range,
                       bool keep_existing);

  // Drawing (grid_ctrl_paint.cpp).
  void OnPaint();
  void Draw(HDC dc, const RECT& client);
  void DrawCell(HDC dc, const grid::GridView& v, int row, int col, HFONT* current_font);
  void DrawFocus(HDC dc, const grid::GridView& v, const RECT& client);
  void InvertSizingLine();
  HFONT CellFont(const CGridCellBase& cell, const CGridDefaultCell& def) const;
  // A cell's rectangle less the pixels of its grid lines, client coordinates.
  RECT ContentRect(const grid::GridView& v, int row, int col) const;

  // Mouse (grid_ctrl_mouse.cpp).
  void OnLButtonDown(int x, int y, UINT flags, bool double_click);
  void OnLButtonUp(int x, int y);
  void OnMouseMove(int x, int y, UINT flags);
  void OnRButtonUp(int x, int y);
  void OnAutoScrollTimer();
  void ExtendSelectionTo(int x, int y);
  void EndMouseMode(bool apply_sizing);
  bool OnSetCursor();
  void ShowTitleTipAt(int x, int y);

  // Keyboard and wheel (grid_ctrl_keyboard.cpp).
  bool OnKeyDown(UINT key);
  LRESULT OnGetDlgCode(const MSG* msg);
  void OnMouseWheel(int delta);

  grid::GridModel model_;
  GridFontTable fonts_;
  CTitleTip title_tip_;
  bool owns_window_ = false;
  bool ole_initialized_ = false;

  // Scrolling and repainting.
  grid::Offset scroll_x_ = 0;
  grid::Offset scroll_y_ = 0;
  bool scroll_bars_stale_ = true;
  bool repaint_requested_ = false;
  bool updating_scroll_bars_ = false;
  bool hbar_shown_ = false;
  bool vbar_shown_ = false;

  // Behaviour.
  bool row_select_ = false;
  bool header_click_selects_ = true;
  bool fixed_column_selects_row_ = true;
  bool title_tips_ = true;
  bool allow_resize_ = true;
  int grid_lines_ = kGridLinesBoth;
  GridColour grid_bk_colour_ = kDefaultColour;  // the button-shadow colour until set
  int resize_capture_ = 3;
  UINT auto_scroll_period_ = 25;
  unsigned wheel_lines_ = 3;
  int wheel_carry_ = 0;

  // Mouse state.
  MouseMode mouse_mode_ = MouseMode::kNothing;
  grid::CellId press_cell_;
  bool click_pending_ = false;
  grid::CellId anchor_;
  int sizing_index_ = -1;
  int sizing_start_ = 0;     // mouse position at the press on the divider
  int sizing_original_ = 0;  // the column's (row's) size then
  int sizing_line_ = -1;     // where the inverted line is drawn, or -1
  bool auto_scroll_timer_ = false;
  POINT last_mouse_{0, 0};  // where the button was released
};
