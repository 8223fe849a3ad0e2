#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "common/dsp/fyn_fft.h"

namespace {

std::vector<float> Sine(int n, double cyclesPerBlock, double amplitude = 1.0) {
  std::vector<float> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<std::size_t>(i)] =
        static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * cyclesPerBlock * i / n));
  return x;
}

std::vector<float> Spectrum(FynFft& fft, const std::vector<float>& x) {
  std::vector<float> out(static_cast<std::size_t>(fft.GetFftPoint() / 2 + 1), -1.0f);
  EXPECT_EQ(fft.SetRData(x.data()), 0);
  fft.CalcFft();
  EXPECT_EQ(fft.GetResultData(out.data()), 0);
  return out;
}

}  // namespace

TEST(FftBase, PowerNumIsLog2) {
  EXPECT_EQ(FynFftBase::CalcPowerNum(256), 8);
  EXPECT_EQ(FynFftBase::CalcPowerNum(4), 2);
  EXPECT_EQ(FynFftBase::CalcPowerNum(32768), 15);
  EXPECT_EQ(FynFftBase::CalcPowerNum(1), 0);
}

TEST(FftBase, ForwardThenInverseRestoresTheInput) {
  for (int n : {4, 8, 64, 1024}) {
    FynFftBase fft(n);
    ASSERT_EQ(fft.CreateFftWorkArea(), 0);
    std::mt19937 rng(7);
    std::normal_distribution<float> noise;
    std::vector<float> x(static_cast<std::size_t>(n));
    for (float& v : x) v = noise(rng);
    fft.SetRData(x.data());
    fft.InitIWorkArea();
    fft.CalcFftSpec(0);
    fft.CalcFftSpec(1);
    for (int i = 0; i < n; ++i) {
      EXPECT_NEAR(fft.RealWorkArea()[i], x[static_cast<std::size_t>(i)], 1e-5) << "N=" << n << " i=" << i;
      EXPECT_NEAR(fft.ImagWorkArea()[i], 0.0f, 1e-5) << "N=" << n << " i=" << i;
    }
  }
}

TEST(FftBase, ForwardMatchesTheDefinitionWithMinusSignAndNoScaling) {
  const int n = 16;
  FynFftBase fft(n);
  ASSERT_EQ(fft.CreateFftWorkArea(), 0);
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = static_cast<float>(i % 5) - 1.5f;
  fft.SetRData(x.data());
  fft.InitIWorkArea();
  fft.CalcFftSpec(0);
  for (int k = 0; k < n; ++k) {
    double re = 0, im = 0;
    for (int i = 0; i < n; ++i) {
      re += x[static_cast<std::size_t>(i)] * std::cos(2 * std::numbers::pi * k * i / n);
      im -= x[static_cast<std::size_t>(i)] * std::sin(2 * std::numbers::pi * k * i / n);
    }
    EXPECT_NEAR(fft.RealWorkArea()[k], re, 1e-4) << "k=" << k;
    EXPECT_NEAR(fft.ImagWorkArea()[k], im, 1e-4) << "k=" << k;
  }
}

TEST(FftBase, RefusesPointCountsThatAreNoTransformLength) {
  for (int n : {-8, 1, 2, 3, 6, 100, 1000, 32767}) {
    FynFftBase base(n);
    EXPECT_EQ(base.CreateFftWorkArea(), -1) << "N=" << n;
    std::vector<float> x(16, 1.0f);
    EXPECT_EQ(base.SetRData(x.data()), -1) << "N=" << n;
    base.CalcFftSpec(0);  // no work areas: nothing happens
    FynFft fft(n, 1, 0, 100.0);
    EXPECT_EQ(fft.CreateWorkArea(), -1) << "N=" << n;
    fft.CalcFft();
    EXPECT_EQ(fft.GetResultData(x.data()), -1);
  }
  FynFftBase empty(0);
  EXPECT_EQ(empty.CreateFftWorkArea(), 0);  // nothing to allocate
  EXPECT_EQ(empty.RealWorkArea(), nullptr);
  FynFft fft(32768, 2, 0, 500.0);
  EXPECT_EQ(fft.CreateWorkArea(), 0);
}

TEST(FftBase, NewPointCountWithoutReallocationIsNotUsed) {
  FynFft fft(8, 0, 0, 1.0);
  ASSERT_EQ(fft.CreateWorkArea(), 0);
  fft.SetFftPoint(64);
  std::vector<float> x(64, 1.0f);
  EXPECT_EQ(fft.SetRData(x.data()), -1);
  ASSERT_EQ(fft.CreateWorkArea(), 0);
  EXPECT_EQ(fft.SetRData(x.data()), 0);
}

TEST(Fft, SineAtABinWithoutWindowFallsInThatBinOnly) {
  const int n = 256;
  const double fs = 128.0;
  for (int k : {1, 5, 64, 127}) {
    FynFft fft(n, 0, 0, fs);
    ASSERT_EQ(fft.CreateWorkArea(), 0);
    const auto p = Spectrum(fft, Sine(n, k));
    for (int b = 0; b <= n / 2; ++b) {
      const double expected = b == k ? n / (2.0 * fs) : 0.0;  // (N/2)^2 / N * 2 / fs
      EXPECT_NEAR(p[static_cast<std::size_t>(b)], expected, 1e-4) << "k=" << k << " bin " << b;
    }
  }
}

TEST(Fft, ConstantInput) {
  const int n = 64;
  const double fs = 200.0;
  const std::vector<float> x(n, 3.0f);
  FynFft plain(n, 0, 0, fs);
  ASSERT_EQ(plain.CreateWorkArea(), 0);
  const auto p = Spectrum(plain, x);
  EXPECT_NEAR(p[0], n * 9.0 / fs, 1e-4);  // N c^2 / fs: DC is not doubled
  for (int b = 1; b <= n / 2; ++b) EXPECT_NEAR(p[static_cast<std::size_t>(b)], 0.0, 1e-6);
  for (int window : {1, 2, 3, 4, 9}) {
    FynFft fft(n, window, 0, fs);
    ASSERT_EQ(fft.CreateWorkArea(), 0);
    for (float v : Spectrum(fft, x)) EXPECT_NEAR(v, 0.0, 1e-9) << "window " << window;
  }
}

TEST(Fft, NyquistBinIsDoubledAndAmplitudeIsTheRoot) {
  const int n = 32;
  const double fs = 10.0;
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = (i % 2 == 0) ? 1.0f : -1.0f;
  FynFft power(n, 0, 0, fs);
  ASSERT_EQ(power.CreateWorkArea(), 0);
  const auto p = Spectrum(power, x);
  EXPECT_NEAR(p[n / 2], 2.0 * n / fs, 1e-4);  // |X| = N: N^2 / N * 2 / fs
  FynFft amplitude(n, 0, 1, fs);
  ASSERT_EQ(amplitude.CreateWorkArea(), 0);
  EXPECT_NEAR(Spectrum(amplitude, x)[n / 2], std::sqrt(2.0 * n / fs), 1e-4);
}

TEST(Fft, WindowTable) {
  const int n = 256;
  const double m = n - 1;
  struct Case {
    int type;
    int index;
    double expected;
  };
  const Case cases[] = {
      {1, 0, 0.08}, {1, 128, 0.54 - 0.46 * std::cos(2 * std::numbers::pi * 128 / m)},
      {2, 0, 0.0},  {2, 255, 0.0},
      {3, 0, 0.423 - 0.498 + 0.0792},  // Blackman with the coefficients 0.423, 0.498, 0.0792
      {3, 100, 0.423 - 0.498 * std::cos(2 * std::numbers::pi * 100 / m) + 0.0792 * std::cos(4 * std::numbers::pi * 100 / m)},
      // 10 % taper: c = 256 / 10 = 25 points on each side.
      {4, 0, 0.0}, {4, 24, (1 - std::cos(std::numbers::pi * 24 / 25)) / 2}, {4, 25, 1.0},
      {4, 230, 1.0}, {4, 231, (1 - std::cos(std::numbers::pi * 24 / 25)) / 2}, {4, 255, 0.0},
      // An unknown type still removes the mean in CalcFft, with a rectangular window.
      {9, 0, 1.0}, {9, 128, 1.0},
  };
  for (const Case& c : cases) {
    FynFft fft(n, c.type, 0, 1.0);
    ASSERT_EQ(fft.CreateWorkArea(), 0);
    EXPECT_NEAR(fft.WindowData()[c.index], c.expected, 1e-6) << "type " << c.type << " i=" << c.index;
  }
  FynFft taper(n, 4, 0, 1.0);
  ASSERT_EQ(taper.CreateWorkArea(), 0);
  int tapered = 0;
  for (int i = 0; i < n; ++i) tapered += taper.WindowData()[i] < 1.0f;
  EXPECT_EQ(tapered, 2 * 25);
}

TEST(Fft, InitResultClearsExactlyTheResult) {
  FynFft fft(16, 0, 0, 1.0);
  ASSERT_EQ(fft.CreateWorkArea(), 0);
  Spectrum(fft, std::vector<float>(16, 2.0f));
  fft.InitResultWorkArea();
  std::vector<float> out(9, -1.0f);
  out.push_back(42.0f);  // sentinel past the N/2 + 1 values
  EXPECT_EQ(fft.GetResultData(out.data()), 0);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(out[static_cast<std::size_t>(i)], 0.0f);
  EXPECT_EQ(out[9], 42.0f);
}

TEST(Fft, CopiesOwnTheirArrays) {
  FynFft a(16, 0, 0, 1.0);
  ASSERT_EQ(a.CreateWorkArea(), 0);
  Spectrum(a, std::vector<float>(16, 1.0f));
  FynFft b = a;
  a.InitResultWorkArea();
  std::vector<float> out(9);
  b.GetResultData(out.data());
  EXPECT_NEAR(out[0], 16.0, 1e-5);  // b kept its own result
  a = b;
  Spectrum(b, std::vector<float>(16, 0.0f));
  a.GetResultData(out.data());
  EXPECT_NEAR(out[0], 16.0, 1e-5);
}

TEST(DecibelConversion, Values) {
  struct Case {
    std::vector<float> in;
    std::vector<float> expected;
  };
  const float floordB = static_cast<float>(10.0 * std::log(std::numeric_limits<float>::min()));
  const Case cases[] = {
      {{1, 10, 100}, {-46.0517f, -23.0259f, 0}},  // 10 ln(v / max)
      {{100, 10, 1}, {0, -23.0259f, -46.0517f}},
      {{0, 4, 2}, {floordB, 0, -6.9315f}},  // a zero stays finite
      {{0, 0, 0}, {0, 0, 0}},               // no positive maximum: zeros
      {{-2, -1, -3}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<float> v = c.in;
    FyndB().ConvTodB(v.data(), static_cast<int>(v.size()));
    for (std::size_t i = 0; i < v.size(); ++i) {
      EXPECT_TRUE(std::isfinite(v[i]));
      EXPECT_NEAR(v[i], c.expected[i], 1e-3) << "value " << i << " of case starting " << c.in[0];
    }
  }
  FyndB::ConvTodB(nullptr, 3);
}

TEST(Fft, SpectrumLeavesTheFullTransformInTheWorkAreas) {
  // Every way of running the half-length transform: 2, 4, 8, 16 and 32 or
  // more points.
  for (int n : {4, 8, 16, 32, 64, 128, 1024}) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::normal_distribution<float> noise;
    std::vector<float> x(static_cast<std::size_t>(n));
    for (float& v : x) v = noise(rng);
    FynFft fft(n, 0, 0, 1.0);
    ASSERT_EQ(fft.CreateWorkArea(), 0);
    Spectrum(fft, x);
    FynFftBase complex(n);
    ASSERT_EQ(complex.CreateFftWorkArea(), 0);
    complex.SetRData(x.data());
    complex.InitIWorkArea();
    complex.CalcFftSpec(0);
    for (int k = 0; k < n; ++k) {
      EXPECT_NEAR(fft.RealWorkArea()[k], complex.RealWorkArea()[k], 1e-3) << "N=" << n << " k=" << k;
      EXPECT_NEAR(fft.ImagWorkArea()[k], complex.ImagWorkArea()[k], 1e-3) << "N=" << n << " k=" << k;
    }
  }
}
