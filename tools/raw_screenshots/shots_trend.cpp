// The trend window on the scored night: the information column with the thresholds of the
// graphs' items, the value at the cursor and the ten-key pad.
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

bool ShootTrend(ShotContext& c) {
  LyrTrendDummyView* trend = c.frame.TrendView();
  if (trend == nullptr || trend->Frame() == nullptr) return false;
  // Three graphs: EMG integral, Delta %Time, SpO2 minimum.
  const int items[3][2] = {{8, 0}, {1, 0}, {18, 1}};
  for (int g = 0; g < 3; ++g) {
    TrendItem.category[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][0]);
    TrendItem.subItem[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][1]);
  }
  if (ResultModifiedState == 0) ResultModifiedState = 1;
  c.doc.LastScreenedEpoch = c.doc.EpochTables.EpochCount() - 1;
  c.frame.WorkspaceTabs.CurrentPane = 4;  // the Logic pane enables the threshold edits
  trend->Frame()->ApplyDisplaySetting(3, 120, 3);
  trend->SetCursorEpoch(-1, c.doc.CurrentEpoch);
  for (int g = 0; g < 3; ++g) {
    const TrendValue v = trend->TrendArea.Values[static_cast<std::size_t>(g)].GetTrendValue(c.doc.CurrentEpoch);
    trend->SetGraphMark(g, v.isFloat, v.value, v.floatValue);
  }
  trend->DrawCursor();
  testhooks::ProcessMessages();
  const std::string path = c.out + "/trend_window.png";
  const bool ok = testhooks::RenderWindowToPng(*trend, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  c.frame.WorkspaceTabs.CurrentPane = 0;
  return ok;
}

const ShotRegistrar kTrend("trend", ShootTrend);

}  // namespace
