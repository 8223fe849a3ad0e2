#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/dsp/fyn_band_spectrum.h"
#include "common/dsp/fyn_coherence.h"
#include "common/dsp/fyn_correlation.h"

namespace {

std::vector<float> Noise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> d;
  std::vector<float> x(static_cast<std::size_t>(n));
  for (float& v : x) v = 1.5f + d(rng);
  return x;
}

std::vector<float> AutoCorrelation(const std::vector<float>& x) {
  FynAutoCorrelation ac(static_cast<int>(x.size()), 0.0);
  EXPECT_EQ(ac.CreateWorkArea(), 0);
  EXPECT_EQ(ac.SetRData(x.data()), 0);
  ac.CalcFft();
  ac.CalcAutoCorrelation();
  std::vector<float> r(x.size() / 2);
  EXPECT_EQ(ac.GetResultData(r.data()), 0);
  return r;
}

std::vector<float> CrossCorrelation(const std::vector<float>& x, const std::vector<float>& y) {
  FynCrossCorrelation cc(static_cast<int>(x.size()), 0.0);
  EXPECT_EQ(cc.CreateWorkArea(), 0);
  cc.InitResultWorkArea();
  cc.SetRData(x.data());
  cc.CalcFft();
  cc.SetShelter(0);
  cc.SetRData(y.data());
  cc.CalcFft();
  cc.SetShelter(1);
  cc.CalcCrossCorrelation();
  std::vector<float> r(x.size());
  EXPECT_EQ(cc.GetResultData(r.data()), 0);
  return r;
}

}  // namespace

TEST(Correlation, AutoCorrelationIsOneAtLagZeroAndZeroForAConstant) {
  const auto r = AutoCorrelation(Noise(256, 3));
  EXPECT_NEAR(r[0], 1.0, 1e-5);
  for (float v : r) EXPECT_LE(std::fabs(v), 1.0f);
  for (float v : AutoCorrelation(std::vector<float>(64, 4.25f))) EXPECT_EQ(v, 0.0f);
}

TEST(Correlation, CrossCorrelationWithItselfIsTheAutoCorrelation) {
  const auto x = Noise(128, 5);
  const auto cross = CrossCorrelation(x, x);
  const auto self = AutoCorrelation(x);
  for (std::size_t k = 0; k < self.size(); ++k) EXPECT_NEAR(cross[k], self[k], 1e-5) << "lag " << k;
  for (std::size_t k = 1; k < self.size(); ++k)
    EXPECT_NEAR(cross[x.size() - k], self[k], 1e-5) << "lag -" << k;  // symmetric
}

TEST(Correlation, CrossCorrelationFindsACircularShift) {
  const int n = 64;
  const auto y = Noise(n, 9);
  std::vector<float> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = y[static_cast<std::size_t>((i + n - 5) % n)];
  // x[(i + 5) mod N] = y[i]: r[5] = 1.
  const auto r = CrossCorrelation(x, y);
  EXPECT_NEAR(r[5], 1.0, 1e-5);
  const auto constant = CrossCorrelation(std::vector<float>(n, 2.0f), y);
  for (float v : constant) EXPECT_EQ(v, 0.0f);  // energy 0: divided by 1
}

TEST(Correlation, RefusesPointCountsThatAreNoTransformLength) {
  for (int n : {0, 2, 100}) {
    FynAutoCorrelation ac(n, 0.0);
    EXPECT_EQ(ac.CreateWorkArea(), -1) << n;
    FynCrossCorrelation cc(n, 0.0);
    EXPECT_EQ(cc.CreateWorkArea(), -1) << n;
    FynCoherence co(n, 1, 0.0);
    EXPECT_EQ(co.CreateWorkArea(), -1) << n;
    float sink[64];
    EXPECT_EQ(co.GetResultData(sink), -1);
  }
}

TEST(Coherence, OnePairIsOneWhereBothHavePower) {
  const int n = 64;
  FynCoherence co(n, 2, 0.0);
  ASSERT_EQ(co.CreateWorkArea(), 0);
  co.InitResultWorkArea();
  const auto x = Noise(n, 1), y = Noise(n, 2);
  co.SetRData(x.data());
  co.CalcFft();
  co.SetShelter(0);
  co.SetRData(y.data());
  co.CalcFft();
  co.SetShelter(1);
  co.CalcCoherence1();
  co.CalcCoherence2();
  std::vector<float> c(n / 2 + 1);
  ASSERT_EQ(co.GetResultData(c.data()), 0);
  for (int k = 1; k <= n / 2; ++k) EXPECT_NEAR(c[static_cast<std::size_t>(k)], 1.0, 1e-4) << "bin " << k;
}

TEST(Coherence, IndependentSegmentsGiveLowCoherenceAndZeroPowerGivesZero) {
  const int n = 32;
  FynCoherence co(n, 0, 0.0);
  ASSERT_EQ(co.CreateWorkArea(), 0);
  co.InitResultWorkArea();
  const std::vector<float> silent(n, 0.0f);
  for (unsigned s = 0; s < 200; ++s) {
    const auto x = Noise(n, 100 + s), y = Noise(n, 900 + s);
    co.SetRData(x.data());
    co.CalcFft();
    co.SetShelter(0);
    co.SetRData(s == 0 ? silent.data() : y.data());
    co.CalcFft();
    co.SetShelter(1);
    co.CalcCoherence1();
  }
  co.CalcCoherence2();
  std::vector<float> c(n / 2 + 1);
  co.GetResultData(c.data());
  // About 1 / 200 per bin for 200 independent pairs (a sum of magnitudes
  // would stay near (pi/4)^2 = 0.62 however many pairs are added).
  for (int k = 1; k < n / 2; ++k) EXPECT_LT(c[static_cast<std::size_t>(k)], 0.1f) << "bin " << k;

  FynCoherence quiet(n, 0, 0.0);
  ASSERT_EQ(quiet.CreateWorkArea(), 0);
  quiet.InitResultWorkArea();
  quiet.SetRData(silent.data());
  quiet.CalcFft();
  quiet.SetShelter(0);
  quiet.SetShelter(1);
  quiet.CalcCoherence1();
  quiet.CalcCoherence2();
  quiet.GetResultData(c.data());
  for (float v : c) EXPECT_EQ(v, 0.0f);
}

TEST(BandSpectrum, AveragesBinsIntoBands) {
  struct Case {
    double bin, band;
    std::vector<float> in, expected;
    int used;
  };
  const Case cases[] = {
      // 0.25 Hz bins into 1 Hz bands: bins 1..4 and 5..8.
      {0.25, 1.0, {7, 1, 2, 3, 4, 5, 6, 7, 8}, {7, 2.5f, 6.5f}, 3},
      {0.25, 1.0, {7, 1, 2, 3, 4, 5}, {7, 2.5f, 5}, 3},  // a last partial band
      {0.5, 0.5, {0, 1, 2, 3}, {0, 1, 2, 3}, 4},          // equal widths: one bin per band
      {1.0, 1.0, {3}, {3}, 1},                            // nothing but entry 0
  };
  for (const Case& c : cases) {
    std::vector<float> v = c.in;
    EXPECT_EQ(FynBandSpec::CalcBandSpec(v.data(), static_cast<int>(v.size()), c.bin, c.band), c.used);
    for (std::size_t j = 0; j < c.expected.size(); ++j) EXPECT_NEAR(v[j], c.expected[j], 1e-6) << "band " << j;
  }
  std::vector<float> v = {1, 2, 3};
  EXPECT_EQ(FynBandSpec::CalcBandSpec(v.data(), 3, 2.0, 1.0), -1);
  EXPECT_EQ(FynBandSpec::CalcBandSpec(v.data(), 3, 0.0, 1.0), -1);
  EXPECT_EQ(FynBandSpec::CalcBandSpec(nullptr, 3, 0.5, 1.0), -1);
}
