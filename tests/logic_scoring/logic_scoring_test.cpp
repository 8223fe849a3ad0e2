// Logic scoring of an epoch: which condition decides, which stages become candidates, and
// how the previous epoch's stage is taken.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/scoring/logic_scoring.h"

namespace {

constexpr std::uint16_t kEmg = 13;      // EMG value of the record
constexpr std::uint16_t kSpindle = 4;   // spindle count of the record
constexpr float kFltMax = std::numeric_limits<float>::max();

// lower <= value <= upper on one value code.
LogicCondition Cond(std::uint16_t code, float lower, float upper, std::uint8_t stage) {
  LogicCondition c;
  c.term1 = {lower, 1, code, 0, 3, upper};
  c.stage = stage;
  return c;
}

std::vector<LogicCondition> List(std::vector<LogicCondition> head) {
  head.resize(kLogicConditionCount);  // the rest end the list (stage 0)
  return head;
}

struct Night {
  LyrEpochParameter tables;
  AnalysisParamBlocks blocks;
  explicit Night(int epochs) { EXPECT_EQ(tables.SetNew(epochs, 30, 2, 1, 1), 1); }
  void Values(int epoch, float emg, std::int16_t spindles) {
    tables.Record(epoch)->emg = emg;
    tables.Record(epoch)->wave[kWaveSpindle].count = spindles;
  }
  std::uint8_t Evaluate(const std::vector<LogicCondition>& conditions, int epoch, std::array<std::uint8_t, 20>& cand) {
    const LogicScoringContext ctx(tables, blocks, 30);
    return EvaluateLogic(ctx, conditions, epoch, cand.data());
  }
};

std::array<std::uint8_t, 20> Cands(std::vector<std::uint8_t> head) {
  std::array<std::uint8_t, 20> a{};
  for (std::size_t i = 0; i < head.size(); ++i) a[i] = head[i];
  return a;
}

TEST(LogicScoring, FirstHoldingConditionDecidesAndEveryHoldingOneIsACandidate) {
  // A: EMG in 100..200 -> 7; B: spindles in 2..30 -> 5; C: the default -> 3.
  const auto abc = List({Cond(kEmg, 100, 200, 7), Cond(kSpindle, 2, 30, 5), Cond(kEmg, 0, 0, 3)});
  struct Case {
    std::string name;
    std::vector<LogicCondition> conditions;
    float emg;
    std::int16_t spindles;
    std::uint8_t stage;
    std::array<std::uint8_t, 20> candidates;
  } cases[] = {
      {"empty list scores 1", List({}), 150, 5, 1, Cands({})},
      {"a single condition is the default, never tested", List({Cond(kEmg, 0, 1, 6)}), 150, 5, 6, Cands({})},
      {"A fails, B holds", abc, 50, 5, 5, Cands({5})},
      {"A and B hold", abc, 150, 5, 7, Cands({7, 5})},
      {"nothing holds", abc, 50, 0, 3, Cands({})},
      // The default's own terms hold here (EMG 0 in 0..0) but it is never tested.
      {"default's terms are not tested", abc, 0, 0, 3, Cands({})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Night n(1);
    n.Values(0, c.emg, c.spindles);
    std::array<std::uint8_t, 20> cand;
    cand.fill(99);
    EXPECT_EQ(n.Evaluate(c.conditions, 0, cand), c.stage);
    EXPECT_EQ(cand, c.candidates);
  }
}

TEST(LogicScoring, StageOfThePreviousEpoch) {
  Night n(13);
  n.blocks.stageType.stageType = 1;
  n.tables.SetStage(11, 26);  // shown as 25 under stage type 1
  n.Values(0, 150, 0);
  n.Values(12, 150, 0);
  std::array<std::uint8_t, 20> cand{};

  const auto byDefault = List({Cond(kEmg, 0, 1, 7), Cond(kEmg, 0, 0, kStagePreviousEpoch)});
  EXPECT_EQ(n.Evaluate(byDefault, 0, cand), 1);
  EXPECT_EQ(n.Evaluate(byDefault, 12, cand), 25);

  // A holding 255-condition: 1 at epoch 0, as result and as candidate.
  const auto holding = List({Cond(kEmg, 100, 200, kStagePreviousEpoch), Cond(kEmg, 0, 0, 3)});
  EXPECT_EQ(n.Evaluate(holding, 0, cand), 1);
  EXPECT_EQ(cand, Cands({1}));
  EXPECT_EQ(n.Evaluate(holding, 12, cand), 25);
  EXPECT_EQ(cand, Cands({25}));

  // An earlier holding condition keeps the result; the 255 one still adds its candidate.
  const auto earlier = List({Cond(kEmg, 100, 200, 4), Cond(kEmg, 100, 200, kStagePreviousEpoch), Cond(kEmg, 0, 0, 3)});
  EXPECT_EQ(n.Evaluate(earlier, 0, cand), 4);
  EXPECT_EQ(cand, Cands({4, 1}));
}

TEST(LogicScoring, TwentyConditionsLeaveTheTwentiethUntested) {
  Night n(1);
  n.Values(0, 5, 0);
  std::vector<LogicCondition> all;
  for (int i = 0; i < 19; ++i) all.push_back(Cond(kEmg, 100, 200, 4));  // never hold
  all.push_back(Cond(kEmg, 0, 10, 2));                                   // would hold
  std::array<std::uint8_t, 20> cand{};
  EXPECT_EQ(n.Evaluate(all, 0, cand), 2);
  EXPECT_EQ(cand, Cands({}));
  // Every one of 19 tested conditions holding fills 19 candidates, the last stays 0.
  for (int i = 0; i < 19; ++i) all[static_cast<std::size_t>(i)] = Cond(kEmg, 0, 10, static_cast<std::uint8_t>(i + 1));
  EXPECT_EQ(n.Evaluate(all, 0, cand), 1);
  EXPECT_EQ(cand[18], 19);
  EXPECT_EQ(cand[19], 0);
}

TEST(LogicScoring, ConditionTest) {
  auto cond = [](std::uint16_t lowerOp, std::uint16_t upperOp) {
    LogicCondition c;
    c.term1 = {1.0f, lowerOp, kEmg, 0, upperOp, 2.0f};
    return c;
  };
  struct Case {
    std::uint16_t lowerOp, upperOp;
    float value;
    int holds;
  } cases[] = {
      {0, 2, 1.0f, 0}, {0, 2, 1.5f, 1}, {0, 2, 2.0f, 0},  // 1 < v < 2
      {1, 2, 1.0f, 1}, {1, 2, 2.0f, 0},                   // 1 <= v < 2
      {0, 3, 1.0f, 0}, {0, 3, 2.0f, 1},                   // 1 < v <= 2
      {1, 3, 1.0f, 1}, {1, 3, 2.0f, 1},                   // 1 <= v <= 2
      {2, 3, 1.5f, 0}, {1, 1, 1.5f, 0}, {4, 3, 1.5f, 0},  // operators out of place
      {1, 3, std::nanf(""), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lowerOp << "/" << c.upperOp << " v=" << c.value);
    EXPECT_EQ(TestLogicCondition(cond(c.lowerOp, c.upperOp), c.value, 0.0f), c.holds);
  }

  // "No value" passes only an inclusive upper bound equal to it.
  LogicCondition open = cond(1, 3);
  open.term1.upper = kFltMax;
  EXPECT_EQ(TestLogicCondition(open, kFltMax, 0.0f), 1);
  open.term1.upperOp = 2;
  EXPECT_EQ(TestLogicCondition(open, kFltMax, 0.0f), 0);
  EXPECT_EQ(TestLogicCondition(cond(1, 3), kFltMax, 0.0f), 0);

  // Term 2 counts only with the "And" switch.
  LogicCondition both = cond(1, 3);
  both.term2 = {5.0f, 1, kEmg, 0, 3, 6.0f};
  EXPECT_EQ(TestLogicCondition(both, 1.5f, 0.0f), 1);
  both.andSwitch = 1;
  EXPECT_EQ(TestLogicCondition(both, 1.5f, 0.0f), 0);
  EXPECT_EQ(TestLogicCondition(both, 1.5f, 5.5f), 1);
}

TEST(LogicScoring, ValuesThatDoNotExistNeverMeetAFiniteBound) {
  Night n(1);
  n.blocks.fftBand.channelSwitch[0] = 1;  // channel 1 is not an FFT-band channel
  n.tables.BandValues(0, 0)[0] = 7.0f;
  const LogicScoringContext ctx(n.tables, n.blocks, 30);
  EXPECT_EQ(ctx.GetLogicParameter(0, 14, 0), 7.0f);
  EXPECT_EQ(ctx.GetLogicParameter(0, 14, 1), kFltMax);
  std::array<std::uint8_t, 20> cand{};
  LogicCondition band = Cond(14, 0, 1e30f, 6);
  band.term1.channel = 1;
  EXPECT_EQ(n.Evaluate(List({band, Cond(kEmg, 0, 0, 3)}), 0, cand), 3);
}

}  // namespace
