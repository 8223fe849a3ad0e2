// Screening of whole generated recordings with the default logic conditions, page by page on
// the step timer as the program runs it: an 8-hour human night (goal under 5 s) and a 24-hour
// recording of 32 channels (goal under 60 s), both at the sample maker's rate. After the run
// the stages are compared with the true hypnogram the maker wrote beside the recording
// (FILE.stages) and the agreement is printed as a confusion matrix by stage, followed by the
// means of the per-epoch values the default conditions test, by true stage.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "sample_recording.h"

namespace {

constexpr int kEpochSeconds = 30;
constexpr int kPageSeconds = 120;

struct Recording {
  std::string path;
  std::vector<int> stages;

  Recording(double hours, int channels) {
    path = sys::TempFolder() + "/bench_screening_" + std::to_string(::getpid()) + "_" +
           std::to_string(static_cast<int>(hours)) + "h" + std::to_string(channels) + ".fyd";
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = hours;
    o.channels = channels;
    o.seed = 11;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) {
      std::fprintf(stderr, "bench_screening: %s\n", error.c_str());
      std::abort();
    }
    std::ifstream in(samples::CompanionPath(path, ".stages"));
    for (int s = 0; in >> s;) stages.push_back(s);
  }
  ~Recording() {
    std::error_code ec;
    for (const std::string& p : {path, samples::CompanionPath(path, ".stages"), samples::CompanionPath(path, ".events")})
      std::filesystem::remove(p, ec);
  }
};

// Stage type 0, and the recording's channels put to the detectors the default conditions read: the central
// EEG for the band waves and K-complexes, both EOGs, the chin EMG, and the respiration,
// oximetry, position, ECG and leg channels for the recognisers.
void SetUpChannels(CQLM2_AnalyzerDoc& doc) {
  // The six stages of the true hypnogram: the stage type with Wake, REM, stages 1 to 4 and MT.
  doc.Params.stageType.stageType = 0;
  WaveFormRecognitionParam& w = doc.Params.waveForm;
  for (auto& band : w.bands) band.channel = 0;
  w.kComplex.channel = 0;
  w.eogLeft.channel = 2;
  w.eogRight.channel = 3;
  w.emgChannel = 4;
  SleepDstrbParam& s = doc.Params.sleepDstrb;
  s.ecgChannel = 5;
  s.airFlow.channel = 6;
  s.chest.channel = 7;
  s.abdomen.channel = 8;
  s.spo2Channel = 9;
  s.positionChannel = 10;
  s.legLeft.channel = 11;
}

const char* StageName(int code) {
  static const char* kNames[] = {"-", "W", "REM", "S1", "S2", "S3", "S4", "MT"};
  return code >= 0 && code <= 7 ? kNames[code] : "?";
}

void PrintAgreement(const char* title, const CQLM2_AnalyzerDoc& doc, const std::vector<int>& truth) {
  // Rows the true stage 1..6, columns the scored stage 0..7 (0 not scored; the +20 family of
  // artifact epochs counts as its stage).
  std::array<std::array<int, 8>, 7> m{};
  int agree = 0;
  int total = 0;
  const int epochs = std::min<int>(doc.EpochTables.EpochCount(), static_cast<int>(truth.size()));
  for (int e = 0; e < epochs; ++e) {
    const int t = truth[static_cast<std::size_t>(e)];
    int s = doc.EpochTables.GetStage(0, e, 0);
    if (s >= 20) s -= 20;
    if (t < 1 || t > 6 || s < 0 || s > 7) continue;
    ++m[static_cast<std::size_t>(t)][static_cast<std::size_t>(s)];
    agree += s == t ? 1 : 0;
    ++total;
  }
  std::printf("\n%s: %d epochs, agreement %.1f %%\ntrue\\scored", title, total, total ? 100.0 * agree / total : 0.0);
  for (int s = 0; s <= 7; ++s) std::printf("%6s", StageName(s));
  std::printf("\n");
  for (int t = 1; t <= 6; ++t) {
    std::printf("%-12s", StageName(t));
    for (int s = 0; s <= 7; ++s) std::printf("%6d", m[static_cast<std::size_t>(t)][static_cast<std::size_t>(s)]);
    std::printf("\n");
  }
  std::fflush(stdout);
}

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

void ScreenRecording(benchmark::State& state, const Recording& rec, const char* title) {
  testhooks::TempProgramFolder folder;
  auto app = std::make_unique<CQLM2_AnalyzerApp>();
  app->SetArguments({"QLM2_Analyzer"});
  if (!app->InitInstance()) {
    state.SkipWithError("the program did not start");
    return;
  }
  EpochSeconds = kEpochSeconds;
  PageSeconds = kPageSeconds;
  CMainFrame& frame = *app->MainFrame();
  CQLM2_AnalyzerDoc& doc = *app->Document();
  if (app->OpenDocumentFile(rec.path, false) == nullptr) {
    state.SkipWithError("the recording did not open");
    app->ExitInstance();
    return;
  }
  SetUpChannels(doc);
  for (auto _ : state) {
    state.PauseTiming();
    doc.Init4ChangeEpochTime(doc.GetDivNum(EpochSeconds), EpochSeconds, doc.RecordInfo.channelCount, 1);
    doc.LastScreenedEpoch = -1;
    state.ResumeTiming();
    if (frame.StartScreening(0) == 0) {
      state.SkipWithError("the run did not start");
      break;
    }
    frame.SetTimer(kTimerScreeningStep, 0);
    while (frame.IsTimerArmed(kTimerScreeningStep)) frame.OnTimer(kTimerScreeningStep);
  }
  state.counters["epochs"] = doc.EpochTables.EpochCount();
  PrintAgreement(title, doc, rec.stages);
  PrintTestedValues(doc, rec.stages);
  ScreeningRunning = 0;
  app->ExitInstance();
}

void BM_ScreenHumanNight8h(benchmark::State& state) {
  static Recording rec(8.0, 0);
  ScreenRecording(state, rec, "8-h human night, 12 channels");
}
BENCHMARK(BM_ScreenHumanNight8h)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ScreenDay24h32Channels(benchmark::State& state) {
  static Recording rec(24.0, 32);
  ScreenRecording(state, rec, "24-h recording, 32 channels");
}
BENCHMARK(BM_ScreenDay24h32Channels)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  // No display: the program's windows are made on the offscreen platform.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
