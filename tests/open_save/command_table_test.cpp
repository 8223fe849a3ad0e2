// Every command of the main menus (both editions, both languages), the standard tool bar and
// the accelerators reaches a handler through the frame's real routing, except the commands
// whose windows are still being built (each named with the issue that builds it).
#include <map>
#include <set>

#include "app_shell/app_fixture.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/command.h"
#include "platform/ui/control_bar.h"
#include "app/frame/window_command_states.h"

namespace {

// Commands without a handler yet, with the issue that brings their window.
const std::map<std::uint32_t, int> kPendingCommands = {};

void CollectMenuIds(const std::vector<res::MenuNode>& nodes, std::set<std::uint32_t>* ids) {
  for (const res::MenuNode& n : nodes) {
    if (n.kind == res::MenuNode::Kind::Item && n.id != 0) ids->insert(n.id);
    if (n.kind == res::MenuNode::Kind::Popup) CollectMenuIds(n.children, ids);
  }
}

std::set<std::uint32_t> AllCommandIds(CMainFrame& frame) {
  std::set<std::uint32_t> ids;
  for (std::uint16_t lang : {std::uint16_t{1033}, std::uint16_t{1041}}) {
    for (std::uint32_t menu : {128u, 293u}) {
      auto nodes = res::LoadMenuResource(menu, lang);
      EXPECT_TRUE(nodes.has_value()) << "menu " << menu << " language " << lang;
      if (nodes) CollectMenuIds(*nodes, &ids);
      auto accel = res::LoadAccelResource(menu, lang);
      if (accel)
        for (const res::AccelNode& a : *accel) ids.insert(a.command);
    }
  }
  auto* bar = dynamic_cast<ui::ToolBar*>(frame.StandardBar);
  EXPECT_NE(bar, nullptr);
  if (bar != nullptr)
    for (int i = 0; i < bar->GetButtonCount(); ++i)
      if (bar->GetButtonId(i) != 0) ids.insert(bar->GetButtonId(i));
  return ids;
}

class CommandTable : public AppTest {};

TEST_F(CommandTable, EveryCommandReachesAHandler) {
  ASSERT_TRUE(Start());
  const std::set<std::uint32_t> ids = AllCommandIds(Frame());
  EXPECT_GT(ids.size(), 50u);
  std::string missing, handledPending;
  for (std::uint32_t id : ids) {
    const bool handled = Frame().OnCmdMsg(id, ui::CmdMode::Probe, nullptr);
    const bool pending = kPendingCommands.count(id) != 0;
    if (!handled && !pending) missing += " " + std::to_string(id);
    if (handled && pending) handledPending += " " + std::to_string(id);
  }
  EXPECT_EQ(missing, "") << "commands without a handler";
  EXPECT_EQ(handledPending, "") << "listed as pending but handled: drop them from the list";
}

// Result file open (33009) and save (33010): open needs no recording, save needs one; both
// wait while a run, the report, the screening windows or an auto-play hold the recording.
TEST(ResultFileCommandStates, FollowTheProgramState) {
  struct Case {
    const char* what;
    FrameWindowState state;
    bool open, save;
  };
  auto with = [](auto change) {
    FrameWindowState s;
    s.loaded = true;
    change(s);
    return s;
  };
  const Case cases[] = {
      {"nothing open", FrameWindowState{}, true, false},
      {"recording open", with([](FrameWindowState&) {}), true, true},
      {"screening runs", with([](FrameWindowState& s) { s.screeningRunning = true; }), false, false},
      {"report open", with([](FrameWindowState& s) { s.reportOpen = true; }), false, false},
      {"screening window open", with([](FrameWindowState& s) { s.screeningOpen = true; }), false, false},
      {"multi-screening open", with([](FrameWindowState& s) { s.multiScreeningOpen = true; }), false, false},
      {"auto-play runs", with([](FrameWindowState& s) { s.autoPlayRunning = true; }), false, false},
      {"video pane busy", with([](FrameWindowState& s) { s.videoPaneBusy = s.videoBound = true; }), true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowCommandState(ID_RESULT_FILE_OPEN, c.state)->enabled, c.open) << c.what;
    EXPECT_EQ(WindowCommandState(ID_RESULT_FILE_SAVE, c.state)->enabled, c.save) << c.what;
  }
}

TEST_F(CommandTable, ResultFileCommandsAskTheFrame) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ID_RESULT_FILE_OPEN).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ID_RESULT_FILE_SAVE).IsEnabled());
  DocumentLoaded = 1;
  EXPECT_TRUE(ui::QueryCommandState(Frame(), ID_RESULT_FILE_SAVE).IsEnabled());
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ID_RESULT_FILE_OPEN).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), ID_RESULT_FILE_SAVE).IsEnabled());
  ScreeningRunning = 0;
  DocumentLoaded = 0;
}

}  // namespace
