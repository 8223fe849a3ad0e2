// Re-staging with episodes: stage sequences against the re-staged arrays worked out by hand
// from the episode rules, the rule rows and thresholds, the merging of GetStage and the
// out-of-memory road.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/table_memory.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"

namespace {

using Codes = std::vector<int>;

Codes Join(std::initializer_list<Codes> parts) {
  Codes all;
  for (const Codes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
Codes Rep(int code, int n) { return Codes(static_cast<std::size_t>(n), code); }

class ReStage : public testing::Test {
 protected:
  void SetUp() override {
    savedEpoch_ = EpochSeconds;
    savedRules_ = StageEpisodeRules;
    SetDefaultSettings();
    EpochSeconds = 10;
    SetDefaultStageTypeParam(&doc_.Params.stageType);
    doc_.Params.stageType.stageType = 0;
    testhooks::Reset();
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    StageEpisodeRules = savedRules_;
    tablemem::FailNthAllocationForTesting(0);
    testhooks::Reset();
  }
  void Night(const Codes& codes) {
    const int n = static_cast<int>(codes.size());
    doc_.RecordSeconds = EpochSeconds * n;
    ASSERT_EQ(doc_.EpochTables.SetNew(n, 0, 1, 0, 1), 1);
    for (int e = 0; e < n; ++e) doc_.EpochTables.SetStage(e, static_cast<std::uint8_t>(codes[static_cast<std::size_t>(e)]));
  }
  Codes Run(const Codes& codes) {
    Night(codes);
    LyrReStageWithEpisode r(&doc_);
    EXPECT_EQ(r.AllocateReStage(), 1);
    EXPECT_EQ(r.ReStage(), 1);
    Codes out;
    for (std::int8_t v : r.ReStaged) out.push_back(v);
    return out;
  }

  CQLM2_AnalyzerDoc doc_;
  std::int32_t savedEpoch_ = 0;
  std::array<StageEpisodeRule, 10> savedRules_{};
};

// Stage type 0: code c has row c - 1. Defaults at 10 s: Wake (row 0) L/D/A 3/3/3, REM (row 1)
// 2/2/2, the other stages 3/2/3; unscored 1000/1000/10000.
struct Case {
  const char* name;
  int epochSeconds;
  std::function<void()> rules;
  Codes in;
  Codes out;
};

TEST_F(ReStage, SequencesAgainstHandWorkedArrays) {
  const std::vector<Case> cases = {
      {"no run reaches its length: scored epochs marked, unscored stay 0", 10, nullptr,
       {1, 1, 3, 3, 0, 1, 2},
       {101, 101, 103, 103, 0, 101, 102}},
      {"one unbroken run has no following epoch, so no episode", 10, nullptr,
       {3, 3, 3, 3, 3},
       {103, 103, 103, 103, 103}},
      // At 60 s the unscored length is 167 epochs; Wake and stage 1 get 3 epochs (180 s).
      {"a first episode of code 0 defers the marking to the first other episode", 60,
       [] { StageEpisodeRules[0] = StageEpisodeRules[2] = {180, 60, 3}; },
       Join({{1}, Rep(0, 167), {3, 3, 3, 1, 1, 1}}),
       Join({{101}, Rep(0, 167), {3, 3, 3, 1, 1, 1}})},
      // Stage 1's episode (3 epochs) ends where the Wake run of 1 epoch (L = 1) would begin,
      // but a 1-epoch run never ends the scan: stage 2 from epoch 4 does. The Wake epoch is a
      // short interruption (1 < D = 2) and is absorbed.
      {"a run of exactly L at a scan start is an episode; a 1-epoch run never ends a scan", 10,
       [] { StageEpisodeRules[0] = {10, 10, 3}; },
       {3, 3, 3, 1, 4, 4, 4, 4},
       {3, 3, 3, 3, 4, 4, 4, 4}},
      {"an unfinished run at the end keeps its codes", 10, nullptr,
       {3, 3, 3, 1, 1, 1, 4, 4},
       {3, 3, 3, 1, 1, 1, 4, 4}},
      // The scan from epoch 3 meets a change and then the end: nothing follows to absorb into,
      // so the epoch after the episode keeps its own stage.
      {"the scan reaching the end after a change", 10, nullptr,
       {3, 3, 3, 1, 4, 4},
       {3, 3, 3, 1, 4, 4}},
      // First run after the episode: 1 1 (2 epochs, below D = 5). With A = 1 the count reaches
      // 1 at the change to 4 (epoch 5), which is already absorbed; epoch 6 lies outside.
      {"A = 1 absorbs up to the first change after the first interruption", 10,
       [] { StageEpisodeRules[2] = {30, 50, 1}; },
       {3, 3, 3, 1, 1, 4, 1, 5, 5, 5},
       {3, 3, 3, 3, 3, 3, 101, 5, 5, 5}},
      {"A = 3 absorbs the whole stretch", 10,
       [] { StageEpisodeRules[2] = {30, 50, 3}; },
       {3, 3, 3, 1, 1, 4, 1, 5, 5, 5},
       {3, 3, 3, 3, 3, 3, 3, 5, 5, 5}},
      {"A = 0 absorbs nothing and marks the stretch", 10,
       [] { StageEpisodeRules[2] = {30, 50, 0}; },
       {3, 3, 3, 1, 1, 4, 1, 5, 5, 5},
       {3, 3, 3, 101, 101, 104, 101, 5, 5, 5}},
      // First run 1 1 reaches D = 2: a real interruption, marked up to the next episode; the
      // unscored epoch in it stays 0 (it would read as a discarded code 80 as 100).
      {"a detected interruption marks scored epochs only", 10, nullptr,
       {3, 3, 3, 1, 1, 0, 1, 5, 5, 5},
       {3, 3, 3, 101, 101, 0, 101, 5, 5, 5}},
      // Stage 3 (row 3) needs 1667 epochs: its 167 epochs after the unscored episode are a real
      // interruption (167 >= D(0)); the first Wake-free episode then marks everything before
      // it again, which must not mark an epoch twice.
      {"an epoch is never marked twice", 60,
       [] {
         StageEpisodeRules[0] = StageEpisodeRules[2] = {180, 60, 3};
         StageEpisodeRules[3] = {100000, 60, 3};
       },
       Join({Rep(0, 167), Rep(4, 167), {3, 3, 3, 1, 1, 1}}),
       Join({Rep(0, 167), Rep(104, 167), {3, 3, 3, 1, 1, 1}})},
      // The discarded family is held as its base code; REM episode of 2 epochs (L = 2).
      {"discarded codes are held reduced by 20", 10, nullptr,
       {22, 22, 3, 23, 23, 1},
       {2, 2, 3, 3, 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetDefaultSettings();
    EpochSeconds = c.epochSeconds;
    if (c.rules) c.rules();
    EXPECT_EQ(Run(c.in), c.out);
  }
}

// The walk as its rules read, epoch by epoch over a plain array (with the mends: only scored,
// unmarked epochs are marked, and an empty stretch absorbs nothing): the oracle of the random
// nights below.
Codes ReferenceWalk(const Codes& stage, const LyrReStageWithEpisode& t) {
  const int n = static_cast<int>(stage.size());
  Codes out = stage;
  auto markOutside = [&](int a, int b) {
    for (int i = a; i < b; ++i)
      if (out[static_cast<std::size_t>(i)] > 0 && out[static_cast<std::size_t>(i)] < 100) out[static_cast<std::size_t>(i)] += 100;
  };
  auto at = [&](int e) { return stage[static_cast<std::size_t>(e)]; };
  bool first = true, anyFound = false;
  int e = 0;
  while (e < n) {
    const int s = at(e);
    int runEnd = e;
    while (runEnd + 1 < n && at(runEnd + 1) == s) ++runEnd;
    int end = runEnd, next = runEnd + 1, firstLen = 0;
    bool found = false;
    if (runEnd - e + 1 >= t.EpisodeEpochs(s) && next < n) {
      int c = at(next), count = 1, mark = next;
      bool changed = false;
      found = true;
      for (int i = next + 1; i < n; ++i) {
        if (at(i) == c) {
          if (count == 1) mark = i - 1;
          if (++count >= t.EpisodeEpochs(c)) {
            end = std::max(mark - 1, 0);
            break;
          }
        } else {
          if (!changed) firstLen = count;
          changed = true;
          c = at(i);
          count = 1;
        }
      }
    }
    if (found) {
      anyFound = true;
      if (first && s != 0) {
        markOutside(0, e);
        first = false;
      }
      if (firstLen > 0) {
        if (firstLen >= t.DetectEpochs(s)) {
          markOutside(next, end + 1);
        } else if (next <= end) {
          int resume = next;
          if (t.AllowedInterruptions(s) >= 1) {
            out[static_cast<std::size_t>(next)] = s;
            int interruptions = 1, prev = at(next);
            resume = end + 1;
            for (int i = next + 1; i <= end; ++i) {
              out[static_cast<std::size_t>(i)] = s;
              if (at(i) == prev) continue;
              if (at(i) != s) ++interruptions;
              prev = at(i);
              if (interruptions >= t.AllowedInterruptions(s)) {
                resume = std::min(i + 1, end + 1);
                break;
              }
            }
          }
          while (resume <= end && out[static_cast<std::size_t>(resume)] == s) ++resume;
          markOutside(resume, end + 1);
        }
      }
    }
    e = end + 1;
  }
  if (!anyFound) markOutside(0, n);
  return out;
}

// Seeded random nights of short runs under random rules, against the oracle: every value also
// stays a stage code, a marked code (its own + 100) or the code of an episode that absorbed
// it, and unscored epochs are never marked.
TEST_F(ReStage, RandomNightsFollowTheRulesEpochByEpoch) {
  std::mt19937 rng(36);
  for (int round = 0; round < 200; ++round) {
    SetDefaultSettings();
    EpochSeconds = 10;
    for (StageEpisodeRule& r : StageEpisodeRules) {
      r.first = static_cast<std::int32_t>(rng() % 50);
      r.second = static_cast<std::int32_t>(rng() % 50);
      r.third = static_cast<std::uint16_t>(rng() % 4);
    }
    doc_.Params.stageType.stageType = static_cast<std::uint16_t>(rng() % 4);
    Codes night;
    while (night.size() < 120) {
      const int code = static_cast<int>(rng() % 9) - 1;  // -1: an unscored epoch
      night.insert(night.end(), 1 + rng() % 5, code < 0 ? 0 : code + 1 + (rng() % 4 == 0 ? 20 : 0));
    }
    Night(night);
    LyrReStageWithEpisode r(&doc_);
    ASSERT_EQ(r.AllocateReStage(), 1);
    const std::vector<std::int8_t> before = r.ReStaged;
    ASSERT_EQ(r.ReStage(), 1);
    const Codes expected = ReferenceWalk(Codes(before.begin(), before.end()), r);
    ASSERT_EQ(Codes(r.ReStaged.begin(), r.ReStaged.end()), expected) << "round " << round;
    for (std::size_t e = 0; e < before.size(); ++e) {
      const int v = r.ReStaged[e];
      SCOPED_TRACE("round " + std::to_string(round) + " epoch " + std::to_string(e));
      ASSERT_TRUE((v >= 0 && v <= 11) || (v >= 101 && v <= 111)) << v;
      if (v >= 101) {
        EXPECT_EQ(v - 100, before[e]);
      }
      if (before[e] == 0) {
        EXPECT_LT(v, 100);
      }
    }
  }
}

TEST_F(ReStage, RowsOfCodesPerStageType) {
  struct Rows {
    int type;
    std::vector<int> rowOfCode;  // codes 1..10
    int other;
  };
  const std::vector<Rows> table = {
      {0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 6},
      {1, {0, 1, 2, 3, 4, 5, 5, 6, 7, 8}, 5},
      {2, {0, 1, 2, 4, 3, 4, 4, 5, 6, 7}, 4},
      {3, {0, 1, 2, 3, 3, 3, 3, 4, 5, 6}, 3},
      {4, {0, 0, 0, 0, 0, 0, 0, 1, 2, 3}, 0},
  };
  for (const Rows& r : table) {
    for (int code = 1; code <= 10; ++code) {
      EXPECT_EQ(LyrReStageWithEpisode::EpisodeRow(r.type, code), r.rowOfCode[static_cast<std::size_t>(code - 1)])
          << "type " << r.type << " code " << code;
      EXPECT_EQ(LyrReStageWithEpisode::EpisodeRow(r.type, code + 20), r.rowOfCode[static_cast<std::size_t>(code - 1)])
          << "type " << r.type << " code " << code + 20;
    }
    EXPECT_EQ(LyrReStageWithEpisode::EpisodeRow(r.type, 11), r.other) << "type " << r.type;
  }
}

TEST_F(ReStage, ThresholdsInEpochs) {
  EXPECT_EQ(LyrReStageWithEpisode::SecondsToEpochs(30, 10), 3);
  EXPECT_EQ(LyrReStageWithEpisode::SecondsToEpochs(25, 10), 3);
  EXPECT_EQ(LyrReStageWithEpisode::SecondsToEpochs(20, 10), 2);
  EXPECT_EQ(LyrReStageWithEpisode::SecondsToEpochs(-15, 10), -1) << "a negative setting is not rounded up";
  LyrReStageWithEpisode r(&doc_);
  const int expected[][4] = {{1, 3, 3, 3}, {2, 2, 2, 2}, {3, 3, 2, 3}, {0, 1000, 1000, 10000}};
  for (const auto& row : expected) {
    EXPECT_EQ(r.EpisodeEpochs(row[0]), row[1]) << "L of code " << row[0];
    EXPECT_EQ(r.DetectEpochs(row[0]), row[2]) << "D of code " << row[0];
    EXPECT_EQ(r.AllowedInterruptions(row[0]), row[3]) << "A of code " << row[0];
  }
}

TEST_F(ReStage, GetStageMergesByStageTypeAndPassesMarkedCodes) {
  LyrReStageWithEpisode r(&doc_);
  r.ReStaged = {4, 5, 6, 24, 26, 104, 106, 100, 0};
  const std::vector<std::pair<int, Codes>> table = {
      {0, {4, 5, 6, 24, 26, 104, 106, 100, 0}},
      {1, {4, 5, 5, 24, 25, 104, 106, 100, 0}},
      {2, {3, 5, 5, 23, 25, 104, 106, 100, 0}},
      {3, {3, 3, 3, 23, 23, 104, 106, 100, 0}},
  };
  for (const auto& [type, expected] : table) {
    doc_.Params.stageType.stageType = static_cast<std::uint16_t>(type);
    Codes got;
    for (int e = 0; e < 9; ++e) got.push_back(static_cast<std::uint8_t>(r.GetStage(e)));
    EXPECT_EQ(got, expected) << "stage type " << type;
  }
  EXPECT_EQ(r.GetStage(9), 0) << "beyond the sequence";
  EXPECT_EQ(r.GetStage(-1), 0);
  r.FreeReStage();
  EXPECT_EQ(r.GetStage(0), 0) << "no sequence";
  EXPECT_EQ(r.ReStage(), 0);
}

TEST_F(ReStage, OutOfMemoryIsToldAndLeavesNoSequence) {
  Night({3, 3, 3, 1});
  LyrReStageWithEpisode r(&doc_);
  tablemem::FailNthAllocationForTesting(1);
  EXPECT_EQ(r.AllocateReStage(), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "LyrReStageWithEpisode::AllocateReStage\nFail to get memory.");
  EXPECT_EQ(testhooks::Beeps(), std::vector<std::uint32_t>{ui::MB_ICONEXCLAMATION});
  EXPECT_EQ(r.ReStage(), 0);
  EXPECT_EQ(r.GetStage(0), 0);
}

}  // namespace
