// Command routing through frame, view, document and application; update handlers; menus;
// splitters laid out from ideal sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/key_state.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/splitter.h"

namespace {

std::vector<std::string> g_log;

struct TestDoc : ui::Document {};
struct TestView : ui::View {};

struct Fixture : ::testing::Test {
  ui::App app;
  TestDoc doc;
  ui::Frame frame;
  TestView* view = nullptr;
  ui::CreateContext ctx;

  void SetUp() override {
    g_log.clear();
    ctx.currentDocument = &doc;
    auto menu = std::make_unique<ui::Menu>();
    auto file = std::make_shared<ui::Menu>();
    file->AppendItem(100, "A");
    file->AppendItem(101, "B");
    file->AppendItem(102, "C");
    file->AppendItem(103, "No handler");
    menu->AppendPopup("&File", file);
    frame.SetMenu(std::move(menu));
    ASSERT_TRUE(frame.LoadFrame(0, &ctx));
    auto v = std::make_unique<TestView>();
    ASSERT_TRUE(v->CreateView(&frame, ui::AFX_IDW_PANE_FIRST, ctx));
    view = frame.Adopt(std::move(v));
    frame.InitialUpdateFrame(&doc, ui::SW_SHOW);
    app.SetMainWnd(&frame);
  }
};

TEST_F(Fixture, CommandsGoFrameThenViewThenDocumentThenApp) {
  ASSERT_EQ(frame.GetActiveView(), view);
  ASSERT_EQ(frame.GetActiveDocument(), &doc);
  // 1: everybody; 2: view, document, app; 3: document, app; 4: app only.
  frame.MapCommand(1, [] { g_log.push_back("frame1"); });
  for (std::uint32_t id : {1u, 2u}) view->MapCommand(id, [id] { g_log.push_back("view" + std::to_string(id)); });
  for (std::uint32_t id : {1u, 2u, 3u}) doc.MapCommand(id, [id] { g_log.push_back("doc" + std::to_string(id)); });
  for (std::uint32_t id : {1u, 2u, 3u, 4u}) app.MapCommand(id, [id] { g_log.push_back("app" + std::to_string(id)); });

  for (std::uint32_t id : {1u, 2u, 3u, 4u}) EXPECT_TRUE(ui::ExecuteCommand(frame, id));
  EXPECT_FALSE(ui::ExecuteCommand(frame, 5));
  EXPECT_EQ(g_log, (std::vector<std::string>{"frame1", "view2", "doc3", "app4"}));

  // A WM_COMMAND (menu, accelerator, button) takes the same route.
  g_log.clear();
  frame.SendMessage(ui::WM_COMMAND, ui::MakeLong(3, 0), 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"doc3"});
}

TEST_F(Fixture, AClickedViewBecomesTheActiveView) {
  auto other = std::make_unique<TestView>();
  ASSERT_TRUE(other->CreateView(view, 2, ctx));
  TestView* second = frame.Adopt(std::move(other));
  second->MapCommand(9, [] { g_log.push_back("second"); });
  view->MapCommand(9, [] { g_log.push_back("first"); });
  ui::ExecuteCommand(frame, 9);
  second->SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, 0);
  EXPECT_EQ(frame.GetActiveView(), second);
  ui::ExecuteCommand(frame, 9);
  EXPECT_EQ(g_log, (std::vector<std::string>{"first", "second"}));
}

TEST_F(Fixture, FirstEntryForAnIdWins) {
  app.MapCommand(7, [] { g_log.push_back("first"); });
  app.MapCommand(7, [] { g_log.push_back("second"); });
  app.MapCommandRange(6, 9, [](std::uint32_t id) { g_log.push_back("range" + std::to_string(id)); });
  ui::ExecuteCommand(frame, 7);
  ui::ExecuteCommand(frame, 9);
  EXPECT_EQ(g_log, (std::vector<std::string>{"first", "range9"}));
}

TEST_F(Fixture, UpdateHandlersEnableCheckAndRenameMenuItems) {
  frame.MapCommand(100, [] {});
  frame.MapUpdate(100, [](ui::CmdUI& ui) { ui.Enable(false); });
  doc.MapCommand(101, [] {});
  doc.MapUpdate(101, [](ui::CmdUI& ui) { ui.SetCheck(1); });
  app.MapCommand(102, [] {});
  app.MapUpdate(102, [](ui::CmdUI& ui) { ui.SetText("Renamed"); });

  ui::Menu* popup = frame.OpenMenuPopup(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(popup->IsItemEnabled(100));
  EXPECT_TRUE(popup->IsItemEnabled(101));
  EXPECT_TRUE(popup->IsItemChecked(101));
  EXPECT_EQ(popup->GetItemText(102), "Renamed");
  EXPECT_FALSE(popup->IsItemEnabled(103)) << "a command nobody handles is disabled";
  EXPECT_FALSE(ui::QueryCommandState(frame, 103).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(frame, 102).IsEnabled());
}

TEST_F(Fixture, MenusChangeAtRunTime) {
  ui::Menu* file = frame.GetMenu()->GetSubMenu(0);
  file->InsertItem(file->FindPosition(101) + 1, 200, "Inserted");
  EXPECT_EQ(file->FindPosition(200), 2);
  EXPECT_TRUE(frame.GetMenu()->DeleteCommand(200));
  EXPECT_FALSE(frame.GetMenu()->Contains(200));
  EXPECT_FALSE(frame.GetMenu()->DeleteCommand(200));
  frame.GetMenu()->EnableItem(101, false);
  EXPECT_FALSE(frame.GetMenu()->IsItemEnabled(101));
}

TEST_F(Fixture, DroppedFilesReachTheFrameOnlyWhenAccepted) {
  struct DropFrame : ui::Frame {
    std::vector<std::string> got;
    void OnDropFiles(const std::vector<std::string>& p) override { got = p; }
  } f;
  ASSERT_TRUE(f.LoadFrame(0));
  testhooks::DropFiles(f, {"/a/x.raf"});
  EXPECT_TRUE(f.got.empty());
  f.DragAcceptFiles(true);
  testhooks::DropFiles(f, {"/a/x.raf", "/b/y.fyd"});
  EXPECT_EQ(f.got, (std::vector<std::string>{"/a/x.raf", "/b/y.fyd"}));
}

TEST_F(Fixture, AcceleratorsSendTheirCommand) {
  frame.Accelerators().Add({'O', true, false, false, 57601});
  app.MapCommand(57601, [] { g_log.push_back("open"); });
  testhooks::PressKey(*view, 'O');
  EXPECT_TRUE(g_log.empty()) << "without Ctrl";
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  testhooks::PressKey(*view, 'O');
  sys::ClearKeyStateForTesting();
  EXPECT_EQ(g_log, std::vector<std::string>{"open"});
}

TEST_F(Fixture, ContextMenusReturnOrSendTheChosenCommand) {
  auto popup = std::make_shared<ui::Menu>();
  popup->AppendItem(300, "Mark");
  popup->AppendItem(301, "Delete");
  popup->EnableItem(301, false);
  app.MapCommand(300, [] { g_log.push_back("mark"); });
  testhooks::Reset();
  testhooks::AnswerPopupMenu(300);
  EXPECT_EQ(ui::TrackPopupMenu(*popup, {10, 10}, &frame, ui::TPM_RETURNCMD), 300u);
  EXPECT_TRUE(g_log.empty()) << "a returned command is not sent";
  testhooks::AnswerPopupMenu(300);
  EXPECT_EQ(ui::TrackPopupMenu(*popup, {10, 10}, &frame), 1u);
  EXPECT_EQ(g_log, std::vector<std::string>{"mark"});
  testhooks::AnswerPopupMenu(301);
  EXPECT_EQ(ui::TrackPopupMenu(*popup, {10, 10}, view, ui::TPM_RETURNCMD), 0u) << "a disabled item cannot be chosen";
  EXPECT_EQ(ui::TrackPopupMenu(*popup, {10, 10}, view), 0u) << "dismissed";
  EXPECT_EQ(testhooks::UnansweredCount(), 1);
  testhooks::Reset();
}

struct RatioSplitter : ui::Splitter {
  int moved = 0;
  void OnBarMoved(bool, int) override { ++moved; }
};

TEST(Splitters, LayPanesOutFromIdealSizesAndNest) {
  ui::Frame frame;
  ASSERT_TRUE(frame.LoadFrame(0));
  auto* outer = frame.Adopt(std::make_unique<RatioSplitter>());
  ASSERT_TRUE(outer->CreateStatic(&frame, 2, 1));
  outer->SetBarWidth(8);
  ui::CreateContext ctx;
  ASSERT_TRUE(outer->CreateView(0, 0, std::make_unique<TestView>(), {0, 0}, &ctx));
  auto* inner = frame.Adopt(std::make_unique<ui::Splitter>());
  ASSERT_TRUE(inner->CreateStatic(outer, 1, 2, outer->IdFromRowCol(1, 0)));
  inner->SetBarWidth(8);
  ASSERT_TRUE(inner->CreateView(0, 0, std::make_unique<TestView>(), {0, 0}, &ctx));
  ASSERT_TRUE(inner->CreateView(0, 1, std::make_unique<TestView>(), {0, 0}, &ctx));
  EXPECT_EQ(outer->GetPane(1, 0), inner);

  outer->MoveWindow({0, 0, 400, 308});
  outer->SetRowInfo(0, 150, 0);
  outer->RecalcLayout();
  inner->SetColumnInfo(0, 96, 0);
  inner->RecalcLayout();
  int cur = 0, min = 0;
  outer->GetRowInfo(0, cur, min);
  EXPECT_EQ(cur, 150);
  outer->GetRowInfo(1, cur, min);
  EXPECT_EQ(cur, 308 - 150 - 8) << "the last row takes the rest";
  EXPECT_EQ(inner->GetClientRect().Height(), 150);
  EXPECT_EQ(inner->GetPane(0, 0)->GetClientRect().Width(), 96);
  EXPECT_EQ(inner->GetPane(0, 1)->GetClientRect().Width(), 400 - 96 - 8);

  // An ideal size beyond the room leaves nothing for the last row; 0 hides the first.
  outer->SetRowInfo(0, 1000, 0);
  outer->RecalcLayout();
  outer->GetRowInfo(1, cur, min);
  EXPECT_EQ(cur, 0);
  EXPECT_FALSE(inner->IsWindowVisible());
  outer->SetRowInfo(0, 0, 0);
  outer->RecalcLayout();
  EXPECT_FALSE(outer->GetPane(0, 0)->IsWindowVisible());
  outer->GetRowInfo(1, cur, min);
  EXPECT_EQ(cur, 300);

  // Dragging a bar sets the ideal size before it and tells the splitter.
  outer->DragBar(true, 0, 100);
  EXPECT_EQ(outer->GetRowIdeal(0), 100);
  EXPECT_EQ(outer->moved, 1);
}

}  // namespace
