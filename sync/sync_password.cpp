#include "sync/sync_password.h"

#include <optional>

#include "caldav/url.h"

std::string SyncPasswordTarget(std::string_view address) {
  std::string typed(address);
  // What the discovery assumes too: a server named without a scheme is https.
  if (typed.find("://") == std::string::npos) typed = "https://" + typed;
  const std::optional<Url> url = ParseUrl(typed);
  return "Tallyo/" + (url ? url->Origin() : std::string(address));
}
