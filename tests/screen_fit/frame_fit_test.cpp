// The main window on the screens of ordinary laptops and desktops, in both languages: its
// smallest size fits the screen, it opens inside it, and every bar and workspace tab lies
// inside the window where the user can reach it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "app_shell/app_fixture.h"
#include "app/frame/lyr_frame_bar.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/window.h"

namespace {

struct Screen {
  int width;
  int height;
};

bool Inside(const ui::Rect& inner, const ui::Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::string Show(const ui::Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

class FrameFit : public AppTest, public ::testing::WithParamInterface<std::tuple<bool, Screen>> {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (std::get<0>(GetParam())) {
      setenv("LANG", "ja_JP.UTF-8", 1);
      sys::ResetThreadLocaleForTesting();
    }
    const Screen s = std::get<1>(GetParam());
    testhooks::SetVirtualScreen(s.width, s.height, s.width * 254 / 960, s.height * 254 / 960);
  }
  void TearDown() override {
    testhooks::SetVirtualScreen(0, 0, 0, 0);
    AppTest::TearDown();
  }
};

TEST_P(FrameFit, TheWindowAndEveryBarAndTabFitTheScreen) {
  const Screen s = std::get<1>(GetParam());
  ASSERT_TRUE(Start());
  CMainFrame& frame = Frame();
  testhooks::ProcessMessages();

  // Title bar and borders take about 32 pixels of the height.
  const ui::Size least = testhooks::MinimumWindowSize(frame);
  EXPECT_LE(least.cx, s.width) << "narrowest frame";
  EXPECT_LE(least.cy, s.height - 32) << "lowest frame";

  const ui::Rect screen{0, 0, s.width, s.height};
  const ui::Rect window = frame.GetWindowRect();
  EXPECT_TRUE(Inside(window, screen)) << "frame at " << Show(window);

  const ui::Rect client{0, 0, window.Width(), window.Height()};
  for (ui::ControlBar* bar : {frame.StandardBar, static_cast<ui::ControlBar*>(frame.EpochBar), frame.ParameterBar}) {
    ASSERT_NE(bar, nullptr);
    if (!bar->IsWindowVisible()) continue;
    const ui::Rect r = testhooks::RectInWindow(*bar, frame);
    EXPECT_TRUE(Inside(r, client)) << bar->GetWindowText() << " at " << Show(r) << " in " << Show(client);
    EXPECT_FALSE(r.IsEmpty()) << bar->GetWindowText();
    for (const auto& p : testhooks::FindUnfittedControls(*bar))
      ADD_FAILURE() << bar->GetWindowText() << ", control " << p.controlId << " \"" << p.text << "\": " << p.problem;
  }

  ASSERT_TRUE(frame.WorkspaceTabs.IsWindow());
  const ui::Rect strip = testhooks::RectInWindow(frame.WorkspaceTabs, frame);
  EXPECT_TRUE(Inside(strip, client)) << "tab strip at " << Show(strip);
  const ui::Rect stripClient = frame.WorkspaceTabs.GetClientRect();
  ASSERT_EQ(frame.WorkspaceTabs.GetItemCount(), 9);
  for (int t = 0; t < 9; ++t) {
    const ui::Rect tab = frame.WorkspaceTabs.GetItemRect(t);
    EXPECT_TRUE(Inside(tab, stripClient)) << "tab " << t << " at " << Show(tab) << " in " << Show(stripClient);
    EXPECT_FALSE(tab.IsEmpty()) << "tab " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FrameFit,
    ::testing::Combine(::testing::Bool(), ::testing::Values(Screen{1366, 768}, Screen{1600, 1000})),
    [](const auto& info) {
      const Screen s = std::get<1>(info.param);
      return std::string(std::get<0>(info.param) ? "Japanese" : "English") + "_" + std::to_string(s.width) + "x" +
             std::to_string(s.height);
    });

}  // namespace
