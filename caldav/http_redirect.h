#pragma once
// Following redirects, the same way for every transport: the transports
// make single exchanges and leave 3xx answers to this loop.
#include <functional>
#include <string>
#include <string_view>

#include "caldav/http_transport.h"

bool IsRedirectStatus(int status);  // 301, 302, 303, 307, 308

struct RedirectDecision {
  bool follow = false;
  std::string next_url;                      // where to go when `follow`
  HttpFailure failure = HttpFailure::kNone;  // why not, when refused
  std::string error;
};

// Whether the answer to a request for `from_url` that redirects to
// `location` (as the Location header gave it, absolute or relative) may be
// followed, `redirects_so_far` having been followed already. From https
// only https is followed: a redirect to http would send the request, and
// the credentials, in the clear.
RedirectDecision JudgeRedirect(std::string_view from_url, std::string_view location, int redirects_so_far,
                               int max_redirects);

// Sends `request` through `exchange` (one request, one answer) and follows
// redirects as JudgeRedirect allows: the same method, headers and body
// again, except after 303, which asks for a GET without a body. Sets
// `final_url` of the result.
HttpResult SendFollowingRedirects(const HttpRequest& request, int max_redirects,
                                  const std::function<HttpResult(const HttpRequest&)>& exchange);
