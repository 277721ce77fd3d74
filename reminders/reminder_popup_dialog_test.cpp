// The reminder popup, run from its resource template under Wine; its answers
// are applied the way the reminder check applies them.
#include "reminders/reminder_popup_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "events/event_list.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "res/resource.h"
#include "skin/testing/dialog_test_support.h"

namespace {

using namespace dialog_testing;

// "请键入分钟数（0 或正整数）。" (please type a number of minutes)
const std::string kEnterMinutes =
    "\xc7\xeb\xbc\xfc\xc8\xeb\xb7\xd6\xd6\xd3\xca\xfd\xa3\xa8"
    "0 \xbb\xf2\xd5\xfd\xd5\xfb\xca\xfd\xa3\xa9\xa1\xa3";
const std::string kDoneQuestion = "\xC4\xFA\xCD\xEA\xB3\xC9\xC1\xCB\xC2\xF0\xA3\xBF";  // 您完成了吗？
const std::string kTitle = "\xD6\xDC\xC0\xFD\xBB\xE1";                                 // 周例会
const std::string kBody =
    "\xD7\xBC\xB1\xB8\xC9\xCF\xD6\xDC\xB5\xC4\xBD\xF8\xB6\xC8\xBB\xE3\xB1\xA8";  // 准备上周的进度汇报

constexpr Time32 kCreated = 1700000000;

CMyEvent DueEvent(const std::string& title = kTitle) {
  CMyEvent due(kCreated);
  due.strTitle = title;
  due.strContent = kBody;
  due.bRemind = 1;
  due.timeRemind = 1700000600;
  return due;
}

// The shown answer: 0 done, 1 at a date and time, 2 after minutes.
int ShownAnswer(HWND d) { return CheckedOf(d, {IDC_REMINDER_DONE, IDC_REMINDER_AT, IDC_REMINDER_AFTER}); }

// The popup's answer applied to a list holding only the due event.
struct Applied {
  bool found = false;
  std::unique_ptr<EventList> events = std::make_unique<EventList>();
  CMyEvent* event() const { return events->FindByCreateTime(kCreated); }
};

Applied Apply(const ReminderPopupDialog& popup, Time32 now) {
  Applied applied;
  applied.events->Add(DueEvent());
  applied.found = ApplyReminderAnswer(*applied.events, EventKey{kCreated, 0}, popup.answer(), now);
  return applied;
}

class ReminderPopupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }
};

TEST_F(ReminderPopupDialogTest, AsksWhetherTheEventIsDoneInATopLevelWindowOfItsOwn) {
  Watchdog watchdog("PopupShows");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent("A&B " + kTitle), Ad{});
  const INT_PTR result = RunDialog(popup, [&](HWND d) {
    RECT window{};
    GetWindowRect(d, &window);
    // In the middle of the screen, clear of the notification area in its corner.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 1);
    // Not owned by any window: it shows whatever state the main window is in.
    EXPECT_EQ(GetWindow(d, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(d, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindowLongW(d, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindowLongW(d, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowEnabled(GetDesktopWindow()));
    EXPECT_EQ(GetForegroundWindow(), d);

    HWND title = GetDlgItem(d, IDC_REMINDER_TITLE);
    EXPECT_EQ(win::GetWindowText(title), "\"A&B " + kTitle + "\"" + kDoneQuestion);
    EXPECT_TRUE(IsWindowVisible(title));
    EXPECT_NE(GetWindowLongW(title, GWL_STYLE) & SS_NOPREFIX, 0);  // the "&" is shown as typed
    const RECT plate = ControlRect(d, IDC_REMINDER_TITLE);
    EXPECT_EQ(plate.left, 70);
    EXPECT_EQ(plate.top, 65);
    EXPECT_EQ(plate.right - plate.left, 260);
    EXPECT_EQ(plate.bottom - plate.top, 60);

    EXPECT_EQ(win::GetDlgItemText(d, IDC_REMINDER_BODY), kBody);
    EXPECT_EQ(win::GetDlgItemText(d, IDC_REMINDER_MINUTES), "0");
    EXPECT_EQ(ShownAnswer(d), 0);
    EXPECT_TRUE(OneLineEditAt(d, IDC_REMINDER_MINUTES, RECT{102, 180, 102 + 49, 180 + 13}));
    SYSTEMTIME range[2] = {};
    EXPECT_EQ(DateTime_GetRange(GetDlgItem(d, IDC_REMINDER_DATE), range),
              static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
    EXPECT_TRUE(LinkLabelRects(d).empty());
    ClickButton(d, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(ReminderPopupDialogTest, AnEmptyTitleStillGetsItsQuotes) {
  Watchdog watchdog("PopupEmptyTitle");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(""), Ad{});
  std::string line;
  RunDialog(popup, [&](HWND d) {
    line = win::GetDlgItemText(d, IDC_REMINDER_TITLE);
    ClickButton(d, IDCANCEL);
  });
  EXPECT_EQ(line, "\"\"" + kDoneQuestion);
}

TEST_F(ReminderPopupDialogTest, ALongTitleIsCutSoTheQuestionStillShows) {
  Watchdog watchdog("PopupLongTitle");
  std::string title;
  for (int i = 0; i < 40; ++i) title += kTitle + "abc";
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(title), Ad{});
  std::string line;
  int needed_height = 0, label_height = 0;
  RunDialog(popup, [&](HWND d) {
    HWND label = GetDlgItem(d, IDC_REMINDER_TITLE);
    line = win::GetWindowText(label);
    RECT box{};
    GetClientRect(label, &box);
    label_height = box.bottom;
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, box.right, 0};
    DrawTextW(dc, win::Widen(line).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    needed_height = needed.bottom;
    ClickButton(d, IDCANCEL);
  });
  EXPECT_TRUE(line.ends_with("\xa1\xad\"" + kDoneQuestion)) << line;  // ..."…"您完成了吗？
  EXPECT_EQ(line.rfind("\"" + kTitle, 0), 0u);
  EXPECT_LE(needed_height, label_height);
  EXPECT_LT(line.size(), title.size());
}

TEST_F(ReminderPopupDialogTest, ConfirmingUntouchedAnswersDoneAndTheEventGoes) {
  Watchdog watchdog("PopupDone");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(), Ad{});
  ASSERT_EQ(RunDialog(popup, [&](HWND d) { ClickButton(d, IDOK); }), IDOK);
  EXPECT_EQ(popup.answer().fields.nChoice, kNoReminder);
  Applied applied = Apply(popup, NowTime());
  EXPECT_TRUE(applied.found);
  EXPECT_EQ(applied.event(), nullptr);
  EXPECT_TRUE(applied.events->empty());
}

TEST_F(ReminderPopupDialogTest, TypedMinutesAnswerAgainAfterThemWithTheEditedBody) {
  Watchdog watchdog("PopupMinutes");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(), Ad{});
  const INT_PTR result = RunDialog(popup, [&](HWND d) {
    Type(d, IDC_REMINDER_BODY, kBody + "\r\n+1");
    // A text that is no count is said at OK, not while typing, and kept.
    EXPECT_EQ(TypeExpectingMessage(d, IDC_REMINDER_MINUTES, "abc"), "");
    EXPECT_EQ(ShownAnswer(d), 2);
    EXPECT_EQ(ClickExpectingMessage(d, IDOK), kEnterMinutes);
    EXPECT_EQ(win::GetDlgItemText(d, IDC_REMINDER_MINUTES), "abc");
    Type(d, IDC_REMINDER_MINUTES, "10");
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(popup.answer().fields.nChoice, kRemindAfterMinutes);
  EXPECT_EQ(popup.answer().fields.nMinutes, 10);
  const Time32 now = NowTime();
  Applied applied = Apply(popup, now);
  ASSERT_NE(applied.event(), nullptr);
  EXPECT_EQ(applied.event()->bRemind, 1);
  EXPECT_EQ(applied.event()->timeRemind, now + 600);
  EXPECT_EQ(applied.event()->strContent, kBody + "\r\n+1");
}

TEST_F(ReminderPopupDialogTest, AChangedTimeAnswersAgainAtItOnTodaysDate) {
  Watchdog watchdog("PopupTime");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(), Ad{});
  LocalTime today;
  ASSERT_TRUE(ToLocalTime(NowTime(), &today));
  const INT_PTR result = RunDialog(popup, [&](HWND d) {
    LocalTime late = today;  // late enough to lie ahead: a past time is refused
    late.hour = 23;
    late.minute = 59;
    late.second = 58;
    ChangePicker(d, IDC_REMINDER_TIME, late);
    EXPECT_EQ(ShownAnswer(d), 1);
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(popup.answer().fields.nChoice, kRemindAtDateTime);
  LocalTime expected = today;
  expected.hour = 23;
  expected.minute = 59;
  expected.second = 58;
  Time32 want = 0;
  ASSERT_TRUE(FromLocalTime(expected, &want));
  Applied applied = Apply(popup, NowTime());
  ASSERT_NE(applied.event(), nullptr);
  EXPECT_EQ(applied.event()->timeRemind, want);
  EXPECT_EQ(applied.event()->strContent, kBody);
}

TEST_F(ReminderPopupDialogTest, AClickOnAnAnswerChecksOnlyThatOne) {
  Watchdog watchdog("PopupOptions");
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(), Ad{});
  std::vector<int> shown;
  ASSERT_EQ(RunDialog(popup,
                      [&](HWND d) {
                        for (int id : {IDC_REMINDER_AFTER, IDC_REMINDER_AT, IDC_REMINDER_DONE}) {
                          ClickButton(d, id);
                          shown.push_back(ShownAnswer(d));
                        }
                        ClickButton(d, IDC_REMINDER_AFTER);
                        ClickButton(d, IDOK);
                      }),
            IDOK);
  EXPECT_EQ(shown, (std::vector<int>{2, 1, 0}));
  // Again after 0 minutes: due at once.
  EXPECT_EQ(popup.answer().fields.nChoice, kRemindAfterMinutes);
  EXPECT_EQ(popup.answer().fields.nMinutes, 0);
}

TEST_F(ReminderPopupDialogTest, ScreenshotsWithAndWithoutAnAdvertisement) {
  Watchdog watchdog("PopupScreenshots");
  // Quillo 新品：桌面便签小工具
  const Ad ad{"Quillo \xD0\xC2\xC6\xB7\xA3\xBA\xD7\xC0\xC3\xE6\xB1\xE3\xC7\xA9\xD0\xA1\xB9\xA4\xBE\xDF",
              "http://127.0.0.1/quillo"};
  ReminderPopupDialog with_ad(GetDesktopWindow(), DueEvent(), ad);
  std::vector<RECT> links;
  RunDialog(with_ad, [&](HWND d) {
    links = LinkLabelRects(d);
    EXPECT_TRUE(SaveScreenshot(d, "reminder_with_ad"));
    ClickButton(d, IDCANCEL);
  });
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].left, 150);
  EXPECT_EQ(links[0].top, 205);
  EXPECT_EQ(links[0].right, 350);
  EXPECT_EQ(links[0].bottom, 222);

  ReminderPopupDialog without_ad(GetDesktopWindow(), DueEvent(), Ad{});
  RunDialog(without_ad, [&](HWND d) {
    EXPECT_TRUE(SaveScreenshot(d, "reminder"));
    ClickButton(d, IDCANCEL);
  });
}

TEST_F(ReminderPopupDialogTest, ARepeatingReminderSaysHowItRepeatsUnderTheQuestion) {
  Watchdog watchdog("PopupRepeat");
  // "每天重复 · 下次 2026-12-08 09:00"
  const std::string line = "\xc3\xbf\xcc\xec\xd6\xd8\xb8\xb4 \xa1\xa4 \xcf\xc2\xb4\xce 2026-12-08 09:00";
  std::string long_title;
  for (int i = 0; i < 30; ++i) long_title += kTitle;
  for (const std::string& title : {kTitle, long_title}) {
    ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(title), Ad{}, line);
    std::string shown;
    RunDialog(popup, [&](HWND d) {
      shown = win::GetDlgItemText(d, IDC_REMINDER_TITLE);
      if (title == kTitle) {
        EXPECT_TRUE(SaveScreenshot(d, "reminder_repeating"));
      }
      ClickButton(d, IDCANCEL);
    });
    EXPECT_TRUE(shown.ends_with(kDoneQuestion + "\r\n" + line)) << shown;
  }
}

TEST_F(ReminderPopupDialogTest, ASeriesIsDoneUntilItsNextTimeAndItsLineFollowsTheRule) {
  Watchdog watchdog("PopupSeries");
  // "我知道了，不用再提醒我了" (the one-off's) and "我知道了，等下次再提醒我" (a series')
  const std::string one_off_done =
      "\xce\xd2\xd6\xaa\xb5\xc0\xc1\xcb\xa3\xac\xb2\xbb\xd3\xc3\xd4\xd9\xcc\xe1\xd0\xd1\xce\xd2\xc1\xcb";
  const std::string series_done =
      "\xce\xd2\xd6\xaa\xb5\xc0\xc1\xcb\xa3\xac\xb5\xc8\xcf\xc2\xb4\xce\xd4\xd9\xcc\xe1\xd0\xd1\xce\xd2";
  // "每天重复 · 下次 2026-12-08 09:00", then "每周重复 · 下次 2026-12-14 09:00"
  const std::string daily = "\xc3\xbf\xcc\xec\xd6\xd8\xb8\xb4 \xa1\xa4 \xcf\xc2\xb4\xce 2026-12-08 09:00";
  const std::string weekly = "\xc3\xbf\xd6\xdc\xd6\xd8\xb8\xb4 \xa1\xa4 \xcf\xc2\xb4\xce 2026-12-14 09:00";
  auto width = [](HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return r.right - r.left;
  };
  ReminderPopupDialog popup(GetDesktopWindow(), DueEvent(), Ad{}, daily);
  RunDialog(popup, [&](HWND d) {
    HWND done = GetDlgItem(d, IDC_REMINDER_DONE);
    HWND title = GetDlgItem(d, IDC_REMINDER_TITLE);
    // The series' answer has its own words, drawn beside its button over the one-off's.
    EXPECT_EQ(win::GetWindowText(done), series_done);
    EXPECT_GT(width(done), 200);
    EXPECT_EQ(ShownAnswer(d), 0);
    EXPECT_TRUE(SaveScreenshot(d, "reminder_series_done"));

    // Another program made the rule weekly: the line follows.
    popup.ShowRepeatLine(weekly);
    EXPECT_TRUE(win::GetWindowText(title).ends_with(kDoneQuestion + "\r\n" + weekly));
    EXPECT_EQ(win::GetWindowText(done), series_done);

    // ... and took it away: a one-off now, worded as the skin paints it.
    popup.ShowRepeatLine("");
    EXPECT_EQ(win::GetWindowText(title), "\"" + kTitle + "\"" + kDoneQuestion);
    EXPECT_EQ(win::GetWindowText(done), one_off_done);
    EXPECT_LT(width(done), 20);
    EXPECT_EQ(ShownAnswer(d), 0);
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(popup.answer().fields.nChoice, kNoReminder);
}

}  // namespace
