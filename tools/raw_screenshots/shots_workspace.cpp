// Pictures of the workspace window on the generated night: the data information, the logic
// list, a stage search, the search strip's free search, and the whole frame with the
// workspace docked; the data information again in Japanese.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_data_info_view.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_logic_view.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool Shot(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

bool WorkspaceShots(ShotContext& c) {
  CMainFrame& frame = c.frame;
  LyrWorkspaceDummyView* ws = frame.WorkspaceView();
  if (ws == nullptr) return false;
  // The workspace gets most of the lower row, the raw window half the height.
  PaneRowRatio = 0.45;
  PaneColumnRatio = 0.3;
  frame.LayoutPanes();
  LyrWorkspaceAreaTabCtrl& tabs = frame.WorkspaceTabs;
  auto show = [&tabs](int id) {
    tabs.SelectPane(id);
    tabs.ShowSelectedPane(id);
  };
  bool ok = true;
  ws->RefreshResultPanes(1);
  show(0);
  ok &= Shot(*ws, c.out + "/workspace_datainfo.png");
  ResultModifiedState = ResultModifiedState == 0 ? 1 : ResultModifiedState;
  show(4);
  ws->UpdateLogicList(1);
  ok &= Shot(*ws, c.out + "/workspace_logic.png");
  show(9);
  tabs.SearchStrip->StagePane->FillStageCombos();
  tabs.SearchStrip->StagePane->SearchStage(2);
  testhooks::Reset();
  ok &= Shot(*ws, c.out + "/workspace_stage_search.png");
  show(7);
  tabs.SearchStrip->FreePane->FillChannelCombo();
  ok &= Shot(*ws, c.out + "/workspace_free_search.png");
  show(0);
  ok &= Shot(frame, c.out + "/workspace_docked.png");
  if (LyrWorkspaceFrame* wf = ws->Frame()) {
    wf->OnFloat();
    ok &= Shot(*wf, c.out + "/workspace_floating.png");
    wf->OnDocking();
  }
  res::SetLanguage(res::Language::Japanese);
  tabs.DataInfoPane->UpdateDataInfo();
  ok &= Shot(*ws, c.out + "/workspace_datainfo_ja.png");
  res::SetLanguage(res::Language::English);
  tabs.DataInfoPane->UpdateDataInfo();
  return ok;
}

ShotRegistrar reg("workspace", WorkspaceShots);

}  // namespace
