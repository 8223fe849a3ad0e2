// Per-epoch trend values over a 24-hour recording of 4-s epochs (21,600 epochs): each item's
// whole night, as the graph drawing asks for it. Goal: at most 2 ms per item.
#include <benchmark/benchmark.h>

#include <cfloat>
#include <memory>
#include <random>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_values.h"

namespace {

constexpr int kEpochs = 21600;
constexpr int kEpochSeconds = 4;

CQLM2_AnalyzerDoc& Night() {
  static std::unique_ptr<CQLM2_AnalyzerDoc> doc = [] {
    auto d = std::make_unique<CQLM2_AnalyzerDoc>();
    EpochSeconds = kEpochSeconds;
    d->RecordSeconds = kEpochs * kEpochSeconds;
    d->RecordInfo.channelCount = 32;
    d->Params.fftBand.channelSwitch[0] = 1;
    d->EpochTables.SetNew(kEpochs, kEpochSeconds, 32, 1, 1);
    d->EpochTables.AllocateRprsntTable();
    d->EpochTables.AllocateRprsntSpO2(kEpochSeconds);
    d->EpochTables.AllocateRprsntPosition(kEpochSeconds);
    auto& sd = d->Params.sleepDstrb;
    sd.airFlow.channel = 1;
    sd.spo2Channel = 2;
    sd.positionChannel = 3;
    sd.legLeft.channel = 4;
    sd.legRight.channel = 5;
    sd.ecgChannel = 6;
    sd.snore.channel = 7;
    sd.arousal.channel = 8;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coin(0, 99);
    auto& t = d->RecognitionTables;
    t.RespRcgnz().assign(static_cast<std::size_t>(kEpochs) * 16, 0);
    for (std::size_t i = 0; i < t.RespRcgnz().size(); i += 97) t.RespRcgnz()[i] = static_cast<std::uint8_t>(1 + coin(rng) % 4);
    for (auto* mask : {&t.LMLeft(), &t.LMRight(), &t.LMBoth(), &t.Snore(), &t.ArousalRecognize()}) {
      mask->assign(static_cast<std::size_t>(kEpochs) * 40, 0);
      for (std::size_t i = 0; i + 20 < mask->size(); i += 300)
        for (int k = 0; k < 20; ++k) (*mask)[i + static_cast<std::size_t>(k)] = 1;
    }
    t.ECGLFHF().assign(kEpochs, 950.0);
    auto& list = t.AirFlowPPAmp();
    for (int p = 0; p < kEpochs * 16; p += 8) list.entries.push_back({p, 1.0f});
    list.count = static_cast<std::int32_t>(list.entries.size());
    for (int e = 0; e < kEpochs; ++e) {
      float* s = d->EpochTables.Rprsnt(kRprsntSpO2, e);
      for (int i = 0; i < 8; ++i) s[i] = (i % 3 == 0) ? FLT_MAX : 95.0f;
      float* p = d->EpochTables.Rprsnt(kRprsntPosition, e);
      for (int i = 0; i < 8; ++i) p[i] = static_cast<float>(coin(rng) % 5);
    }
    sd.positionsInUse = 5;
    for (int c = 0; c < 5; ++c) sd.positions[static_cast<std::size_t>(c)].from = c, sd.positions[static_cast<std::size_t>(c)].to = c + 1;
    return d;
  }();
  return *doc;
}

void WholeNight(benchmark::State& state, int category, int sub, int third) {
  CQLM2_AnalyzerDoc& doc = Night();
  TrendItem.category[0] = static_cast<std::uint16_t>(category);
  TrendItem.subItem[0] = static_cast<std::uint16_t>(sub);
  TrendItem.third[0] = static_cast<std::uint16_t>(third);
  LyrTrendGraphValues values(&doc, 0);
  for (auto _ : state) {
    double sum = 0;
    for (int e = 0; e < kEpochs; ++e) sum += values.GetTrendValue(e).Number();
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK_CAPTURE(WholeNight, delta_time, 1, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, emg, 8, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, apnea, 11, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, hypopnea, 12, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, heart_rate, 13, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, breath_amplitude, 14, 1, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, breath_interval, 14, 3, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, main_position, 17, 1, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, spo2_mean, 18, 2, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, lm_counts, 20, 2, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, plm_duration, 20, 2, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, fft_power, 21, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, free_mean, 22, 2, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, snore, 23, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeNight, arousal, 24, 0, 0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
