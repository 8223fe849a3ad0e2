#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/scoring/hrv_lf_hf.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(LagrangeCubic, ExactForCubicsAndThroughItsNodes) {
  // y = t^3 - 2t + 1 at -1, 0, 1, 2: 2, 1, 0, 5.
  const float y[4] = {2.0f, 1.0f, 0.0f, 5.0f};
  for (double t : {-1.0, 0.0, 0.5, 1.0, 1.7, 2.0})
    EXPECT_NEAR(LyrTrendFFTCalc::LagrangeCubic(y, t), t * t * t - 2 * t + 1, 1e-9) << "t=" << t;
}

TEST(ResampleIntervals, MeanOverPeakCountAndZeroFirstValue) {
  // 61 peaks 1000 samples apart at 1000 Hz: intervals of 1000 ms; the mean is the
  // span over the peak count, 60000 / 61 ms.
  std::vector<std::int32_t> peaks;
  for (int i = 0; i < 61; ++i) peaks.push_back(500 + 1000 * i);
  std::vector<float> out;
  double m = 0.0;
  LyrTrendFFTCalc::ResampleIntervals(peaks, 1000.0, &out, &m);
  EXPECT_DOUBLE_EQ(m, 60000.0 / 61.0);
  ASSERT_EQ(out.size(), 61u);
  EXPECT_EQ(out[0], 0.0f);  // interval 0
  // From point 3 on the four intervals of the cubic no longer include interval 0.
  for (std::size_t i = 3; i < out.size(); ++i) EXPECT_NEAR(out[i], 1000.0f, 1e-3) << i;

  // A linear ramp of intervals is reproduced between the peaks.
  peaks = {0};
  for (int i = 1; i < 40; ++i) peaks.push_back(peaks.back() + 800 + 10 * i);
  LyrTrendFFTCalc::ResampleIntervals(peaks, 1000.0, &out, &m);
  std::vector<double> times;
  for (auto p : peaks) times.push_back(p);
  for (std::size_t i = 5; i + 5 < out.size(); ++i) {
    const double t = static_cast<double>(i) * m;
    std::size_t u = 1;
    while (times[u] < t) ++u;
    const double f = (t - times[u - 1]) / (times[u] - times[u - 1]);
    const double expected = (800 + 10.0 * static_cast<double>(u - 1)) + 10.0 * f;
    EXPECT_NEAR(out[i], expected, 1e-2) << "resampled point " << i;
  }

  // Two or three peaks: a mean but nothing resampled; one peak: no mean.
  LyrTrendFFTCalc::ResampleIntervals(std::vector<std::int32_t>{0, 1000, 2000}, 1000.0, &out, &m);
  EXPECT_GT(m, 0.0);
  EXPECT_TRUE(out.empty());
  LyrTrendFFTCalc::ResampleIntervals(std::vector<std::int32_t>{0}, 1000.0, &out, &m);
  EXPECT_EQ(m, 0.0);
}

TEST(SumBands, EdgeBinBelongsToTheUpperBand) {
  // fs 0.96 Hz, 64 points: bin 10 lies at 0.15 Hz, bin 3 at 0.045 Hz, bin 26 at 0.39 Hz.
  std::vector<float> spectrum(33, 0.0f);
  spectrum[10] = 1.0f;
  spectrum[3] = 2.0f;
  spectrum[26] = 4.0f;
  spectrum[30] = 8.0f;  // 0.45 Hz: outside both
  double lf = -1.0, hf = -1.0;
  LyrTrendFFTCalc::SumBands(spectrum, 0.96, 64, {0.04, 0.15, 0.15, 0.4}, &lf, &hf);
  EXPECT_DOUBLE_EQ(lf, 2.0);
  EXPECT_DOUBLE_EQ(hf, 5.0);
}

// Beat positions (1000 Hz) of a heart whose R-R interval is modulated at 0.1 Hz and
// 0.25 Hz with the given amplitudes in ms around 600 ms (100 beats a minute).
std::vector<std::int32_t> ModulatedBeats(double seconds, double lfAmp, double hfAmp) {
  std::vector<std::int32_t> beats;
  double t = 0.0;  // ms
  while (t < seconds * 1000.0) {
    beats.push_back(static_cast<std::int32_t>(std::lround(t)));
    const double s = t / 1000.0;
    t += 600.0 + lfAmp * std::sin(2 * kPi * 0.1 * s) + hfAmp * std::sin(2 * kPi * 0.25 * s);
  }
  return beats;
}

struct LfHfRun {
  std::vector<double> lf, hf;
};

LfHfRun RunLfHf(const std::vector<std::int32_t>& beats, int epochs, std::uint16_t blockSeconds, int n) {
  SleepDstrbParam prm;
  prm.lfhfTimeS = blockSeconds;
  prm.lfhfWindow = 2;
  prm.lfhfUnit = 0;
  prm.lfhfBands = {0.04, 0.15, 0.15, 0.4};
  const std::size_t blocks = static_cast<std::size_t>(epochs) * 30 / blockSeconds;
  LfHfRun r{std::vector<double>(blocks, -1.0), std::vector<double>(blocks, -1.0)};
  LfHfSources src{&prm, beats, 1000.0, n, epochs, 30, r.lf, r.hf, {}};
  LyrTrendFFTCalc(src).TrendFFTTransaction();
  return r;
}

TEST(TrendFFTTransaction, KnownModulationGivesTheBandPowerRatio) {
  // Power goes with the square of the amplitude: 40 ms at 0.1 Hz against 20 ms at
  // 0.25 Hz gives LF / HF = 4. Resampled every ~600 ms, 0.25 Hz is 0.15 cycles per
  // point, where the cubic interpolation loses at most ~4 % of the power.
  const auto beats = ModulatedBeats(1800.0, 40.0, 20.0);
  const LfHfRun r = RunLfHf(beats, 60, 300, 512);
  ASSERT_EQ(r.lf.size(), 6u);
  for (std::size_t b = 1; b < 5; ++b) {  // block 0 starts with the zero first value
    ASSERT_GT(r.hf[b], 0.0);
    EXPECT_NEAR(r.lf[b] / r.hf[b], 4.0, 0.3) << "block " << b << ": LF " << r.lf[b] << " HF " << r.hf[b];
  }
  // HF modulation only: LF is a small fraction.
  const LfHfRun h = RunLfHf(ModulatedBeats(1800.0, 0.0, 20.0), 60, 300, 512);
  EXPECT_LT(h.lf[2], 0.05 * h.hf[2]);
}

TEST(TrendFFTTransaction, TooFewPeaks) {
  // Fewer than two peaks: untouched; two or three: zeros.
  LfHfRun r = RunLfHf({1000}, 4, 60, 64);
  EXPECT_EQ(r.lf, std::vector<double>(2, -1.0));
  r = RunLfHf({1000, 2000, 3000}, 4, 60, 64);
  EXPECT_EQ(r.lf, std::vector<double>(2, 0.0));
  EXPECT_EQ(r.hf, std::vector<double>(2, 0.0));
}

}  // namespace
