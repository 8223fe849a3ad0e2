// The trend graphs on the screened night: eight graphs (Delta %Time, Spindle detect count,
// EMG, obstructive apnea, SpO2 minimum, main body position with its names, limb movements and
// heart rate) with the logic threshold lines and the cursor; and the dialogs of the graphs
// (Trend graph Setting, Trend Scale, Draw Type) in English and Japanese.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_dlg_trend_draw_scale.h"
#include "app/trend/lyr_dlg_trend_graph_setting.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

struct GraphItem {
  int category, sub, third, drawType, valueDisplay, dotSize;
};

constexpr GraphItem kItems[8] = {
    {1, 0, 0, 2, 0, 1},   // Delta %Time, columns
    {4, 1, 0, 1, 0, 1},   // Spindle detect count, crossbars
    {8, 0, 0, 3, 0, 1},   // EMG integral, line
    {11, 0, 0, 2, 0, 1},  // obstructive apnea seconds
    {18, 1, 0, 0, 0, 1},  // SpO2 minimum, dots
    {17, 1, 0, 0, 2, 2},  // main position with its names
    {20, 2, 0, 2, 0, 1},  // limb movements of both legs
    {13, 0, 0, 3, 0, 1},  // heart rate
};

bool Save(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

// Screens the night once on the step timer, as the program runs it, with the detectors on
// the sample maker's human montage (C3-A2, EOG-L, EOG-R, Chin EMG, ECG, Airflow, Thorax,
// Abdomen, SpO2, Position, Leg EMG), so that every item has values and the graphs grow as
// they do while the window is shown.
void ScreenOnce(CMainFrame& frame) {
  CQLM2_AnalyzerDoc* doc = frame.GetDocument();
  if (doc == nullptr || doc->RecordInfo.channelCount < 12) return;
  WaveFormRecognitionParam& w = doc->Params.waveForm;
  for (auto& band : w.bands) band.channel = 0;
  w.kComplex.channel = 0;
  w.eogLeft.channel = 2;
  w.eogRight.channel = 3;
  w.emgChannel = 4;
  SleepDstrbParam& s = doc->Params.sleepDstrb;
  s.ecgChannel = 5;
  s.airFlow.channel = 6;
  s.chest.channel = 7;
  s.abdomen.channel = 8;
  s.spo2Channel = 9;
  s.positionChannel = 10;
  s.legLeft.channel = 11;
  doc->LastScreenedEpoch = -1;
  if (frame.StartScreening(0) == 0) return;
  frame.SetTimer(kTimerScreeningStep, 0);
  while (frame.IsTimerArmed(kTimerScreeningStep)) frame.OnTimer(kTimerScreeningStep);
  // What the end of the run posted (the page and the cursor it moves to) goes first.
  testhooks::ProcessMessages();
}

bool ShootGraphs(ShotContext& c, const std::string& suffix) {
  LyrTrendDummyView* trend = c.frame.TrendView();
  if (trend == nullptr || trend->Frame() == nullptr) return false;
  for (int g = 0; g < 8; ++g) {
    const auto i = static_cast<std::size_t>(g);
    TrendItem.category[i] = static_cast<std::uint16_t>(kItems[g].category);
    TrendItem.subItem[i] = static_cast<std::uint16_t>(kItems[g].sub);
    TrendItem.third[i] = static_cast<std::uint16_t>(kItems[g].third);
    TrendItem.word4[i] = static_cast<std::uint16_t>(kItems[g].drawType);
    TrendItem.word5[i] = static_cast<std::uint16_t>(kItems[g].valueDisplay);
    TrendItem.word6[i] = static_cast<std::uint16_t>(kItems[g].dotSize);
  }
  // Scales that fit the generated night.
  SetTrendItemRange(0, 1, 0, 0, 1, 0, 0, 60.0, 0.0);
  SetTrendItemRange(0, 4, 1, 0, 0, 10, 0, 0.0, 0.0);
  SetTrendItemRange(0, 11, 0, 0, 1, 0, 0, 30.0, 0.0);
  SetTrendItemRange(0, 18, 1, 0, 1, 0, 0, 100.0, 80.0);
  SetTrendItemRange(0, 13, 0, 0, 1, 0, 0, 90.0, 40.0);
  SetTrendItemRange(0, 8, 0, 0, 1, 0, 0, 120.0, 0.0);  // the EMG condition's lower line at 100
  SetTrendItemRange(0, 20, 2, 0, 0, 10, 0, 0.0, 0.0);
  ShowLogicLine = 1;
  if (ResultModifiedState == 0) ResultModifiedState = 1;
  c.frame.WorkspaceTabs.CurrentPane = 4;
  // The trend window gets most of the main window, the graphs most of the trend window.
  const double rowRatio = PaneRowRatio, hypnogramRatio = TrendSplitRatio1;
  PaneRowRatio = 0.2;
  TrendSplitRatio1 = 0.12;
  c.frame.LayoutPanes();
  trend->Frame()->LayoutPanes();
  trend->Frame()->ApplyDisplaySetting(1, 480, 8);
  trend->TrendArea.FillFrom(0);
  testhooks::ProcessMessages();
  trend->SetCursorEpoch(-1, std::min(300, std::max(c.doc.GetDivNum(EpochSeconds) - 1, 0)));
  trend->TrendArea.RedrawGraphs();
  trend->DrawCursor();
  const bool ok = Save(*trend, c.out + "/trend_graphs" + suffix + ".png");
  c.frame.WorkspaceTabs.CurrentPane = 0;
  PaneRowRatio = rowRatio;
  TrendSplitRatio1 = hypnogramRatio;
  c.frame.LayoutPanes();
  trend->Frame()->LayoutPanes();
  return ok;
}

bool ShootDialogs(ShotContext& c, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  bool ok = true;
  LyrDlgTrendGraphSetting setting(&c.frame);
  setting.Document = &c.doc;
  if (setting.CreateModeless(&c.frame)) {
    setting.Item(LyrDlgTrendGraphSetting::kList).SetSelected(2, true);
    ok = Save(setting, c.out + "/trend_graph_setting" + suffix + ".png") && ok;
    setting.DestroyWindow();
  }
  LyrDlgTrendScale scale(&c.frame);
  scale.Document = &c.doc;
  scale.SetParams(0, 18, 1, 0, "100.00", "80.00", 98.5f, 84.25f);
  if (scale.CreateModeless(&c.frame)) {
    ok = Save(scale, c.out + "/trend_scale" + suffix + ".png") && ok;
    scale.DestroyWindow();
  }
  LyrDlgTrendDrawType draw(&c.frame);
  draw.SetParams(17, 1, 0, 2, 1);
  if (draw.CreateModeless(&c.frame)) {
    ok = Save(draw, c.out + "/trend_draw_type" + suffix + ".png") && ok;
    draw.DestroyWindow();
  }
  return ok;
}

bool ShootTrendGraphs(ShotContext& c) {
  ScreenOnce(c.frame);
  const bool japanese = res::CurrentLanguage() == res::Language::Japanese;
  res::SetLanguage(res::Language::Japanese);
  bool ok = ShootGraphs(c, "_ja");
  res::SetLanguage(res::Language::English);
  ok = ShootGraphs(c, "") && ok;
  ok = ShootDialogs(c, res::Language::Japanese, "_ja") && ok;
  ok = ShootDialogs(c, res::Language::English, "") && ok;
  res::SetLanguage(japanese ? res::Language::Japanese : res::Language::English);
  return ok;
}

const ShotRegistrar kTrendGraphs("trend_graphs", ShootTrendGraphs);

}  // namespace
