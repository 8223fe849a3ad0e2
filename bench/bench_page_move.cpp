// One page move of the document's page window on a 24-hour, 32-channel, 500 Hz own raw
// file with 30-s epochs and pages: the entering page read, band-pass and notch on every
// channel, the divided-page window moved and the epoch spectra of all channels.
// Peak resident memory is reported as the counter peak_rss_MiB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "recording_24h.h"
#include "offscreen_main.h"

namespace {

using bench24h::kChannels;
using bench24h::kRate;
using bench24h::kSamples;
using bench24h::Recording;

void Attach(CQLM2_AnalyzerDoc& doc, const std::string& path, int filterKind) {
  EpochSeconds = 30;
  PageSeconds = 30;
  doc.RecordInfo.path = path;
  doc.RecordInfo.sourceKind = 0;
  doc.RecordInfo.channelCount = kChannels;
  doc.RecordSeconds = static_cast<std::int32_t>(kSamples / kRate);
  doc.PageRows = 5;
  for (int c = 0; c < kChannels; ++c) {
    LyrChInfo& ch = doc.ChInfo[c];
    ch.rate = kRate;
    ch.dataCount = kSamples;
    ch.calibration.fullScale = 32768.0;
    ch.filterKind = filterKind;
    ch.filterMode = 2;
    ch.cut1Hz = 0.5;
    ch.cut2Hz = 35.0;
    ch.notch = 1;
    ch.lineFrequencyHz = 50.0;
    doc.Params.fftPageSelection.flags[c] = 1;
  }
}

double PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void MoveOnePage(benchmark::State& state) {
  const std::string path = Recording();
  CQLM2_AnalyzerDoc doc;
  Attach(doc, path, static_cast<int>(state.range(0)));
  const int pages = doc.RecordSeconds / PageSeconds;
  doc.CurrentPage = 2;
  doc.CurrentEpoch = 2;
  doc.SetPageData();
  for (auto _ : state) {
    if (doc.CurrentPage + 3 >= pages) {
      state.PauseTiming();
      doc.CurrentPage = 2;
      doc.CurrentEpoch = 2;
      doc.SetPageData();
      state.ResumeTiming();
    }
    ++doc.CurrentPage;
    doc.CurrentEpoch = doc.CurrentPage;
    doc.MovePageRawData(1);
    doc.MovePageDiviedPageFFTData(1);
    doc.CalcEpochFFTData();
    benchmark::DoNotOptimize(doc.RecordInfo.pageBuffers[4].data());
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
// Argument: filter kind (0 FIR, 1 IIR).
BENCHMARK(MoveOnePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
