// The synthetic recordings: readable through the raw reader, deterministic for a seed, and
// with signals that follow their own hypnogram and events.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"
#include "sample_recording.h"

namespace {

// Power of `x` at frequency `hz` (Goertzel), normalised by the length.
double PowerAt(const std::vector<float>& x, std::size_t from, std::size_t n, double hz, double rate) {
  const double w = 2.0 * 3.141592653589793 * hz / rate;
  const double c = 2.0 * std::cos(w);
  double s1 = 0.0;
  double s2 = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double s0 = x[from + i] + c * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return (s1 * s1 + s2 * s2 - c * s1 * s2) / static_cast<double>(n * n);
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class SampleNight : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new fixture::TempDir;
    path = dir->Path("night.fyd");
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 2.0;
    o.rateHz = 64;
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, path, &error)) << error;
  }
  static void TearDownTestSuite() { delete dir; }
  static fixture::TempDir* dir;
  static std::string path;
};
fixture::TempDir* SampleNight::dir = nullptr;
std::string SampleNight::path;

TEST_F(SampleNight, FileStagesAndEventsAreConsistent) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  EXPECT_EQ(1, r.GetEventFlg());
  _FynRawG1Param g1;
  ASSERT_EQ(0, r.GetGroup1ParamRaw(&g1));
  EXPECT_EQ(12, g1.channels);
  EXPECT_EQ(64.0, g1.samplingHz);
  EXPECT_EQ(2u * 3600 * 64, g1.dataCount);  // 240 epochs of 30 s at 64 Hz
  const auto stages = Lines(samples::CompanionPath(path, ".stages"));
  ASSERT_EQ(240u, stages.size());
  for (const auto& s : stages) EXPECT_TRUE(s.size() == 1 && s[0] >= '1' && s[0] <= '6') << s;
  _FynOVPatientInfo p;
  ASSERT_EQ(0, r.GetOVPatientInfo(&p));
  EXPECT_EQ(45, p.ageYears);
  _FynOVFreeCommentInfo comments[10];
  EXPECT_EQ(0, r.GetOVFreeCommentInfo(comments));
  std::string name;
  ASSERT_EQ(0, r.GetEventName(1, &name));
  EXPECT_EQ("Lights on", name);
  _FynRawG2Param spo2;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(9, &spo2));
  EXPECT_EQ("SpO2", spo2.name);
  EXPECT_EQ("%", spo2.unit);

  // Same seed, same bytes; another seed, another night.
  samples::Options o;
  o.hours = 2.0;
  o.rateHz = 64;
  o.seed = 5;
  const std::string again = dir->Path("again.fyd");
  ASSERT_TRUE(samples::WriteSampleRecording(o, again, nullptr));
  EXPECT_EQ(fixture::ReadBytes(path), fixture::ReadBytes(again));
  o.seed = 6;
  ASSERT_TRUE(samples::WriteSampleRecording(o, again, nullptr));
  EXPECT_NE(Lines(samples::CompanionPath(path, ".stages")), Lines(samples::CompanionPath(again, ".stages")));
}

TEST_F(SampleNight, SignalsFollowStagesAndEvents) {
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  const std::size_t n = 2u * 3600 * 64;
  std::vector<float> eeg(n);
  std::vector<float> flow(n);
  std::vector<float> spo2(n);
  ASSERT_EQ(0, r.GetRawDataFloat(0, 0, static_cast<std::uint32_t>(n - 1), eeg.data(), 0));
  ASSERT_EQ(0, r.GetRawDataFloat(6, 0, static_cast<std::uint32_t>(n - 1), flow.data(), 0));
  ASSERT_EQ(0, r.GetRawDataFloat(9, 0, static_cast<std::uint32_t>(n - 1), spo2.data(), 0));
  const auto stages = Lines(samples::CompanionPath(path, ".stages"));
  // Alpha (10 Hz) in wake, delta (1.1 Hz) in stage 4, averaged over the epochs of each.
  double alpha[7] = {};
  double delta[7] = {};
  int count[7] = {};
  for (std::size_t e = 0; e < stages.size(); ++e) {
    const int s = stages[e][0] - '0';
    alpha[s] += PowerAt(eeg, e * 1920, 1920, 10.0, 64.0);
    delta[s] += PowerAt(eeg, e * 1920, 1920, 1.1, 64.0);
    ++count[s];
  }
  ASSERT_GT(count[1], 0);
  ASSERT_GT(count[6], 0) << "two hours reach stage 4";
  EXPECT_GT(alpha[1] / count[1], 5.0 * alpha[6] / count[6]);
  EXPECT_GT(delta[6] / count[6], 5.0 * delta[1] / count[1]);

  // Apneas stop the airflow; their desaturations lower SpO2 by at least 2 %.
  int apneas = 0;
  for (const auto& line : Lines(samples::CompanionPath(path, ".events"))) {
    std::istringstream in(line);
    double onset = 0.0;
    double duration = 0.0;
    std::string type;
    in >> onset >> duration >> type;
    const auto at = static_cast<std::size_t>(std::ceil(onset * 64));
    const auto len = static_cast<std::size_t>(duration * 64);
    if (type == "apnea") {
      ++apneas;
      double during = 0.0;
      double before = 0.0;
      for (std::size_t i = 0; i < len; ++i) during = std::max(during, double(std::abs(flow[at + i])));
      for (std::size_t i = 1; i <= 640; ++i) before = std::max(before, double(std::abs(flow[at - i])));
      EXPECT_LT(during, 0.2 * before) << "apnea at " << onset;
    }
    if (type == "desaturation") {
      float lowest = 100.f;
      for (std::size_t i = 0; i < len && at + i < n; ++i) lowest = std::min(lowest, spo2[at + i]);
      EXPECT_LT(lowest, spo2[at] - 2.0f) << "desaturation at " << onset;
    }
  }
  EXPECT_GT(apneas, 3);
}

TEST(SampleAnimal, DayOfTenSecondEpochsWithThreeChannels) {
  fixture::TempDir dir;
  const std::string path = dir.Path("rat.fyd");
  samples::Options o;
  o.kind = samples::Kind::Animal;
  o.hours = 1.0;
  o.rateHz = 32;
  ASSERT_TRUE(samples::WriteSampleRecording(o, path, nullptr));
  const auto stages = Lines(samples::CompanionPath(path, ".stages"));
  EXPECT_EQ(360u, stages.size());
  for (const auto& s : stages) EXPECT_TRUE(s == "1" || s == "2" || s == "3") << s;
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  std::int16_t channels = 0;
  ASSERT_EQ(0, r.GetGroup1_channels(channels));
  EXPECT_EQ(3, channels);
  // Channel and rate overrides give more channels than the montage, named apart.
  o.channels = 5;
  o.hours = 0.1;
  ASSERT_TRUE(samples::WriteSampleRecording(o, path, nullptr));
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(4, &g));
  EXPECT_EQ("EEG2#2", g.name);
}

}  // namespace
