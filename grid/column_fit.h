#pragma once
// Widening (or narrowing) columns so that together they fill the grid's
// client width exactly, as the event list does after every refill.
#include <vector>

namespace grid {

// Shares d = client_width - (sum of all widths) among the columns from
// `first` on whose width is not 0: each gets d / k (k such columns, division
// truncating toward zero); the remainder |d| mod k goes one pixel each to the
// columns among the r positions starting at `first` (zero-width columns count
// toward those positions but stay 0). Columns before `first` are untouched.
// A column that had a width never ends below 1 pixel, so that a very narrow
// client cannot make widths negative or hide a column for good.
void FitColumnWidths(std::vector<int>& widths, int first, int client_width);

// Widens column `col` to `needed` pixels when it is narrower, with pixels of
// column `donor`, which keeps at least `donor_least` (as much as it can
// give when that is not enough). The total width stays the same.
void WidenColumnFrom(std::vector<int>& widths, int col, int needed, int donor, int donor_least);

}  // namespace grid
