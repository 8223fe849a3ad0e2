// The document's logic scoring under its default conditions, and its last-stage rules over
// the screened epochs.
#include <gtest/gtest.h>

#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"

namespace {

struct DocumentLogic : testing::Test {
  CQLM2_AnalyzerDoc doc;
  std::int32_t savedEpochSeconds = EpochSeconds;
  void SetUp() override {
    EpochSeconds = 30;
    SetDefaultLogicParam(&doc.Params.logic);
    SetDefaultLogicOption(&doc.Params.logicOption);
    doc.Params.stageType.stageType = 0;
    ASSERT_EQ(doc.EpochTables.SetNew(4, 0, 1, 1, 1), 1);
  }
  void TearDown() override { EpochSeconds = savedEpochSeconds; }
};

TEST_F(DocumentLogic, DefaultConditionsOfStageTypeZero) {
  // Durations in ms of a 30-second epoch: 30,000 ms is 100 %.
  struct Case {
    std::string name;
    float emg, deltaMs, alphaMs;
    std::int16_t spindles, rems;
    std::uint8_t stage;
  } cases[] = {
      {"EMG 100 is movement", 100, 0, 0, 0, 0, 7},
      {"delta 50 % is stage 4", 0, 15000, 0, 0, 0, 6},
      {"delta 20 % is stage 3", 0, 6000, 0, 0, 0, 5},
      {"delta just under 20 % with 2 spindles is stage 2", 0, 5990, 0, 2, 0, 4},
      {"30 spindles are too many for stage 2", 0, 0, 0, 30, 0, 3},
      {"2 REMs", 0, 0, 0, 0, 2, 2},
      {"alpha 25 %", 0, 0, 7500, 0, 0, 1},
      {"nothing: stage 1", 0, 0, 0, 0, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LyrEpochRec& r = *doc.EpochTables.Record(0);
    r.emg = c.emg;
    r.wave[kWaveDelta].durationMs = c.deltaMs;
    r.wave[kWaveAlpha].durationMs = c.alphaMs;
    r.wave[kWaveSpindle].count = c.spindles;
    r.remsBoth = c.rems;
    std::uint8_t cand[kCandidateCount] = {};
    EXPECT_EQ(doc.EvaluateLogic(doc.Params.logic.sets[0].data(), 0, cand), c.stage);
  }
}

TEST_F(DocumentLogic, LastStageRulesCoverTheScreenedEpochs) {
  for (int e = 0; e < 4; ++e) doc.EpochTables.SetStage(e, e == 0 ? 1 : 7);
  doc.Params.logicOption.lastStageMode = 2;
  doc.Params.logicOption.stageA = 1, doc.Params.logicOption.stageB = 7, doc.Params.logicOption.stageC = 1;
  doc.LastScreenedEpoch = -1;
  doc.ApplyStageChangeRule();
  EXPECT_EQ(doc.EpochTables.GetStage(0, 1, 0), 7) << "nothing screened";
  doc.LastScreenedEpoch = 1;
  EXPECT_EQ(doc.ApplyLastStageRules(doc.LastScreenedEpoch), 2);
  EXPECT_EQ(doc.EpochTables.GetStage(0, 1, 0), 1);
  EXPECT_EQ(doc.EpochTables.GetStage(0, 2, 0), 7) << "beyond the last screened epoch";
}

}  // namespace
