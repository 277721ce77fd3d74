#pragma once
// Shared by the tests of the settings and of the settings dialog.
#include <gtest/gtest.h>

#include "settings/settings.h"

// Field by field, so a failure names the field.
inline void ExpectSameSettings(const Settings& a, const Settings& b) {
  EXPECT_EQ(a.nTipType, b.nTipType);
  EXPECT_EQ(a.strMark, b.strMark);
  EXPECT_EQ(a.bPlaySound, b.bPlaySound);
  EXPECT_EQ(a.nSoundType, b.nSoundType);
  EXPECT_EQ(a.strSoundFileName, b.strSoundFileName);
  EXPECT_EQ(a.bAutoRun, b.bAutoRun);
  EXPECT_EQ(a.bTray, b.bTray);
}
