// Saving edited play ranges and copying the video of a raw data output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_player.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "video_fixture.h"

namespace {

using fake_player::S;
namespace fs = std::filesystem;

class VideoOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    S() = fake_player::State{};
    testhooks::Reset();
    root = video_fixture::Folder() / ("out_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root);
    fs::create_directories(root / "night");
    for (const char* n : {"a.mpg", "b.mpg", "c.mpg", "old.mpg", "old.avi", "keep.txt"})
      std::ofstream(root / "night" / n) << std::string(100, 'v');
    video.Host = &host;
    host.video = &video;
    video.BindEntryPoints(fake_player::Table());
    video.SetRangeFilePath((root / "night" / "night.hdr").string());
    video.SetRecords({{0.0, 10.0, "night/a.mpg", {{0.0, 4.0}, {6.0, 10.0}}},
                      {11.5, 20.0, (root / "night" / "b.mpg").string(), {{0.0, 8.5}}},
                      {23.0, 30.0, "night/./c.mpg", {{0.0, 7.0}}}});
    video.SetSetWord(0);
  }
  void TearDown() override { video.Host = nullptr; }
  bool Has(const char* n) const { return fs::exists(root / "night" / n); }
  fs::path root;
  fake_player::Host host;
  CVPInfoExchange video;
};

TEST_F(VideoOutput, SavingEditedRangesRemovesOnlyFilesNoRecordKeeps) {
  // Every record names its file in another way: relative, full, with a "." part.
  ASSERT_EQ(video.SaveEditedRanges(), 1);
  EXPECT_TRUE(Has("a.mpg") && Has("b.mpg") && Has("c.mpg") && Has("keep.txt"));
  EXPECT_FALSE(Has("old.mpg"));
  EXPECT_TRUE(Has("old.avi")) << "only the set's own kinds of file are listed";
  EXPECT_EQ(sys::FileSize(video.RangeFilePath()).value_or(0), 8u + 3 * 276u + 4 * 16u);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());

  // A set made from one chosen file removes nothing.
  std::ofstream(root / "night" / "old.mpg") << "v";
  video.SetSetWord(1);
  ASSERT_EQ(video.SaveEditedRanges(), 1);
  EXPECT_TRUE(Has("old.mpg"));
}

TEST_F(VideoOutput, AFailedWriteDeletesNothing) {
  video.SetRangeFilePath((root / "night" / "missing" / "night.hdr").string());
  EXPECT_EQ(video.SaveEditedRanges(), 0);
  EXPECT_TRUE(Has("old.mpg"));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There was an error saving this file.");
}

TEST_F(VideoOutput, OutputCutsRangesAtItsEndsAndCopiesTheFiles) {
  video.FreeSpaceQuery = [](const std::string&) { return std::optional<std::uint64_t>(1u << 30); };
  // 7 s to 12 s + a 2 s epoch = 14 s: a from 7 s (its second range cut), b up to 14 s.
  const std::string output = (root / "cut.fyd").string();
  ASSERT_EQ(video.OutputVideoFile(output, 7.0, 12.0), 1);
  const std::string hdr = (root / "cut" / "cut.hdr").string();
  std::int16_t word = 0;
  std::vector<VideoFileRecord> out;
  ASSERT_TRUE(DecodeRangeFile(sys::ReadWholeFile(hdr).value_or(""), word, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_DOUBLE_EQ(out[0].startTime, -7.0);
  EXPECT_EQ(out[0].ranges, (std::vector<std::pair<double, double>>{{7.0, 10.0}}));
  EXPECT_EQ(out[0].name, "cut/a.mpg");
  EXPECT_DOUBLE_EQ(out[1].startTime, 4.5);
  EXPECT_DOUBLE_EQ(out[1].endTime, 7.0);
  EXPECT_EQ(out[1].ranges, (std::vector<std::pair<double, double>>{{0.0, 2.5}}));
  EXPECT_TRUE(fs::exists(root / "cut" / "a.mpg"));
  EXPECT_TRUE(fs::exists(root / "cut" / "b.mpg"));
  EXPECT_FALSE(fs::exists(root / "cut" / "c.mpg"));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(VideoOutput, TooLittleSpaceOrAFailedCopyIsTold) {
  video.FreeSpaceQuery = [](const std::string&) { return std::optional<std::uint64_t>(150); };
  ASSERT_EQ(video.OutputVideoFile((root / "small.fyd").string(), 0.0, 12.0), 1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Not enough disk space(200.000B). Video files can not be saved.");
  EXPECT_FALSE(fs::exists(root / "small" / "small.hdr"));

  testhooks::Reset();
  video.FreeSpaceQuery = [](const std::string&) { return std::optional<std::uint64_t>(); };
  ASSERT_EQ(video.OutputVideoFile((root / "unknown.fyd").string(), 0.0, 12.0), 1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << "a disk that cannot be asked";
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There was an error saving this file.");

  testhooks::Reset();
  video.FreeSpaceQuery = nullptr;
  fs::remove(root / "night" / "b.mpg");
  ASSERT_EQ(video.OutputVideoFile((root / "gone.fyd").string(), 0.0, 12.0), 1);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << "b cannot be copied";
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There was an error saving this file.");
  EXPECT_TRUE(fs::exists(root / "gone" / "a.mpg")) << "copies made before stay";
}

}  // namespace
