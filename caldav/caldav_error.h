#pragma once
// What went wrong with a request to the calendar server, sorted by what the
// sync engine does about it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "caldav/http_transport.h"

enum class CalDavErrorKind {
  kNone,
  kUnreachable,        // no answer (name, connection, time-out): try again later
  kAuth,               // 401 or 403: stop syncing this server and tell the user once
  kConflict,           // 412: the object changed on the server, or exists already
  kRetryLater,         // 429, 5xx, 507: try again later, after retry_after_seconds if given
  kSyncTokenRejected,  // the sync token is no longer valid: list everything again
  kNotFound,           // 404 or 410 where the resource had to exist
  kRefused,            // a certificate error or a redirect from https to http
  kBadAnswer,          // an answer that could not be read (malformed XML, missing parts)
  kOther,              // any other status or failure
};

struct CalDavError {
  CalDavErrorKind kind = CalDavErrorKind::kNone;
  int http_status = 0;                              // 0 when no answer came
  std::optional<std::int64_t> retry_after_seconds;  // from Retry-After, for kRetryLater
  std::string message;                              // English, naming the server; never the password
};

// The error an HTTP result means for `what` ("PROPFIND /user/"): kNone for
// a 2xx answer. `now` (seconds since 1970) turns a Retry-After date into seconds.
CalDavError ClassifyHttpResult(const HttpResult& result, std::string_view what, std::int64_t now);

// Retry-After as seconds from `now`: a count of seconds or an HTTP date
// ("Sun, 06 Nov 1994 08:49:37 GMT"); nullopt when unreadable. Never negative.
std::optional<std::int64_t> ParseRetryAfter(std::string_view value, std::int64_t now);
