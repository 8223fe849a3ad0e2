// A frame docked in a host view follows the host's size, floats as a top-level window and
// docks back, keeping its menu commands and passing keys on to the main frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/dock_frame.h"
#include "platform/ui/frame.h"

namespace {

struct Host : ui::View {};

struct DockFixture : ::testing::Test {
  ui::App app;
  ui::Document doc;
  ui::Frame main;
  Host* host = nullptr;
  ui::DockFrame dock;
  ui::CreateContext ctx;
  std::vector<std::string> log;

  void SetUp() override {
    testhooks::Reset();
    ctx.currentDocument = &doc;
    ASSERT_TRUE(main.LoadFrame(0, &ctx));
    main.MoveWindow(ui::Rect{0, 0, 640, 480});
    auto v = std::make_unique<Host>();
    ASSERT_TRUE(v->CreateView(&main, ui::AFX_IDW_PANE_FIRST, ctx));
    host = main.Adopt(std::move(v));
    main.InitialUpdateFrame(&doc, ui::SW_SHOW);
    app.SetMainWnd(&main);
    auto menu = std::make_unique<ui::Menu>();
    auto popup = std::make_shared<ui::Menu>();
    popup->AppendItem(500, "&Float");
    menu->AppendPopup("&View", popup);
    dock.SetMenu(std::move(menu));
    dock.MapCommand(500, [this] { log.push_back("dock500"); });
    main.Accelerators().Add(ui::Accelerator{ui::VK_F1 + 4, false, false, false, 600});
    main.MapCommand(600, [this] { log.push_back("main600"); });
    ASSERT_TRUE(dock.CreateDocked(host, 0, &ctx));
  }
  void TearDown() override { app.SetMainWnd(nullptr); }
};

TEST_F(DockFixture, DockedFrameFillsTheHostAndFollowsItsSize) {
  EXPECT_TRUE(dock.IsDocked());
  EXPECT_EQ(dock.GetParent(), host);
  const ui::Rect h = host->GetClientRect();
  EXPECT_EQ(dock.GetClientRect().Width(), h.Width());
  EXPECT_EQ(dock.GetClientRect().Height(), h.Height());
  host->MoveWindow(ui::Rect{0, 0, 300, 200});
  EXPECT_EQ(dock.GetClientRect().Width(), 300);
  EXPECT_EQ(dock.GetClientRect().Height(), 200);
}

TEST_F(DockFixture, FloatsAsTopLevelAndDocksBack) {
  host->MoveWindow(ui::Rect{0, 0, 320, 240});
  dock.Float();
  EXPECT_FALSE(dock.IsDocked());
  EXPECT_EQ(dock.GetParent(), nullptr);
  EXPECT_TRUE(dock.IsWindowVisible());
  EXPECT_EQ(dock.GetClientRect().Width(), 320);
  // A host resize leaves the floating frame alone.
  host->MoveWindow(ui::Rect{0, 0, 200, 100});
  EXPECT_EQ(dock.GetClientRect().Width(), 320);
  // The close button does nothing while it is disabled (the default).
  dock.SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(dock.IsWindow());
  EXPECT_TRUE(dock.IsWindowVisible());
  // The menu's commands reach the frame in both states.
  dock.SendMessage(ui::WM_COMMAND, ui::MakeLong(500, 0), 0);
  dock.Dock();
  EXPECT_TRUE(dock.IsDocked());
  EXPECT_EQ(dock.GetParent(), host);
  EXPECT_EQ(dock.GetClientRect().Width(), 200);
  EXPECT_EQ(dock.GetClientRect().Height(), 100);
  dock.SendMessage(ui::WM_COMMAND, ui::MakeLong(500, 0), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"dock500", "dock500"}));
}

TEST_F(DockFixture, KeysReachTheMainFrameDockedAndFloating) {
  for (bool floating : {false, true}) {
    if (floating) dock.Float();
    log.clear();
    testhooks::PressKey(dock, ui::VK_F1 + 4);
    EXPECT_EQ(log, std::vector<std::string>{"main600"}) << "floating " << floating;
  }
}

TEST_F(DockFixture, AnEnabledCloseHidesTheFloatingFrame) {
  dock.Float();
  dock.SetCloseEnabled(true);
  dock.SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(dock.IsWindow());
  EXPECT_FALSE(dock.IsWindowVisible());
  dock.Dock();
  EXPECT_TRUE(dock.IsWindowVisible());
}

}  // namespace
