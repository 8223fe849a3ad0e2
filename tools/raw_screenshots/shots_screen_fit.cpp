// The main window on a 1366 x 768 screen with its bars wrapped as that width needs, a scored
// page for the README, and the wave view bar's time box in both time displays. Run once per
// language (scripts/screenshots.sh), they show whether every text fits and has its glyphs.
#include <cstdio>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/testing/ui_testing.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool Save(ui::Window& window, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(window, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

bool ShootScreenFit(ShotContext& c) {
  CMainFrame& frame = c.frame;
  bool ok = true;
  // A scored page (the night is scored from its companion files) with the parameter bar's
  // values, on an ordinary laptop screen.
  frame.MoveWindow(ui::Rect{0, 0, 1366, 768});
  ParameterBarCodes = {28, 27, 1, 32, 0, 0};
  ParameterBarChannels = {0, 4, 0, 9, 0, 0};
  frame.ReloadParameterCombos();
  const int epoch = c.doc.EpochTables.EpochCount() > 200 ? 200 : 0;
  frame.SetPageByEpoch(PageSeconds > 0 ? epoch * EpochSeconds / PageSeconds : 0, epoch);
  frame.RefreshAllViews(-1);
  frame.UpdateFrameBarTime();
  testhooks::ProcessMessages();
  testhooks::RenderWindow(frame);  // the page computes its values as it is drawn
  ok = Save(frame, c.out + "/frame_1366x768.png") && ok;

  // For the README: the page of the first apnea, the wave window alone.
  const std::vector<std::uint8_t>& resp = c.doc.RecognitionTables.RespRcgnz();
  std::size_t first = 0;
  while (first < resp.size() && resp[first] == 0) ++first;
  if (first < resp.size() && EpochSeconds > 0) {
    const int apnea = static_cast<int>(first / 4) / EpochSeconds;  // points of 0.25 s
    frame.SetPageByEpoch(PageSeconds > 0 ? apnea * EpochSeconds / PageSeconds : 0, apnea);
  }
  frame.ToggleBottomWindow(true);
  frame.ToggleBottomWindow(false);
  frame.RefreshAllViews(-1);
  frame.UpdateFrameBarTime();
  testhooks::ProcessMessages();
  testhooks::RenderWindow(frame);
  ok = Save(frame, c.out + "/readme_scored_page.png") && ok;
  frame.ToggleBottomWindow(true);
  frame.ToggleBottomWindow(false);

  // The time box whole in both time displays.
  const std::uint16_t clock = ClockTimeDisplay;
  for (const std::uint16_t mode : {std::uint16_t{1}, std::uint16_t{0}}) {
    ClockTimeDisplay = mode;
    frame.UpdateFrameBarTime();
    ok = Save(*frame.EpochBar, c.out + (mode ? "/epoch_bar_clock_time.png" : "/epoch_bar_elapsed_time.png")) && ok;
  }
  ClockTimeDisplay = clock;
  frame.UpdateFrameBarTime();

  // The narrowest frame the bars allow.
  const ui::Size least = testhooks::MinimumWindowSize(frame);
  frame.MoveWindow(ui::Rect{0, 0, least.cx, 700});
  ok = Save(frame, c.out + "/frame_narrowest.png") && ok;
  frame.MoveWindow(ui::Rect{0, 0, 1600, 1000});
  return ok;
}

ShotRegistrar reg("screen_fit", &ShootScreenFit);

}  // namespace
