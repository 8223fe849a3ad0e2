// Trend values of one epoch and the staging of one animal by conditions, on small tables
// whose answers are worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/scoring/multi_screening_staging.h"
#include "app/scoring/multi_screening_trend.h"

namespace {

using Setting = LyrMultiScreeningSetting;
Setting Defaults() { return Setting(Setting::NoFile{}); }

}  // namespace

TEST(MultiScreeningTrend, BlockCounts) {
  struct Case {
    int range, epoch, blocks;
  } cases[] = {
      {1805, 10, 1}, {1805, 4, 2}, {1803, 4, 1}, {1804, 4, 2}, {3600, 10, 2}, {0, 10, 0}, {9, 10, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(mstrend::BlockCount(c.range, c.epoch), c.blocks) << c.range << "/" << c.epoch;
  // The first hour: at most two blocks; a rest of a whole epoch adds one.
  EXPECT_EQ(mstrend::FirstHourBlockCount(86400, 10), 2);
  EXPECT_EQ(mstrend::FirstHourBlockCount(1805, 10), 1);
  EXPECT_EQ(mstrend::FirstHourBlockCount(1810, 10), 2);
}

TEST(MultiScreeningTrend, FreeTrendCrossingsAndEmg) {
  const int rate = 100, s = 1000;  // 10-s epochs
  for (float c : {0.0f, 2.5f, -4.0f}) {
    SCOPED_TRACE(c);
    const std::vector<float> x(s, c);
    const mstrend::FreeTrend t = mstrend::FreeTrendOf(x, rate);
    EXPECT_EQ(t.cv, 0.0f);
    // |c| x 1,000 / r x (S - 1)
    EXPECT_NEAR(t.integral, std::fabs(c) * 1000.0 / rate * (s - 1), 1e-3);
    EXPECT_EQ(t.minimum, c);
    EXPECT_EQ(t.maximum, c);
    EXPECT_EQ(mstrend::CrossCount(x, c), 0);
    EXPECT_EQ(mstrend::EmgIntegral(x), 0.0f);
  }
  // A zero crossing splits the trapezoid: 1 -> -1 over 10 ms is two triangles of 2.5.
  EXPECT_NEAR(mstrend::FreeTrendOf(std::vector<float>{1.0f, -1.0f}, rate).integral, 5.0, 1e-6);
  // |x| of 1, 3: mean 2, deviation 1 -> CV 50 %.
  EXPECT_NEAR(mstrend::FreeTrendOf(std::vector<float>{1.0f, -3.0f}, rate).cv, 50.0, 1e-4);

  // Two periods of a sine cross 0.5 upwards twice; a sample exactly at the level neither
  // begins nor completes a crossing.
  std::vector<float> sine(200);
  for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<float>(std::sin(2 * std::numbers::pi * i / 100.0 + 0.1));
  EXPECT_EQ(mstrend::CrossCount(sine, 0.5), 2);
  EXPECT_EQ(mstrend::CrossCount(std::vector<float>{0.0f, 0.5f, 1.0f, 0.0f, 1.0f}, 0.5), 1);
  EXPECT_EQ(mstrend::AbsMaxOf(std::vector<float>{1.0f, -7.0f, 3.0f}), 7.0f);
  // Mean of |x - m|: values 0, 4 -> 2.
  EXPECT_EQ(mstrend::EmgIntegral(std::vector<float>{0.0f, 4.0f}), 2.0f);
}

TEST(MultiScreeningTrend, BandPowersAndRatios) {
  Setting s = Defaults();  // Delta 0.75-4, Theta 6-10 Hz; 256 points x 5 at 128 Hz
  const int rate = 128;
  std::vector<float> epoch(static_cast<std::size_t>(rate) * 10);
  auto fill = [&](double hz) {
    for (std::size_t i = 0; i < epoch.size(); ++i) epoch[i] = static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / rate));
  };
  float p[6], r[6];
  {
    mstrend::BandPowerCalculator calc(s, rate);
    ASSERT_TRUE(calc.Ready());
    fill(2.0);  // inside Delta
    calc.Compute(epoch, p, r);
    EXPECT_GT(p[0], 0.0f);
    EXPECT_NEAR(r[0], 100.0f, 1.0f);
    EXPECT_NEAR(r[1], 0.0f, 1.0f);
    fill(30.0);  // outside every band: total ~ 0, ratios 0
    calc.Compute(epoch, p, r);
    EXPECT_LT(p[0] + p[1], 1e-3f);
    EXPECT_EQ(r[0], 0.0f);
    EXPECT_EQ(r[1], 0.0f);
  }
  // Relative to the effective band 0.75-40 Hz: half of the power lies outside the bands.
  s.FftRateMode = 1;
  s.EffectiveBandTo = 40.0f;
  mstrend::BandPowerCalculator calc(s, rate);
  for (std::size_t i = 0; i < epoch.size(); ++i)
    epoch[i] = static_cast<float>(std::sin(2 * std::numbers::pi * 2.0 * i / rate) + std::sin(2 * std::numbers::pi * 30.0 * i / rate));
  calc.Compute(epoch, p, r);
  EXPECT_NEAR(r[0], 50.0f, 2.0f);
  // Window codes of the spectrum class.
  EXPECT_EQ(mstrend::SpectrumWindowCode(1), 2);
  EXPECT_EQ(mstrend::SpectrumWindowCode(2), 1);
  EXPECT_EQ(mstrend::SpectrumWindowCode(3), 4);
  EXPECT_EQ(mstrend::SpectrumWindowCode(0), 0);
  EXPECT_EQ(mstrend::SpectrumUnitCode(7), 1);
  s.FftPoints = 100;  // no power of two: not ready, no crash
  EXPECT_FALSE(mstrend::BandPowerCalculator(s, rate).Ready());
}

namespace {

// One animal whose parameters are given as tables: parameter -> values.
struct Tables {
  std::map<int, std::vector<float>> byParameter;
  msstage::AnimalValues Values(int epochs) const {
    msstage::AnimalValues a;
    a.epochs = epochs;
    a.channelCount = 3;
    a.values = [this, epochs](int parameter, int channel) {
      auto it = byParameter.find(parameter);
      if (channel < 0 || it == byParameter.end()) return std::vector<float>(static_cast<std::size_t>(epochs), 0.0f);
      return it->second;
    };
    return a;
  }
};

MultiScreeningCondition Cond(std::uint8_t stage, int parameter, int kind, int lowerKind, float lower, int upperKind,
                             float upper) {
  MultiScreeningCondition c;
  c.Stage = stage;
  c.First.Parameter = static_cast<std::uint16_t>(parameter);
  c.First.ChannelKind = static_cast<std::uint16_t>(kind);
  c.First.LowerKind = static_cast<std::uint16_t>(lowerKind);
  c.First.LowerValue = lower;
  c.First.UpperKind = static_cast<std::uint16_t>(upperKind);
  c.First.UpperValue = upper;
  return c;
}

MultiScreeningCondition Default(std::uint8_t stage) {
  MultiScreeningCondition c;
  c.Stage = stage;
  return c;
}

struct Staged {
  std::vector<std::uint8_t> stages;
  std::array<LogicCondition, 20> levels;
};

Staged Stage(const Setting& s, const Tables& t, int epochs, msstage::OccupancyFrame frame = {}) {
  Staged out;
  EXPECT_TRUE(msstage::StageAnimal(s, t.Values(epochs), frame, &out.levels, &out.stages));
  return out;
}

}  // namespace

TEST(MultiScreeningStaging, StatisticsAndBounds) {
  Tables t;
  t.byParameter[28] = {1, 2, 3, 10};
  struct Case {
    const char* what;
    int lowerKind, upperKind;
    float lower, upper;
    float wantLower, wantUpper;
  } cases[] = {
      {"median and max", kMsBoundMedian, kMsBoundMax, 0, 0, 2.5f, 10.0f},
      {"mean and max", kMsBoundMean, kMsBoundMax, 0, 0, 4.0f, 10.0f},
      {"min", kMsBoundMin, kMsBoundValue, 0, 5, 1.0f, 5.0f},
      {"equal values: upper raised by 1 %", kMsBoundValue, kMsBoundValue, 50, 50, 50.0f, 50.5f},
      {"swapped", kMsBoundValue, kMsBoundValue, 9, 2, 2.0f, 9.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Setting s = Defaults();
    s.Conditions = {Cond(3, 28, kMsEeg, c.lowerKind, c.lower, c.upperKind, c.upper), Default(1)};
    const Staged r = Stage(s, t, 4);
    EXPECT_FLOAT_EQ(r.levels[0].term1.lower, c.wantLower);
    EXPECT_FLOAT_EQ(r.levels[0].term1.upper, c.wantUpper);
    EXPECT_EQ(r.levels[0].term1.lowerOp, 1);
    EXPECT_EQ(r.levels[0].term1.upperOp, 3);
    EXPECT_EQ(r.levels[0].stage, 3);
    EXPECT_EQ(r.levels[1].stage, 1);
  }
  // 50.0 .. 50.5 admits 50.0 and 50.5, not 50.6; exclusive operators leave the edges out.
  Tables edge;
  edge.byParameter[28] = {49.9f, 50.0f, 50.5f, 50.6f};
  Setting s = Defaults();
  s.Conditions = {Cond(3, 28, kMsEeg, kMsBoundValue, 50, kMsBoundValue, 50), Default(1)};
  EXPECT_EQ(Stage(s, edge, 4).stages, (std::vector<std::uint8_t>{1, 3, 3, 1}));
  s.Conditions[0].First.LowerExclusive = 1;
  s.Conditions[0].First.UpperExclusive = 1;
  EXPECT_EQ(Stage(s, edge, 4).stages, (std::vector<std::uint8_t>{1, 1, 1, 1}));
}

TEST(MultiScreeningStaging, ConditionOrderDefaultsAndLastStage) {
  // The default conditions: locomotion >= 1 wins stage 1 before the EEG's stage 3.
  Setting s = Defaults();
  Tables t;
  t.byParameter[30] = {0, 2, 0, 0, 0, 0};
  t.byParameter[14] = {5000, 5000, 5000, 10, 10, 10};
  t.byParameter[17] = {0, 0, 0, 0, 0, 0};
  const Staged r = Stage(s, t, 6);
  EXPECT_EQ(r.stages[1], 1);
  EXPECT_EQ(r.stages[0], 3);

  // A first record of stage 0 stages nothing.
  s.Conditions.insert(s.Conditions.begin(), Default(0));
  EXPECT_EQ(Stage(s, t, 6).stages, std::vector<std::uint8_t>(6, 0));

  // Last-stage rule 1, 2 -> 1: a run of 2 after 1 becomes 1 entirely.
  Setting rule = Defaults();
  Tables f;
  f.byParameter[28] = {1, 2, 2, 2, 3, 2};
  rule.Conditions = {Cond(1, 28, kMsEeg, kMsBoundValue, 1, kMsBoundValue, 1.001f),
                     Cond(3, 28, kMsEeg, kMsBoundValue, 3, kMsBoundValue, 3.001f), Default(2)};
  rule.LastStageScreening = 1;
  EXPECT_EQ(Stage(rule, f, 6).stages, (std::vector<std::uint8_t>{1, 1, 1, 1, 3, 2}));
  // A term on a channel the animal lacks reads 0.
  Setting missing = Defaults();
  missing.Conditions = {Cond(3, 28, kMsEeg, kMsBoundValue, 0, kMsBoundValue, 0.5f), Default(1)};
  missing.Conditions[0].First.ChannelNumber = 4;
  EXPECT_EQ(Stage(missing, f, 6).stages, std::vector<std::uint8_t>(6, 3));
  // The previous-stage condition gives the scan's previous stage without a test (epochs 0..3
  // follow an unstaged start and are left to the default).
  Setting previous = Defaults();
  previous.Conditions = {Cond(3, 28, kMsEeg, kMsBoundValue, 3, kMsBoundValue, 3.001f), Default(255), Default(1)};
  EXPECT_EQ(Stage(previous, f, 6).stages, (std::vector<std::uint8_t>{1, 1, 1, 1, 3, 3}));
}

TEST(MultiScreeningStaging, AutomaticSearchAndTargetOccupancy) {
  const int n = 100;
  Tables t;
  t.byParameter[28] = std::vector<float>(n, 7.0f);
  Setting s = Defaults();
  s.Conditions = {Cond(3, 28, kMsEeg, kMsBoundAuto, 0, kMsBoundMax, 0), Default(1)};
  EXPECT_FLOAT_EQ(Stage(s, t, n).levels[0].term1.lower, 7.0f);  // a constant gives itself

  // A ramp 0..99: stage 3 (target 46 %) for values from the lower level up.
  std::vector<float> ramp(n);
  for (int e = 0; e < n; ++e) ramp[static_cast<std::size_t>(e)] = static_cast<float>(e);
  t.byParameter[28] = ramp;
  const Staged r = Stage(s, t, n);
  const auto got = std::count(r.stages.begin(), r.stages.end(), 3);
  EXPECT_NEAR(static_cast<double>(got), 46.0, 1.0);

  // A plateau between the first two candidates of a later iteration: 10 epochs at 0, then 90
  // spread over 9..10. The occupancy falls from 90 % to 1 % over the last quarter, and the
  // search must follow it there rather than take the plateau for a rising curve.
  std::vector<float> gap(n, 0.0f);
  for (int e = 10; e < n; ++e) gap[static_cast<std::size_t>(e)] = 9.0f + static_cast<float>(e - 10) / 90.0f;
  t.byParameter[28] = gap;
  const Staged g = Stage(s, t, n);
  EXPECT_NEAR(static_cast<double>(std::count(g.stages.begin(), g.stages.end(), 3)), 46.0, 1.0);

  msstage::OccupancyFrame f;
  f.epochSeconds = 10;
  f.stageType = 3;
  // Stage 1 takes the rest of 100 for the codes of the stage type: 100 - 10 - 46.
  EXPECT_DOUBLE_EQ(msstage::StageShare(s, 1, f), 44.0);
  EXPECT_DOUBLE_EQ(msstage::StageShare(s, 7, f), 0.0);
  EXPECT_DOUBLE_EQ(msstage::StageShare(s, 255, f), 0.0);
  // No start time: T = t.
  EXPECT_DOUBLE_EQ(msstage::TargetOccupancy(s, 3, f, 4320), 46.0);
  f.hasStartTime = true;
  // All light (09:00 for 1 hour, light from 08:00): 1.36 t at 68 %.
  f.firstEpochSecondOfDay = 9 * 3600;
  EXPECT_NEAR(msstage::TargetOccupancy(s, 3, f, 360), 1.36 * 46.0, 1e-9);
  // A whole day from 08:00: half light, T = t.
  f.firstEpochSecondOfDay = 8 * 3600;
  EXPECT_EQ(msstage::LightEpochs(s, f, 8640), 4320);
  EXPECT_NEAR(msstage::TargetOccupancy(s, 3, f, 8640), 46.0, 1e-9);
  // Over midnight: 20:00 for 16 hours holds the light from 08:00 to 12:00.
  f.firstEpochSecondOfDay = 20 * 3600;
  EXPECT_EQ(msstage::LightEpochs(s, f, 16 * 360), 4 * 360);
}
