#include "grid/column_fit.h"

#include <gtest/gtest.h>

#include <numeric>

namespace grid {
namespace {

using Widths = std::vector<int>;

Widths Fit(Widths widths, int first, int client_width) {
  FitColumnWidths(widths, first, client_width);
  return widths;
}

TEST(ColumnFit, SharesTheDifferenceAndTheRemainderFromTheFirstColumn) {
  // d = -10: 3 from each, one more from the first.
  EXPECT_EQ(Fit({250, 130, 130}, 0, 500), (Widths{246, 127, 127}));
  // d = +10: 3 to each, one more to the first.
  EXPECT_EQ(Fit({250, 130, 130}, 0, 520), (Widths{254, 133, 133}));
  EXPECT_EQ(Fit({250, 130, 130}, 0, 510), (Widths{250, 130, 130}));
  EXPECT_EQ(Fit({380, 130}, 0, 601), (Widths{426, 175}));
  EXPECT_EQ(Fit({380, 130}, 0, 600), (Widths{425, 175}));
}

TEST(ColumnFit, AColumnIsWidenedWithTheDonorsSparePixelsOnly) {
  auto widen = [](Widths widths, int col, int needed, int donor, int least) {
    WidenColumnFrom(widths, col, needed, donor, least);
    return widths;
  };
  EXPECT_EQ(widen({425, 175}, 1, 240, 0, 160), (Widths{360, 240}));
  EXPECT_EQ(widen({425, 175}, 1, 170, 0, 160), (Widths{425, 175}));  // wide enough already
  EXPECT_EQ(widen({200, 175}, 1, 240, 0, 160), (Widths{160, 215}));  // the donor keeps its least
  EXPECT_EQ(widen({150, 175}, 1, 240, 0, 160), (Widths{150, 175}));  // nothing to spare
  EXPECT_EQ(widen({300, 130, 130}, 2, 200, 0, 160), (Widths{230, 130, 200}));
  EXPECT_EQ(widen({300, 130}, 2, 200, 0, 160), (Widths{300, 130}));  // no such column
  EXPECT_EQ(widen({300, 130}, 0, 400, 0, 160), (Widths{300, 130}));  // not from itself
}

TEST(ColumnFit, FillsTheWidthExactlyForEveryRemainder) {
  for (int client = 300; client <= 900; ++client) {
    Widths w = Fit({250, 130, 130}, 0, client);
    EXPECT_EQ(std::accumulate(w.begin(), w.end(), 0), client) << client;
  }
}

TEST(ColumnFit, ZeroWidthColumnsStayZeroButCountTowardTheRemainder) {
  // d = 12 over k = 2: 6 each, remainder 0.
  EXPECT_EQ(Fit({0, 100, 100}, 0, 212), (Widths{0, 106, 106}));
  // d = 13: remainder 1 falls on position 0, the zero-width column, which stays 0.
  EXPECT_EQ(Fit({0, 100, 100}, 0, 213), (Widths{0, 106, 106}));
  // Later fits keep the hidden column hidden.
  Widths w{250, 0, 130};
  for (int client : {500, 640, 381, 700}) {
    w = Fit(w, 0, client);
    EXPECT_EQ(w[1], 0);
  }
  // With every column hidden nothing happens.
  EXPECT_EQ(Fit({0, 0}, 0, 500), (Widths{0, 0}));
}

TEST(ColumnFit, ColumnsBeforeTheFirstAreLeftAlone) {
  // Without include-fixed the fixed column keeps its width but still counts in the total.
  EXPECT_EQ(Fit({50, 100, 100}, 1, 300), (Widths{50, 125, 125}));
  EXPECT_EQ(Fit({50, 100, 100}, 1, 251), (Widths{50, 101, 100}));
  EXPECT_EQ(Fit({50, 100}, 2, 300), (Widths{50, 100}));  // nothing beyond the fixed columns
  EXPECT_EQ(Fit({}, 0, 300), (Widths{}));
}

TEST(ColumnFit, ANarrowClientNeverMakesAColumnNegative) {
  Widths w = Fit({10, 500}, 0, 100);
  EXPECT_GE(w[0], 1);
  EXPECT_GE(w[1], 1);
  w = Fit({1, 1, 1}, 0, 0);
  EXPECT_EQ(w, (Widths{1, 1, 1}));
  // And the columns recover when the client grows again.
  w = Fit(w, 0, 300);
  EXPECT_EQ(w, (Widths{100, 100, 100}));
}

}  // namespace
}  // namespace grid
