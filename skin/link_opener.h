#pragma once
// The one step by which a link label or the ticker opens a link. Targets come
// from the remote document, so only plain web addresses are handed on: the
// shell would start a program, a UNC path or a protocol handler just as
// readily as it opens a web page. Controls hold a LinkOpener so tests can see
// what would be opened without starting a browser.
#include <string>

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Opens a target that OpenWebLink has already accepted.
  virtual void Open(const std::string& target) = 0;
};

// Hands `target` (code page 936) to `opener` only when it is an http or https
// address; returns whether it did.
bool OpenWebLink(LinkOpener& opener, const std::string& target);

#ifdef _WIN32
// Opens targets in the user's browser through the shell, maximised, with the
// desktop as owner. The shell's answer is not examined: a dead link shows no
// message.
LinkOpener& ShellLinkOpener();
#endif
