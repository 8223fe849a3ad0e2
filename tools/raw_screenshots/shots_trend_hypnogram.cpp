// The trend window's hypnogram strip on the scored night (three lines, and one line of the
// utility hypnogram window's form) and the dialogs of the strip and the trend text outputs
// (Hypnogram Setting, the trend table's and the ECG R-R intervals' Text Output), in English
// and Japanese.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_hypno_setting.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/trend/lyr_trend_text_dialogs.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "shots.h"

namespace {

bool Png(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

// A dialog shown modeless on the night, pictured and closed.
bool DialogShot(ShotContext& c, ui::Dialog& dlg, const std::string& path) {
  if (!dlg.CreateModeless(&c.frame)) return false;
  const bool ok = Png(dlg, path);
  dlg.DestroyWindow();
  return ok;
}

// One line of the utility window's form: the night as a loaded result file of 30-s epochs.
bool UtilityLine(ShotContext& c, const std::string& path) {
  LyrUtilityHypnogramFrame utility;
  UtilityResultFileRec file;
  file.path = c.recording;
  file.stageType = c.doc.Params.stageType;
  file.epochTime = EpochSeconds;
  for (int e = 0; e < c.doc.EpochTables.EpochCount(); ++e) {
    LyrEpochRec rec{};
    rec.stage[0] = c.doc.EpochTables.GetStage(0, e, 0);
    file.epochs.push_back(rec);
  }
  utility.Files.Add(file);
  utility.m_TimeScaleMinutes = 480;
  const std::uint32_t savedLoaded = UtilityHypnogramLoaded;
  const std::uint16_t savedLines = HypnogramSettingWord;
  UtilityHypnogramLoaded = 1;
  HypnogramSettingWord = 1;
  ui::Window top;
  bool ok = top.Create(nullptr, 0, ui::Rect{0, 0, 900, 120}, false);
  LyrTrendStageAreaDummyView area;
  area.Link.utility = &utility;
  area.SetUtilityMode(1);
  area.SetFileNo(0);
  area.SetLineTime(480);
  area.SetEpochTime(file.epochTime);
  ok = ok && area.CreateView(&top, 1, ui::CreateContext{}, ui::Rect{0, 0, 900, 120});
  if (ok) {
    area.LayoutAxisViews();
    ok = Png(area, path);
    area.DestroyWindow();
  }
  top.DestroyWindow();
  UtilityHypnogramLoaded = savedLoaded;
  HypnogramSettingWord = savedLines;
  return ok;
}

bool ShootLanguage(ShotContext& c, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  LyrTrendDummyView* trend = c.frame.TrendView();
  trend->Frame()->ApplyDisplaySetting(3, 160, 3);
  trend->SetCursorEpoch(-1, c.doc.CurrentEpoch);
  trend->DrawCursor();
  bool ok = Png(trend->StageArea, c.out + "/trend_hypnogram" + suffix + ".png");
  if (suffix.empty()) ok = UtilityLine(c, c.out + "/trend_hypnogram_utility.png") && ok;
  LyrDlgHypnogramSetting setting;
  setting.m_pDoc = &c.doc;
  ok = DialogShot(c, setting, c.out + "/trend_hypnogram_setting" + suffix + ".png") && ok;
  LyrDlgTrendTextOutput table;
  table.m_pDoc = &c.doc;
  table.m_EndEpoch = c.doc.GetDivNum(EpochSeconds) - 1;
  ok = DialogShot(c, table, c.out + "/trend_text_output" + suffix + ".png") && ok;
  LyrDlgEcgRrTextOutput rr;
  rr.m_pDoc = &c.doc;
  rr.m_StartEpoch = trend->StageArea.GetEpochAt(0);
  rr.m_EndEpoch = rr.m_StartEpoch + ShownEpochs() - 1;
  ok = DialogShot(c, rr, c.out + "/trend_ecg_rr" + suffix + ".png") && ok;
  return ok;
}

bool ShootTrendHypnogram(ShotContext& c) {
  if (c.frame.TrendView() == nullptr || c.frame.TrendView()->Frame() == nullptr) return false;
  bool ok = ShootLanguage(c, res::Language::English, "");
  ok = ShootLanguage(c, res::Language::Japanese, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  return ok;
}

const ShotRegistrar kTrendHypnogram("trend_hypnogram", ShootTrendHypnogram);

}  // namespace
