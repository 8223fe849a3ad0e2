// The video controller over a stand-in library: its range files, the file and range searches,
// picture placement, playing across gaps and stepping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/document/byte_image.h"
#include "fake_player.h"
#include "platform/system/file_io.h"
#include "video_fixture.h"

namespace {

using fake_player::S;

std::string Bytes(const std::string& path) { return sys::ReadWholeFile(path).value_or(""); }

// Three files, gaps of 1.5 s and 3 s: a (0-10 s), b (11.5-20 s), c (23-30 s).
std::vector<VideoFileRecord> ThreeFiles() {
  return {{0.0, 10.0, "night/a.mpg", {{0.0, 10.0}}},
          {11.5, 20.0, "night/b.mpg", {{0.0, 8.5}}},
          {23.0, 30.0, "night/c.mpg", {{0.0, 7.0}}}};
}

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    S() = fake_player::State{};
    folder = video_fixture::Folder() / ("ctl_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder / "night");
    for (const char* n : {"a.mpg", "b.mpg", "c.mpg"}) std::ofstream(folder / "night" / n) << "x";
    host.video = &video;
    video.Host = &host;
    video.BindEntryPoints(fake_player::Table());
    video.SetRangeFilePath((folder / "night" / "night.hdr").string());
    video.SetRecords(ThreeFiles());
    video.AnalysisStartSeconds = 0.0;
    video.AnalysisEndSeconds = 30.0;
    video.CurrentFile = 0;
  }
  void TearDown() override { video.Host = nullptr; }
  std::string File(const char* n) const { return (folder / "night" / n).string(); }
  std::filesystem::path folder;
  fake_player::Host host;
  CVPInfoExchange video;
};

TEST(RangeFile, SizeRoundTripAndDamagedCounts) {
  std::vector<VideoFileRecord> records = ThreeFiles();
  records[1].ranges.push_back({1.0, 2.0});
  records[2].ranges.clear();
  const std::string bytes = EncodeRangeFile(3, records);
  EXPECT_EQ(bytes.size(), 8u + (276u + 16u) + (276u + 32u) + 276u);
  std::int16_t word = -1;
  std::vector<VideoFileRecord> back;
  ASSERT_TRUE(DecodeRangeFile(bytes, word, back));
  EXPECT_EQ(word, 3);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[1].name, "night/b.mpg");
  EXPECT_EQ(back[1].ranges, records[1].ranges);
  EXPECT_TRUE(back[2].ranges.empty());
  EXPECT_DOUBLE_EQ(back[2].startTime, 23.0);

  EXPECT_FALSE(DecodeRangeFile(bytes.substr(0, bytes.size() - 1), word, back)) << "cut short";
  std::string huge = bytes;
  huge[4] = '\xff';
  huge[5] = '\xff';
  EXPECT_FALSE(DecodeRangeFile(huge, word, back)) << "more records than bytes";
  std::string manyRanges = bytes;
  manyRanges[8 + 272 + 3] = '\x7f';
  EXPECT_FALSE(DecodeRangeFile(manyRanges, word, back)) << "more ranges than bytes";
  std::string negative = bytes;
  negative[3] = '\x80';
  EXPECT_FALSE(DecodeRangeFile(negative, word, back)) << "negative set word";
  // A name that fills its field ends there.
  records[0].name = std::string(300, 'n');
  ASSERT_TRUE(DecodeRangeFile(EncodeRangeFile(0, records), word, back));
  EXPECT_LE(back[0].name.size(), 256u);
}

// A version-1 set whose lengths are still to be measured.
std::string VersionOne(const std::vector<VideoFileRecord>& records) {
  std::string v2 = EncodeRangeFile(0, records);
  return v2.substr(0, 2).replace(0, 2, std::string("\x01\x00", 2)) + v2.substr(4);
}

TEST_F(Controller, VersionOneSetIsMeasuredTrimmedAndRewrittenAsVersionTwo) {
  S().lengths[File("a.mpg")] = 8.0;  // runs past b's start at 5 s
  S().lengths[File("b.mpg")] = 4.0;
  const std::string path = video.RangeFilePath();
  ASSERT_TRUE(sys::WriteFileAtomic(path, VersionOne({{0.0, -1.0, "night/a.mpg", {{0.0, -1.0}}},
                                                     {5.0, -1.0, "night/b.mpg", {{0.0, -1.0}, {1.0, -1.0}}}})));
  ASSERT_EQ(video.LoadRangeFile(), 1);
  const auto& r = video.Records();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_DOUBLE_EQ(r[0].endTime, 5.0);
  EXPECT_DOUBLE_EQ(r[0].ranges.back().second, 5.0);
  EXPECT_DOUBLE_EQ(r[1].endTime, 9.0);
  EXPECT_DOUBLE_EQ(r[1].ranges[0].second, 4.0);
  EXPECT_DOUBLE_EQ(r[1].ranges[1].second, 4.0);
  EXPECT_EQ(video.SetWord(), 0);
  const std::string stored = Bytes(path);
  EXPECT_EQ(stored, EncodeRangeFile(0, r)) << "rewritten as version 2 with the names as read";

  // A damaged file is neither taken nor rewritten.
  std::string damaged = VersionOne({{0.0, -1.0, "night/a.mpg", {{0.0, -1.0}}}});
  damaged.resize(damaged.size() - 4);
  ASSERT_TRUE(sys::WriteFileAtomic(path, damaged));
  EXPECT_EQ(video.LoadRangeFile(), 0);
  EXPECT_EQ(Bytes(path), damaged);
  EXPECT_TRUE(video.Records().empty());
}

TEST(RangeFile, OverlapTrimSkipsRecordsWithoutRanges) {
  std::vector<VideoFileRecord> r = {{0.0, 8.0, "a", {}}, {5.0, 9.0, "b", {{0.0, 4.0}}}};
  TrimOverlappingFiles(r);
  EXPECT_DOUBLE_EQ(r[0].endTime, 5.0);
  EXPECT_TRUE(r[0].ranges.empty());
}

TEST_F(Controller, FindsTheFileOfATime) {
  std::vector<VideoFileRecord> r = ThreeFiles();
  r.insert(r.begin() + 1, VideoFileRecord{10.0, 11.5, "night/ab.mpg", {{0.0, 1.5}}});  // a ends where ab starts
  video.SetRecords(r);
  const struct {
    double t;
    int file;
  } cases[] = {{0.0, 0},  {9.99, 0},          {10.0, 1},           {11.5, 2},
               {20.0, 2}, {20.0 + 0.000005, 2}, {20.0 + 0.00002, 3}, {25.0, 3}, {30.0 + 0.00002, -1}};
  for (const auto& c : cases) EXPECT_EQ(video.FindVideoFileIndex(c.t), c.file) << c.t;
  video.SetRecords({});
  EXPECT_EQ(video.FindVideoFileIndex(1.0), -1);
}

TEST_F(Controller, FindsPlayRangesClampedToTheAutoPlayEntry) {
  double s = 0, e = 0;
  struct Case {
    int mode;
    double t;
    int found;
    double start, end;
  };
  const Case open[] = {{0, 5.0, 1, 0.0, 10.0}, {1, 5.0, 1, 11.5, 20.0}, {2, 21.0, 1, 11.5, 20.0},
                       {2, 0.5, 1, 0.0, 10.0}, {2, 0.01, 0, 0, 0},      {0, 21.0, 0, 0, 0},
                       {7, 5.0, 0, 0, 0}};
  for (const Case& c : open) {
    ASSERT_EQ(video.FindPlayRange(static_cast<std::int16_t>(c.mode), c.t, s, e), c.found) << c.mode << " " << c.t;
    if (c.found == 0) continue;
    EXPECT_DOUBLE_EQ(s, c.start);
    EXPECT_DOUBLE_EQ(e, c.end);
  }
  video.AutoPlayEntries.assign(1, AutoPlayEntry{});
  video.AutoPlayEntries[0].startTime = 3.0;
  video.AutoPlayEntries[0].endTime = 15.0;
  video.ActiveAutoPlayEntry = 0;
  const Case clamped[] = {{0, 5.0, 1, 3.0, 10.0}, {1, 5.0, 1, 11.5, 15.0}, {0, 25.0, 0, 0, 0}, {2, 1.0, 1, 3.0, 10.0}};
  for (const Case& c : clamped) {
    ASSERT_EQ(video.FindPlayRange(static_cast<std::int16_t>(c.mode), c.t, s, e), c.found) << c.mode << " " << c.t;
    if (c.found == 0) continue;
    EXPECT_DOUBLE_EQ(s, c.start);
    EXPECT_DOUBLE_EQ(e, c.end);
  }
}

TEST_F(Controller, SplitScreensPlaceThePicture) {
  const struct {
    std::array<std::uint16_t, 3> split;
    int x, y, w, h;
  } cases[] = {{{0, 0, 0}, 0, 0, 100, 100},
               {{1, 1, 0}, -100, 0, 200, 200},
               {{1, 0, 1}, 0, -100, 200, 200},
               {{2, 2, 1}, -198, -99, 300, 300}};
  for (const auto& c : cases) {
    host.split = c.split;
    video.SetVideoWindowPosition();
    EXPECT_EQ(S().x, c.x);
    EXPECT_EQ(S().y, c.y);
    EXPECT_EQ(S().w, c.w);
    EXPECT_EQ(S().h, c.h);
  }
}

TEST_F(Controller, PlayCrossesGapsUnderTwoSecondsAndStopsAtTwoOrMore) {
  video.ShowVideoAtTime(9.0);
  host.TogglePlaying();
  ASSERT_EQ(S().runs, 1);
  EXPECT_EQ(S().stop, 250) << "a's range ends at 10 s";
  // a's range played to its end: b starts 1.5 s later and plays on.
  S().start = S().stop;
  S().events = {0};
  video.OnPlayerNotify(77);
  EXPECT_EQ(S().runs, 2);
  EXPECT_TRUE(host.playing);
  EXPECT_EQ(S().opened.back(), File("b.mpg"));
  EXPECT_NEAR(video.CurrentTime, 11.5, 1e-9);
  // b's range played to its end: c starts 3 s later, so playing stops.
  S().start = S().stop;
  S().events = {0};
  video.OnPlayerNotify(77);
  EXPECT_EQ(S().runs, 2);
  EXPECT_FALSE(host.playing);
  // A message that is not the library's is left alone.
  S().events = {1};
  video.OnPlayerNotify(78);
  EXPECT_EQ(S().events.size(), 1u);
}

TEST_F(Controller, StepsAcrossRangeEndsAndBackFromTheRecordingEnd) {
  // Forward from a's last frame: into b, 1.54 s on.
  video.CurrentFile = 0;
  video.CurrentTime = 9.96;
  video.StepFrame(5);
  EXPECT_EQ(S().opened.back(), File("b.mpg"));
  EXPECT_EQ(S().start, 0);
  EXPECT_NEAR(video.CurrentTime, 11.54, 1e-9);
  // Back from b's second frame: into a's end.
  video.StepFrame(4);
  EXPECT_EQ(S().opened.back(), File("a.mpg"));
  EXPECT_EQ(S().start, 248);
  // Forward from b's last frame: c is 3 s away, so no picture.
  video.CurrentFile = 1;
  video.CurrentTime = 19.96;
  const int before = host.noPicture;
  video.StepFrame(5);
  EXPECT_EQ(host.noPicture, before + 1);
  EXPECT_EQ(S().shown, 0);
  // Inside a range a step moves one frame and the waves follow.
  video.CurrentFile = 2;
  video.CurrentTime = 25.0;
  host.waveSyncs.clear();
  video.StepFrame(5);
  EXPECT_EQ(S().start, 50);
  ASSERT_EQ(host.waveSyncs.size(), 1u);
  EXPECT_NEAR(host.waveSyncs[0], 25.0 - 0.04, 1e-9);
  EXPECT_TRUE(host.synchronised);
  // The player at the recording's end: the time steps back inside it.
  S().start = S().stop = 175;  // c's frame at 30 s
  video.CurrentTime = 29.0;
  video.OnPlayTimer();
  EXPECT_NEAR(video.CurrentTime, 29.96, 1e-9);
}

TEST(VideoOutputText, SizeTexts) {
  EXPECT_EQ(VideoSizeText(1023), "1023.000B");
  EXPECT_EQ(VideoSizeText(1024), "1.000KB");
  EXPECT_EQ(VideoSizeText(1048576), "1.000MB");
  EXPECT_EQ(VideoSizeText(1073741824), "1.000GB");
  EXPECT_EQ(RangesOverlap(0, 1, 1, 2), 1);
  EXPECT_EQ(RangesOverlap(0, 1, 1.5, 2), 0);
  VideoFileRecord r;
  EXPECT_EQ(AddEffectiveRangeInfo(r, 1.0, 2.0), 1);
  EXPECT_EQ(AddEffectiveRangeInfo(r, 3.0, 4.0), 1);
  EXPECT_EQ(r.ranges.back(), (std::pair<double, double>{3.0, 4.0}));
}

}  // namespace
