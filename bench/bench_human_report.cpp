// The whole human report (every section) of a scored 24-hour recording with every event
// table filled, written to a file, at 30-s and 4-s epochs. Goal: at most 200 ms each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_report.h"
#include "offscreen_main.h"
#include "platform/testing/ui_testing.h"

namespace {

constexpr int kDaySeconds = 24 * 3600;

std::unique_ptr<CQLM2_AnalyzerDoc> MakeNight(int epochSeconds) {
  auto d = std::make_unique<CQLM2_AnalyzerDoc>();
  const int epochs = kDaySeconds / epochSeconds;
  EpochSeconds = epochSeconds;
  d->RecordSeconds = kDaySeconds;
  d->RecordInfo.channelCount = 12;
  SetDefaultStageTypeParam(&d->Params.stageType);
  d->Params.stageType.stageType = 0;
  d->EpochTables.SetNew(epochs, epochSeconds, 12, 1, 1);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> stage(1, 7), coin(0, 99);
  // Runs of stages of one to twenty epochs.
  for (int e = 0; e < epochs;) {
    const int code = stage(rng), run = 1 + coin(rng) % 20;
    for (int k = 0; k < run && e < epochs; ++k, ++e) d->EpochTables.SetStage(e, static_cast<std::uint8_t>(code));
  }
  auto& sd = d->Params.sleepDstrb;
  sd.airFlow.channel = 0;
  sd.chest.channel = 1;
  sd.ecgChannel = 2;
  sd.spo2Channel = 3;
  sd.positionChannel = 4;
  sd.cpapChannel = 5;
  sd.snore.channel = 6;
  sd.legLeft.channel = 7;
  sd.legRight.channel = 8;
  sd.arousal.channel = 9;
  sd.positionsInUse = 5;
  for (int c = 0; c < 5; ++c) sd.positions[static_cast<std::size_t>(c)] = {"P" + std::to_string(c), c * 1.0, c + 1.0};

  auto& t = d->RecognitionTables;
  t.RespRcgnz().assign(static_cast<std::size_t>(kDaySeconds) * 4, 0);
  for (std::size_t i = 0; i + 200 < t.RespRcgnz().size(); i += 1000) {
    const auto code = static_cast<std::uint8_t>(1 + coin(rng) % 4);
    for (std::size_t k = 0; k < 40 + static_cast<std::size_t>(coin(rng)); ++k) t.RespRcgnz()[i + k] = code;
  }
  for (auto* mask : {&t.LMLeft(), &t.LMRight(), &t.LMBoth(), &t.Snore(), &t.ArousalRecognize()}) {
    mask->assign(static_cast<std::size_t>(kDaySeconds) * 10, 0);
    for (std::size_t i = 0; i + 30 < mask->size(); i += 250)
      for (int k = 0; k < 30; ++k) (*mask)[i + static_cast<std::size_t>(k)] = 1;
  }
  t.ECGLFHF().resize(static_cast<std::size_t>(epochs));
  for (double& rr : t.ECGLFHF()) rr = 800.0 + coin(rng) * 4.0;
  d->EpochTables.AllocateRprsntTable();
  d->EpochTables.AllocateRprsntSpO2(epochSeconds);
  d->EpochTables.AllocateRprsntCPAP(epochSeconds);
  d->EpochTables.AllocateRprsntPosition(epochSeconds);
  for (int e = 0; e < epochs; ++e) {
    float* s = d->EpochTables.Rprsnt(kRprsntSpO2, e);
    for (int i = 0; i < d->EpochTables.RprsntCount(kRprsntSpO2); ++i) s[i] = 80.0f + static_cast<float>(coin(rng) % 20);
    float* c = d->EpochTables.Rprsnt(kRprsntCPAP, e);
    for (int i = 0; i < d->EpochTables.RprsntCount(kRprsntCPAP); ++i) c[i] = 4.0f + static_cast<float>(coin(rng) % 10);
    float* p = d->EpochTables.Rprsnt(kRprsntPosition, e);
    for (int i = 0; i < d->EpochTables.RprsntCount(kRprsntPosition); ++i) p[i] = static_cast<float>(coin(rng) % 5);
  }
  return d;
}

void WholeReport(benchmark::State& state, int epochSeconds) {
  static std::map<int, std::unique_ptr<CQLM2_AnalyzerDoc>> nights;
  std::unique_ptr<CQLM2_AnalyzerDoc>& doc = nights[epochSeconds];
  if (!doc) doc = MakeNight(epochSeconds);
  EpochSeconds = epochSeconds;
  OutputToClipboard = 0;
  HumanReportSettings.words.fill(1);
  const std::string path = (std::filesystem::temp_directory_path() / "bench_human_report.txt").string();
  LyrDlgReport report(doc.get());
  report.m_OutputPath = path;
  report.SetObjectEnables();
  report.SetDefaultTimes();
  // Every epoch in bed is scored by the night's making; the markers span the whole recording.
  BedInEpoch = 0;
  BedOutEpoch = doc->GetDivNum(epochSeconds) - 1;
  for (auto _ : state) {
    testhooks::Reset();
    if (report.OutputReport() != 1) state.SkipWithError("the report was not written");
  }
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK_CAPTURE(WholeReport, epochs_30s, 30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeReport, epochs_4s, 4)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
