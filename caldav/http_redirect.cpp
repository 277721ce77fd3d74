#include "caldav/http_redirect.h"

#include "caldav/url.h"

bool IsRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

RedirectDecision JudgeRedirect(std::string_view from_url, std::string_view location, int redirects_so_far,
                               int max_redirects) {
  RedirectDecision decision;
  std::optional<Url> from = ParseUrl(from_url);
  if (!from) {
    decision.failure = HttpFailure::kBadUrl;
    decision.error = "not an http or https address: " + std::string(from_url);
    return decision;
  }
  if (location.empty()) {
    decision.failure = HttpFailure::kRedirectRefused;
    decision.error = from->HostAndPort() + " redirected without saying where to";
    return decision;
  }
  std::optional<Url> to = ResolveUrl(*from, location);
  if (!to) {
    decision.failure = HttpFailure::kRedirectRefused;
    decision.error = from->HostAndPort() + " redirected to an address that is not http or https: " +
                     std::string(location.substr(0, 200));
    return decision;
  }
  if (from->is_https() && !to->is_https()) {
    decision.failure = HttpFailure::kRedirectRefused;
    decision.error = from->HostAndPort() + " redirected from https to http (" + to->ToString() +
                     "); refused, as it would send the request and the password unencrypted";
    return decision;
  }
  if (redirects_so_far >= max_redirects) {
    decision.failure = HttpFailure::kTooManyRedirects;
    decision.error =
        from->HostAndPort() + " redirected more than " + std::to_string(max_redirects) + " times";
    return decision;
  }
  decision.follow = true;
  decision.next_url = to->ToString();
  return decision;
}

HttpResult SendFollowingRedirects(const HttpRequest& request, int max_redirects,
                                  const std::function<HttpResult(const HttpRequest&)>& exchange) {
  HttpRequest current = request;
  for (int redirects = 0;; ++redirects) {
    HttpResult result = exchange(current);
    result.final_url = current.url;
    if (!result.answered() || !IsRedirectStatus(result.status)) return result;
    RedirectDecision decision =
        JudgeRedirect(current.url, result.Header("Location"), redirects, max_redirects);
    if (!decision.follow) {
      HttpResult refused;
      refused.failure = decision.failure;
      refused.error = decision.error;
      refused.final_url = current.url;
      return refused;
    }
    current.url = decision.next_url;
    if (result.status == 303 && current.method != "HEAD") {
      current.method = "GET";
      current.body.clear();
    }
  }
}
