// The remote configuration document as any bytes: parse it as the fetch
// does, walk it, and run every display rule on what it announced: the
// ticker items, the version notice, the advertisement pool, and the link
// policy on every link target.
#include <tinyxml.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/web_link.h"
#include "update/ad_pool.h"
#include "update/http_xml_document.h"
#include "update/link_item.h"
#include "update/remote_document.h"
#include "update/untrusted_xml.h"
#include "update/version_notice.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > HttpXmlDocument::kBufferSize - 1) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TiXmlDocument document;
  if (!ParseUntrustedXml(document, bytes)) return 0;
  RemoteValues values;
  if (!WalkRemoteDocument(document, values)) return 0;

  for (const LinkItem& item : SplitScrollItems(values.strScrollText)) {
    Check(item.bLink || item.strUrl.empty());
    IsSafeWebLink(item.strUrl);
  }
  VersionNotice notice = MakeVersionNotice(values.nVersion);
  Check(notice.bDownloadLink == (values.nVersion > kProgramVersionTimes100));
  Check(!notice.strText.empty());
  IsSafeWebLink(values.strDownUrl);
  AdPool ads;
  if (!values.strTextAd.empty()) ads.SetAds(values.strTextAd);
  Check(ads.ads().size() <= 100);
  Ad pick = ads.PickAd();
  IsSafeWebLink(pick.strUrl);
  return 0;
}
