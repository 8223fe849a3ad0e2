// The .sdr template file: the 696-byte block, read through the shared block reader, refused
// whole when it is not this kind of file or cut short.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings/sdr_template_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"

namespace {

SleepDstrbParam Edited() {
  SleepDstrbParam p;
  SetDefaultSleepDstrbParam(0, &p, 0);
  p.airFlow = {3, {11.0, 51.0, 101.0, 4.5, 12.0, 13.0, 9.0}};
  p.spo2Channel = 2;
  p.spo2Show = 0;
  p.spo2ShowLevel = 88.5;
  p.lfhfTimeS = 180;
  p.positions[2].name = "Prone";
  p.arousalThreshold = 77;
  return p;
}

std::vector<std::uint8_t> ImageOf(const SleepDstrbParam& p) {
  std::vector<std::uint8_t> image(SleepDstrbParam::kSize);
  p.Store(std::span<std::uint8_t, SleepDstrbParam::kSize>(image.data(), SleepDstrbParam::kSize));
  return image;
}

void PutWord(std::vector<std::uint8_t>& image, std::size_t at, std::uint16_t v) {
  image[at] = static_cast<std::uint8_t>(v & 0xFF);
  image[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

TEST(SdrTemplate, SavedFileIsTheBlockAndReadsBackTheSame) {
  res::SetLanguage(res::Language::English);
  testhooks::TempProgramFolder folder;
  const std::string path = folder.Path() + "/night.sdr";
  const SleepDstrbParam saved = Edited();
  ASSERT_EQ(WriteSdrTemplateFile(path, saved), SdrFileStatus::kOk);
  const auto bytes = sys::ReadWholeFile(path);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), SleepDstrbParam::kSize);

  SleepDstrbParam read;
  ASSERT_EQ(ReadSdrTemplateFile(path, &read), SdrFileStatus::kOk);
  EXPECT_EQ(ImageOf(read), ImageOf(saved));
  EXPECT_FALSE(sys::ReadWholeFile(path + ".tmp")) << "written beside and renamed";
}

// Version 1 held the LF/HF analysis time as a code; a version other than 1 or 2, a file cut
// short and a missing file change nothing.
TEST(SdrTemplate, VersionsAndBrokenFilesAsATable) {
  struct Case {
    const char* what;
    std::uint16_t version;
    std::uint16_t word410;
    std::size_t size;
    SdrFileStatus status;
    std::uint16_t analysisTime;  // after a read
  };
  const Case cases[] = {
      {"version 1, code 0", 1, 0, 696, SdrFileStatus::kOk, 60},
      {"version 1, code 1", 1, 1, 696, SdrFileStatus::kOk, 180},
      {"version 1, code 2", 1, 2, 696, SdrFileStatus::kOk, 300},
      {"version 1, code 7", 1, 7, 696, SdrFileStatus::kOk, 60},
      {"version 2 keeps its seconds", 2, 300, 696, SdrFileStatus::kOk, 300},
      {"version 3", 3, 180, 696, SdrFileStatus::kWrongVersion, 0},
      {"cut short", 2, 180, 695, SdrFileStatus::kCutShort, 0},
      {"version word only", 2, 0, 2, SdrFileStatus::kCutShort, 0},
      {"empty", 2, 0, 0, SdrFileStatus::kCutShort, 0},
      {"longer: the block is read", 2, 180, 800, SdrFileStatus::kOk, 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> image = ImageOf(Edited());
    image.resize(std::max<std::size_t>(c.size, 2));
    PutWord(image, 0, c.version);
    if (image.size() > 411) PutWord(image, 410, c.word410);
    image.resize(c.size);
    SleepDstrbParam block;
    SetDefaultSleepDstrbParam(0, &block, 0);
    const std::vector<std::uint8_t> before = ImageOf(block);
    ASSERT_EQ(ReadSdrTemplateImage(image, &block), c.status);
    if (c.status == SdrFileStatus::kOk) {
      EXPECT_EQ(block.version, 2);
      EXPECT_EQ(block.lfhfTimeS, c.analysisTime);
      EXPECT_EQ(block.airFlow.channel, 3);
    } else {
      EXPECT_EQ(ImageOf(block), before) << "nothing changed";
    }
  }
  SleepDstrbParam block;
  EXPECT_EQ(ReadSdrTemplateFile("/nonexistent/folder/x.sdr", &block), SdrFileStatus::kCannotOpen);
  EXPECT_EQ(WriteSdrTemplateFile("/nonexistent/folder/x.sdr", block), SdrFileStatus::kCannotWrite);
}

// Counts the lists cannot show are brought into range when read.
TEST(SdrTemplate, OutOfRangeCountsAreSanitisedOnReading) {
  struct Case {
    std::int32_t positions;
    std::uint16_t points;
    std::int32_t positionsRead;
    std::uint16_t pointsRead;
  };
  for (const Case c : {Case{0, 7, 1, 0}, Case{9, 0xFFFF, 6, 0}, Case{3, 6, 3, 6}}) {
    SleepDstrbParam p = Edited();
    p.positionsInUse = c.positions;
    p.lfhfPointsIndex = c.points;
    SleepDstrbParam read;
    ASSERT_EQ(ReadSdrTemplateImage(ImageOf(p), &read), SdrFileStatus::kOk);
    EXPECT_EQ(read.positionsInUse, c.positionsRead);
    EXPECT_EQ(read.lfhfPointsIndex, c.pointsRead);
  }
}

}  // namespace
