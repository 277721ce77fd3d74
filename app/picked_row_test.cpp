#include "app/picked_row.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Keys = std::vector<EventKey>;
constexpr EventKey kA{100}, kB{200}, kC{300}, kTwinOfC{300, 1}, kNone{};

TEST(PickedRow, ThePickedEventStaysPickedWhereverTheListPutsIt) {
  PickedRow picked;
  picked.Pick(2);
  EXPECT_EQ(picked.Refilled(kB, {kA, kB, kC}).row, 2);
  const PickedRow::Kept kept = picked.Refilled(kB, {kC, kTwinOfC, kA, kB});
  EXPECT_EQ(kept.row, 4);
  EXPECT_EQ(kept.key, kB);
  // Twins are told apart by their place among the events of their second.
  EXPECT_EQ(picked.Refilled(kTwinOfC, {kC, kTwinOfC}).row, 2);
}

TEST(PickedRow, AnEventThatLeftTheListPassesThePickToTheEventNowInItsRow) {
  PickedRow picked;
  picked.Pick(2);
  const PickedRow::Kept kept = picked.Refilled(kB, {kA, kC});
  EXPECT_EQ(kept.row, 2);
  EXPECT_EQ(kept.key, kC);
  // That row is the one picked now: the next change keeps following kC.
  EXPECT_EQ(picked.Refilled(kC, {kC, kA}).row, 1);
}

TEST(PickedRow, ARowThatListsNoEventPicksNothing) {
  PickedRow nothing_yet;
  EXPECT_EQ(nothing_yet.Refilled(kNone, {kA, kB}).row, -1);

  PickedRow picked;
  picked.Pick(3);
  const PickedRow::Kept kept = picked.Refilled(kC, {kA, kB});  // kC is gone, and so is row 3
  EXPECT_EQ(kept.row, -1);
  EXPECT_EQ(kept.key, kNone);
  EXPECT_EQ(picked.Refilled(kNone, {}).row, -1);

  PickedRow header;
  header.Pick(0);
  EXPECT_EQ(header.Refilled(kNone, {kA}).row, -1);
}

}  // namespace
