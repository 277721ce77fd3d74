#include "framework/dialog_controls.h"

#include <commctrl.h>

#include "framework/gdi.h"
#include "framework/text_boundary.h"

void MoveDlgItem(HWND dialog, int id, int x, int y) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveDlgItem(HWND dialog, int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int FontLineHeight(HWND control) {
  WindowDC dc(control);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
  SelectGuard select(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  return GetTextMetricsW(dc.get(), &metrics) ? static_cast<int>(metrics.tmHeight) : 0;
}

int FitEditHeightToFont(HWND edit) {
  RECT window{}, client{};
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  const int height = window.bottom - window.top;
  const int line = FontLineHeight(edit);
  if (line == 0) return height;
  // The border, then a pixel of the edit's own margin above and below the line.
  const int frame = height - (client.bottom - client.top);
  const int needed = line + frame + 2;
  if (height >= needed) return height;
  POINT corner{window.left, window.top};
  ScreenToClient(GetParent(edit), &corner);
  corner.y -= (needed - height) / 2;
  SetWindowPos(edit, nullptr, corner.x, corner.y, window.right - window.left, needed,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return needed;
}

void PlaceCaretAfterRewrite(HWND edit, std::string_view typed, bool refused) {
  if (refused) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
  } else if (win::GetWindowText(edit) != typed) {
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
  }
}

void LimitToTimeValueDays(HWND date_picker) {
  SYSTEMTIME range[2] = {};
  range[0].wYear = 1970;
  range[0].wMonth = 1;
  range[0].wDay = 2;
  range[0].wDayOfWeek = 5;  // a Friday
  range[1].wYear = 2038;
  range[1].wMonth = 1;
  range[1].wDay = 18;
  range[1].wDayOfWeek = 1;  // a Monday
  // The whole last day: the picker compares its time of day too.
  range[1].wHour = 23;
  range[1].wMinute = 59;
  range[1].wSecond = 59;
  DateTime_SetRange(date_picker, GDTR_MIN | GDTR_MAX, range);
}

void LiftTextLimit(HWND edit) { SendMessageW(edit, EM_SETLIMITTEXT, 0, 0); }
