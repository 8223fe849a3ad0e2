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
#include "common/fileaccess/fyn_file_records.h"
#include "common/fileaccess/fyn_file_write.h"

namespace {

constexpr int kChannels = 32;
constexpr int kRate = 500;
constexpr std::uint32_t kSamples = 24u * 3600u * kRate;

// Header groups by the library's writers, then the sample group written in blocks.
std::string Recording() {
  const std::string path = (std::filesystem::temp_directory_path() / "qlm2_bench_24h_32ch_500hz.raw").string();
  const std::uint64_t dataBytes = 4ull + 2ull * kSamples * kChannels;
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && std::filesystem::file_size(path, ec) > dataBytes) return path;
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
  FynFileWriteRaw1_1 w(path.c_str());
  w.CreateNewFile();
  w.WriteIDBlock(&id, &end);
  _FynRawHeader h{3, 0};
  w.WriteHeader(&h, nullptr, &end);
  _FynRawG1Param g;
  g.channels = kChannels;
  g.dataCount = kSamples;
  g.samplingHz = kRate;
  w.WriteGroup1Raw(&g, nullptr, &end);
  w.StartGroup2(kChannels, nullptr, &end);
  for (int c = 0; c < kChannels; ++c) {
    _FynRawG2Param p;
    p.name = "CH" + std::to_string(c + 1);
    p.fullScale = 32768.0;
    w.WriteGroup2Unit(&p, nullptr, &end);
  }
  w.EndGroup2(&end, &end);
  std::ofstream out(path, std::ios::binary | std::ios::app);
  const auto length = static_cast<std::uint32_t>(dataBytes);
  const unsigned char head[4] = {static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                                 static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24)};
  out.write(reinterpret_cast<const char*>(head), 4);
  constexpr std::uint32_t kBlock = 100000;  // frames
  std::vector<unsigned char> bytes;
  for (std::uint32_t first = 0; first < kSamples; first += kBlock) {
    const std::uint32_t n = std::min(kBlock, kSamples - first);
    bytes.resize(static_cast<std::size_t>(n) * kChannels * 2);
    std::size_t at = 0;
    for (std::uint32_t i = first; i < first + n; ++i)
      for (int c = 0; c < kChannels; ++c) {
        const double t = static_cast<double>(i) / kRate;
        const auto v = static_cast<std::int16_t>(800.0 * std::sin(6.283 * (2.0 + c * 0.37) * t) +
                                                 300.0 * std::sin(6.283 * 50.0 * t) + (i * 7 + c) % 41);
        bytes[at++] = static_cast<unsigned char>(static_cast<std::uint16_t>(v));
        bytes[at++] = static_cast<unsigned char>(static_cast<std::uint16_t>(v) >> 8);
      }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  return path;
}

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

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
