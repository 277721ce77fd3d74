#include "app/second_tick.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"

namespace {

constexpr Time32 kNow = 1796616000;
constexpr char kPath[] = "event.dat";

using Log = std::vector<std::string>;

class LoggingHost : public ReminderHost {
 public:
  explicit LoggingHost(Log& log) : log_(log) {}
  Time32 Now() override { return kNow; }
  void Beep() override {}
  void PlaySoundFile(const std::string&) override {}
  void ShowPopup(const CMyEvent& due, EventKey) override {
    log_.push_back(std::string("popup ").append(due.strTitle.view()));
  }
  void ClosePopup() override { log_.push_back("close popup"); }
  void StartFlash() override {}
  void StopFlash() override {}
  void CommitAnswer(EventKey, const ReminderAnswer&) override {}

 private:
  Log& log_;
};

class LoggingWindow : public SecondTickWindow {
 public:
  explicit LoggingWindow(Log& log) : log_(log) {}
  void FreeEndedPopup() override { log_.push_back("free"); }
  void Present(const ControllerResult& result) override {
    log_.push_back(result.list_changed ? "present changed list" : "present");
    if (on_present) on_present();
  }
  void KeepPopupRepeatLineCurrent() override { log_.push_back("line"); }
  void GivePopupTheKeyboard() override { log_.push_back("keyboard"); }
  std::function<void()> on_present;

 private:
  Log& log_;
};

class Tick : public ::testing::Test {
 protected:
  Tick() {
    controller.Load();
    controller.Add(MakeEvent("due", 100, "", 1, kNow - 60));
    log.clear();
  }
  void DeleteFromOutside(Time32 created) {
    EventList other(fs, kPath);
    other.LoadEvents();
    other.DeleteByCreateTime(created);
    ASSERT_TRUE(other.SaveEvents().ok());
  }

  Log log;
  MemoryFileSystem fs;
  MainController controller{fs, kPath};
  Settings settings;
  LoggingHost host{log};
  ReminderCheck reminders{controller.events(), settings, host};
  LoggingWindow window{log};
  SecondTick tick;
};

TEST_F(Tick, WhatOthersWroteIsTakenInBeforeTheReminderCheckSoAPopupDeletedElsewhereClosesAtOnce) {
  tick.Run(controller, reminders, window);
  EXPECT_EQ(log, (Log{"free", "present", "popup due", "line", "keyboard"}));

  log.clear();
  DeleteFromOutside(100);
  tick.Run(controller, reminders, window);
  EXPECT_EQ(log, (Log{"free", "present changed list", "close popup", "line", "keyboard"}));
}

TEST_F(Tick, ATickWhileOneRunsDoesNothing) {
  // A message box shown while presenting runs a loop in which the timer fires.
  window.on_present = [&] {
    window.on_present = nullptr;
    tick.Run(controller, reminders, window);
  };
  tick.Run(controller, reminders, window);
  EXPECT_EQ(log, (Log{"free", "present", "popup due", "line", "keyboard"}));
  // And the next one runs again.
  log.clear();
  tick.Run(controller, reminders, window);
  EXPECT_EQ(log, (Log{"free", "present", "line", "keyboard"}));
}

}  // namespace
