// The parameter bar shows the current epoch's values after every move (arrow, page, epoch
// jump, slider, a scoring key), as the per-epoch table of the screened night holds them, and
// shows nothing after File > Close.
#include "sample_night/sample_night_fixture.h"

#include <cstdio>
#include <functional>

#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/parameter_bar.h"
#include "app/frame/program_settings.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

namespace {

using ParameterBarMoves = SampleNightTest;

std::string Format(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

struct Move {
  const char* name;
  std::function<void(CMainFrame&)> run;
  int epoch;  // where the move lands (4 epochs a page)
};

TEST_F(ParameterBarMoves, ValuesAreTheCurrentEpochsAfterEveryMove) {
  ASSERT_TRUE(StartOnNight());
  // Pages of four epochs, so the epoch's place in its page counts.
  PageSeconds = 120;
  Doc().SetPageData();
  Screen();
  ScreeningRunning = 0;
  CMainFrame& frame = Frame();
  // Mean of C3-A2, maximum of the chin EMG, delta time, CV% of SpO2.
  ParameterBarCodes = {28, 27, 1, 32, 0, 0};
  ParameterBarChannels = {0, 4, 0, 9, 0, 0};
  frame.ReloadParameterCombos();
  frame.JumpToEpoch(0, 1);

  const auto slider = [](int epoch) {
    return [epoch](CMainFrame& f) {
      f.EpochBar->Item(1505).SetPos(epoch * 10000 / 240 + 20);
      ui::NotifyHeader h{1505, ui::TB_ENDTRACK};
      f.EpochBar->SendMessage(ui::WM_NOTIFY, 1505, reinterpret_cast<std::intptr_t>(&h));
    };
  };
  const auto jump = [](int epoch) {
    return [epoch](CMainFrame& f) {
      testhooks::ScriptDialog(259, [epoch](ui::Dialog& d) {
        d.SetDlgItemText(1958, std::to_string(epoch));
        d.ClickButton(ui::IDOK);
      });
      ui::ExecuteCommand(f, 33096);
    };
  };
  const std::vector<Move> moves = {
      {"right arrow", [](CMainFrame& f) { testhooks::PressKey(f, ui::VK_RIGHT); }, 1},
      {"right arrow", [](CMainFrame& f) { testhooks::PressKey(f, ui::VK_RIGHT); }, 2},
      {"page down", [](CMainFrame& f) { testhooks::PressKey(f, ui::VK_NEXT); }, 4},
      {"epoch jump", jump(45), 45},
      {"slider", slider(5), 5},
      {"scoring key", [](CMainFrame& f) { testhooks::PressKey(f, ui::VK_NUMPAD0 + 2); }, 6},
      {"slider", slider(203), 203},
      {"left arrow", [](CMainFrame& f) { testhooks::PressKey(f, ui::VK_LEFT); }, 202},
  };
  auto* bar = static_cast<ui::DialogBar*>(frame.ParameterBar);
  const LyrEpochParameter& tables = Doc().EpochTables;
  for (const Move& m : moves) {
    SCOPED_TRACE(std::string(m.name) + " to epoch " + std::to_string(m.epoch));
    m.run(frame);
    ASSERT_EQ(Doc().CurrentEpoch, m.epoch);
    // The page is drawn, which computes its values.
    testhooks::RenderWindow(frame);
    const int e = m.epoch;
    EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[0]), Format(" %.3f", tables.ChValues(e, kChMean)[0]));
    EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[1]), Format(" %.3f", tables.ChValues(e, kChMax)[4]));
    EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[2]),
              Format(" %.1f", tables.Record(e)->wave[kWaveDelta].durationMs * 100.0 / (30 * 1000.0)));
    EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[3]), Format(" %.3f", tables.ChValues(e, kChCoefVariation)[9]));
  }

  // Closing the recording empties the bar.
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(ui::ExecuteCommand(frame, 57600));  // File > Close
  EXPECT_EQ(DocumentLoaded, 0);
  for (int slot = 0; slot < kParameterBarSlots; ++slot) EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[slot]), "");
}

}  // namespace

namespace {

using TimeBox = SampleNightTest;

TEST_F(TimeBox, ShowsDateAndClockTimeWholeInBothDisplays) {
  const FixedScreen laptop(1366, 768);
  ASSERT_TRUE(StartOnNight());
  Frame().ShowWindow(ui::SW_SHOWMAXIMIZED);
  Frame().JumpToEpoch(200, 1);
  LyrFrameBar& bar = *Frame().EpochBar;
  const std::uint16_t saved = ClockTimeDisplay;
  for (const std::uint16_t clock : {std::uint16_t{1}, std::uint16_t{0}}) {
    ClockTimeDisplay = clock;
    Frame().UpdateFrameBarTime();
    const std::string shown = bar.GetDlgItemText(1501);
    std::string label;
    Doc().GetEpochTimeString(200, label);
    EXPECT_EQ(shown, label);
    // Clock time: the date and the time of day; elapsed time: the day and the time.
    EXPECT_GE(shown.size(), clock ? 19u : 10u) << shown;
    for (const auto& p : testhooks::FindUnfittedControls(bar))
      ADD_FAILURE() << "control " << p.controlId << " \"" << p.text << "\": " << p.problem;
  }
  ClockTimeDisplay = saved;
}

}  // namespace
