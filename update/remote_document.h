#pragma once
// The walk of the remote configuration document: an XML declaration, one
// root element of any name, and under it a flat list of child elements whose
// text content carries the values.
#include <string>

class TiXmlDocument;

// The values the document announces, as code page 936 text (the document is
// expected in that encoding and is used byte for byte).
struct RemoteValues {
  std::string strScrollText;  // "scrolltext": the ticker items
  int nVersion = 0;           // "version": the latest version times 100
  std::string strDownUrl;     // "downurl": where the download link points
  std::string strTextAd;      // "textad": the advertisement list
};

// Walks the children of the document's first top-level element, in document
// order, and stores the value (the value of the element's first child node)
// of each "scrolltext", "version", "downurl" and "textad" ("adurl" is
// accepted without effect). Names compare exactly; the last occurrence of a
// name wins; an element without content leaves its field as it was;
// "version" is read in the manner of atoi. False, with nothing stored, when
// the document has no top-level element.
bool WalkRemoteDocument(const TiXmlDocument& document, RemoteValues& values);
