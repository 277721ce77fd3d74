#include "framework/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, DropsTheProgramNameAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentsAfterProgramName("Tallyo.exe hide"), "hide");
  EXPECT_EQ(ArgumentsAfterProgramName("Tallyo.exe   \thide"), "hide");
  EXPECT_EQ(ArgumentsAfterProgramName("\"C:\\Program Files\\Tallyo.exe\" HIDE"), "HIDE");
  EXPECT_EQ(ArgumentsAfterProgramName("\"C:\\a b\\Tallyo.exe\"hide"), "hide");
  EXPECT_EQ(ArgumentsAfterProgramName("C:\\Tallyo\\Tallyo.exe"), "");
  EXPECT_EQ(ArgumentsAfterProgramName("\"C:\\Tallyo\\Tallyo.exe\""), "");
  EXPECT_EQ(ArgumentsAfterProgramName(""), "");
  EXPECT_EQ(ArgumentsAfterProgramName("\"unterminated hide"), "");
}

TEST(CommandLine, KeepsTrailingBlanksAndFurtherWords) {
  EXPECT_EQ(ArgumentsAfterProgramName("Tallyo.exe hide "), "hide ");
  EXPECT_EQ(ArgumentsAfterProgramName("Tallyo.exe hide now"), "hide now");
}

TEST(CommandLine, ProgramNamesInCodePage936) {
  // "D:\工具\Tallyo.exe": trail bytes never look like a blank or a quote.
  EXPECT_EQ(ArgumentsAfterProgramName("D:\\\xB9\xA4\xBE\xDF\\Tallyo.exe hide"), "hide");
  EXPECT_EQ(ArgumentsAfterProgramName("\"D:\\\xB9\xA4 \xBE\xDF\\Tallyo.exe\" hide"), "hide");
}

TEST(CommandLine, TheHideArgumentInAnyLetterCaseAndNothingMore) {
  EXPECT_TRUE(IsTheArgument("hide", "hide"));
  EXPECT_TRUE(IsTheArgument("HIDE", "hide"));
  EXPECT_TRUE(IsTheArgument("HiDe", "hide"));
  EXPECT_FALSE(IsTheArgument("hide ", "hide"));
  EXPECT_FALSE(IsTheArgument("hide now", "hide"));
  EXPECT_FALSE(IsTheArgument("", "hide"));
  EXPECT_FALSE(IsTheArgument("hid", "hide"));
  // The run entry's quoted form still gives the argument.
  EXPECT_TRUE(
      IsTheArgument(ArgumentsAfterProgramName("\"C:\\Program Files\\Tallyo\\Tallyo.exe\" hide"), "hide"));
}
