// The staging step of a screening run over one page of a document, and the re-scoring of
// the screened epochs.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/scoring/epoch_staging_step.h"

namespace {

constexpr std::uint16_t kEmg = 13;

LogicCondition Cond(float lower, float upper, std::uint8_t stage) {
  LogicCondition c;
  c.term1 = {lower, 1, kEmg, 0, 3, upper};
  c.stage = stage;
  return c;
}

// Seven 30-second epochs, three to a 90-second page, under stage type 0.
struct StagingFixture : testing::Test {
  CQLM2_AnalyzerDoc doc;
  LyrEpochStagingStep step;
  std::set<int> artifacts;  // epochs of the page over the artifact level

  void SetUp() override {
    doc.RecordSeconds = 7 * 30;
    doc.RecordInfo.channelCount = 1;
    doc.Params.stageType.stageType = 0;
    ASSERT_EQ(doc.EpochTables.SetNew(7, 0, 1, 1, 1, 1), 1);
  }
  void Conditions(std::vector<LogicCondition> list) {
    auto& set = doc.Params.logic.sets[0];
    for (auto& c : set) c = LogicCondition{};
    for (std::size_t i = 0; i < list.size(); ++i) set[i] = list[i];
  }
  int Stage(int pageNumber, int parameterOnly = 0, int learning = 0) {
    LyrEpochStagingStep::Page page;
    page.pageNumber = pageNumber;
    page.pageSeconds = 90;
    page.epochSeconds = 30;
    page.parameterOnly = parameterOnly;
    page.learningSampleMode = learning;
    page.overThreshold = [this](int i) { return artifacts.count(i) ? 1 : 0; };
    return step.StagePage(doc, page);
  }
  int Code(int e) const { return doc.EpochTables.Record(e)->stage[0]; }
  std::vector<int> Candidates(int e) const {
    const auto* r = doc.EpochTables.Record(e);
    std::vector<int> out;
    for (int k = 0; k < kCandidateCount && r->candidate[k] != 0; ++k) out.push_back(r->candidate[k]);
    return out;
  }
};

TEST_F(StagingFixture, EmptyListScoresOneAndArtifactsTheDiscardedFamily) {
  Conditions({});
  artifacts = {1};
  EXPECT_EQ(Stage(0), 3);
  EXPECT_EQ(Code(0), 1);
  EXPECT_EQ(Code(1), 21);
  EXPECT_EQ(Code(2), 1);
}

TEST_F(StagingFixture, ArtifactRaisesTheStageAndItsCandidates) {
  // Both conditions hold for EMG 150 at every epoch: stage 4, candidates 4 and 2.
  for (int e = 0; e < 3; ++e) doc.EpochTables.Record(e)->emg = 150.0f;
  Conditions({Cond(100, 200, 4), Cond(100, 200, 2), Cond(0, 0, 3)});
  artifacts = {0};
  Stage(0);
  EXPECT_EQ(Code(0), 24);
  EXPECT_EQ(Candidates(0), (std::vector<int>{24, 22}));
  EXPECT_EQ(Code(1), 4);
  EXPECT_EQ(Candidates(1), (std::vector<int>{4, 2}));
  EXPECT_EQ(doc.EpochTables.EpochFlags(0)[2], 0) << "flags only in learning-sample mode";

  // A clean epoch whose result is in the discarded family comes back to the plain one.
  Conditions({Cond(100, 200, 23), Cond(100, 200, 22), Cond(0, 0, 3)});
  artifacts = {};
  Stage(0);
  EXPECT_EQ(Code(1), 3);
  EXPECT_EQ(Candidates(1), (std::vector<int>{3, 2})) << "earlier candidates are replaced, not kept";
}

TEST_F(StagingFixture, LastPageEndsAtTheLastEpoch) {
  Conditions({Cond(0, 0, 5)});
  EXPECT_EQ(Stage(2), 1);  // epochs 6, 7 and 8 of which only 6 exists
  EXPECT_EQ(Code(6), 5);
  EXPECT_EQ(Code(5), 0);
}

TEST_F(StagingFixture, PreviousEpochStageFollowsThePageInOrder) {
  Conditions({Cond(0, 0, kStagePreviousEpoch)});
  doc.EpochTables.SetStage(2, 6);
  Stage(1);  // epochs 3..5 each take the stage just stored before them
  EXPECT_EQ(Code(3), 6);
  EXPECT_EQ(Code(5), 6);
  Stage(0);
  EXPECT_EQ(Code(0), 1);
}

TEST_F(StagingFixture, ParameterOnlyRunTouchesArtifactEpochsAlone) {
  Conditions({Cond(0, 0, 5)});
  doc.EpochTables.SetStage(0, 4);
  doc.EpochTables.SetStage(1, 4);
  artifacts = {1};
  Stage(0, 1, 2);
  EXPECT_EQ(Code(0), 4);
  EXPECT_EQ(Code(1), 20);
  EXPECT_EQ(doc.EpochTables.GetStage(0, 1, 1), 4);
  EXPECT_EQ(doc.EpochTables.EpochFlags(1)[0], 24);
  EXPECT_EQ(Code(2), 0);
}

TEST_F(StagingFixture, LearningModeStagesByTheClassifier) {
  struct Fixed : LyrAutoStaging {
    std::uint8_t StageEpoch(const LearningSample& r) const override { return ReadLearningFeatures(r)[6] > 100 ? 7 : 2; }
  } model;
  doc.Params.waveForm.emgChannel = 0;
  doc.EpochTables.Record(0)->emg = 150.0f;
  Conditions({Cond(0, 0, 5)});
  LyrEpochStagingStep::Page page;
  page.pageSeconds = 90;
  page.epochSeconds = 30;
  page.learningSampleMode = 1;
  page.classifier = &model;
  step.StagePage(doc, page);
  EXPECT_EQ(Code(0), 7);
  EXPECT_EQ(Code(1), 2);
  EXPECT_EQ(doc.EpochTables.EpochFlags(0)[2], 7);
  page.classifier = nullptr;  // no model: no stage
  step.StagePage(doc, page);
  EXPECT_EQ(Code(0), 0);
}

TEST_F(StagingFixture, RescoringKeepsTheDiscardedFamily) {
  for (int e = 0; e < 7; ++e) doc.EpochTables.Record(e)->emg = 150.0f;
  Conditions({Cond(100, 200, 4), Cond(100, 200, 2), Cond(0, 0, 3)});
  doc.EpochTables.SetStage(1, 23);
  std::uint8_t stale[kCandidateCount] = {9, 9, 9};
  StoreEpochResult(doc.EpochTables, 0, 9, stale);
  EXPECT_EQ(LyrEpochStagingStep::RescoreByLogic(doc, 2, 30, 0), 3);
  EXPECT_EQ(Code(0), 4);
  EXPECT_EQ(Candidates(0), (std::vector<int>{4, 2}));
  EXPECT_EQ(Code(1), 24);
  EXPECT_EQ(Candidates(1), (std::vector<int>{24, 22}));
  EXPECT_EQ(Code(3), 0) << "beyond the last epoch";
  EXPECT_EQ(LyrEpochStagingStep::RescoreByLogic(doc, -1, 30, 0), 0);
}

}  // namespace
