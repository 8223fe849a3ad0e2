// The zoom pane: spans picked on the wave page (free and 1-3 s areas), one time axis for two
// sampling rates, the measuring modes driven by the menu, clicks and the peak dialog, the
// latency read-out and the peak search between two clicks.
#include <functional>
#include <string>
#include <vector>

#include "app/frame/lyr_dlg_peak_information.h"
#include "app/raw/raw_mouse.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "tests/navigation/nav_fixture.h"

namespace {

class ZoomPane : public NavTest {
 protected:
  // Channel 0 at 10 Hz rises 0..100 over the 10-s page; channel 1 at 20 Hz is a square wave
  // whose equal maxima start at sample 5.
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& d = Doc();
    PageSeconds = 10;
    EpochSeconds = 10;
    ClockTimeDisplay = 0;
    d.RecordInfo.channelCount = 2;
    d.ChInfo[0].rate = 10;
    d.ChInfo[0].name = "EEG";
    d.ChInfo[0].unit = "uV";
    d.ChInfo[1].rate = 20;
    d.ChInfo[1].name = "EMG";
    d.ChInfo[1].unit = "uV";
    d.CurrentPage = 0;
    std::vector<float>& page = d.RecordInfo.pageBuffers[2];
    page.assign(101 + 201, 0.0f);
    for (int i = 0; i <= 100; ++i) page[static_cast<std::size_t>(i)] = static_cast<float>(i);
    for (int i = 0; i <= 200; ++i) page[101 + static_cast<std::size_t>(i)] = (i / 5) % 2 != 0 ? 2.5f : -1.5f;
    Zoom().ResetZoom();
  }
  void TearDown() override {
    Zoom().ResetZoom();
    Doc().RecordInfo.pageBuffers[2].clear();
    NavTest::TearDown();
  }
  LyrWorkspaceZoomView& Zoom() { return *Frame().WorkspaceTabs.ZoomPane; }
  LyrWorkspaceFrame& WsFrame() { return *Frame().WorkspaceView()->Frame(); }
  // Renders into 600 x 300: the wave area runs from 5 to (595 x 85 / 100) + 5 = 510.
  void Render() {
    draw::Image image(600, 300, 32);
    draw::Dc dc(image);
    Zoom().Render(dc, draw::Rect{0, 0, 600, 300});
  }
  static constexpr int kLeft = 5;
  static constexpr int kRight = 510;
  ui::Point At(int x) { return ui::Point{x, 200}; }
};

TEST_F(ZoomPane, TwoRatesShareOneTimeAxis) {
  Zoom().Spans[0] = {1, 20, 60};   // 2 .. 6 s
  Zoom().Spans[1] = {1, 0, 200};   // 0 .. 10 s
  Render();
  // 506 columns over 10 s: 50.6 px a second. Channel 0 starts at 5 + trunc(2 x 50.6) = 106.
  const int x4s = kLeft + static_cast<int>(4 * 50.6);
  EXPECT_NEAR(Zoom().Readout[0].sample[static_cast<std::size_t>(x4s)], 40, 1);
  EXPECT_NEAR(Zoom().Readout[1].sample[static_cast<std::size_t>(x4s)], 80, 1);
  Zoom().ShowReadout(x4s);
  ASSERT_EQ(Zoom().ReadoutTexts.size(), 3u);
  EXPECT_EQ(Zoom().ReadoutTexts[1].substr(0, 9), "   40.000");
}

TEST_F(ZoomPane, ModesFollowCommandsClicksAndTheDialog) {
  Zoom().Spans[0] = {1, 0, 100};
  Render();
  struct Step {
    const char* what;
    std::function<void()> act;
    int mode;
  };
  LyrWorkspaceZoomView& z = Zoom();
  const Step steps[] = {
      {"Latency", [&] { ui::ExecuteCommand(WsFrame(), 32974); }, 3},
      {"left click marks", [&] { z.OnLButtonUp(0, At(100)); }, 4},
      {"right click drops the mark", [&] { z.OnRButtonUp(0, At(100)); }, 3},
      {"left click marks again", [&] { z.OnLButtonUp(0, At(120)); }, 4},
      {"right click", [&] { z.OnRButtonUp(0, At(120)); }, 3},
      {"right click leaves latency", [&] { z.OnRButtonUp(0, At(120)); }, 0},
      {"Peak Detect", [&] { ui::ExecuteCommand(WsFrame(), 32975); }, 5},
      {"left click marks", [&] { z.OnLButtonUp(0, At(100)); }, 6},
      {"second click searches", [&] { z.OnLButtonUp(0, At(300)); }, 5},
      {"mark again", [&] { z.OnLButtonUp(0, At(100)); }, 6},
      {"right click drops it", [&] { z.OnRButtonUp(0, At(100)); }, 5},
      {"right click closes the dialog", [&] { z.OnRButtonUp(0, At(100)); }, 0},
      {"Peak Detect again", [&] { ui::ExecuteCommand(WsFrame(), 32975); }, 5},
      {"the dialog closes itself", [&] { z.PeakDlg()->EndDialog(2); }, 0},
  };
  for (const Step& s : steps) {
    s.act();
    ui::PumpPendingMessages();
    EXPECT_EQ(z.Mode, s.mode) << s.what;
  }
  EXPECT_EQ(z.PeakDlg(), nullptr);
}

TEST_F(ZoomPane, LatencyIsAbsoluteAndZeroHasNoFrequency) {
  Zoom().Spans[0] = {1, 0, 100};
  Render();
  // 506 columns over 10 s: the column of 5 s is 5 + 253 = 258 (sample 50).
  const int mark = kLeft + 253;
  Zoom().Mode = 3;
  Zoom().OnLButtonUp(0, At(mark));
  ASSERT_EQ(Zoom().Mode, 4);
  EXPECT_EQ(Zoom().MarkTimeMs, 5000);
  {
    // A repaint draws the mark line again, across the wave area.
    draw::Image image(600, 300, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 600, 300}, draw::Rgb(255, 255, 255));
    Zoom().Render(dc, draw::Rect{0, 0, 600, 300});
    EXPECT_NE(image.GetPixel(mark, 250), draw::Rgb(255, 255, 255));
  }
  // 2.5 s left of the mark (sample 25): latency 2.5 s, 0.4 Hz; values differ by 25.
  const int left = kLeft + static_cast<int>(2.5 * 50.6) + 1;
  ASSERT_EQ(Zoom().Readout[0].sample[static_cast<std::size_t>(left)], 25u);
  Zoom().ShowReadout(left);
  EXPECT_EQ(Zoom().ReadoutTexts, (std::vector<std::string>{"00:02.500", "0.400Hz", "   25.000uV"}));
  Zoom().ShowReadout(mark);
  EXPECT_EQ(Zoom().ReadoutTexts, (std::vector<std::string>{"00:00.000", "    0.000uV"}));
  // Outside the latency mode the time of the column is shown.
  Zoom().OnRButtonUp(0, At(mark));
  Zoom().OnRButtonUp(0, At(mark));
  Zoom().ShowReadout(mark);
  EXPECT_EQ(Zoom().ReadoutTexts[0], "01.00:00:05.000");
}

TEST_F(ZoomPane, PeakSearchBetweenTwoClicksKeepsTheEarliestOfEqualMaxima) {
  Zoom().Spans[1] = {1, 0, 200};
  Render();
  Zoom().Mode = 5;
  Zoom().OnLButtonUp(0, At(kRight));
  Zoom().OnLButtonUp(0, At(kLeft));
  const ZoomPeakRecord& p = Zoom().Peaks[1];
  EXPECT_EQ(p.maxIndex, 5);
  EXPECT_EQ(p.maxValue, 2.5f);
  EXPECT_EQ(p.minIndex, 0);
}

TEST_F(ZoomPane, RawPagePicksTheSpansOfTheChannelsBetween) {
  CQLM2_AnalyzerDoc& d = Doc();
  d.RecordInfo.channelCount = 3;
  d.ChInfo[2].rate = 20;
  for (int c = 0; c < 3; ++c) {
    auto& readX = d.ChInfo[static_cast<std::size_t>(c)].readX;
    readX.resize(501);
    for (int x = 0; x <= 500; ++x) readX[static_cast<std::size_t>(x)] = x * d.ChInfo[static_cast<std::size_t>(c)].rate * 10 / 500;
  }
  d.ChInfo[1].show = 0;
  ASSERT_TRUE(RawPreview.zoomRange);
  struct Case {
    std::uint16_t area;
    int pressX, releaseX;
    ZoomSpan span0, span2;
  } cases[] = {
      // Free: columns ordered, channel 0 from 100 to 300 (2 .. 6 s); channel 1 is not shown.
      {0, 300, 100, {1, 20, 60}, {1, 40, 120}},
      // 2 s from the press column.
      {2, 100, 50, {1, 20, 40}, {1, 40, 80}},
      // 3 s from 9 s is moved back to end on the page's last sample.
      {3, 450, 460, {1, 69, 99}, {1, 139, 199}},
      // 1 s from the page's start.
      {1, 0, 450, {1, 0, 10}, {1, 0, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.area);
    Zoom().AreaMode = c.area;
    RawPreview.zoomRange(RawPreviewPick{2, 2, 0, 0, c.pressX}, RawPreviewPick{2, 0, 0, 0, c.releaseX});
    EXPECT_EQ(Zoom().Spans[0].first, c.span0.first);
    EXPECT_EQ(Zoom().Spans[0].last, c.span0.last);
    EXPECT_EQ(Zoom().Spans[1].shown, 0);
    EXPECT_EQ(Zoom().Spans[2].first, c.span2.first);
    EXPECT_EQ(Zoom().Spans[2].last, c.span2.last);
  }
  d.ChInfo[1].show = 1;
}

TEST_F(ZoomPane, OneInstantDrawsOnlyTheOutline) {
  Zoom().Spans[0] = {1, 30, 30};
  draw::Image image(600, 300, 32);
  draw::Dc dc(image);
  dc.FillSolidRect(draw::Rect{0, 0, 600, 300}, draw::Rgb(255, 255, 255));
  Zoom().Render(dc, draw::Rect{0, 0, 600, 300});
  EXPECT_EQ(image.GetPixel(kLeft, 150), draw::Rgb(0, 0, 0));
  EXPECT_EQ(image.GetPixel(200, 150), draw::Rgb(255, 255, 255));
}

}  // namespace
