#pragma once
// Learning-sample files made byte by byte for the learning tests: a header with the items the
// selection compares, features given per epoch, and the stage codes.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/document/byte_image.h"
#include "app/scoring/learning_sample_file.h"
#include "platform/system/file_io.h"

namespace learning_run {

struct MsfSpec {
  std::string recording = "night.EEG";
  std::uint16_t version = kLearningFileVersion;
  std::string day = "2026/01/05", no = "1", service = "Sleep", engineer = "Ito", doctor = "Mori";
  std::uint16_t epochTime = 30;
  std::string name = "Subject", id = "ID1", sex = "M";
  std::int16_t age = 40;
  double height = 170.0, weight = 65.0;
  std::uint16_t stageType = 0;
  std::vector<int> used = {0, 2};               // features flagged present
  std::vector<std::string> learningFiles;
  std::vector<std::vector<std::pair<int, double>>> epochs;  // features per epoch
  std::vector<int> codes;                       // stage code per epoch
};

inline LearningSample SampleOf(const std::vector<std::pair<int, double>>& features) {
  static constexpr std::size_t kOffsets[kLearningFeatureCount] = {0, 4, 8, 12, 16, 18, 20, 24, 28, 32};
  LearningSample s{};
  const bytes::Span b(s);
  for (const auto& [k, v] : features) {
    if (k == 1 || k == 4 || k == 5)
      bytes::Put<std::int16_t>(b, kOffsets[k], static_cast<std::int16_t>(v));
    else
      bytes::Put<float>(b, kOffsets[k], static_cast<float>(v));
  }
  return s;
}

inline std::string MsfBytes(const MsfSpec& s) {
  static const char* kNames[] = {"AlphaTime", "SpindleCnt", "ThetaTime", "DeltaTime", "RemsCnt",
                                 "KcompCnt",  "EmgInteg",   "Band1Time", "Band2Time", "Band3Time"};
  std::vector<std::uint8_t> head(kLearningHeaderBytes, 0);
  const bytes::Span h(head);
  bytes::PutText(h, 0, 260, s.recording);
  bytes::Put<std::uint16_t>(h, 260, s.version);
  const std::string* experiment[] = {&s.day, &s.no, &s.service, &s.engineer, &s.doctor};
  for (std::size_t i = 0; i < 5; ++i) bytes::PutText(h, 262 + i * 20, 20, *experiment[i]);
  bytes::Put<std::uint16_t>(h, 362, s.epochTime);
  bytes::PutText(h, 364, 20, s.name);
  bytes::PutText(h, 384, 20, s.id);
  bytes::Put<std::int16_t>(h, 404, s.age);
  bytes::PutText(h, 406, 20, s.sex);
  bytes::Put<double>(h, 432, s.height);
  bytes::Put<double>(h, 440, s.weight);
  bytes::Put<std::int16_t>(h, 448, static_cast<std::int16_t>(s.learningFiles.size()));
  bytes::Put<std::int16_t>(h, 450, kLearningParameterCount);
  for (std::size_t i = 0; i < 10; ++i) bytes::PutText(h, 452 + i * 20, 20, kNames[i]);
  for (int k : s.used) bytes::Put<std::uint16_t>(h, 652 + static_cast<std::size_t>(k) * 2, 1);
  const std::vector<std::string>& classes = StagingClassNames(s.stageType);
  bytes::Put<std::uint16_t>(h, 672, s.stageType);
  bytes::Put<std::int16_t>(h, 674, static_cast<std::int16_t>(classes.size()));
  for (std::size_t i = 0; i < classes.size(); ++i) bytes::PutText(h, 676 + i * 20, 20, classes[i]);
  bytes::Put<std::int32_t>(h, 816, static_cast<std::int32_t>(s.codes.size()));
  std::string file = "MSF";
  file.append(reinterpret_cast<const char*>(head.data()), head.size());
  for (const std::string& n : s.learningFiles) {
    std::array<std::uint8_t, kLearningNameBytes> name{};
    bytes::PutText(name, 0, name.size(), n);
    file.append(reinterpret_cast<const char*>(name.data()), name.size());
  }
  for (std::size_t e = 0; e < s.codes.size(); ++e) {
    const LearningSample x = e < s.epochs.size() ? SampleOf(s.epochs[e]) : LearningSample{};
    file.append(reinterpret_cast<const char*>(x.data()), x.size());
  }
  for (int c : s.codes) {
    const char stage[4] = {0, 0, 0, static_cast<char>(c)};
    file.append(stage, 4);
  }
  file += "EMS";
  return file;
}

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("learning_run_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Path() const { return path_.string(); }
  std::string Write(const std::string& name, const MsfSpec& spec) const {
    const std::string p = (path_ / name).string();
    sys::WriteFileAtomic(p, MsfBytes(spec));
    return p;
  }

 private:
  std::filesystem::path path_;
};

// The chain's small case: Wake at the corners of [0, 2]^2, Rem at those of [4, 6]^2, on alpha
// (feature 0) and theta (feature 2).
inline MsfSpec SquaresSpec() {
  MsfSpec s;
  s.used = {0, 2};
  const double pts[8][2] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {4, 4}, {6, 4}, {4, 6}, {6, 6}};
  for (int i = 0; i < 8; ++i) {
    s.epochs.push_back({{0, pts[i][0]}, {2, pts[i][1]}});
    s.codes.push_back(i < 4 ? 1 : 2);
  }
  return s;
}

}  // namespace learning_run
