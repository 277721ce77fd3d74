#pragma once
// Reading WebDAV multistatus answers (RFC 4918, with the CalDAV, sync and
// calendar-server properties this program uses), defensively: the body is
// untrusted. Hrefs are resolved against the request's URL and compared in
// one canonical spelling (url.h); empty hrefs, hrefs on another server and
// second mentions of an href are skipped.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kDavNs = "DAV:";
inline constexpr std::string_view kCalDavNs = "urn:ietf:params:xml:ns:caldav";
inline constexpr std::string_view kCalendarServerNs = "http://calendarserver.org/ns/";

// One <response>: a resource and the properties read from it.
struct DavResponse {
  std::string href;  // canonical absolute URL of the resource
  int status = 0;    // the response's own <status> (404: gone, in a sync report); 0 when absent
  // The status of each property's <propstat>, by "{namespace}name".
  std::map<std::string, int> property_status;

  // Properties whose propstat said 2xx (the others stay empty):
  std::optional<std::string> etag;  // as ETag headers spell it: quoted, W/ for a weak one
  std::optional<std::string> calendar_data;
  std::optional<std::string> displayname;
  std::optional<std::string> ctag;        // calendar server's getctag
  std::optional<std::string> sync_token;  // the collection's DAV:sync-token property
  bool is_collection = false;
  bool is_calendar = false;
  // supported-calendar-component-set: "VEVENT", "VTODO", ... (upper case).
  std::optional<std::vector<std::string>> components;
  // supported-report-set: "{namespace}name" of each report.
  std::optional<std::vector<std::string>> supported_reports;
  std::optional<std::string> current_user_principal;  // canonical absolute URL
  std::vector<std::string> calendar_home_set;         // canonical absolute URLs

  // Whether the property came back with a 2xx status.
  bool Has(std::string_view ns, std::string_view name) const;
  bool SupportsReport(std::string_view ns, std::string_view name) const;
};

struct Multistatus {
  std::vector<DavResponse> responses;
  // The top-level DAV:sync-token of a sync-collection answer; "" when absent.
  std::string sync_token;
  // A response for the request's own URL with status 507: the server sent
  // part of the changes (RFC 6578 3.6); ask again with `sync_token`.
  bool truncated = false;
};

struct MultistatusOptions {
  std::string request_url;  // what relative hrefs resolve against
  // Leave out the response for the request's own URL (a collection listing itself).
  bool skip_request_url = false;
};

// Reads a multistatus body. False, with the reason in `error`, when the body
// is not well-formed XML within the reader's limits or its root is not
// DAV:multistatus.
bool ReadMultistatus(std::string_view body, const MultistatusOptions& options, Multistatus& out,
                     std::string& error);

// The status code of a status line ("HTTP/1.1 404 Not Found" -> 404); 0 when unreadable.
int ParseStatusLine(std::string_view line);

// An ETag as If-Match needs it: trimmed, and quoted when the server left the quotes out.
std::string NormaliseEtag(std::string_view etag);
bool IsStrongEtag(std::string_view etag);
