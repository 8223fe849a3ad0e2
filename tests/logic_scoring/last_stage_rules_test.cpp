// Last-stage rules: each rule on a short night written as stage codes, with the wave
// results the rules read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scoring/last_stage_rules.h"

namespace {

struct Night {
  LyrEpochParameter tables;
  LastStageRuleContext ctx;
  explicit Night(const std::vector<int>& codes, int learning = 0) {
    EXPECT_EQ(tables.SetNew(static_cast<int>(codes.size()), 30, 2, 1, 1, learning), 1);
    for (std::size_t e = 0; e < codes.size(); ++e) tables.SetStage(static_cast<int>(e), static_cast<std::uint8_t>(codes[e]));
    ctx.tables = &tables;
    ctx.lastEpoch = static_cast<int>(codes.size()) - 1;
    ctx.learningSampleMode = learning;
    // Only the rule under test runs.
    ctx.option.remSpindleRule = ctx.option.ceaseWithRemRule = ctx.option.threeMinuteRule = 0;
    ctx.option.wakeNeighbourRule = 0;
  }
  LyrEpochRec& Rec(int e) { return *tables.Record(e); }
  std::vector<int> Codes() const {
    std::vector<int> out;
    for (int e = 0; e < tables.EpochCount(); ++e) out.push_back(tables.Record(e)->stage[0]);
    return out;
  }
};

TEST(LastStageRules, RemLevelRule) {
  // REM above the level leaves REM; a quiet epoch after REM becomes REM.
  Night n({2, 4, 2, 2});
  n.Rec(0).emg = 120.0f;   // above 100: R -> 3
  n.Rec(1).emg = 40.0f;    // after epoch 0, which is no longer R: untouched
  n.Rec(3).emg = 40.0f;    // after R (epoch 2), no waves: stays / becomes R
  ApplyREMLevelRule(n.ctx);
  EXPECT_EQ(n.Codes(), (std::vector<int>{3, 4, 2, 2}));

  Night quiet({2, 4, 4});
  quiet.Rec(1).emg = 40.0f;
  quiet.Rec(2).wave[kWaveDelta].count = 1;  // a delta wave keeps the epoch
  ApplyREMLevelRule(quiet.ctx);
  EXPECT_EQ(quiet.Codes(), (std::vector<int>{2, 2, 4}));

  // With a spindle the epoch becomes REM only between REM epochs; at the last epoch the
  // pass ends. The level is strict: 100.0 is not above it.
  Night spindle({2, 4, 2, 24, 4});
  spindle.Rec(1).wave[kWaveSpindle].count = 1;
  spindle.Rec(3).wave[kWaveSpindle].count = 1;
  spindle.Rec(3).emg = 100.0f;
  spindle.Rec(4).wave[kWaveSpindle].count = 1;
  ApplyREMLevelRule(spindle.ctx);
  EXPECT_EQ(spindle.Codes(), (std::vector<int>{2, 2, 2, 24, 4}));
}

TEST(LastStageRules, RemExtensionBackwards) {
  struct Case {
    std::string name;
    int stageType;
    std::vector<int> codes;
    std::vector<int> expected;
  } cases[] = {
      // A deep epoch extends REM back to it and the walk goes on; a walk past epoch 1 stops.
      {"deep epoch", 0, {1, 3, 5, 3, 2}, {1, 3, 5, 2, 2}},
      {"wake stops the walk", 0, {1, 1, 5, 3, 2}, {1, 1, 2, 2, 2}},
      {"stage 4 is deep under type 0 only", 1, {3, 3, 6, 3, 2}, {3, 3, 6, 2, 2}},
      {"type 3 only stops", 3, {3, 3, 5, 3, 2}, {3, 3, 5, 3, 2}},
      {"discarded epochs keep their family", 0, {7, 7, 23, 23, 22}, {7, 7, 22, 22, 22}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Night n(c.codes);
    n.ctx.stageType = c.stageType;
    ApplyREMExtensionRule(n.ctx);
    EXPECT_EQ(n.Codes(), c.expected);
  }

  // An epoch extended twice in one walk keeps its former code in its history.
  Night twice({1, 1, 5, 3, 2});
  ApplyREMExtensionRule(twice.ctx);
  EXPECT_EQ(twice.tables.GetStage(0, 3, 1), 3);
}

TEST(LastStageRules, Stage2Continuity) {
  // 30-second epochs: window 180 / 30 = 6 epochs.
  auto spindles = [](Night& n) {
    n.Rec(0).wave[kWaveSpindle].count = 1;
    n.Rec(4).wave[kWaveSpindle].count = 1;
  };
  {
    Night n({4, 5, 5, 5, 4, 5});
    spindles(n);
    ApplyStage2Rule(n.ctx);
    EXPECT_EQ(n.Codes(), (std::vector<int>{4, 4, 4, 4, 4, 5}));
  }
  {  // a wake epoch between: before it stage 2, from it on stage 1 except wake and movement
    Night n({4, 5, 1, 5, 4, 5});
    spindles(n);
    ApplyStage2Rule(n.ctx);
    EXPECT_EQ(n.Codes(), (std::vector<int>{4, 4, 1, 3, 4, 5}));
  }
  {  // eye movements stop the look
    Night n({4, 5, 5, 5, 4, 5});
    spindles(n);
    n.ctx.eogRightChannel = 0;
    n.Rec(2).remsRight = 1;
    ApplyStage2Rule(n.ctx);
    EXPECT_EQ(n.Codes(), (std::vector<int>{4, 5, 5, 5, 4, 5}));
  }
  {  // partner beyond the window
    Night n({4, 5, 5, 5, 5, 5, 5, 4});
    n.Rec(0).wave[kWaveSpindle].count = 1;
    n.Rec(7).wave[kWaveSpindle].count = 1;
    ApplyStage2Rule(n.ctx);
    EXPECT_EQ(n.Codes(), (std::vector<int>{4, 5, 5, 5, 5, 5, 5, 4}));
  }
  {  // not under stage type 2
    Night n({4, 5, 5, 5, 4, 5});
    spindles(n);
    n.ctx.stageType = 2;
    ApplyStage2Rule(n.ctx);
    EXPECT_EQ(n.Codes(), (std::vector<int>{4, 5, 5, 5, 4, 5}));
  }
}

TEST(LastStageRules, MovementBetweenWake) {
  Night n({1, 7, 7, 4});
  ApplyMovementRule(n.ctx);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 1, 1, 4}));

  Night family({21, 27, 4, 7, 21});  // the last epoch is never examined
  ApplyMovementRule(family.ctx);
  EXPECT_EQ(family.Codes(), (std::vector<int>{21, 21, 4, 1, 21}));

  Night two({1, 7});
  ApplyMovementRule(two.ctx);
  EXPECT_EQ(two.Codes(), (std::vector<int>{1, 7}));
}

TEST(LastStageRules, StageChangeRule) {
  Night n({1, 7, 7, 4, 1, 27, 4}, 1);
  n.ctx.option.stageA = 1, n.ctx.option.stageB = 7, n.ctx.option.stageC = 1;
  ApplyStageChangeRule(n.ctx);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 1, 1, 4, 1, 21, 4}));
  for (int e : {1, 2}) EXPECT_EQ(n.tables.GetStage(0, e, 1), 7) << "epoch " << e;
  EXPECT_EQ(n.tables.EpochFlags(1)[1], 0) << "the stage-change rule writes no flags";
}

TEST(LastStageRules, ModeRangeAndLearningFlags) {
  Night n({1, 7, 7, 4}, 1);
  n.ctx.option.wakeNeighbourRule = 1;
  n.ctx.option.lastStageMode = 0;
  EXPECT_EQ(ApplyLastStageRules(n.ctx), 0);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 7, 7, 4}));

  n.ctx.option.lastStageMode = 1;
  n.ctx.lastEpoch = -1;  // nothing screened
  ApplyLastStageRules(n.ctx);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 7, 7, 4}));

  n.ctx.lastEpoch = 2;  // only epochs 0..2: epoch 2 is the last and never examined
  EXPECT_EQ(ApplyLastStageRules(n.ctx), 1);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 1, 7, 4}));
  EXPECT_EQ(n.tables.EpochFlags(1)[1], 1);

  n.ctx.lastEpoch = 1000;  // beyond the tables: clamped
  ApplyLastStageRules(n.ctx);
  EXPECT_EQ(n.Codes(), (std::vector<int>{1, 1, 1, 4}));
}

}  // namespace
