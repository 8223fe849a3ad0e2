// Epoch and divided-page spectra of the page window.
#include <algorithm>
#include <cmath>

#include "page_fixture.h"

using namespace pagefix;

namespace {

int PeakBin(const float* v, int bins) { return static_cast<int>(std::max_element(v + 1, v + bins) - v); }

}  // namespace

TEST_F(PageTest, EpochSpectrumAveragesTheFirstANSamplesOfTheEpoch) {
  EpochSeconds = 30;
  PageSeconds = 60;
  Recording r;
  r.channels = 2;
  r.rate = 128;
  r.samples = 128 * 120;
  // In every epoch the first 1,280 samples are 8 Hz, the rest 20 Hz.
  r.sample = [](int, long long i) {
    const long long inEpoch = i % 3840;
    const double f = inEpoch < 1280 ? 8.0 : 20.0;
    return 1000.0 * std::sin(2 * kPi * f * i / 128.0);
  };
  ASSERT_TRUE(WriteOwnRaw(Path("e.raw"), r));
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("e.raw"), 0, r);
  doc.Params.fftPage.epochAveraging = 5;
  doc.Params.fftPage.epochFftPoints = 256;
  doc.Params.fftPageSelection.flags[1] = 1;
  doc.CurrentPage = 1;
  doc.CurrentEpoch = 3;  // second epoch of the page
  ASSERT_EQ(doc.SetPageData(), 0);
  ASSERT_EQ(doc.EpochSpectra.channels.size(), 2u);
  EXPECT_TRUE(doc.EpochSpectra.channels[0].values.empty());
  const EpochSpectrum& s = doc.EpochSpectra.channels[1];
  ASSERT_EQ(s.binCount, 129);
  ASSERT_EQ(s.values.size(), 129u);
  EXPECT_EQ(PeakBin(s.values.data(), 129), 16);  // 8 Hz at 0.5 Hz a bin
  EXPECT_LT(s.values[40], s.values[16] * 1e-3f);

  // The same A x N samples through the plain averaging give the same values.
  std::vector<float> work(1280), expect(129, 0.0f);
  for (int i = 0; i < 1280; ++i) work[i] = std::lround(r.sample(1, 3 * 3840 + i));
  doc.CalcFFTData(work.data(), expect.data(), 5, 256, static_cast<short>(doc.Params.fftPage.windowType),
                  static_cast<short>(doc.Params.fftPage.unit), 128.0);
  for (int k = 0; k < 129; ++k) EXPECT_FLOAT_EQ(s.values[k], expect[k]) << k;

  doc.CurrentEpoch = doc.GetDivNum(EpochSeconds);
  EXPECT_EQ(doc.CalcEpochFFTData(), 0);
}

TEST_F(PageTest, DividedPageSpectraStartAtTheirDivisionsAndStopAtTheLastWholeEpoch) {
  EpochSeconds = 30;
  PageSeconds = 120;
  Recording r;
  r.channels = 1;
  r.rate = 100;
  r.samples = 100 * 280;  // 9 whole epochs and 10 s: the third page holds one whole epoch
  // Division j of a page (3,000 samples each) carries 5 x (j + 1) Hz.
  r.sample = [](int, long long i) {
    const long long inPage = i % 12000;
    const int j = static_cast<int>(std::min<long long>(inPage / 3000, 3));
    return 1000.0 * std::sin(2 * kPi * 5.0 * (j + 1) * i / 100.0);
  };
  ASSERT_TRUE(WriteOwnRaw(Path("d.raw"), r));
  CQLM2_AnalyzerDoc doc;
  Attach(doc, Path("d.raw"), 0, r);
  doc.PageRows = 3;
  FFTPageParam& p = doc.Params.fftPage;
  p.dividedPerEpoch = 0;
  p.dividedCount = 4;
  p.dividedAveraging = 2;
  p.dividedFftPoints = 256;
  doc.Params.fftPageChannels.channels = {0, -1, -1};
  doc.CurrentPage = 0;
  ASSERT_EQ(doc.SetPageData(), 0);
  const auto& page0 = doc.DividedSpectra.slots[2][0];
  ASSERT_EQ(page0.size(), 4u * 129);
  for (int j = 0; j < 4; ++j) {
    const int expect = static_cast<int>(std::lround(5.0 * (j + 1) * 256 / 100.0));
    EXPECT_NEAR(PeakBin(page0.data() + j * 129, 129), expect, 1) << j;
  }
  EXPECT_TRUE(doc.DividedSpectra.slots[2][1].empty());
  EXPECT_TRUE(doc.DividedSpectra.slots[1][0].empty());

  // Page 1 moves into slot 1; of page 2 only the division inside the last whole epoch is made.
  ++doc.CurrentPage;
  doc.MovePageRawData(1);
  doc.MovePageDiviedPageFFTData(1);
  EXPECT_EQ(doc.DividedSpectra.slots[1][0], page0);
  const auto& last = doc.DividedSpectra.slots[3][0];
  ASSERT_EQ(last.size(), 4u * 129);
  EXPECT_GT(*std::max_element(last.begin(), last.begin() + 129), 0.0f);
  EXPECT_TRUE(std::all_of(last.begin() + 129, last.end(), [](float v) { return v == 0.0f; }));

  // No channel chosen: nothing to compute.
  doc.Params.fftPageChannels.channels = {-1, -1, -1};
  EXPECT_EQ(doc.calcDiviedPageFFTData(2), 1);
  EXPECT_TRUE(doc.DividedSpectra.slots[2][0].empty());
}
