// The spectrum panes: shown bins and bar widths against the display range, band colours,
// band sums, the layout with and without band bars, and off-screen renders of the epoch pane
// (two sampling rates) and the simple pane checked at known columns, with the read-out texts.
#include <cmath>
#include <string>
#include <vector>

#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_fft_views.h"
#include "app/workspace/spectrum_rows.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "tests/navigation/nav_fixture.h"

namespace {

constexpr draw::ColorRef kRed = draw::Rgb(255, 0, 0);
constexpr draw::ColorRef kGreen = draw::Rgb(0, 200, 0);
constexpr draw::ColorRef kBlue = draw::Rgb(0, 0, 255);
constexpr draw::ColorRef kOutside = draw::Rgb(170, 170, 170);

FFTPageParam Bands() {
  FFTPageParam fp;
  fp.bandCount = 3;
  fp.bands[0] = {"Delta", 0.0, 4.0};
  fp.bands[1] = {"Theta", 4.0, 8.0};
  fp.bands[2] = {"Over", 6.0, 7.0};  // overlaps the second band
  fp.bandColours = {kRed, kGreen, kBlue, 0, 0, 0};
  fp.outsideColour = kOutside;
  return fp;
}

TEST(SpectrumRows, ShownBinsBarWidthAndAxisEnd) {
  struct Case {
    double range, rate;
    int points, width;
    int shown;
    double barWidth, endHz;
  } cases[] = {
      // df = 200 / 256 = 0.78125: 20 Hz shows trunc(25.6) + 1 = 26 bins, end 25 x df.
      {20.0, 200.0, 256, 260, 26, 10.0, 25 * 0.78125},
      // Above fs / 2: N/2 + 1 = 129 bins, end (N/2) x df = 100 Hz.
      {150.0, 200.0, 256, 258, 129, 2.0, 100.0},
      // One bin shown (below 2): the width takes N/2 + 1.
      {0.5, 200.0, 256, 258, 1, 2.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    EXPECT_EQ(spectrum::ShownBins(c.range, c.rate, c.points), c.shown);
    EXPECT_DOUBLE_EQ(spectrum::BarWidth(c.width, c.range, c.rate, c.points), c.barWidth);
    EXPECT_DOUBLE_EQ(spectrum::AxisEndHz(c.range, c.rate / c.points, c.points), c.endHz);
  }
}

TEST(SpectrumRows, BandColoursSumsAndGains) {
  const FFTPageParam fp = Bands();
  EXPECT_EQ(spectrum::BinColour(fp, 1.0), kRed);
  EXPECT_EQ(spectrum::BinColour(fp, 6.5), kBlue) << "a bin in two bands takes the later one";
  EXPECT_EQ(spectrum::BinColour(fp, 7.5), kGreen);
  EXPECT_EQ(spectrum::BinColour(fp, 8.0), kOutside) << "upper edges are outside";

  // df = 1: bins 0..9. Percentage range 0.75..10 covers bins 1..9.
  const std::vector<float> values = {5, 1, 1, 1, 1, 2, 2, 2, 0, 0};
  auto sums = spectrum::BandSums(fp, values, 18, 1.0, 100, false);
  EXPECT_DOUBLE_EQ(sums[0], 8.0);  // bins 0..3
  EXPECT_DOUBLE_EQ(sums[1], 7.0);  // bins 4..7
  EXPECT_DOUBLE_EQ(sums[2], 2.0);  // bin 6
  sums = spectrum::BandSums(fp, values, 18, 1.0, 100, true);
  EXPECT_DOUBLE_EQ(sums[0], 8.0 / 10.0 * 100.0);
  // A zero total over the percentage range leaves the sums.
  const std::vector<float> low = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_DOUBLE_EQ(spectrum::BandSums(fp, low, 18, 1.0, 100, true)[0], 3.0);
  // Bins past the value count are never read, whatever the bin count says.
  EXPECT_DOUBLE_EQ(spectrum::BandSums(fp, std::vector<float>{1, 1}, 256, 1.0, 1000, false)[0], 2.0);
  // An all-zero spectrum gives flat bars instead of a division by zero.
  EXPECT_EQ(spectrum::GainFor(100.0, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(spectrum::GainFor(100.0, 2.0), 45.0);
}

TEST(SpectrumRows, LayoutWithAndWithoutBandBars) {
  const draw::Rect client{0, 0, 431, 220};
  const spectrum::RowRects on = spectrum::RowLayout(client, 20, 2, 1, true);
  // W = 430 - 130 = 300: spectrum 70 %, band area 30 % at the usable right.
  EXPECT_EQ(on.spectrum.left, 130);
  EXPECT_EQ(on.spectrum.right, 340);
  EXPECT_EQ(on.band.left, 340);
  EXPECT_EQ(on.band.right, 430);
  EXPECT_EQ(on.spectrum.top, 100);
  EXPECT_EQ(on.spectrum.bottom, 200);
  const spectrum::RowRects off = spectrum::RowLayout(client, 20, 2, 1, false);
  EXPECT_EQ(off.spectrum.right, 430);
  EXPECT_EQ(off.band.Width(), 0);
}

class SpectrumPanes : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.channelCount = 3;
    d.ChInfo[0] = LyrChInfo();
    d.ChInfo[0].name = "C3";
    d.ChInfo[0].unit = "uV";
    d.ChInfo[0].rate = 500;
    d.ChInfo[1].name = "EMG";
    d.ChInfo[1].rate = 100;
    d.ChInfo[2].name = "O2";
    d.ChInfo[2].unit = "uV";
    d.ChInfo[2].rate = 200;
    FFTPageParam& fp = d.Params.fftPage;
    fp = Bands();
    fp.epochFftPoints = 256;
    fp.epochUpperHz = 20.0f;
    fp.simpleFftPoints = 256;
    fp.simpleUpperHz = 20.0f;
    fp.unit = 0;
    d.Params.fftPageSelection.flags = {};
    d.Params.fftPageSelection.flags[0] = 1;
    d.Params.fftPageSelection.flags[2] = 1;
    d.Params.fftPageChannelValues.word = 0;
    d.EpochSpectra.channels.assign(3, EpochSpectrum{});
    for (int c : {0, 2}) {
      EpochSpectrum& s = d.EpochSpectra.channels[static_cast<std::size_t>(c)];
      s.binCount = 129;
      s.values.resize(129);
      for (int i = 0; i < 129; ++i) s.values[static_cast<std::size_t>(i)] = c == 0 ? 1.0f + i : 10.0f + i;
    }
  }
  void TearDown() override {
    Doc().EpochSpectra.channels.clear();
    Doc().SimpleSpectrum = {};
    NavTest::TearDown();
  }
  LyrWorkspaceFFTEpochView& Epoch() { return *Frame().WorkspaceTabs.FFTStrip->EpochPane; }
  LyrWorkspaceFFTSimpleView& Simple() { return *Frame().WorkspaceTabs.FFTStrip->SimplePane; }

  // Client 351 wide: usable right 350, spectrum from 130 to 350 (221 columns) without bands.
  draw::Image Render(LyrWorkspaceSpectrumPane& pane, int height = 300) {
    draw::Image image(351, height, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 351, height}, draw::Rgb(255, 255, 255));
    pane.Render(dc, draw::Rect{0, 0, 351, height});
    return image;
  }
  static spectrum::RowRects SpectrumOf(draw::Dc& dc, int rows, int r, int height = 300) {
    return spectrum::RowLayout(draw::Rect{0, 0, 351, height}, spectrum::AxisStrip(dc), rows, r, false);
  }
};

TEST_F(SpectrumPanes, EpochPaneColoursEachRateByItsOwnBinsAndReadsOut) {
  draw::Image scratch(1, 1, 32);
  draw::Dc dc(scratch);
  const draw::Rect row0 = SpectrumOf(dc, 2, 0).spectrum;
  const draw::Rect row1 = SpectrumOf(dc, 2, 1).spectrum;
  ASSERT_EQ(row0.left, 130);
  ASSERT_EQ(row0.right, 350);
  const int h0 = row0.bottom - row0.top;
  // 500 Hz: df = 1.953125, 11 bins of 221 / 11 = 20.09 px (outlined); bin i's middle column.
  auto mid0 = [](int i) { return 130 + static_cast<int>(std::trunc(221.0 / 11 * i)) + 10; };
  // 200 Hz: df = 0.78125, 26 bins of 221 / 26 = 8.5 px.
  auto mid1 = [](int i) { return 130 + static_cast<int>(std::trunc(8.5 * i)) + 4; };
  struct Probe {
    int x, y;
    draw::ColorRef colour;
    const char* why;
  };
  // Mode 0: one maximum for both rows, 35 (row 1's bin 25); row 0's bin 10 (value 11) reaches
  // 0.9 x h0 x 11 / 35, below the row's middle.
  Doc().Params.fftPageChannelValues.word = 0;
  draw::Image image = Render(Epoch());
  const Probe common[] = {
      {mid0(1), row0.bottom - 4, kRed, "1.95 Hz in the first band"},
      {mid0(3), row0.bottom - 4, kGreen, "5.86 Hz in the second band only"},
      {mid0(10), row0.bottom - 4, kOutside, "19.5 Hz in no band"},
      {mid0(10), row0.bottom - h0 / 2, draw::Rgb(255, 255, 255), "common maximum keeps row 0 low"},
      {mid1(6), row1.bottom - 4, kGreen, "4.69 Hz"},
      {mid1(8), row1.bottom - 4, kBlue, "6.25 Hz lies in two bands: the later colour"},
      {mid1(25) , row1.bottom - 4, kOutside, "19.5 Hz"},
  };
  for (const Probe& p : common) EXPECT_EQ(image.GetPixel(p.x, p.y), p.colour) << p.why << " at " << p.x << "," << p.y;

  // Mode 1: each row by its own maximum, so row 0's last bin stands at 90 % of the row.
  Doc().Params.fftPageChannelValues.word = 1;
  image = Render(Epoch());
  EXPECT_EQ(image.GetPixel(mid0(10), row0.bottom - h0 / 2), kOutside);

  // The read-out under row 0's bin 1: that bin's frequency; row 1 shows its bin at the same
  // column (30 -> bin 3, value 13).
  Epoch().OnMouseMove(0, ui::Point{mid0(1), row0.top + 5});
  EXPECT_EQ(Epoch().ReadoutTexts, (std::vector<std::string>{"  1.953Hz", "    2.000uV^2", "   13.000uV^2"}));
  // Over the label column nothing changes.
  Epoch().OnMouseMove(0, ui::Point{50, row0.top + 5});
  EXPECT_EQ(Epoch().ReadoutTexts[1], "    2.000uV^2");
}

TEST_F(SpectrumPanes, BarKindsFollowTheBarWidth) {
  // Widths 2.9, 4.9 and 5.0 px: lines, fills, outlined rectangles. One bin of 100 Hz at df 1.
  const FFTPageParam fp = Bands();
  const std::vector<float> values = {1.0f, 1.0f, 1.0f, 1.0f};
  struct Case {
    int width;  // area columns; bar width = width / 4 with range 3 Hz (4 bins shown)
    bool outlined;
  } cases[] = {{11, false}, {19, false}, {20, true}};  // 2.75, 4.75, 5.0
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    draw::Image image(40, 40, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 40, 40}, draw::Rgb(255, 255, 255));
    const draw::Rect area{0, 0, c.width - 1, 30};
    spectrum::DrawBars(dc, area, fp, {values, 8, 8.0, 3.0, 20.0}, {}, {});
    // Bars are 20 px high from the bottom (y 10..29); the top edge is black only when outlined.
    EXPECT_EQ(image.GetPixel(2, 10) == draw::Rgb(0, 0, 0), c.outlined);
    EXPECT_EQ(image.GetPixel(2, 20), kRed) << "filled in the band colour";
  }
}

TEST_F(SpectrumPanes, BandAreaOnlyWithBandBarsAndFlatBarsForZeroSpectra) {
  CQLM2_AnalyzerDoc& d = Doc();
  d.Params.fftPage.showContent = 1;
  d.Params.fftPage.bandCount = 2;
  draw::Image image = Render(Epoch());
  draw::Image scratch(1, 1, 32);
  draw::Dc dc(scratch);
  const spectrum::RowRects rr = spectrum::RowLayout(draw::Rect{0, 0, 351, 300}, spectrum::AxisStrip(dc), 2, 0, true);
  // Band 0 of row 0 (sums over every bin up to the bin count) fills the bottom of the band area.
  EXPECT_EQ(image.GetPixel(rr.band.left + 10, rr.band.bottom - 3), kRed);

  // All-zero spectra and a display range of 0: nothing divides by zero, no bar rises.
  for (auto& s : d.EpochSpectra.channels) std::fill(s.values.begin(), s.values.end(), 0.0f);
  d.Params.fftPage.epochUpperHz = 0.0f;
  d.Params.fftPage.showContent = 0;
  image = Render(Epoch());
  EXPECT_EQ(image.GetPixel(200, 50), draw::Rgb(255, 255, 255));
}

TEST_F(SpectrumPanes, SimplePaneAloneAndAlikeInModesZeroAndOne) {
  Render(Simple());
  EXPECT_EQ(Simple().GetShownChannelCount(), 0) << "no simple spectrum yet";
  CQLM2_AnalyzerDoc& d = Doc();
  d.SimpleSpectrum.channel = 2;
  d.SimpleSpectrum.valueCount = 129;
  d.SimpleSpectrum.values.assign(129, 0.0f);
  for (int i = 0; i < 129; ++i) d.SimpleSpectrum.values[static_cast<std::size_t>(i)] = 1.0f + (i % 7);
  d.Params.fftPageChannelValues.word = 0;
  const draw::Image a = Render(Simple());
  d.Params.fftPageChannelValues.word = 1;
  const draw::Image b = Render(Simple());
  int differing = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) differing += a.GetPixel(x, y) != b.GetPixel(x, y) ? 1 : 0;
  EXPECT_EQ(differing, 0);
  // One row over the whole height: 200 Hz, 26 bins of 8.5 px; bin 6 (4.69 Hz) is green.
  draw::Image scratch(1, 1, 32);
  draw::Dc dc(scratch);
  const draw::Rect s = SpectrumOf(dc, 1, 0).spectrum;
  EXPECT_EQ(a.GetPixel(130 + 51 + 4, s.bottom - 4), kGreen);
  Simple().OnMouseMove(0, ui::Point{130 + 51 + 4, s.top + 5});
  EXPECT_EQ(Simple().ReadoutTexts, (std::vector<std::string>{"  4.688Hz", "    7.000uV^2"}));
}

}  // namespace
