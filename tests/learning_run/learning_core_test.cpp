// The numbers of the learning: F tails, pessimistic error rates and MDLPC cuts against an
// independent script (scipy.stats.f.sf and a plain transcription of the definitions, run
// with python3), the class table, the discriminant axes and the whole chain on a small case.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/scoring/jacobi_eigen.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "app/scoring/lyr_learning_sample_set.h"
#include "app/scoring/lyr_tree_learner.h"
#include "app/scoring/mdlpc.h"
#include "msf_fixture.h"

namespace {

using namespace learning_run;

class Messages {
 public:
  Messages() {
    LyrAutoStaging::MessageSink() = [this](const std::string& t) { texts.push_back(t); };
  }
  ~Messages() { LyrAutoStaging::MessageSink() = nullptr; }
  std::vector<std::string> texts;
};

TEST(FDistribution, UpperTailsMatchScipy) {
  // scipy.stats.f.sf(F, df1, df2)
  struct Case {
    int df1, df2;
    double f, tail;
  };
  const Case cases[] = {{1, 1, 4, 0.295167235301},   {1, 2, 3, 0.225403330759},  {2, 1, 3, 0.377964473009},
                        {4, 6, 3, 0.111111111111},   {3, 12, 32, 5.24873997751e-06},
                        {59, 9540, 1.5, 0.00796220160892}, {2, 2, 1, 0.5},      {5, 7, 0.5, 0.768584329728},
                        {10, 30, 2.2, 0.0465656060341}, {7, 1, 0.3, 0.889366270879}};
  for (const Case& c : cases)
    EXPECT_NEAR(CalcFDistributionProbability(c.df1, c.df2, c.f), c.tail, 1e-9)
        << "df1 " << c.df1 << " df2 " << c.df2 << " F " << c.f;
}

TEST(AddErrors, ZAndUpperRatesMatchTheScript) {
  EXPECT_NEAR(LyrTreeLearner::ConfidenceZ(0.25), 0.6925, 1e-12);
  EXPECT_NEAR(LyrTreeLearner::ConfidenceZ(0.1), 1.28, 1e-12);
  EXPECT_NEAR(LyrTreeLearner::ConfidenceZ(0.5), 0.2083333333, 1e-9);
  struct Case {
    double n, e, cf, rate;
  };
  const Case cases[] = {{6, 0, .25, 0.2062994740}, {16, 1, .25, 0.1566808724}, {10, 3, .25, 0.4591274169},
                        {8, 4, .25, 0.6769915295}, {4, 0, .25, 0.2928932188}};
  LyrStagingModel model;
  for (const Case& c : cases) {
    LyrTreeLearner learner(&model, 0, c.cf);
    EXPECT_NEAR(learner.AddErrors(c.n, c.e), c.rate, 1e-9) << "N " << c.n << " E " << c.e;
  }
}

std::vector<int> Labels(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<int> out;
  for (auto [cls, n] : runs) out.insert(out.end(), static_cast<std::size_t>(n), cls);
  return out;
}

std::vector<double> Range(double from, double to) {
  std::vector<double> v;
  for (double x = from; x <= to; x += 1.0) v.push_back(x);
  return v;
}

std::vector<double> Join(std::initializer_list<std::vector<double>> parts) {
  std::vector<double> v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

TEST(MdlpcCuts, MatchTheScript) {
  const auto a = Range(1, 4), b = Range(5, 8), c = Range(9, 12), d = Range(13, 16);
  struct Case {
    const char* what;
    std::vector<double> values;
    std::vector<int> classes;
    int classCount, limit;
    std::vector<double> cuts;
  };
  const Case cases[] = {
      {"A 1-4, B 5-8", Join({a, b}), Labels({{0, 4}, {1, 4}}), 2, 10, {4.5}},
      {"A odd, B even", {1, 3, 5, 7, 2, 4, 6, 8}, Labels({{0, 4}, {1, 4}}), 2, 10, {}},
      {"all equal", {3, 3, 3, 3, 3, 3}, Labels({{0, 3}, {1, 3}}), 2, 10, {}},
      {"ABC limit 1", Join({a, b, c}), Labels({{0, 4}, {1, 4}, {2, 4}}), 3, 1, {4.5}},
      {"ABC limit 5", Join({a, b, c}), Labels({{0, 4}, {1, 4}, {2, 4}}), 3, 5, {4.5, 8.5}},
      {"ABCD limit 1", Join({a, b, c, d}), Labels({{0, 4}, {1, 4}, {2, 4}, {3, 4}}), 4, 1, {8.5}},
      {"ABCD limit 2", Join({a, b, c, d}), Labels({{0, 4}, {1, 4}, {2, 4}, {3, 4}}), 4, 2, {4.5, 8.5}},
      {"ABCD limit 9", Join({a, b, c, d}), Labels({{0, 4}, {1, 4}, {2, 4}, {3, 4}}), 4, 9, {4.5, 8.5, 12.5}},
  };
  for (const Case& k : cases)
    EXPECT_EQ(Mdlpc::CutAxis(k.values, k.classes, k.classCount, k.limit), k.cuts) << k.what;

  std::vector<double> scores;
  Mdlpc::CutAxis(Join({a, b}), Labels({{0, 4}, {1, 4}}), 2, 10, &scores);
  ASSERT_EQ(scores.size(), 1u);
  // log2(7) + log2(3^2 - 2) against (N + k) Ent(S) = (8 + 2) x 1.
  EXPECT_NEAR(scores[0], 5.6147098441, 1e-9);
  EXPECT_LT(scores[0], 10.0);
}

TEST(MdlpcCuts, NoisyThreeClassesMatchTheScript) {
  // random.seed(7); round(gauss(mu, 0.8), 1) for mu 0, 1.5, 3.5, twenty each.
  const std::vector<double> values = {
      -0.2, 0.4,  -0.2, -0.3, -0.7, -0.2, 0.9, 0.3, 0.8, 0.2, 0.3, 0.1, -1.3, 0.7, 0.4, 0.4, -1.4, -1.4, -0.7, -0.4,
      1.7,  1.5,  1.9,  1.0,  1.7,  1.8,  1.0, 2.9, 1.9, 2.5, 1.0, 0.9, 1.2,  1.4, 2.0, 1.7, 1.1,  0.7,  1.1,  2.5,
      2.9,  3.7,  3.8,  2.3,  3.5,  4.5,  1.9, 3.2, 3.4, 2.8, 3.9, 3.5, 2.3,  4.2, 4.0, 4.3, 4.7,  3.8,  3.6,  2.5};
  const std::vector<int> classes = Labels({{0, 20}, {1, 20}, {2, 20}});
  EXPECT_EQ(Mdlpc::CutAxis(values, classes, 3, 1), (std::vector<double>{0.95}));
  EXPECT_EQ(Mdlpc::CutAxis(values, classes, 3, 2), (std::vector<double>{0.95, 2.15}));
  EXPECT_EQ(Mdlpc::CutAxis(values, classes, 3, 10), (std::vector<double>{0.95, 2.15}));
}

TEST(Jacobi, ConvergesAtAnyScaleToNumpysEigenvalues) {
  // numpy.linalg.eigvalsh of [[4, 1, 2], [1, 3, 0], [2, 0, 5]], descending.
  const double expected[3] = {6.669079088282287, 3.476023602918134, 1.8548973087995775};
  for (double scale : {1e-9, 1.0, 1e9}) {
    std::vector<double> a = {4, 1, 2, 1, 3, 0, 2, 0, 5};
    for (double& x : a) x *= scale;
    const JacobiResult r = SolveJacobi(a, 3);
    ASSERT_EQ(r.status, JacobiResult::Ok) << scale;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.values[static_cast<std::size_t>(i)] / scale, expected[i], 1e-9) << scale;
    // A v = lambda v for the first vector.
    for (int k = 0; k < 3; ++k) {
      double av = 0.0;
      for (int j = 0; j < 3; ++j) av += a[static_cast<std::size_t>(k * 3 + j)] * r.vectors[static_cast<std::size_t>(j * 3)];
      EXPECT_NEAR(av / scale, expected[0] * r.vectors[static_cast<std::size_t>(k * 3)], 1e-9);
    }
  }
  const JacobiResult nan = SolveJacobi({1, std::nan(""), std::nan(""), 1}, 2);
  EXPECT_NE(nan.status, JacobiResult::NoConvergence) << "not a number ends at once";
}

TEST(ClassIndex, FollowsTheTableOfEachStageType) {
  // Codes 1..7 per stage type.
  const int table[4][7] = {
      {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, -1, 5}, {0, 1, 2, -1, 3, -1, 4}, {0, 1, 2, -1, -1, -1, 3}};
  for (int type = 0; type < 4; ++type)
    for (int code = 1; code <= 7; ++code)
      EXPECT_EQ(LyrDlgLearning::GetClassIndex(type, code), table[type][code - 1]) << type << "/" << code;
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(0, 8), 7);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(2, 10), 9);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(0, 21), 20);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(1, 27), 25);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(1, 26), -1);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(0, 0), -1);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(0, 11), -1);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(0, 31), -1);
  EXPECT_EQ(LyrDlgLearning::GetClassIndex(4, 1), -1);
}

// A learning dialog over the records of `models`, reading from `folder`.
struct LearningRun {
  explicit LearningRun(const std::string& folder, std::vector<std::string> files) {
    for (const std::string& f : files) {
      LyrStagingModel m;
      m.fileName = f;
      m.featureChosen.fill(1);
      m.classCount = 7;
      models.push_back(std::move(m));
    }
    dlg.learningSetCount = static_cast<int>(models.size());
    dlg.pathTableSize = 20;
    dlg.modelFolder = folder;
    dlg.models = models.data();
    dlg.onProgress = [this](int pos) { steps.push_back(pos); };
  }
  std::vector<LyrStagingModel> models;
  LyrDlgLearning dlg;
  std::vector<int> steps;
};

TEST(LearningChain, SquaresGiveOneAxisOneCutAndAKeptTree) {
  TempFolder folder;
  folder.Write("squares.msf", SquaresSpec());
  Messages messages;
  LearningRun run(folder.Path(), {"squares.msf"});
  ASSERT_EQ(run.dlg.LearnAll(), 1);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(run.steps, (std::vector<int>{0, 1, 2, 3, 5, 6, 7}));
  const LyrStagingModel& m = run.models[0];
  ASSERT_EQ(m.axisCount, 1);
  EXPECT_NEAR(m.eigenvalues[0], 8.0, 1e-9);
  // The Fisher axis (1, 1) / 4 scaled by sqrt(N - K) = sqrt(6); offset -v'm with m = (3, 3).
  const double sign = m.weights[0][0] > 0 ? 1.0 : -1.0;
  EXPECT_NEAR(m.weights[0][0], sign * 0.6123724357, 1e-9);
  EXPECT_NEAR(m.weights[1][0], sign * 0.6123724357, 1e-9);
  EXPECT_NEAR(m.offsets[0], -sign * 3.6742346142, 1e-9);
  ASSERT_EQ(m.cutLists[0].size(), 1u);
  EXPECT_NEAR(m.cutLists[0][0], 0.0, 1e-9);
  // F = (B - A) lambda / (A - 1) = 12 x 8 / 3 = 32 on (3, 12) degrees of freedom.
  EXPECT_NEAR(m.probabilities[0], 5.24873997751e-06, 1e-12);
  EXPECT_EQ(m.axisUsed, std::vector<std::int32_t>{1});
  EXPECT_TRUE(m.samples.empty());
  EXPECT_TRUE(m.intervals.empty());

  ASSERT_TRUE(m.topNode);
  EXPECT_EQ(m.topNode->name, "FirstNode");
  const LyrStagingTreeNode& root = m.topNode->children[0];
  EXPECT_EQ(root.name, "1Axis");
  ASSERT_EQ(root.childCount, 2);
  EXPECT_EQ(root.childValues, (std::vector<std::int32_t>{100, 101}));
  EXPECT_EQ(root.children[0].name, sign > 0 ? "Wake" : "Rem");
  EXPECT_EQ(root.children[1].name, sign > 0 ? "Rem" : "Wake");
  // Kept by pruning: 2 x 4 x (1 - 0.25^(1/4)) = 2.3431 below 8 x AddErrors(8, 4) = 5.4159.
  EXPECT_NEAR(root.children[0].estimatedErrors + root.children[1].estimatedErrors, 2 * 1.1715728753, 1e-9);
  EXPECT_NEAR(root.estimatedErrors, 5.4159322363, 1e-9);
  EXPECT_EQ(root.classCounts, (std::vector<std::int32_t>{4, 4, 0, 0, 0, 0, 0}));

  LyrStagingEngine engine(1, run.models.data());
  EXPECT_EQ(engine.Run(SampleOf({{0, 1.0}, {2, 1.0}})), 0);  // Wake
  EXPECT_EQ(engine.Run(SampleOf({{0, 5.5}, {2, 4.5}})), 1);  // Rem
}

TEST(LearningChain, TheBarClimbsBySevenPerSet) {
  TempFolder folder;
  folder.Write("a.msf", SquaresSpec());
  folder.Write("b.msf", SquaresSpec());
  LearningRun run(folder.Path(), {"a.msf", "b.msf"});
  ASSERT_EQ(run.dlg.LearnAll(), 1);
  EXPECT_EQ(run.steps, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 12, 13, 14}));
}

TEST(LearningChain, OnlyDiscardedCodesFailWith4082) {
  TempFolder folder;
  MsfSpec spec = SquaresSpec();
  for (int& c : spec.codes) c = c == 1 ? 21 : 0;
  folder.Write("discarded.msf", spec);
  Messages messages;
  LearningRun run(folder.Path(), {"discarded.msf"});
  EXPECT_EQ(run.dlg.LearnAll(), 0);
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Learning Failure !! : 4082"});
  EXPECT_FALSE(run.models[0].topNode);
}

TEST(LearningChain, EqualFeaturesFailWith4112AndNotANumberEpochsAreDropped) {
  TempFolder folder;
  MsfSpec flat = SquaresSpec();
  for (auto& e : flat.epochs) e = {{0, 1.0}, {2, 1.0}};
  folder.Write("flat.msf", flat);
  MsfSpec nan = SquaresSpec();
  nan.epochs.push_back({{0, std::nan("")}, {2, 1.0}});
  nan.codes.push_back(2);
  folder.Write("nan.msf", nan);
  Messages messages;
  LearningRun flatRun(folder.Path(), {"flat.msf"});
  EXPECT_EQ(flatRun.dlg.LearnAll(), 0);
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Learning Failure !! : 4112"});
  LearningRun nanRun(folder.Path(), {"nan.msf"});
  ASSERT_EQ(nanRun.dlg.LearnAll(), 1);
  EXPECT_EQ(nanRun.models[0].sampleCountUsed, 8) << "the epoch without a number is left out";
  EXPECT_NEAR(nanRun.models[0].eigenvalues[0], 8.0, 1e-9);
}

TEST(LearningChain, AMissingFileIsNamedByItsMessage) {
  TempFolder folder;
  Messages messages;
  LearningRun run(folder.Path(), {"absent.msf"});
  EXPECT_EQ(run.dlg.LearnAll(), 0);
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Can't find msf File. : 3023"});
}

TEST(LearningChain, AnAbsentClassKeepsTheOthersInTheirPlaces) {
  // Wake, Rem and Stage2 (code 4) on alpha; no Stage1.
  TempFolder folder;
  MsfSpec spec;
  spec.used = {0};
  std::mt19937 rng(3);
  std::normal_distribution<double> noise(0.0, 1.0);
  const int codes[3] = {1, 2, 4};
  const double means[3] = {0.0, 10.0, 20.0};
  for (int i = 0; i < 60; ++i) {
    spec.epochs.push_back({{0, means[i % 3] + noise(rng)}});
    spec.codes.push_back(codes[i % 3]);
  }
  folder.Write("nos1.msf", spec);
  LearningRun run(folder.Path(), {"nos1.msf"});
  ASSERT_EQ(run.dlg.LearnAll(), 1);
  const LyrStagingModel& m = run.models[0];
  EXPECT_EQ(m.classPresent, (std::array<std::int32_t, 7>{1, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(m.topNode->classCounts, (std::vector<std::int32_t>{20, 20, 0, 20, 0, 0, 0}));
  LyrStagingEngine engine(1, run.models.data());
  EXPECT_EQ(engine.Run(SampleOf({{0, 0.0}})), 0);
  EXPECT_EQ(engine.Run(SampleOf({{0, 10.0}})), 1);
  EXPECT_EQ(engine.Run(SampleOf({{0, 20.0}})), 3);  // Stage2, not the absent Stage1
}

TEST(DiscriminantAxes, SixClassesOnTenFeaturesWithAConstantOne) {
  std::vector<LyrStagingModel> models(1);
  LyrStagingModel& m = models[0];
  m.featurePresent.fill(1);
  m.featureChosen.fill(1);
  std::mt19937 rng(11);
  std::normal_distribution<double> noise(0.0, 1.0);
  for (int c = 0; c < 6; ++c)
    for (int i = 0; i < 40; ++i) {
      std::vector<std::pair<int, double>> f;
      for (int k = 0; k < 9; ++k) f.push_back({k == 1 || k == 4 || k == 5 ? k : k, 3.0 * ((c * (k + 1)) % 5) + noise(rng) * (k == 1 || k == 4 || k == 5 ? 3 : 1)});
      f.push_back({9, 7.0});  // constant
      m.samples.push_back(SampleOf(f));
      m.classIndexes.push_back(c);
    }
  LyrLearningSampleSet set(models.data(), 0);
  ASSERT_EQ(set.Build(), 1);
  EXPECT_EQ(m.axisCount, 5);
  EXPECT_EQ(m.featureCountUsed, 10);
  ASSERT_EQ(m.eigenvalues.size(), 5u);
  for (std::size_t j = 1; j < 5; ++j) EXPECT_GE(m.eigenvalues[j - 1], m.eigenvalues[j]);
  EXPECT_GT(m.eigenvalues[4], 0.0);
  for (int j = 0; j < 5; ++j) EXPECT_EQ(m.weights[9][static_cast<std::size_t>(j)], 0.0) << "axis " << j;
  // Unit pooled within-class variance on every axis.
  for (std::size_t j = 0; j < 5; ++j) {
    std::vector<double> sum(6, 0.0), sq(6, 0.0);
    std::vector<int> n(6, 0);
    for (std::size_t s = 0; s < m.axisScores.size(); ++s) {
      const auto c = static_cast<std::size_t>(m.classIndexes[s]);
      sum[c] += m.axisScores[s][j];
      sq[c] += m.axisScores[s][j] * m.axisScores[s][j];
      ++n[c];
    }
    double within = 0.0;
    for (std::size_t c = 0; c < 6; ++c) within += sq[c] - sum[c] * sum[c] / n[c];
    EXPECT_NEAR(within / (240 - 6), 1.0, 1e-9) << "axis " << j;
  }
}

// Discretised samples given directly: per sample its interval on each used axis and class.
LyrStagingModel Discretised(const std::vector<std::vector<int>>& rows, const std::vector<int>& cutsPerAxis) {
  LyrStagingModel m;
  m.classCount = 7;
  const std::vector<std::string>& names = StagingClassNames(0);
  for (std::size_t c = 0; c < names.size(); ++c) m.classNames[c] = names[c];
  m.axisCount = static_cast<int>(cutsPerAxis.size());
  m.axisUsed.assign(cutsPerAxis.size(), 1);
  for (std::size_t j = 0; j < cutsPerAxis.size(); ++j) {
    m.axisNames[j] = std::to_string(j + 1) + "Axis";
    m.cutLists.push_back(std::vector<double>(static_cast<std::size_t>(cutsPerAxis[j]), 0.0));
  }
  for (const auto& r : rows) m.classPresent[static_cast<std::size_t>(r.back())] = 1;
  // The learner takes compact classes: the index among the present ones.
  for (const auto& r : rows) {
    m.intervals.push_back(std::vector<std::int32_t>(r.begin(), r.end() - 1));
    int compact = 0;
    for (int c = 0; c < r.back(); ++c) compact += m.classPresent[static_cast<std::size_t>(c)];
    m.classIndexes.push_back(compact);
  }
  return m;
}

std::vector<std::vector<int>> Times(std::initializer_list<std::pair<std::vector<int>, int>> rows) {
  std::vector<std::vector<int>> out;
  for (const auto& [row, n] : rows) out.insert(out.end(), static_cast<std::size_t>(n), row);
  return out;
}

TEST(TreeGrowth, OneClassIsARootLeaf) {
  std::vector<LyrStagingModel> models{};
  models.push_back(Discretised(Times({{{0, 0}, 5}, {{1, 0}, 5}}), {1}));
  LyrTreeLearner learner(models.data(), 0, 0.25);
  ASSERT_EQ(learner.GrowTree(), 1);
  const LyrStagingTreeNode& root = models[0].topNode->children[0];
  EXPECT_EQ(root.name, "Wake");
  EXPECT_EQ(root.childCount, 0);
}

TEST(TreeGrowth, EqualRatiosTakeTheEarlierAxisAndAnEmptyIntervalTheParentsMajority) {
  // Axes 1 and 2 split the root alike (A0 and B0: Wake 2 Rem 2; A1 and B2: Rem 3), so axis 1
  // wins the tie. Below A0 (Wake 2 = Rem 2), interval 1 of axis 2 is empty: its class is the
  // root's majority, Rem.
  std::vector<LyrStagingModel> models;
  models.push_back(Discretised({{0, 0, 0}, {0, 0, 0}, {0, 2, 1}, {0, 2, 1}, {1, 0, 1}, {1, 0, 1}, {1, 2, 1}}, {1, 2}));
  LyrTreeLearner learner(models.data(), 0, 0.25);
  ASSERT_EQ(learner.BuildTree(), 1);
  const LyrStagingTreeNode& root = models[0].topNode->children[0];
  EXPECT_EQ(root.name, "1Axis");
  ASSERT_EQ(root.childCount, 2);
  const LyrStagingTreeNode& a0 = root.children[0];
  EXPECT_EQ(a0.name, "2Axis");
  EXPECT_EQ(a0.childValues, (std::vector<std::int32_t>{200, 201, 202}));
  ASSERT_EQ(a0.childCount, 3);
  EXPECT_EQ(a0.children[0].name, "Wake");
  EXPECT_EQ(a0.children[1].name, "Rem");
  EXPECT_EQ(a0.children[1].sampleCount, 0);
  EXPECT_EQ(a0.children[2].name, "Rem");
  EXPECT_EQ(root.children[1].name, "Rem");
}

TEST(TreeGrowth, AGainBelowAverageIsNeverChosen) {
  // Eight Wake then eight Rem. Axis 1: interval 0 holds four Wake, interval 1 four Wake and the
  // Rem: gain 1 - 0.75 H(1/3) = 0.311 bits, split information H(1/4) = 0.811, ratio 0.384.
  // Axis 2: eight pure intervals of two: gain 1, split information 3, ratio 0.333. Axis 3
  // tells nothing (gain 0). The average gain is 0.437, so axis 1 is out despite its ratio.
  std::vector<std::vector<int>> rows;
  for (int i = 0; i < 16; ++i) rows.push_back({i < 4 ? 0 : 1, i / 2, 0, i < 8 ? 0 : 1});
  std::vector<LyrStagingModel> models;
  models.push_back(Discretised(rows, {1, 7, 1}));
  LyrTreeLearner learner(models.data(), 0, 0.25);
  ASSERT_EQ(learner.BuildTree(), 1);
  const LyrStagingTreeNode& root = models[0].topNode->children[0];
  EXPECT_EQ(root.name, "2Axis");
  EXPECT_NEAR(root.splitScore, 1.0 / 3.0, 1e-12);
}

TEST(TreePruning, IdenticalIntervalsWithMixedClassesPruneToOneLeaf) {
  std::vector<LyrStagingModel> models;
  models.push_back(Discretised(Times({{{1, 1, 0}, 6}, {{1, 1, 3}, 4}}), {2, 2}));
  LyrTreeLearner learner(models.data(), 0, 0.25);
  ASSERT_EQ(learner.GrowTree(), 1);
  const LyrStagingTreeNode& root = models[0].topNode->children[0];
  EXPECT_EQ(root.childCount, 0);
  EXPECT_EQ(root.name, "Wake");
  EXPECT_EQ(root.classCounts, (std::vector<std::int32_t>{6, 0, 0, 4, 0, 0, 0}));
}

}  // namespace
