// Screening of whole generated recordings with the default logic conditions, page by page on
// the step timer as the program runs it: an 8-hour human night (goal under 5 s) and a 24-hour
// recording of 32 channels (goal under 60 s), both at the sample maker's rate. After the run
// the stages are compared with the true hypnogram the maker wrote beside the recording
// (FILE.stages) and the agreement is printed as a confusion matrix by stage, followed by the
// means of the per-epoch values the default conditions test, by true stage.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "sample_night.h"
#include "stage_agreement.h"
#include "tests/support/human_night_detectors.h"

namespace {

using benchnight::PrintAgreement;
using benchnight::StageName;

constexpr int kEpochSeconds = 30;
constexpr int kPageSeconds = 120;

// The per-epoch values the default conditions of stage type 0 test, as means over the
// epochs of each true stage: delta and alpha time (%), spindles, conjugate REMs and the
// EMG level. Where the scored stages differ from the true ones, this shows which value
// fell on the wrong side of its condition.
void PrintTestedValues(const CQLM2_AnalyzerDoc& doc, const std::vector<int>& truth) {
  std::array<std::array<double, 5>, 7> sum{};
  std::array<int, 7> n{};
  const int epochs = std::min<int>(doc.EpochTables.EpochCount(), static_cast<int>(truth.size()));
  const double percent = 100.0 / (kEpochSeconds * 1000.0);
  for (int e = 0; e < epochs; ++e) {
    const int t = truth[static_cast<std::size_t>(e)];
    const LyrEpochRec* r = doc.EpochTables.Record(e);
    if (t < 1 || t > 6 || r == nullptr) continue;
    const auto row = static_cast<std::size_t>(t);
    sum[row][0] += r->wave[WaveFormRecognitionParam::kDelta].durationMs * percent;
    sum[row][1] += r->wave[WaveFormRecognitionParam::kAlpha].durationMs * percent;
    sum[row][2] += r->wave[WaveFormRecognitionParam::kSpindle].count;
    sum[row][3] += r->remsBoth;
    sum[row][4] += r->emg;
    ++n[row];
  }
  std::printf("true stage    delta%%  alpha%%  spindles  REMs   EMG\n");
  for (int t = 1; t <= 6; ++t) {
    const auto row = static_cast<std::size_t>(t);
    const double k = n[row] > 0 ? 1.0 / n[row] : 0.0;
    std::printf("%-12s%8.1f%8.1f%10.2f%6.2f%6.1f\n", StageName(t), sum[row][0] * k, sum[row][1] * k, sum[row][2] * k,
                sum[row][3] * k, sum[row][4] * k);
  }
  std::fflush(stdout);
}

void ScreenRecording(benchmark::State& state, const benchnight::Recording& rec, const char* title) {
  benchnight::OpenProgram program(rec.path, kEpochSeconds, kPageSeconds);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  CQLM2_AnalyzerDoc& doc = program.Doc();
  // Stage type 0: the six stages of the true hypnogram (Wake, REM, stages 1 to 4) and MT.
  doc.Params.stageType.stageType = 0;
  AssignHumanNightDetectors(doc.Params);
  for (auto _ : state) {
    state.PauseTiming();
    doc.Init4ChangeEpochTime(doc.GetDivNum(EpochSeconds), EpochSeconds, doc.RecordInfo.channelCount, 1);
    doc.LastScreenedEpoch = -1;
    state.ResumeTiming();
    if (!program.ScreenPrepared()) {
      state.SkipWithError("the run did not start");
      break;
    }
  }
  state.counters["epochs"] = doc.EpochTables.EpochCount();
  PrintAgreement(title, doc, rec.stages);
  PrintTestedValues(doc, rec.stages);
}

void BM_ScreenHumanNight8h(benchmark::State& state) {
  static benchnight::Recording rec("bench_screening", 8.0, 0);
  ScreenRecording(state, rec, "8-h human night, 12 channels");
}
BENCHMARK(BM_ScreenHumanNight8h)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ScreenDay24h32Channels(benchmark::State& state) {
  static benchnight::Recording rec("bench_screening", 24.0, 32);
  ScreenRecording(state, rec, "24-h recording, 32 channels");
}
BENCHMARK(BM_ScreenDay24h32Channels)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
