#include "res/testing/stand_in_controls.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace res_testing {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

HFONT SongTi9() {
  // 9-point 宋体, the dialogs' font.
  return CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"\u5b8b\u4f53");
}

LRESULT CALLBACK GridStandInProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wparam, lparam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT header{0, 0, client.right, 22};
  HBRUSH grey = CreateSolidBrush(RGB(236, 236, 236));
  FillRect(dc, &header, grey);
  DeleteObject(grey);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  // Columns of 380 and 130 pixels widened to the grid, as view 0 shows them.
  int first = client.right * 380 / 510;
  for (int y = 22; y < client.bottom; y += 22) {
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, client.right, y);
  }
  MoveToEx(dc, first, 0, nullptr);
  LineTo(dc, first, client.bottom);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
  HFONT font = SongTi9();
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT title{0, 0, first, 22}, time{first, 0, client.right, 22};
  DrawTextW(dc, L"\u6807\u9898", -1, &title, DT_SINGLELINE | DT_VCENTER | DT_CENTER);  // 标题
  DrawTextW(dc, L"\u65f6\u95f4", -1, &time, DT_SINGLELINE | DT_VCENTER | DT_CENTER);   // 时间
  SelectObject(dc, old_font);
  DeleteObject(font);
  EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace

void RegisterStandInControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW existing{};
  if (GetClassInfoW(Module(), L"MFCGridCtrl", &existing)) return;
  WNDCLASSW grid{};
  grid.style = CS_DBLCLKS;
  grid.lpfnWndProc = GridStandInProc;
  grid.hInstance = Module();
  grid.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  grid.lpszClassName = L"MFCGridCtrl";
  RegisterClassW(&grid);
}

HWND CreateHidden(int template_id, DLGPROC proc, LPARAM param) {
  HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(template_id), RT_DIALOG);
  if (res == nullptr) return nullptr;
  const void* data = LockResource(LoadResource(Module(), res));
  DWORD size = SizeofResource(Module(), res);
  std::vector<DWORD> copy((size + 3) / 4);  // DWORD-aligned, as templates must be
  std::memcpy(copy.data(), data, size);
  auto* words = reinterpret_cast<WORD*>(copy.data());
  bool extended = words[0] == 1 && words[1] == 0xFFFF;
  DWORD* style = extended ? &copy[3] : &copy[0];
  *style &= ~static_cast<DWORD>(WS_VISIBLE);
  return CreateDialogIndirectParamW(Module(), reinterpret_cast<const DLGTEMPLATE*>(copy.data()), nullptr,
                                    proc, param);
}

}  // namespace res_testing
