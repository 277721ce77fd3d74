// The find dialog, run from its resource template under Wine.
#include <gtest/gtest.h>

#include "dialogs/event_editor_dialog.h"
#include "dialogs/testing/dialog_test_support.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "res/resource.h"

namespace {

using namespace dialog_testing;

TEST(FindEventDialog, GivesTheKeywordAsTypedAndCancelGivesNothing) {
  Watchdog watchdog("Find");
  EnsureCommonControls();
  const std::string meeting = "\xBB\xE1\xD2\xE9";  // 会议
  FindEventDialog dialog;
  RECT ok{}, cancel{}, window{};
  ::testing::AssertionResult keyword_placed = ::testing::AssertionFailure();
  HWND focus = nullptr, keyword_edit = nullptr;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    GetWindowRect(d, &window);
    keyword_placed = OneLineEditAt(d, IDC_FIND_KEYWORD, RECT{102, 75, 102 + 122, 75 + 13});
    ok = ControlRect(d, IDOK);
    cancel = ControlRect(d, IDCANCEL);
    focus = GetFocus();
    keyword_edit = GetDlgItem(d, IDC_FIND_KEYWORD);
    Type(d, IDC_FIND_KEYWORD, " " + meeting + " A ");
    EXPECT_TRUE(SaveScreenshot(d, "find"));
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog.strKeyword, " " + meeting + " A ");  // nothing trimmed or folded
  EXPECT_EQ(focus, keyword_edit);
  EXPECT_EQ(window.right - window.left, 276);
  EXPECT_EQ(window.bottom - window.top, 169);
  EXPECT_TRUE(keyword_placed);
  EXPECT_EQ(ok.left, 55);
  EXPECT_EQ(ok.top, 131);
  EXPECT_EQ(ok.right - ok.left, 69);
  EXPECT_EQ(cancel.left, 155);
  EXPECT_EQ(cancel.top, 131);

  FindEventDialog cancelled;
  ASSERT_EQ(RunDialog(cancelled,
                      [&](HWND d) {
                        Type(d, IDC_FIND_KEYWORD, meeting);
                        ClickButton(d, IDCANCEL);
                      }),
            IDCANCEL);
  EXPECT_EQ(cancelled.strKeyword, "");
}

}  // namespace
