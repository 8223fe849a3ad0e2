// A generated night screened in learning mode 1 with a hand-built model: every epoch is staged
// by the model from the same sample record that its learning-sample file then holds.
#include <set>

#include "app/frame/frame_globals.h"
#include "app/scoring/epoch_staging_step.h"
#include "app/scoring/learning_sample_file.h"
#include "staging_model_builder.h"
#include "tests/support/human_night_detectors.h"
#include "tests/screening/screening_fixture.h"

namespace {

using namespace learned;

// Alpha time above 15 % is Wake; below it, delta time above 20 % is Stage4, else Stage2.
LyrStagingModel AlphaDeltaTree() {
  ModelSpec s;
  s.features = {0, 3};
  s.axisUsed = {1, 1};
  s.weights = {{1.0, 0.0}, {0.0, 1.0}};
  s.offsets = {0.0, 0.0};
  s.cuts = {{15.0}, {20.0}};
  s.tree = Split("2Axis", {200, 201},
                 {Split("1Axis", {100, 101}, {Leaf("Stage2"), Leaf("Wake")}), Split("1Axis", {100, 101}, {Leaf("Stage4"), Leaf("Wake")})});
  return BuildModel(s);
}

class LearningScreeningTest : public ScreeningTest {};

TEST_F(LearningScreeningTest, EpochsAreStagedByTheModelFromTheirSampleRecords) {
  CQLM2_AnalyzerDoc& doc = Doc();
  AssignHumanNightDetectors(doc.Params);
  doc.Params.stageType.stageType = 0;
  doc.Params.logicOption.lastStageMode = 0;
  LearningSampleMode = 1;
  std::vector<LyrStagingModel> models;
  models.push_back(AlphaDeltaTree());
  doc.AutoStaging.SetModels(std::move(models));
  doc.AutoStaging.LearningInfo().stageType = 0;

  LyrDlgScreening& dlg = OpenScreening();
  ScreeningCondition& condition = doc.ScreeningConditions[0];
  condition.resultPath = OutPath("night.raf");
  condition.waveform = doc.Params.waveForm;
  condition.logicOption.lastStageMode = 0;
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  RunTimer();
  ASSERT_EQ(doc.LastScreenedEpoch, kEpochs - 1);

  LearningSampleSet set;
  std::string message;
  ASSERT_EQ(ReadLearningSamples(OutPath("night.MSF"), 30000, &set, &message), LearningFileStatus::Ok) << message;
  ASSERT_EQ(set.samples.size(), static_cast<std::size_t>(kEpochs));
  ASSERT_EQ(set.header.learningFileCount, 1);
  std::set<int> stages;
  for (int e = 0; e < kEpochs; ++e) {
    const auto i = static_cast<std::size_t>(e);
    EXPECT_EQ(BuildStagingSample(doc, e, 30), set.samples[i]) << "epoch " << e;
    const std::uint8_t flag = doc.EpochTables.EpochFlags(e)[2];
    const std::uint8_t stage = doc.EpochTables.Record(e)->stage[0];
    EXPECT_EQ(stage, flag) << "epoch " << e;
    EXPECT_EQ(set.stages[i][2], flag) << "epoch " << e;
    EXPECT_EQ(flag % 20, doc.AutoStaging.StageEpoch(set.samples[i])) << "epoch " << e;
    stages.insert(flag % 20);
  }
  EXPECT_GE(stages.size(), 2u) << "the night's epochs fall on more than one leaf";
  EXPECT_EQ(stages.count(0), 0u);
}

}  // namespace
