// The divided-page spectrum pane: bars in band colours, outlines by bar width, guards against
// empty geometry and a zero maximum, and the readout at the same place in every division.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/menu.h"

namespace {

constexpr int kRate = 100;

class DividedSpectrum : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {EpochSeconds, PageSeconds};
    savedColours_ = DisplayColors;
    EpochSeconds = 30;
    PageSeconds = 120;
    DisplayColors[0] = draw::Rgb(255, 255, 255);
    DisplayColors[2] = draw::Rgb(255, 255, 255);
    doc_.RecordSeconds = 3600;
    doc_.CurrentPage = 3;
    doc_.RecordInfo.channelCount = 1;
    doc_.ChInfo[0].rate = kRate;
    doc_.ChInfo[0].dataCount = 3600 * kRate;
    FFTPageParam& fp = doc_.Params.fftPage;
    fp.dividedPerEpoch = 0;
    fp.dividedCount = 4;
    fp.dividedAveraging = 5;
    fp.dividedFftPoints = 256;
    fp.windowType = 2;
    fp.dividedUpperHz = 20.0f;
    doc_.Params.fftPageChannels.channels = {0, -1, -1};
    doc_.RecordInfo.pageBuffers[2].assign(static_cast<std::size_t>(kRate) * PageSeconds + 1, 0.0f);
    // Four divisions of 129 bins; division j peaks at bin 5 + 10 j over a floor of 1.
    std::vector<float>& values = doc_.DividedSpectra.slots[2][0];
    values.assign(4 * 129, 1.0f);
    for (int j = 0; j < 4; ++j) values[static_cast<std::size_t>(j) * 129 + 5 + 10 * j] = 40.0f;
  }
  void TearDown() override {
    EpochSeconds = saved_[0];
    PageSeconds = saved_[1];
    DisplayColors = savedColours_;
  }
  CQLM2_AnalyzerDoc doc_;
  std::array<int, 2> saved_{};
  std::array<std::uint32_t, 9> savedColours_{};
};

struct PaneImage {
  int Count(draw::ColorRef c) const {
    int n = 0;
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) n += dc->GetPixel(x, y) == c;
    }
    return n;
  }
  draw::Image image{400, 120, 32};
  std::unique_ptr<draw::Dc> dc = std::make_unique<draw::Dc>(image);
};

TEST_F(DividedSpectrum, PaneDrawsBarsInBandColoursAndGuardsEmptyGeometry) {
  FFTPageParam& fp = doc_.Params.fftPage;
  fp.bandCount = 1;
  fp.bands[0].fromHz = 0.0;
  fp.bands[0].toHz = 50.0;
  fp.bandColours[0] = draw::Rgb(0, 200, 0);
  LyrFFTDiviedPageView pane;
  pane.SetDocument(&doc_);
  pane.SetRowIndex(2);
  {
    // 4 divisions of 100 pixels, 52 bins of about 1.9 pixels: filled without outline.
    PaneImage img;
    pane.DrawSpectra(*img.dc, 400, 120);
    EXPECT_GT(img.Count(draw::Rgb(0, 200, 0)), 50);
    EXPECT_EQ(img.Count(draw::Rgb(0, 0, 0)), 0);
  }
  {
    // Up to 4 Hz: 11 bins of about 9 pixels, outlined in black.
    fp.dividedUpperHz = 4.0f;
    PaneImage img;
    pane.DrawSpectra(*img.dc, 400, 120);
    EXPECT_GT(img.Count(draw::Rgb(0, 0, 0)), 0);
  }
  {
    // A fixed maximum of 0: no bars, no division by it.
    doc_.Params.fftPageChannelValues.word = 1;
    doc_.Params.fftPageChannelValues.lower[0] = 0.0f;
    PaneImage img;
    pane.DrawSpectra(*img.dc, 400, 120);
    EXPECT_EQ(img.Count(draw::Rgb(0, 200, 0)), 0);
  }
  {
    // No channel slot: only the background.
    doc_.Params.fftPageChannels.channels = {-1, -1, -1};
    PaneImage img;
    pane.DrawSpectra(*img.dc, 400, 120);
    EXPECT_EQ(img.Count(draw::Rgb(255, 255, 255)), 400 * 120);
  }
  pane.SetDocument(nullptr);
}

TEST_F(DividedSpectrum, ReadoutSharesItsOffsetAcrossDivisionsAndRows) {
  LyrFFTDiviedPageView pane;
  pane.SetDocument(&doc_);
  pane.SetRowIndex(2);
  PaneImage img;
  pane.DrawSpectra(*img.dc, 400, 120);
  // x 237 lies in division 2 (200 .. 300): offset 37 for every division.
  EXPECT_EQ(pane.SetCursorReadout(237), 37);
  EXPECT_EQ(LyrFFTDiviedPageView::CursorOffset(), 37);
  EXPECT_EQ(pane.SetCursorReadout(401), -1);  // beyond the readout width
  EXPECT_GE(pane.ReadBin(237), 0);
  // Bin under x = 37 of division 0 is the bar's bin: about 37 / (98 / 52) bins in.
  EXPECT_NEAR(pane.ReadBin(37), 37 * 52 / 98, 1);

  LyrFFTDiviedPageView other;  // a row without a page buffer has no readout
  other.SetDocument(&doc_);
  other.SetRowIndex(0);
  other.InitReadXY(400);
  EXPECT_EQ(other.SetCursorReadout(10), -1);
  other.SetDocument(nullptr);
  pane.SetDocument(nullptr);
}

// A right click offers the page-FFT channels and the FFT scale; the choice is passed on.
TEST_F(DividedSpectrum, RightClickOffersPageFftChannelsAndScale) {
  ui::EnsureToolkit();
  testhooks::Reset();
  auto menu = ui::Menu::Load(2401);
  ASSERT_TRUE(menu);
  ASSERT_NE(menu->GetSubMenu(0), nullptr);
  EXPECT_EQ(menu->GetSubMenu(0)->GetItemText(32824), "Select Channels...(&D)");
  EXPECT_EQ(menu->GetSubMenu(0)->GetItemText(32825), "Scale...(&S)");
  LyrFFTDiviedPageView pane;
  testhooks::AnswerPopupMenu(32825);
  EXPECT_EQ(pane.TrackSpectrumMenu({10, 10}), 32825u);
  testhooks::AnswerPopupMenu(0);
  EXPECT_EQ(pane.TrackSpectrumMenu({10, 10}), 0u);
  testhooks::Reset();
}

}  // namespace
