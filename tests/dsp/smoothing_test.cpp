#include <gtest/gtest.h>

#include <vector>

#include "common/dsp/fyn_float_data_container.h"
#include "common/dsp/fyn_smoothing.h"

namespace {

std::vector<float> Smoothed(short type, long count, const std::vector<float>& x, int expectedStatus = 0) {
  FynSmoothing s(type, count, x.size());
  s.SetOrgData(x.data());
  s.SetDtPoint(x.size());
  EXPECT_EQ(s.CalcSmoothing(), expectedStatus) << "type " << type << " count " << count;
  std::vector<float> out(x.size(), -99.0f);
  s.GetRData(out.data());
  return out;
}

}  // namespace

TEST(Smoothing, PolynomialWeights) {
  FynSmoothing s(1, 5, 0);
  double c[3], norm = 0;
  s.GetWinPolynominal(c, &norm);
  EXPECT_EQ(c[0], 17);
  EXPECT_EQ(c[1], 12);
  EXPECT_EQ(c[2], -3);
  EXPECT_EQ(norm, 35);  // 17 + 2 (12 - 3)
  s.SetSmoothingAveNum(9);
  double c9[5];
  s.GetWinPolynominal(c9, &norm);
  EXPECT_EQ(norm, c9[0] + 2 * (c9[1] + c9[2] + c9[3] + c9[4]));  // 231: 59 54 39 14 -21
  EXPECT_EQ(norm, 231);
}

TEST(Smoothing, PolynomialKeepsALineAndRenormalisesAtTheEdges) {
  std::vector<float> line(12);
  for (std::size_t i = 0; i < line.size(); ++i) line[i] = 2.0f + 0.5f * static_cast<float>(i);
  const auto y = Smoothed(1, 5, line);
  for (std::size_t i = 2; i + 2 < line.size(); ++i) EXPECT_NEAR(y[i], line[i], 1e-5) << "i=" << i;
  // First sample: weights 17, 12, -3 of the samples present over 35 - 9 = 26.
  const std::vector<float> x = {4, 1, 7, 2, 9, 3};
  const auto z = Smoothed(1, 5, x);
  EXPECT_NEAR(z[0], (17 * 4 + 12 * 1 - 3 * 7) / 26.0, 1e-5);
  EXPECT_NEAR(z[1], (12 * 4 + 17 * 1 + 12 * 7 - 3 * 2) / (35.0 + 3), 1e-5);
  EXPECT_NEAR(z[5], (17 * 3 + 12 * 9 - 3 * 2) / 26.0, 1e-5);
}

TEST(Smoothing, EvenPolynomialCountUsesTheNextOddCount) {
  const std::vector<float> x = {4, 1, 7, 2, 9, 3, 8, 0, 5};
  EXPECT_EQ(Smoothed(1, 4, x), Smoothed(1, 5, x));
  EXPECT_EQ(Smoothed(1, 2, x), Smoothed(1, 3, x));
  EXPECT_EQ(Smoothed(1, 1, x), x);  // one sample: unchanged
}

TEST(Smoothing, MovingAverage) {
  struct Case {
    long count;
    std::vector<float> in, expected;
  };
  const Case cases[] = {
      {3, {0, 3, 6}, {1, 3, 5}},                 // edges repeat the first and last sample
      {5, {0, 10, 20, 30}, {6, 12, 18, 24}},     // (0+0+0+10+20)/5 .. (10+20+30+30+30)/5
      {2, {2, 4, 6}, {4, 6, 8}},                 // even count: W + 1 samples over W
      {1, {5, -1, 2}, {5, -1, 2}},
  };
  for (const Case& c : cases) {
    const auto y = Smoothed(0, c.count, c.in);
    for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], c.expected[i], 1e-5) << "count " << c.count << " i=" << i;
  }
}

TEST(Smoothing, RefusalsAreReported) {
  const std::vector<float> x = {1, 2, 3};
  EXPECT_EQ(Smoothed(2, 3, x, -1), std::vector<float>(3, -99.0f));  // unknown type: no result
  EXPECT_EQ(Smoothed(0, 0, x, -1), x);                              // no window: unchanged copy
  EXPECT_EQ(Smoothed(1, -3, x, -1), x);
  FynSmoothing noSource(0, 3, 3);
  EXPECT_EQ(noSource.CalcSmoothing(), -1);  // the copy fails: reported, not success
  float out[3];
  EXPECT_EQ(noSource.GetRData(out), -1);
}

TEST(FloatContainer, OwnsACopyOfItsData) {
  FynFloatDataContainer a;
  EXPECT_EQ(a.GetDataPtr(), nullptr);
  const float values[] = {1, 2, 3};
  EXPECT_EQ(a.SetData(values, 3), 1);
  FynFloatDataContainer b = a;
  FynFloatDataContainer c;
  c = a;
  a.GetDataPtr()[0] = 9;
  EXPECT_EQ(b.GetDataPtr()[0], 1);
  EXPECT_EQ(c.GetDataPtr()[0], 1);
  EXPECT_NE(b.GetDataPtr(), a.GetDataPtr());
  EXPECT_EQ(a.SetData(nullptr, 2), 0);
  EXPECT_EQ(a.GetDataPtr(), nullptr);
  EXPECT_EQ(a.SetData(values, -1), 0);
}
