#include "update/remote_document.h"

#include <tinyxml.h>

#include <cstring>

#include "base/atoi_clamped.h"

bool WalkRemoteDocument(const TiXmlDocument& document, RemoteValues& values) {
  const TiXmlElement* root = document.FirstChildElement();
  if (root == nullptr) return false;
  for (const TiXmlElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    const char* name = child->Value();
    const TiXmlNode* content = child->FirstChild();
    // Compared in this order; the table of names is the document's contract.
    if (std::strcmp(name, "scrolltext") == 0) {
      if (content) values.strScrollText = content->Value();
    } else if (std::strcmp(name, "adurl") == 0) {
      // Announced by the document but not used.
    } else if (std::strcmp(name, "version") == 0) {
      if (content) values.nVersion = AtoiClamped(content->Value());
    } else if (std::strcmp(name, "downurl") == 0) {
      if (content) values.strDownUrl = content->Value();
    } else if (std::strcmp(name, "textad") == 0) {
      if (content) values.strTextAd = content->Value();
    }
  }
  return true;
}
