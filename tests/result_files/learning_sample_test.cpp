// Learning-sample files written beside the result files, and the learning settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/document/byte_image.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"

namespace {

namespace fs = std::filesystem;

class LearningSampleTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("msf_" + std::to_string(::getpid()) + "_" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    sys::SetProgramFolderForTesting(folder.string());
    LyrAutoStaging::MessageSink() = [this](const std::string& t) { messages.push_back(t); };
    // Alpha, spindle, left eye and EMG channels set; the other wave types have none.
    waveForm.bands[WaveFormRecognitionParam::kAlpha].channel = 0;
    waveForm.bands[WaveFormRecognitionParam::kSpindle].channel = 0;
    waveForm.eogLeft.channel = 2;
    waveForm.emgChannel = 3;
  }
  void TearDown() override {
    sys::SetProgramFolderForTesting({});
    LyrAutoStaging::MessageSink() = nullptr;
    fs::remove_all(folder);
  }

  // Six epochs of 20 s whose records differ per epoch, flag bytes kept for learning.
  void Fill(int learningMode) {
    ASSERT_EQ(epochs.SetNew(6, 0, 4, 0, 1, learningMode), 1);
    for (int e = 0; e < 6; ++e) {
      LyrEpochRec* r = epochs.Record(e);
      r->wave[kWaveAlpha].durationMs = 2000.0f * static_cast<float>(e);  // 10 % per epoch number
      r->wave[kWaveSpindle].count = static_cast<std::int16_t>(e + 1);
      r->wave[kWaveDelta].durationMs = 5000.0f;  // no delta channel: written as 0
      r->remsBoth = static_cast<std::int16_t>(3 * e);
      r->kComplex.count = 9;                     // no K-complex channel
      r->emg = 1.5f + static_cast<float>(e);
      epochs.SetStage(e, static_cast<std::uint8_t>(1 + e % 3));
      epochs.SetEpochFlag(e, static_cast<std::uint8_t>(10 + e), 0);
      epochs.SetEpochFlag(e, static_cast<std::uint8_t>(20 + e), 2);
    }
  }

  std::string Build(int first, int last) {
    const LearningSampleSource src{recording, epochs, waveForm, 0, staging, 20};
    std::string out;
    EXPECT_TRUE(BuildLearningSampleFile(src, first, last, &out));
    return out;
  }

  fs::path folder;
  std::vector<std::string> messages;
  std::string recording = "/data/night 7.fyd";
  LyrEpochParameter epochs;
  WaveFormRecognitionParam waveForm;
  LyrAutoStaging staging;
};

bytes::CSpan Span(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

TEST_F(LearningSampleTest, FileHoldsHeaderSamplesAndStagesOfTheRange) {
  Fill(1);
  staging.LearningInfo().name = "Subject A";
  staging.LearningInfo().age = 70000;  // only the low 16 bits are kept
  const std::string f = Build(2, 4);
  const auto b = Span(f);
  constexpr std::size_t h = 3;  // header after the opening tag
  ASSERT_EQ(f.size(), 3 + 824 + 3 * 36 + 3 * 4 + 3u);
  EXPECT_EQ(f.substr(0, 3), "MSF");
  EXPECT_EQ(f.substr(f.size() - 3), "EMS");
  EXPECT_EQ(bytes::GetText(b, h + 0, 260), "night 7.fyd");
  EXPECT_EQ(bytes::Get<std::uint16_t>(b, h + 260), 100);
  EXPECT_EQ(bytes::Get<std::uint16_t>(b, h + 362), 20);
  EXPECT_EQ(bytes::GetText(b, h + 364, 20), "Subject A");
  EXPECT_EQ(bytes::Get<std::int16_t>(b, h + 404), static_cast<std::int16_t>(70000 & 0xFFFF));
  EXPECT_EQ(bytes::Get<std::int16_t>(b, h + 448), 0);   // no model held
  EXPECT_EQ(bytes::Get<std::int16_t>(b, h + 450), 10);
  EXPECT_EQ(bytes::GetText(b, h + 452 + 4 * 20, 20), "RemsCnt");
  const std::array<std::uint16_t, 10> used{1, 1, 0, 0, 1, 0, 1, 0, 0, 0};
  for (std::size_t i = 0; i < used.size(); ++i) EXPECT_EQ(bytes::Get<std::uint16_t>(b, h + 652 + 2 * i), used[i]) << i;
  EXPECT_EQ(bytes::Get<std::int16_t>(b, h + 674), 7);
  EXPECT_EQ(bytes::GetText(b, h + 676 + 6 * 20, 20), "MT");
  EXPECT_EQ(bytes::Get<std::int32_t>(b, h + 816), 3);

  const std::size_t samples = 3 + 824, stages = samples + 3 * 36;
  for (int i = 0; i < 3; ++i) {
    const int e = 2 + i;
    const std::size_t s = samples + 36u * static_cast<std::size_t>(i);
    EXPECT_FLOAT_EQ(bytes::Get<float>(b, s + 0), 10.0f * static_cast<float>(e));
    EXPECT_EQ(bytes::Get<std::uint16_t>(b, s + 4), e + 1);
    EXPECT_EQ(bytes::Get<float>(b, s + 12), 0.0f);  // delta: no channel
    EXPECT_EQ(bytes::Get<std::uint16_t>(b, s + 16), 3 * e);
    EXPECT_EQ(bytes::Get<std::uint16_t>(b, s + 18), 0);  // K-complex: no channel
    EXPECT_FLOAT_EQ(bytes::Get<float>(b, s + 20), 1.5f + static_cast<float>(e));
    const std::size_t t = stages + 4u * static_cast<std::size_t>(i);
    EXPECT_EQ(b[t + 0], 10 + e);
    EXPECT_EQ(b[t + 1], 0);
    EXPECT_EQ(b[t + 2], 20 + e);
    EXPECT_EQ(b[t + 3], 1 + e % 3);
  }
}

TEST_F(LearningSampleTest, ModelFilesComeBeforeTheSamplesAndFlagsAreZeroWithoutLearningTables) {
  Fill(0);  // tables made while the option was off: no flag bytes
  std::vector<LyrStagingModel> models(2);
  models[0].fileName = "a.MSF";
  models[1].fileName = "b.MSF";
  staging.SetModels(std::move(models));
  const std::string f = Build(0, 0);
  const auto b = Span(f);
  ASSERT_EQ(f.size(), 3 + 824 + 2 * 260 + 36 + 4 + 3u);
  EXPECT_EQ(bytes::Get<std::int16_t>(b, 3 + 448), 2);
  EXPECT_EQ(bytes::GetText(b, 3 + 824 + 260, 260), "b.MSF");
  const std::size_t stage = 3 + 824 + 2 * 260 + 36;
  EXPECT_EQ(b[stage], 0);
  EXPECT_EQ(b[stage + 2], 0);
  EXPECT_EQ(b[stage + 3], 1);
  std::string out;
  const LearningSampleSource src{recording, epochs, waveForm, 0, staging, 20};
  EXPECT_FALSE(BuildLearningSampleFile(src, 3, 6, &out));  // past the last epoch
  EXPECT_FALSE(BuildLearningSampleFile(src, 4, 3, &out));
}

TEST_F(LearningSampleTest, WritingReplacesTheFileOfTheSameResultName) {
  Fill(1);
  const LearningSampleSource src{recording, epochs, waveForm, 0, staging, 20};
  // No model folder known: the program's own folder.
  EXPECT_EQ(WriteLearningSampleFile(src, "/results/night7.raf", 0, 5), 1);
  const fs::path msf = folder / "night7.MSF";
  ASSERT_TRUE(fs::exists(msf));
  EXPECT_EQ(WriteLearningSampleFile(src, "/elsewhere/night7.raf", 1, 1), 1);
  EXPECT_EQ(fs::file_size(msf), 3 + 824 + 36 + 4 + 3u);
  staging.SetModelFolder((folder / "missing" / "deeper").string());
  EXPECT_EQ(WriteLearningSampleFile(src, "/results/night8.raf", 0, 5), 0);
}

// ML.ini: tag, record and end tag; every parameter in range.
TEST_F(LearningSampleTest, LearningSettingsAreReadOnlyWhenWholeAndValid) {
  auto write = [&](const std::string& tag, const std::string& end, const std::string& modelFolder, double significance) {
    std::string rec(304, '\0');
    const bytes::Span b(reinterpret_cast<std::uint8_t*>(rec.data()), rec.size());
    bytes::PutText(b, 0, 260, modelFolder);
    bytes::Put<double>(b, 264, 0.9);
    bytes::Put<std::int16_t>(b, 272, 5);
    bytes::Put<std::int16_t>(b, 274, 50);
    bytes::Put<std::int32_t>(b, 276, 2000);
    bytes::Put<std::int16_t>(b, 280, 10);
    bytes::Put<double>(b, 288, significance);
    bytes::Put<double>(b, 296, 0.25);
    ASSERT_TRUE(sys::WriteFileAtomic((folder / "ML.ini").string(), tag + rec + end));
  };
  struct Case {
    const char* tag;
    const char* end;
    double significance;
    int result;
    const char* message;
  };
  const Case cases[] = {
      {"INI", "FEN", 0.05, 1, nullptr},
      {"INX", "FEN", 0.05, 0, "Can't read ini file. 1033"},
      {"INI", "FEX", 0.05, 0, "Can't read an ini file. 1033"},
      {"INI", "FEN", 1.5, 0, "Parameter incorrect in ini File !! : 1043"},
  };
  for (const Case& c : cases) {
    messages.clear();
    write(c.tag, c.end, "/models", c.significance);
    LyrAutoStaging s;
    EXPECT_EQ(s.ReadLearningIni(), c.result) << c.tag << c.end << c.significance;
    if (c.message) {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], c.message);
    } else {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(s.ModelFolder(), "/models");
      EXPECT_EQ(s.parameters.sampleLimit, 2000);
    }
  }
  write("INI", "FEN", "current", 0.05);
  LyrAutoStaging current;
  EXPECT_EQ(current.ReadLearningIni(), 1);
  EXPECT_EQ(current.ModelFolder(), folder.string() + "/");
  fs::remove(folder / "ML.ini");
  messages.clear();
  EXPECT_EQ(current.ReadLearningIni(), 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Can't find an ini File. : 1063"});
}

}  // namespace
