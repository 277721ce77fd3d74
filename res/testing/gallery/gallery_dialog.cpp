#include "res/testing/gallery/gallery_dialog.h"

#include "framework/text_boundary.h"

namespace gallery {
namespace {

// Posted after the initialisation: by the time it arrives the window is
// shown, and the screenshot lets it paint before copying it.
constexpr UINT kPhotograph = WM_APP + 1;

}  // namespace

GalleryDialog::GalleryDialog(UINT template_id, Setup setup)
    : CSkinDialog(template_id), setup_(std::move(setup)) {}

screen_capture::Screenshot GalleryDialog::Photograph() {
  DoModal();
  return shot_;
}

bool GalleryDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  SetCaptionHeight(30);
  SetDragFullWindows(1);
  setup_(*this);
  // Shown now, also a template without WS_VISIBLE (the reminder popup).
  SetWindowPos(hwnd(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  PostMessageW(hwnd(), kPhotograph, 0, 0);
  return true;
}

bool GalleryDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message == kPhotograph) {
    shot_ = screen_capture::CaptureWindow(hwnd());
    EndDialog(IDOK);
    *result = 0;
    return true;
  }
  return CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void GalleryDialog::Frame(UINT background, int close_right_inset, bool minimize_button) {
  SetBackgroundBitmap(background);
  SetCloseButtonInsets(close_right_inset, 1);
  SetCloseButtonBitmaps(137, 136, 138);
  if (minimize_button) SetMinimizeButtonBitmaps(140, 139, 141);
}

void GalleryDialog::Button(int id, UINT normal, UINT hover, UINT pressed, UINT disabled, int x, int y,
                           bool show_text) {
  auto button = std::make_unique<CSkinButton>();
  button->SubclassDlgItem(hwnd(), id);
  button->SetBitmaps(normal, hover, pressed, disabled);
  button->SetShowText(show_text ? 1 : 0);
  if (x >= 0) SetWindowPos(button->hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.push_back(std::move(button));
}

void GalleryDialog::Radio(int id, int x, int y, bool checked, const COLORREF* background) {
  auto radio = std::make_unique<CSkinRadioButton>();
  radio->SubclassDlgItem(hwnd(), id);
  radio->SetBoxBitmaps(162, 163);
  if (background) radio->SetBkColor(*background);
  radio->SetCheck(checked ? 1 : 0);
  SetWindowPos(radio->hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.push_back(std::move(radio));
}

void GalleryDialog::Check(int id, int x, int y, bool checked, COLORREF background) {
  auto check = std::make_unique<CSkinCheckBox>();
  check->SubclassDlgItem(hwnd(), id);
  check->SetBoxBitmaps(169, 168);
  check->SetBkColor(background);
  check->SetCheck(checked ? 1 : 0);
  SetWindowPos(check->hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.push_back(std::move(check));
}

void GalleryDialog::Label(int id, COLORREF background, COLORREF text_colour, const std::wstring& text,
                          int direction_word) {
  if (!text.empty()) SetDlgItemTextW(hwnd(), id, text.c_str());
  ShowWindow(GetDlgItem(hwnd(), id), SW_SHOWNA);
  auto label = std::make_unique<CColorLabel>();
  label->SubclassDlgItem(hwnd(), id);
  label->SetBackground(background, background, direction_word, 0);
  label->SetLabelTextColor(text_colour);
  controls_.push_back(std::move(label));
}

void GalleryDialog::Move(int id, int x, int y, int width, int height) {
  HWND control = GetDlgItem(hwnd(), id);
  RECT r;
  GetWindowRect(control, &r);
  if (width < 0) width = r.right - r.left;
  if (height < 0) height = r.bottom - r.top;
  SetWindowPos(control, nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (x < 0 ? SWP_NOMOVE : 0));
}

void GalleryDialog::Text(int id, const std::wstring& text) { SetDlgItemTextW(hwnd(), id, text.c_str()); }

void GalleryDialog::Link(const RECT& rect, const std::wstring& text) {
  auto link = std::make_unique<CLinkLabel>();
  link->Create(hwnd(), rect);
  link->SetTransparent();
  link->SetLinkText(win::Narrow(text));
  link->SetLinkTarget("http://127.0.0.1/");
  controls_.push_back(std::move(link));
}

void GalleryDialog::Ticker(const RECT& rect, const std::wstring& text) {
  auto ticker = std::make_unique<CScrollText>();
  ticker->Create(hwnd(), rect);
  ticker->SetBackgroundColors(RGB(38, 38, 38), RGB(38, 38, 38), 0);
  ticker->SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255));
  ticker->SetScrollPeriod(1);  // the text is well inside the ticker when the picture is taken
  ticker->AddItem(win::Narrow(text));
  ticker->StartScrolling();
  controls_.push_back(std::move(ticker));
}

void GalleryDialog::ComboItems(int id, const std::vector<std::wstring>& items) {
  HWND combo = GetDlgItem(hwnd(), id);
  for (const std::wstring& item : items)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

}  // namespace gallery
