// The main window's parts in-process under Wine: the event grid in each view,
// the question and About boxes, and the calendar import's dialog with the
// program's own templates.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "app/about_dialog.h"
#include "app/confirm_dialog.h"
#include "app/import_dialog.h"
#include "app/import_texts.h"
#include "app/main_texts.h"
#include "dialogs/event_list_view.h"
#include "framework/testing/screen_capture.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "repeat/repeat_rule.h"
#include "repeat/repeat_series.h"
#include "res/resource.h"
#include "tallyo_version.h"

namespace {

const char kTitleCaption[] = "\xb1\xea\xcc\xe2";               // "标题"
const char kTimeCaption[] = "\xca\xb1\xbc\xe4";                // "时间"
const char kCreated[] = "\xbd\xa8\xc1\xa2\xca\xb1\xbc\xe4";    // "建立时间"
const char kRemindAt[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4";   // "提醒时间"
const char kMemoEvent[] = "\xbc\xc7\xd2\xe4\xca\xc2\xbc\xfe";  // "记忆事件"

CMyEvent Make(const char* title, Time32 created, Time32 remind_at = 0) {
  CMyEvent e(created);
  e.strTitle = title;
  e.bRemind = remind_at != 0;
  e.timeRemind = remind_at;
  return e;
}

struct GridHost {
  GridHost() {
    EnsureCommonControls();
    parent = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 10, 10, 700, 400, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    EXPECT_TRUE(grid.Create(parent, RECT{10, 10, 620, 277}, 1005));
  }
  ~GridHost() {
    grid.Destroy();
    DestroyWindow(parent);
  }
  HWND parent = nullptr;
  EventListView grid;
};

TEST(EventListView, StartsWithTheAllEventsHeaderInListMode) {
  GridHost h;
  h.grid.SetupColumns();
  EXPECT_EQ(h.grid.GetRowCount(), 1);
  EXPECT_EQ(h.grid.GetFixedRowCount(), 1);
  ASSERT_EQ(h.grid.GetColumnCount(), 3);
  EXPECT_EQ(h.grid.GetCellText(0, 1), kCreated);
  EXPECT_EQ(h.grid.GetColumnWidth(0), 250);
  EXPECT_TRUE(h.grid.GetRowSelectMode());
  EXPECT_FALSE(h.grid.bEditable);
}

TEST(EventListView, EachViewHasItsColumnsAndRowsCarryTheirEventsKeys) {
  GridHost h;
  CMyEvent memo = Make("memo", 1796605200);
  CMyEvent reminder = Make("reminder", 1796605100, 1796700000);
  EventPtrList list{&memo, &reminder};

  const std::vector<EventKey> keys{{memo.timeCreate, 0}, {reminder.timeCreate, 1}};
  h.grid.ShowEvents(list, keys, VIEW_BY_DATE);
  ASSERT_EQ(h.grid.GetColumnCount(), 2);
  EXPECT_EQ(h.grid.GetCellText(0, 0), kTitleCaption);
  EXPECT_EQ(h.grid.GetCellText(0, 1), kTimeCaption);
  EXPECT_EQ(h.grid.GetColumnWidth(0), 380);
  ASSERT_EQ(h.grid.GetRowCount(), 3);
  EXPECT_EQ(h.grid.GetCellText(1, 1), FormatTime(memo.timeCreate));
  EXPECT_EQ(h.grid.GetCellText(2, 1), FormatTime(reminder.timeRemind));
  EXPECT_EQ(h.grid.CreatedAt(1), memo.timeCreate);
  EXPECT_EQ(h.grid.CreatedAt(2), reminder.timeCreate);
  EXPECT_EQ(h.grid.CreatedAt(0), 0);  // the header
  EXPECT_EQ(h.grid.CreatedAt(3), 0);  // below the last row
  EXPECT_EQ(h.grid.CreatedAt(-1), 0);
  EXPECT_EQ(h.grid.KeyAt(2), keys[1]);
  EXPECT_EQ(h.grid.KeyAt(3), EventKey{});
  EXPECT_EQ(h.grid.KeyAt(0), EventKey{});
  EXPECT_EQ(h.grid.RowOf(keys[1]), 2);
  EXPECT_EQ(h.grid.RowOf(EventKey{reminder.timeCreate, 0}), -1);

  h.grid.ShowEvents(list, keys, VIEW_ALL);
  ASSERT_EQ(h.grid.GetColumnCount(), 3);
  EXPECT_EQ(h.grid.GetCellText(0, 2), kRemindAt);
  EXPECT_EQ(h.grid.GetCellText(1, 0), "memo");
  EXPECT_EQ(h.grid.GetCellText(1, 2), kMemoEvent);
  EXPECT_EQ(h.grid.GetCellText(2, 2), FormatTime(reminder.timeRemind));

  // An empty list: the header alone, and the selection of before is gone.
  h.grid.SetSelectedRange(grid::CellRange{1, 0, 1, 2});
  h.grid.ShowEvents({}, {}, VIEW_REMIND);
  EXPECT_EQ(h.grid.RowOf(keys[0]), -1);
  EXPECT_EQ(h.grid.GetRowCount(), 1);
  EXPECT_EQ(h.grid.GetSelectedCount(), 0);
  EXPECT_EQ(h.grid.GetCellText(0, 1), kRemindAt);
}

TEST(EventListView, FittingWidensTheColumnsToTheGrid) {
  GridHost h;
  CMyEvent memo = Make("memo", 1796605200);
  h.grid.ShowEvents({&memo}, {{memo.timeCreate, 0}}, VIEW_MEMO);
  h.grid.FitColumnsToWidth(true);
  RECT client{};
  GetClientRect(h.grid.hwnd(), &client);
  EXPECT_EQ(h.grid.GetColumnWidth(0) + h.grid.GetColumnWidth(1), client.right);
  EXPECT_GT(h.grid.GetColumnWidth(0), 380);
}

TEST(EventListView, ATimeColumnWithARuleIsWidenedToShowItWhole) {
  GridHost h;
  const Time32 created = 1796605200;
  CMyEvent series = Make("stand-up", created, 1796700000);
  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;COUNT=5", &rule).ok());
  RepeatRules rules;
  rules.Set(created, *SeriesStartingAt(series.timeRemind, rule));
  for (int view : {VIEW_BY_DATE, VIEW_ALL}) {
    h.grid.ShowEvents({&series}, {{created, 0}}, view, &rules);
    h.grid.FitColumns();
    const int time_column = view == VIEW_ALL ? 2 : 1;
    ASSERT_NE(h.grid.GetCellText(1, time_column).find('('), std::string::npos);
    EXPECT_GE(h.grid.GetColumnWidth(time_column), h.grid.CellTextWidth(1, time_column)) << view;
    EXPECT_GE(h.grid.GetColumnWidth(0), 160) << view;
    RECT client{};
    GetClientRect(h.grid.hwnd(), &client);
    int total = 0;
    for (int col = 0; col < h.grid.GetColumnCount(); ++col) total += h.grid.GetColumnWidth(col);
    EXPECT_EQ(total, client.right) << view;
  }
}

TEST(ConfirmDialog, ALongQuestionWrapsInsideItsPlace) {
  Watchdog watchdog("ConfirmLong");
  ConfirmDialog question(kExitLosesChanges);
  RECT label{}, text{};
  RunSoon([&] {
    HWND box = FindOwnedDialog(nullptr);
    ASSERT_NE(box, nullptr);
    HWND control = GetDlgItem(box, IDC_CONFIRM_TEXT);
    GetClientRect(control, &label);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    text = RECT{0, 0, label.right, 0};
    DrawTextW(dc, win::Widen(kExitLosesChanges).c_str(), -1, &text,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & SS_CENTERIMAGE, 0);  // more than one line
    ClickButton(box, IDCANCEL);
  });
  EXPECT_EQ(question.DoModal(), IDCANCEL);
  EXPECT_GT(text.bottom, 20);  // two lines or more
  EXPECT_LE(text.bottom, label.bottom);
}

TEST(ConfirmDialog, AsksItsQuestionAndAnswersOkOrCancel) {
  Watchdog watchdog("ConfirmDialog");
  for (int button : {IDOK, IDCANCEL}) {
    ConfirmDialog question(kDeleteQuestion);
    std::string shown;
    SIZE size{};
    RunSoon([&] {
      HWND box = FindOwnedDialog(nullptr);
      ASSERT_NE(box, nullptr);
      shown = win::GetDlgItemText(box, IDC_CONFIRM_TEXT);
      RECT r{};
      GetWindowRect(box, &r);
      size = SIZE{r.right - r.left, r.bottom - r.top};
      ClickButton(box, button);
    });
    EXPECT_EQ(question.DoModal(), button);
    EXPECT_EQ(shown, kDeleteQuestion);
    EXPECT_EQ(size.cx, 276);
    EXPECT_EQ(size.cy, 169);
  }
}

TEST(AboutDialog, ShowsTheVersionWithTwoDecimals) {
  Watchdog watchdog("AboutDialog");
  EXPECT_EQ(AboutDialog::VersionText(), "Tallyo " TALLYO_VERSION_TEXT);
  AboutDialog about;
  std::string shown;
  RunSoon([&] {
    HWND box = FindOwnedDialog(nullptr);
    ASSERT_NE(box, nullptr);
    shown = win::GetDlgItemText(box, IDC_ABOUT_VERSION);
    ClickButton(box, IDOK);
  });
  EXPECT_EQ(about.DoModal(), IDOK);
  EXPECT_EQ(shown, "Tallyo " TALLYO_VERSION_TEXT);
}

// Plans what it is given; its import reports half of its changes, then
// waits until the test lets it finish.
class FakeImportWork : public ImportWork {
 public:
  PlannedImport planned;
  AppliedImport applied;
  int total = 100;
  std::atomic<bool> apply_started{false};

  PlannedImport Plan() override { return planned; }
  AppliedImport Apply(const ImportProgress& progress) override {
    apply_started = true;
    progress(0, total);
    Sleep(60);  // past the throttle's gap, as the changes of a real import take time
    progress(total / 2, total);
    std::unique_lock<std::mutex> lock(mutex_);
    released_cv_.wait(lock, [this] { return released_; });
    progress(total, total);
    return applied;
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    released_cv_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
};

// Pumps this thread's messages until `done` holds; false after 10 seconds.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    PumpPendingMessages();
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

std::unique_ptr<FakeImportWork> WorkPlanning(int to_add) {
  auto work = std::make_unique<FakeImportWork>();
  work->planned.plan.counts.to_add = to_add;
  work->planned.question = "question?";
  work->planned.summary = "nothing to do";
  work->applied.outcome.saved = true;
  work->applied.summary = "12 imported";
  return work;
}

TEST(ImportDialog, AsksThenImportsWithProgressWithoutFreezingThenSummarizes) {
  Watchdog watchdog("ImportDialog");
  auto owned = WorkPlanning(12);
  FakeImportWork* work = owned.get();
  ImportDialog dialog("work.ics", std::move(owned));
  SIZE size{};
  COLORREF bar_half = 0, bar_end = 0;
  bool stayed_open = false;
  RunSoon([&] {
    HWND box = FindOwnedDialog(nullptr);
    ASSERT_NE(box, nullptr);
    RECT r{};
    GetWindowRect(box, &r);
    size = SIZE{r.right - r.left, r.bottom - r.top};
    ASSERT_TRUE(
        PumpUntil([&] { return win::GetDlgItemText(box, IDC_IMPORT_TEXT) == "work.ics\r\nquestion?"; }));
    EXPECT_TRUE(Shown(box, IDOK));
    EXPECT_TRUE(Shown(box, IDCANCEL));
    EXPECT_EQ(win::GetWindowText(GetDlgItem(box, IDOK)), kImportButton);
    EXPECT_FALSE(work->apply_started);

    ClickButton(box, IDOK);
    // The worker waits half-way: the dialog goes on taking its messages.
    ASSERT_TRUE(PumpUntil(
        [&] { return win::GetDlgItemText(box, IDC_IMPORT_TEXT).find("50 / 100") != std::string::npos; }));
    EXPECT_FALSE(Shown(box, IDOK));
    EXPECT_FALSE(Shown(box, IDCANCEL));
    const screen_capture::Screenshot shot = screen_capture::CaptureWindow(box);
    bar_half = shot.at(80, 184);  // filled, left of the middle
    bar_end = shot.at(360, 184);  // not yet
    // Neither Escape nor the close button leaves an import that runs.
    ClickButton(box, IDCANCEL);
    SendMessageW(box, WM_CLOSE, 0, 0);
    PumpPendingMessages();
    stayed_open = IsWindow(box) && IsWindowVisible(box);

    work->Release();
    ASSERT_TRUE(PumpUntil([&] { return win::GetDlgItemText(box, IDC_IMPORT_TEXT) == "12 imported"; }));
    EXPECT_TRUE(Shown(box, IDOK));
    EXPECT_FALSE(Shown(box, IDCANCEL));
    EXPECT_EQ(win::GetWindowText(GetDlgItem(box, IDOK)), kCloseButton);
    ClickButton(box, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.imported());
  EXPECT_EQ(size.cx, 394);
  EXPECT_EQ(size.cy, 250);
  EXPECT_TRUE(stayed_open);
  EXPECT_EQ(bar_half, RGB(242, 170, 62));
  EXPECT_NE(bar_end, RGB(242, 170, 62));
}

TEST(ImportDialog, NoAtTheQuestionImportsNothing) {
  Watchdog watchdog("ImportDialogNo");
  auto owned = WorkPlanning(3);
  FakeImportWork* work = owned.get();
  ImportDialog dialog("a.ics", std::move(owned));
  RunSoon([&] {
    HWND box = FindOwnedDialog(nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Shown(box, IDOK); }));
    ClickButton(box, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(dialog.imported());
  EXPECT_FALSE(work->apply_started);
}

TEST(ImportDialog, AnUnreadableFileIsToldWithOnlyCloseOffered) {
  Watchdog watchdog("ImportDialogUnreadable");
  auto owned = WorkPlanning(0);
  owned->planned.plan.unreadable = true;
  owned->planned.plan.unreadable_reason = "not a calendar";
  FakeImportWork* work = owned.get();
  ImportDialog dialog("photo.jpg", std::move(owned));
  std::string text;
  RunSoon([&] {
    HWND box = FindOwnedDialog(nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Shown(box, IDOK); }));
    text = win::GetDlgItemText(box, IDC_IMPORT_TEXT);
    EXPECT_FALSE(Shown(box, IDCANCEL));
    EXPECT_EQ(win::GetWindowText(GetDlgItem(box, IDOK)), kCloseButton);
    ClickButton(box, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // nothing was imported
  EXPECT_NE(text.find("photo.jpg"), std::string::npos);
  EXPECT_NE(text.find("not a calendar"), std::string::npos);
  EXPECT_FALSE(work->apply_started);
}

}  // namespace
