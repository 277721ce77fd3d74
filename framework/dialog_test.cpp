#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/message_table.h"
#include "framework/testing/scripted_dialog.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"

namespace {

using namespace test_ids;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }
  DialogTemplate template_ = MakeTestTemplate();
};

TEST_F(DialogTest, RunsOnInitDialogAndEndsWithTheGivenResult) {
  Watchdog watchdog("RunsOnInitDialog");
  ScriptedDialog dialog(template_.get());
  HWND seen = nullptr;
  dialog.script = [&](ScriptedDialog& d) {
    seen = d.hwnd();
    EXPECT_EQ(Window::FromHandle(d.hwnd()), &d);
    d.EndDialog(42);
  };
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_EQ(dialog.init_calls, 1);
  ASSERT_NE(seen, nullptr);
  // Forgotten once the window is gone.
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(seen));
  // The same object runs again.
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_EQ(dialog.init_calls, 2);
}

TEST_F(DialogTest, DestroyingTheWindowEndsTheModalRun) {
  Watchdog watchdog("DestroyEnds");
  ScriptedDialog dialog(template_.get());
  dialog.script = [](ScriptedDialog& d) { DestroyWindow(d.hwnd()); };
  dialog.DoModal();  // returns: the program's exit command relies on this
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST_F(DialogTest, MissingTemplateGivesMinusOne) {
  Watchdog watchdog("MissingTemplate");
  Dialog dialog(/*template_id=*/31999);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST_F(DialogTest, OkReadsTheControlsAndCancelChangesNothing) {
  Watchdog watchdog("OkAndCancel");
  ScriptedDialog dialog(template_.get());
  dialog.text = "before";
  dialog.script = [](ScriptedDialog& d) {
    win::SetDlgItemText(d.hwnd(), kText, "after");
    ClickButton(d.hwnd(), IDCANCEL);
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.text, "before");

  dialog.script = [](ScriptedDialog& d) {
    win::SetDlgItemText(d.hwnd(), kText, "after");
    ClickButton(d.hwnd(), IDOK);
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.text, "after");
}

TEST_F(DialogTest, EscapeAndCloseBoxCancel) {
  Watchdog watchdog("EscapeAndCloseBox");
  ScriptedDialog dialog(template_.get());
  dialog.script = [](ScriptedDialog& d) { SendMessageW(d.hwnd(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  // Escape reaches the dialog as IDCANCEL without a control.
  dialog.script = [](ScriptedDialog& d) { SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, BadIntegerKeepsTheDialogOpenWithTheFocusOnTheField) {
  Watchdog watchdog("BadIntegerOnOk");
  ScriptedDialog dialog(template_.get());
  dialog.number = 7;
  std::vector<std::string> messages;
  dialog.script = [&](ScriptedDialog& d) {
    win::SetDlgItemText(d.hwnd(), kNumber, "12abc");
    RunSoon([&] {
      HWND box = FindOwnedDialog(d.hwnd());
      ASSERT_NE(box, nullptr);
      messages.push_back(MessageBoxText(box));
      wchar_t caption[64] = {};
      GetWindowTextW(box, caption, 64);
      EXPECT_STREQ(caption, L"Tallyo");
      ClickButton(box, IDOK);
    });
    ClickButton(d.hwnd(), IDOK);  // returns once the message box is answered
    EXPECT_TRUE(IsWindow(d.hwnd()));
    EXPECT_EQ(d.failed_control(), kNumber);
    EXPECT_EQ(GetFocus(), GetDlgItem(d.hwnd(), kNumber));
    EXPECT_EQ(d.number, 7);
    // The whole text is selected so the user can type over it.
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(d.hwnd(), kNumber, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
    win::SetDlgItemText(d.hwnd(), kNumber, " -30 ");
    ClickButton(d.hwnd(), IDOK);
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "\xC7\xEB\xBC\xFC\xC8\xEB\xD2\xBB\xB8\xF6\xD5\xFB\xCA\xFD\xA1\xA3");  // 请键入一个整数。
  EXPECT_EQ(dialog.number, -30);
  EXPECT_EQ(dialog.failed_control(), 0);
}

// A dialog whose OK checks a condition of its own first.
class PickyDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  bool allow_close = false;
  int ok_calls = 0;

 protected:
  void OnOK() override {
    ++ok_calls;
    if (allow_close) ScriptedDialog::OnOK();
  }
};

TEST_F(DialogTest, OnOkMayRefuseToClose) {
  Watchdog watchdog("OnOkRefuses");
  PickyDialog dialog(template_.get());
  dialog.script = [&](ScriptedDialog& d) {
    ClickButton(d.hwnd(), IDOK);
    // The Enter key reaches the dialog the same way.
    SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(d.hwnd()));
    dialog.allow_close = true;
    ClickButton(d.hwnd(), IDOK);
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.ok_calls, 3);
}

// A dialog with a message table of its own in front of its base's.
class TableDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  std::vector<std::string> calls;

 protected:
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    using Table = MessageTable<TableDialog>;
    static const Table table{
        Table::Command(kExtraButton, BN_CLICKED, &TableDialog::OnExtra),
        Table::Command(kExtraButton, BN_DOUBLECLICKED, &TableDialog::OnExtraDouble),
        Table::Command(32771, 0, &TableDialog::OnMenuItem),
        Table::CommandRange(2000, 2009, 0, &TableDialog::OnRange),
        Table::Notify(kDate, DTN_DATETIMECHANGE, &TableDialog::OnDateChange),
        Table::Message(WM_APP + 1, &TableDialog::OnAppMessage),
        Table::Timer(5, &TableDialog::OnTimer5),
        // Catches IDOK before the base does: the dialog does not close.
        Table::Command(IDOK, BN_CLICKED, &TableDialog::OnEnter),
    };
    return table.Route(*this, message, wparam, lparam, result) ||
           ScriptedDialog::RouteMessage(message, wparam, lparam, result);
  }

 private:
  void OnExtra() { calls.push_back("extra"); }
  void OnExtraDouble() { calls.push_back("extra-double"); }
  void OnMenuItem() { calls.push_back("menu"); }
  void OnRange(int id) { calls.push_back("range " + std::to_string(id)); }
  LRESULT OnDateChange(NMHDR* header) {
    calls.push_back("date " + std::to_string(header->idFrom));
    return 0;
  }
  LRESULT OnAppMessage(WPARAM w, LPARAM l) {
    calls.push_back("app " + std::to_string(w) + " " + std::to_string(l));
    return 77;
  }
  void OnTimer5() {
    StopTimer(5);
    calls.push_back("timer");
    EndDialog(IDCANCEL);
  }
  void OnEnter() { calls.push_back("enter"); }
};

TEST_F(DialogTest, MessageTableRoutesCommandsNotificationsAndMessages) {
  Watchdog watchdog("MessageTable");
  TableDialog dialog(template_.get());
  LRESULT app_result = 0;
  dialog.script = [&](ScriptedDialog& d) {
    HWND h = d.hwnd();
    ClickButton(h, kExtraButton);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(kExtraButton, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(h, kExtraButton)));
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(kExtraButton, BN_SETFOCUS),  // not in the table
                 reinterpret_cast<LPARAM>(GetDlgItem(h, kExtraButton)));
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(32771, 0), 0);  // menu item
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(32771, 1), 0);  // accelerator: no control, so code 0 too
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(2004, 0), 0);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(2010, 0), 0);  // outside the range
    NMHDR header{GetDlgItem(h, kDate), static_cast<UINT_PTR>(kDate), DTN_DATETIMECHANGE};
    SendMessageW(h, WM_NOTIFY, kDate, reinterpret_cast<LPARAM>(&header));
    NMHDR other{GetDlgItem(h, kText), static_cast<UINT_PTR>(kText), DTN_DATETIMECHANGE};
    SendMessageW(h, WM_NOTIFY, kText, reinterpret_cast<LPARAM>(&other));
    app_result = SendMessageW(h, WM_APP + 1, 3, 4);
    ClickButton(h, IDOK);
    EXPECT_TRUE(IsWindow(h));
    d.StartTimer(5, 10);
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(app_result, 77);
  const std::vector<std::string> expected{"extra",     "extra-double", "menu",  "menu", "range 2004",
                                          "date 1007", "app 3 4",      "enter", "timer"};
  EXPECT_EQ(dialog.calls, expected);
}

// A button that handles its own click, as skinned controls do.
class SelfHandlingButton : public Window {
 public:
  int clicks = 0;
  HBRUSH brush = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));

 protected:
  bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM, LRESULT* result) override {
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
      ++clicks;
      *result = 0;
      return true;
    }
    if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
      *result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    return false;
  }
};

class ReflectingDialog : public TableDialog {
 public:
  using TableDialog::TableDialog;
  SelfHandlingButton extra;
  Window label;  // bound, but handles nothing itself

 protected:
  void DoDataExchange(DataExchange& dx) override {
    dx.Control(kExtraButton, extra);
    TableDialog::DoDataExchange(dx);
  }
};

TEST_F(DialogTest, ReflectedMessagesReachTheChildObjectFirst) {
  Watchdog watchdog("Reflection");
  ReflectingDialog dialog(template_.get());
  LRESULT colour = 0;
  dialog.script = [&](ScriptedDialog& d) {
    HWND h = d.hwnd();
    ASSERT_EQ(dialog.extra.hwnd(), GetDlgItem(h, kExtraButton));
    EXPECT_EQ(Window::FromHandle(GetDlgItem(h, kExtraButton)), &dialog.extra);
    ClickButton(h, kExtraButton);
    HDC dc = GetDC(h);
    colour = SendMessageW(h, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(GetDlgItem(h, kExtraButton)));
    ReleaseDC(h, dc);
    ClickButton(h, IDCANCEL);
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.extra.clicks, 1);
  EXPECT_EQ(colour, reinterpret_cast<LRESULT>(dialog.extra.brush));
  // The child consumed the click: the dialog's table never saw it.
  EXPECT_TRUE(dialog.calls.empty());
  // The subclassed control was let go with its dialog.
  EXPECT_EQ(dialog.extra.hwnd(), nullptr);
}

// Counts its own timer while a nested modal dialog runs.
class TimerDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  int ticks = 0;

 protected:
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    using Table = MessageTable<TimerDialog>;
    static const Table table{Table::Timer(1, &TimerDialog::OnTick)};
    return table.Route(*this, message, wparam, lparam, result) ||
           ScriptedDialog::RouteMessage(message, wparam, lparam, result);
  }

 private:
  void OnTick() { ++ticks; }
};

TEST_F(DialogTest, TimersKeepFiringInsideANestedModalDialog) {
  Watchdog watchdog("NestedTimers");
  TimerDialog outer(template_.get());
  int ticks_when_nested_ended = 0;
  outer.script = [&](ScriptedDialog& d) {
    ASSERT_TRUE(d.StartTimer(1, 10));
    ScriptedDialog inner(template_.get(), d.hwnd());
    inner.script = [&](ScriptedDialog& n) {
      // Poll from the nested loop until the outer window's timer has fired a few times.
      auto poll = std::make_shared<std::function<void()>>();
      *poll = [&, poll] {
        if (outer.ticks >= 3) {
          n.EndDialog(IDOK);
        } else {
          RunSoon(*poll);
        }
      };
      outer.ticks = 0;  // count only what fires inside the nested loop
      RunSoon(*poll);
    };
    EXPECT_EQ(inner.DoModal(), IDOK);
    ticks_when_nested_ended = outer.ticks;
    d.StopTimer(1);
    d.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_GE(ticks_when_nested_ended, 3);
}

class TestApplication : public Application {
 public:
  explicit TestApplication(const DLGTEMPLATE* t) : template_(t) {}
  HWND main = nullptr;
  HWND child_owner = nullptr;
  HWND main_window_during_run = nullptr;
  INT_PTR main_result = 0;

 protected:
  bool InitInstance() override {
    ScriptedDialog main_dialog(template_);
    main_dialog.script = [this](ScriptedDialog& d) {
      main = d.hwnd();
      main_window_during_run = Application::MainWindow();
      // Made without a parent: the framework gives it the main window as owner.
      ScriptedDialog child(template_);
      child.script = [this](ScriptedDialog& c) {
        child_owner = GetWindow(c.hwnd(), GW_OWNER);
        c.EndDialog(IDOK);
      };
      child.DoModal();
      d.EndDialog(IDCANCEL);
    };
    main_result = RunMainDialog(main_dialog);
    return false;
  }

 private:
  const DLGTEMPLATE* template_;
};

TEST_F(DialogTest, ApplicationRunsItsMainDialogAndEndsWithIt) {
  Watchdog watchdog("Application");
  TestApplication app(template_.get());
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.main_result, IDCANCEL);
  ASSERT_NE(app.main, nullptr);
  EXPECT_EQ(app.main_window_during_run, app.main);
  EXPECT_EQ(app.child_owner, app.main);
  EXPECT_EQ(Application::MainWindow(), nullptr);
}

class ModelessDialog : public ScriptedDialog {
 public:
  using ScriptedDialog::ScriptedDialog;
  INT_PTR ended_with = 0;

 protected:
  void OnModelessEnd(INT_PTR result) override { ended_with = result; }
};

TEST_F(DialogTest, AModelessDialogTakesItsKeysInsideAnotherDialogsLoop) {
  Watchdog watchdog("ModelessKeys");
  ScriptedDialog main_dialog(template_.get());
  ModelessDialog answered(template_.get(), GetDesktopWindow());
  ModelessDialog cancelled(template_.get(), GetDesktopWindow());
  main_dialog.script = [&](ScriptedDialog& m) {
    ASSERT_TRUE(answered.CreateModeless());
    EXPECT_TRUE(answered.modeless());
    EXPECT_EQ(GetWindow(answered.hwnd(), GW_OWNER), nullptr);
    ShowWindow(answered.hwnd(), SW_SHOW);
    HWND edit = GetDlgItem(answered.hwnd(), test_ids::kText);
    SetFocus(edit);
    // Keys arrive through the main dialog's loop, which would give Enter to
    // the edit as a plain key.
    PostMessageW(edit, WM_CHAR, 'a', 0);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    RunSoon([&] {
      ASSERT_TRUE(cancelled.CreateModeless());
      ShowWindow(cancelled.hwnd(), SW_SHOW);
      HWND field = GetDlgItem(cancelled.hwnd(), test_ids::kText);
      SetFocus(field);
      PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
      RunSoon([&] { m.EndDialog(IDOK); });
    });
  };
  EXPECT_EQ(main_dialog.DoModal(), IDOK);
  EXPECT_EQ(answered.ended_with, IDOK);
  EXPECT_EQ(answered.text, "a");
  EXPECT_EQ(answered.hwnd(), nullptr);
  EXPECT_FALSE(answered.modeless());
  EXPECT_EQ(cancelled.ended_with, IDCANCEL);
  EXPECT_EQ(cancelled.hwnd(), nullptr);
}

TEST_F(DialogTest, DesktopParentMakesAnUnownedDialog) {
  Watchdog watchdog("DesktopParent");
  ScriptedDialog main_dialog(template_.get());
  HWND owner = reinterpret_cast<HWND>(1);
  bool desktop_enabled = false, main_enabled = false;
  main_dialog.script = [&](ScriptedDialog& m) {
    // Opened from the main window's loop, as a due reminder is.
    ScriptedDialog dialog(template_.get(), GetDesktopWindow());
    dialog.script = [&](ScriptedDialog& d) {
      owner = GetWindow(d.hwnd(), GW_OWNER);
      desktop_enabled = IsWindowEnabled(GetDesktopWindow()) != FALSE;
      main_enabled = IsWindowEnabled(m.hwnd()) != FALSE;
      d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    m.EndDialog(IDOK);
  };
  EXPECT_EQ(main_dialog.DoModal(), IDOK);
  EXPECT_EQ(owner, nullptr);
  // The dialog manager would disable the owner of a modal dialog.
  EXPECT_TRUE(desktop_enabled);
  EXPECT_TRUE(main_enabled);
}

}  // namespace
