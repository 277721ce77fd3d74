#include "caldav/caldav_error.h"

#include <cctype>
#include <cstdio>

#include "caldav/url.h"

namespace {

std::string ServerOf(const HttpResult& result) {
  std::optional<Url> url = ParseUrl(result.final_url);
  return url ? url->HostAndPort() : "the server";
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

std::optional<std::int64_t> ParseRetryAfter(std::string_view value, std::int64_t now) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  if (value.empty()) return std::nullopt;
  bool digits = true;
  for (char c : value) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (digits) {
    if (value.size() > 9) return std::int64_t{999'999'999};
    std::int64_t seconds = 0;
    for (char c : value) seconds = seconds * 10 + (c - '0');
    return seconds;
  }
  // IMF-fixdate, the form HTTP/1.1 servers send.
  char weekday[4] = {}, month[4] = {}, zone[4] = {};
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  std::string text(value.substr(0, 64));
  if (std::sscanf(text.c_str(), "%3s, %d %3s %d %d:%d:%d %3s", weekday, &day, month, &year, &hour, &minute,
                  &second, zone) != 8 ||
      std::string_view(zone) != "GMT") {
    return std::nullopt;
  }
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  std::size_t at = kMonths.find(month);
  if (at == std::string_view::npos || at % 3 != 0 || day < 1 || day > 31 || year < 1970 || year > 9999 ||
      hour > 23 || minute > 59 || second > 60 || hour < 0 || minute < 0 || second < 0) {
    return std::nullopt;
  }
  std::int64_t when =
      DaysFromCivil(year, static_cast<unsigned>(at / 3 + 1), static_cast<unsigned>(day)) * 86400 +
      hour * 3600 + minute * 60 + second;
  return when > now ? when - now : 0;
}

CalDavError ClassifyHttpResult(const HttpResult& result, std::string_view what, std::int64_t now) {
  CalDavError error;
  if (!result.answered()) {
    switch (result.failure) {
      case HttpFailure::kUnreachable:
      case HttpFailure::kTimeout:
        error.kind = CalDavErrorKind::kUnreachable;
        break;
      case HttpFailure::kCertificate:
      case HttpFailure::kRedirectRefused:
        error.kind = CalDavErrorKind::kRefused;
        break;
      default:
        error.kind = CalDavErrorKind::kOther;
    }
    error.message = result.error;
    return error;
  }
  const int status = result.status;
  if (status >= 200 && status < 300) return error;
  error.http_status = status;
  const std::string said =
      ServerOf(result) + " answered " + std::to_string(status) + " to " + std::string(what);
  if (status == 401 || status == 403) {
    error.kind = CalDavErrorKind::kAuth;
    error.message =
        said + (status == 401 ? ": the user name or password was not accepted" : ": access is refused");
  } else if (status == 412) {
    error.kind = CalDavErrorKind::kConflict;
    error.message = said + ": the object changed on the server meanwhile";
  } else if (status == 404 || status == 410) {
    error.kind = CalDavErrorKind::kNotFound;
    error.message = said + ": not found";
  } else if (status == 429 || status >= 500) {
    error.kind = CalDavErrorKind::kRetryLater;
    error.retry_after_seconds = ParseRetryAfter(result.Header("Retry-After"), now);
    error.message = said + ": the server is busy or in trouble, try again later";
  } else {
    error.kind = CalDavErrorKind::kOther;
    error.message = said;
  }
  return error;
}
