#include "sync/calendar_discovery.h"

#include <optional>

#include "base/text_convert.h"
#include "caldav/caldav_client.h"

namespace {

// "服务器拒绝了这个用户名和密码"
constexpr char kRefusedLogin[] =
    "\xB7\xFE\xCE\xF1\xC6\xF7\xBE\xDC\xBE\xF8\xC1\xCB\xD5\xE2\xB8\xF6\xD3\xC3\xBB\xA7\xC3\xFB\xBA\xCD\xC3\xDC"
    "\xC2\xEB";
constexpr char kUnreachable[] =
    "\xC1\xAC\xB2\xBB\xC9\xCF\xB7\xFE\xCE\xF1\xC6\xF7\xA3\xBA";  // "连不上服务器："
// "服务器拒绝连接（证书或不安全的转向）："
constexpr char kRefusedConnection[] =
    "\xB7\xFE\xCE\xF1\xC6\xF7\xBE\xDC\xBE\xF8\xC1\xAC\xBD\xD3\xA3\xA8\xD6\xA4\xCA\xE9\xBB\xF2\xB2\xBB\xB0\xB2"
    "\xC8\xAB\xB5\xC4\xD7\xAA\xCF\xF2\xA3\xA9\xA3\xBA";
// "服务器暂时不能用，请稍后再试："
constexpr char kBusy[] =
    "\xB7\xFE\xCE\xF1\xC6\xF7\xD4\xDD\xCA\xB1\xB2\xBB\xC4\xDC\xD3\xC3\xA3\xAC\xC7\xEB\xC9\xD4\xBA\xF3\xD4\xD9"
    "\xCA\xD4\xA3\xBA";
constexpr char kFailed[] = "\xBC\xEC\xB2\xE2\xCA\xA7\xB0\xDC\xA3\xBA";  // "检测失败："
// "服务器上没有可以放提醒的日历"
constexpr char kNoCalendar[] =
    "\xB7\xFE\xCE\xF1\xC6\xF7\xC9\xCF\xC3\xBB\xD3\xD0\xBF\xC9\xD2\xD4\xB7\xC5\xCC\xE1\xD0\xD1\xB5\xC4\xC8\xD5"
    "\xC0\xFA";

// The server's words (UTF-8) as code page 936; what it cannot hold becomes "?".
std::string FromServer(std::string_view utf8) {
  if (std::optional<std::string> text = cp936::FromUtf8(utf8)) return *text;
  std::u16string wide;
  // Not valid UTF-8 or not all representable: keep what can be kept.
  for (unsigned char c : utf8) wide.push_back(c < 0x80 ? c : u'?');
  return cp936::FromUtf16(wide);
}

std::string LastSegment(const std::string& url) {
  std::string path = url;
  while (!path.empty() && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string MessageFor(const CalDavError& error) {
  const std::string detail = FromServer(error.message);
  switch (error.kind) {
    case CalDavErrorKind::kAuth:
      return kRefusedLogin;
    case CalDavErrorKind::kUnreachable:
      return kUnreachable + detail;
    case CalDavErrorKind::kRefused:
      return kRefusedConnection + detail;
    case CalDavErrorKind::kRetryLater:
      return kBusy + detail;
    default:
      return kFailed + detail;
  }
}

}  // namespace

CalendarDiscovery DiscoverCalendars(HttpTransport& transport, std::string_view typed_address) {
  CalendarDiscovery out;
  CalDavClient client(transport);
  CalDavResult<Discovery> found = client.Discover(typed_address);
  for (const CalendarInfo& calendar : found.value.calendars) {
    if (!calendar.Takes("VEVENT")) continue;
    CalendarChoice choice;
    choice.url = calendar.url;
    choice.name = calendar.displayname.empty() ? FromServer(LastSegment(calendar.url))
                                               : FromServer(calendar.displayname);
    choice.takes_todos = calendar.Takes("VTODO");
    out.calendars.push_back(std::move(choice));
  }
  if (!found.ok() && out.calendars.empty()) {
    out.error = found.error.kind;
    out.message = MessageFor(found.error);
  } else if (out.calendars.empty()) {
    out.error = CalDavErrorKind::kNotFound;
    out.message = kNoCalendar;
  }
  return out;
}
