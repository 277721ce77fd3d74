#pragma once
// The once-a-second reminder check and the alert it raises: the state
// machine behind the main window's one-second tick and its "show" action.
// It owns no window: the main window gives it the world (clock, sound, the
// popup, the tray icon, the saving of an answer) through ReminderHost, and
// tests give it fakes.
//
// At most one alert is pending at a time. An event stays due, and is alerted
// again, until its reminder is moved into the future or it is deleted: a
// popup closed without an answer brings the same event back at the next
// check. The popup does not block: its answer comes back through Answered
// or Dismissed, and an alert whose event was answered or deleted elsewhere
// (another copy of the program, tallyo-cli) ends at the next check.
#include <string>

#include "base/local_time.h"
#include "events/event_key.h"
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
  // Opens the reminder popup for `due` (a copy: the list may change while
  // it is open), the event named by `key`, and returns at once.
  virtual void ShowPopup(const CMyEvent& due, EventKey key) = 0;
  // Closes the open popup without an answer.
  virtual void ClosePopup() = 0;
  virtual void StartFlash() = 0;
  virtual void StopFlash() = 0;
  // Applies `answer` to the event named by `key`, found again now, saves,
  // and tells the user of any problem.
  virtual void CommitAnswer(EventKey key, const ReminderAnswer& answer) = 0;
};

class ReminderCheck {
 public:
  // Reads `events`, never changes them: an answer goes back through the host.
  ReminderCheck(const EventList& events, const Settings& settings, ReminderHost& host);

  // The one-second tick: alerts the first due event in stored order unless
  // an alert is pending. With the popup kind (nTipType 0) the popup opens;
  // with any other kind the tray icon flashes until AnswerFlashingAlert.
  // A pending alert whose event is gone or no longer due ends here.
  void Tick();

  // The first step of the main window's "show" (tray menu or double click):
  // when a flashing alert is pending and no popup opened this way is
  // showing, opens the popup for it and returns true (the main window is
  // not to be shown). Otherwise returns false and changes nothing.
  bool AnswerFlashingAlert();

  // The popup ended with OK and `answer`, or without an answer.
  void Answered(const ReminderAnswer& answer);
  void Dismissed();

  // 0 from the moment an alert starts until it is answered.
  int bCheckEnabled = 1;
  // 1 while a popup opened by AnswerFlashingAlert is showing.
  int bPopupOpen = 0;
  // The tray icon is flashing for an alert nobody has attended to yet.
  bool flashing() const { return flashing_; }
  // A popup is showing.
  bool popup_showing() const { return popup_showing_; }

 private:
  void Sound();
  void OpenPopup(const CMyEvent& due);
  // The pending alert's event is still there and due.
  bool AlertStillDue() const;
  void EndAlert();

  const EventList& events_;
  const Settings& settings_;
  ReminderHost& host_;
  bool flashing_ = false;
  bool popup_showing_ = false;
  EventKey alerted_;  // the event alerted
};
