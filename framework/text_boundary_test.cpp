#include "framework/text_boundary.h"

#include <gtest/gtest.h>

#include "framework/testing/ui_test_support.h"

namespace {

// "提醒时间：2024年" and the same in UTF-16.
constexpr char kCp936[] =
    "\xCC\xE1\xD0\xD1\xCA\xB1\xBC\xE4\xA3\xBA"
    "2024\xC4\xEA";
constexpr wchar_t kWide[] = L"\u63D0\u9192\u65F6\u95F4\uFF1A2024\u5E74";

TEST(TextBoundary, WidenAndNarrowAreInverse) {
  EXPECT_EQ(win::Widen(kCp936), kWide);
  EXPECT_EQ(win::Narrow(kWide), kCp936);
  EXPECT_EQ(win::Widen(""), L"");
  EXPECT_EQ(win::Narrow(L""), "");
  // Characters code page 936 lacks become '?'.
  EXPECT_EQ(win::Narrow(L"a\u0E01b"), "a?b");
}

TEST(TextBoundary, WindowTextRoundTrip) {
  Watchdog watchdog("WindowText");
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  win::SetWindowText(edit, kCp936);
  wchar_t buffer[64] = {};
  GetWindowTextW(edit, buffer, 64);
  EXPECT_STREQ(buffer, kWide);
  EXPECT_EQ(win::GetWindowText(edit), kCp936);
  win::SetWindowText(edit, "");
  EXPECT_EQ(win::GetWindowText(edit), "");
  // Long text is read whole.
  std::string long_text;
  for (int i = 0; i < 2000; ++i) long_text += "\xD6\xD0";  // 中
  win::SetWindowText(edit, long_text);
  EXPECT_EQ(win::GetWindowText(edit), long_text);
  DestroyWindow(edit);
}

TEST(TextBoundary, MessageBoxShowsCodePage936Text) {
  Watchdog watchdog("MessageBox");
  HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::string seen_text;
  std::wstring seen_caption;
  RunSoon([&] {
    HWND box = FindOwnedDialog(owner);
    ASSERT_NE(box, nullptr);
    seen_text = MessageBoxText(box);
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    seen_caption = caption;
    ClickButton(box, IDCANCEL);
  });
  EXPECT_EQ(win::MessageBox(owner, kCp936, "\xCC\xE1\xD0\xD1", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(seen_text, kCp936);
  EXPECT_EQ(seen_caption, L"\u63D0\u9192");
  DestroyWindow(owner);
}

TEST(TextBoundary, MissingStringResourceIsEmpty) { EXPECT_EQ(win::LoadString(31999), ""); }

}  // namespace
