// Staging one epoch by a learned model: axis values, intervals and codes, the walk down each
// tree, the vote, the tie-break by sample counts and the mapping of classes to stage codes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "staging_model_builder.h"

namespace {

using namespace learned;

struct Case {
  const char* what;
  std::vector<ModelSpec> trees;
  int mode;  // stage type the model was learned for
  LearningSample sample;
  int stage;
};

ModelSpec OneAxis(std::vector<double> cuts, NodeSpec tree, int stageType = 0) {
  ModelSpec s;
  s.stageType = stageType;
  s.cuts = {std::move(cuts)};
  s.tree = std::move(tree);
  return s;
}

// Wake below 10, Rem from 10 to below 20, Stage1 from 20.
NodeSpec ThreeWay() { return Split("1Axis", {100, 101, 102}, {Leaf("Wake"), Leaf("Rem"), Leaf("Stage1")}); }

// A tree whose one split sends every epoch to the leaf (its parent carries parentCounts).
ModelSpec Voter(const char* cls, std::vector<std::int32_t> counts, std::vector<std::int32_t> parentCounts = {}) {
  return OneAxis({}, Split("1Axis", {100}, {Leaf(cls, std::move(counts))}, std::move(parentCounts)));
}

std::vector<Case> Cases() {
  std::vector<Case> c;
  c.push_back({"below the first cut", {OneAxis({10, 20}, ThreeWay())}, 0, Emg(9.5), 1});
  c.push_back({"equal to a cut goes to the interval above", {OneAxis({10, 20}, ThreeWay())}, 0, Emg(10), 2});
  c.push_back({"equal to the last cut", {OneAxis({10, 20}, ThreeWay())}, 0, Emg(20), 3});
  {
    // Axis 0 unused: axis 1's codes start at 200; an empty cut list gives interval 1.
    ModelSpec s;
    s.axisUsed = {0, 1};
    s.weights = {{0.0, 1.0}};
    s.offsets = {0.0, 0.0};
    s.cuts = {{}, {}};
    s.tree = Split("2Axis", {199, 200, 201}, {Leaf("Wake"), Leaf("Rem"), Leaf("Stage1")});
    c.push_back({"empty cut list gives 100 j + 100", {s}, 0, Emg(1e6), 2});
    s.cuts = {{}, {5}};
    c.push_back({"axis 1, interval 2", {s}, 0, Emg(7), 3});
  }
  {
    // Theta and EMG used: weight rows 0 and 1; the alpha value is not used.
    ModelSpec s;
    s.features = {2, 6};
    s.weights = {{1.0}, {10.0}};
    s.offsets = {-40.0};
    s.cuts = {{2.5, 3.5}};
    s.tree = ThreeWay();
    c.push_back({"unused features are skipped in the weight rows", {s}, 0, Sample({{0, 1000}, {2, 3}, {6, 4}}), 2});
  }
  c.push_back({"no matching child value takes child 0",
               {OneAxis({}, Split("1Axis", {150, 160}, {Leaf("Stage2"), Leaf("Rem")}))}, 0, Emg(1), 4});
  c.push_back({"several matches take the last",
               {OneAxis({}, Split("1Axis", {100, 100, 150}, {Leaf("Wake"), Leaf("Rem"), Leaf("Stage1")}))}, 0,
               Emg(1), 2});
  {
    // Two axes; the second level splits on axis 2 under axis 1's interval 2.
    ModelSpec s;
    s.features = {3, 6};
    s.axisUsed = {1, 1};
    s.weights = {{1.0, 0.0}, {0.0, 1.0}};
    s.offsets = {0.0, 0.0};
    s.cuts = {{50}, {5}};
    s.tree = Split("1Axis", {100, 101},
                   {Leaf("Wake"), Split("2Axis", {200, 201}, {Leaf("Stage4"), Leaf("Stage3")})});
    c.push_back({"two levels", {s}, 0, Sample({{3, 60}, {6, 1}}), 6});
    c.push_back({"two levels, other branch", {s}, 0, Sample({{3, 60}, {6, 9}}), 5});
  }
  c.push_back({"a leaf that is not a class", {OneAxis({}, Split("1Axis", {100}, {Leaf("Deep")}))}, 0, Emg(1), 0});
  c.push_back({"two trees: the larger count wins", {Voter("Wake", {5, 1}), Voter("Rem", {2, 3})}, 0, Emg(1), 1});
  c.push_back({"two trees: the other way", {Voter("Wake", {1, 1}), Voter("Rem", {1, 5})}, 0, Emg(1), 2});
  c.push_back({"equal sums climb to the parents",
               {Voter("Wake", {2, 2}, {3, 9}), Voter("Rem", {2, 2}, {1, 1})}, 0, Emg(1), 2});
  c.push_back({"a tie up to FirstNode ends with the lowest class",
               {Voter("Stage1", {0, 4, 4}), Voter("Rem", {0, 4, 4})}, 0, Emg(1), 2});
  // Counts are kept by model class: a learning set without Stage1 still has Stage2 at 3.
  c.push_back({"counts by model class", {Voter("Rem", {0, 4, 0, 1}), Voter("Stage2", {0, 1, 0, 6})}, 0, Emg(1), 4});
  c.push_back({"the majority needs no counts",
               {Voter("Wake", {}), Voter("Rem", {0, 99}), Voter("Wake", {})}, 0, Emg(1), 1});
  c.push_back({"mode 2: Deep is 5", {OneAxis({}, Split("1Axis", {100}, {Leaf("Deep")}), 2)}, 2, Emg(1), 5});
  c.push_back({"mode 2: MT is 7", {OneAxis({}, Split("1Axis", {100}, {Leaf("MT")}), 2)}, 2, Emg(1), 7});
  c.push_back({"mode 1: Deep is 5", {OneAxis({}, Split("1Axis", {100}, {Leaf("Deep")}), 1)}, 1, Emg(1), 5});
  c.push_back({"mode 3: NonRem is 3", {OneAxis({}, Split("1Axis", {100}, {Leaf("NonRem")}), 3)}, 3, Emg(1), 3});
  c.push_back({"another mode gives 0", {OneAxis({10, 20}, ThreeWay())}, 4, Emg(1), 0});
  c.push_back({"a NaN feature gives 0", {OneAxis({10, 20}, ThreeWay())}, 0,
               Emg(std::numeric_limits<double>::quiet_NaN()), 0});
  return c;
}

class EngineTest : public testing::Test {
 protected:
  void SetUp() override {
    LyrAutoStaging::MessageSink() = [this](const std::string& t) { messages.push_back(t); };
  }
  void TearDown() override { LyrAutoStaging::MessageSink() = nullptr; }
  std::vector<std::string> messages;
};

TEST_F(EngineTest, StagesByTheTreesVote) {
  for (const Case& c : Cases()) {
    LyrAutoStaging staging;
    std::vector<LyrStagingModel> models;
    for (const ModelSpec& s : c.trees) models.push_back(BuildModel(s));
    staging.SetModels(std::move(models));
    staging.LearningInfo().stageType = static_cast<std::uint16_t>(c.mode);
    EXPECT_EQ(staging.StageEpoch(c.sample), c.stage) << c.what;
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(EngineTest, NoModelGivesNoStage) {
  LyrAutoStaging staging;
  EXPECT_EQ(staging.StageEpoch(Emg(1)), 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(EngineTest, CodesCountEveryAxisOfTheTree) {
  ModelSpec s;
  s.features = {0, 6};
  s.axisUsed = {1, 0, 1};
  s.weights = {{1.0, 0.0, 0.0}, {0.0, 0.0, 1.0}};
  s.offsets = {0.0, 0.0, 0.5};
  s.cuts = {{1, 2, 3}, {}, {}};
  s.tree = Split("1Axis", {100}, {Leaf("Wake")});
  const LyrStagingModel m = BuildModel(s);
  LyrStagingEngine engine(1, &m);
  EXPECT_EQ(engine.Run(Sample({{0, 2.5}, {6, 7}})), 0);
  // Alpha 2.5 lies in interval 3 of axis 0 (code 102); axis 2 has no cuts (code 300).
  EXPECT_EQ(engine.Codes(), (std::vector<std::int32_t>{102, 300}));
}

TEST(StagingClassTable, MapsClassesByMode) {
  const int expected[4][7] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7, 0}, {1, 2, 3, 5, 7, 0, 0}, {1, 2, 3, 7, 0, 0, 0}};
  for (int mode = 0; mode < 4; ++mode)
    for (int cls = 0; cls < 7; ++cls) EXPECT_EQ(StagingClassToStage(mode, cls), expected[mode][cls]) << mode << cls;
  EXPECT_EQ(StagingClassToStage(0, -1), 0);
  EXPECT_EQ(StagingClassToStage(-1, 0), 0);
}

TEST(StagingFeatures, CountsAreSignedAndTimesWiden) {
  const LearningFeatures f = ReadLearningFeatures(Sample({{1, -3}, {4, 7}, {5, 2}, {9, 0.25}}));
  EXPECT_EQ(f[1], -3.0);
  EXPECT_EQ(f[4], 7.0);
  EXPECT_EQ(f[5], 2.0);
  EXPECT_EQ(f[9], 0.25);
  EXPECT_EQ(f[0], 0.0);
}

}  // namespace
