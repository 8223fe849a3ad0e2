#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"

namespace {

struct AllocationHookGuard {
  ~AllocationHookGuard() { tablemem::FailNthAllocationForTesting(0); }
};

SleepDstrbChannels AllChannels() {
  SleepDstrbChannels ch;
  ch.airFlow = 0, ch.chest = 1, ch.abdomen = 2, ch.lmLeft = 3, ch.lmRight = 4, ch.ecg = 5;
  ch.spo2 = 6, ch.position = 7, ch.cpap = 8, ch.snore = 9, ch.arousal = 10;
  return ch;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& t, int from, int to) {
  return {t.begin() + from, t.begin() + to};
}

TEST(SleepDstrbTables, TablesExistOnlyForAssignedChannels) {
  SleepDstrbTables t;
  SleepDstrbChannels none;
  t.AllocateRespRcgnz(none, 400);
  t.AllocateAirFlowPeakTopTbl(none, 10);
  t.AllocateAirFlowPPAmpTbl(none, 10);
  t.AllocateLMBoth(none, 100);
  t.AllocateECGTables(none, 10, 30);
  t.AllocateArousalPageTbl(none, 30, 30);
  EXPECT_TRUE(t.RespRcgnz().empty());
  EXPECT_FALSE(t.AirFlowPeakTop().Exists());
  EXPECT_EQ(t.AirFlowPeakTop().count, 0);
  EXPECT_FALSE(t.AirFlowPPAmp().Exists());
  EXPECT_TRUE(t.LMBoth().empty());
  EXPECT_FALSE(t.ECGRcgnz().Exists());
  EXPECT_FALSE(t.ArousalPageTbl().Exists());

  SleepDstrbChannels rightOnly;
  rightOnly.lmRight = 2;
  t.AllocateLMBoth(rightOnly, 100);
  t.AllocateLMLeft(rightOnly, 100);
  EXPECT_EQ(t.LMBoth().size(), 100u);
  EXPECT_TRUE(t.LMLeft().empty());

  const SleepDstrbChannels all = AllChannels();
  t.AllocateAirFlowPeakTopTbl(all, 12);
  t.AllocateECGTables(all, 10, 30);
  EXPECT_EQ(t.AirFlowPeakTop().count, 12);
  EXPECT_EQ(t.ECGRcgnz().positions.size(), 10u * 30u * 20u);  // 80 bytes per second
  EXPECT_EQ(t.ECGLFHF().size(), 10u);
  t.FreeAirFlowPeakTopTbl();
  EXPECT_EQ(t.AirFlowPeakTop().count, 0);
}

TEST(SleepDstrbTables, RespirationRangeReplacesNeighbouringEvents) {
  SleepDstrbTables t;
  t.AllocateRespRcgnz(AllChannels(), 400);
  auto& r = t.RespRcgnz();
  for (int i = 90; i < 100; ++i) r[i] = 2;   // event ending at 99
  for (int i = 120; i < 130; ++i) r[i] = 2;  // event starting at 120
  r[85] = 1;                                 // separated by a gap: stays
  t.SetRespEventRange(10, 100, 120, 400);
  EXPECT_EQ(Slice(r, 100, 120), std::vector<std::uint8_t>(20, 4));
  EXPECT_EQ(Slice(r, 86, 100), std::vector<std::uint8_t>(14, 0));
  EXPECT_EQ(Slice(r, 120, 131), std::vector<std::uint8_t>(11, 0));
  EXPECT_EQ(r[85], 1);
  EXPECT_EQ(t.RespChanged(), 1);

  // Kinds 1..3 write their codes, 0 clears, another kind only marks the change.
  const struct {
    int kind;
    std::uint8_t code;
  } kinds[] = {{1, 1}, {2, 2}, {3, 3}, {0, 0}};
  for (const auto& k : kinds) {
    t.SetRespEventRange(k.kind, 200, 210, 400);
    EXPECT_EQ(r[205], k.code) << "kind " << k.kind;
  }
  t.SetRespEventRange(1, 200, 210, 400);
  t.ClearChangedWords();
  t.SetRespEventRange(5, 200, 210, 400);
  EXPECT_EQ(r[205], 1);
  EXPECT_EQ(t.RespChanged(), 1);
}

TEST(SleepDstrbTables, RangeEditsStayInsideTheTable) {
  SleepDstrbTables t;
  const SleepDstrbChannels all = AllChannels();
  t.AllocateRespRcgnz(all, 100);
  t.AllocateLMLeft(all, 100);
  t.AllocateSnore(all, 100);
  t.AllocateArousalRecognize(all, 100);
  // Ranges reaching before the start and past the end are cut to the table; a limit
  // beyond the table is cut too (the sanitizer build catches any stray write).
  t.SetRespEventRange(1, -50, 1000, 5000);
  EXPECT_EQ(t.RespRcgnz(), std::vector<std::uint8_t>(100, 1));
  t.SetRespEventRange(0, 90, 200, 100);
  EXPECT_EQ(t.RespRcgnz()[89], 0);  // the run before the cleared range is trimmed
  t.SetLMEventRange(0, 95, 130, 100);
  EXPECT_EQ(Slice(t.LMLeft(), 95, 100), std::vector<std::uint8_t>(5, 1));
  t.SetSnoreEventRange(6, -10, 3, 100);
  EXPECT_EQ(Slice(t.Snore(), 0, 4), (std::vector<std::uint8_t>{1, 1, 1, 0}));
  t.SetArousalEventRange(8, 120, 140, 100);
  EXPECT_EQ(t.ArousalRecognize(), std::vector<std::uint8_t>(100, 0));
  // Edits of an absent table do nothing.
  SleepDstrbTables empty;
  empty.SetRespEventRange(1, 0, 10, 100);
  empty.SetLMEventRange(4, 0, 10, 100);
  EXPECT_TRUE(empty.RespRcgnz().empty());
  EXPECT_EQ(empty.LMChanged(), 1);
}

TEST(SleepDstrbTables, LimbMovementKindsPickTheirTables) {
  // kind, then the left and right marks over [10, 20) afterwards (both start set).
  const struct {
    int kind;
    std::uint8_t left, right;
  } rows[] = {{0, 1, 0}, {1, 0, 0}, {2, 0, 1}, {3, 0, 0}, {4, 1, 1}, {5, 0, 0}};
  const SleepDstrbChannels all = AllChannels();
  for (const auto& row : rows) {
    SleepDstrbTables t;
    t.AllocateLMLeft(all, 100);
    t.AllocateLMRight(all, 100);
    const bool clearing = row.kind % 2 == 1;
    if (clearing) {
      std::fill(t.LMLeft().begin() + 10, t.LMLeft().begin() + 20, 1);
      std::fill(t.LMRight().begin() + 10, t.LMRight().begin() + 20, 1);
    }
    t.SetLMEventRange(row.kind, 10, 20, 100);
    const std::uint8_t untouched = clearing ? 1 : 0;
    const bool leftTouched = row.kind <= 1 || row.kind >= 4;
    const bool rightTouched = row.kind >= 2;
    EXPECT_EQ(t.LMLeft()[15], leftTouched ? row.left : untouched) << "kind " << row.kind;
    EXPECT_EQ(t.LMRight()[15], rightTouched ? row.right : untouched) << "kind " << row.kind;
    EXPECT_EQ(t.LMChanged(), 1);
  }
}

TEST(SleepDstrbTables, MarkTrimmingClearsOnlyOnes) {
  SleepDstrbTables t;
  t.AllocateSnore(AllChannels(), 60);
  auto& s = t.Snore();
  // 1 1 2 1 | range [20, 30) | 1 2 1 1
  s[16] = 1, s[17] = 1, s[18] = 2, s[19] = 1;
  s[30] = 1, s[31] = 2, s[32] = 1, s[33] = 1;
  t.SetSnoreEventRange(6, 20, 30, 60);
  EXPECT_EQ(Slice(s, 16, 20), (std::vector<std::uint8_t>{0, 0, 2, 0}));
  EXPECT_EQ(Slice(s, 30, 34), (std::vector<std::uint8_t>{0, 2, 0, 0}));
  EXPECT_EQ(Slice(s, 20, 30), std::vector<std::uint8_t>(10, 1));
  t.SetSnoreEventRange(5, 20, 30, 60);  // not a snore kind
  EXPECT_EQ(s[27], 1);
  // Clearing part of a mark also clears the rest of its run.
  t.SetSnoreEventRange(7, 20, 25, 60);
  EXPECT_EQ(Slice(s, 18, 31), (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(SleepDstrbTables, ArousalUndoCopies) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  t.AllocateArousalTables(all, 50);
  t.ArousalRecognize()[7] = 1;
  t.ArousalRecognize()[8] = 1;
  t.RestoreArousalRecognize(all, 50);  // no copy kept: a zeroed table
  EXPECT_EQ(t.ArousalRecognize(), std::vector<std::uint8_t>(50, 0));

  t.ArousalRecognize()[7] = 1;
  t.ArousalPeakNum()[3] = 9;
  t.SaveArousalRecognize();
  t.SaveArousalPeakNum();
  t.SetArousalEventRange(9, 0, 50, 50);
  t.ArousalPeakNum()[3] = 0;
  t.RestoreArousalRecognize(all, 50);
  t.RestoreArousalPeakNum(all, 50);
  EXPECT_EQ(t.ArousalRecognize()[7], 1);
  EXPECT_EQ(t.ArousalPeakNum()[3], 9);
  EXPECT_TRUE(t.HasArousalRecognizeCopy());  // kept until freed
  t.FreeArousalRecognizeCopy();
  EXPECT_FALSE(t.HasArousalRecognizeCopy());
}

TEST(SleepDstrbTables, RespirationAndLimbUndoPutContentsBackAndDropTheCopies) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  t.AllocateRespRcgnz(all, 40);
  t.AllocateRespC(all, 40);
  t.AllocateLMLeft(all, 100);
  t.AllocateSnore(all, 100);
  t.RespRcgnz()[5] = 3;
  t.RespC()[6] = 4;
  t.LMLeft()[7] = 1;
  t.Snore()[8] = 1;
  t.SaveRespRcgnz();
  t.SaveLMRcgnz();
  t.SaveSnoreRcgnz();
  t.SetRespEventRange(0, 0, 40, 40);
  t.RespC()[6] = 0;
  t.SetLMEventRange(1, 0, 100, 100);
  t.SetSnoreEventRange(7, 0, 100, 100);
  t.RestoreRespRcgnz();
  t.RestoreLMRcgnz();
  t.RestoreSnoreRcgnz();
  EXPECT_EQ(t.RespRcgnz()[5], 3);
  EXPECT_EQ(t.RespC()[6], 4);
  EXPECT_EQ(t.LMLeft()[7], 1);
  EXPECT_EQ(t.Snore()[8], 1);
  // The copies are gone: a second restore changes nothing.
  t.SetSnoreEventRange(7, 0, 100, 100);
  t.RestoreSnoreRcgnz();
  EXPECT_EQ(t.Snore()[8], 0);
}

TEST(SleepDstrbTables, EcgUndoKeepsTheCountWord) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  t.AllocateECGTables(all, 4, 30);
  t.ECGRcgnz().positions[2] = 1234;
  t.ECGRcgnz().count = 3;
  t.ECGLFHF()[1] = 850.0;
  t.SaveECGRcgnz();
  t.SaveECGLFHF();
  t.AllocateECGTables(all, 4, 30);
  t.RestoreECGRcgnz(all, 4, 30);
  t.RestoreECGLFHF(all, 4);
  EXPECT_EQ(t.ECGRcgnz().positions[2], 1234);
  EXPECT_EQ(t.ECGRcgnz().count, 3);
  EXPECT_EQ(t.ECGLFHF()[1], 850.0);
  EXPECT_TRUE(t.HasECGRcgnzCopy());
  t.FreeRcgnzSleepDstrb();
  EXPECT_FALSE(t.HasECGRcgnzCopy());
  EXPECT_FALSE(t.HasECGLFHFCopy());
  EXPECT_FALSE(t.ECGRcgnz().Exists());
}

TEST(SleepDstrbTables, LfHfBlocksFollowTheAnalysisInterval) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  t.AllocateRcgnzSleepDstrbECGLFHF(all, 120, 30, 60);  // 120 x 30 / 60 = 60 blocks
  EXPECT_EQ(t.ECGLFHFCount(), 60);
  EXPECT_EQ(t.ECGLF().size(), 60u);
  EXPECT_EQ(t.ECGHF().size(), 60u);
  t.AllocateRcgnzSleepDstrbECGLFHF(all, 120, 30, 0);  // no interval: no blocks
  EXPECT_EQ(t.ECGLFHFCount(), 0);
}

TEST(SleepDstrbTables, PeakTablesTakeTheStoredCount) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  t.AllocateRespCPeakTopTbl(all, 2);
  t.AllocateRespCPeakBottomTbl(all, 3);
  const RespPeakEntry src[3] = {{4, 1.5f}, {9, -2.0f}, {14, 0.5f}};
  t.SetRespPeakTbl(kKindChest, 1, src);
  t.SetRespPeakTbl(kKindChest, -1, src);
  t.SetRespPeakTbl(14, 1, src);  // not a respiration kind
  EXPECT_EQ(t.RespCPeakTop().entries[1].point, 9);
  EXPECT_EQ(t.RespCPeakTop().entries.size(), 2u);
  EXPECT_EQ(t.RespCPeakBottom().entries[2].value, 0.5f);
}

TEST(SleepDstrbTables, RepresentativeIntervalOfKindAndChannel) {
  const SleepDstrbChannels ch = AllChannels();
  const struct {
    int kind, channel;
    double seconds;
  } rows[] = {{11, ch.airFlow, 0.25}, {13, ch.abdomen, 0.25}, {16, ch.ecg, 0.25},   {17, ch.spo2, 0.5},
              {18, ch.position, 0.5}, {19, ch.cpap, 0.25},    {20, ch.lmLeft, 0.1}, {20, ch.lmRight, 0.1}};
  for (const auto& r : rows)
    EXPECT_EQ(SleepDstrbTables::GetRprsntInterval(ch, r.kind, r.channel), r.seconds) << "kind " << r.kind;
  SleepDstrbChannels shared = ch;
  shared.position = shared.lmLeft;  // the LM channel also records the body position
  EXPECT_EQ(SleepDstrbTables::GetRprsntInterval(shared, 20, shared.lmLeft), 0.5);
}

TEST(SleepDstrbTables, ArousalPageTableOfADayIsHeldCompactly) {
  const SleepDstrbChannels all = AllChannels();
  SleepDstrbTables t;
  // 4-s epochs on a 24-hour page: 40 x 21600 x 255 entries, 881 MB if held whole.
  t.AllocateArousalPageTbl(all, 4, 86400);
  SparseU32Table& page = t.ArousalPageTbl();
  ASSERT_TRUE(page.Exists());
  EXPECT_EQ(page.Count(), 40u * 21600u * 255u);
  EXPECT_LT(page.BytesHeld(), 1u << 10);
  EXPECT_EQ(page.Get(page.Count() - 1), 0u);
  // Filling it from the front holds memory for what was written.
  for (std::uint32_t i = 0; i < 100000; ++i) ASSERT_TRUE(page.Set(i, i + 1));
  EXPECT_LT(page.BytesHeld(), 500000u);
  EXPECT_EQ(page.Get(99999), 100000u);
  EXPECT_EQ(page.Get(100000), 0u);
  EXPECT_TRUE(page.Set(page.Count() - 1, 77));
  EXPECT_TRUE(page.Set(12345, 5));
  EXPECT_EQ(page.Get(page.Count() - 1), 77u);
  EXPECT_EQ(page.Get(12345), 5u);
  EXPECT_EQ(page.Get(12346), 12347u);
  EXPECT_EQ(page.Get(5000000), 0u);
  EXPECT_EQ(page.Get(page.Count()), 0u);  // beyond the table
  EXPECT_TRUE(page.Set(page.Count(), 1));
  t.AllocateArousalPageTbl(all, 30, 30);  // 300 x 1 x 255
  EXPECT_EQ(page.Count(), 76500u);
  EXPECT_EQ(page.Get(12345), 0u);
  t.ArousalPageCount() = 12;
  t.FreeArousalPageTbl();
  EXPECT_EQ(page.Count(), 0u);
  EXPECT_EQ(t.ArousalPageCount(), 0);
}

TEST(SleepDstrbTables, AllocationFailureNamesTheMethodAndLeavesTheTableAbsent) {
  AllocationHookGuard guard;
  std::vector<std::string> messages;
  SleepDstrbTables t;
  t.SetFailureReporter([&](const std::string& m) { messages.push_back(m); });
  const SleepDstrbChannels all = AllChannels();
  t.AllocateRespRcgnz(all, 100);
  tablemem::FailNthAllocationForTesting(1);
  t.AllocateRespRcgnz(all, 100);
  EXPECT_TRUE(t.RespRcgnz().empty());
  tablemem::FailNthAllocationForTesting(1);
  t.AllocateAirFlowPeakBottomTbl(all, 10);
  EXPECT_EQ(t.AirFlowPeakBottom().count, 0);
  t.AllocateArousalRecognize(all, 10);
  tablemem::FailNthAllocationForTesting(1);
  t.SaveArousalRecognize();
  EXPECT_FALSE(t.HasArousalRecognizeCopy());
  EXPECT_EQ(messages, (std::vector<std::string>{"CQLM2_AnalyzerDoc::AllocateRespRcgnz",
                                                "CQLM2_AnalyzerDoc::AllocateAirFlowPeakBottomTbl",
                                                "CQLM2_AnalyzerDoc::SaveArousalRecognize"}));
}

}  // namespace
