// The question before an import and the summary after it, code page 936.
#include <string>

#include "calendar/calendar_import.h"

namespace {

// "导入 " (import)
constexpr char kImport[] = "\xb5\xbc\xc8\xeb ";
// " 个事件" (events)
constexpr char kEvents[] = " \xb8\xf6\xca\xc2\xbc\xfe";
// "（其中 " ... " 个重复）" (of which ... repeat)
constexpr char kOfWhich[] = "\xa3\xa8\xc6\xe4\xd6\xd0 ";
constexpr char kRepeat[] = " \xb8\xf6\xd6\xd8\xb8\xb4\xa3\xa9";
// "？"
constexpr char kQuestionMark[] = "\xa3\xbf";
// "新增 " (added), "更新 " (updated)
constexpr char kAdded[] = "\xd0\xc2\xd4\xf6 ";
constexpr char kUpdated[] = "\xb8\xfc\xd0\xc2 ";
// " 个事件未变" (events unchanged)
constexpr char kUnchanged[] = " \xb8\xf6\xca\xc2\xbc\xfe\xce\xb4\xb1\xe4";
// " 个事件在 Tallyo 中改过，保留原样" (events changed in Tallyo, kept as they are)
constexpr char kKept[] =
    " \xb8\xf6\xca\xc2\xbc\xfe\xd4\xda Tallyo "
    "\xd6\xd0\xb8\xc4\xb9\xfd\xa3\xac\xb1\xa3\xc1\xf4\xd4\xad\xd1\xf9";
// "跳过 " (skipped), " 个已过去的事件" (past events)
constexpr char kSkipped[] = "\xcc\xf8\xb9\xfd ";
constexpr char kPast[] = " \xb8\xf6\xd2\xd1\xb9\xfd\xc8\xa5\xb5\xc4\xca\xc2\xbc\xfe";
// " 个已完成或已取消的待办事项" (completed or cancelled to-dos)
constexpr char kDone[] =
    " \xb8\xf6\xd2\xd1\xcd\xea\xb3\xc9\xbb\xf2\xd2\xd1\xc8\xa1\xcf\xfb\xb5\xc4\xb4\xfd\xb0\xec\xca\xc2\xcf"
    "\xee";
// " 个事件中有日历文件里的字符无法保存，已用 〓 代替" (events held
// characters that cannot be stored, replaced by 〓)
constexpr char kMarked[] =
    " \xb8\xf6\xca\xc2\xbc\xfe\xd6\xd0\xd3\xd0\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe\xc0\xef\xb5\xc4\xd7\xd6\xb7"
    "\xfb"
    "\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xa3\xac\xd2\xd1\xd3\xc3 \xa1\xfe \xb4\xfa\xcc\xe6";
// " 个组件无法导入：" (components could not be imported:)
constexpr char kBad[] = " \xb8\xf6\xd7\xe9\xbc\xfe\xce\xde\xb7\xa8\xb5\xbc\xc8\xeb\xa3\xba";
// "：" between a component and its reason
constexpr char kColon[] = "\xa3\xba";
// "没有需要导入的事件" (nothing to import)
constexpr char kNothing[] = "\xc3\xbb\xd3\xd0\xd0\xe8\xd2\xaa\xb5\xbc\xc8\xeb\xb5\xc4\xca\xc2\xbc\xfe";
// "……还有 " ... " 个" (... and ... more)
constexpr char kMore[] = "\xa1\xad\xa1\xad\xbb\xb9\xd3\xd0 ";
constexpr char kMoreEnd[] = " \xb8\xf6";

// The problems named one by one; the rest are counted.
constexpr std::size_t kProblemsNamed = 20;

void Line(std::string* out, const std::string& line) {
  if (!out->empty()) *out += "\r\n";
  *out += line;
}

std::string OfWhichRepeat(int repeating) {
  return repeating > 0 ? kOfWhich + std::to_string(repeating) + kRepeat : std::string();
}

}  // namespace

std::string ImportQuestion(const ImportCounts& counts) {
  return kImport + std::to_string(counts.to_add + counts.to_update) + kEvents +
         OfWhichRepeat(counts.repeating) + kQuestionMark;
}

std::string ImportSummary(const ImportCounts& counts, const std::vector<ImportProblem>& problems) {
  std::string out;
  // The added and the updated, the repeating among them named after the last of the two.
  if (counts.to_add > 0 || (counts.to_update == 0 && counts.unchanged == 0 && counts.kept_user_changes == 0))
    Line(&out, kAdded + std::to_string(counts.to_add) + kEvents +
                   (counts.to_update == 0 ? OfWhichRepeat(counts.repeating) : std::string()));
  if (counts.to_update > 0)
    Line(&out, kUpdated + std::to_string(counts.to_update) + kEvents + OfWhichRepeat(counts.repeating));
  if (counts.unchanged > 0) Line(&out, std::to_string(counts.unchanged) + kUnchanged);
  if (counts.kept_user_changes > 0) Line(&out, std::to_string(counts.kept_user_changes) + kKept);
  if (counts.skipped_past > 0) Line(&out, kSkipped + std::to_string(counts.skipped_past) + kPast);
  if (counts.skipped_done > 0) Line(&out, kSkipped + std::to_string(counts.skipped_done) + kDone);
  if (counts.marked_events > 0) Line(&out, std::to_string(counts.marked_events) + kMarked);
  if (counts.bad > 0) {
    Line(&out, std::to_string(counts.bad) + kBad);
    for (std::size_t i = 0; i < problems.size() && i < kProblemsNamed; ++i)
      Line(&out, "  " + problems[i].component + kColon + problems[i].reason);
    if (problems.size() > kProblemsNamed)
      Line(&out, "  " + (kMore + std::to_string(problems.size() - kProblemsNamed)) + kMoreEnd);
  }
  if (counts.to_add + counts.to_update + counts.unchanged + counts.kept_user_changes + counts.skipped_past +
          counts.skipped_done + counts.bad ==
      0) {
    return kNothing;
  }
  return out;
}
