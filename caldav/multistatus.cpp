#include "caldav/multistatus.h"

#include <cctype>
#include <set>

#include "caldav/url.h"
#include "caldav/xml_tree.h"

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string Key(std::string_view ns, std::string_view name) {
  std::string key;
  key.reserve(ns.size() + name.size() + 2);
  key.append(1, '{').append(ns).append(1, '}').append(name);
  return key;
}

bool IsSuccess(int status) { return status >= 200 && status < 300; }

// The canonical absolute URL of an href, or "" when it is empty or unusable.
std::string ResolveHref(const std::optional<Url>& base, std::string_view href) {
  href = Trim(href);
  if (href.empty() || !base) return "";
  std::optional<Url> url = ResolveUrl(*base, href);
  return url ? CanonicalUrl(*url) : "";
}

std::string FirstHref(const XmlElement& property, const std::optional<Url>& base) {
  const XmlElement* href = property.Child(kDavNs, "href");
  return href ? ResolveHref(base, href->text) : "";
}

void ReadProperty(const XmlElement& property, const std::optional<Url>& base, DavResponse& response) {
  if (property.Is(kDavNs, "getetag")) {
    std::string etag = NormaliseEtag(property.text);
    if (!etag.empty()) response.etag = etag;
  } else if (property.Is(kCalDavNs, "calendar-data")) {
    response.calendar_data = property.text;
  } else if (property.Is(kDavNs, "displayname")) {
    response.displayname = std::string(Trim(property.text));
  } else if (property.Is(kCalendarServerNs, "getctag")) {
    response.ctag = std::string(Trim(property.text));
  } else if (property.Is(kDavNs, "sync-token")) {
    response.sync_token = std::string(Trim(property.text));
  } else if (property.Is(kDavNs, "resourcetype")) {
    response.is_collection = property.Child(kDavNs, "collection") != nullptr;
    response.is_calendar = property.Child(kCalDavNs, "calendar") != nullptr;
  } else if (property.Is(kCalDavNs, "supported-calendar-component-set")) {
    std::vector<std::string> components;
    for (const XmlElement& comp : property.children) {
      if (!comp.Is(kCalDavNs, "comp")) continue;
      std::string name(Trim(comp.Attribute("name")));
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (!name.empty()) components.push_back(name);
    }
    response.components = components;
  } else if (property.Is(kDavNs, "supported-report-set")) {
    std::vector<std::string> reports;
    for (const XmlElement& supported : property.children) {
      const XmlElement* report =
          supported.Is(kDavNs, "supported-report") ? supported.Child(kDavNs, "report") : nullptr;
      if (!report) continue;
      for (const XmlElement& name : report->children) reports.push_back(Key(name.ns, name.name));
    }
    response.supported_reports = reports;
  } else if (property.Is(kDavNs, "current-user-principal")) {
    std::string href = FirstHref(property, base);
    if (!href.empty()) response.current_user_principal = href;
  } else if (property.Is(kCalDavNs, "calendar-home-set")) {
    for (const XmlElement& href : property.children) {
      if (!href.Is(kDavNs, "href")) continue;
      std::string url = ResolveHref(base, href.text);
      if (!url.empty()) response.calendar_home_set.push_back(url);
    }
  }
}

void ReadResponse(const XmlElement& element, const std::optional<Url>& base, DavResponse& response) {
  if (const XmlElement* status = element.Child(kDavNs, "status"))
    response.status = ParseStatusLine(status->text);
  for (const XmlElement& propstat : element.children) {
    if (!propstat.Is(kDavNs, "propstat")) continue;
    const XmlElement* status = propstat.Child(kDavNs, "status");
    // A propstat without a readable status is taken as found: its properties are there.
    int code = status ? ParseStatusLine(status->text) : 200;
    if (code == 0) code = 200;
    const XmlElement* prop = propstat.Child(kDavNs, "prop");
    if (!prop) continue;
    for (const XmlElement& property : prop->children) {
      std::string key = Key(property.ns, property.name);
      if (response.property_status.count(key)) continue;  // the first mention counts
      response.property_status[key] = code;
      if (IsSuccess(code)) ReadProperty(property, base, response);
    }
  }
}

}  // namespace

bool DavResponse::Has(std::string_view ns, std::string_view name) const {
  auto it = property_status.find(Key(ns, name));
  return it != property_status.end() && IsSuccess(it->second);
}

bool DavResponse::SupportsReport(std::string_view ns, std::string_view name) const {
  if (!supported_reports) return false;
  std::string key = Key(ns, name);
  for (const std::string& report : *supported_reports) {
    if (report == key) return true;
  }
  return false;
}

int ParseStatusLine(std::string_view line) {
  line = Trim(line);
  std::size_t space = line.find(' ');
  if (line.substr(0, 5) != "HTTP/" || space == std::string_view::npos) return 0;
  std::string_view code = line.substr(space + 1, 3);
  if (code.size() != 3) return 0;
  int value = 0;
  for (char c : code) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    value = value * 10 + (c - '0');
  }
  if (line.size() > space + 4 && line[space + 4] != ' ') return 0;
  return value >= 100 && value <= 599 ? value : 0;
}

std::string NormaliseEtag(std::string_view etag) {
  etag = Trim(etag);
  if (etag.empty()) return "";
  if (etag.front() == '"' || etag.substr(0, 3) == "W/\"") return std::string(etag);
  std::string quoted;
  quoted.reserve(etag.size() + 2);
  quoted.append(1, '"').append(etag).append(1, '"');
  return quoted;
}

bool IsStrongEtag(std::string_view etag) {
  etag = Trim(etag);
  return etag.size() >= 2 && etag.front() == '"' && etag.back() == '"';
}

bool ReadMultistatus(std::string_view body, const MultistatusOptions& options, Multistatus& out,
                     std::string& error) {
  out = Multistatus();
  std::optional<XmlElement> root = ReadXml(body, &error);
  if (!root) {
    error = "the server's multistatus answer is not readable XML: " + error;
    return false;
  }
  if (!root->Is(kDavNs, "multistatus")) {
    error =
        "the server answered with <" + root->name.substr(0, 100) + "> where a DAV:multistatus was expected";
    return false;
  }
  std::optional<Url> base = ParseUrl(options.request_url);
  std::string request_url = base ? CanonicalUrl(*base) : "";
  std::string request_collection = WithTrailingSlash(request_url);
  std::set<std::string> seen;
  for (const XmlElement& element : root->children) {
    if (element.Is(kDavNs, "sync-token")) {
      out.sync_token = std::string(Trim(element.text));
      continue;
    }
    if (!element.Is(kDavNs, "response")) continue;
    // A response may name several resources that share its status (RFC 4918 14.24).
    for (const XmlElement& href_element : element.children) {
      if (!href_element.Is(kDavNs, "href")) continue;
      DavResponse response;
      response.href = ResolveHref(base, href_element.text);
      if (response.href.empty()) continue;
      std::optional<Url> href_url = ParseUrl(response.href);
      if (!href_url || !base || !SameOrigin(*href_url, *base)) continue;
      ReadResponse(element, base, response);
      bool is_request_url = WithTrailingSlash(response.href) == request_collection;
      if (is_request_url && response.status == 507) {
        out.truncated = true;
        continue;
      }
      if (is_request_url && options.skip_request_url) continue;
      // A resource mentioned twice: the first mention counts.
      if (!seen.insert(response.href).second) continue;
      out.responses.push_back(std::move(response));
    }
  }
  return true;
}
