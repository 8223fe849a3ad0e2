// Reading one 30-s page of a 32-channel, 500 Hz recording and calibrating it to floats,
// against a plain read-and-convert loop over the same bytes (the physical reference).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_access_raw.h"
#include "common/fileaccess/fyn_file_io.h"
#include "platform/system/file_system.h"
#include "sample_recording.h"

namespace {

constexpr int kChannels = 32;
constexpr int kRateHz = 500;
constexpr std::uint32_t kPageFrames = 30 * kRateHz;
// One hour is enough: a page read does not depend on how long the recording is.
constexpr double kHours = 1.0;

struct Recording {
  std::string path;
  std::uint32_t pages = 0;
  std::uint64_t dataStart = 0;
  std::vector<double> slope;
  std::vector<double> offset;

  Recording() {
    path = sys::TempFolder() + "/bench_raw_read_" + std::to_string(::getpid()) + ".fyd";
    samples::Options o;
    o.hours = kHours;
    o.channels = kChannels;
    o.rateHz = kRateHz;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) {
      std::fprintf(stderr, "bench_raw_read: %s\n", error.c_str());
      std::abort();
    }
    pages = static_cast<std::uint32_t>(kHours * 3600 * kRateHz / kPageFrames);
    // Where the samples start and how each channel converts, for the reference loop.
    FynFileAccessRaw r(path.c_str());
    r.InitParams();
    std::uint32_t ov = 0;
    r.GetPropGroupAddress("ORVENTALIS", &ov);
    fyn::FynFile f;
    unsigned char len[4];
    f.Open(path, fyn::FynFile::Mode::Read);
    f.ReadAt(ov, len, 4);
    dataStart = ov + (len[0] | (len[1] << 8) | (len[2] << 16) | (std::uint64_t{len[3]} << 24)) + 4;
    for (int k = 0; k < kChannels; ++k) {
      _FynRawG2Param p;
      r.GetGroup2ParamRaw(k, &p);
      const double s = (p.calTopPhysical - p.calBottomPhysical) / 65535.0;
      slope.push_back(s);
      offset.push_back(p.calBottomPhysical);
    }
  }
  ~Recording() {
    sys::DeleteFile(path);
    sys::DeleteFile(samples::CompanionPath(path, ".stages"));
    sys::DeleteFile(samples::CompanionPath(path, ".events"));
  }
};

Recording& TheRecording() {
  static Recording r;
  return r;
}

void BM_ReaderPageFloatAll(benchmark::State& state) {
  Recording& rec = TheRecording();
  FynFileAccessRaw reader(rec.path.c_str());
  if (reader.InitParams() != 0) state.SkipWithError("InitParams failed");
  std::vector<float> out(static_cast<std::size_t>(kChannels) * kPageFrames);
  std::vector<std::int16_t> invert(kChannels, 0);
  std::uint32_t page = 0;
  for (auto _ : state) {
    const std::uint32_t first = page * kPageFrames;
    if (reader.GetRawDataFloatAll(first, first + kPageFrames - 1, out.data(), invert.data()) != 0) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
    page = (page + 7) % rec.pages;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChannels * kPageFrames * 2);
}
BENCHMARK(BM_ReaderPageFloatAll)->Unit(benchmark::kMicrosecond);

// The same bytes read in one piece and converted with a precomputed line per channel.
void BM_PlainReadConvert(benchmark::State& state) {
  Recording& rec = TheRecording();
  std::vector<unsigned char> bytes(static_cast<std::size_t>(kChannels) * kPageFrames * 2);
  std::vector<float> out(static_cast<std::size_t>(kChannels) * kPageFrames);
  std::uint32_t page = 0;
  for (auto _ : state) {
    fyn::FynFile f;
    const std::uint64_t at = rec.dataStart + std::uint64_t{page} * kPageFrames * kChannels * 2;
    if (!f.Open(rec.path, fyn::FynFile::Mode::Read) || !f.ReadAt(at, bytes.data(), bytes.size())) {
      state.SkipWithError("read failed");
      break;
    }
    for (int k = 0; k < kChannels; ++k) {
      float* dst = out.data() + static_cast<std::size_t>(k) * kPageFrames;
      const unsigned char* src = bytes.data() + 2 * k;
      const double s = rec.slope[static_cast<std::size_t>(k)];
      const double o = rec.offset[static_cast<std::size_t>(k)];
      for (std::uint32_t i = 0; i < kPageFrames; ++i) {
        const auto w = static_cast<std::uint16_t>(src[2 * i * kChannels] | (src[2 * i * kChannels + 1] << 8));
        dst[i] = static_cast<float>(o + s * static_cast<std::uint16_t>(w ^ 0x8000));
      }
    }
    benchmark::DoNotOptimize(out.data());
    page = (page + 7) % rec.pages;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChannels * kPageFrames * 2);
}
BENCHMARK(BM_PlainReadConvert)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
