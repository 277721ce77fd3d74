// The find dialog, run from its resource template under Wine.
#include <gtest/gtest.h>

#include "dialogs/find_event_dialog.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "res/resource.h"
#include "skin/testing/dialog_test_support.h"

namespace {

using namespace dialog_testing;

TEST(FindEventDialog, GivesTheKeywordAsTypedAndCancelGivesNothing) {
  Watchdog watchdog("Find");
  EnsureCommonControls();
  const std::string meeting = "\xBB\xE1\xD2\xE9";  // 会议
  FindEventDialog dialog;
  ::testing::AssertionResult keyword_placed = ::testing::AssertionFailure();
  HWND focus = nullptr, keyword_edit = nullptr;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    keyword_placed = OneLineEditAt(d, IDC_FIND_KEYWORD, RECT{102, 75, 102 + 122, 75 + 13});
    focus = GetFocus();
    keyword_edit = GetDlgItem(d, IDC_FIND_KEYWORD);
    Type(d, IDC_FIND_KEYWORD, " " + meeting + " A ");
    EXPECT_TRUE(SaveScreenshot(d, "find"));
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog.strKeyword, " " + meeting + " A ");  // nothing trimmed or folded
  EXPECT_EQ(focus, keyword_edit);
  EXPECT_TRUE(keyword_placed);

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
