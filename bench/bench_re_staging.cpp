// Re-staging with episodes and the dose-latency file over 24 hours of 4-s epochs (21,600).
// Nights: runs of 1 to 7 epochs (the default rules), and a flicker of single epochs under
// rules of one epoch, where every run starts an episode whose scan meets no following
// episode (the walk's worst case). Goal: 20 ms each.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/workspace/lyr_workspace_text_out_dose_latency.h"

namespace {

constexpr int kEpochs = 21600;

std::unique_ptr<CQLM2_AnalyzerDoc> MakeDay(bool flicker) {
  EpochSeconds = 4;
  auto d = std::make_unique<CQLM2_AnalyzerDoc>();
  d->RecordSeconds = kEpochs * 4;
  d->RecordInfo.channelCount = 1;
  d->ChInfo[0].rate = 100;
  d->EpochTables.SetNew(kEpochs, 0, 1, 0, 1);
  SetDefaultStageTypeParam(&d->Params.stageType);
  d->Params.stageType.stageType = 0;
  int code = 1;
  for (int e = 0; e < kEpochs;) {
    const int run = flicker ? 1 : 1 + (e * 7919) % 7;
    for (int k = 0; k < run && e < kEpochs; ++k, ++e) d->EpochTables.SetStage(e, static_cast<std::uint8_t>(code));
    code = code % 7 + 1;
  }
  return d;
}

void Rules(bool flicker) {
  SetDefaultSettings();
  EpochSeconds = 4;
  if (flicker)
    for (StageEpisodeRule& r : StageEpisodeRules) r = {4, 4, 3};
}

void BM_ReStage(benchmark::State& state) {
  const bool flicker = state.range(0) != 0;
  const auto doc = MakeDay(flicker);
  Rules(flicker);
  for (auto _ : state) {
    LyrReStageWithEpisode r(doc.get());
    r.AllocateReStage();
    r.ReStage();
    benchmark::DoNotOptimize(r.GetStage(kEpochs / 2));
  }
}
BENCHMARK(BM_ReStage)->Arg(0)->Arg(1)->ArgName("flicker")->Unit(benchmark::kMillisecond);

void BM_DoseLatencyFile(benchmark::State& state) {
  const auto doc = MakeDay(false);
  Rules(false);
  UseEpisodeSetting = 1;
  OutputDelimiterIsTab = 0;
  LyrReStageWithEpisode r(doc.get());
  r.AllocateReStage();
  r.ReStage();
  const std::string path = (std::filesystem::temp_directory_path() / "bench_dose_latency.csv").string();
  for (auto _ : state) {
    const std::int64_t origin = LyrWorkspaceTextOutDoseLatency::TimeOrigin(*doc);
    LyrWorkspaceTextOutDoseLatency out(0, kEpochs - 1, {0, 5000, -1}, {origin, origin + 20000, 0}, &r);
    out.m_pDoc = doc.get();
    if (out.OutputText(path) != 1) state.SkipWithError("file not written");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_DoseLatencyFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
