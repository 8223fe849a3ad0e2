#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scoring/arousal_lm_snore.h"
#include "tests/support/synthetic_night.h"

namespace {

std::vector<std::uint8_t> Codes(const std::string& s) {
  std::vector<std::uint8_t> v;
  for (char c : s) v.push_back(static_cast<std::uint8_t>(c - '0'));
  return v;
}

std::string Text(const std::vector<std::uint8_t>& v) {
  std::string s;
  for (auto c : v) s += static_cast<char>('0' + c);
  return s;
}

// Digits as values: '0'..'9' -> 0..9 (negative legs are written as a leading '-' run).
std::vector<float> Values(const std::string& s) {
  std::vector<float> v;
  for (char c : s) v.push_back(c == '-' ? -9.0f : static_cast<float>(c - '0'));
  return v;
}

// ---- arousal ---------------------------------------------------------------------------------

struct ArousalCase {
  const char* name;
  std::string values;   // one count per point
  std::string stages;   // one stage digit per epoch of 5 points
  std::string expected;
};

class ArousalRuns : public ::testing::TestWithParam<ArousalCase> {};

TEST_P(ArousalRuns, ByThresholdLengthAndStage) {
  const ArousalCase& c = GetParam();
  std::vector<std::uint8_t> marks(c.values.size(), 1);  // the walk clears every mark it passes
  // threshold 4: a count of 2 (squared 4) extends a run; minimum 3, maximum 5 points.
  LyrRecognizeArousal::Detect(Codes(c.values), marks, 4, 3, 5, 5, Codes(c.stages));
  EXPECT_EQ(Text(marks), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArousalRuns,
    ::testing::Values(
        ArousalCase{"MinimumAndMaximumInclusive", "22201110222220222222", "3333", "11100000111110000000"},
        ArousalCase{"SquareEqualToThresholdExtends", "02220", "3", "01110"},
        ArousalCase{"OneShorterIsDropped", "02200", "3", "00000"},
        // Wake or movement time in the run's epoch drops it, whatever the skip setting.
        ArousalCase{"BesideWakeEpochKept", "0222000000", "31", "0111000000"},
        ArousalCase{"RunIntoWakeEpochDropped", "0002222000", "31", "0000000000"},
        // A run ending on its epoch's last point belongs to that epoch, not the next.
        ArousalCase{"EndingOnEpochsLastPointKept", "0022200000", "37", "0011100000"},
        // A run at the end of the recording is judged by the last epoch.
        ArousalCase{"RunAtEndJudgedByLastEpoch", "0000000222", "33", "0000000111"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- limb movement ---------------------------------------------------------------------------

struct MovementCase {
  const char* name;
  std::string values;  // level 5: a value above 5 (or below -5) is movement
  std::string stages;  // per epoch of 5 points
  bool skip;
  std::string expected;
};

class LimbMovementRuns : public ::testing::TestWithParam<MovementCase> {};

TEST_P(LimbMovementRuns, ByLevelLengthAndStage) {
  const MovementCase& c = GetParam();
  std::vector<std::uint8_t> mask(c.values.size(), 1);
  std::vector<std::uint8_t> leg(c.values.size(), 0);
  LyrRecognizeLimbMovement::DetectMovements(Values(c.values), 5.0, 2, 3, 5, Codes(c.stages), c.skip, mask, leg);
  EXPECT_EQ(Text(mask), c.expected);
  EXPECT_EQ(Text(leg), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LimbMovementRuns,
    ::testing::Values(
        // A value equal to the level ends a run; the magnitude counts.
        MovementCase{"LevelEndsRun", "0995990-90", "33", false, "0110110110"},
        MovementCase{"LengthTwoToThree", "0900990999", "33", false, "0000110111"},
        MovementCase{"TooLongDropped", "0999900000", "33", false, "0000000000"},
        // With the skip flag, stages 0, 1, 7, 20, 21, 27 drop; without it nothing does.
        MovementCase{"WakeKeptWithoutSkip", "0990000000", "13", false, "0110000000"},
        MovementCase{"WakeDroppedWithSkip", "0990000000", "13", true, "0000000000"},
        MovementCase{"UnscoredDroppedWithSkip", "0000000990", "30", true, "0000000000"},
        // A movement at the end of the series is judged by the last epoch (stage 3).
        MovementCase{"RunAtEndKeptWithSkip", "0000000099", "33", true, "0000000011"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SeparationCase {
  const char* name;
  std::string mask;
  int separation;
  std::string expected;
};

class Separation : public ::testing::TestWithParam<SeparationCase> {};

TEST_P(Separation, RemovesMovementsStartingInsideTheWindow) {
  const SeparationCase& c = GetParam();
  auto mask = Codes(c.mask);
  auto leg = Codes(c.mask);
  leg.push_back(1);  // the leg table may be longer; its extra points are untouched
  LyrRecognizeLimbMovement::ApplySeparation(mask, leg, c.separation);
  EXPECT_EQ(Text(mask), c.expected);
  EXPECT_EQ(Text(leg), c.expected + "1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Separation,
    ::testing::Values(
        SeparationCase{"SecondInsideWindowRemoved", "1100100000", 5, "1100000000"},
        SeparationCase{"SecondAtSeparationStays", "1100010000", 5, "1100010000"},
        SeparationCase{"RunningPastWindowClearedToItsEnd", "1101111000", 5, "1100000000"},
        SeparationCase{"FirstFillsWindow", "1111110100", 5, "1111110100"},
        SeparationCase{"EachKeptStartOpensAWindow", "1010101010", 3, "1000100010"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Separation, FourPointNineSecondsRemovedFiveSecondsStays) {
  const int separation = sleeprun::TenthsToPoints(5.0);
  EXPECT_EQ(separation, 50);
  EXPECT_EQ(sleeprun::TenthsToPoints(4.9), 49);
  for (int second : {49, 50}) {
    std::vector<std::uint8_t> mask(120, 0);
    for (int i = 0; i < 10; ++i) mask[static_cast<std::size_t>(i)] = mask[static_cast<std::size_t>(second + i)] = 1;
    std::vector<std::uint8_t> leg = mask;
    LyrRecognizeLimbMovement::ApplySeparation(mask, leg, separation);
    EXPECT_EQ(leg[static_cast<std::size_t>(second)], second == 50 ? 1 : 0) << "second movement at " << second;
  }
}

TEST(BothLegs, MirrorsOneLegOrNeedsBoth) {
  const auto left = Codes("0111011000");
  const auto right = Codes("0011111100");
  std::vector<std::uint8_t> both(10, 9);
  LyrRecognizeLimbMovement::BuildBothLegs(left, {}, both);
  EXPECT_EQ(Text(both), "0211021000");
  LyrRecognizeLimbMovement::BuildBothLegs({}, right, both);
  EXPECT_EQ(Text(both), "0021111100");
  LyrRecognizeLimbMovement::BuildBothLegs(left, right, both);
  EXPECT_EQ(Text(both), "0021021000");
  LyrRecognizeLimbMovement::BuildBothLegs({}, {}, both);  // no leg: untouched
  EXPECT_EQ(Text(both), "0021021000");
}

// ---- epoch counts ----------------------------------------------------------------------------

TEST(EpochCounts, EachRunCountedOnceInTheEpochOfItsLastPoint) {
  // Epochs of 5 points: |11000|00110|01111|11000|00001|
  const auto mask = Codes("1100000110011111100000001");
  struct Row { int epoch, count, points; };
  const Row rows[] = {{0, 1, 2}, {1, 1, 2}, {2, 0, 0}, {3, 1, 6}, {4, 1, 1}, {5, 0, 0}, {-1, 0, 0}};
  for (const Row& r : rows) {
    int points = -1;
    EXPECT_EQ(LyrRecognizeSnore::CountInEpoch(r.epoch, mask, 5, &points), r.count) << "epoch " << r.epoch;
    EXPECT_EQ(points, r.points) << "epoch " << r.epoch;
    EXPECT_EQ(LyrRecognizeArousal::CountInEpoch(r.epoch, mask, 5), r.count);
    EXPECT_EQ(LyrRecognizeLimbMovement::CountInEpoch(r.epoch, mask, 5), r.count);
  }
  // The both-legs codes 2 and 1 form one movement.
  EXPECT_EQ(LyrRecognizeLimbMovement::CountInEpoch(0, Codes("2110021000"), 10), 2);
}

TEST(EpochCounts, PeriodicSeriesEndsWithTheLastMovementOfTheEpoch) {
  // Epochs of 10 points (1 s); intervals 0.5 .. 2.0 s (5 .. 20 points, end to start),
  // at least 3 movements. Movements at 0-1, 10-11, 20-21 and 60-61.
  std::vector<std::uint8_t> mask(80, 0);
  for (int s : {0, 10, 20, 60}) mask[static_cast<std::size_t>(s)] = mask[static_cast<std::size_t>(s + 1)] = 1;
  double ms = -1.0;
  // Epoch 2 ends the series of three: span 0 .. 21 = 22 points = 2200 ms.
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(2, mask, 10, 0.5, 2.0, 3, &ms), 1);
  EXPECT_DOUBLE_EQ(ms, 2200.0);
  // In epoch 1 the series goes on (next start 9 points after the end).
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(1, mask, 10, 0.5, 2.0, 3, &ms), 0);
  EXPECT_EQ(ms, 0.0);
  // The lone movement at 60 is too far from the series.
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(6, mask, 10, 0.5, 2.0, 3, &ms), 0);
  // Four needed: the series of three does not count.
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(2, mask, 10, 0.5, 2.0, 4, &ms), 0);
  // A gap below the minimum inside the series gives 0.
  mask[4] = mask[5] = 1;  // 4-5 follows 0-1 after 3 points and precedes 10-11 by 5
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(2, mask, 10, 0.5, 2.0, 3, &ms), 0);
  // No movement ends in the epoch.
  EXPECT_EQ(LyrRecognizeLimbMovement::CountPLMsInEpoch(4, mask, 10, 0.5, 2.0, 1, &ms), 0);
}

// ---- snore -----------------------------------------------------------------------------------

TEST(SnoreRuns, AddsMarksWithoutClearingAndDropsWakeOnlyWithSkip) {
  // Level 5, 2 .. 3 points, epochs of 5 points staged Stage1 then Wake.
  const auto values = Values("0990500990");
  auto marks = Codes("1000000000");
  LyrRecognizeSnore::Detect(values, 5.0, 2, 3, 5, Codes("31"), true, marks);
  EXPECT_EQ(Text(marks), "1110000000");
  LyrRecognizeSnore::Detect(values, 5.0, 2, 3, 5, Codes("31"), false, marks);
  EXPECT_EQ(Text(marks), "1110000110");
}

// ---- bound to the tables ---------------------------------------------------------------------

TEST(LimbMovementRecognition, GeneratedNightMarksEveryMovementOnBothLegs) {
  const synth::Night night = synth::MakeNight(40, 11);
  const SleepDstrbParam prm = synth::NightParam();
  synth::NightTables nt;
  nt.Load(night, prm);
  // Wake in the epoch of the first movement: it goes with the skip flag.
  nt.epochs.SetStage(static_cast<int>(night.legs.front().startS / 30), 1);
  const SleepDstrbSources src{.param = &prm,
                              .epochs = &nt.epochs,
                              .tables = &nt.tables,
                              .epochCount = night.epochCount,
                              .lmRecognisedWord = &nt.lmWord};
  LyrRecognizeLimbMovement(src).Recognize(1);
  EXPECT_EQ(nt.lmWord, 1);

  const int expected = static_cast<int>(night.legs.size()) - 1;
  ASSERT_GT(expected, 5);
  int left = 0, right = 0, both = 0;
  for (int e = 0; e < night.epochCount; ++e) {
    left += LyrRecognizeLimbMovement::CountInEpoch(e, nt.tables.LMLeft(), 300);
    right += LyrRecognizeLimbMovement::CountInEpoch(e, nt.tables.LMRight(), 300);
    both += LyrRecognizeLimbMovement::CountInEpoch(e, nt.tables.LMBoth(), 300);
  }
  EXPECT_EQ(left, expected);
  EXPECT_EQ(right, expected);
  EXPECT_EQ(both, expected);
  EXPECT_EQ(nt.tables.LMLeft()[static_cast<std::size_t>(night.legs[0].startS * 10 + 5)], 0);
  const int first = static_cast<int>(night.legs[1].startS * 10);
  EXPECT_EQ(nt.tables.LMBoth()[static_cast<std::size_t>(first)], 2);
  EXPECT_EQ(nt.tables.LMBoth()[static_cast<std::size_t>(first + 1)], 1);

  // Clearing a movement by hand on the left leg and recounting drops it from both.
  std::fill_n(nt.tables.LMLeft().begin() + first, 20, std::uint8_t{0});
  LyrRecognizeLimbMovement(src).Recount(night.epochCount * 300, 1, 1);
  EXPECT_EQ(nt.tables.LMBoth()[static_cast<std::size_t>(first)], 0);
  // With only the right side switched on, both mirrors the right leg again.
  LyrRecognizeLimbMovement(src).Recount(night.epochCount * 300, 0, 1);
  EXPECT_EQ(nt.tables.LMBoth()[static_cast<std::size_t>(first)], 2);
}

TEST(ArousalRecognition, RunsOverTheGivenEpochsAndPointsPerEpoch) {
  const synth::Night night = synth::MakeNight(4, 5);
  const SleepDstrbParam prm = synth::NightParam();  // threshold 4, 3 .. 15 s
  synth::NightTables nt;
  nt.Load(night, prm);
  nt.epochs.SetStage(2, 21);  // parallel Wake code
  auto& counts = nt.tables.ArousalPeakNum();
  for (int i = 100; i < 150; ++i) counts[static_cast<std::size_t>(i)] = 3;  // 5 s in epoch 0
  for (int i = 700; i < 750; ++i) counts[static_cast<std::size_t>(i)] = 3;  // 5 s in epoch 2 (Wake)
  for (int i = 1000; i < 1010; ++i) counts[static_cast<std::size_t>(i)] = 3;  // 1 s: too short
  SleepDstrbSources src{.param = &prm, .epochs = &nt.epochs, .tables = &nt.tables, .epochCount = night.epochCount};
  LyrRecognizeArousal(src).Recognize(4, 300);
  int arousals = 0;
  for (int e = 0; e < 4; ++e) arousals += LyrRecognizeArousal::CountInEpoch(e, nt.tables.ArousalRecognize(), 300);
  EXPECT_EQ(arousals, 1);
  EXPECT_EQ(LyrRecognizeArousal::CountInEpoch(0, nt.tables.ArousalRecognize(), 300), 1);

  // Counters of a page that starts at epoch 2: its first epoch is Wake.
  src.firstEpoch = 2;
  LyrRecognizeArousal(src).Recognize(1, 300);
  EXPECT_EQ(LyrRecognizeArousal::CountInEpoch(0, nt.tables.ArousalRecognize(), 300), 0);
}

}  // namespace
