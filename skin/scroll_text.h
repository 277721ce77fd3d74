#pragma once
// CScrollText: a one-line ticker. Items, plain texts or texts with a web
// address, move from the right edge to the left one after another, one pixel
// per timer tick, and the list repeats endlessly. A link item rests while the
// mouse is on it and opens its address when clicked.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "framework/gdi.h"
#include "framework/window.h"
#include "skin/link_opener.h"
#include "skin/scroll_text_logic.h"

class CScrollText : public Window {
 public:
  CScrollText();
  ~CScrollText() override;

  // Creates the ticker as a visible child of `parent` covering `rect`.
  bool Create(HWND parent, const RECT& rect);

  // Time per one-pixel step.
  void SetScrollPeriod(int milliseconds) { period_ms_ = milliseconds > 0 ? milliseconds : 1; }
  // Background gradient from a to b; left to right for direction word
  // 0x1000000, top to bottom otherwise.
  void SetBackgroundColors(COLORREF a, COLORREF b, int direction_word);
  void SetTextColors(COLORREF normal, COLORREF hover);

  // Texts and addresses in code page 936.
  void AddItem(std::string text) { model_.AddItem(std::move(text)); }
  void AddLinkItem(std::string text, std::string target) {
    model_.AddLinkItem(std::move(text), std::move(target));
  }

  // Starts with the first item; an empty ticker never starts. Started while
  // paused, it shows the first item and moves once resumed.
  void StartScrolling();

  // While its window is off screen the ticker stands still: no timer runs
  // for steps nobody would see. Resuming goes on from where it stopped, the
  // same item at the same place. Both may be called any number of times.
  void PauseScrolling();
  void ResumeScrolling();
  // Pauses or resumes by whether the top-level window the ticker lies in is
  // on screen (shown, not minimised). Its owner calls it whenever that
  // window is shown, hidden, minimised or restored, and once at creation.
  void FollowTopLevelWindow();
  // A step timer runs: started, not paused.
  bool moving() const { return started_ && !paused_; }

  // Where clicks go (the shell by default); tests pass a recorder.
  void SetLinkOpener(LinkOpener& opener) { opener_ = &opener; }

  const skin::ScrollTextModel& model() const { return model_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Step();
  void Paint(HDC dc);
  skin::PixelRect ClientRect() const;
  // The mouse position in client coordinates while the mouse is over the ticker.
  std::optional<skin::PixelPoint> CursorOverTicker() const;
  int MeasureText(std::string_view text) const;

  skin::ScrollTextModel model_;
  bool started_ = false;
  bool paused_ = false;
  int period_ms_ = 50;
  COLORREF background_a_ = RGB(255, 255, 255);
  COLORREF background_b_ = RGB(0, 0, 255);
  int direction_word_ = 0x10000000;
  COLORREF text_color_ = RGB(0, 0, 0);
  COLORREF hover_color_ = RGB(0, 0, 255);
  Font font_;
  LinkOpener* opener_;
};
