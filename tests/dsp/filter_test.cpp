#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "common/dsp/fyn_filter_fir.h"
#include "common/dsp/fyn_filter_iir.h"

TEST(FirFilter, ConvolutionLengthIsTheNextPowerOfTwoAbove) {
  struct Case {
    unsigned long m, expected;
  };
  for (const Case c : {Case{0, 2}, {1, 2}, {2, 4}, {3, 4}, {1000, 1024}, {19 + 1000, 1024}, {1023, 1024},
                       {1024, 2048}, {32768, 65536}})
    EXPECT_EQ(FynFilterFIR::GetDataNum(c.m), c.expected) << "m=" << c.m;
}

TEST(FirFilter, ResponseIsLaidOutSymmetricallyAndDelaysByHalfTheLength) {
  const unsigned long taps = 20, n = 100;
  FynFilterFIR fir(0, 10.0, 0.0, 40.0, taps, 100.0, 0);
  fir.SetRawDataNum(n);
  ASSERT_EQ(fir.CreateWorkArea(), 0);
  EXPECT_EQ(fir.GetConvolutionPoint(), 128);  // 20 + 100 - 1 = 119 -> 128
  ASSERT_EQ(fir.SetHData(), 1);
  std::vector<float> h(taps);
  ASSERT_EQ(fir.GetDesignData(h.data()), 1);

  // An impulse at sample 30 comes out as the taps h[10], h[9] .. h[0] .. h[9]
  // at samples 30 .. 49, h[0] at 40: the output lags the input by L/2 = 10.
  std::vector<float> in(n, 0.0f), out(n, -1.0f);
  in[30] = 1.0f;
  ASSERT_EQ(fir.SetRData(in.data(), n), 0);
  ASSERT_EQ(fir.CalcFIRFilter(), 1);
  ASSERT_EQ(fir.GetResultData(out.data()), 1);
  for (unsigned long i = 0; i < n; ++i) {
    float expected = 0.0f;
    if (i >= 30 && i < 50) expected = h[static_cast<std::size_t>(std::labs(static_cast<long>(i) - 40))];
    EXPECT_NEAR(out[i], expected, 1e-6) << "sample " << i;
  }
  // Unity gain at 0 Hz: h[0] + 2 (h[1] + .. + h[10]) = 1.
  double sum = h[0];
  for (int j = 1; j <= 10; ++j) sum += 2.0 * h[static_cast<std::size_t>(j)];
  EXPECT_NEAR(sum, 1.0, 1e-6);
}

TEST(FirFilter, WorkAreasAreSizedByTheBlockNotByALimit) {
  FynFilterFIR fir(2, 0.5, 35.0, 50.0, 101, 500.0, 256);
  fir.SetRawDataNum(43200ul * 10);  // 12-hour page of 10 Hz samples: beyond 32,768 points
  EXPECT_EQ(fir.CreateWorkArea(), 0);
  EXPECT_EQ(fir.GetConvolutionPoint(), 524288);
  FynFilterFIR tiny(0, 10.0, 0.0, 40.0, 1, 100.0, 0);
  tiny.SetRawDataNum(1);
  EXPECT_EQ(tiny.CreateWorkArea(), 0);  // at least a 4-point transform
  EXPECT_EQ(tiny.GetConvolutionPoint(), 4);
  FynFilterFIR huge(0, 10.0, 0.0, 40.0, 20, 100.0, 0);
  huge.SetRawDataNum(~0ul);
  EXPECT_EQ(huge.CreateWorkArea(), -1);
  EXPECT_EQ(huge.SetHData(), 0);
  EXPECT_EQ(huge.CalcFIRFilter(), 0);
  float sink[4];
  EXPECT_EQ(huge.GetResultData(sink), 0);
}

namespace {

FynFilterIIR Design(short prototype, short process, double fs, double e1, double e2, double ap, double as,
                    double c1, double c2) {
  FynFilterIIR f(prototype, process, fs, e1, e2, ap, as, c1, c2);
  EXPECT_EQ(f.CalcIIRFilterDesign(), 1);
  return f;
}

std::vector<float> Filtered(FynFilterIIR f, std::vector<float> x) {
  EXPECT_EQ(f.CalcFilter(x.size(), x.data()), 1);
  return x;
}

std::vector<float> Tone(double hz, double fs, int n) {
  std::vector<float> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / fs));
  return x;
}

}  // namespace

TEST(IirFilter, OrderFollowsTheEdgesAndTheRate) {
  // E1 = 20 Hz, E2 = 30 Hz, Ap = 3 dB, As = 27 dB.
  struct Case {
    short prototype;
    double fs;
    int order;
  };
  for (const Case c : {Case{0, 100, 5}, {0, 200, 7}, {0, 250, 8}, {0, 500, 8}, {0, 1000, 8}, {1, 100, 4},
                       {1, 200, 4}, {1, 250, 4}, {1, 500, 4}}) {
    FynFilterIIR f(c.prototype, 0, c.fs, 20, 30, 3, 27, 20, 0);
    ASSERT_EQ(f.CalcIIRFilterDesign(), 1);
    EXPECT_EQ(f.GetOrder(), c.order) << "prototype " << c.prototype << " at " << c.fs << " Hz";
  }
}

TEST(IirFilter, FailedDesignsLeaveTheDataUnchanged) {
  struct Case {
    const char* what;
    short prototype, process;
    double fs, e1, e2, ap, as;
  };
  const Case cases[] = {
      {"stop edge at fs/2", 0, 0, 100, 20, 50, 3, 27},
      {"stop edge above fs/2", 1, 2, 100, 20, 70, 3, 27},
      {"order above 38", 0, 0, 500, 20, 20.5, 3, 60},
      {"edges swapped", 0, 1, 500, 30, 20, 3, 27},
      {"unknown prototype", 2, 0, 500, 20, 30, 3, 27},
      {"unknown process", 0, 4, 500, 20, 30, 3, 27},
  };
  for (const Case& c : cases) {
    FynFilterIIR f(c.prototype, c.process, c.fs, c.e1, c.e2, c.ap, c.as, 10, 20);
    EXPECT_EQ(f.CalcIIRFilterDesign(), 0) << c.what;
    std::vector<float> x = Tone(7, c.fs, 64);
    const std::vector<float> before = x;
    EXPECT_EQ(f.CalcFilter(x.size(), x.data()), 0) << c.what;
    EXPECT_EQ(x, before) << c.what;
  }
}

TEST(IirFilter, SectionsHaveUnitGainInThePassBand) {
  const double fs = 500;
  const std::vector<float> ones(4000, 1.0f);
  EXPECT_NEAR(Filtered(Design(0, 0, fs, 20, 30, 3, 27, 35, 0), ones).back(), 1.0, 1e-5);
  EXPECT_NEAR(Filtered(Design(1, 0, fs, 20, 30, 0.5, 27, 35, 0), ones).back(), 1.0, 1e-5);
  EXPECT_NEAR(Filtered(Design(0, 1, fs, 20, 30, 3, 27, 1, 0), ones).back(), 0.0, 1e-5);
  EXPECT_NEAR(Filtered(Design(0, 3, fs, 20, 30, 3, 27, 45, 55), ones).back(), 1.0, 1e-5);
}

TEST(IirFilter, BandEdgesInEitherOrderAndCutsLimitedToHalfTheRate) {
  const double fs = 200;
  const std::vector<float> x = Tone(12, fs, 1000);
  for (short process : {2, 3}) {
    EXPECT_EQ(Filtered(Design(0, process, fs, 20, 30, 3, 27, 30, 10), x),
              Filtered(Design(0, process, fs, 20, 30, 3, 27, 10, 30), x));
  }
  EXPECT_EQ(Filtered(Design(1, 0, fs, 20, 30, 1, 27, 150, 0), x), Filtered(Design(1, 0, fs, 20, 30, 1, 27, 100, 0), x));
  FynFilterIIR f(1, 0, fs, 20, 30, 1, 27, 0, 0);
  f.SetCutFreq(400, 0);
  ASSERT_EQ(f.CalcIIRFilterDesign(), 1);
  EXPECT_EQ(Filtered(f, x), Filtered(Design(1, 0, fs, 20, 30, 1, 27, 100, 0), x));
}

TEST(IirFilter, WholeBlockEqualsSampleBySample) {
  const double fs = 500;
  const std::vector<float> x = Tone(9, fs, 5000);
  // An odd Chebyshev order of a few sections, and an odd Butterworth order
  // of many (order 29: fourteen sections and a first-order one).
  for (const auto& [prototype, e2, as] : {std::tuple<short, double, double>{1, 30, 40}, {0, 24, 40}}) {
    for (short process : {0, 1, 2, 3}) {
      FynFilterIIR block = Design(prototype, process, fs, 20, e2, 1, as, 5, 15);
      FynFilterIIR single = block;
      ASSERT_EQ(block.GetOrder() % 2, 1);
      const std::vector<float> y = Filtered(block, x);
      for (std::size_t i = 0; i < x.size(); ++i)
        ASSERT_EQ(y[i], static_cast<float>(single.CalcFilterProcess(x[i])))
            << "order " << block.GetOrder() << " process " << process << " i=" << i;
    }
  }
}

// Two filters of one design run side by side give each block exactly what running it alone
// gives, over blocks longer than a chunk and split in two calls (the states carry on), for
// even and odd orders of every process; designs of other orders are refused.
TEST(IirFilter, PairEqualsEachAlone) {
  const double fs = 500;
  const std::vector<float> a = Tone(9, fs, 2600);
  const std::vector<float> b = Tone(31, fs, 2600);
  for (const auto& [prototype, e2, as] :
       {std::tuple<short, double, double>{1, 30, 40}, {0, 24, 40}, {0, 30, 27}, {1, 30, 27}}) {
    for (short process : {0, 1, 2, 3}) {
      FynFilterIIR pa = Design(prototype, process, fs, 20, e2, 1, as, 5, 15);
      FynFilterIIR pb = pa;
      FynFilterIIR sa = pa;
      FynFilterIIR sb = pa;
      std::vector<float> ya = a, yb = b;
      ASSERT_TRUE(FynFilterIIR::CalcFilterPair(pa, ya.data(), pb, yb.data(), 1500));
      ASSERT_TRUE(FynFilterIIR::CalcFilterPair(pa, ya.data() + 1500, pb, yb.data() + 1500, ya.size() - 1500));
      const std::vector<float> ea = Filtered(sa, a);
      const std::vector<float> eb = Filtered(sb, b);
      EXPECT_EQ(ya, ea) << "order " << pa.GetOrder() << " process " << process;
      EXPECT_EQ(yb, eb) << "order " << pa.GetOrder() << " process " << process;
    }
  }
  FynFilterIIR even = Design(0, 2, fs, 20, 30, 3, 27, 5, 15);
  FynFilterIIR other = Design(1, 2, fs, 20, 30, 1, 40, 5, 15);
  ASSERT_NE(even.GetOrder(), other.GetOrder());
  std::vector<float> ya = a, yb = b;
  EXPECT_FALSE(FynFilterIIR::CalcFilterPair(even, ya.data(), other, yb.data(), ya.size()));
  EXPECT_EQ(ya, a);
}
