#include "dialogs/autorun_entry.h"

#include <gtest/gtest.h>

#include "framework/command_line.h"

namespace {

TEST(AutoRunCommand, PathWithoutBlanksIsStoredAsBefore) {
  EXPECT_EQ(AutoRunCommand("C:\\Tools\\Tallyo.exe"), "C:\\Tools\\Tallyo.exe hide");
  // "D:\工具\Tallyo.exe": Chinese folder names need no quotes.
  EXPECT_EQ(AutoRunCommand("D:\\\xB9\xA4\xBE\xDF\\Tallyo.exe"), "D:\\\xB9\xA4\xBE\xDF\\Tallyo.exe hide");
}

TEST(AutoRunCommand, PathWithABlankIsQuoted) {
  EXPECT_EQ(AutoRunCommand("C:\\Program Files\\Tallyo\\Tallyo.exe"),
            "\"C:\\Program Files\\Tallyo\\Tallyo.exe\" hide");
  EXPECT_EQ(AutoRunCommand("C:\\Tallyo\\My Tallyo.exe"), "\"C:\\Tallyo\\My Tallyo.exe\" hide");
  // "D:\我的 工具\Tallyo.exe"
  EXPECT_EQ(AutoRunCommand("D:\\\xCE\xD2\xB5\xC4 \xB9\xA4\xBE\xDF\\Tallyo.exe"),
            "\"D:\\\xCE\xD2\xB5\xC4 \xB9\xA4\xBE\xDF\\Tallyo.exe\" hide");
}

TEST(AutoRunCommand, NoPathNoCommand) { EXPECT_EQ(AutoRunCommand(""), ""); }

// What Windows hands the program at log-in must still read as exactly
// "hide", quoted or not; anything else would start the window shown.
TEST(AutoRunCommand, ProgramSeesExactlyHide) {
  for (const char* path :
       {"C:\\Tools\\Tallyo.exe", "C:\\Program Files\\Tallyo\\Tallyo.exe", "C:\\a  b\\Tallyo.exe",
        "C:\\Tallyo\\Tallyo.exe ", "D:\\\xCE\xD2\xB5\xC4 \xB9\xA4\xBE\xDF\\Tallyo.exe"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ArgumentsAfterProgramName(AutoRunCommand(path)), "hide");
  }
}

}  // namespace
