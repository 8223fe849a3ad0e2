// Pictures of the dialogs that hold time-point panels: the analysis range and the result save
// dialog's range and memo panel, each with its two panels laid out inside.
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/main_frame.h"
#include "app/results/lyr_dlg_result_file.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

bool Shoot(ui::Dialog& dlg, CMainFrame& frame, const std::string& file) {
  if (!dlg.CreateModeless(&frame)) return false;
  dlg.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(dlg, file);
  dlg.DestroyWindow();
  return ok;
}

bool TimePointDialogs(ShotContext& c) {
  LyrDlgAnalysisRange range(&c.doc, &c.frame);
  LyrResultRangePanel save(&c.doc, &c.frame);
  return Shoot(range, c.frame, c.out + "/analysis_range.png") && Shoot(save, c.frame, c.out + "/result_save_range.png");
}

ShotRegistrar reg("open_save", TimePointDialogs);

}  // namespace
