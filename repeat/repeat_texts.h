#pragma once
// What the program shows of a repeat rule, in code page 936: the entries of
// the editors' "重复" drop-down and the rule each stands for, the rule's short
// name for the grid and the line of the reminder popup.
#include <optional>
#include <span>
#include <string>

#include "base/local_time.h"
#include "repeat/repeat_rule.h"
#include "repeat/repeat_series.h"

struct RepeatChoice {
  const char* label;               // code page 936
  std::optional<RepeatRule> rule;  // nullopt: no repeat
};

// 不重复, 每天, 每个工作日（周一至周五）, 每周, 每月, 每年, in this order.
std::span<const RepeatChoice> RepeatChoices();

// The drop-down's entry for a rule it cannot express (set from tallyo-cli):
// "自定义", shown after the others; the rule is kept unless another entry is picked.
inline constexpr int kCustomRepeatChoice = 6;
inline constexpr char kCustomRepeatLabel[] = "\xd7\xd4\xb6\xa8\xd2\xe5";  // "自定义"

// The entry that stands for `rule` (nullptr: no rule, entry 0), or
// kCustomRepeatChoice for any rule no entry stands for.
int RepeatChoiceOf(const RepeatRule* rule);

// The rule an editor keeps when the drop-down shows `choice`: none for 不重复
// (and for an entry out of range), the entry's rule, or for 自定义 the rule the
// event had (`current`).
std::optional<RepeatRule> RepeatRuleForChoice(int choice, const RepeatRule* current);

// The grid's short name: 每天, 每个工作日, 每周, 每月, 每年, 每小时, 每分钟;
// for other rules the same words with their interval and weekdays
// ("每2周一、四", "每15分钟"), the months, weeks and days a rule names
// ("每月第二个星期二", "每年 3 月最后一个星期日", "每月 1 日、最后一天",
// "每年第 20 周", "每年第 100 天"), the times of day ("每天 9:00、17:30",
// "每小时 0、30 分"), which of them it takes ("，取其中最后一个"), then the
// end ("，共5次", "，至2027-06-30").
std::string RepeatShortName(const RepeatRule& rule);
// The same for a series, with the dates it leaves out and adds: "每天，除 12-25",
// "每周一，另加 12-26 10:00" (the year when not the start's, the time when not
// the start's time of day; three dates, then how many: "等 5 次").
std::string RepeatShortName(const RepeatSeries& series);

// The grid's reminder time of a repeating event ends with the short name in
// brackets: "2026-12-08 09:00:00 (每天)".
void AppendRepeatShortName(const RepeatRule& rule, std::string* cell);
void AppendRepeatShortName(const RepeatSeries& series, std::string* cell);

// The popup's line: "每天重复 · 下次 2026-12-08 09:00", or "每天重复 · 这是最后一次"
// when no occurrence is left after this one.
std::string RepeatPopupLine(const RepeatRule& rule, std::optional<Time32> next);
std::string RepeatPopupLine(const RepeatSeries& series, std::optional<Time32> next);
std::string RepeatPopupLine(const std::string& short_name, std::optional<Time32> next);
