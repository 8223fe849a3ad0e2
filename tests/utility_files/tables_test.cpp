// Stage merging, stage labels, time labels and ticks, the cursor across files and the
// shortest file.
#include "utility_fixture.h"

namespace {

// Stage names that say their set and place: "<type><position>"; free stages "F1".."F3".
StageTypeParam NamedStages(int type, int freeStages = 0) {
  StageTypeParam p;
  SetDefaultStageTypeParam(&p);
  p.stageType = static_cast<std::uint16_t>(type);
  for (int k = 0; k < StageTypeParam::kSetCount; ++k)
    for (std::size_t i = 0; i < p.Set(k).size(); ++i) p.Set(k)[i].name = std::to_string(k) + std::to_string(i + 1);
  for (std::size_t i = 0; i < p.shared.size(); ++i) p.shared[i].name = "F" + std::to_string(i + 1);
  p.sharedInUse = static_cast<std::uint16_t>(freeStages);
  return p;
}

TEST_F(UtilityFilesTest, GetStageMergesByModeAndReadsHistory) {
  UtilityResultFiles files;
  const std::vector<int> codes{1, 2, 3, 4, 5, 6, 7, 24, 25, 26, 8};
  files.Add(NightOf(30, codes));
  files.File(0)->epochs[0].stage[1] = 9;
  files.File(0)->epochs[0].stage[2] = 10;
  // Expected per mode, epoch by epoch.
  const std::vector<std::vector<int>> merged{
      {1, 2, 3, 4, 5, 6, 7, 24, 25, 26, 8},
      {1, 2, 3, 4, 5, 5, 7, 24, 25, 25, 8},
      {1, 2, 3, 3, 5, 5, 7, 23, 25, 25, 8},
      {1, 2, 3, 3, 3, 3, 7, 23, 23, 23, 8},
  };
  for (int mode = 0; mode < 4; ++mode)
    for (std::size_t e = 0; e < codes.size(); ++e)
      EXPECT_EQ(files.GetStage(0, mode, static_cast<std::int32_t>(e), 0), merged[static_cast<std::size_t>(mode)][e])
          << "mode " << mode << " epoch " << e;
  EXPECT_EQ(files.GetStage(0, 7, 5, 0), 3) << "modes above 3 merge as 3";
  EXPECT_EQ(files.GetStage(0, 0, 0, 1), 9);
  EXPECT_EQ(files.GetStage(0, 0, 0, 2), 10);
  EXPECT_EQ(files.GetStage(0, 0, 0, 3), 0) << "history 3";
  EXPECT_EQ(files.GetStage(0, 0, 11, 0), 0) << "past the last epoch";
  EXPECT_EQ(files.GetStage(0, 0, -1, 0), 0);
  EXPECT_EQ(files.GetStage(1, 0, 0, 0), 0) << "no file in the slot";
}

TEST_F(UtilityFilesTest, StageLabelsFollowTheStageType) {
  EXPECT_EQ(GetStageLabel(0, NamedStages(0)), "None");
  EXPECT_EQ(GetStageLabel(-1, NamedStages(0)), "Previous stage");
  // Codes 1..7 per type; "" where the code has no name.
  const std::vector<std::vector<std::string>> byType{
      {"01", "02", "03", "04", "05", "06", "07"},
      {"11", "12", "13", "14", "15", "15", "16"},
      {"21", "22", "23", "23", "24", "24", "25"},
      {"31", "32", "33", "33", "33", "33", "34"},
  };
  for (int type = 0; type < 4; ++type) {
    const StageTypeParam p = NamedStages(type);
    for (int code = 1; code <= 7; ++code) {
      const std::string& want = byType[static_cast<std::size_t>(type)][static_cast<std::size_t>(code - 1)];
      EXPECT_EQ(GetStageLabel(code, p), want) << "type " << type << " code " << code;
      EXPECT_EQ(GetStageLabel(code + 20, p), want) << "type " << type << " code " << code + 20;
    }
    EXPECT_EQ(GetStageLabel(8, p), "F1");
    EXPECT_EQ(GetStageLabel(29, p), "F2");
    EXPECT_EQ(GetStageLabel(10, p), "F3");
    for (int code : {11, 20, 31, -2, 255}) EXPECT_EQ(GetStageLabel(code, p), "") << code;
  }
}

// Clock labels follow the file's start, elapsed labels count days from 1; ticks fall where a
// step boundary lies inside an epoch (clock) or at its start (elapsed).
TEST_F(UtilityFilesTest, TimeLabelsTicksAndOffsets) {
  UtilityResultFiles files;
  UtilityResultFileRec f = NightOf(30, std::vector<int>(4000, 1));
  f.startDateTime = {2026, 2, 28, 23, 45, 10};
  f.startMsOfDay = (23 * 3600 + 45 * 60 + 10) * 1000;
  files.Add(f);
  const UtilityTimeScale clock{3600, true}, elapsed{3600, false};
  auto shortDate = [](int y, int m, int d) { return std::to_string(m) + "/" + std::to_string(d) + "/" + std::to_string(y); };

  EXPECT_EQ(files.GetEpochTimeString(0, 0, clock, shortDate), "2/28/2026  23:45:10");
  EXPECT_EQ(files.GetEpochTimeString(0, 30, clock, shortDate), "3/1/2026  00:00:10") << "15 min later, next month";
  EXPECT_EQ(files.GetEpochTimeString(0, 0, elapsed), "1.00:00:00");
  EXPECT_EQ(files.GetEpochTimeString(0, 2881, elapsed), "2.00:00:30") << "a day is 2880 epochs";
  const UtilityTimeParts parts = files.GetEpochTimeParts(0, 30, clock);
  EXPECT_EQ(parts.year + "-" + parts.month + "-" + parts.day + " " + parts.hour + ":" + parts.minute + ":" + parts.second,
            "2026-3-1 0:0:10");
  EXPECT_EQ(files.GetEpochTimeParts(0, 2881, elapsed).day, "2");
  EXPECT_EQ(files.GetEpochTimeParts(0, 0, elapsed).month, "11");

  // Clock: 23:59:40 .. 00:00:10 (epoch 29) holds midnight, 86,400 as the day's end.
  std::int32_t s = 0, e = 0;
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 29, clock), 1);
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 30, clock), 0);
  EXPECT_EQ(files.GetTimeScaleStart(0, 29, clock, s, e), 86400);
  EXPECT_EQ(s, 86380);
  EXPECT_EQ(e, 86410);
  // The tick lies 20 of 30 s into the epoch: 20 x 90 / 30 = 60 pixels.
  EXPECT_EQ(files.GetTimeScaleOffset(0, 29, 90, clock), 60);
  // 30 - 10 s into the next hour's epoch: 00:59:40 .. 01:00:10 (epoch 149), offset 20 x 2 / 30 = 1: given as 0.
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 149, clock), 1);
  EXPECT_EQ(files.GetTimeScaleOffset(0, 149, 2, clock), 0);
  EXPECT_EQ(files.GetTimeScaleOffset(0, 149, 3, clock), 2);
  // Elapsed: ticks at the epochs starting on the hour; no offset.
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 120, elapsed), 1);
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 119, elapsed), 0);
  EXPECT_EQ(files.IsTimeScaleEpoch(0, 0, elapsed), 1);
  EXPECT_EQ(files.GetTimeScaleStart(0, 119, elapsed, s, e), 3600);
  EXPECT_EQ(s, 3570);
  EXPECT_EQ(files.GetTimeScaleOffset(0, 119, 90, elapsed), 0);
  EXPECT_EQ(files.IsTimeScaleEpoch(1, 0, clock), 0) << "no file";
}

// One cursor time for all files, in each file's own epochs; the line of an epoch from the
// files' lines, a later file's find winning.
TEST_F(UtilityFilesTest, CursorMovesAcrossFiles) {
  UtilityResultFiles files;
  files.Add(NightOf(10, std::vector<int>(720, 1)));
  files.Add(NightOf(30, std::vector<int>(240, 1)));
  files.SetCursorEpoch(1, 7);  // 210 s
  EXPECT_EQ(files.GetEpochMarker(0, 0), 21);
  EXPECT_EQ(files.GetEpochMarker(1, 0), 7);
  EXPECT_EQ(files.GetEpochMarker(0, 1), -1);
  files.SetCursorEpoch(0, 35);  // 350 s
  EXPECT_EQ(files.GetEpochMarker(1, 0), 11);
  EXPECT_EQ(files.GetEpochMarker(1, 1), 7);
  files.ClearEpochMarkers(1);
  EXPECT_EQ(files.GetEpochMarker(1, 1), -1);
  EXPECT_EQ(files.GetEpochMarker(1, 0), 11);
  files.ClearEpochMarkers(0);
  EXPECT_EQ(files.GetEpochMarker(0, 0), -1);
  files.SetCursorEpoch(0, 3);
  files.SetCursorEpoch(0, 4);
  files.ClearEpochMarkers(2);
  EXPECT_EQ(files.GetEpochMarker(0, 0), -1);
  EXPECT_EQ(files.GetEpochMarker(0, 1), -1);

  // File 0 shows 100 epochs a line, file 1 60.
  auto lines = [](int slot, int line, std::int32_t& first, std::int32_t& last) {
    const int per = slot == 0 ? 100 : 60;
    if (line >= 4) return false;
    first = line * per;
    last = first + per - 1;
    return true;
  };
  EXPECT_EQ(files.FindCursorLine(150, lines), 2) << "file 1's line 2 (120..179) wins over file 0's line 1";
  EXPECT_EQ(files.FindCursorLine(250, lines), 2) << "only file 0 reaches 250";
  EXPECT_EQ(files.FindCursorLine(500, lines), 0) << "no line";
}

TEST_F(UtilityFilesTest, ShortestFileTakesTheFirstOnTies) {
  UtilityResultFiles files;
  int examined = -1;
  EXPECT_EQ(files.FindShortestFile(&examined), -1);
  EXPECT_EQ(examined, 0);
  files.Add(NightOf(30, std::vector<int>(100, 1)));  // 3,000 s
  files.Add(NightOf(10, std::vector<int>(300, 1)));  // 3,000 s
  files.Add(NightOf(20, std::vector<int>(150, 1)));  // 3,000 s
  EXPECT_EQ(files.FindShortestFile(&examined), 0);
  EXPECT_EQ(examined, 3);
  files.Add(NightOf(10, std::vector<int>(299, 1)));
  EXPECT_EQ(files.FindShortestFile(), 3);
}

}  // namespace
