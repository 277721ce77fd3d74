#pragma once
// The grid's cell model. CGridCellBase is the interface every cell answers;
// CGridCell stores its own text, item data, state, format, colours, font and
// margin, with markers that defer to the grid's default cell of the same kind;
// CGridDefaultCell is such a prototype, with a default width and height.
#include <cstdint>
#include <string>
#include <string_view>

// A colour as 0x00BBGGRR (Win32 COLORREF layout).
using GridColour = std::uint32_t;
// "Not set": the matching default cell's colour applies (for a default cell,
// the desktop's system colour for that kind of cell).
inline constexpr GridColour kDefaultColour = 0xFF000000;

// Cell state bits.
enum GridCellState : std::uint32_t {
  kCellFocused = 0x01,
  kCellSelected = 0x02,
  kCellReadOnly = 0x08,
  kCellFixed = 0x10,
  kCellFixedRow = 0x20,
  kCellFixedCol = 0x40,
};

// Draw-text flags of the default cells: left-aligned, vertically centred,
// single line, no "&" prefix processing, ellipsis at the end (0x8824).
inline constexpr std::uint32_t kDefaultCellFormat = 0x0000 | 0x0004 | 0x0020 | 0x0800 | 0x8000;
// Format and margin markers: take the default cell's value.
inline constexpr std::uint32_t kFormatFromDefault = 0xFFFFFFFF;
inline constexpr int kMarginFromDefault = -1;

// A font known to the grid's window (its font table); 0 means "no own font".
using GridFontId = std::uint32_t;
inline constexpr GridFontId kNoFont = 0;

class CGridCellBase {
 public:
  virtual ~CGridCellBase() = default;

  virtual const std::string& GetText() const = 0;  // code page 936
  virtual void SetText(std::string_view text) = 0;
  virtual std::int32_t GetData() const = 0;
  virtual void SetData(std::int32_t data) = 0;
  virtual std::uint32_t GetState() const = 0;
  virtual void SetState(std::uint32_t state) = 0;
  virtual std::uint32_t GetFormat() const = 0;
  virtual void SetFormat(std::uint32_t format) = 0;
  virtual GridColour GetTextClr() const = 0;
  virtual void SetTextClr(GridColour colour) = 0;
  virtual GridColour GetBackClr() const = 0;
  virtual void SetBackClr(GridColour colour) = 0;
  virtual GridFontId GetFont() const = 0;
  virtual void SetFont(GridFontId font) = 0;
  virtual int GetMargin() const = 0;
  virtual void SetMargin(int margin) = 0;

  bool IsSelected() const { return (GetState() & kCellSelected) != 0; }
  bool IsFocused() const { return (GetState() & kCellFocused) != 0; }
  bool IsFixed() const { return (GetState() & kCellFixed) != 0; }
  bool IsFixedRow() const { return (GetState() & kCellFixedRow) != 0; }
  bool IsFixedCol() const { return (GetState() & kCellFixedCol) != 0; }

 protected:
  CGridCellBase() = default;
  // Cells live by value in the grid's row storage and move when it grows.
  CGridCellBase(const CGridCellBase&) = default;
  CGridCellBase(CGridCellBase&&) noexcept = default;
  CGridCellBase& operator=(const CGridCellBase&) = default;
  CGridCellBase& operator=(CGridCellBase&&) noexcept = default;
};

class CGridCell : public CGridCellBase {
 public:
  CGridCell() = default;

  const std::string& GetText() const override { return text_; }
  void SetText(std::string_view text) override { text_.assign(text); }
  std::int32_t GetData() const override { return data_; }
  void SetData(std::int32_t data) override { data_ = data; }
  std::uint32_t GetState() const override { return state_; }
  void SetState(std::uint32_t state) override { state_ = state; }
  std::uint32_t GetFormat() const override { return format_; }
  void SetFormat(std::uint32_t format) override { format_ = format; }
  GridColour GetTextClr() const override { return text_colour_; }
  void SetTextClr(GridColour colour) override { text_colour_ = colour; }
  GridColour GetBackClr() const override { return back_colour_; }
  void SetBackClr(GridColour colour) override { back_colour_ = colour; }
  GridFontId GetFont() const override { return font_; }
  void SetFont(GridFontId font) override { font_ = font; }
  int GetMargin() const override { return margin_; }
  void SetMargin(int margin) override { margin_ = margin; }

  // Back to the defaults of a new cell, keeping text, data and state.
  void ResetLook() {
    format_ = kFormatFromDefault;
    text_colour_ = back_colour_ = kDefaultColour;
    font_ = kNoFont;
    margin_ = kMarginFromDefault;
  }

 private:
  std::string text_;
  std::int32_t data_ = 0;
  std::uint32_t state_ = 0;
  std::uint32_t format_ = kFormatFromDefault;
  GridColour text_colour_ = kDefaultColour;
  GridColour back_colour_ = kDefaultColour;
  GridFontId font_ = kNoFont;
  int margin_ = kMarginFromDefault;
};

// What a font gives a default cell: the width of one blank as margin, the
// width of " XXXXXXXXXXXX " as default column width, and 3/2 of the text
// height as default row height.
struct DefaultCellMetrics {
  int margin = 3;
  int width = 40;
  int height = 16;
};

class CGridDefaultCell : public CGridCell {
 public:
  CGridDefaultCell() {
    SetFormat(kDefaultCellFormat);
    SetMargin(DefaultCellMetrics{}.margin);
  }

  // Sets the font together with the margin, width and height measured in it.
  void SetFontAndMetrics(GridFontId font, const DefaultCellMetrics& metrics) {
    SetFont(font);
    SetMargin(metrics.margin);
    width_ = metrics.width;
    height_ = metrics.height;
  }

  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  void SetWidth(int width) { width_ = width; }
  void SetHeight(int height) { height_ = height; }

 private:
  int width_ = DefaultCellMetrics{}.width;
  int height_ = DefaultCellMetrics{}.height;
};
