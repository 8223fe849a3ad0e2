// The sleep-disturbance recognisers over an 8-hour night in 30-s epochs: respiration,
// limb movement, LF/HF of the heart rate, snore and arousal, in the order the
// screening run calls them. Goal: all of them under 1 s.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "app/scoring/arousal_lm_snore.h"
#include "app/scoring/hrv_lf_hf.h"
#include "app/scoring/resp_event_recognition.h"
#include "tests/support/synthetic_night.h"

namespace {

constexpr int kEpochs = 8 * 3600 / 30;

struct Night {
  synth::Night night = synth::MakeNight(kEpochs, 2024, 120.0);
  SleepDstrbParam prm = synth::NightParam();
  synth::NightTables nt;
  std::vector<std::int32_t> beats;
  std::vector<double> lf, hf;

  Night() {
    prm.snore = {6, {20.0, 0.5, 10.0}};
    nt.Load(night, prm);
    // Snore: the right-leg bursts stand in for snoring sounds.
    nt.epochs.AllocateRprsntSlot(kRprsntSnore, 30);
    for (int e = 0; e < kEpochs; ++e) {
      float* dst = nt.epochs.Rprsnt(kRprsntSnore, e);
      for (int i = 0; i < 300; ++i) dst[i] = night.legRight[static_cast<std::size_t>(e * 300 + i)];
    }
    SleepDstrbChannels ch = synth::ChannelsOf(prm);
    nt.tables.AllocateSnore(ch, kEpochs * 300);
    // Arousal counters: bursts of EEG peaks every 90 s.
    std::mt19937 rng(5);
    auto& counts = nt.tables.ArousalPeakNum();
    for (std::size_t p = 0; p < counts.size(); ++p) counts[p] = (p % 900) < 60 ? 3 : static_cast<std::uint8_t>(rng() % 2);
    // Heart beats at 1000 Hz, R-R around 900 ms with LF and HF modulation.
    for (double t = 0.0; t < kEpochs * 30000.0;) {
      beats.push_back(static_cast<std::int32_t>(t));
      const double s = t / 1000.0;
      t += 900.0 + 30.0 * std::sin(2 * synth::kPi * 0.1 * s) + 15.0 * std::sin(2 * synth::kPi * 0.25 * s);
    }
    lf.assign(kEpochs * 30 / prm.lfhfTimeS, 0.0);
    hf = lf;
  }
};

void BM_AllRecognisersEightHours(benchmark::State& state) {
  static Night n;
  const SleepDstrbSources src{.param = &n.prm,
                              .epochs = &n.nt.epochs,
                              .tables = &n.nt.tables,
                              .epochCount = kEpochs,
                              .lmRecognisedWord = &n.nt.lmWord};
  for (auto _ : state) {
    LyrRecgnizeSleepDisturbanceResp(
        RespRecognitionSources{&n.prm, &n.nt.epochs, &n.nt.tables, 30, kEpochs, &n.nt.respWord, {}})
        .Recognize();
    LyrRecognizeLimbMovement(src).Recognize(1);
    LyrTrendFFTCalc(LfHfSources{&n.prm, n.beats, 1000.0, 256, kEpochs, 30, n.lf, n.hf, {}}).TrendFFTTransaction();
    LyrRecognizeSnore(src).Recognize(1);
    LyrRecognizeArousal(src).Recognize(kEpochs, 300);
    benchmark::DoNotOptimize(n.nt.tables.RespRcgnz().data());
  }
}
BENCHMARK(BM_AllRecognisersEightHours)->Unit(benchmark::kMillisecond);

void BM_RespirationEightHours(benchmark::State& state) {
  static Night n;
  for (auto _ : state)
    LyrRecgnizeSleepDisturbanceResp(
        RespRecognitionSources{&n.prm, &n.nt.epochs, &n.nt.tables, 30, kEpochs, &n.nt.respWord, {}})
        .Recognize();
}
BENCHMARK(BM_RespirationEightHours)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
