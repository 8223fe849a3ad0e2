// Cutting the video set down to listed ranges, the checks of a new range and of an auto-play
// stretch, and the size of a set whose files are named in either form.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/video/video_range_edit.h"
#include "platform/testing/ui_testing.h"

namespace {

VideoFileRecord File(double start, double end, std::vector<VideoRange> ranges, std::string name = "v.mpg") {
  VideoFileRecord r;
  r.startTime = start;
  r.endTime = end;
  r.name = std::move(name);
  r.ranges = std::move(ranges);
  return r;
}

using Table = std::vector<VideoFileRecord>;

std::vector<std::vector<VideoRange>> RangesOf(const Table& t) {
  std::vector<std::vector<VideoRange>> out;
  for (const VideoFileRecord& r : t) out.push_back(r.ranges);
  return out;
}

TEST(VideoRangeEdit, SetRangeInfoKeepsOrCutsTheListedRanges) {
  struct Case {
    const char* what;
    RangeEditMode mode;
    Table table;
    std::vector<VideoRange> list;
    std::vector<std::vector<VideoRange>> expected;
  };
  const Case cases[] = {
      {"save [10, 20] of 0-100 keeps exactly it", RangeEditMode::Save, {File(0, 100, {{0, 100}})}, {{10, 20}},
       {{{10, 20}}}},
      {"save two ranges, listed out of order", RangeEditMode::Save, {File(0, 100, {{0, 100}})}, {{60, 70}, {10, 20}},
       {{{10, 20}, {60, 70}}}},
      {"delete inside a range splits it", RangeEditMode::Delete, {File(0, 100, {{0, 100}})}, {{30, 40}},
       {{{0, 30}, {40, 100}}}},
      {"ranges are relative to their file", RangeEditMode::Delete, {File(100, 200, {{0, 100}})}, {{150, 160}},
       {{{0, 50}, {60, 100}}}},
      {"delete over a range's start keeps its tail", RangeEditMode::Delete, {File(0, 100, {{20, 80}})}, {{10, 30}},
       {{{30, 80}}}},
      {"delete over a range's end keeps its head", RangeEditMode::Delete, {File(0, 100, {{20, 80}})}, {{70, 90}},
       {{{20, 70}}}},
      {"a file cut whole is dropped", RangeEditMode::Delete,
       {File(0, 50, {{0, 50}}), File(50, 100, {{0, 50}})}, {{0, 50}}, {{{0, 50}}}},
      {"cutting everything changes nothing", RangeEditMode::Delete,
       {File(0, 50, {{0, 50}}), File(50, 100, {{0, 50}})}, {{0, 100}}, {{{0, 50}}, {{0, 50}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Table table = c.table;
    std::vector<VideoRange> list = c.list;
    SetRangeInfo(c.mode, table, list, 0.0, 100.0);
    EXPECT_EQ(RangesOf(table), c.expected);
  }
}

TEST(VideoRangeEdit, SaveModeListBecomesTheRangesToCut) {
  EXPECT_EQ(RangesOutside({{60, 70}, {10, 20}}, 0, 100), (std::vector<VideoRange>{{0, 10}, {20, 60}, {70, 100}}));
  // Ranges touching the recording's ends leave nothing to cut there.
  EXPECT_EQ(RangesOutside({{0, 100}}, 0, 100), std::vector<VideoRange>{});
  EXPECT_TRUE(RangesOutside({}, 0, 100).empty());
}

TEST(VideoRangeEdit, NewRangeChecksInTheirOrder) {
  const Table table = {File(0, 50, {{0, 50}}), File(50, 100, {{0, 50}})};
  AutoPlayEntry mine;
  mine.rawPath = "/data/night.fyd";
  mine.startTime = 70;
  mine.endTime = 80;
  AutoPlayEntry other = mine;
  other.rawPath = "/data/other.fyd";
  other.startTime = 5;
  other.endTime = 8;
  const std::vector<AutoPlayEntry> entries = {mine, other};
  struct Case {
    const char* what;
    RangeEditMode mode;
    std::vector<VideoRange> list;
    double start, end;
    std::uint32_t message;
  };
  const Case cases[] = {
      {"end not after start", RangeEditMode::Delete, {}, 20, 20, kIdsStartAfterEnd},
      {"end before start comes first of all", RangeEditMode::Delete, {{0, 100}}, 300, 200, kIdsStartAfterEnd},
      {"no movie in the range", RangeEditMode::Delete, {}, 200, 300, kIdsNoMovieInRange},
      {"deleting every range", RangeEditMode::Delete, {}, 0, 100, kIdsWholeMovieData},
      {"deleting the rest of what the list leaves", RangeEditMode::Delete, {{0, 50}}, 50, 100, kIdsWholeMovieData},
      {"one whole file of two may go", RangeEditMode::Delete, {}, 0, 50, 0},
      {"overlaps a listed range", RangeEditMode::Delete, {{10, 20}}, 15, 30, kIdsConflictsWithListed},
      {"covers a listed range", RangeEditMode::Delete, {{10, 20}}, 5, 30, kIdsConflictsWithListed},
      {"delete over the recording's auto-play stretch", RangeEditMode::Delete, {}, 75, 90, kIdsRepeatsAutoPlay},
      {"another recording's stretch is not ours", RangeEditMode::Delete, {}, 4, 9, 0},
      {"save leaving the stretch out", RangeEditMode::Save, {}, 10, 20, kIdsRepeatsAutoPlay},
      {"save holding the stretch", RangeEditMode::Save, {}, 60, 90, 0},
      {"save with the stretch held by a listed range", RangeEditMode::Save, {{65, 85}}, 10, 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RangeCheckContext ctx;
    ctx.mode = c.mode;
    ctx.table = &table;
    ctx.list = &c.list;
    ctx.autoPlay = &entries;
    ctx.recordingRawPath = "/data/night.fyd";
    ctx.recordingEnd = 100;
    EXPECT_EQ(CheckNewRange(ctx, c.start, c.end), c.message);
  }
}

TEST(VideoRangeEdit, AutoPlayStretchChecks) {
  // Two files 5 s apart, then one that follows the second at once.
  const Table table = {File(0, 60, {{0, 60}}), File(65, 100, {{0, 35}}), File(100, 150, {{0, 50}})};
  struct Case {
    const char* what;
    double start, end;
    std::uint32_t message;
  };
  const Case cases[] = {
      {"start outside every range", 62, 80, kIdsNoMovieAtStartOrEnd},
      {"end outside every range", 10, 62, kIdsNoMovieAtStartOrEnd},
      {"same start and end", 10, 10, kIdsSameStartAndEnd},
      {"neighbouring files more than 2 s apart", 10, 80, kIdsNotContiguous},
      {"files that follow each other", 70, 120, 0},
      {"an end at the last moment of the set", 120, 150, 0},
      {"within one range", 10, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CheckAutoPlayStretch(table, c.start, c.end), c.message);
  }
}

TEST(VideoRangeEdit, SetSizeReadsNamesAsOpeningDoes) {
  testhooks::TempProgramFolder folder;
  const std::filesystem::path root = folder.Path();
  std::filesystem::create_directories(root / "night");
  std::ofstream(root / "night" / "a.mpg") << std::string(1000, 'a');
  std::ofstream(root / "elsewhere.mpg") << std::string(500, 'b');
  const std::string rangeFile = (root / "night" / "night.hdr").string();
  const Table table = {File(0, 10, {{0, 10}}, "night/a.mpg"), File(10, 20, {{0, 10}}, (root / "elsewhere.mpg").string()),
                       File(20, 30, {{0, 10}}, "night/missing.mpg")};
  // A full-path name counts; a file that cannot be read adds nothing.
  EXPECT_EQ(VideoSetBytes(table, rangeFile), 1500u);
  EXPECT_EQ(RecordingRawPathOf(rangeFile), (root / "night.fyd").string());
}

}  // namespace
