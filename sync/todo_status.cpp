#include "sync/todo_status.h"

#include <cctype>

namespace {

bool StartsWithNoCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(line[i])) != prefix[i]) return false;
  return true;
}

}  // namespace

std::string MarkTodoCompleted(std::string_view ics) {
  std::string out;
  out.reserve(ics.size() + 20);
  int depth = 0;  // 1: in the VTODO itself, more: in its alarms
  bool done = false;
  std::size_t at = 0;
  while (at < ics.size()) {
    std::size_t end = ics.find('\n', at);
    end = end == std::string_view::npos ? ics.size() : end + 1;
    std::string_view line = ics.substr(at, end - at);
    at = end;
    const bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (!done && depth == 0 && StartsWithNoCase(line, "BEGIN:VTODO")) {
      depth = 1;
    } else if (depth > 0 && !folded) {
      if (StartsWithNoCase(line, "BEGIN:")) {
        ++depth;
      } else if (StartsWithNoCase(line, "END:")) {
        if (depth == 1) {
          out.append("STATUS:COMPLETED\r\n");
          done = true;
        }
        --depth;
      } else if (depth == 1 && (StartsWithNoCase(line, "STATUS:") || StartsWithNoCase(line, "STATUS;"))) {
        // Its folded continuation lines go with it.
        while (at < ics.size() && (ics[at] == ' ' || ics[at] == '\t')) {
          std::size_t next = ics.find('\n', at);
          at = next == std::string_view::npos ? ics.size() : next + 1;
        }
        continue;
      }
    }
    out.append(line);
  }
  return out;
}
