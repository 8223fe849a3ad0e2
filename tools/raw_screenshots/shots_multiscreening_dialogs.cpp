// Pictures of the multi-screening window's dialogs: the window with a filled channel table,
// the Logic window, and the FFT condition, Filter condition, Analysis Range and Time
// occupancy dialogs, in English and Japanese.
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/scoring/lyr_dlg_fft_condition.h"
#include "app/scoring/lyr_dlg_filter_condition.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_multi_screening_range.h"
#include "app/scoring/lyr_dlg_screening_logic.h"
#include "app/scoring/lyr_dlg_time_occupancy.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "tools/raw_screenshots/shots.h"

namespace {

template <typename D>
bool Shoot(D& dlg, ui::Window* parent, const std::string& path) {
  if (!dlg.CreateModeless(parent)) return false;
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(dlg, path);
  dlg.DestroyWindow();
  return ok;
}

bool ShootLanguage(ShotContext& c, const std::string& suffix) {
  bool ok = true;
  c.frame.OpenMultiScreeningDlg();
  LyrDlgMultiScreening* dlg = c.frame.MultiScreeningDlg;
  if (dlg == nullptr) return false;
  ok = testhooks::RenderWindowToPng(*dlg, c.out + "/multiscreening_window" + suffix + ".png") && ok;

  {
    LyrDlgScreeningLogic logic(nullptr, dlg->Settings);
    logic.Doc = &c.doc;
    ok = Shoot(logic, dlg, c.out + "/multiscreening_logic" + suffix + ".png") && ok;
  }
  {
    LyrDlgFftCondition fft(dlg);
    fft.Values = dlg->Settings;
    fft.Doc = &c.doc;
    fft.FirstEegRow = 0;
    ok = Shoot(fft, dlg, c.out + "/multiscreening_fft" + suffix + ".png") && ok;
  }
  {
    LyrDlgFilterCondition filter(dlg);
    filter.Filter = {1, 3, 20.0f, 50.0f, 1, 60.0f};
    ok = Shoot(filter, dlg, c.out + "/multiscreening_filter" + suffix + ".png") && ok;
  }
  {
    LyrDlgMultiScreeningRange range(dlg);
    range.StartMode = 1;
    range.StartTime[4] = 8;
    range.StartTime[5] = 30;
    range.EndMode = 2;
    range.EndDays = 1;
    range.EndHours = 6;
    ok = Shoot(range, dlg, c.out + "/multiscreening_range" + suffix + ".png") && ok;
  }
  {
    LyrDlgTimeOccupancy occupancy(dlg);
    occupancy.Stages = LyrDlgScreeningLogic::StageList(&c.doc);
    occupancy.TargetOccupancy = {10, 20, 5, 5, 15, 0, 0, 0};
    occupancy.LightPhaseStart[4] = 7;
    ok = Shoot(occupancy, dlg, c.out + "/multiscreening_occupancy" + suffix + ".png") && ok;
  }
  dlg->EndDialog(ui::IDCANCEL);
  testhooks::ProcessMessages();
  return ok;
}

bool ShootAll(ShotContext& c) {
  bool ok = ShootLanguage(c, "");
  res::SetLanguage(res::Language::Japanese);
  ok = ShootLanguage(c, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("multiscreening_dialogs", ShootAll);

}  // namespace
