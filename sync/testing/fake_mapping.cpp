#include "sync/testing/fake_mapping.h"

#include <ctime>
#include <string>

#include "base/text_convert.h"
#include "events/my_event.h"

namespace {

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      out += "\\n";
    else if (c == ',' || c == ';' || c == '\\')
      out.append("\\").push_back(c);
    else
      out.push_back(c);
  }
  return out;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      ++i;
      out += (text[i] == 'n' || text[i] == 'N') ? "\r\n" : std::string(1, text[i]);
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string Utc(Time32 t) {
  std::time_t time = t;
  std::tm tm{};
  gmtime_r(&time, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &tm);
  return text;
}

std::optional<Time32> ParseUtc(std::string_view text) {
  std::tm tm{};
  if (text.size() < 15) return std::nullopt;
  std::string s(text);
  if (std::sscanf(s.c_str(), "%4d%2d%2dT%2d%2d%2d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour,
                  &tm.tm_min, &tm.tm_sec) != 6)
    return std::nullopt;
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  return static_cast<Time32>(timegm(&tm));
}

std::vector<std::string> UnfoldedLines(std::string_view ics) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < ics.size()) {
    std::size_t end = ics.find('\n', at);
    if (end == std::string_view::npos) end = ics.size();
    std::string line(ics.substr(at, end - at));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty())
      lines.back() += line.substr(1);
    else
      lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

// The value of a property line "NAME...:value" when its name is `name`.
std::optional<std::string> ValueOf(const std::string& line, std::string_view name) {
  if (!line.starts_with(name) || line.size() <= name.size()) return std::nullopt;
  char next = line[name.size()];
  if (next != ':' && next != ';') return std::nullopt;
  std::size_t colon = line.find(':');
  return line.substr(colon + 1);
}

std::optional<CalendarItem> Read(std::string_view ics, Time32, std::string* problem) {
  CalendarItem item;
  int depth = 0;
  bool found = false;
  for (const std::string& line : UnfoldedLines(ics)) {
    if (line == "BEGIN:VEVENT" || line == "BEGIN:VTODO") {
      if (found) break;
      found = true;
      depth = 1;
      item.kind = line == "BEGIN:VEVENT" ? CalendarKind::kEvent : CalendarKind::kTodo;
      continue;
    }
    if (depth == 0) continue;
    if (line.starts_with("BEGIN:")) ++depth;
    if (line.starts_with("END:") && --depth == 0) break;
    if (depth != 1) continue;
    if (auto v = ValueOf(line, "UID")) item.uid = *v;
    if (auto v = ValueOf(line, "SUMMARY")) item.title = cp936::FromUtf8(Unescape(*v)).value_or("?");
    if (auto v = ValueOf(line, "DESCRIPTION")) item.body = cp936::FromUtf8(Unescape(*v)).value_or("?");
    if (auto v = ValueOf(line, "STATUS")) item.done = *v == "COMPLETED" || *v == "CANCELLED";
    if (auto v = ValueOf(line, "DTSTART")) {
      if (std::optional<Time32> t = ParseUtc(*v)) {
        item.reminds = true;
        item.remind_at = *t;
      }
    }
  }
  if (!found) {
    *problem = "no component";
    return std::nullopt;
  }
  return item;
}

CalendarItem ItemOf(const CMyEvent& event, const RepeatSeries*, std::string uid) {
  CalendarItem item;
  item.kind = event.bRemind ? CalendarKind::kEvent : CalendarKind::kTodo;
  item.uid = std::move(uid);
  item.title = std::string(event.strTitle);
  item.body = std::string(event.strContent);
  item.reminds = event.bRemind != 0;
  item.remind_at = item.reminds ? event.timeRemind : 0;
  return item;
}

std::string NewObject(const CalendarItem& item) {
  const char* kind = item.reminds ? "VEVENT" : "VTODO";
  std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo tests//EN\r\nBEGIN:";
  text.append(kind).append("\r\nUID:").append(item.uid).append("\r\nDTSTAMP:20260101T000000Z\r\n");
  if (item.reminds) text.append("DTSTART:").append(Utc(item.remind_at)).append("\r\n");
  text.append("SUMMARY:").append(Escape(cp936::ToUtf8(item.title))).append("\r\n");
  if (!item.body.empty()) text.append("DESCRIPTION:").append(Escape(cp936::ToUtf8(item.body))).append("\r\n");
  text.append("END:").append(kind).append("\r\nEND:VCALENDAR\r\n");
  return text;
}

std::string Patch(std::string_view server_text, const CalendarItem& agreed, const CalendarItem& wanted) {
  std::string out;
  int depth = 0;
  bool description_written = false;
  for (const std::string& line : UnfoldedLines(server_text)) {
    if (line.empty()) continue;
    if (line == "BEGIN:VEVENT" || line == "BEGIN:VTODO")
      depth = 1;
    else if (depth > 0 && line.starts_with("BEGIN:"))
      ++depth;
    else if (depth > 0 && line.starts_with("END:")) {
      if (depth == 1 && !description_written && !wanted.body.empty() && wanted.body != agreed.body)
        out.append("DESCRIPTION:").append(Escape(cp936::ToUtf8(wanted.body))).append("\r\n");
      --depth;
    }
    if (depth == 1) {
      if (ValueOf(line, "SUMMARY") && wanted.title != agreed.title) {
        out.append("SUMMARY:").append(Escape(cp936::ToUtf8(wanted.title))).append("\r\n");
        continue;
      }
      if (ValueOf(line, "DESCRIPTION") && wanted.body != agreed.body) {
        description_written = true;
        if (!wanted.body.empty())
          out.append("DESCRIPTION:").append(Escape(cp936::ToUtf8(wanted.body))).append("\r\n");
        continue;
      }
      if (ValueOf(line, "DTSTART") && wanted.reminds && wanted.remind_at != agreed.remind_at) {
        out.append("DTSTART:").append(Utc(wanted.remind_at)).append("\r\n");
        continue;
      }
    }
    out.append(line).append("\r\n");
  }
  return out;
}

}  // namespace

ObjectMapping FakeObjectMapping() { return ObjectMapping{Read, ItemOf, NewObject, Patch}; }
