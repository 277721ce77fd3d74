#include "skin/scroll_text.h"

#include <gtest/gtest.h>

#include "skin/testing/recording_opener.h"
#include "skin/testing/skin_test_host.h"

namespace {

// The ticker is driven by sending its timer messages; the real timers get a
// period long enough never to fire during a test.
constexpr int kNeverMs = 1000000;
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kNextItemTimer = 2;

struct TickerFixture {
  TickerFixture() {
    EXPECT_TRUE(ticker.Create(host.hwnd(), RECT{6, 200, 306, 222}));
    ticker.SetScrollPeriod(kNeverMs);
    ticker.SetBackgroundColors(RGB(38, 38, 38), RGB(38, 38, 38), 0);
    ticker.SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255));
    ticker.SetLinkOpener(opener);
  }

  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageW(ticker.hwnd(), WM_TIMER, kStepTimer, 0);
  }
  // Steps until another item shows, as the timers would; returns its index.
  std::size_t RunToNextItem() {
    const std::size_t before = ticker.model().current_index();
    for (int i = 0; i < 5000 && ticker.model().current_index() == before; ++i) Tick();
    EXPECT_TRUE(KillTimer(ticker.hwnd(), kNextItemTimer));  // the hand-over was under way
    SendMessageW(ticker.hwnd(), WM_TIMER, kNextItemTimer, 0);
    return ticker.model().current_index();
  }
  void PutCursor(int x, int y) {
    POINT screen{x, y};
    ClientToScreen(ticker.hwnd(), &screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
  }
  int Left() const { return ticker.model().current()->rect.left; }

  TestHost host;
  CScrollText ticker;
  RecordingOpener opener;
};

TEST(ScrollText, EmptyTickerNeverStarts) {
  TickerFixture f;
  f.ticker.StartScrolling();
  EXPECT_EQ(f.ticker.model().current(), nullptr);
  EXPECT_FALSE(KillTimer(f.ticker.hwnd(), kStepTimer));  // no timer was set
  f.Tick(3);
  EXPECT_EQ(f.ticker.model().current(), nullptr);
  Click(f.ticker.hwnd(), 100, 10);
  EXPECT_TRUE(f.opener.opened.empty());
}

TEST(ScrollText, StartsAtTheRightEdgeAndMovesOnePixelPerTick) {
  TickerFixture f;
  f.ticker.AddItem("\xBB\xB6\xD3\xAD");  // 欢迎
  f.ticker.StartScrolling();
  ASSERT_NE(f.ticker.model().current(), nullptr);
  const skin::PixelRect start = f.ticker.model().current()->rect;
  EXPECT_EQ(start.left, 300);
  EXPECT_EQ(start.top, 0);
  EXPECT_EQ(start.bottom, 22);
  EXPECT_GT(start.width(), 0);
  f.Tick();
  EXPECT_EQ(f.Left(), 299);
  f.Tick(99);
  EXPECT_EQ(f.Left(), 200);
  EXPECT_EQ(f.ticker.model().current()->rect.width(), start.width());
  EXPECT_TRUE(KillTimer(f.ticker.hwnd(), kStepTimer));  // StartScrolling set it
}

TEST(ScrollText, ShowsEveryItemInTurnAlsoWithDuplicateTexts) {
  TickerFixture f;
  f.ticker.AddItem("Tallyo");
  f.ticker.AddLinkItem("Forum", "http://www.example.com/bbs/");
  f.ticker.AddItem("TALLYO");
  f.ticker.AddItem("Last");
  f.ticker.StartScrolling();
  std::vector<std::size_t> shown{f.ticker.model().current_index()};
  for (int i = 0; i < 5; ++i) shown.push_back(f.RunToNextItem());
  EXPECT_EQ(shown, (std::vector<std::size_t>{0, 1, 2, 3, 0, 1}));
  // After the hand-over the step timer runs again.
  EXPECT_TRUE(KillTimer(f.ticker.hwnd(), kStepTimer));
}

TEST(ScrollText, LinkWaitsUnderTheMouse) {
  TickerFixture f;
  f.ticker.AddLinkItem("Forum", "http://www.example.com/bbs/");
  f.ticker.StartScrolling();
  f.Tick(150);
  const int rest = f.Left();
  ASSERT_EQ(rest, 150);
  f.PutCursor(rest + 2, 10);
  f.Tick(20);
  EXPECT_EQ(f.Left(), rest);
  EXPECT_TRUE(SendMessageW(f.ticker.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.ticker.hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

  // The mouse goes away: the link moves on from where it stopped.
  f.PutCursor(-3, 10);
  f.Tick(5);
  EXPECT_EQ(f.Left(), rest - 5);
}

TEST(ScrollText, PlainItemNeverWaitsNorShowsTheHand) {
  TickerFixture f;
  f.ticker.AddItem("Plain news");
  f.ticker.StartScrolling();
  f.Tick(150);
  f.PutCursor(f.Left() + 2, 10);
  f.Tick(20);
  EXPECT_EQ(f.Left(), 130);
  SendMessageW(f.ticker.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.ticker.hwnd()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST(ScrollText, ClickOpensOnlyALinkItemUnderTheClick) {
  TickerFixture f;
  f.ticker.AddLinkItem("Forum", "http://www.example.com/bbs/");
  f.ticker.AddItem("Plain");
  f.ticker.AddLinkItem("Bad", "C:\\Windows\\System32\\cmd.exe");
  f.ticker.StartScrolling();
  f.Tick(150);
  f.PutCursor(-3, 10);                       // keep the real mouse off the ticker
  Click(f.ticker.hwnd(), f.Left() - 1, 10);  // beside the text
  EXPECT_TRUE(f.opener.opened.empty());
  Click(f.ticker.hwnd(), f.Left() + 1, 10);
  EXPECT_EQ(f.opener.opened, (std::vector<std::string>{"http://www.example.com/bbs/"}));

  f.RunToNextItem();  // the plain item
  f.Tick(150);
  Click(f.ticker.hwnd(), f.Left() + 1, 10);
  f.RunToNextItem();  // the link to a program
  f.Tick(150);
  Click(f.ticker.hwnd(), f.Left() + 1, 10);
  EXPECT_EQ(f.opener.opened.size(), 1u);
}

TEST(ScrollText, PaintsItsBackgroundAndText) {
  TickerFixture f;
  f.ticker.AddItem("Text");
  f.ticker.StartScrolling();
  f.Tick(150);
  Canvas canvas(300, 22);
  SendMessageW(f.ticker.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(38, 38, 38));
  EXPECT_EQ(canvas.Pixel(299, 21), RGB(38, 38, 38));
  RECT text{};
  EXPECT_GT(canvas.Count(RGB(255, 255, 255), &text), 0);
  EXPECT_GE(text.left, 150);
}

}  // namespace
