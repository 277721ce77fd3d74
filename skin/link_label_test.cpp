#include "skin/link_label.h"

#include <gtest/gtest.h>

#include "skin/testing/recording_opener.h"
#include "skin/testing/skin_test_host.h"

namespace {

const char kDownloadText[] = "\xB5\xE3\xBB\xF7\xCF\xC2\xD4\xD8";  // 点击下载
const char kTarget[] = "http://www.example.com/download/tallyo.zip";

struct LabelFixture {
  explicit LabelFixture(const char* target = kTarget) {
    EXPECT_TRUE(label.Create(host.hwnd(), RECT{150, 205, 350, 222}));
    label.SetTransparent();
    label.SetLinkText(kDownloadText);
    label.SetLinkTarget(target);
    label.SetLinkOpener(opener);
    text = label.TextRect();
  }
  TestHost host;
  CLinkLabel label;
  RecordingOpener opener;
  RECT text{};
};

TEST(LinkLabel, IsAChildWithoutAnId) {
  LabelFixture f;
  EXPECT_EQ(GetParent(f.label.hwnd()), f.host.hwnd());
  EXPECT_EQ(GetWindowLongPtrW(f.label.hwnd(), GWLP_ID), static_cast<LONG_PTR>(static_cast<UINT>(-1)));
  RECT client{};
  GetClientRect(f.label.hwnd(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 17);
}

TEST(LinkLabel, TextRectangleIsCentred) {
  LabelFixture f;
  ASSERT_GT(f.text.right - f.text.left, 0);
  EXPECT_LE(std::abs((f.text.left - 0) - (200 - f.text.right)), 1);
  EXPECT_LE(std::abs((f.text.top - 0) - (17 - f.text.bottom)), 1);
}

TEST(LinkLabel, OpensOnlyInsideItsTextRectangle) {
  LabelFixture f;
  const int middle_y = (f.text.top + f.text.bottom) / 2;
  Click(f.label.hwnd(), f.text.left, middle_y);
  EXPECT_EQ(f.opener.opened, (std::vector<std::string>{kTarget}));
  Click(f.label.hwnd(), f.text.right - 1, f.text.bottom - 1);
  EXPECT_EQ(f.opener.opened.size(), 2u);

  // Inside the window but beside the text: nothing.
  Click(f.label.hwnd(), f.text.left - 1, middle_y);
  Click(f.label.hwnd(), f.text.right, middle_y);
  Click(f.label.hwnd(), 1, 1);
  EXPECT_EQ(f.opener.opened.size(), 2u);
}

TEST(LinkLabel, NeverOpensATargetThatIsNoWebAddress) {
  for (const char* target : {"C:\\Windows\\notepad.exe", "file:///C:/boot.ini", "\\\\evil\\share\\run.exe",
                             "", "javascript:alert(1)"}) {
    LabelFixture f(target);
    Click(f.label.hwnd(), (f.text.left + f.text.right) / 2, (f.text.top + f.text.bottom) / 2);
    EXPECT_TRUE(f.opener.opened.empty()) << target;
  }
}

TEST(LinkLabel, ShowsTheHandOnlyOverItsText) {
  LabelFixture f;
  POINT on_text{(f.text.left + f.text.right) / 2, (f.text.top + f.text.bottom) / 2};
  ClientToScreen(f.label.hwnd(), &on_text);
  ASSERT_TRUE(SetCursorPos(on_text.x, on_text.y));
  EXPECT_TRUE(SendMessageW(f.label.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.label.hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

  POINT beside{1, 1};
  ClientToScreen(f.label.hwnd(), &beside);
  ASSERT_TRUE(SetCursorPos(beside.x, beside.y));
  SendMessageW(f.label.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.label.hwnd()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST(LinkLabel, PaintsTheParentUnderItselfWhenTransparent) {
  LabelFixture f;
  // The label straddles the host's two background halves at x = 200 (label x 50).
  Canvas canvas(200, 17);
  SendMessageW(f.label.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
  EXPECT_EQ(canvas.Pixel(0, 0), TestHost::kLeftColor);
  EXPECT_EQ(canvas.Pixel(49, 0), TestHost::kLeftColor);
  EXPECT_EQ(canvas.Pixel(50, 0), TestHost::kRightColor);
  EXPECT_EQ(canvas.Pixel(199, 16), TestHost::kRightColor);
}

}  // namespace
