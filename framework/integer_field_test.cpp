#include "framework/integer_field.h"

#include <gtest/gtest.h>

#include <string>

using dialog_fields::FormatIntegerField;
using dialog_fields::ParseIntegerField;

TEST(IntegerField, AcceptsWholeNumbersWithSignAndSurroundingBlanks) {
  EXPECT_EQ(ParseIntegerField("0"), 0);
  EXPECT_EQ(ParseIntegerField("00"), 0);
  EXPECT_EQ(ParseIntegerField("30"), 30);
  EXPECT_EQ(ParseIntegerField("-12"), -12);
  EXPECT_EQ(ParseIntegerField("+7"), 7);
  EXPECT_EQ(ParseIntegerField("007"), 7);
  EXPECT_EQ(ParseIntegerField("  10"), 10);
  EXPECT_EQ(ParseIntegerField("\t10\t "), 10);
  EXPECT_EQ(ParseIntegerField(" \t -5 \t"), -5);
  EXPECT_EQ(ParseIntegerField(" 0 "), 0);
}

TEST(IntegerField, RefusesTextThatIsNotAWholeNumber) {
  for (const char* text : {"", " ", "\t", "abc", "12abc", "1 2", "1.5", "0x10", "- 5", "+", "-", "--5", "5-",
                           "1e3", "\xD2\xBB" /* 一 */, "5\xA3\xAC" /* 5， */}) {
    EXPECT_FALSE(ParseIntegerField(text).has_value()) << '"' << text << '"';
  }
}

TEST(IntegerField, ZeroMustStartWithTheDigitZero) {
  EXPECT_FALSE(ParseIntegerField("+0").has_value());
  EXPECT_FALSE(ParseIntegerField("-0").has_value());
  EXPECT_FALSE(ParseIntegerField("-000").has_value());
  EXPECT_EQ(ParseIntegerField("000"), 0);
}

TEST(IntegerField, OtherWhiteSpaceOnlyAfterTheLeadingBlanks) {
  // Blanks and tabs are skipped first; the number conversion then skips any
  // white space on its own, but a line break is not allowed after the number.
  EXPECT_EQ(ParseIntegerField("\r\n5"), 5);
  EXPECT_EQ(ParseIntegerField(" \n-5"), -5);
  EXPECT_FALSE(ParseIntegerField("\n0").has_value());  // zero that does not start with '0'
  EXPECT_FALSE(ParseIntegerField("5\r\n").has_value());
}

TEST(IntegerField, ValuesBeyondTheRangeBecomeTheNearestLimit) {
  EXPECT_EQ(ParseIntegerField("2147483647"), 2147483647);
  EXPECT_EQ(ParseIntegerField("2147483648"), 2147483647);
  EXPECT_EQ(ParseIntegerField("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseIntegerField("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseIntegerField("-2147483649"), INT32_MIN);
  EXPECT_EQ(ParseIntegerField("-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(ParseIntegerField("+2147483646"), 2147483646);
}

TEST(IntegerField, ReadsOnlyTheFirst31Bytes) {
  const std::string digits31(31, '1');
  EXPECT_EQ(ParseIntegerField(digits31), 2147483647);
  // A 5 followed by 30 blanks: whatever follows is never read.
  EXPECT_EQ(ParseIntegerField("5" + std::string(30, ' ') + "x"), 5);
  EXPECT_FALSE(ParseIntegerField("5" + std::string(29, ' ') + "x").has_value());
  // 30 blanks then "12": only the 1 is read.
  EXPECT_EQ(ParseIntegerField(std::string(30, ' ') + "12"), 1);
  EXPECT_FALSE(ParseIntegerField(std::string(31, ' ') + "12").has_value());
}

TEST(IntegerField, FormatsPlainDecimal) {
  EXPECT_EQ(FormatIntegerField(0), "0");
  EXPECT_EQ(FormatIntegerField(-45), "-45");
  EXPECT_EQ(FormatIntegerField(INT32_MIN), "-2147483648");
  for (std::int32_t v : {0, 1, -1, 600, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(ParseIntegerField(FormatIntegerField(v)), v);
  }
}
