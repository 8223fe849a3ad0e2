// Pictures of the report dialogs on the sample night: "Human report" opened by the workspace's
// command, its "Time" dialog, and "Parameter output", in English and Japanese.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/results/lyr_dlg_parameter_output.h"
#include "app/results/lyr_dlg_report.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "shots.h"

namespace {

constexpr std::uint32_t kCmdHumanReport = 33044;

bool Png(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

std::string Name(const ShotContext& c, const char* base, bool japanese) {
  return c.out + "/" + base + (japanese ? "_ja" : "") + ".png";
}

bool ReportShots(ShotContext& c, bool japanese) {
  LyrWorkspaceDummyView* ws = c.frame.WorkspaceView();
  LyrWorkspaceFrame* wf = ws != nullptr ? ws->Frame() : nullptr;
  if (wf == nullptr) return false;
  ui::ExecuteCommand(*wf, kCmdHumanReport);
  LyrDlgReport* report = wf->ReportDlg();
  if (report == nullptr) return false;
  bool ok = Png(*report, Name(c, "human_report", japanese));
  report->ClickButton(LyrDlgReport::kSleepOnset);
  if (report->TimeDialog() != nullptr) {
    ok = Png(*report->TimeDialog(), Name(c, "human_report_time", japanese)) && ok;
    report->TimeDialog()->ClickButton(2);
  } else {
    ok = false;
  }
  testhooks::ProcessMessages();
  report->ClickButton(2);
  testhooks::ProcessMessages();

  LyrDlgParameterOutput params(&c.doc, &c.frame);
  if (params.CreateModeless(&c.frame)) {
    ok = Png(params, Name(c, "parameter_output", japanese)) && ok;
    params.DestroyWindow();
  } else {
    ok = false;
  }
  return ok;
}

bool HumanReportShots(ShotContext& c) {
  bool ok = true;
  for (const bool japanese : {false, true}) {
    res::SetLanguage(japanese ? res::Language::Japanese : res::Language::English);
    ok = ReportShots(c, japanese) && ok;
  }
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("human_report", HumanReportShots);

}  // namespace
