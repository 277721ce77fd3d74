#pragma once
// CLinkLabel: one underlined text that turns the cursor into a hand over it,
// changes colour under the mouse and opens its target when clicked. Only web
// addresses (http, https) are opened; anything else is shown but inert.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/gdi.h"
#include "framework/window.h"
#include "skin/link_opener.h"

class CLinkLabel : public Window {
 public:
  CLinkLabel();
  ~CLinkLabel() override;

  // Creates the label as a visible child of `parent` covering `rect` (parent
  // client coordinates). Then call SetTransparent, SetLinkText, SetLinkTarget.
  bool Create(HWND parent, const RECT& rect);

  // The background becomes the parent's own image under the label (every
  // caller sets it); otherwise it is white.
  void SetTransparent();
  void SetLinkText(std::string_view text);
  void SetLinkTarget(std::string_view target);

  // Where clicks go (the shell by default); tests pass a recorder.
  void SetLinkOpener(LinkOpener& opener) { opener_ = &opener; }

  // The text's extent centred in the client area; only this part is a link.
  RECT TextRect() const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);
  bool CursorOnText() const;

  std::string text_;
  std::string target_;
  bool transparent_ = false;
  Font font_;
  LinkOpener* opener_;
};
