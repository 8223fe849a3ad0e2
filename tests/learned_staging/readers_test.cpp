// Reading learning-sample files back: the list reader (header and learning-file names) and the
// learning reader (the first samples and stage records), and the files both refuse.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/document/byte_image.h"
#include "app/scoring/learning_sample_file.h"
#include "platform/system/file_io.h"

namespace {

namespace fs = std::filesystem;

class ReadersTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("msf_read_" + std::to_string(::getpid()) + "_" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    waveForm.bands[WaveFormRecognitionParam::kAlpha].channel = 0;
    waveForm.eogLeft.channel = 1;
    waveForm.emgChannel = 2;
    ASSERT_EQ(epochs.SetNew(6, 0, 4, 0, 1, 1), 1);
    for (int e = 0; e < 6; ++e) {
      LyrEpochRec* r = epochs.Record(e);
      r->wave[kWaveAlpha].durationMs = 1000.0f * static_cast<float>(e);
      r->remsBoth = static_cast<std::int16_t>(e + 1);
      r->emg = 2.5f * static_cast<float>(e);
      epochs.SetStage(e, static_cast<std::uint8_t>(1 + e % 4));
      epochs.SetEpochFlag(e, static_cast<std::uint8_t>(30 + e), 1);
    }
    staging.LearningInfo().name = "Subject B";
    staging.LearningInfo().age = 41;
    staging.LearningInfo().height = 172.5;
  }
  void TearDown() override { fs::remove_all(folder); }

  // The file of epochs first..last with `names` learning-file names, written to name.msf.
  std::string Write(const std::string& name, int first, int last, int names) {
    std::vector<LyrStagingModel> models(static_cast<std::size_t>(names));
    for (int i = 0; i < names; ++i) models[static_cast<std::size_t>(i)].fileName = "tree" + std::to_string(i) + ".MSF";
    staging.SetModels(std::move(models));
    const LearningSampleSource src{"/data/night.fyd", epochs, waveForm, 1, staging, 30};
    std::string bytes;
    EXPECT_TRUE(BuildLearningSampleFile(src, first, last, &bytes));
    const std::string path = (folder / name).string();
    EXPECT_TRUE(sys::WriteFileAtomic(path, bytes));
    return path;
  }

  fs::path folder;
  LyrEpochParameter epochs;
  WaveFormRecognitionParam waveForm;
  LyrAutoStaging staging;
};

TEST_F(ReadersTest, ReadBackWhatWasWritten) {
  const LearningParametersUsed used = GetLearningParametersUsed(waveForm);
  for (int names : {0, 2}) {
    const std::string path = Write("one.msf", 3, 3, names);
    LearningFileHeader h;
    std::string message;
    ASSERT_EQ(ReadLearningFileHeader(path, &h, &message), LearningFileStatus::Ok) << message;
    EXPECT_EQ(h.recordingFileName, "night.fyd");
    EXPECT_EQ(h.version, 100);
    EXPECT_EQ(h.name, "Subject B");
    EXPECT_EQ(h.age, 41);
    EXPECT_EQ(h.height, 172.5);
    EXPECT_EQ(h.epochTime, 30);
    EXPECT_EQ(h.parameterNames[6], "EmgInteg");
    EXPECT_EQ(h.parameterUsed, used);
    EXPECT_EQ(h.stageType, 1);
    EXPECT_EQ(h.stageCount, 6);
    EXPECT_EQ(h.stageNames[4], "Deep");
    EXPECT_EQ(h.epochCount, 1);
    ASSERT_EQ(h.learningFiles.size(), static_cast<std::size_t>(names));
    if (names == 2) {
      EXPECT_EQ(h.learningFiles[1], "tree1.MSF");
    }

    LearningSampleSet set;
    ASSERT_EQ(ReadLearningSamples(path, 30000, &set, &message), LearningFileStatus::Ok) << message;
    ASSERT_EQ(set.samples.size(), 1u);
    EXPECT_EQ(set.samples[0], BuildLearningSample(*epochs.Record(3), 30, used));
    EXPECT_EQ(set.stages[0], (LearningStageRecord{0, 33, 0, 4}));

    LyrStagingModel model;
    model.featureUsed.fill(1);
    TakeLearningHeader(set.header, &model);
    EXPECT_EQ(model.featurePresent[6], 1);
    EXPECT_EQ(model.featurePresent[3], 0);
    EXPECT_EQ(model.featureUsed[6], 0);
    EXPECT_EQ(model.classCount, 6);
    EXPECT_EQ(model.classNames[5], "MT");
  }
}

TEST_F(ReadersTest, LearningReaderTakesTheFirstSamplesAndTheirStages) {
  const std::string path = Write("six.msf", 0, 5, 2);
  const LearningParametersUsed used = GetLearningParametersUsed(waveForm);
  for (int limit : {2, 6, 7}) {
    LearningSampleSet set;
    std::string message;
    ASSERT_EQ(ReadLearningSamples(path, limit, &set, &message), LearningFileStatus::Ok);
    const std::size_t n = static_cast<std::size_t>(std::min(limit, 6));
    ASSERT_EQ(set.samples.size(), n);
    ASSERT_EQ(set.stages.size(), n);
    for (std::size_t e = 0; e < n; ++e) {
      const int ep = static_cast<int>(e);
      EXPECT_EQ(set.samples[e], BuildLearningSample(*epochs.Record(ep), 30, used)) << limit << " " << e;
      EXPECT_EQ(set.stages[e][3], 1 + ep % 4) << limit << " " << e;
      EXPECT_EQ(set.stages[e][1], 30 + ep) << limit << " " << e;
    }
  }
}

TEST_F(ReadersTest, MissingUnreadableAndShortFiles) {
  LearningSampleSet set;
  LearningFileHeader h;
  std::string message;
  const std::string missing = (folder / "none.msf").string();
  EXPECT_EQ(ReadLearningSamples(missing, 10, &set, &message), LearningFileStatus::Missing);
  EXPECT_EQ(message, "Can't find msf File. : 3023");
  EXPECT_EQ(ReadLearningFileHeader(missing, &h, &message), LearningFileStatus::Unreadable);
  EXPECT_EQ(message, "") << "the lists skip a file they cannot open";

  // A folder of that name cannot be read as a file.
  fs::create_directories(folder / "dir.msf");
  EXPECT_EQ(ReadLearningSamples((folder / "dir.msf").string(), 10, &set, &message), LearningFileStatus::Unreadable);
  EXPECT_EQ(message, "Can't read msf File.: 3023");

  const std::string path = Write("six.msf", 0, 5, 1);
  std::string bytes = *sys::ReadWholeFile(path);
  ASSERT_TRUE(sys::WriteFileAtomic(path, bytes.substr(0, bytes.size() - 3 - 5)));
  EXPECT_EQ(ReadLearningSamples(path, 2, &set, &message), LearningFileStatus::Damaged);
  EXPECT_EQ(message, "Can't read msf File.: 3023");
}

TEST_F(ReadersTest, RefusesFilesWhoseCountsOrTablesDoNotFit) {
  const std::string good = *sys::ReadWholeFile(Write("good.msf", 0, 5, 1));
  constexpr std::size_t h = 3;
  struct Patch {
    const char* what;
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
    LearningFileStatus status;
  };
  auto i16 = [](int v) { return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; };
  auto i32 = [](std::int64_t v) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  };
  const Patch patches[] = {
      {"tag", 0, {'M', 'S', 'X'}, LearningFileStatus::NotLearningFile},
      {"stage type 4", h + 672, i16(4), LearningFileStatus::Damaged},
      {"stage count of another type", h + 674, i16(7), LearningFileStatus::Damaged},
      {"stage count 200", h + 674, i16(200), LearningFileStatus::Damaged},
      {"a class name", h + 676 + 20, {'R', 'E', 'M'}, LearningFileStatus::Damaged},
      {"a name past the count", h + 676 + 6 * 20, {'X'}, LearningFileStatus::Damaged},
      {"parameter count 9", h + 450, i16(9), LearningFileStatus::Damaged},
      {"negative name count", h + 448, i16(-1), LearningFileStatus::Damaged},
      {"names past the end", h + 448, i16(2), LearningFileStatus::Damaged},
      {"negative epoch count", h + 816, i32(-1), LearningFileStatus::Damaged},
      {"epochs past the end", h + 816, i32(7), LearningFileStatus::Damaged},
      {"huge epoch count", h + 816, i32(0x7FFFFFFF), LearningFileStatus::Damaged},
  };
  const std::string path = (folder / "bad.msf").string();
  for (const Patch& p : patches) {
    std::string bytes = good;
    std::copy(p.bytes.begin(), p.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(p.offset));
    ASSERT_TRUE(sys::WriteFileAtomic(path, bytes));
    LearningSampleSet set;
    std::string message;
    EXPECT_EQ(ReadLearningSamples(path, 30000, &set, &message), p.status) << p.what;
    EXPECT_EQ(message, "Can't read msf File.: 3023") << p.what;
    LearningFileHeader head;
    EXPECT_EQ(ReadLearningFileHeader(path, &head, &message), p.status) << p.what;
    EXPECT_EQ(message, path + " can't read or version incorrect. 2013") << p.what;
  }

  // The lists refuse another version; the learning does not compare it.
  std::string v99 = good;
  v99[h + 260] = 99;
  ASSERT_TRUE(sys::WriteFileAtomic(path, v99));
  LearningFileHeader head;
  std::string message;
  EXPECT_EQ(ReadLearningFileHeader(path, &head, &message), LearningFileStatus::NotLearningFile);
  EXPECT_EQ(message, path + " can't read or version incorrect. 2013");
  LearningSampleSet set;
  EXPECT_EQ(ReadLearningSamples(path, 30000, &set, &message), LearningFileStatus::Ok);
}

}  // namespace
