// An HTTP response as any bytes, through the same judging and parsing that
// LoadHttpXml applies after receiving, then the walk of the remote
// configuration. Checks that the verdict agrees with the three tests.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/http_response.h"
#include "update/http_xml_document.h"
#include "update/remote_document.h"
#include "update/untrusted_xml.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The receive buffer holds at most this much before its terminating zero.
  if (size > HttpXmlDocument::kBufferSize - 1) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // One document for every input, as one serves every retry of a check.
  static HttpXmlDocument* document = [] {
    auto* d = new HttpXmlDocument;
    d->SetDiagnosticSink([](std::string_view) {});
    return d;
  }();
  bool accepted = document->InterpretResponse(bytes.c_str(), size > 0 && (data[0] & 1));
  HttpResponseCheck check = CheckHttpResponse(bytes.c_str());
  bool expected = check.has_xml() && check.declared_length != 0 && check.length_agrees() &&
                  CountXmlElementStarts(bytes.c_str() + check.xml_offset) <= kMaxXmlElementStarts;
  Check(accepted == expected);
  Check(accepted == document->bComplete);
  RemoteValues values;
  WalkRemoteDocument(*document, values);
  return 0;
}
