#pragma once
// The benchmarks' 24-hour, 32-channel, 500 Hz own raw recording, written once into the
// temporary folder and reused by later runs.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_records.h"
#include "common/fileaccess/fyn_file_write.h"

namespace bench24h {

inline constexpr int kChannels = 32;
inline constexpr int kRate = 500;
inline constexpr std::uint32_t kSamples = 24u * 3600u * kRate;

// Header groups by the library's writers, then the sample group written in blocks.
inline std::string Recording() {
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

}  // namespace bench24h
