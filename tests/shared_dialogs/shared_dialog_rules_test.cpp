#include "app/frame/shared_dialog_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "app/document/ch_info.h"
#include "app/frame/window_command_states.h"

namespace {

TEST(SharedDialogRules, OfferedStageCodes) {
  EXPECT_EQ(OfferedStageCodes(0, 0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(OfferedStageCodes(1, 3), (std::vector<int>{1, 2, 3, 4, 5, 7, 8, 9, 10}));
  EXPECT_EQ(OfferedStageCodes(2, 1), (std::vector<int>{1, 2, 3, 5, 7, 8}));
  EXPECT_EQ(OfferedStageCodes(3, 2), (std::vector<int>{1, 2, 3, 7, 8, 9}));
}

TEST(SharedDialogRules, ChannelSelectionKeepsTheFirstRate) {
  const std::vector<std::int32_t> rates{100, 200, 100, 200, 100};
  EXPECT_EQ(KeepFirstSelectedRate({0, 1, 2, 3}, rates), (std::vector<int>{0, 2}));
  EXPECT_EQ(KeepFirstSelectedRate({1, 2, 3, 4}, rates), (std::vector<int>{1, 3}));
  EXPECT_TRUE(KeepFirstSelectedRate({}, rates).empty());
}

TEST(SharedDialogRules, JumpEpochAndWaitTime) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> epoch;
  };
  const Case cases[] = {{"0", 0}, {"959", 959}, {"960", std::nullopt}, {"-1", std::nullopt},
                        {" 12abc", 12}, {"", 0}, {"99999999999999", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ParseJumpEpoch(c.text, 960), c.epoch) << c.text;

  EXPECT_EQ(WaitTimeRadioOf(0), IDC_WAIT_NONSTOP);
  EXPECT_EQ(WaitTimeRadioOf(1), IDC_WAIT_1SEC);
  EXPECT_EQ(WaitTimeRadioOf(5), IDC_WAIT_5SEC);
  EXPECT_EQ(WaitTimeRadioOf(3), IDC_WAIT_FREE);
  EXPECT_EQ(WaitTimeOf(IDC_WAIT_FREE, -3), 0);
  EXPECT_EQ(WaitTimeOf(IDC_WAIT_FREE, 1), 1);
  EXPECT_EQ(WaitTimeOf(IDC_WAIT_2SEC, 99), 2);
}

TEST(SharedDialogRules, ProgressRangeAboveSixteenBitsStillReachesItsEnd) {
  const ProgressScale small{0, 1000};
  EXPECT_EQ(small.Shown(500), 500u);
  const ProgressScale big{0, 200000};
  EXPECT_EQ(big.Shown(200000), 65535u);
  EXPECT_EQ(big.Shown(100000), 32767u);
  EXPECT_EQ(big.Shown(0), 0u);
  EXPECT_EQ(big.Shown(300000), 65535u);  // past the end stays at the end
}

TEST(SharedDialogRules, FastestChannel) {
  std::array<LyrChInfo, 3> chs;
  chs[0].rate = 100;
  chs[1].rate = 500;
  chs[2].rate = 200;
  chs[1].show = 0;
  EXPECT_EQ(FastestChannel(chs.data(), 3, false).channel, 1);
  const ChannelRate shown = FastestChannel(chs.data(), 3, true);
  EXPECT_EQ(shown.channel, 2);
  EXPECT_EQ(shown.rate, 200u);
  for (auto& c : chs) c.show = 0;
  EXPECT_FALSE(FastestChannel(chs.data(), 3, true).Found());
  EXPECT_EQ(FastestChannel(chs.data(), 0, false).channel, -1);
}

TEST(WindowCommandStates, UpdateConditionsOverTheFrameStates) {
  FrameWindowState idle;
  idle.loaded = true;
  struct Case {
    const char* name;
    std::function<void(FrameWindowState&)> change;
    // Expected enable per command, in the order of ids below.
    const char* enabled;
  };
  // 32835 32848 32985 33097 33098 33102 33128 33080 33049 33166 33103 32823 33096 32790 32775
  const std::uint32_t ids[] = {ID_DATA_PROCESSING,     ID_ANALYSIS_RANGE,   ID_SCREENING,    ID_WAVE_DETECT_SETTING,
                               ID_WAVE_DETECT_LIST,    ID_PARAMETER_OUTPUT, ID_AVI_OUTPUT,   ID_VIDEO_FILE_OPEN,
                               ID_RESULT_FILE_COMPARE, ID_MULTI_SCREENING,  ID_AUTO_SCROLL,  ID_SCREEN_ITEM,
                               ID_EPOCH_JUMP,          ID_DISPLAY_OPTION,   ID_PAGE_TIME};
  const std::vector<Case> cases = {
      {"loaded, idle", [](FrameWindowState&) {}, "111111111111111"},
      {"nothing loaded", [](FrameWindowState& s) { s.loaded = false; }, "010000001100000"},
      {"batch running", [](FrameWindowState& s) { s.screeningRunning = true; }, "010000001000000"},
      {"batch paused", [](FrameWindowState& s) { s.screeningRunning = true; s.screeningPaused = true; },
       "010000001001100"},
      {"report open", [](FrameWindowState& s) { s.reportOpen = true; }, "010111001011111"},
      {"screening window open", [](FrameWindowState& s) { s.screeningOpen = true; }, "010111101011111"},
      {"multi-screening open", [](FrameWindowState& s) { s.multiScreeningOpen = true; }, "010110001011111"},
      {"analysis range open", [](FrameWindowState& s) { s.analysisRangeOpen = true; }, "101111111111111"},
      {"AVI window open", [](FrameWindowState& s) { s.aviOpen = true; }, "111111011111111"},
      {"auto-play running", [](FrameWindowState& s) { s.autoPlayRunning = true; }, "111111101111111"},
      {"video pane busy", [](FrameWindowState& s) { s.videoBound = true; s.videoPaneBusy = true; s.videoOpenState = 1; },
       "110111111001111"},
      {"video pane busy, library not bound", [](FrameWindowState& s) { s.videoPaneBusy = true; },
       "111111111111111"},
      {"video bound, not open", [](FrameWindowState& s) { s.videoBound = true; }, "111111101111111"},
      {"workspace state word set", [](FrameWindowState& s) { s.workspaceStateWord = 3; }, "110111111111111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrameWindowState s = idle;
    c.change(s);
    std::string got;
    for (std::uint32_t id : ids) got += WindowCommandState(id, s)->enabled ? '1' : '0';
    EXPECT_EQ(got, c.enabled);
  }
  FrameWindowState open = idle;
  open.analysisRangeOpen = true;
  open.screeningOpen = true;
  EXPECT_EQ(WindowCommandState(ID_ANALYSIS_RANGE, open)->checked, 1);
  EXPECT_EQ(WindowCommandState(ID_SCREENING, open)->checked, 1);
  EXPECT_EQ(WindowCommandState(ID_AUTO_SCROLL, idle)->checked, 1);
  FrameWindowState batch = idle;
  batch.screeningRunning = true;
  EXPECT_EQ(WindowCommandState(ID_AUTO_SCROLL, batch)->checked, 0);
  EXPECT_EQ(WindowCommandState(ID_AUTO_SCROLL, FrameWindowState{})->checked, -1);
  EXPECT_FALSE(WindowCommandState(57600, idle).has_value());
}

}  // namespace
