#include "grid/copy_text.h"

namespace grid {

std::string BuildCopyText(const GridModel& model) {
  const CellRange range = model.GetSelectedCellRange();
  std::string text;
  if (!range.IsValid()) return text;
  bool first_row = true;
  for (int r = range.min_row; r <= range.max_row; ++r) {
    if (model.GetRowHeight(r) == 0) continue;
    if (!first_row) text += '\n';
    first_row = false;
    bool first_col = true;
    for (int c = range.min_col; c <= range.max_col; ++c) {
      if (model.GetColumnWidth(c) == 0) continue;
      if (!first_col) text += '\t';
      first_col = false;
      if (model.IsCellSelected(r, c)) text += model.GetCellText(r, c);
    }
  }
  return text;
}

}  // namespace grid
