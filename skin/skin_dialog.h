#pragma once
// The skinned dialog frame: a borderless modal dialog whose whole look comes
// from one background bitmap. It sizes the window to the bitmap, cuts the
// window to the bitmap's shape (magenta pixels are outside), paints the
// background and its own close and minimise buttons off-screen, lets the
// user drag the window by a strip along the top, and turns clicks on its
// buttons into the usual system commands.
//
// A derived dialog configures it in its initialisation, in this order:
//
//   bool AboutDialog::OnInitDialog() {
//     UseWindowRegion();
//     CSkinDialog::OnInitDialog();
//     SetBackgroundBitmap(166);
//     SetCloseButtonBitmaps(137, 136, 138);
//     SetCaptionHeight(30);
//     SetDragFullWindows(1);
//     ...
//   }
#include <windows.h>

#include <functional>

#include "framework/dialog.h"
#include "framework/gdi.h"
#include "skin/skin_dialog_logic.h"

class CSkinDialog : public Dialog {
 public:
  explicit CSkinDialog(UINT template_id, HWND parent = nullptr);
  explicit CSkinDialog(const DLGTEMPLATE* in_memory_template, HWND parent = nullptr);

  // --- Configuration -------------------------------------------------------
  // Shapes the window by its background's region (instead of the colour-key
  // transparency of a layered window). Call before the base initialisation.
  void UseWindowRegion();
  // Bitmaps come from the program's resources by id. A bitmap that fails to
  // load leaves its slot empty. Each setter deletes the bitmaps it replaces.
  // The window takes the background's size (its position stays).
  void SetBackgroundBitmap(UINT bitmap_id);
  void SetCloseButtonBitmaps(UINT normal_id, UINT hover_id, UINT pressed_id);
  void SetMinimizeButtonBitmaps(UINT normal_id, UINT hover_id, UINT pressed_id);
  // The same from bitmaps made in memory; the dialog takes ownership.
  void SetBackgroundBitmap(Bitmap background);
  // The background from `load`, which the dialog calls again whenever it
  // needs the bitmap after letting it go (KeepBackgroundOnlyOnScreen).
  void SetBackgroundSource(std::function<Bitmap()> load);
  // Lets the background go while the window is off screen (hidden or
  // minimised) and loads it again when the window paints or is shaped: a
  // window that waits in the notification area for weeks keeps no 1.2 MB
  // picture nobody sees. Size and shape stay. Takes effect for a background
  // set by resource id or source.
  void KeepBackgroundOnlyOnScreen();
  void SetCloseButtonBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed);
  void SetMinimizeButtonBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed);
  // Height of the strip along the top that moves the window.
  void SetCaptionHeight(int pixels);
  // 1: show the window's contents while the user moves it.
  void SetDragFullWindows(int show_contents);
  // The window's icon (not owned), also given to the window as its small and
  // big icon; with draw_icon set it is painted in the caption at (30, 5).
  void SetFrameIcon(HICON icon, int draw_icon);
  // Where GetCloseButtonRect puts the close button: pixels inside the right
  // edge and below the top. Dialogs differ (6 and 1 unless set).
  void SetCloseButtonInsets(int right_inset, int top_inset);

  int caption_height() const { return caption_height_; }
  int drag_full_windows() const { return drag_full_windows_; }
  bool has_background() const { return background_size_.cx > 0; }
  HICON frame_icon() const { return frame_icon_; }

 protected:
  // Removes the caption and the modal frame (the system menu stays), then
  // the dialog's own initialisation (pushing the members to the controls).
  bool OnInitDialog() override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

  // --- Places of the caption elements, client coordinates ------------------
  // Recomputed before every use. The close button: SetCloseButtonInsets from
  // the frame's right edge, the size of its normal bitmap; empty at
  // (width - 20, 5) without one. The frame width is the background's width
  // (the client width without a background), so the buttons stay inside the
  // shaped window when it is maximised.
  virtual RECT GetCloseButtonRect();
  virtual RECT GetMaximizeButtonRect();  // empty: no dialog has one
  virtual RECT GetRestoreButtonRect();   // empty: no dialog has one
  virtual RECT GetMinimizeButtonRect();
  virtual RECT GetIconRect();
  virtual RECT GetTitleRect();
  virtual RECT GetSysMenuRect();  // the icon's rectangle
  // Hooks around the off-screen painting of the frame.
  virtual void OnBeforePaint(HDC offscreen);
  virtual void OnAfterPaint(HDC offscreen);

  // The frame's message handlers, for derived dialogs that handle one of
  // these messages themselves and then call the frame's part.
  LRESULT OnEraseBackground(HDC dc);
  LRESULT OnNcHitTest(WPARAM wparam, LPARAM lparam);
  LRESULT OnMouseMove(WPARAM wparam, LPARAM lparam);
  LRESULT OnLeftButtonDown(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnLeftButtonUp(WPARAM wparam, LPARAM lparam);
  LRESULT OnMouseLeave(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcLeftButtonDown(WPARAM wparam, LPARAM lparam);
  LRESULT OnSysCommand(WPARAM wparam, LPARAM lparam);
  LRESULT OnGetMinMaxInfo(WPARAM wparam, LPARAM lparam);
  LRESULT OnSize(WPARAM wparam, LPARAM lparam);

  // Centres the window over its owner when the owner is shown, else over
  // the screen's work area.
  void CenterOverOwner();

  // Cuts the window to the background's opaque pixels (or makes it
  // rectangular again when there is no background).
  void RebuildWindowRegion();

 private:
  struct ButtonBitmaps {
    Bitmap normal, hover, pressed;
  };

  void UpdateButtonRects();
  skin_frame::CaptionButtons ButtonsForHitTest();
  bool IsOverCaptionElement(POINT p);
  void DrawCaptionButtons(HDC dc, bool with_background);
  void DrawButton(HDC dc, const RECT& rect, const ButtonBitmaps& bitmaps, POINT cursor, bool left_down,
                  bool with_background);
  void RedrawCaptionButtons();
  void ShowSystemMenu();
  int FrameWidth();
  POINT CursorInClient();
  void FitWindowToBackground();
  void TakeBackground(Bitmap background);
  // The background bitmap, loaded again if it was let go; null without one.
  HBITMAP Background();
  // Lets the background go if it may and the window is off screen.
  void ReleaseBackgroundOffScreen();

  Bitmap background_;
  std::function<Bitmap()> background_source_;  // empty for a bitmap made in memory
  SIZE background_size_{};
  bool background_on_screen_only_ = false;
  int use_region_ = 0;
  int caption_height_;
  int drag_full_windows_ = 0;
  int saved_drag_full_windows_ = 0;
  ButtonBitmaps close_;
  ButtonBitmaps minimize_;
  RECT close_rect_{}, maximize_rect_{}, restore_rect_{}, minimize_rect_{}, icon_rect_{};
  HICON frame_icon_ = nullptr;
  int draw_frame_icon_ = 0;
  int drag_armed_ = 0;
  int mouse_tracked_ = 0;
  int last_over_button_ = 0;
  POINT press_point_{};
  int close_right_inset_ = 6;
  int close_top_inset_ = 1;
};
