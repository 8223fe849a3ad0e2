// Staging a screened 8-hour generated night in learning mode 1, page by page as a screening
// run does, by a large learned model: 100 trees over all ten features, 6 axes of 100 cut
// points each, and 101-way splits 6 levels deep along one path (the other children leaves).
// The cut points are the quantiles of each axis over the night, as a learning would place them.
// Goal: all epochs in under 0.5 s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/navigation_state.h"
#include "app/scoring/epoch_staging_step.h"
#include "sample_night.h"
#include "tests/support/human_night_detectors.h"

namespace {

constexpr int kEpochSeconds = 30;
constexpr int kPageSeconds = 120;
constexpr int kTrees = 100;
constexpr int kAxes = 6;
constexpr int kCuts = 100;
constexpr int kDepth = 6;

// One level of the path: a 101-way split on `axis`, whose child `next` goes on (the last level
// has only leaves).
void BuildLevel(LyrStagingTreeNode* node, int axis, std::mt19937& rng) {
  const std::vector<std::string>& classes = StagingClassNames(0);
  std::uniform_int_distribution<int> cls(0, 5);
  std::uniform_int_distribution<int> count(0, 40);
  std::uniform_int_distribution<int> pick(0, kCuts);
  node->name = std::to_string(axis + 1) + "Axis";
  node->SetChildren(kCuts + 1);
  const int next = pick(rng);
  for (int i = 0; i <= kCuts; ++i) {
    LyrStagingTreeNode& child = node->children[static_cast<std::size_t>(i)];
    node->childValues[static_cast<std::size_t>(i)] = 100 * axis + 100 + i;
    child.classCounts.resize(7);
    for (auto& c : child.classCounts) c = count(rng);
    if (i == next && axis + 1 < kDepth) {
      BuildLevel(&child, axis + 1, rng);
    } else {
      child.name = classes[static_cast<std::size_t>(cls(rng))];
    }
  }
}

// The trees, with cut points at the quantiles of each axis over the given samples.
std::vector<LyrStagingModel> BuildModel(const std::vector<LearningSample>& samples) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> weight(-1.0, 1.0);
  std::vector<LyrStagingModel> models(kTrees);
  for (LyrStagingModel& m : models) {
    const std::vector<std::string>& classes = StagingClassNames(0);
    m.classCount = static_cast<std::int32_t>(classes.size());
    for (std::size_t c = 0; c < classes.size(); ++c) m.classNames[c] = classes[c];
    m.featureUsed.fill(1);
    m.axisCount = kAxes;
    m.usedAxisCount = kAxes;
    m.axisUsed.assign(kAxes, 1);
    m.weights.assign(kLearningFeatureCount, std::vector<double>(kAxes));
    for (auto& row : m.weights)
      for (double& w : row) w = weight(rng);
    m.offsets.assign(kAxes, 0.0);
    m.cutLists.resize(kAxes);
    for (int j = 0; j < kAxes; ++j) {
      std::vector<double> values;
      for (const LearningSample& s : samples) {
        const LearningFeatures f = ReadLearningFeatures(s);
        double v = 0.0;
        for (int k = 0; k < kLearningFeatureCount; ++k) v += f[static_cast<std::size_t>(k)] * m.weights[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)];
        values.push_back(v);
      }
      std::sort(values.begin(), values.end());
      auto& cuts = m.cutLists[static_cast<std::size_t>(j)];
      for (int c = 1; c <= kCuts; ++c) cuts.push_back(values[values.size() * static_cast<std::size_t>(c) / (kCuts + 1)]);
    }
    m.topNode = std::make_unique<LyrStagingTreeNode>();
    m.topNode->name = "FirstNode";
    m.topNode->SetChildren(1);
    BuildLevel(&m.topNode->children[0], 0, rng);
  }
  return models;
}

void BM_StageNight8hByLearnedModel(benchmark::State& state) {
  static benchnight::Recording rec("bench_learned_staging", 8.0, 0);
  benchnight::OpenProgram program(rec.path, kEpochSeconds, kPageSeconds);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  // One screening run in learning mode for the epoch records and their flag bytes.
  CQLM2_AnalyzerDoc& doc = program.Doc();
  AssignHumanNightDetectors(doc.Params);
  LearningSampleMode = 1;
  if (!program.Screen()) {
    state.SkipWithError("the run did not start");
    LearningSampleMode = 0;
    return;
  }
  const int epochs = doc.EpochTables.EpochCount();
  std::vector<LearningSample> samples;
  for (int e = 0; e < epochs; ++e) samples.push_back(BuildStagingSample(doc, e, EpochSeconds));
  doc.AutoStaging.SetModels(BuildModel(samples));
  doc.AutoStaging.LearningInfo().stageType = 0;

  LyrEpochStagingStep step;
  LyrEpochStagingStep::Page page;
  page.pageSeconds = kPageSeconds;
  page.epochSeconds = kEpochSeconds;
  page.learningSampleMode = 1;
  page.classifier = &doc.AutoStaging;
  const int pages = (epochs * kEpochSeconds + kPageSeconds - 1) / kPageSeconds;
  int staged = 0;
  for (auto _ : state) {
    staged = 0;
    for (int p = 0; p < pages; ++p) {
      page.pageNumber = p;
      staged += step.StagePage(doc, page);
    }
  }
  std::array<int, 8> byStage{};
  for (int e = 0; e < epochs; ++e) ++byStage[doc.EpochTables.Record(e)->stage[0] % 20 % 8];
  state.counters["epochs"] = staged;
  std::printf("\nstaged %d epochs; by stage code 0..7:", staged);
  for (int n : byStage) std::printf(" %d", n);
  std::printf("\n");
  std::fflush(stdout);

  LearningSampleMode = 0;
}
BENCHMARK(BM_StageNight8hByLearnedModel)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
