#include "grid/grid_fonts_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

GridFontId GridFontTable::Add(const LOGFONTW& original) {
  // Whatever follows the face name's end must not make equal fonts differ.
  LOGFONTW logfont = original;
  const std::size_t face_length = wcsnlen(logfont.lfFaceName, LF_FACESIZE);
  std::fill(logfont.lfFaceName + face_length, logfont.lfFaceName + LF_FACESIZE, L'\0');
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (std::memcmp(&entries_[i].logfont, &logfont, sizeof logfont) == 0)
      return static_cast<GridFontId>(i + 1);
  }
  Font font(CreateFontIndirectW(&logfont));
  if (!font) return kNoFont;
  entries_.push_back({logfont, std::move(font)});
  return static_cast<GridFontId>(entries_.size());
}

HFONT GridFontTable::Get(GridFontId id) const {
  if (id == kNoFont || id > entries_.size()) return nullptr;
  return entries_[id - 1].font.get();
}

LOGFONTW SystemMessageLogFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return metrics.lfMessageFont;
  LOGFONTW fallback{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
  return fallback;
}

SIZE MeasureText(HDC dc, HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old) SelectObject(dc, old);
  return size;
}

DefaultCellMetrics MeasureDefaultCellMetrics(HFONT font) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return DefaultCellMetrics{};
  DefaultCellMetrics metrics;
  metrics.margin = MeasureText(screen, font, L" ").cx;
  const SIZE sample = MeasureText(screen, font, L" XXXXXXXXXXXX ");
  metrics.width = sample.cx;
  metrics.height = sample.cy * 3 / 2;
  ReleaseDC(nullptr, screen);
  return metrics;
}
