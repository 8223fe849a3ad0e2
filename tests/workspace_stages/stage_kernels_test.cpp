// The counting behind the stage graph and the vigilance-state pane, and the mark runs: a
// stage list drives each case.
#include <gtest/gtest.h>

#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/mark_table.h"
#include "app/workspace/mark_runs.h"
#include "app/workspace/stage_graph_table.h"
#include "app/workspace/vigilance_episodes.h"

namespace {

std::array<std::uint16_t, kStageGraphItemFlags> Flags(std::initializer_list<int> items) {
  std::array<std::uint16_t, kStageGraphItemFlags> f{};
  for (int i : items) f[static_cast<std::size_t>(i)] = 1;
  return f;
}

TEST(StageGraphTable, FullDivisionsOnlyAndUnscoredEpochsLowerThePercentages) {
  // 95 epochs of stage 2 (item 1) at 10 epochs per division (5 min of 30-s epochs): 9 divisions.
  std::vector<int> stages(95, 2);
  stages[3] = 0;    // unscored
  stages[4] = 20;   // unscored artifact
  stages[5] = 22;   // artifact of stage 2: the same item
  auto of = [&](int e) { return stages[static_cast<std::size_t>(e)]; };
  const StageGraphTable t = CountStageGraph(of, 0, 0, 94, 94, 30, 5, Flags({1}));
  ASSERT_EQ(t.epochsPerDivision, 10);
  EXPECT_EQ(t.Divisions(), 9);
  EXPECT_EQ(t.SpanSeconds(), 9 * 10 * 30);
  EXPECT_EQ(t.Value(0, 1, 0), "80.0") << "two unscored epochs of ten";
  EXPECT_EQ(t.Value(1, 1, 0), "100.0");
  EXPECT_EQ(t.Value(0, 1, 1), "240") << "8 epochs x 30 s";
  // A division shorter than an epoch: nothing.
  EXPECT_EQ(CountStageGraph(of, 0, 0, 94, 94, 120, 1, Flags({1})).Divisions(), 0);
  // A range shorter than one division: no row.
  EXPECT_EQ(CountStageGraph(of, 0, 0, 8, 94, 30, 5, Flags({1})).Divisions(), 0);
}

TEST(StageGraphTable, ItemsFollowTheStageType) {
  // stage type, code -> item
  const struct {
    int type, code, item;
  } rows[] = {{0, 6, 5}, {0, 10, 9}, {1, 7, 5}, {1, 6, -1}, {2, 5, 3}, {3, 7, 3}, {3, 27, 3}, {3, 11, -1}, {0, 20, -1}};
  for (const auto& r : rows) EXPECT_EQ(StageGraphItemOf(r.type, r.code), r.item) << r.type << "/" << r.code;
  EXPECT_EQ(StageGraphItemCount(0), 10);
  EXPECT_EQ(StageGraphItemCount(7), 7);
  EXPECT_EQ(StageGraphDivisionLimitMinutes(100, 30), 25) << "50 epochs x 30 s, in minutes";
}

VspEpochs Epochs(const std::vector<int>& codes, bool artifact = false) {
  return VspEpochs{[codes](int e) { return codes[static_cast<std::size_t>(e)]; }, static_cast<int>(codes.size()),
                   artifact};
}

TEST(VigilanceEpisodes, DivisionsAndTrimming) {
  EXPECT_EQ(DivisionCount(3, 0, 9), 4) << "10 epochs at 3: 3/3/3/1";
  EXPECT_EQ(DivisionCount(20, 0, 9), 1);
  EXPECT_EQ(DivisionCount(0, 0, 9), 0);
  // Inside one episode of stage 1: manual keeps it, auto drops it.
  const VspEpochs same = Epochs({1, 1, 1, 1, 1, 1});
  int s = 2, e = 3;
  EXPECT_EQ(TrimRange(same, 0, s, e), 1);
  EXPECT_EQ(FindEpisodes(same, s, e, 30, 0, 0).episodes.size(), 1u);
  s = 2, e = 3;
  EXPECT_EQ(TrimRange(same, 1, s, e), 0);
  // Auto: a range starting where the stage changes keeps its first episode; one that starts
  // inside an episode loses that part.
  const VspEpochs change = Epochs({1, 1, 2, 2, 3, 3, 1, 1});
  s = 2, e = 7;
  ASSERT_EQ(TrimRange(change, 1, s, e), 1);
  EXPECT_EQ(s, 2);
  EXPECT_EQ(e, 5) << "the last episode (stage 1 to the recording end) is cut by nothing after it: dropped";
  s = 3, e = 5;
  ASSERT_EQ(TrimRange(change, 1, s, e), 1);
  EXPECT_EQ(s, 4);
  // Unscored epochs are trimmed off in manual mode; swapped ranges are taken.
  const VspEpochs gaps = Epochs({0, 0, 1, 2, 20, 0});
  s = 5, e = 0;
  ASSERT_EQ(TrimRange(gaps, 0, s, e), 1);
  EXPECT_EQ(s, 2);
  EXPECT_EQ(e, 3);
}

TEST(VigilanceEpisodes, ClassesSleepRunsAndStatistics) {
  // Artifact 25 beside 5: one episode, two with the artifact counted apart.
  EXPECT_EQ(FindEpisodes(Epochs({5, 25}), 0, 1, 30, 0, 0).episodes.size(), 1u);
  const VspDivision apart = FindEpisodes(Epochs({5, 25}, true), 0, 1, 30, 0, 0);
  ASSERT_EQ(apart.episodes.size(), 2u);
  EXPECT_EQ(apart.episodes[1].code, 25);
  EXPECT_EQ(apart.slots[4].count, 2) << "the same slot";

  // Class 100 is listed but counted nowhere.
  const VspDivision hundred = FindEpisodes(Epochs({1, 101, 101, 1}), 0, 3, 30, 0, 0);
  ASSERT_EQ(hundred.episodes.size(), 3u);
  EXPECT_EQ(hundred.episodes[1].code, 101);
  EXPECT_EQ(hundred.slots[0].count, 2);

  // 2, 3, 4 make one total-sleep run; the 2 between 3s ends the NonREM run only.
  const VspDivision sleep = FindEpisodes(Epochs({1, 2, 3, 4, 2, 3, 1}), 0, 6, 30, 0, 0);
  EXPECT_EQ(sleep.slots[kVspSleepSlot].count, 1);
  EXPECT_EQ(sleep.slots[kVspSleepSlot].total, 5 * 30);
  EXPECT_EQ(sleep.slots[kVspNonRemSlot].count, 2);
  EXPECT_EQ(sleep.slots[kVspNonRemSlot].total, 3 * 30);

  // Means and SD: one episode has a mean and no SD; none has neither.
  const VspDivision d = FindEpisodes(Epochs({1, 1, 2, 1, 1, 1, 1}), 0, 6, 30, 0, 0);
  EXPECT_EQ(VspMeanText(d.slots[1], "None"), "30");
  EXPECT_EQ(VspSdText(d.slots[1], "None"), "None");
  EXPECT_EQ(VspMeanText(d.slots[2], "None"), "None");
  // Stage 1: 60 s and 120 s: mean 90, SD sqrt((900 + 900) / 1) = 42.4 -> 42.
  EXPECT_EQ(VspMeanText(d.slots[0], "None"), "90");
  EXPECT_EQ(VspSdText(d.slots[0], "None"), "42");
  EXPECT_EQ(d.durations[0], (std::vector<std::pair<int, int>>{{2, 1}, {4, 1}}));
  EXPECT_EQ(d.episodes[2].first, 3);
}

TEST(VigilanceEpisodes, SlotsFollowTheStageType) {
  EXPECT_EQ(StageSlotOf(7, 1, 0), 5);
  EXPECT_EQ(StageSlotOf(6, 1, 0), -1);
  EXPECT_EQ(StageSlotOf(9, 3, 1), -1);
  EXPECT_EQ(StageSlotOf(9, 3, 2), 8);
  EXPECT_EQ(SlotStage(3, 3, 0), 7);
  EXPECT_EQ(SlotStage(kVspSleepSlot, 0, 3), 0);
}

std::vector<int> SetPoints(const MarkTable& m, int type) {
  std::vector<int> set;
  for (int i = 0; i < m.FlagLength(); ++i)
    if (m.Flags(type)[i]) set.push_back(i);
  return set;
}

TEST(MarkRuns, RoundingJoiningAndDeleting) {
  EXPECT_EQ(RoundByFirstDecimal(123.5, 0), 124);
  EXPECT_EQ(RoundByFirstDecimal(123.5, 1), 123);
  EXPECT_EQ(RoundByFirstDecimal(123.6, 1), 124);
  EXPECT_EQ(RoundByFirstDecimal(123.4, 0), 123);

  MarkTypeParam types;
  for (auto& item : types.items) item.triggerChannel = -1;
  types.items[0].triggerChannel = 0;
  types.items[0].invalidTimeS = 0.5f;
  // Gaps (s) of 0.4 join, of 0.5 split.
  for (const auto& [gap, runs] : {std::pair{0.4f, 1}, std::pair{0.5f, 2}}) {
    MarkTable m;
    ASSERT_EQ(m.AllocateMark(20), 1);
    m.Start(0)[0] = 1.0f;
    m.End(0)[0] = 2.0f;
    m.Start(0)[1] = 2.0f + gap;
    m.End(0)[1] = 3.0f;
    m.SetCount(0, 2);
    // A type without channel keeps what it has.
    m.Flags(1)[7] = 1;
    BuildMarkRuns(m, types);
    std::array<int, kMarkTypeCount> all;
    all.fill(1);
    int exist = 0;
    const std::vector<MarkRun> found = FindMarkRuns(m, all, &exist);
    EXPECT_EQ(exist, 1);
    ASSERT_EQ(static_cast<int>(found.size()), runs + 1) << gap;
    EXPECT_EQ(found[0].type, 1) << "rows by first point";
    EXPECT_EQ(found[1].first, 10);
    EXPECT_EQ(found[1].length, runs == 1 ? 20 : 10) << gap;
  }

  // 12.34 - 12.36 s sets point 123 alone.
  MarkTable m;
  ASSERT_EQ(m.AllocateMark(20), 1);
  m.Start(0)[0] = 12.34f;
  m.End(0)[0] = 12.36f;
  m.SetCount(0, 1);
  BuildMarkRuns(m, types);
  EXPECT_EQ(SetPoints(m, 0), std::vector<int>{123});

  // Deleting points clears the events as well: a rebuild keeps the deletion.
  m.Start(0)[0] = 1.0f;
  m.End(0)[0] = 3.0f;
  BuildMarkRuns(m, types);
  m.SetPoints(0, 15, 20, 0);
  BuildMarkRuns(m, types);
  std::vector<int> expected;
  for (int p = 10; p < 15; ++p) expected.push_back(p);
  for (int p = 20; p < 30; ++p) expected.push_back(p);
  EXPECT_EQ(SetPoints(m, 0), expected);
  EXPECT_EQ(m.Count(0), 2);
  m.SetPoints(0, 0, 200, 0);
  BuildMarkRuns(m, types);
  EXPECT_TRUE(SetPoints(m, 0).empty());
  EXPECT_EQ(m.Count(0), 0);
  // Setting points adds an event.
  m.SetPoints(0, 50, 60, 1);
  BuildMarkRuns(m, types);
  EXPECT_EQ(SetPoints(m, 0).size(), 10u);
}

}  // namespace
