#pragma once
// The text Ctrl+C and Ctrl+Insert put on the clipboard.
#include <string>

#include "grid/grid_model.h"

namespace grid {

// Over the bounding rectangle of the selection: rows of zero height and
// columns of zero width are skipped; within a row the texts of selected cells
// in column order, separated by a tab (an unselected cell gives an empty text
// but keeps its tab); rows separated by a single line feed. Code page 936, no
// terminating zero (the clipboard writer adds it). Empty without a selection.
std::string BuildCopyText(const GridModel& model);

}  // namespace grid
