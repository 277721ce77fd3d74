#include "grid/column_fit.h"

#include <algorithm>

namespace grid {

void FitColumnWidths(std::vector<int>& widths, int first, int client_width) {
  const int count = static_cast<int>(widths.size());
  first = std::max(first, 0);
  if (first >= count) return;

  long long total = 0;
  int k = 0;
  for (int i = 0; i < count; ++i) {
    total += widths[i];
    if (i >= first && widths[i] != 0) ++k;
  }
  if (k == 0) return;

  const long long d = client_width - total;
  const long long share = d / k;  // C++ division truncates toward zero
  const int step = d <= 0 ? -1 : 1;
  const long long r = (d <= 0 ? -d : d) % k;

  for (int i = first; i < count; ++i) {
    if (widths[i] == 0) continue;
    long long w = widths[i] + share;
    if (i - first < r) w += step;
    widths[i] = static_cast<int>(std::clamp<long long>(w, 1, 0x7FFFFFFF));
  }
}

void WidenColumnFrom(std::vector<int>& widths, int col, int needed, int donor, int donor_least) {
  const int count = static_cast<int>(widths.size());
  if (col < 0 || col >= count || donor < 0 || donor >= count || col == donor) return;
  const int wanted = needed - widths[col];
  const int spare = widths[donor] - donor_least;
  if (wanted <= 0 || spare <= 0) return;
  const int given = std::min(wanted, spare);
  widths[col] += given;
  widths[donor] -= given;
}

}  // namespace grid
