#include "caldav/caldav_client.h"

#include <ctime>
#include <map>
#include <set>

#include "caldav/url.h"
#include "caldav/xml_tree.h"

namespace {

constexpr char kXmlType[] = "application/xml; charset=utf-8";
constexpr char kCalendarType[] = "text/calendar; charset=utf-8";
// A server that keeps truncating a sync report is not followed forever.
constexpr int kMaxSyncRounds = 1000;
// Longer encoded UIDs make names some servers' file systems refuse.
constexpr std::size_t kMaxUidSegment = 120;

constexpr char kPropfindBody[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\" "
    "xmlns:CS=\"http://calendarserver.org/ns/\"><D:prop>"
    "<D:resourcetype/><D:displayname/><D:current-user-principal/><C:calendar-home-set/>"
    "<C:supported-calendar-component-set/><CS:getctag/><D:sync-token/><D:supported-report-set/>"
    "</D:prop></D:propfind>";

constexpr char kCalendarQueryBody[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<C:calendar-query xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
    "<D:prop><D:getetag/></D:prop><C:filter><C:comp-filter name=\"VCALENDAR\"/></C:filter>"
    "</C:calendar-query>";

CalDavError MakeError(CalDavErrorKind kind, std::string message, int status = 0) {
  CalDavError error;
  error.kind = kind;
  error.message = std::move(message);
  error.http_status = status;
  return error;
}

std::string PathOf(std::string_view url) {
  std::optional<Url> parsed = ParseUrl(url);
  return parsed ? parsed->path : std::string(url);
}

HttpRequest XmlRequest(const char* method, std::string url, const char* depth, std::string body) {
  HttpRequest request{method, std::move(url), {{"Content-Type", kXmlType}}, std::move(body)};
  if (depth) request.headers.push_back({"Depth", depth});
  return request;
}

CalendarInfo CalendarFrom(const DavResponse& response) {
  CalendarInfo info;
  info.url = response.href;
  info.displayname = response.displayname.value_or("");
  info.components = response.components.value_or(std::vector<std::string>{});
  info.ctag = response.ctag.value_or("");
  info.sync_token = response.sync_token.value_or("");
  // A server that lists no reports but keeps a sync token most likely has the report.
  info.supports_sync_collection = response.SupportsReport(kDavNs, "sync-collection") ||
                                  (!response.supported_reports && !info.sync_token.empty());
  return info;
}

// The response about `url` itself, else the first one.
const DavResponse* ResponseFor(const Multistatus& multistatus, const std::string& url) {
  for (const DavResponse& response : multistatus.responses) {
    if (WithTrailingSlash(response.href) == WithTrailingSlash(url)) return &response;
  }
  return multistatus.responses.empty() ? nullptr : &multistatus.responses.front();
}

// Whether a refused sync report says the token is no longer valid (RFC 6578 3.2).
bool SaysInvalidSyncToken(const HttpResult& result) {
  std::optional<XmlElement> root = ReadXml(result.body, nullptr);
  if (!root || !root->Is(kDavNs, "error")) return false;
  return root->Child(kDavNs, "valid-sync-token") != nullptr;
}

std::string SyncCollectionBody(std::string_view token) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" +
         EscapeXml(token) +
         "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
}

std::string DigestHex(std::string_view text) {
  // FNV-1a, 64 bits: a stable name, not a secret.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(hash >> shift) & 15];
  return out;
}

}  // namespace

bool CalendarInfo::Takes(std::string_view component) const {
  if (components.empty()) return true;
  for (const std::string& c : components) {
    if (c == component) return true;
  }
  return false;
}

std::optional<std::string> ObjectUrlForUid(std::string_view calendar_url, std::string_view uid) {
  std::optional<Url> calendar = ParseUrl(calendar_url);
  if (!calendar || uid.empty()) return std::nullopt;
  std::string segment = PercentEncodeSegment(uid);
  if (segment.size() > kMaxUidSegment) segment = "uid-" + DigestHex(uid);
  Url object = *calendar;
  object.path = WithTrailingSlash(object.path.substr(0, object.path.find('?'))) + segment + ".ics";
  return CanonicalUrl(object);
}

CalDavClient::CalDavClient(HttpTransport& transport, std::function<std::int64_t()> now)
    : transport_(transport), now_(std::move(now)) {
  if (!now_) now_ = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

CalDavError CalDavClient::Send(const HttpRequest& request, HttpResult& result) {
  result = transport_.Send(request);
  return ClassifyHttpResult(result, request.method + " " + PathOf(request.url), now_());
}

CalDavResult<Multistatus> CalDavClient::SendForMultistatus(const HttpRequest& request,
                                                           bool skip_request_url) {
  CalDavResult<Multistatus> out;
  HttpResult result;
  out.error = Send(request, result);
  if (!out.ok()) return out;
  const std::string what = request.method + " " + PathOf(request.url);
  if (result.status != 207) {
    out.error = MakeError(CalDavErrorKind::kBadAnswer,
                          "the server answered " + std::to_string(result.status) + " to " + what +
                              " where a multistatus (207) was expected",
                          result.status);
    return out;
  }
  std::string error;
  // Relative hrefs resolve against where the answer came from, after redirects.
  if (!ReadMultistatus(result.body, {result.final_url, skip_request_url}, out.value, error)) {
    out.error = MakeError(CalDavErrorKind::kBadAnswer, what + ": " + error, result.status);
  }
  return out;
}

CalDavResult<Multistatus> CalDavClient::Propfind(const std::string& url, const char* depth) {
  return SendForMultistatus(XmlRequest("PROPFIND", url, depth, kPropfindBody),
                            std::string_view(depth) == "1");
}

CalDavResult<Discovery> CalDavClient::Discover(std::string_view typed_address) {
  CalDavResult<Discovery> out;
  std::string typed(typed_address);
  while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t')) typed.pop_back();
  while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t')) typed.erase(0, 1);
  if (typed.find("://") == std::string::npos) typed = "https://" + typed;
  std::optional<Url> start = ParseUrl(typed);
  if (!start) {
    out.error =
        MakeError(CalDavErrorKind::kOther, "not an http or https address: " + std::string(typed_address));
    return out;
  }

  // What the address is: a calendar, a principal (with a home), or a way to the principal.
  std::string principal;
  std::string home;
  CalDavError first_error;
  for (const std::string& url : {CanonicalUrl(*start), start->Origin() + "/.well-known/caldav"}) {
    CalDavResult<Multistatus> answer = Propfind(url, "0");
    if (!answer.ok()) {
      CalDavErrorKind kind = answer.error.kind;
      if (kind == CalDavErrorKind::kAuth || kind == CalDavErrorKind::kUnreachable ||
          kind == CalDavErrorKind::kRefused || kind == CalDavErrorKind::kRetryLater) {
        out.error = answer.error;
        return out;
      }
      if (first_error.kind == CalDavErrorKind::kNone) first_error = answer.error;
      continue;
    }
    const DavResponse* self = ResponseFor(answer.value, url);
    if (!self) continue;
    if (self->is_calendar) {
      out.value.principal_url = self->current_user_principal.value_or("");
      out.value.calendars.push_back(CalendarFrom(*self));
      return out;
    }
    if (!self->calendar_home_set.empty()) {
      principal = self->current_user_principal.value_or(self->href);
      home = self->calendar_home_set.front();
      break;
    }
    if (self->current_user_principal) {
      principal = *self->current_user_principal;
      break;
    }
  }
  if (home.empty() && !principal.empty()) {
    CalDavResult<Multistatus> answer = Propfind(principal, "0");
    if (!answer.ok()) {
      out.error = answer.error;
      return out;
    }
    const DavResponse* self = ResponseFor(answer.value, principal);
    if (self && !self->calendar_home_set.empty()) home = self->calendar_home_set.front();
  }
  if (home.empty()) {
    std::string why = first_error.kind != CalDavErrorKind::kNone ? " (" + first_error.message + ")" : "";
    out.error = MakeError(
        CalDavErrorKind::kNotFound,
        "no calendars found at " + start->ToString() +
            ": it is neither a calendar nor a principal, and the server names no calendar home" + why);
    return out;
  }
  CalDavResult<std::vector<CalendarInfo>> calendars = ListCalendars(WithTrailingSlash(home));
  out.error = calendars.error;
  out.value.principal_url = principal;
  out.value.home_url = WithTrailingSlash(home);  // a collection, whichever way the server spelled it
  out.value.calendars = std::move(calendars.value);
  return out;
}

CalDavResult<std::vector<CalendarInfo>> CalDavClient::ListCalendars(std::string_view home_url) {
  CalDavResult<std::vector<CalendarInfo>> out;
  CalDavResult<Multistatus> answer = Propfind(std::string(home_url), "1");
  out.error = answer.error;
  for (const DavResponse& response : answer.value.responses) {
    if (response.is_calendar) out.value.push_back(CalendarFrom(response));
  }
  return out;
}

CalDavResult<CalendarInfo> CalDavClient::ReadCalendar(std::string_view calendar_url) {
  CalDavResult<CalendarInfo> out;
  CalDavResult<Multistatus> answer = Propfind(std::string(calendar_url), "0");
  out.error = answer.error;
  if (!out.ok()) return out;
  const DavResponse* self = ResponseFor(answer.value, std::string(calendar_url));
  if (!self || !self->is_calendar) {
    out.error = MakeError(CalDavErrorKind::kNotFound, std::string(calendar_url) + " is not a calendar");
    return out;
  }
  out.value = CalendarFrom(*self);
  return out;
}

CalDavResult<SyncChanges> CalDavClient::SyncCollection(std::string_view calendar_url,
                                                       std::string_view sync_token) {
  CalDavResult<SyncChanges> out;
  // The latest word on each href, in the order first mentioned.
  std::vector<std::string> order;
  std::map<std::string, std::optional<std::string>> latest;  // href -> ETag, or nullopt when deleted
  std::string token(sync_token);
  for (int round = 0; round < kMaxSyncRounds; ++round) {
    HttpRequest request = XmlRequest("REPORT", std::string(calendar_url), nullptr, SyncCollectionBody(token));
    HttpResult result = transport_.Send(request);
    const std::string what = "REPORT sync-collection " + PathOf(calendar_url);
    if (result.answered() && !token.empty() &&
        (result.status == 403 || result.status == 409 || result.status == 412) &&
        (SaysInvalidSyncToken(result) || result.status != 403)) {
      out.error = MakeError(CalDavErrorKind::kSyncTokenRejected,
                            "the server no longer knows the sync token of " + std::string(calendar_url),
                            result.status);
      return out;
    }
    out.error = ClassifyHttpResult(result, what, now_());
    if (!out.ok()) return out;
    if (result.status != 207) {
      out.error =
          MakeError(CalDavErrorKind::kBadAnswer,
                    "the server answered " + std::to_string(result.status) + " to " + what, result.status);
      return out;
    }
    Multistatus multistatus;
    std::string error;
    if (!ReadMultistatus(result.body, {result.final_url, true}, multistatus, error)) {
      out.error = MakeError(CalDavErrorKind::kBadAnswer, what + ": " + error, result.status);
      return out;
    }
    if (multistatus.sync_token.empty()) {
      out.error =
          MakeError(CalDavErrorKind::kBadAnswer, what + ": the answer holds no sync token", result.status);
      return out;
    }
    for (const DavResponse& response : multistatus.responses) {
      if (response.status >= 300 && response.status != 404 && response.status != 410) continue;
      if (!latest.count(response.href)) order.push_back(response.href);
      if (response.status == 404 || response.status == 410) {
        latest[response.href] = std::nullopt;
      } else {
        latest[response.href] = response.etag.value_or("");
      }
    }
    bool more = multistatus.truncated && multistatus.sync_token != token;
    token = multistatus.sync_token;
    if (!more) break;
  }
  for (const std::string& href : order) {
    const std::optional<std::string>& etag = latest[href];
    if (etag) {
      out.value.changed.push_back({href, *etag});
    } else {
      out.value.deleted.push_back(href);
    }
  }
  out.value.sync_token = token;
  return out;
}

CalDavResult<std::vector<ObjectVersion>> CalDavClient::ListObjects(std::string_view calendar_url) {
  CalDavResult<std::vector<ObjectVersion>> out;
  CalDavResult<Multistatus> answer =
      SendForMultistatus(XmlRequest("REPORT", std::string(calendar_url), "1", kCalendarQueryBody), true);
  out.error = answer.error;
  for (const DavResponse& response : answer.value.responses) {
    if (response.status >= 300) continue;
    out.value.push_back({response.href, response.etag.value_or("")});
  }
  return out;
}

CalDavResult<MultigetResult> CalDavClient::Multiget(std::string_view calendar_url,
                                                    const std::vector<std::string>& hrefs,
                                                    std::size_t batch_size) {
  CalDavResult<MultigetResult> out;
  if (batch_size == 0) batch_size = 1;
  for (std::size_t begin = 0; begin < hrefs.size(); begin += batch_size) {
    std::size_t end = std::min(hrefs.size(), begin + batch_size);
    std::set<std::string> wanted;
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<C:calendar-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
        "<D:prop><D:getetag/><C:calendar-data/></D:prop>";
    for (std::size_t i = begin; i < end; ++i) {
      if (!wanted.insert(hrefs[i]).second) continue;
      body += "<D:href>" + EscapeXml(PathOf(hrefs[i])) + "</D:href>";
    }
    body += "</C:calendar-multiget>";
    CalDavResult<Multistatus> answer =
        SendForMultistatus(XmlRequest("REPORT", std::string(calendar_url), "1", std::move(body)), true);
    if (!answer.ok()) {
      out.error = answer.error;
      return out;
    }
    for (const DavResponse& response : answer.value.responses) {
      if (!wanted.count(response.href)) continue;  // not asked for: ignored
      wanted.erase(response.href);
      if (response.status < 300 && response.etag && response.calendar_data) {
        out.value.objects.push_back({response.href, *response.etag, *response.calendar_data});
      } else {
        out.value.missing.push_back(response.href);
      }
    }
    for (std::size_t i = begin; i < end; ++i) {
      if (wanted.erase(hrefs[i])) out.value.missing.push_back(hrefs[i]);
    }
  }
  return out;
}

CalDavResult<CalendarObject> CalDavClient::Get(std::string_view href) {
  CalDavResult<CalendarObject> out;
  HttpResult result;
  out.error = Send({"GET", std::string(href), {}, ""}, result);
  if (!out.ok()) return out;
  out.value = {std::string(href), NormaliseEtag(result.Header("ETag")), std::move(result.body)};
  return out;
}

CalDavResult<WriteResult> CalDavClient::FinishWrite(const std::string& href, const HttpResult& answer) {
  CalDavResult<WriteResult> out;
  out.value.href = href;
  std::string etag = NormaliseEtag(answer.Header("ETag"));
  if (IsStrongEtag(etag)) {
    out.value.etag = etag;
    return out;
  }
  // No strong ETag: the server may have changed what it stored; read it back.
  CalDavResult<CalendarObject> stored = Get(href);
  out.error = stored.error;
  out.value.etag = stored.value.etag;
  if (stored.ok()) out.value.stored_data = std::move(stored.value.data);
  return out;
}

CalDavResult<WriteResult> CalDavClient::Create(std::string_view calendar_url, std::string_view uid,
                                               std::string_view ics) {
  CalDavResult<WriteResult> out;
  std::optional<std::string> url = ObjectUrlForUid(calendar_url, uid);
  if (!url) {
    out.error =
        MakeError(CalDavErrorKind::kOther, "no object address for UID \"" + std::string(uid.substr(0, 100)) +
                                               "\" in " + std::string(calendar_url));
    return out;
  }
  HttpResult result;
  out.error = Send({"PUT", *url, {{"Content-Type", kCalendarType}, {"If-None-Match", "*"}}, std::string(ics)},
                   result);
  if (out.error.kind == CalDavErrorKind::kConflict)
    out.error.message += " (an object exists at that address)";
  if (!out.ok()) return out;
  std::string href = CanonicalUrl(*ParseUrl(result.final_url));
  if (std::optional<Url> base = ParseUrl(result.final_url); base && !result.Header("Location").empty()) {
    if (std::optional<Url> moved = ResolveUrl(*base, result.Header("Location"));
        moved && SameOrigin(*moved, *base)) {
      href = CanonicalUrl(*moved);
    }
  }
  return FinishWrite(href, result);
}

CalDavResult<WriteResult> CalDavClient::Update(std::string_view href, std::string_view etag,
                                               std::string_view ics) {
  CalDavResult<WriteResult> out;
  HttpRequest request{"PUT", std::string(href), {{"Content-Type", kCalendarType}}, std::string(ics)};
  if (!etag.empty()) request.headers.push_back({"If-Match", std::string(etag)});
  HttpResult result;
  out.error = Send(request, result);
  if (!out.ok()) return out;
  return FinishWrite(std::string(href), result);
}

CalDavResult<NoValue> CalDavClient::Delete(std::string_view href, std::string_view etag) {
  CalDavResult<NoValue> out;
  HttpRequest request{"DELETE", std::string(href), {}, ""};
  if (!etag.empty()) request.headers.push_back({"If-Match", std::string(etag)});
  HttpResult result;
  out.error = Send(request, result);
  if (out.error.kind == CalDavErrorKind::kNotFound) out.error = CalDavError();  // gone already: done
  return out;
}
