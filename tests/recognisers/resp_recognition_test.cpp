#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/scoring/resp_event_recognition.h"
#include "tests/support/synthetic_night.h"

namespace {

using Resp = LyrRecgnizeSleepDisturbanceResp;

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

std::string Peaks(const std::vector<RespPeakEntry>& v) {
  std::string s;
  for (const auto& e : v) s += std::to_string(e.point) + ":" + std::to_string(static_cast<int>(e.value)) + " ";
  return s;
}

// ---- peak detection --------------------------------------------------------------------------

struct PeakCase {
  const char* name;
  std::vector<float> values;
  double level;
  int result;
  std::string tops, bottoms;
};

class PeakDetection : public ::testing::TestWithParam<PeakCase> {};

TEST_P(PeakDetection, FindsAlternatingTopsAndBottoms) {
  const PeakCase& c = GetParam();
  std::vector<RespPeakEntry> tops, bottoms;
  EXPECT_EQ(Resp::GetPeakForSleepDisturbance(c.values, c.level, &tops, &bottoms), c.result);
  EXPECT_EQ(Peaks(tops), c.tops);
  EXPECT_EQ(Peaks(bottoms), c.bottoms);
}

INSTANTIATE_TEST_SUITE_P(
    Hysteresis, PeakDetection,
    ::testing::Values(
        // Mean of all 7 values is 5, band 3 .. 7; 10 at index 2 leaves it upwards.
        PeakCase{"SeekTopFirst", {5, 5, 10, 6, 5, 0, 4}, 4.0, 1, "2:10 ", "5:0 "},
        // A drop of exactly h records the top; ties keep the earlier point.
        PeakCase{"TieKeepsEarlierTop", {5, 5, 5, 5, 8, 8, 4}, 4.0, 1, "4:8 ", ""},
        // A drop of less than h records nothing.
        PeakCase{"DropBelowLevelIgnored", {5, 5, 5, 5, 8, 8, 4.5f}, 4.0, 1, "", ""},
        // Mean -1.86, band -3.86 .. 0.14: -5 leaves it downwards, so a bottom comes first.
        PeakCase{"SeekBottomFirst", {0, 0, -5, -6, 0, 1, -3}, 4.0, 1, "5:1 ", "3:-6 "},
        // Never leaving mean +- h/2: no peaks.
        PeakCase{"NeverLeavesBand", {1, 2, 1, 2, 1}, 4.0, 0, "", ""},
        // Fewer than 150 points: the band mean is over all of them (10); 13 leaves it.
        PeakCase{"ShortSeriesMeanOverAll", {10, 10, 10, 13, 7}, 4.0, 1, "3:13 ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PeakDetection, StartingBandUsesFirst150Points) {
  // 150 points at 0 then a level step to 3: the mean is 0, band -2 .. 2, so the step
  // leaves it upwards. Were all 300 points used (mean 1.5), 3 would stay inside.
  std::vector<float> v(300, 0.0f);
  for (std::size_t i = 150; i < v.size(); ++i) v[i] = 3.0f;
  EXPECT_EQ(Resp::FindStartDirection(v, 4.0), 1);
  std::vector<float> shortSeries(v.begin() + 100, v.end());  // mean of first 150 = 3 x 100 / 150 = 2
  EXPECT_EQ(Resp::FindStartDirection(shortSeries, 4.0), 0);
}

// ---- merge, amplitudes, envelopes -------------------------------------------------------------

TEST(PeakTables, MergeAlternatesFromTheEarlierListAndBottomsWinTies) {
  const std::vector<RespPeakEntry> tops = {{2, 10}, {6, 9}};
  const std::vector<RespPeakEntry> bottoms = {{4, 1}, {8, 2}};
  EXPECT_EQ(Peaks(Resp::MergePeaks(tops, bottoms)), "2:10 4:1 6:9 8:2 ");
  // Same first index: bottoms first.
  const std::vector<RespPeakEntry> sameTop = {{3, 10}};
  const std::vector<RespPeakEntry> sameBottom = {{3, 1}};
  EXPECT_EQ(Peaks(Resp::MergePeaks(sameTop, sameBottom)), "3:1 3:10 ");
  // Peak-to-peak: later index, |difference|; tops + bottoms - 1 entries.
  EXPECT_EQ(Peaks(Resp::PeakToPeakAmplitudes(tops, bottoms)), "4:9 6:8 8:7 ");
  const std::vector<RespPeakEntry> one = {{1, 1}};
  EXPECT_TRUE(Resp::PeakToPeakAmplitudes({}, one).empty());
}

TEST(Envelope, FlatOutsideLinearBetweenZeroWithoutPeaks) {
  const std::vector<RespPeakEntry> peaks = {{2, 10}, {6, 2}};
  std::vector<float> env(9, -1.0f);
  Resp::BuildEnvelope(peaks, env);
  EXPECT_EQ(env, (std::vector<float>{10, 10, 10, 8, 6, 4, 2, 2, 2}));
  Resp::BuildEnvelope({}, env);
  EXPECT_EQ(env, std::vector<float>(9, 0.0f));
  // A peak index beyond the series is clamped, never written past the end.
  const std::vector<RespPeakEntry> far = {{1, 4}, {21, 24}};
  std::vector<float> shortEnv(4, -1.0f);
  Resp::BuildEnvelope(far, shortEnv);
  EXPECT_EQ(shortEnv, (std::vector<float>{4, 4, 5, 6}));
}

TEST(Envelope, PeaklessGapsAreClearedInsideTheMargins) {
  // gap 4, margin 1: a stretch between peaks clears when c > previous + 6.
  const std::vector<RespPeakEntry> tops = {{3, 9}, {20, 9}};
  const std::vector<RespPeakEntry> bottoms = {{10, 1}};
  std::vector<float> amp(30, 5.0f);
  Resp::ClearPeaklessGaps(tops, bottoms, 4, 1, amp);
  std::string cleared;
  for (float a : amp) cleared += a == 0.0f ? '0' : '5';
  // 0 -> 3: 3 > 6 no; 3 -> 10: 10 > 9 yes, clear 5..8; 10 -> 20: clear 12..18;
  // the 9 points after the last peak keep their amplitude.
  EXPECT_EQ(cleared, "555550000555000000055555555555");
}

// ---- flat runs -------------------------------------------------------------------------------

struct FlatCase {
  const char* name;
  std::vector<float> amplitude;
  int minRun;
  std::string before, after;
};

class FlatRuns : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatRuns, MarksRunsBelowThresholdOfMinimumLength) {
  const FlatCase& c = GetParam();
  auto flags = Codes(c.before);
  Resp::MarkFlatRuns(c.amplitude, 5.0f, c.minRun, 1, flags);
  EXPECT_EQ(Text(flags), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlatRuns,
    ::testing::Values(
        FlatCase{"ExactlyMinimum", {9, 1, 1, 1, 9, 1, 1, 9}, 3, "00000000", "01110000"},
        FlatCase{"ExactlyMinimumAtEnd", {9, 9, 9, 9, 9, 1, 1, 1}, 3, "00000000", "00000111"},
        // The threshold is exclusive: an amplitude equal to it is not flat.
        FlatCase{"ThresholdExclusive", {9, 1, 5, 1, 1, 9, 9, 9}, 2, "00000000", "00011000"},
        // Apnea marks overwrite hypopnea marks; other points keep theirs.
        FlatCase{"OverwritesOnlyTheRun", {9, 1, 1, 1, 9, 9, 9, 9}, 2, "22222222", "21112222"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlatRuns, AlignmentSpreadsExactlyTwoToEveryPresentSeries) {
  std::vector<float> a = {2.0f, 3.0f, 2.5f};
  std::vector<float> b = {9.0f, 2.0f, 2.0001f};
  Resp::AlignAmplitudeMarkers({std::span<float>(a), std::span<float>(b), std::span<float>()});
  EXPECT_EQ(a, (std::vector<float>{2.0f, 2.0f, 2.5f}));
  EXPECT_EQ(b, (std::vector<float>{2.0f, 2.0f, 2.0001f}));
}

// ---- effort judgement and classification ----------------------------------------------------

struct JudgeCase {
  const char* name;
  std::string effort;  // over the event 10..49 (40 points) and around it
  int lag;
  int minFlat;
  int expected;
};

class EffortJudgement : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(EffortJudgement, ByShareAndDistanceFromTheEnd) {
  const JudgeCase& c = GetParam();
  EXPECT_EQ(Resp::JudgeEffortFlatness(Codes(c.effort), 10, 50, c.lag, c.minFlat), c.expected);
}

std::string Effort(int flatFrom, int flatTo) {  // 60 points, flat (1) on [flatFrom, flatTo)
  std::string s(60, '0');
  for (int i = flatFrom; i < flatTo; ++i) s[static_cast<std::size_t>(i)] = '1';
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffortJudgement,
    ::testing::Values(
        // Flat 30..49: 20 of 40 points = 50 %, ends at the event's end (distance 0 < lag).
        JudgeCase{"HalfShareNearEndIsFlat", Effort(30, 50), 10, 5, 1},
        JudgeCase{"JustBelowHalfIsPresent", Effort(31, 50), 10, 5, 0},
        // Flat 10..19 only: 25 %, 30 points before the end (>= lag 10): flat at the start.
        JudgeCase{"QuarterAtStartIsMixed", Effort(10, 20), 10, 5, 2},
        JudgeCase{"BelowQuarterAtStartIsPresent", Effort(10, 19), 10, 5, 0},
        // Runs shorter than the minimum flat run do not count.
        JudgeCase{"ShortRunsIgnored", Effort(30, 50), 10, 21, 0},
        // A flat run that started before the event counts only inside it.
        JudgeCase{"RunBeforeEventClipped", Effort(0, 30), 10, 5, 2},
        JudgeCase{"NoEffortFlatness", Effort(0, 0), 10, 5, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApneaClass, TableOfEffortResults) {
  struct Row { int a, c; std::uint8_t code; };
  const Row rows[] = {{1, 1, 3}, {1, 2, 2}, {1, 0, 1}, {2, 1, 2}, {2, 2, 2}, {2, 0, 1}, {0, 1, 1}, {0, 2, 1},
                      {0, 0, 1}, {1, -1, 3}, {2, -1, 2}, {0, -1, 1}, {-1, 1, 3}, {-1, 2, 2}, {-1, 0, 1}};
  for (const Row& r : rows) EXPECT_EQ(Resp::ApneaClass(r.a, r.c), r.code) << "A=" << r.a << " C=" << r.c;
}

TEST(ClassifyRespEvents, ApneaWithOnlyAbdomenAtFiftyAndFortyNinePercent) {
  // Event 0..99 (100 points); the abdomen flat for the last 50 (or 49) points.
  const std::vector<std::uint8_t> flow(100, 1);
  for (int flat : {50, 49}) {
    std::vector<std::uint8_t> abdomen(100, 0);
    for (int i = 100 - flat; i < 100; ++i) abdomen[static_cast<std::size_t>(i)] = 1;
    std::vector<std::uint8_t> events(100, 0);
    Resp::ClassifyRespEvents(Resp::kApneaPass, flow, 40, 40, {abdomen, 40}, {}, events);
    EXPECT_EQ(events[0], flat == 50 ? kRespCentral : kRespObstructive) << flat << " flat points";
  }
}

TEST(ClassifyRespEvents, HypopneasTouchingANewApneaAreCleared) {
  // Hypopnea pass first: 2-runs (with 1s inside) of at least 3 points become 4.
  auto flow = Codes("0222111122200020000221110");
  std::vector<std::uint8_t> events(flow.size(), 0);
  events[15] = 1;  // an earlier apnea, separated from the new one by a 0 point
  Resp::ClassifyRespEvents(Resp::kHypopneaPass, flow, 3, 2, {}, {}, events);
  EXPECT_EQ(Text(events), "0444444444400001000444440");
  events[12] = events[13] = 4;  // an earlier hypopnea, separated by the 0 at 11
  // Apnea pass: runs of 1 of at least 3 points; no effort table means obstructive.
  Resp::ClassifyRespEvents(Resp::kApneaPass, flow, 3, 2, {}, {}, events);
  // The hypopnea around 4..7 is cleared on both sides, the one before 21..23 too;
  // the hypopnea at 12..13 and the apnea at 15 lie beyond a 0 point and stay.
  EXPECT_EQ(Text(events), "0000111100004401000001110");
}

TEST(ClassifyRespEvents, ShortRunsAreSkipped) {
  const auto flow = Codes("011011100");
  std::vector<std::uint8_t> events(flow.size(), 0);
  Resp::ClassifyRespEvents(Resp::kApneaPass, flow, 3, 0, {}, {}, events);
  EXPECT_EQ(Text(events), "000011100");
}

// ---- the whole run over a generated night --------------------------------------------------

// Runs of one code in the event table as [first, last] points.
struct EventRun { int first, last; std::uint8_t code; };
std::vector<EventRun> EventRuns(const std::vector<std::uint8_t>& t) {
  std::vector<EventRun> runs;
  for (int i = 0; i < static_cast<int>(t.size()); ++i) {
    if (t[static_cast<std::size_t>(i)] == 0) continue;
    if (!runs.empty() && runs.back().last == i - 1 && runs.back().code == t[static_cast<std::size_t>(i)])
      runs.back().last = i;
    else
      runs.push_back({i, i, t[static_cast<std::size_t>(i)]});
  }
  return runs;
}

TEST(RespRecognition, GeneratedNightFindsEveryEventWithItsClass) {
  const synth::Night night = synth::MakeNight(80, 7);  // 40 minutes, 14 events
  const SleepDstrbParam prm = synth::NightParam();
  synth::NightTables nt;
  nt.Load(night, prm);
  Resp(RespRecognitionSources{&prm, &nt.epochs, &nt.tables, 30, night.epochCount, &nt.respWord, {}}).Recognize();
  EXPECT_EQ(nt.respWord, 1);

  const auto runs = EventRuns(nt.tables.RespRcgnz());
  ASSERT_GE(night.resp.size(), 12u);
  for (const synth::Event& e : night.resp) {
    const int first = static_cast<int>(e.startS * 4);
    const int last = static_cast<int>(e.endS * 4) - 1;
    int covered = 0;
    for (const EventRun& r : runs)
      if (r.code == e.code) covered += std::max(0, std::min(r.last, last) - std::max(r.first, first) + 1);
    // At least 80 % of the event's points carry its class.
    EXPECT_GE(covered * 10, (last - first + 1) * 8)
        << "event at " << e.startS << " s, class " << int(e.code) << ": " << covered << " points found";
  }
  // Nothing in clean breathing: every found run lies within 3 s of a generated event.
  for (const EventRun& r : runs) {
    bool near = false;
    for (const synth::Event& e : night.resp)
      near = near || (r.first >= e.startS * 4 - 12 && r.last <= e.endS * 4 + 12);
    EXPECT_TRUE(near) << "event " << int(r.code) << " at " << r.first / 4.0 << " s .. " << r.last / 4.0 << " s";
  }
  // Peak tables: a breath every 4 s gives about one top and one bottom per breath.
  EXPECT_GT(nt.tables.AirFlowPeakTop().count, 400);
  EXPECT_EQ(nt.tables.AirFlowPPAmp().count,
            nt.tables.AirFlowPeakTop().count + nt.tables.AirFlowPeakBottom().count - 1);
}

TEST(RespRecognition, CleanBreathingHasNoEventsAndNoFlatness) {
  const synth::Night night = synth::MakeNight(60, 21, 0.0);  // no events
  ASSERT_TRUE(night.resp.empty());
  const SleepDstrbParam prm = synth::NightParam();
  synth::NightTables nt;
  nt.Load(night, prm);
  Resp(RespRecognitionSources{&prm, &nt.epochs, &nt.tables, 30, night.epochCount, &nt.respWord, {}}).Recognize();
  EXPECT_EQ(nt.respWord, 1);
  for (const auto* t : {&nt.tables.RespRcgnz(), &nt.tables.AirFlow(), &nt.tables.RespC(), &nt.tables.RespA()})
    EXPECT_EQ(std::count(t->begin(), t->end(), 0), static_cast<long>(t->size()));
}

TEST(RespRecognition, MissingInputsSkipTheRun) {
  const synth::Night night = synth::MakeNight(20, 3);
  SleepDstrbParam prm = synth::NightParam();
  prm.chest.channel = -1;
  prm.abdomen.channel = -1;
  synth::NightTables nt;
  nt.Load(night, prm);  // no effort tables
  Resp(RespRecognitionSources{&prm, &nt.epochs, &nt.tables, 30, night.epochCount, &nt.respWord, {}}).Recognize();
  EXPECT_EQ(nt.respWord, 0);
  EXPECT_TRUE(EventRuns(nt.tables.RespRcgnz()).empty());
}

}  // namespace

namespace {

TEST(RespRecognition, AFailedPeakTableLeavesItAbsentAndTheRunGoesOn) {
  const synth::Night night = synth::MakeNight(20, 9);
  const SleepDstrbParam prm = synth::NightParam();
  synth::NightTables nt;
  nt.Load(night, prm);
  std::vector<std::string> reported;
  nt.tables.SetFailureReporter([&](const std::string& m) { reported.push_back(m); });
  tablemem::FailNthAllocationForTesting(1);  // the air-flow peak-top table
  Resp(RespRecognitionSources{&prm, &nt.epochs, &nt.tables, 30, night.epochCount, &nt.respWord, {}}).Recognize();
  tablemem::FailNthAllocationForTesting(0);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0].substr(0, reported[0].find('\n')), "CQLM2_AnalyzerDoc::AllocateAirFlowPeakTopTbl");
  EXPECT_FALSE(nt.tables.AirFlowPeakTop().Exists());
  EXPECT_TRUE(nt.tables.AirFlowPeakBottom().Exists());
  EXPECT_EQ(nt.respWord, 1);
  const auto& ev = nt.tables.RespRcgnz();
  EXPECT_NE(std::count(ev.begin(), ev.end(), kRespObstructive), 0);
}

}  // namespace
