#include <windows.h>

#include "base/web_link.h"
#include "framework/shell.h"
#include "skin/link_opener.h"

namespace {

class ShellOpener final : public LinkOpener {
 public:
  void Open(const std::string& target) override {
    // Checked again here so that no caller can reach the shell with anything
    // but a web address.
    if (!IsSafeWebLink(target)) return;
    OpenWithShell(GetDesktopWindow(), target, SW_SHOWMAXIMIZED);
  }
};

}  // namespace

LinkOpener& ShellLinkOpener() {
  static ShellOpener opener;  // stateless
  return opener;
}
