#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include <climits>

#include "framework/message_table.h"
#include "framework/testing/scripted_dialog.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "framework/window.h"

namespace {

using namespace test_ids;

// "中文 abc" in code page 936.
constexpr char kChineseText[] = "\xD6\xD0\xCE\xC4 abc";
// 2024-03-05 14:07:09 in Asia/Shanghai (the tests pin TZ).
constexpr Time32 kSomeTime = 1709618829;

class DataExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }

  // Runs `body` inside a live test dialog.
  void WithDialog(ScriptedDialog& dialog, std::function<void(ScriptedDialog&)> body) {
    dialog.script = [body](ScriptedDialog& d) {
      body(d);
      d.EndDialog(IDOK);
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
  }

  static SYSTEMTIME PickerTime(HWND dialog) {
    SYSTEMTIME st{};
    EXPECT_EQ(DateTime_GetSystemtime(GetDlgItem(dialog, kDate), &st), GDT_VALID);
    return st;
  }

  static bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  // Answers the next message box owned by `owner` and keeps its text.
  static void AnswerNextMessageBox(HWND owner, std::vector<std::string>* texts) {
    RunSoon([owner, texts] {
      HWND box = FindOwnedDialog(owner);
      if (box == nullptr) return;
      texts->push_back(MessageBoxText(box));
      ClickButton(box, IDOK);
    });
  }

  DialogTemplate template_ = MakeTestTemplate();
};

TEST_F(DataExchangeTest, PushesMembersToControls) {
  Watchdog watchdog("Push");
  ScriptedDialog dialog(template_.get());
  dialog.text = kChineseText;
  dialog.number = -15;
  dialog.check = 1;
  dialog.radio = 2;
  dialog.date = kSomeTime;
  dialog.label = "\xCC\xE1\xD0\xD1";  // 提醒
  WithDialog(dialog, [](ScriptedDialog& d) {
    HWND h = d.hwnd();
    wchar_t text[64] = {};
    GetDlgItemTextW(h, kText, text, 64);
    EXPECT_STREQ(text, L"\u4E2D\u6587 abc");
    GetDlgItemTextW(h, kLabel, text, 64);
    EXPECT_STREQ(text, L"\u63D0\u9192");
    GetDlgItemTextW(h, kNumber, text, 64);
    EXPECT_STREQ(text, L"-15");
    EXPECT_TRUE(IsChecked(h, kCheck));
    EXPECT_FALSE(IsChecked(h, kRadioFirst));
    EXPECT_FALSE(IsChecked(h, kRadioFirst + 1));
    EXPECT_TRUE(IsChecked(h, kRadioFirst + 2));
    EXPECT_FALSE(IsChecked(h, kAfterRadios));  // the next group is not touched
    SYSTEMTIME st = PickerTime(h);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 3);
    EXPECT_EQ(st.wDay, 5);
    EXPECT_EQ(st.wHour, 14);
    EXPECT_EQ(st.wMinute, 7);
    EXPECT_EQ(st.wSecond, 9);
  });
}

TEST_F(DataExchangeTest, ReadsControlsBackIntoMembers) {
  Watchdog watchdog("Read");
  ScriptedDialog dialog(template_.get());
  WithDialog(dialog, [](ScriptedDialog& d) {
    HWND h = d.hwnd();
    SetDlgItemTextW(h, kText, L"\u8BB0\u5FC6\u4E8B\u4EF6");  // 记忆事件
    SetDlgItemTextW(h, kNumber, L"\t600 ");
    CheckDlgButton(h, kCheck, BST_CHECKED);
    CheckDlgButton(h, kRadioFirst, BST_UNCHECKED);
    CheckDlgButton(h, kRadioFirst + 1, BST_CHECKED);
    SYSTEMTIME st{};
    st.wYear = 2030;
    st.wMonth = 12;
    st.wDay = 31;
    st.wHour = 23;
    st.wMinute = 59;
    st.wSecond = 58;
    st.wMilliseconds = 999;
    DateTime_SetSystemtime(GetDlgItem(h, kDate), GDT_VALID, &st);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.text, "\xBC\xC7\xD2\xE4\xCA\xC2\xBC\xFE");
    EXPECT_EQ(d.number, 600);
    EXPECT_EQ(d.check, 1);
    EXPECT_EQ(d.radio, 1);
    Time32 expected = 0;
    ASSERT_TRUE(ParseLocalTime("2030-12-31 23:59:58", &expected));
    EXPECT_EQ(d.date, expected);
  });
}

TEST_F(DataExchangeTest, RoundTripThroughTheControlsKeepsEveryValue) {
  Watchdog watchdog("RoundTrip");
  ScriptedDialog dialog(template_.get());
  WithDialog(dialog, [](ScriptedDialog& d) {
    for (Time32 t : {Time32{0}, kSomeTime, Time32{2147483647}, Time32{946656000}}) {
      for (std::int32_t n : {0, 1, -1, INT32_MAX, INT32_MIN}) {
        d.text = kChineseText + std::to_string(n);
        d.number = n;
        d.date = t;
        d.radio = (n & 1) ? 0 : 1;
        ASSERT_TRUE(d.UpdateData(false));
        d.text.clear();
        d.number = 12345;
        d.date = -1;
        d.radio = -5;
        ASSERT_TRUE(d.UpdateData(true));
        EXPECT_EQ(d.text, kChineseText + std::to_string(n));
        EXPECT_EQ(d.number, n);
        EXPECT_EQ(d.date, t);
        EXPECT_EQ(d.radio, (n & 1) ? 0 : 1);
      }
    }
  });
}

TEST_F(DataExchangeTest, NoRadioCheckedReadsMinusOne) {
  Watchdog watchdog("NoRadio");
  ScriptedDialog dialog(template_.get());
  dialog.radio = 1;
  WithDialog(dialog, [](ScriptedDialog& d) {
    d.radio = -1;
    ASSERT_TRUE(d.UpdateData(false));  // unchecks all three
    d.radio = 2;
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.radio, -1);
  });
}

TEST_F(DataExchangeTest, IntegerRuleOnRead) {
  Watchdog watchdog("IntegerRule");
  ScriptedDialog dialog(template_.get());
  WithDialog(dialog, [](ScriptedDialog& d) {
    HWND h = d.hwnd();
    struct Case {
      const char* text;
      bool accepted;
      std::int32_t value;
    };
    const Case cases[] = {{"30", true, 30},
                          {" -4 ", true, -4},
                          {"", false, 0},
                          {"   ", false, 0},
                          {"12abc", false, 0},
                          {"+0", false, 0},
                          {"0", true, 0},
                          {"99999999999", true, INT32_MAX},
                          {"-99999999999", true, INT32_MIN}};
    for (const Case& c : cases) {
      d.number = 555;
      d.label = "unchanged";
      win::SetDlgItemText(h, kNumber, c.text);
      win::SetDlgItemText(h, kLabel, "read");
      std::vector<std::string> messages;
      if (!c.accepted) AnswerNextMessageBox(h, &messages);
      EXPECT_EQ(d.UpdateData(true), c.accepted) << c.text;
      if (c.accepted) {
        EXPECT_EQ(d.number, c.value) << c.text;
        EXPECT_EQ(d.label, "read");
        EXPECT_EQ(d.failed_control(), 0);
      } else {
        EXPECT_EQ(d.number, 555) << c.text;
        // Reading stopped at the refusing control: later members keep their values.
        EXPECT_EQ(d.label, "unchanged") << c.text;
        EXPECT_EQ(d.failed_control(), kNumber);
        ASSERT_EQ(messages.size(), 1u) << c.text;
        EXPECT_EQ(messages[0], "\xC7\xEB\xBC\xFC\xC8\xEB\xD2\xBB\xB8\xF6\xD5\xFB\xCA\xFD\xA1\xA3");
        // Pushing back puts the last valid number into the field again.
        ASSERT_TRUE(d.UpdateData(false));
        EXPECT_EQ(win::GetDlgItemText(h, kNumber), "555");
      }
    }
  });
}

// Answers a change of the number field the way the event editors do: read
// everything, select the third radio, push everything back.
class ChangeAnsweringDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  int text_changes = 0;
  int number_changes = 0;

 protected:
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    using Table = MessageTable<ChangeAnsweringDialog>;
    static const Table table{
        Table::Command(kText, EN_CHANGE, &ChangeAnsweringDialog::OnTextChange),
        Table::Command(kNumber, EN_CHANGE, &ChangeAnsweringDialog::OnNumberChange),
    };
    return table.Route(*this, message, wparam, lparam, result) ||
           ScriptedDialog::RouteMessage(message, wparam, lparam, result);
  }

 private:
  void OnTextChange() { ++text_changes; }
  void OnNumberChange() {
    ++number_changes;
    UpdateData(true);
    radio = 2;
    UpdateData(false);
  }
};

TEST_F(DataExchangeTest, ControlsDoNotReportTheExchangesOwnChanges) {
  Watchdog watchdog("NotificationLockout");
  ChangeAnsweringDialog dialog(template_.get());
  dialog.text = kChineseText;
  dialog.number = 10;
  WithDialog(dialog, [&](ScriptedDialog& d) {
    // The first push into the empty fields at initialisation was not reported.
    EXPECT_EQ(dialog.text_changes, 0);
    EXPECT_EQ(dialog.number_changes, 0);
    EXPECT_EQ(d.radio, 0);
    d.text = "new";
    d.number = 11;
    ASSERT_TRUE(d.UpdateData(false));
    EXPECT_EQ(win::GetDlgItemText(d.hwnd(), kText), "new");
    EXPECT_EQ(dialog.text_changes, 0);
    EXPECT_EQ(dialog.number_changes, 0);
    // The user's own typing is reported.
    SetDlgItemTextW(d.hwnd(), kText, L"typed");
    EXPECT_EQ(dialog.text_changes, 1);
  });
}

TEST_F(DataExchangeTest, AnsweringAChangeByExchangingComesToRest) {
  Watchdog watchdog("ChangeAnswer");
  ChangeAnsweringDialog dialog(template_.get());
  dialog.number = 5;
  WithDialog(dialog, [&](ScriptedDialog& d) {
    HWND h = d.hwnd();
    SetDlgItemTextW(h, kNumber, L"30");
    EXPECT_EQ(dialog.number_changes, 1);
    EXPECT_EQ(d.number, 30);
    EXPECT_TRUE(IsChecked(h, kRadioFirst + 2));
    // Not a number: one message, and the field shows the last valid number again.
    std::vector<std::string> messages;
    AnswerNextMessageBox(h, &messages);
    SetDlgItemTextW(h, kNumber, L"");
    EXPECT_EQ(dialog.number_changes, 2);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(d.number, 30);
    EXPECT_EQ(win::GetDlgItemText(h, kNumber), "30");
  });
}

class BoundLabel : public Window {};

class ControlBindingDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  BoundLabel bound;
  int exchanges = 0;

 protected:
  void DoDataExchange(DataExchange& dx) override {
    ++exchanges;
    dx.Control(kLabel, bound);
    ScriptedDialog::DoDataExchange(dx);
  }
};

TEST_F(DataExchangeTest, BindsAControlToItsObjectOnce) {
  Watchdog watchdog("ControlBinding");
  ControlBindingDialog dialog(template_.get());
  WithDialog(dialog, [&](ScriptedDialog& d) {
    HWND label = GetDlgItem(d.hwnd(), kLabel);
    EXPECT_EQ(dialog.bound.hwnd(), label);
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_TRUE(d.UpdateData(false));
    EXPECT_EQ(dialog.bound.hwnd(), label);
    EXPECT_EQ(Window::FromHandle(label), &dialog.bound);
  });
  EXPECT_EQ(dialog.exchanges, 3);  // at init, then the two above
  EXPECT_EQ(dialog.bound.hwnd(), nullptr);
}

TEST_F(DataExchangeTest, MissingControlsAreSkipped) {
  Watchdog watchdog("MissingControls");
  DialogTemplate bare(WS_POPUP | WS_CAPTION, 0, 0, 100, 50, "bare");
  ScriptedDialog dialog(bare.get());
  dialog.text = "kept";
  dialog.number = 3;
  WithDialog(dialog, [](ScriptedDialog& d) {
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.text, "kept");
    EXPECT_EQ(d.number, 3);
  });
}

}  // namespace
