#pragma once
// Numbers written as a fixed count of decimal digits, for dates and times
// formatted without printf.

// Writes `value` as exactly `width` digits at `at` and returns their end.
// REQUIRES: 0 <= value < 10^width.
inline char* PutDigits(char* at, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return at + width;
}
