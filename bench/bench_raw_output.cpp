// Cutting a generated recording into a new raw data file (8 h of 8 channels at 500 Hz, the
// whole night) and into a comma table (the first hour of the same channels), through the
// program with the recording open. Goals: 1 s for the raw file, 2 s for the table.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_text_output.h"
#include "app/results/raw_output_file.h"
#include "sample_night.h"

namespace {

constexpr int kChannels = 8;

std::string Recording8h() {
  static const std::string path = [] {
    const std::string p = sys::TempFolder() + "/bench_raw_output_" + std::to_string(::getpid()) + ".fyd";
    samples::Options o;
    o.hours = 8.0;
    o.channels = kChannels;
    o.rateHz = 500;
    std::string error;
    if (!samples::WriteSampleRecording(o, p, &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    std::atexit([] {
      std::error_code ec;
      const std::string q = sys::TempFolder() + "/bench_raw_output_" + std::to_string(::getpid());
      for (const char* ext : {".fyd", ".stages", ".events"}) std::filesystem::remove(q + ext, ec);
    });
    return p;
  }();
  return path;
}

void BM_RawOutputWholeNight(benchmark::State& state) {
  benchnight::OpenProgram program(Recording8h(), 30, 30);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  CQLM2_AnalyzerDoc& doc = program.Doc();
  std::array<std::int32_t, 32> flags{};
  for (int c = 0; c < kChannels; ++c) flags[static_cast<std::size_t>(c)] = 1;
  const std::string out = sys::TempFolder() + "/bench_raw_output_cut_" + std::to_string(::getpid()) + ".fyd";
  const int epochs = doc.GetDivNum(EpochSeconds);
  for (auto _ : state) {
    if (rawout::WriteRawOutput(doc, out, 0, epochs - 1, flags) != 1) state.SkipWithError("the cut failed");
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
  std::filesystem::remove(out);
}
BENCHMARK(BM_RawOutputWholeNight)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TextOutputFirstHour(benchmark::State& state) {
  benchnight::OpenProgram program(Recording8h(), 30, 30);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  CQLM2_AnalyzerDoc& doc = program.Doc();
  std::array<std::uint16_t, 32> flags{};
  for (int c = 0; c < kChannels; ++c) flags[static_cast<std::size_t>(c)] = 1;
  const std::string out = sys::TempFolder() + "/bench_raw_output_table_" + std::to_string(::getpid()) + ".csv";
  const std::int32_t savedLimit = OutputMaxLines;
  OutputMaxLines = -1000000;  // one file
  OutputDelimiterIsTab = 0;
  for (auto _ : state) {
    if (WriteRawTextOutput(doc, out, flags, 0, 119, nullptr) != 1) state.SkipWithError("the table failed");
  }
  OutputMaxLines = savedLimit;
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
  std::filesystem::remove(out);
}
BENCHMARK(BM_TextOutputFirstHour)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
