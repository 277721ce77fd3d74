#pragma once
// The add and modify dialogs: one design on two templates (131 and 133). A
// title, a body, a choice between no reminder, a reminder at a date and
// time, and one after some minutes, and how a reminder repeats ("重复"). They work on values only: the add
// dialog makes a new record at OK, the modify dialog edits a copy that the caller applies to the record it
// finds again by creation time, so a record deleted meanwhile (by an answered reminder, another program) is
// never touched.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base/ad.h"
#include "events/event_repeats.h"
#include "events/my_event.h"
#include "events/reminder_choice.h"
#include "forms/reminder_choice_controls.h"
#include "repeat/repeat_rule.h"
#include "skin/color_label.h"
#include "skin/link_label.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

class EventEditorDialog : public CSkinDialog {
 public:
  // The values exchanged with the controls.
  std::string strTitle;          // edit 1006
  std::string strContent;        // edit 1007
  ReminderFields reminder;       // radios 1008-1010, pickers 1011 and 1012
  std::string strMinutes = "0";  // minutes edit 1013, as typed; judged at OK
  int nRepeatChoice = 0;         // drop-down 1036: an entry of RepeatChoices(), or 自定义

  // The rule the "重复" drop-down stands for at OK; none without a reminder.
  std::optional<RepeatRule> ChosenRule() const;

 protected:
  // `rule`: the event's rule when it repeats (shown as its entry, or as
  // 自定义 when no entry stands for it), nullptr otherwise.
  EventEditorDialog(UINT template_id, UINT background_id, const RepeatRule* rule = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

  // Called at OK once the controls were read: make or update the record.
  virtual void Confirm(Time32 now) = 0;
  // True when `when` is the reminder time the event already has: kept as
  // it is, even when it has passed.
  virtual bool KeepsReminderTime(Time32 /*when*/) const { return false; }

  UINT background_id_;
  ReminderChoiceControls choice_;  // radios 1008-1010 and reminder.nChoice
  CSkinButton ok_, cancel_;
  CColorLabel repeat_note_;
  std::optional<RepeatRule> current_rule_;
  int initial_repeat_choice_ = 0;

 private:
  void FillRepeatChoices();
  // The drop-down is for reminders only: greyed and showing 不重复 without one.
  void EnableRepeatChoice();
  // Beside the drop-down, when the controls ask for a series at a time
  // already past: where it starts instead (its next occurrence).
  void ShowRepeatNote();
  // The first reminder of the series the controls show, when it is not the
  // time they give (that has passed); nullopt otherwise.
  std::optional<Time32> MovedSeriesStart(Time32 now) const;

  // The entry the drop-down showed before it was greyed; -1 while enabled.
  int repeat_choice_while_greyed_ = -1;
};

class AddEventDialog : public EventEditorDialog {
 public:
  // `ad` may be empty: then no advertisement link is shown.
  explicit AddEventDialog(Ad ad);

  // After DoModal returned IDOK: the new record, created at OK, and its rule.
  // Empty after another end, and once taken.
  std::optional<CMyEvent> TakeEvent() { return std::exchange(event_, std::nullopt); }
  std::optional<RepeatRule> repeat_rule() const { return ChosenRule(); }

 protected:
  bool OnInitDialog() override;
  void Confirm(Time32 now) override;

 private:
  Ad ad_;
  CLinkLabel link_;
  std::optional<CMyEvent> event_;
};

class ModifyEventDialog : public EventEditorDialog {
 public:
  // Edits a copy of `original`, whose rule is `rule` (nullptr: a one-off).
  explicit ModifyEventDialog(const CMyEvent& original, const RepeatRule* rule = nullptr);

  // After DoModal returned IDOK: the record with its new title, body and
  // reminder (timeCreate unchanged). The caller copies these fields into the
  // record it finds by timeCreate, if there still is one.
  const CMyEvent& edited() const { return edited_; }
  // What the "重复" drop-down says: another entry picked, and its rule.
  RepeatEdit repeat_edit() const { return {nRepeatChoice != initial_repeat_choice_, ChosenRule()}; }

 protected:
  bool OnInitDialog() override;
  void Confirm(Time32 now) override;
  bool KeepsReminderTime(Time32 when) const override;

 private:
  const bool had_reminder_;
  const Time32 original_reminder_time_;
  CMyEvent edited_;
};
