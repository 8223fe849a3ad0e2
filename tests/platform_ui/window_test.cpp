// Timers, posted messages and pre-translation of windows, and rendering a window.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"

namespace {

struct Recorder : ui::Window {
  std::vector<std::uint32_t> timers;
  std::vector<std::uint32_t> messages;
  bool consumeKeys = false;
  void OnTimer(std::uint32_t id) override { timers.push_back(id); }
  std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
    if (msg >= ui::WM_USER) messages.push_back(msg);
    return ui::Window::WindowProc(msg, w, l);
  }
  bool PreTranslateMessage(ui::Message& m) override { return consumeKeys && m.message == ui::WM_KEYDOWN; }
};

TEST(WindowTimers, AreKeyedByWindowAndIdAndRearmingReplaces) {
  Recorder a, b;
  ASSERT_TRUE(a.Create(nullptr, 0));
  ASSERT_TRUE(b.Create(nullptr, 0));
  EXPECT_EQ(a.SetTimer(8101, 10), 8101u);
  EXPECT_EQ(b.SetTimer(8101, 500), 8101u);
  EXPECT_EQ(a.TimerPeriod(8101), 10);
  EXPECT_EQ(b.TimerPeriod(8101), 500) << "the same id on another window is another timer";

  a.SetTimer(8101, 40);
  EXPECT_EQ(a.TimerPeriod(8101), 40) << "re-arming replaces the period";

  ASSERT_TRUE(testhooks::FireTimer(a, 8101));
  EXPECT_EQ(a.timers, std::vector<std::uint32_t>{8101});
  EXPECT_TRUE(b.timers.empty());

  EXPECT_TRUE(a.KillTimer(8101));
  EXPECT_FALSE(a.KillTimer(8101));
  EXPECT_FALSE(testhooks::FireTimer(a, 8101));
  EXPECT_TRUE(b.IsTimerArmed(8101)) << "killing a's timer leaves b's";
  EXPECT_EQ(a.SetTimer(0, 10), 0u);
}

TEST(WindowTimers, ExpireThroughTheMessageLoop) {
  Recorder w;
  ASSERT_TRUE(w.Create(nullptr, 0));
  w.SetTimer(8108, 0);
  for (int i = 0; i < 50 && w.timers.empty(); ++i) ui::PumpPendingMessages();
  ASSERT_FALSE(w.timers.empty());
  EXPECT_EQ(w.timers.front(), 8108u);
  w.KillTimer(8108);
}

TEST(WindowMessages, PostedMessagesArriveInOrderAndCanBeRemoved) {
  Recorder w;
  ASSERT_TRUE(w.Create(nullptr, 0));
  w.PostMessage(ui::WM_USER + 1);
  w.PostMessage(ui::WM_USER + 2);
  w.PostMessage(ui::WM_USER + 3);
  EXPECT_TRUE(w.messages.empty()) << "posting returns before handling";
  EXPECT_EQ(ui::PendingMessageCount(), 3u);
  EXPECT_TRUE(ui::RemoveOnePendingMessage());
  testhooks::ProcessMessages();
  EXPECT_EQ(w.messages, (std::vector<std::uint32_t>{ui::WM_USER + 2, ui::WM_USER + 3}));
  EXPECT_FALSE(ui::RemoveOnePendingMessage());
}

TEST(WindowMessages, OtherThreadsMayPost) {
  Recorder w;
  ASSERT_TRUE(w.Create(nullptr, 0));
  std::thread poster([&] {
    for (std::uint32_t i = 0; i < 100; ++i) w.PostMessage(ui::WM_USER + i);
  });
  poster.join();
  testhooks::ProcessMessages();
  ASSERT_EQ(w.messages.size(), 100u);
  EXPECT_EQ(w.messages.back(), ui::WM_USER + 99);
}

TEST(WindowMessages, MessagesToADestroyedWindowAreDropped) {
  auto w = std::make_unique<Recorder>();
  ASSERT_TRUE(w->Create(nullptr, 0));
  w->PostMessage(ui::WM_USER + 9);
  w.reset();
  testhooks::ProcessMessages();  // must not reach the deleted object
  EXPECT_EQ(ui::PendingMessageCount(), 0u);
}

TEST(WindowMessages, ParentsPreTranslateKeysOfTheirChildren) {
  Recorder parent, child;
  ASSERT_TRUE(parent.Create(nullptr, 0));
  ASSERT_TRUE(child.Create(&parent, 5));
  EXPECT_EQ(parent.GetChild(5), &child);
  EXPECT_EQ(child.GetParent(), &parent);

  struct KeyLog : Recorder {
    std::vector<std::uint32_t> keys;
    void OnKeyDown(std::uint32_t vk, std::uint32_t, std::uint32_t) override { keys.push_back(vk); }
  } target;
  ASSERT_TRUE(target.Create(&parent, 6));
  testhooks::PressKey(target, ui::VK_RIGHT);
  EXPECT_EQ(target.keys, std::vector<std::uint32_t>{ui::VK_RIGHT});
  parent.consumeKeys = true;
  testhooks::PressKey(target, ui::VK_LEFT);
  EXPECT_EQ(target.keys.size(), 1u) << "a parent that consumes the key in pre-translation stops it";
}

struct Painted : ui::Window {
  void OnPaint(draw::Dc& dc) override {
    ui::Rect r = GetClientRect();
    dc.FillRect(r, draw::Brush::Solid(draw::Rgb(255, 255, 255)));
    dc.FillRect({10, 10, 30, 20}, draw::Brush::Solid(draw::Rgb(200, 0, 0)));
  }
};

TEST(WindowPainting, RendersThroughOnPaintIntoAnImage) {
  Painted w;
  ASSERT_TRUE(w.Create(nullptr, 0, {0, 0, 64, 48}));
  draw::Image img = testhooks::RenderWindow(w);
  ASSERT_EQ(img.Width(), 64);
  ASSERT_EQ(img.Height(), 48);
  EXPECT_EQ(img.GetPixel(15, 15), draw::Rgb(200, 0, 0));
  EXPECT_EQ(img.GetPixel(40, 15), draw::Rgb(255, 255, 255));

  testhooks::TempProgramFolder folder;
  std::string png = folder.Path() + "/w.png";
  ASSERT_TRUE(testhooks::RenderWindowToPng(w, png));
  draw::Image back = draw::Image::Load(png);
  EXPECT_EQ(back.GetPixel(15, 15), draw::Rgb(200, 0, 0));
}

}  // namespace

namespace {

TEST(WindowPainting, ClientDcDrawingShowsUnderOnPaint) {
  struct Half : ui::Window {
    void OnPaint(draw::Dc& dc) override { dc.FillRect({0, 0, 10, 10}, draw::Brush::Solid(draw::Rgb(0, 0, 255))); }
  } w;
  ASSERT_TRUE(w.Create(nullptr, 0, {0, 0, 40, 20}));
  {
    ui::ClientDc cdc(w);
    ASSERT_TRUE(cdc.IsValid());
    cdc.dc().FillRect({0, 0, 40, 20}, draw::Brush::Solid(draw::Rgb(0, 160, 0)));
  }
  draw::Image img = testhooks::RenderWindow(w);
  EXPECT_EQ(img.GetPixel(5, 5), draw::Rgb(0, 0, 255)) << "OnPaint draws over the surface";
  EXPECT_EQ(img.GetPixel(30, 15), draw::Rgb(0, 160, 0)) << "what the client context drew stays";

  ui::Window never;
  ui::ClientDc none(never);
  EXPECT_FALSE(none.IsValid());
  none.dc().FillRect({0, 0, 5, 5}, draw::Brush::Solid(0));  // goes nowhere, harmlessly
}

}  // namespace

namespace {

// Keys delivered the way the toolkit delivers them: pre-translated once each, then the
// window's key-down, character and key-up messages with the system's key codes.
TEST(WindowMessages, ToolkitKeysBecomeTheSystemsKeyMessages) {
  struct Top : ui::Window {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pre;
    bool PreTranslateMessage(ui::Message& m) override {
      pre.emplace_back(m.message, static_cast<std::uint32_t>(m.wParam));
      return false;
    }
  } top;
  struct Pane : ui::Window {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> got;
    std::intptr_t WindowProc(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
      if (msg >= ui::WM_KEYDOWN && msg <= ui::WM_SYSCHAR) got.emplace_back(msg, static_cast<std::uint32_t>(w));
      return ui::Window::WindowProc(msg, w, l);
    }
  } pane;
  ASSERT_TRUE(top.Create(nullptr, 0, {0, 0, 100, 100}));
  ASSERT_TRUE(pane.Create(&top, 1, {0, 0, 50, 50}));

  testhooks::SendToolkitKey(pane, ui::VK_NUMPAD0 + 3);
  testhooks::SendToolkitKey(pane, '3');
  testhooks::SendToolkitKey(pane, ui::VK_RIGHT);
  using P = std::pair<std::uint32_t, std::uint32_t>;
  const std::vector<P> expected = {
      {ui::WM_KEYDOWN, ui::VK_NUMPAD0 + 3}, {ui::WM_CHAR, '3'}, {ui::WM_KEYUP, ui::VK_NUMPAD0 + 3},
      {ui::WM_KEYDOWN, '3'}, {ui::WM_CHAR, '3'}, {ui::WM_KEYUP, '3'},
      {ui::WM_KEYDOWN, ui::VK_RIGHT}, {ui::WM_KEYUP, ui::VK_RIGHT}};
  EXPECT_EQ(pane.got, expected);
  EXPECT_EQ(top.pre, expected) << "each message is offered to the parent once";

  top.pre.clear();
  pane.got.clear();
  testhooks::SendToolkitKey(pane, 'T', false, true);
  EXPECT_EQ(top.pre, (std::vector<P>{{ui::WM_SYSKEYDOWN, 'T'}, {ui::WM_SYSCHAR, 't'}, {ui::WM_SYSKEYUP, 'T'}}));
}

}  // namespace
