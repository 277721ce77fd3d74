// The add and modify dialogs, run from their resource templates under Wine
// and driven through their controls.
#include "dialogs/event_editor_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "framework/testing/screen_capture.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "repeat/repeat_rule.h"
#include "res/resource.h"
#include "skin/testing/dialog_test_support.h"

namespace {

using namespace dialog_testing;

// "请键入分钟数（0 或正整数）。" (please type a number of minutes)
const std::string kEnterMinutes =
    "\xc7\xeb\xbc\xfc\xc8\xeb\xb7\xd6\xd6\xd3\xca\xfd\xa3\xa8"
    "0 \xbb\xf2\xd5\xfd\xd5\xfb\xca\xfd\xa3\xa9\xa1\xa3";
// "以下字符无法保存，请删除或替换：" (these characters cannot be stored: ...)
const std::string kUnstorable =
    "\xd2\xd4\xcf\xc2\xd7\xd6\xb7\xfb\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xa3\xac\xc7\xeb\xc9\xbe\xb3\xfd\xbb\xf2"
    "\xcc\xe6\xbb\xbb\xa3\xba";
const std::string kTitle = "\xD6\xDC\xC0\xFD\xBB\xE1";  // 周例会
const std::string kBody =
    "\xD7\xBC\xB1\xB8\xC9\xCF\xD6\xDC\xB5\xC4\xBD\xF8\xB6\xC8\xBB\xE3\xB1\xA8";  // 准备上周的进度汇报

Ad SampleAd() {
  // Quillo 新品：桌面便签小工具
  return Ad{"Quillo \xD0\xC2\xC6\xB7\xA3\xBA\xD7\xC0\xC3\xE6\xB1\xE3\xC7\xA9\xD0\xA1\xB9\xA4\xBE\xDF",
            "http://127.0.0.1/quillo"};
}

// Which option the editor shows checked: 0 no reminder, 1 at a time, 2 after minutes.
int ShownChoice(HWND d) {
  return CheckedOf(d, {IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT, IDC_EDITOR_REMIND_AFTER});
}

bool SameDay(const LocalTime& a, const LocalTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

LocalTime Local(Time32 t) {
  LocalTime local;
  EXPECT_TRUE(ToLocalTime(t, &local));
  return local;
}

class EventEditorDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }
};

TEST_F(EventEditorDialogTest, AddStartsEmptyWithoutReminderAndMakesAMemoCreatedNow) {
  Watchdog watchdog("AddDefaults");
  AddEventDialog dialog(Ad{});
  const Time32 before = NowTime();
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_TITLE), "");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_BODY), "");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), "0");
    EXPECT_EQ(ShownChoice(d), 0);
    // Both pickers start at the moment the dialog was made.
    const LocalTime today = Local(before);
    EXPECT_TRUE(SameDay(PickerValue(d, IDC_EDITOR_DATE), today));
    EXPECT_TRUE(SameDay(PickerValue(d, IDC_EDITOR_TIME), today));
    EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDITOR_TITLE));
    // Over the skin's fields, each tall enough for a line of the dialog font.
    EXPECT_TRUE(OneLineEditAt(d, IDC_EDITOR_TITLE, RECT{68, 73, 68 + 269, 73 + 13}));
    EXPECT_TRUE(OneLineEditAt(d, IDC_EDITOR_MINUTES, RECT{91, 174, 91 + 49, 174 + 13}));
    // Without an advertisement there is no link.
    EXPECT_TRUE(LinkLabelRects(d).empty());
    ClickButton(d, IDOK);
  });
  const Time32 after = NowTime();
  ASSERT_EQ(result, IDOK);
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->strTitle, "");
  EXPECT_EQ(event->strContent, "");
  EXPECT_EQ(event->bRemind, 0);
  EXPECT_EQ(event->timeRemind, 0);
  EXPECT_GE(event->timeCreate, before);
  EXPECT_LE(event->timeCreate, after);
}

TEST_F(EventEditorDialogTest, AddShowsTheAdvertisementLinkOnlyWhenItHasOne) {
  Watchdog watchdog("AddLink");
  AddEventDialog with_ad(SampleAd());
  std::vector<RECT> links;
  EXPECT_EQ(RunDialog(with_ad,
                      [&](HWND d) {
                        links = LinkLabelRects(d);
                        ClickButton(d, IDCANCEL);
                      }),
            IDCANCEL);
  ASSERT_EQ(links.size(), 1u);
  // Above the title: the band above the body is the "重复" row's.
  EXPECT_EQ(links[0], (RECT{68, 42, 338, 59}));

  // A pair with a target but no text shows nothing.
  AddEventDialog without_text(Ad{"", "http://127.0.0.1/"});
  EXPECT_EQ(RunDialog(without_text,
                      [&](HWND d) {
                        links = LinkLabelRects(d);
                        ClickButton(d, IDCANCEL);
                      }),
            IDCANCEL);
  EXPECT_TRUE(links.empty());
}

TEST_F(EventEditorDialogTest, TypedTextAndMinutesMakeAReminderAfterThoseMinutes) {
  Watchdog watchdog("AddMinutes");
  AddEventDialog dialog(Ad{});
  const Time32 before = NowTime();
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    Type(d, IDC_EDITOR_TITLE, kTitle);
    Type(d, IDC_EDITOR_BODY, kBody + "\r\n2");
    // Typed over the 0 the field shows; a sign or a letter does not go in.
    SetFocus(GetDlgItem(d, IDC_EDITOR_MINUTES));
    SendDlgItemMessageW(d, IDC_EDITOR_MINUTES, EM_SETSEL, 0, -1);
    TypeKeys(d, IDC_EDITOR_MINUTES, "-1x0");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), "10");
    // Typing the minutes selects the third option by itself.
    EXPECT_EQ(ShownChoice(d), 2);
    ClickButton(d, IDOK);
  });
  const Time32 after = NowTime();
  ASSERT_EQ(result, IDOK);
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->strTitle, kTitle);
  EXPECT_EQ(event->strContent, kBody + "\r\n2");
  EXPECT_EQ(event->bRemind, 1);
  EXPECT_GE(event->timeRemind, before + 600);
  EXPECT_LE(event->timeRemind, after + 600);
}

TEST_F(EventEditorDialogTest, TheMinutesAreJudgedAtOkNotWhileTyping) {
  Watchdog watchdog("AddBadMinutes");
  AddEventDialog dialog(Ad{});
  const Time32 before = NowTime();
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    // Emptying the field, or pasting a sign or a letter, says nothing yet
    // and keeps the text as it is.
    for (const char* typed : {"", "-5", "x"}) {
      EXPECT_EQ(TypeExpectingMessage(d, IDC_EDITOR_MINUTES, typed), "") << typed;
      EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), typed);
      EXPECT_EQ(ShownChoice(d), 2);
      // OK refuses it, keeps it as typed and goes back to the field.
      EXPECT_EQ(ClickExpectingMessage(d, IDOK), kEnterMinutes) << typed;
      EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), typed);
      EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDITOR_MINUTES));
    }
    Type(d, IDC_EDITOR_MINUTES, "45");
    EXPECT_EQ(ClickExpectingMessage(d, IDOK), "");
  });
  const Time32 after = NowTime();
  ASSERT_EQ(result, IDOK);
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->bRemind, 1);
  EXPECT_GE(event->timeRemind, before + 45 * 60);
  EXPECT_LE(event->timeRemind, after + 45 * 60);
}

TEST_F(EventEditorDialogTest, AnyMinutesTextIsFineWhenTheMinutesAreNotChosen) {
  Watchdog watchdog("MinutesNotChosen");
  AddEventDialog dialog(Ad{});
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    Type(d, IDC_EDITOR_MINUTES, "");
    ClickButton(d, IDC_EDITOR_NO_REMIND);
    EXPECT_EQ(ClickExpectingMessage(d, IDOK), "");
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog.TakeEvent()->bRemind, 0);
}

TEST_F(EventEditorDialogTest, TextsCodePage936CannotHoldAreNamedAndKept) {
  Watchdog watchdog("Unstorable");
  AddEventDialog dialog(Ad{});
  std::wstring kept;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    // A face (outside the basic plane) and a rare character code page 936 lacks.
    const std::wstring title = L"\u5F00\u4F1A \U0001F600 \u3400";
    SetDlgItemTextW(d, IDC_EDITOR_TITLE, title.c_str());
    const std::string message = ClickExpectingMessage(d, IDOK);
    EXPECT_EQ(message.rfind(kUnstorable, 0), 0u) << message;
    EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDITOR_TITLE));
    wchar_t buffer[64] = {};
    GetDlgItemTextW(d, IDC_EDITOR_TITLE, buffer, 64);
    kept = buffer;
    SetDlgItemTextW(d, IDC_EDITOR_TITLE, L"\u5F00\u4F1A");
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(kept, L"\u5F00\u4F1A \U0001F600 \u3400");
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog.TakeEvent()->strTitle, "\xbf\xaa\xbb\xe1");  // 开会
}

TEST_F(EventEditorDialogTest, ALongPasteIsTakenWhole) {
  Watchdog watchdog("LongPaste");
  AddEventDialog dialog(Ad{});
  // 40,000 characters, more than an edit takes by default, pasted in one go.
  std::wstring body;
  for (int i = 0; i < 4000; ++i) body += L"\u4E00\u4E8C\u4E09\u56DB\u4E94abcde";
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    Type(d, IDC_EDITOR_TITLE, kTitle);
    ASSERT_TRUE(OpenClipboard(d));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (body.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), body.c_str(), (body.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    HWND edit = GetDlgItem(d, IDC_EDITOR_BODY);
    SetFocus(edit);
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowTextLengthW(edit), static_cast<int>(body.size()));
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->strContent.size(), 4000u * 15u);
}

TEST_F(EventEditorDialogTest, ChangingATimeSelectsTheDateAndTimeOptionWithTodaysDate) {
  Watchdog watchdog("AddTime");
  AddEventDialog dialog(Ad{});
  const LocalTime today = Local(NowTime());
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    Type(d, IDC_EDITOR_MINUTES, "30");  // first the minutes option...
    ASSERT_EQ(ShownChoice(d), 2);
    // ...then a time of day on a picker whose own date part is another day.
    LocalTime evening;
    evening.year = 2001;
    evening.month = 2;
    evening.day = 3;
    evening.day_of_week = 6;
    evening.hour = 23;  // late enough to lie ahead: a past time is refused
    evening.minute = 59;
    evening.second = 58;
    ChangePicker(d, IDC_EDITOR_TIME, evening);
    EXPECT_EQ(ShownChoice(d), 1);
    // The minutes stay as typed.
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), "30");
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->bRemind, 1);
  LocalTime expected = today;
  expected.hour = 23;
  expected.minute = 59;
  expected.second = 58;
  Time32 want = 0;
  ASSERT_TRUE(FromLocalTime(expected, &want));
  EXPECT_EQ(event->timeRemind, want);
}

TEST_F(EventEditorDialogTest, AClickOnAnOptionChecksOnlyThatOne) {
  Watchdog watchdog("Options");
  AddEventDialog dialog(Ad{});
  std::vector<int> shown;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    for (int id :
         {IDC_EDITOR_REMIND_AFTER, IDC_EDITOR_REMIND_AT, IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT}) {
      ClickButton(d, id);
      shown.push_back(ShownChoice(d));
    }
    // The pickers hold the moment the dialog opened, which is past by the
    // time OK is clicked on a slow machine: tomorrow at that time of day.
    ChangePicker(d, IDC_EDITOR_DATE, Local(NowTime() + 86400));
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(shown, (std::vector<int>{2, 1, 0, 1}));
  // The option checked at OK decides: a reminder at the pickers' moment.
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->bRemind, 1);
  EXPECT_NEAR(event->timeRemind, NowTime() + 86400, 60);
}

TEST_F(EventEditorDialogTest, EnterInTheBodyStartsANewLineAndInTheTitleConfirms) {
  Watchdog watchdog("EnterKey");
  AddEventDialog dialog(Ad{});
  const auto press_enter = [](HWND control) {
    SetFocus(control);
    PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(control, WM_KEYUP, VK_RETURN, 0xC01C0001);
  };
  std::string body_after_enter;
  bool open_after_body_enter = false;
  RunSoon([&] {
    HWND d = dialog.hwnd();
    HWND body = GetDlgItem(d, IDC_EDITOR_BODY);
    win::SetWindowText(body, "a");
    SendMessageW(body, EM_SETSEL, 1, 1);
    press_enter(body);
    // The keys go through the dialog's own loop before this runs.
    RunSoon([&, d, body] {
      body_after_enter = win::GetWindowText(body);
      open_after_body_enter = IsWindow(d) != FALSE;
      press_enter(GetDlgItem(d, IDC_EDITOR_TITLE));
      RunSoon([d] {
        if (IsWindow(d) && IsWindowVisible(d)) EndDialog(d, kLeftOpen);
      });
    });
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(open_after_body_enter);
  EXPECT_EQ(body_after_enter, "a\r\n");
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->strContent, "a\r\n");
}

TEST_F(EventEditorDialogTest, CancelMakesNothing) {
  Watchdog watchdog("AddCancel");
  AddEventDialog dialog(Ad{});
  EXPECT_EQ(RunDialog(dialog,
                      [&](HWND d) {
                        Type(d, IDC_EDITOR_TITLE, kTitle);
                        Type(d, IDC_EDITOR_MINUTES, "5");
                        SendMessageW(d, WM_CLOSE, 0, 0);  // the close box, as Escape
                      }),
            IDCANCEL);
  EXPECT_FALSE(dialog.TakeEvent().has_value());
}

TEST_F(EventEditorDialogTest, DatePickersOfferOnlyDaysATimeValueHolds) {
  Watchdog watchdog("DateRange");
  AddEventDialog dialog(Ad{});
  SYSTEMTIME range[2] = {};
  DWORD flags = 0;
  RunDialog(dialog, [&](HWND d) {
    flags = DateTime_GetRange(GetDlgItem(d, IDC_EDITOR_DATE), range);
    ClickButton(d, IDCANCEL);
  });
  EXPECT_EQ(flags, static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
  EXPECT_EQ(range[0].wYear, 1970);
  EXPECT_EQ(range[0].wMonth, 1);
  EXPECT_EQ(range[0].wDay, 2);
  EXPECT_EQ(range[1].wYear, 2038);
  EXPECT_EQ(range[1].wMonth, 1);
  EXPECT_EQ(range[1].wDay, 18);
}

// --- Modify -------------------------------------------------------------------

CMyEvent Memo() {
  CMyEvent memo(1700000000);
  memo.strTitle = kTitle;
  memo.strContent = kBody;
  memo.bRemind = 0;
  memo.timeRemind = 1600000000;  // an old reminder, kept in the record
  return memo;
}

CMyEvent Reminder() {
  CMyEvent reminder(1700000000);
  reminder.strTitle = kTitle;
  reminder.strContent = kBody;
  reminder.bRemind = 1;
  reminder.timeRemind = 1800000123;  // 2027-01-15 16:02:03 in Shanghai
  return reminder;
}

TEST_F(EventEditorDialogTest, ModifyOfAMemoShowsItWithTheCurrentTimeAndKeepsItsReminderTime) {
  Watchdog watchdog("ModifyMemo");
  const CMyEvent memo = Memo();
  ModifyEventDialog dialog(memo);
  const LocalTime today = Local(NowTime());
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_TITLE), kTitle);
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_BODY), kBody);
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_MINUTES), "0");
    EXPECT_EQ(ShownChoice(d), 0);
    EXPECT_TRUE(SameDay(PickerValue(d, IDC_EDITOR_DATE), today));
    EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDITOR_TITLE));
    EXPECT_TRUE(LinkLabelRects(d).empty());
    Type(d, IDC_EDITOR_TITLE, "new");
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  const CMyEvent& edited = dialog.edited();
  EXPECT_EQ(edited.strTitle, "new");
  EXPECT_EQ(edited.strContent, kBody);
  EXPECT_EQ(edited.timeCreate, memo.timeCreate);
  EXPECT_EQ(edited.bRemind, 0);
  EXPECT_EQ(edited.timeRemind, memo.timeRemind);
}

TEST_F(EventEditorDialogTest, ModifyOfAReminderShowsItsTimeAndKeepsItToTheSecond) {
  Watchdog watchdog("ModifyReminder");
  const CMyEvent reminder = Reminder();
  ModifyEventDialog dialog(reminder);
  LocalTime date_shown, time_shown;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(ShownChoice(d), 1);
    date_shown = PickerValue(d, IDC_EDITOR_DATE);
    time_shown = PickerValue(d, IDC_EDITOR_TIME);
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(date_shown.year, 2027);
  EXPECT_EQ(date_shown.month, 1);
  EXPECT_EQ(date_shown.day, 15);
  EXPECT_EQ(time_shown.hour, 16);
  EXPECT_EQ(time_shown.minute, 2);
  EXPECT_EQ(time_shown.second, 3);
  EXPECT_EQ(dialog.edited().bRemind, 1);
  EXPECT_EQ(dialog.edited().timeRemind, reminder.timeRemind);
}

TEST_F(EventEditorDialogTest, AReminderTimeAlreadyPastIsRefusedButAnUntouchedOneIsKept) {
  Watchdog watchdog("PastTime");
  {
    AddEventDialog dialog(Ad{});
    const INT_PTR result = RunDialog(dialog, [&](HWND d) {
      LocalTime early = Local(NowTime());
      early.hour = 0;
      early.minute = 0;
      early.second = 1;
      ChangePicker(d, IDC_EDITOR_TIME, early);
      ASSERT_EQ(ShownChoice(d), 1);
      const std::string message = ClickExpectingMessage(d, IDOK);
      EXPECT_NE(message.find("\xd2\xd1\xbe\xad\xb9\xfd\xc8\xa5"), std::string::npos) << message;  // 已经过去
      EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDITOR_DATE));
      ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
  }
  {
    // An overdue reminder opened in the modify dialog keeps its time.
    CMyEvent overdue = Reminder();
    overdue.timeRemind = 1600000000;
    ModifyEventDialog dialog(overdue);
    const INT_PTR result = RunDialog(dialog, [&](HWND d) { EXPECT_EQ(ClickExpectingMessage(d, IDOK), ""); });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.edited().timeRemind, 1600000000);
  }
}

TEST_F(EventEditorDialogTest, ModifyToNoReminderKeepsTheTimeAndCancelLeavesTheCopyAlone) {
  Watchdog watchdog("ModifyToMemo");
  const CMyEvent reminder = Reminder();
  ModifyEventDialog to_memo(reminder);
  ASSERT_EQ(RunDialog(to_memo,
                      [&](HWND d) {
                        ClickButton(d, IDC_EDITOR_NO_REMIND);
                        ClickButton(d, IDOK);
                      }),
            IDOK);
  EXPECT_EQ(to_memo.edited().bRemind, 0);
  EXPECT_EQ(to_memo.edited().timeRemind, reminder.timeRemind);

  ModifyEventDialog cancelled(reminder);
  ASSERT_EQ(RunDialog(cancelled,
                      [&](HWND d) {
                        Type(d, IDC_EDITOR_TITLE, "changed");
                        Type(d, IDC_EDITOR_MINUTES, "1");
                        ClickButton(d, IDCANCEL);
                      }),
            IDCANCEL);
  EXPECT_EQ(cancelled.edited().strTitle, reminder.strTitle);
  EXPECT_EQ(cancelled.edited().bRemind, 1);
  EXPECT_EQ(cancelled.edited().timeRemind, reminder.timeRemind);
}

TEST_F(EventEditorDialogTest, Screenshots) {
  Watchdog watchdog("EditorScreenshots");
  AddEventDialog add(SampleAd());
  RunDialog(add, [&](HWND d) {
    Type(d, IDC_EDITOR_TITLE, kTitle);
    Type(d, IDC_EDITOR_BODY, kBody);
    EXPECT_TRUE(SaveScreenshot(d, "add_event"));
    ClickButton(d, IDCANCEL);
  });
  ModifyEventDialog modify(Reminder());
  RunDialog(modify, [&](HWND d) {
    EXPECT_TRUE(SaveScreenshot(d, "modify_event"));
    ClickButton(d, IDCANCEL);
  });
}

// --- Repeat -------------------------------------------------------------------

RepeatRule Rule(const char* text) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(text, &rule).ok()) << text;
  return rule;
}

int RepeatEntries(HWND d) {
  return static_cast<int>(SendDlgItemMessageW(d, IDC_EDITOR_REPEAT, CB_GETCOUNT, 0, 0));
}
int ShownRepeat(HWND d) {
  return static_cast<int>(SendDlgItemMessageW(d, IDC_EDITOR_REPEAT, CB_GETCURSEL, 0, 0));
}
bool RepeatEnabled(HWND d) { return IsWindowEnabled(GetDlgItem(d, IDC_EDITOR_REPEAT)) != FALSE; }

// Picks entry `index` of the drop-down as the user does.
void PickRepeat(HWND d, int index) {
  HWND list = GetDlgItem(d, IDC_EDITOR_REPEAT);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_REPEAT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

TEST_F(EventEditorDialogTest, TheRepeatDropDownIsForRemindersAndGivesItsRule) {
  Watchdog watchdog("AddRepeat");
  AddEventDialog dialog(Ad{});
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(RepeatEntries(d), 6);
    EXPECT_EQ(ShownRepeat(d), 0);    // 不重复
    EXPECT_FALSE(RepeatEnabled(d));  // no reminder yet
    Type(d, IDC_EDITOR_MINUTES, "30");
    EXPECT_TRUE(RepeatEnabled(d));
    PickRepeat(d, 1);  // 每天
    ClickButton(d, IDC_EDITOR_NO_REMIND);
    EXPECT_FALSE(RepeatEnabled(d));
    ClickButton(d, IDC_EDITOR_REMIND_AFTER);
    EXPECT_TRUE(RepeatEnabled(d));
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  ASSERT_TRUE(dialog.repeat_rule().has_value());
  EXPECT_EQ(*dialog.repeat_rule(), Rule("FREQ=DAILY"));
}

TEST_F(EventEditorDialogTest, ARuleNoEntryStandsForShowsAsCustomAndIsKept) {
  Watchdog watchdog("ModifyCustom");
  CMyEvent reminder = Reminder();
  const RepeatRule custom = Rule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH");
  {
    ModifyEventDialog dialog(reminder, &custom);
    std::string shown;
    const INT_PTR result = RunDialog(dialog, [&](HWND d) {
      EXPECT_EQ(RepeatEntries(d), 7);
      EXPECT_EQ(ShownRepeat(d), 6);
      shown = win::GetDlgItemText(d, IDC_EDITOR_REPEAT);
      EXPECT_TRUE(RepeatEnabled(d));
      ClickButton(d, IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(shown, "\xd7\xd4\xb6\xa8\xd2\xe5");  // 自定义
    EXPECT_FALSE(dialog.repeat_edit().changed);
    ASSERT_TRUE(dialog.repeat_edit().rule.has_value());
    EXPECT_EQ(*dialog.repeat_edit().rule, custom);
  }
  {
    // Another entry replaces it; no reminder drops it.
    ModifyEventDialog dialog(reminder, &custom);
    RunDialog(dialog, [&](HWND d) {
      PickRepeat(d, 5);  // 每年
      ClickButton(d, IDOK);
    });
    EXPECT_TRUE(dialog.repeat_edit().changed);
    EXPECT_EQ(*dialog.repeat_edit().rule, Rule("FREQ=YEARLY"));
    ModifyEventDialog memo(reminder, &custom);
    RunDialog(memo, [&](HWND d) {
      ClickButton(d, IDC_EDITOR_NO_REMIND);
      ClickButton(d, IDOK);
    });
    EXPECT_FALSE(memo.repeat_edit().rule.has_value());
  }
}

TEST_F(EventEditorDialogTest, ASeriesAtATimeAlreadyPastStartsAtItsNextOccurrenceAndSaysSo) {
  Watchdog watchdog("PastSeries");
  const Time32 opened = NowTime();
  LocalTime early = Local(opened);
  early.hour = 0;
  early.minute = 0;
  early.second = 1;
  AddEventDialog dialog(Ad{});
  std::string note_before, note_daily;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    Type(d, IDC_EDITOR_TITLE, kTitle);
    ChangePicker(d, IDC_EDITOR_TIME, early);
    HWND note = GetDlgItem(d, IDC_EDITOR_REPEAT_NOTE);
    ASSERT_NE(note, nullptr);
    note_before = IsWindowVisible(note) ? win::GetWindowText(note) : "";
    PickRepeat(d, 1);  // 每天
    EXPECT_TRUE(IsWindowVisible(note));
    note_daily = win::GetWindowText(note);
    EXPECT_TRUE(SaveScreenshot(d, "add_series_past_time"));
    EXPECT_EQ(ClickExpectingMessage(d, IDOK), "");  // a note, not an error: OK closes
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(note_before, "");  // a one-off at a past time is refused at OK, not noted
  std::optional<CMyEvent> event = dialog.TakeEvent();
  ASSERT_TRUE(event.has_value());
  ASSERT_EQ(event->bRemind, 1);
  const LocalTime start = Local(event->timeRemind);
  // Tomorrow at 00:00:01, and the note named it.
  EXPECT_EQ(start.hour, 0);
  EXPECT_EQ(start.minute, 0);
  EXPECT_EQ(start.second, 1);
  EXPECT_GT(event->timeRemind, opened);
  EXPECT_LT(event->timeRemind, opened + 86400 + 2);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%02d-%02d 00:00", start.month, start.day);
  EXPECT_EQ(note_daily, "\xca\xd7\xb4\xce " + std::string(expected));  // 首次
  ASSERT_TRUE(dialog.repeat_rule().has_value());
}

// Tab as the dialog's loop hands it on: the key is down while the focus moves.
void PressTab(HWND dialog) {
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_TAB] = 0x80;
  SetKeyboardState(keys);
  MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {}};
  IsDialogMessageW(dialog, &msg);
  keys[VK_TAB] = 0;
  SetKeyboardState(keys);
}

// The pixels of the dotted focus cue along the top of button `id` (3 pixels inside).
int FocusCuePixels(HWND dialog, int id) {
  constexpr COLORREF kCue = RGB(38, 77, 77);
  HWND button = GetDlgItem(dialog, id);
  RECT r{};
  GetWindowRect(button, &r);
  InvalidateRect(button, nullptr, FALSE);
  const screen_capture::Screenshot shot = screen_capture::CaptureWindow(dialog);
  int count = 0;
  for (int x = r.left + 3; x < r.right - 3; ++x) count += shot.at_screen(x, r.top + 3) == kCue ? 1 : 0;
  return count;
}

TEST_F(EventEditorDialogTest, TabMarksTheFocusOnTheSkinnedButtonsAClickDoesNot) {
  Watchdog watchdog("FocusCue");
  AddEventDialog dialog(Ad{});
  RunDialog(dialog, [&](HWND d) {
    SetFocus(GetDlgItem(d, IDC_EDITOR_BODY));
    PressTab(d);
    ASSERT_EQ(GetFocus(), GetDlgItem(d, IDOK));
    EXPECT_GT(FocusCuePixels(d, IDOK), 20);
    EXPECT_TRUE(SaveScreenshot(d, "add_event_focus_on_ok"));
    PressTab(d);
    ASSERT_EQ(GetFocus(), GetDlgItem(d, IDCANCEL));
    EXPECT_EQ(FocusCuePixels(d, IDOK), 0);
    EXPECT_GT(FocusCuePixels(d, IDCANCEL), 20);
    // The focus a click gives shows no cue.
    SetFocus(GetDlgItem(d, IDOK));
    EXPECT_EQ(FocusCuePixels(d, IDOK), 0);
    ClickButton(d, IDCANCEL);
  });
}

TEST_F(EventEditorDialogTest, WithoutAReminderTheGreyedRepeatBoxShowsNoRepeat) {
  Watchdog watchdog("GreyedRepeat");
  const std::string no_repeat = "\xb2\xbb\xd6\xd8\xb8\xb4";  // 不重复
  const std::string daily = "\xc3\xbf\xcc\xec";              // 每天
  const RepeatRule rule = Rule("FREQ=DAILY");
  ModifyEventDialog dialog(Reminder(), &rule);
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_REPEAT), daily);
    ClickButton(d, IDC_EDITOR_NO_REMIND);
    EXPECT_FALSE(RepeatEnabled(d));
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_REPEAT), no_repeat);
    EXPECT_TRUE(SaveScreenshot(d, "modify_without_reminder"));
    // A reminder again: the entry the user had comes back.
    ClickButton(d, IDC_EDITOR_REMIND_AT);
    EXPECT_TRUE(RepeatEnabled(d));
    EXPECT_EQ(win::GetDlgItemText(d, IDC_EDITOR_REPEAT), daily);
    ClickButton(d, IDC_EDITOR_NO_REMIND);
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(dialog.edited().bRemind, 0);
  EXPECT_FALSE(dialog.repeat_edit().rule.has_value());  // the rule goes with the reminder
}

}  // namespace
