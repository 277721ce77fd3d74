#pragma once
// The CalDAV operations a sync pass is made of (RFC 4791, RFC 6578,
// RFC 6764), on top of an HttpTransport. Each returns a CalDavResult: the
// value, or an error sorted by what to do about it (caldav_error.h).
//
// Addresses: every href and URL given or returned is an absolute URL in the
// canonical spelling of url.h (CanonicalUrl), so two of them are the same
// resource exactly when the strings are equal. An object's href is the
// server's opaque name for it: store it beside the UID, never derive one
// from the other (except when creating: ObjectUrlForUid).
//
// Text: calendar data, display names and UIDs are UTF-8, as on the wire;
// converting to and from code page 936 is the caller's business.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "caldav/caldav_error.h"
#include "caldav/http_transport.h"
#include "caldav/multistatus.h"

template <typename T>
struct CalDavResult {
  CalDavError error;
  T value{};
  bool ok() const { return error.kind == CalDavErrorKind::kNone; }
};

struct NoValue {};

struct CalendarInfo {
  std::string url;
  std::string displayname;  // "" when the server gives none
  // What the calendar takes: "VEVENT", "VTODO", "VJOURNAL"...; empty when
  // the server does not say (then it takes every component).
  std::vector<std::string> components;
  std::string ctag;        // calendar server's getctag; "" when none
  std::string sync_token;  // "" when none
  bool supports_sync_collection = false;

  bool Takes(std::string_view component) const;
};

struct Discovery {
  std::string principal_url;  // "" when the server named none
  std::string home_url;       // "" when the address given was the calendar itself
  std::vector<CalendarInfo> calendars;
};

// An object as a listing names it.
struct ObjectVersion {
  std::string href;
  std::string etag;  // "" when the server sent none: fetch the object to learn it
};

struct CalendarObject {
  std::string href;
  std::string etag;
  std::string data;  // the iCalendar text
};

struct SyncChanges {
  std::vector<ObjectVersion> changed;  // new or changed since the token
  std::vector<std::string> deleted;    // hrefs gone since the token
  // The token to send next time: save it only after the whole pass succeeded.
  std::string sync_token;
};

struct MultigetResult {
  std::vector<CalendarObject> objects;
  // Asked for but not delivered whole (gone, or without an ETag or calendar data).
  std::vector<std::string> missing;
};

struct WriteResult {
  std::string href;  // where the object now lives
  std::string etag;  // its strong ETag when the server gave one, else what a read-back gave
  // The text as the server stores it, when it was read back because the
  // answer carried no strong ETag (the server may have rewritten it).
  std::optional<std::string> stored_data;
};

class CalDavClient {
 public:
  // `now` gives seconds since 1970 (for Retry-After dates); the system clock when empty.
  explicit CalDavClient(HttpTransport& transport, std::function<std::int64_t()> now = {});

  // Finds the calendars from what the user typed: the calendar itself, a
  // principal, the server root, or a server whose /.well-known/caldav points
  // the way. "https://" is assumed when no scheme is given.
  CalDavResult<Discovery> Discover(std::string_view typed_address);
  // The calendars in a calendar home.
  CalDavResult<std::vector<CalendarInfo>> ListCalendars(std::string_view home_url);
  // One calendar's properties (its ctag and sync token, to see whether anything changed).
  CalDavResult<CalendarInfo> ReadCalendar(std::string_view calendar_url);

  // What changed since `sync_token` ("" for everything there is). Follows
  // truncated answers (507) to the end. kSyncTokenRejected when the server
  // no longer knows the token: list everything (an empty token or ListObjects).
  CalDavResult<SyncChanges> SyncCollection(std::string_view calendar_url, std::string_view sync_token);
  // Every object with its ETag (calendar-query), for servers without sync-collection.
  CalDavResult<std::vector<ObjectVersion>> ListObjects(std::string_view calendar_url);
  // The objects named, `batch_size` hrefs a request.
  CalDavResult<MultigetResult> Multiget(std::string_view calendar_url, const std::vector<std::string>& hrefs,
                                        std::size_t batch_size = 100);
  CalDavResult<CalendarObject> Get(std::string_view href);

  // A new object at ObjectUrlForUid, only if nothing is there (If-None-Match: *);
  // kConflict when something is.
  CalDavResult<WriteResult> Create(std::string_view calendar_url, std::string_view uid, std::string_view ics);
  // Replaces the object if it still has `etag` (If-Match); kConflict when not.
  CalDavResult<WriteResult> Update(std::string_view href, std::string_view etag, std::string_view ics);
  // Deletes the object if it still has `etag` ("" deletes whatever is there);
  // an object already gone counts as deleted; kConflict when it changed.
  CalDavResult<NoValue> Delete(std::string_view href, std::string_view etag);

 private:
  CalDavError Send(const HttpRequest& request, HttpResult& result);
  CalDavResult<Multistatus> SendForMultistatus(const HttpRequest& request, bool skip_request_url);
  CalDavResult<Multistatus> Propfind(const std::string& url, const char* depth);
  CalDavResult<WriteResult> FinishWrite(const std::string& href, const HttpResult& answer);

  HttpTransport& transport_;
  std::function<std::int64_t()> now_;
};

// Where a new object with this UID goes: the calendar's URL, the UID
// percent-encoded as one segment, ".ics". A UID too long for a file name on
// the server becomes a digest of it. nullopt for an empty UID or a bad URL.
std::optional<std::string> ObjectUrlForUid(std::string_view calendar_url, std::string_view uid);
