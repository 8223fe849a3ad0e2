// Multi-screening of a batch of ten generated 8-hour recordings, each of two animals (EEG, EMG
// and locomotion at the sample maker's rate), with the default settings: goal under 20 s for
// the whole batch. After the run each animal's result file is compared with the true
// hypnogram the maker wrote beside its recording (FILE_NN.stages) and the agreement of wake
// against sleep and of every stage code is printed.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/results/result_file_layout.h"
#include "app/scoring/lyr_multi_screening.h"
#include "platform/system/file_io.h"
#include "sample_night.h"

namespace {

constexpr int kRecordings = 10;
constexpr int kAnimals = 2;

struct Batch {
  std::string folder;
  std::vector<std::string> paths;
  Batch() {
    folder = sys::CreateTempFolder("bench-multiscreening-");
    for (int k = 0; k < kRecordings; ++k) {
      samples::Options o;
      o.kind = samples::Kind::Animal;
      o.hours = 8.0;
      o.animals = kAnimals;
      o.seed = static_cast<std::uint32_t>(31 + k);
      const std::string path = folder + "/day" + std::to_string(k) + ".fyd";
      std::string error;
      if (!samples::WriteSampleRecording(o, path, &error)) {
        std::fprintf(stderr, "bench_multiscreening: %s\n", error.c_str());
        std::abort();
      }
      paths.push_back(path);
    }
  }
  ~Batch() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

std::vector<int> ReadStages(const std::string& path) {
  std::vector<int> v;
  std::ifstream in(path);
  for (int s = 0; in >> s;) v.push_back(s);
  return v;
}

void PrintAgreement(const Batch& batch) {
  int total = 0, sameWake = 0, same = 0;
  std::array<std::array<int, 4>, 4> m{};  // true 1..3 by scored 0..3 (others count as 0)
  for (const std::string& raw : batch.paths) {
    for (int a = 1; a <= kAnimals; ++a) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, "_%02d", a);
      const std::string base = raw.substr(0, raw.size() - 4) + suffix;
      const std::vector<int> truth = ReadStages(base + ".stages");
      const auto file = sys::ReadWholeFile(base + ".raf");
      if (!file) continue;
      const std::size_t records = raf::kHeaderSize + raf::kInfoBlockSize + raf::kScaleBlockSize + 4;
      for (std::size_t e = 0; e < truth.size(); ++e) {
        const std::size_t at = records + e * 188;
        if (at >= file->size()) break;
        const int s = static_cast<unsigned char>((*file)[at]);
        const int t = truth[e];
        ++total;
        sameWake += (s == 1) == (t == 1);
        same += s == t;
        if (t >= 1 && t <= 3) ++m[static_cast<std::size_t>(t)][static_cast<std::size_t>(s >= 1 && s <= 3 ? s : 0)];
      }
    }
  }
  std::printf("\n%d recordings x %d animals, %d epochs: wake/sleep agreement %.1f %%, stage agreement %.1f %%\n",
              kRecordings, kAnimals, total, total ? 100.0 * sameWake / total : 0.0, total ? 100.0 * same / total : 0.0);
  std::printf("true\\scored   other     W   REM  NREM\n");
  const char* names[] = {"", "W", "REM", "NREM"};
  for (int t = 1; t <= 3; ++t)
    std::printf("%-12s%8d%6d%6d%6d\n", names[t], m[static_cast<std::size_t>(t)][0], m[static_cast<std::size_t>(t)][1],
                m[static_cast<std::size_t>(t)][2], m[static_cast<std::size_t>(t)][3]);
  std::fflush(stdout);
}

void BM_MultiScreenTenDaysOfTwoAnimals(benchmark::State& state) {
  static Batch batch;
  benchnight::OpenProgram program(batch.paths.front(), 10, 10);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  // Stage type 3 (Wake, REM, NREM), as the sample maker's animal hypnograms.
  program.Doc().Params.stageType.stageType = 3;
  LyrMultiScreeningSetting settings{LyrMultiScreeningSetting::NoFile{}};
  settings.FileList = batch.paths;
  int result = 0;
  for (auto _ : state) {
    LyrMultiScreening engine(settings);
    result = engine.Run();
    engine.EndProgress();
  }
  if (result != 1) state.SkipWithError("the batch did not complete");
  state.counters["recordings"] = kRecordings;
  PrintAgreement(batch);
}
BENCHMARK(BM_MultiScreenTenDaysOfTwoAnimals)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
