// The dialog templates as the skin bitmaps expect them: every template uses
// 9-point "宋体" (base units 6 x 12, so a dialog unit is 1.5 pixels), and the
// controls that keep their template position sit where the backgrounds draw
// their labels and frames (tools/skin/layout.py holds the same numbers).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

struct Item {
  int x, y, cx, cy;
};

struct Template {
  std::wstring font;
  int point_size = 0;
  std::map<int, Item> items;  // by control id; IDC_STATIC items are left out
};

// Reads a DIALOGEX template (DLGTEMPLATEEX followed by DLGITEMTEMPLATEEX).
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : p_(data) {}
  WORD Word() {
    WORD v;
    std::memcpy(&v, p_, 2);
    p_ += 2;
    return v;
  }
  DWORD Dword() {
    DWORD v;
    std::memcpy(&v, p_, 4);
    p_ += 4;
    return v;
  }
  std::wstring String() {
    std::wstring s;
    for (WORD c = Word(); c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
    return s;
  }
  void SzOrOrd() {
    if (Word() == 0xFFFF) {
      Word();
      return;
    }
    p_ -= 2;
    String();
  }
  void Skip(size_t bytes) { p_ += bytes; }
  void AlignDword(const BYTE* base) {
    while ((p_ - base) % 4) ++p_;
  }

 private:
  const BYTE* p_;
};

Template Load(int id) {
  Template t;
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (res == nullptr) return t;
  auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
  TemplateReader r(base);
  EXPECT_EQ(r.Word(), 1);       // dlgVer
  EXPECT_EQ(r.Word(), 0xFFFF);  // signature: an extended template
  r.Dword();                    // helpID
  r.Dword();                    // exStyle
  DWORD style = r.Dword();
  WORD count = r.Word();
  r.Skip(8);    // x, y, cx, cy
  r.SzOrOrd();  // menu
  r.SzOrOrd();  // class
  r.String();   // title
  if (style & DS_SETFONT) {
    t.point_size = r.Word();
    r.Word();   // weight
    r.Skip(2);  // italic, charset
    t.font = r.String();
  }
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword(base);
    r.Dword();  // helpID
    r.Dword();  // exStyle
    r.Dword();  // style
    Item item;
    item.x = static_cast<SHORT>(r.Word());
    item.y = static_cast<SHORT>(r.Word());
    item.cx = static_cast<SHORT>(r.Word());
    item.cy = static_cast<SHORT>(r.Word());
    int control = static_cast<int>(r.Dword());
    r.SzOrOrd();  // class
    r.SzOrOrd();  // title
    WORD extra = r.Word();
    r.Skip(extra);
    if (control != IDC_STATIC) t.items[control] = item;
  }
  return t;
}

// Pixels with 9-point SimSun (base units 6 x 12), as MapDialogRect computes them.
RECT Pixels(const Item& i) {
  return {i.x * 6 / 4, i.y * 12 / 8, (i.x + i.cx) * 6 / 4, (i.y + i.cy) * 12 / 8};
}

void ExpectAt(const Template& t, int id, RECT expected) {
  SCOPED_TRACE(id);
  ASSERT_EQ(t.items.count(id), 1u);
  RECT r = Pixels(t.items.at(id));
  EXPECT_EQ(r.left, expected.left);
  EXPECT_EQ(r.top, expected.top);
  if (expected.right) {
    EXPECT_EQ(r.right, expected.right);
  }
  if (expected.bottom) {
    EXPECT_EQ(r.bottom, expected.bottom);
  }
}

const int kAllTemplates[] = {IDD_MAIN,         IDD_ABOUT,    IDD_SETTINGS, IDD_ADD_EVENT, IDD_FIND,
                             IDD_MODIFY_EVENT, IDD_REMINDER, IDD_CONFIRM,  IDD_IMPORT,    IDD_SYNC};

TEST(TemplateLayout, EveryTemplateUsesNinePointSongTi) {
  for (int id : kAllTemplates) {
    Template t = Load(id);
    EXPECT_EQ(t.point_size, 9) << id;
    EXPECT_EQ(t.font, L"\u5b8b\u4f53") << id;  // 宋体
  }
}

TEST(TemplateLayout, MainWindowControlsFitTheSkin) {
  Template t = Load(IDD_MAIN);
  ExpectAt(t, IDC_EVENT_GRID, {13, 43, 624, 310});  // inside 641 x 481, above the lower panel
  ExpectAt(t, IDC_MAIN_VIEW_DATE, {324, 333, 417, 352});
  ExpectAt(t, IDC_MAIN_VIEW_SELECTOR, {324, 360, 444, 0});
  ExpectAt(t, IDC_MAIN_NOTE, {49, 339, 238, 382});
}

TEST(TemplateLayout, DialogControlsSitBesideTheirPaintedLabels) {
  Template about = Load(IDD_ABOUT);
  ExpectAt(about, IDC_ABOUT_VERSION, {96, 48, 246, 64});
  Template confirm = Load(IDD_CONFIRM);
  ExpectAt(confirm, IDC_CONFIRM_TEXT, {66, 52, 256, 96});
  // Right of the calendar glyph, above the progress bar (178) and the rule (203).
  Template import = Load(IDD_IMPORT);
  ExpectAt(import, IDC_IMPORT_TEXT, {72, 46, 372, 169});
  Template settings = Load(IDD_SETTINGS);
  ExpectAt(settings, IDC_SETTINGS_SOUND_FILE, {172, 169, 0, 0});
  ExpectAt(settings, IDC_SETTINGS_BROWSE, {358, 168, 0, 0});
  ExpectAt(settings, IDC_SETTINGS_MARK, {52, 217, 363, 297});
  for (int id : {IDD_ADD_EVENT, IDD_MODIFY_EVENT, IDD_REMINDER}) {
    Template t = Load(id);
    ExpectAt(t, IDOK, {109, 312, 178, 334});
    ExpectAt(t, IDCANCEL, {220, 312, 289, 334});
  }
}

TEST(TemplateLayout, BoxesAreNoLargerThanTheirBitmaps) {
  // The skin paints the texts of check boxes and option buttons; the
  // controls cover only their box bitmaps (12 x 12 and 15 x 14).
  struct Boxes {
    int dialog;
    std::vector<int> checks, radios;
  };
  const Boxes all[] = {
      {IDD_SETTINGS,
       {IDC_SETTINGS_AUTORUN, IDC_SETTINGS_TRAY, IDC_SETTINGS_PLAY_SOUND},
       {IDC_SETTINGS_TIP_POPUP, IDC_SETTINGS_TIP_FLASH, IDC_SETTINGS_BEEP, IDC_SETTINGS_SOUND_FILE_CHOICE}},
      {IDD_ADD_EVENT, {}, {IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT, IDC_EDITOR_REMIND_AFTER}},
      {IDD_MODIFY_EVENT, {}, {IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT, IDC_EDITOR_REMIND_AFTER}},
      {IDD_REMINDER, {}, {IDC_REMINDER_DONE, IDC_REMINDER_AT, IDC_REMINDER_AFTER}},
      {IDD_SYNC, {IDC_SYNC_ENABLED}, {}},
  };
  for (const Boxes& b : all) {
    Template t = Load(b.dialog);
    for (int id : b.checks) {
      RECT r = Pixels(t.items.at(id));
      EXPECT_LE(r.right - r.left, 12) << id;
      EXPECT_LE(r.bottom - r.top, 12) << id;
    }
    for (int id : b.radios) {
      RECT r = Pixels(t.items.at(id));
      EXPECT_LE(r.right - r.left, 15) << id;
      EXPECT_LE(r.bottom - r.top, 14) << id;
    }
  }
}

}  // namespace
