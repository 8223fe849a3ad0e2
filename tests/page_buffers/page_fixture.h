#pragma once
// Generated recordings on disk and a document set up on them, with the program-wide
// epoch and page lengths restored after each test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_records.h"
#include "common/fileaccess/fyn_file_write.h"
#include "platform/testing/ui_testing.h"

namespace pagefix {

constexpr double kPi = 3.14159265358979323846;
using SampleFn = std::function<double(int channel, long long index)>;

struct Recording {
  int channels = 2;
  int rate = 200;
  long long samples = 0;
  SampleFn sample;
};

// Own raw file of 16-bit samples; a sample value v is stored as round(v) (calibration
// full scale 32768 gives back the stored value).
inline bool WriteOwnRaw(const std::string& path, const Recording& r) {
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
  FynFileWriteRaw1_1 w(path.c_str());
  bool ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0;
  _FynRawHeader h{3, 0};
  ok = ok && w.WriteHeader(&h, nullptr, &end) == 0;
  _FynRawG1Param g;
  g.channels = static_cast<std::uint16_t>(r.channels);
  g.dataCount = static_cast<std::uint32_t>(r.samples);
  g.samplingHz = r.rate;
  ok = ok && w.WriteGroup1Raw(&g, nullptr, &end) == 0;
  ok = ok && w.StartGroup2(static_cast<std::int16_t>(r.channels), nullptr, &end) == 0;
  for (int c = 0; c < r.channels; ++c) {
    _FynRawG2Param p;
    p.name = "CH" + std::to_string(c + 1);
    p.fullScale = 32768.0;
    p.unit = "uV";
    ok = ok && w.WriteGroup2Unit(&p, nullptr, &end) == 0;
  }
  ok = ok && w.EndGroup2(&end, &end) == 0;
  std::vector<std::uint16_t> frames(static_cast<std::size_t>(r.samples * r.channels));
  for (long long i = 0; i < r.samples; ++i)
    for (int c = 0; c < r.channels; ++c)
      frames[static_cast<std::size_t>(i * r.channels + c)] =
          static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(r.sample(c, i))));
  FynFileWriteRaw data(path.c_str());
  return ok && data.WriteDataGroup(frames, nullptr, &end) == 0;
}

// Analysis file: pairs (index, value) per channel.
inline bool WriteAnalysis(const std::string& path, const Recording& r) {
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_ANADATA", 0x0110};
  FynFileWriteAna w(path.c_str());
  bool ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0;
  ok = ok && w.WriteHeader(3, nullptr, &end) == 0 && w.WriteGroup1Ana(static_cast<std::int16_t>(r.channels), nullptr, &end) == 0;
  ok = ok && w.StartGroup2(static_cast<std::int16_t>(r.channels), nullptr, &end) == 0;
  std::vector<std::vector<float>> pairs(static_cast<std::size_t>(r.channels));
  for (int c = 0; c < r.channels; ++c) {
    _FynAnaG2Param p;
    p.dataCount = static_cast<std::uint32_t>(r.samples);
    ok = ok && w.WriteGroup2Unit(&p, nullptr, &end) == 0;
    for (long long i = 0; i < r.samples; ++i) {
      pairs[c].push_back(static_cast<float>(i));
      pairs[c].push_back(static_cast<float>(r.sample(c, i)));
    }
  }
  ok = ok && w.EndGroup2(&end, &end) == 0;
  return ok && w.WriteDataGroup(pairs, nullptr, &end) == 0;
}

// Points the document at a recording of the given shape (as opening it would).
inline void Attach(CQLM2_AnalyzerDoc& doc, const std::string& path, int sourceKind, const Recording& r) {
  doc.RecordInfo.path = path;
  doc.RecordInfo.sourceKind = sourceKind;
  doc.RecordInfo.channelCount = r.channels;
  for (int c = 0; c < r.channels; ++c) {
    LyrChInfo& ch = doc.ChInfo[c];
    ch.name = "CH" + std::to_string(c + 1);
    ch.rate = r.rate;
    ch.dataCount = static_cast<std::uint32_t>(r.samples);
    ch.calibration.fullScale = 32768.0;
    ch.calibration.calibrated = 0;
  }
  doc.RecordSeconds = static_cast<std::int32_t>(r.samples / r.rate / EpochSeconds * EpochSeconds);
}

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("pages_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
    testhooks::Reset();
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  std::int32_t savedEpoch_ = 0;
  std::int32_t savedPage_ = 0;
};

// Channel c of a slot (its span is rate x PageSeconds + 1 floats).
inline const float* Channel(const CQLM2_AnalyzerDoc& doc, int kind, int c) {
  const auto& slot = doc.RecordInfo.pageBuffers[kind];
  if (slot.empty()) return nullptr;
  std::size_t offset = 0;
  for (int k = 0; k < c; ++k) offset += static_cast<std::size_t>(doc.ChInfo[k].rate) * PageSeconds + 1;
  return slot.data() + offset;
}

// Root mean square of n samples from first.
inline double Rms(const float* p, std::size_t first, std::size_t n) {
  double s = 0.0;
  for (std::size_t i = first; i < first + n; ++i) s += static_cast<double>(p[i]) * p[i];
  return std::sqrt(s / static_cast<double>(n));
}

}  // namespace pagefix
