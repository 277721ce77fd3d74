#pragma once
// The fonts a grid draws with. Cells and default cells name a font by a small
// id into this table, which owns one GDI font per distinct LOGFONT.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/gdi.h"
#include "grid/grid_cell.h"

class GridFontTable {
 public:
  // The id of an equal font already in the table, else of a new one; kNoFont
  // if the font cannot be made.
  GridFontId Add(const LOGFONTW& logfont);
  // Null for kNoFont and unknown ids.
  HFONT Get(GridFontId id) const;

 private:
  struct Entry {
    LOGFONTW logfont;
    Font font;
  };
  std::vector<Entry> entries_;
};

// The system's message font, the grid's font until the parent sets one.
LOGFONTW SystemMessageLogFont();

// Margin (one blank), width (" XXXXXXXXXXXX ") and height (text height x 3 / 2)
// of a default cell in `font`; 3, 40 and 16 when no screen drawing context can be had.
DefaultCellMetrics MeasureDefaultCellMetrics(HFONT font);

// Width and height of a code page 936 text drawn in `font` on `dc`.
SIZE MeasureText(HDC dc, HFONT font, const std::wstring& text);
