// Pictures of the workspace's stage graph, vigilance-state and mark panes on the generated
// night, their dialogs, a printed stage-graph page and the floating mark window.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_dlg_marks.h"
#include "app/workspace/lyr_workspace_dlg_stage_graph.h"
#include "app/workspace/lyr_workspace_dlg_vsp.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/mark_runs.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool Shot(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

// A dialog shown on its own (modeless), pictured and closed.
bool DialogShot(ui::Dialog& d, ui::Window& owner, const std::string& path) {
  if (!d.CreateModeless(&owner)) return false;
  const bool ok = Shot(d, path);
  d.DestroyWindow();
  return ok;
}

bool StageShots(ShotContext& c) {
  CMainFrame& frame = c.frame;
  LyrWorkspaceDummyView* ws = frame.WorkspaceView();
  if (ws == nullptr || ws->Frame() == nullptr) return false;
  LyrWorkspaceFrame& wf = *ws->Frame();
  // The run's language (a shot before may have left another one set).
  const res::Language language = res::CurrentLanguage();
  res::SetLanguage(sys::GetThreadLocale() == sys::kLcidJapanese ? res::Language::Japanese : res::Language::English);
  PaneRowRatio = 0.45;
  PaneColumnRatio = 0.3;
  frame.LayoutPanes();
  LyrWorkspaceAreaTabCtrl& tabs = frame.WorkspaceTabs;
  CQLM2_AnalyzerDoc& doc = c.doc;
  const int epochs = EpochSeconds > 0 ? doc.GetDivNum(EpochSeconds) : 0;
  bool ok = true;

  // Stage graph: every stage, 30-minute bars over the night.
  LyrWorkspaceStageGraphView& graph = *tabs.StageGraphPane;
  graph.FirstEpoch = 0;
  graph.LastEpoch = epochs - 1;
  graph.StageItemFlags = {};
  const int items = static_cast<int>(StageGraphItemNames(doc.Params.stageType).size());
  for (int i = 0; i < items && i < kStageGraphItems; ++i) graph.StageItemFlags[static_cast<std::size_t>(i)] = 1;
  StageGraphTimeDivision = 30;
  StageGraphType = 1;
  StageGraphYUnit = 0;
  tabs.SelectPane(6);
  tabs.ShowSelectedPane(6);
  graph.OutputText(2);
  ok &= Shot(*ws, c.out + "/workspace_stage_graph.png");
  StageGraphType = 2;
  graph.Invalidate();
  ok &= Shot(*ws, c.out + "/workspace_stage_graph_band.png");
  {
    draw::Image page(1240, 1754, 32);
    draw::Dc dc(page);
    dc.FillSolidRect(draw::RectFromSize(0, 0, 1240, 1754), 0xFFFFFF);
    graph.DrawPage(dc, draw::RectFromSize(0, 0, 1240, 1754), false);
    const std::string path = c.out + "/workspace_stage_graph_page.png";
    const bool saved = page.SavePng(path);
    std::printf("%s: %s\n", path.c_str(), saved ? "written" : "FAILED");
    ok &= saved;
  }
  StageGraphType = 1;
  {
    LyrWorkspaceDlgStageGraph setup(&doc, &graph, &frame);
    ok &= DialogShot(setup, frame, c.out + "/dialog_187_stage_graph.png");
    LyrWorkspaceDlgTextOutStageGraph text(&doc, &graph, &frame);
    ok &= DialogShot(text, frame, c.out + "/dialog_190_stage_graph_text.png");
  }

  // Vigilance state: hour divisions over the night.
  LyrWorkspaceVSPView& vsp = *tabs.VSPPane;
  TextOutputTimeDivision = EpochSeconds > 0 ? 3600 / EpochSeconds : 120;
  tabs.SelectPane(5);
  tabs.ShowSelectedPane(5);
  vsp.Apply(0, epochs - 1, 0, nullptr);
  testhooks::Reset();
  ok &= Shot(*ws, c.out + "/workspace_vigilance.png");
  {
    LyrWorkspaceDlgVSPFind setup(&doc, &vsp, &frame);
    ok &= DialogShot(setup, frame, c.out + "/dialog_185_vigilance.png");
    LyrWorkspaceDlgTextOutVSP text(&doc, &vsp, &frame);
    ok &= DialogShot(text, frame, c.out + "/dialog_186_vigilance_text.png");
  }

  // Marks: a few made by hand on types 1 and 2.
  MarkTypeParam& types = doc.Params.markType;
  for (int t = 0; t < 2; ++t) {
    auto& item = types.items[static_cast<std::size_t>(t)];
    item.triggerDetect = 1;
    item.show = 1;
    if (item.name.empty()) item.name = t == 0 ? "Mark1" : "Mark2";
  }
  types.triggerCount = std::max<std::uint16_t>(types.triggerCount, 2);
  if (doc.Marks.FlagLength() > 0) {
    for (int k = 0; k < 12; ++k) {
      doc.Marks.SetPoints(k % 2, 3000 + k * 4000, 3000 + k * 4000 + 15 + 10 * k, 1);
    }
    doc.Marks.SetMarksPresent(1);
  }
  tabs.SelectPane(11);
  tabs.ShowSelectedPane(11);
  if (LyrWorkspaceMarkView* marks = ws->MarkView()) {
    marks->UpdateMarkTypeFlags();
    marks->FillMarkTypeList();
    marks->MarkForRefill();
    marks->UpdateMarkList();
  }
  ok &= Shot(*ws, c.out + "/workspace_marks.png");
  {
    LyrWorkspaceDlgMarkList list(&doc, &frame);
    ok &= DialogShot(list, frame, c.out + "/dialog_295_mark_list.png");
    LyrWorkspaceDlgMarkSumUp sumUp(&doc, &frame);
    ok &= DialogShot(sumUp, frame, c.out + "/dialog_296_mark_sum_up.png");
  }
  ui::ExecuteCommand(wf, 33152);
  if (LyrWorkspaceDlgMarkType* dlg = wf.MarkTypeDlg()) {
    ok &= Shot(*dlg, c.out + "/dialog_300_mark_type.png");
    dlg->ClickButton(ui::IDCANCEL);
    testhooks::ProcessMessages();
  }
  wf.FloatMarkWindow();
  if (LyrWorkspaceMarkFrame* mark = tabs.MarkPane->MarkFrame()) ok &= Shot(*mark, c.out + "/workspace_mark_floating.png");
  wf.DockMarkWindow();
  tabs.SelectPane(0);
  tabs.ShowSelectedPane(0);
  res::SetLanguage(language);
  return ok;
}

ShotRegistrar reg("workspace_stages", StageShots);

}  // namespace
