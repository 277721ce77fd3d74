#include "repeat/repeat_problems.h"

RepeatProblems ProblemsOf(const RepeatRules& rules) {
  RepeatProblems problems;
  for (const RepeatEntry* entry : rules.Unreadable())
    problems.unreadable.push_back(RepeatProblem{entry->created, entry->rule_text, entry->problem});
  problems.other_lines = rules.OtherLines();
  return problems;
}

std::string RepeatProblemsMessage(const RepeatProblems& problems,
                                  const std::function<std::string(Time32 created)>& title_of,
                                  const std::string& path) {
  std::string text;
  if (!problems.unreadable.empty()) {
    // 重复规则文件中有 N 条规则无法读取，这些事件只提醒一次：
    text += "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xd6\xd0\xd3\xd0 " +
            std::to_string(problems.unreadable.size()) +
            " \xcc\xf5\xb9\xe6\xd4\xf2\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xa3\xac\xd5\xe2\xd0\xa9\xca\xc2\xbc"
            "\xfe\xd6"
            "\xbb\xcc\xe1\xd0\xd1\xd2\xbb\xb4\xce\xa3\xba";
    for (std::size_t i = 0; i < problems.unreadable.size() && i < kProblemsNamed; ++i) {
      const RepeatProblem& problem = problems.unreadable[i];
      // “<title>”：<rule>
      text += "\r\n\xa1\xb0" + title_of(problem.created) + "\xa1\xb1\xa3\xba" + problem.rule_text;
    }
    if (problems.unreadable.size() > kProblemsNamed) {
      // ……另有 M 条
      text += "\r\n\xa1\xad\xa1\xad\xc1\xed\xd3\xd0 " +
              std::to_string(problems.unreadable.size() - kProblemsNamed) + " \xcc\xf5";
    }
  }
  if (!problems.other_lines.empty()) {
    if (!text.empty()) text += "\r\n";
    // 重复规则文件中有 K 行无法识别（第 a、b、c…… 行），已原样保留。
    text += "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xd6\xd0\xd3\xd0 " +
            std::to_string(problems.other_lines.size()) +
            " \xd0\xd0\xce\xde\xb7\xa8\xca\xb6\xb1\xf0\xa3\xa8\xb5\xda ";
    for (std::size_t i = 0; i < problems.other_lines.size() && i < kProblemsNamed; ++i) {
      if (i != 0) text += "\xa1\xa2";  // 、
      text += std::to_string(problems.other_lines[i]);
    }
    if (problems.other_lines.size() > kProblemsNamed) text += "\xa1\xad\xa1\xad";  // ……
    text += " \xd0\xd0\xa3\xa9\xa3\xac\xd2\xd1\xd4\xad\xd1\xf9\xb1\xa3\xc1\xf4\xa1\xa3";
  }
  return text + "\r\n" + path;
}
