// Per-epoch and recognition tables of a 24-hour, 32-channel recording scored in 4-s
// epochs on a 24-hour page: time to make them and the resident memory they take.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>

#include "app/document/epoch_parameter.h"
#include "app/document/epoch_values.h"
#include "app/document/sleep_dstrb_tables.h"

namespace {

constexpr int kEpochSeconds = 4;
constexpr int kEpochs = 86400 / kEpochSeconds;
constexpr int kChannels = 32;

double ResidentMiB() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void MakeDayTables(LyrEpochParameter& epochs, SleepDstrbTables& rcgnz) {
  epochs.SetNew(kEpochs, kEpochSeconds, kChannels, kChannels, 1);
  epochs.AllocateRprsntTable();
  for (int slot = 0; slot < kRprsntSlotCount; ++slot) epochs.AllocateRprsntSlot(slot, kEpochSeconds);
  SleepDstrbChannels ch;
  ch.airFlow = 0, ch.chest = 1, ch.abdomen = 2, ch.lmLeft = 3, ch.lmRight = 4, ch.ecg = 5;
  ch.spo2 = 6, ch.position = 7, ch.cpap = 8, ch.snore = 9, ch.arousal = 10;
  const int resp = kEpochs * LyrEpochParameter::GetRprsntNumResp(kEpochSeconds);
  const int tenth = kEpochs * LyrEpochParameter::GetRprsntNumLM(kEpochSeconds);
  rcgnz.AllocateRespRcgnz(ch, resp);
  rcgnz.AllocateAirFlow(ch, resp);
  rcgnz.AllocateRespC(ch, resp);
  rcgnz.AllocateRespA(ch, resp);
  rcgnz.AllocateLMRcgnz(ch, tenth);
  rcgnz.AllocateLMLeft(ch, tenth);
  rcgnz.AllocateLMRight(ch, tenth);
  rcgnz.AllocateLMBoth(ch, tenth);
  rcgnz.AllocateECGTables(ch, kEpochs, kEpochSeconds);
  rcgnz.AllocateSnore(ch, tenth);
  rcgnz.AllocateArousalTables(ch, tenth);
  rcgnz.AllocateArousalPageTbl(ch, kEpochSeconds, 86400);
}

void BM_MakeDayTables(benchmark::State& state) {
  double grownMiB = 0;
  for (auto _ : state) {
    const double before = ResidentMiB();
    LyrEpochParameter epochs;
    SleepDstrbTables rcgnz;
    MakeDayTables(epochs, rcgnz);
    grownMiB = ResidentMiB() - before;
    benchmark::DoNotOptimize(epochs.Record(kEpochs - 1));
  }
  state.counters["resident_MiB"] = grownMiB;
}
BENCHMARK(BM_MakeDayTables)->Unit(benchmark::kMillisecond)->Iterations(3);

// The trend window reads one value of every epoch of the night.
void BM_EpochValueOverTheNight(benchmark::State& state) {
  LyrEpochParameter epochs;
  epochs.SetNew(kEpochs, kEpochSeconds, kChannels, kChannels, 1);
  std::uint16_t flags[kChannels];
  std::uint32_t modes[kChannels] = {};
  for (auto& f : flags) f = 1;
  EpochValueContext ctx;
  ctx.epochSeconds = kEpochSeconds;
  ctx.fftBandFlags = flags;
  ctx.chDispModes = modes;
  for (auto _ : state) {
    double sum = 0;
    for (int e = 0; e < kEpochs; ++e) sum += GetEpochValue(epochs, ctx, e, 16, 31);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_EpochValueOverTheNight)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
