// A calendar server's multistatus answer as any bytes, through the XML
// reader and the multistatus reader. Checks what the sync engine relies on:
// every href kept is a canonical URL on the request's server, none twice.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "caldav/multistatus.h"
#include "caldav/url.h"
#include "caldav/xml_tree.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  XmlLimits small;
  small.max_depth = 8;
  small.max_elements = 200;
  std::string error;
  if (!ReadXml(bytes, &error, small)) Check(!error.empty());

  Multistatus out;
  const std::string request_url = "http://h:8080/user/cal/";
  if (!ReadMultistatus(bytes, {request_url, true}, out, error)) {
    Check(!error.empty() && out.responses.empty());
    return 0;
  }
  std::set<std::string> hrefs;
  for (const DavResponse& response : out.responses) {
    std::optional<Url> url = ParseUrl(response.href);
    Check(url && url->Origin() == "http://h:8080");
    Check(CanonicalUrl(*url) == response.href);
    Check(WithTrailingSlash(response.href) != request_url);
    Check(hrefs.insert(response.href).second);
    if (response.etag) Check(!response.etag->empty());
  }
  return 0;
}
