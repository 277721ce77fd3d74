#pragma once
// The once-a-second reminder check and the answer to a flashing alert: the
// state machine behind the main window's timer 2 and its "show" action. It
// owns no window: the main window gives it the world (clock, sound, popup,
// tray icon, the list view) through ReminderHost, and tests give it fakes.
//
// At most one alert is pending at a time. An event stays due, and is alerted
// again, until its reminder is moved into the future or it is deleted: a
// popup closed without OK brings the same event back at the next check.
#include <string>

#include "base/local_time.h"
#include "events/event_change.h"
#include "events/event_list.h"
#include "reminders/reminder_answer.h"
#include "settings/settings.h"

class ReminderHost {
 public:
  virtual ~ReminderHost() = default;

  virtual Time32 Now() = 0;
  // A 1000 Hz tone of one second; returns when it has ended.
  virtual void Beep() = 0;
  // Starts playing a WAV file and returns at once; failures are ignored.
  virtual void PlaySoundFile(const std::string& path) = 0;
  // Runs the reminder popup modally for `due` (a copy: the list may change
  // while the popup is open). True, with the answer, when it ended with OK.
  virtual bool AskUser(const CMyEvent& due, ReminderAnswer* answer) = 0;
  virtual void StartFlash() = 0;
  virtual void StopFlash() = 0;
  // An answer was applied and saved (or the save failed): rebuild the list
  // view and tell the user of any problem in the outcome.
  virtual void ChangeCommitted(const ChangeOutcome& outcome) = 0;
};

class ReminderCheck {
 public:
  ReminderCheck(EventList& events, const Settings& settings, ReminderHost& host);

  // Timer 2: alerts the first due event in stored order, unless an alert is
  // pending. With the popup kind (nTipType 0) the popup runs modally here;
  // with any other kind the tray icon flashes until AnswerFlashingAlert.
  void Tick();

  // The first step of the main window's "show" (tray menu or double click):
  // when a flashing alert is pending and no popup opened this way is
  // showing, answers it with the popup and returns true (the main window is
  // not to be shown). Otherwise returns false and changes nothing.
  bool AnswerFlashingAlert();

  // 0 from the moment an alert starts until it is answered.
  int bCheckEnabled = 1;
  // 1 while a popup opened by AnswerFlashingAlert is showing.
  int bPopupOpen = 0;
  // The tray icon is flashing for an alert nobody has attended to yet.
  bool flashing() const { return flashing_; }

 private:
  void Sound();
  // Asks about `due` and applies an OK answer to the event found again by
  // its creation time.
  void AskAndApply(const CMyEvent& due);

  EventList& events_;
  const Settings& settings_;
  ReminderHost& host_;
  bool flashing_ = false;
};
