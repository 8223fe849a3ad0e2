// Learning from scored nights: generated 8-hour nights of seeds 1 to 5 are screened in learning
// mode, set to their true hypnogram as a scorer would, and saved as learning-sample files.
// The learning grows one tree per file (goal: all five in under 10 s). A night of seed 6 is
// then screened in learning mode 1 by the model and its agreement with its true hypnogram is
// printed (goal: at least 90 %).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "sample_night.h"
#include "stage_agreement.h"
#include "tests/support/human_night_detectors.h"

namespace {

constexpr int kEpochSeconds = 30;
constexpr int kPageSeconds = 120;
constexpr int kTrainingNights = 5;

// Screens the night of `seed` in learning mode 1 on the program's screening timer.
bool ScreenNight(benchnight::OpenProgram& program) {
  CQLM2_AnalyzerDoc& doc = program.Doc();
  doc.Params.stageType.stageType = 0;
  AssignHumanNightDetectors(doc.Params);
  LearningSampleMode = 1;
  return program.Screen();
}

// The scored night's learning-sample file; the features the settings give.
bool SaveScoredNight(int seed, const std::string& folder, LearningParametersUsed* used) {
  benchnight::Recording rec("bench_learning", 8.0, 0, seed);
  benchnight::OpenProgram program(rec.path, kEpochSeconds, kPageSeconds);
  if (!program.error.empty() || !ScreenNight(program)) return false;
  CQLM2_AnalyzerDoc& doc = program.Doc();
  const int epochs = std::min<int>(doc.EpochTables.EpochCount(), static_cast<int>(rec.stages.size()));
  for (int e = 0; e < epochs; ++e) doc.EpochTables.SetStage(e, static_cast<std::uint8_t>(rec.stages[static_cast<std::size_t>(e)]));
  const LearningSampleSource src{doc.RecordInfo.path, doc.EpochTables, doc.Params.waveForm, 0, doc.AutoStaging,
                                 kEpochSeconds};
  std::string file;
  if (!BuildLearningSampleFile(src, 0, epochs - 1, &file)) return false;
  *used = GetLearningParametersUsed(doc.Params.waveForm);
  return sys::WriteFileAtomic(folder + "/night" + std::to_string(seed) + ".msf", file);
}

void BM_LearnFromFiveScoredNights(benchmark::State& state) {
  const std::string folder = sys::TempFolder() + "/bench_learning_" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  LearningParametersUsed used{};
  for (int seed = 1; seed <= kTrainingNights; ++seed) {
    if (!SaveScoredNight(seed, folder, &used)) {
      state.SkipWithError("a training night could not be screened and saved");
      LearningSampleMode = 0;
      return;
    }
  }
  std::vector<LyrStagingModel> models;
  for (auto _ : state) {
    state.PauseTiming();
    models.clear();
    models.resize(kTrainingNights);
    for (int t = 0; t < kTrainingNights; ++t) {
      LyrStagingModel& m = models[static_cast<std::size_t>(t)];
      m.fileName = "night" + std::to_string(t + 1) + ".msf";
      for (std::size_t k = 0; k < used.size(); ++k) m.featureChosen[k] = used[k] != 0 ? 1 : 0;
      m.classCount = 7;
    }
    LyrDlgLearning learning;
    learning.learningSetCount = kTrainingNights;
    learning.pathTableSize = 20;
    learning.modelFolder = folder;
    learning.models = models.data();
    state.ResumeTiming();
    if (!learning.LearnAll()) {
      state.SkipWithError("the learning failed");
      break;
    }
  }
  std::printf("\n");
  for (const LyrStagingModel& m : models)
    std::printf("%s: %d axes used of %d, cuts on the first %zu\n", m.fileName.c_str(), m.usedAxisCount, m.axisCount,
                m.cutLists.empty() ? std::size_t{0} : m.cutLists[0].size());

  benchnight::Recording rec("bench_learning", 8.0, 0, 6);
  benchnight::OpenProgram program(rec.path, kEpochSeconds, kPageSeconds);
  if (program.error.empty()) {
    CQLM2_AnalyzerDoc& doc = program.Doc();
    doc.AutoStaging.SetModels(std::move(models));
    doc.AutoStaging.LearningInfo().stageType = 0;
    if (ScreenNight(program)) {
      state.counters["agreement %"] = benchnight::PrintAgreement("seed-6 night staged by the learned model", doc, rec.stages);
    }
  }
  LearningSampleMode = 0;
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_LearnFromFiveScoredNights)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
