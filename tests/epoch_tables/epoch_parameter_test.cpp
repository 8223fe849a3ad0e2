#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "platform/res/resource_store.h"

namespace {

// Resets the allocation hook whatever a test does.
struct AllocationHookGuard {
  ~AllocationHookGuard() { tablemem::FailNthAllocationForTesting(0); }
};

TEST(EpochRecord, FieldsLieAtTheirStoredOffsets) {
  LyrEpochRec rec{};
  rec.stage[0] = 4;
  rec.candidate[19] = 7;
  rec.wave[kWaveDelta].durationMs = 1.0f;
  rec.wave[kWaveSpindle].count = 0x0102;
  rec.wave[kWaveBand3].count = 0x0304;
  rec.kComplex.count = 0x0506;
  rec.remsBoth = 0x0708;
  rec.emg = -2.0f;
  std::array<std::uint8_t, kEpochRecBytes> bytes{};
  StoreEpochRec(rec, bytes);

  auto f32At = [&](std::size_t at) {
    float v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[22], 7);
  EXPECT_EQ(f32At(28), 1.0f);
  EXPECT_EQ(bytes[84], 0x02);
  EXPECT_EQ(bytes[85], 0x01);
  EXPECT_EQ(bytes[144], 0x04);
  EXPECT_EQ(bytes[164], 0x06);
  EXPECT_EQ(bytes[180], 0x08);
  EXPECT_EQ(f32At(184), -2.0f);

  LyrEpochRec back = LoadEpochRec(bytes);
  EXPECT_EQ(std::memcmp(&back, &rec, kEpochRecBytes), 0);
}

TEST(EpochParameter, GetStageMergesCodesByStageType) {
  // code, then the expected code under modes 0, 1, 2, 3 and 7 ("3 and above").
  struct Row {
    std::uint8_t code, m0, m1, m2, m3, m7;
  };
  const Row rows[] = {
      {4, 4, 4, 3, 3, 3},      {5, 5, 5, 5, 3, 3},      {6, 6, 5, 5, 3, 3},
      {24, 24, 24, 23, 23, 23}, {25, 25, 25, 25, 23, 23}, {26, 26, 25, 25, 23, 23},
      {1, 1, 1, 1, 1, 1},      {3, 3, 3, 3, 3, 3},      {7, 7, 7, 7, 7, 7},
      {20, 20, 20, 20, 20, 20}, {27, 27, 27, 27, 27, 27}, {0, 0, 0, 0, 0, 0},
  };
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(1, 30, 1, 1, 1), 1);
  for (const Row& r : rows) {
    t.SetStage(0, r.code);
    const int modes[] = {0, 1, 2, 3, 7};
    const std::uint8_t expected[] = {r.m0, r.m1, r.m2, r.m3, r.m7};
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(t.GetStage(modes[i], 0, 0), expected[i]) << "code " << int(r.code) << " mode " << modes[i];
  }
}

TEST(EpochParameter, SetStageKeepsTwoPreviousCodes) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(3, 30, 2, 0, 1), 1);
  for (std::uint8_t code : {1, 2, 4}) EXPECT_EQ(t.SetStage(1, code), 1);
  EXPECT_EQ(t.GetStage(0, 1, 0), 4);
  EXPECT_EQ(t.GetStage(0, 1, 1), 2);
  EXPECT_EQ(t.GetStage(0, 1, 2), 1);
  // The same code again still shifts the history.
  t.SetStage(1, 4);
  EXPECT_EQ(t.GetStage(0, 1, 1), 4);
  EXPECT_EQ(t.GetStage(0, 1, 2), 2);
  // Neighbours untouched; out-of-range input reads 0 and writes nothing.
  EXPECT_EQ(t.GetStage(0, 0, 0), 0);
  EXPECT_EQ(t.SetStage(3, 1), 0);
  EXPECT_EQ(t.SetStage(-1, 1), 0);
  EXPECT_EQ(t.GetStage(0, 3, 0), 0);
  EXPECT_EQ(t.GetStage(0, 1, 3), 0);
  EXPECT_EQ(t.GetStage(0, 1, -1), 0);

  LyrEpochParameter empty;
  EXPECT_EQ(empty.SetStage(0, 1), 0);
  EXPECT_EQ(empty.GetStage(0, 0, 0), 0);
}

TEST(EpochParameter, FirstCandidateWinsUntilCleared) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(2, 30, 1, 1, 1), 1);
  EXPECT_EQ(t.SetCandidate(1, 5, 3), 1);
  EXPECT_EQ(t.SetCandidate(1, 5, 4), 1);
  EXPECT_EQ(t.Record(1)->candidate[5], 3);
  EXPECT_EQ(t.SetCandidate(1, 5, 0), 1);
  EXPECT_EQ(t.Record(1)->candidate[5], 0);
  EXPECT_EQ(t.SetCandidate(1, 5, 26), 1);
  EXPECT_EQ(t.SetCandidate(1, 20, 3), 0);
  EXPECT_EQ(t.SetCandidate(2, 0, 3), 0);

  std::uint8_t out[kCandidateCount];
  ASSERT_EQ(t.GetCandidates(2, 1, out), 1);
  EXPECT_EQ(out[5], 25);  // merged like GetStage
  EXPECT_EQ(out[0], 0);
  std::memset(out, 9, sizeof out);
  EXPECT_EQ(t.GetCandidates(0, 2, out), 0);
  for (std::uint8_t c : out) EXPECT_EQ(c, 0);
}

TEST(EpochParameter, EpochFlagsExistOnlyInLearningMode) {
  LyrEpochParameter plain;
  ASSERT_EQ(plain.SetNew(4, 30, 1, 1, 1, 0), 1);
  EXPECT_EQ(plain.SetEpochFlag(0, 3, 0), 0);

  LyrEpochParameter learning;
  ASSERT_EQ(learning.SetNew(4, 30, 1, 1, 1, 1), 1);
  EXPECT_EQ(learning.SetEpochFlag(2, 7, 1), 1);
  EXPECT_EQ(learning.EpochFlags(2)[1], 7);
  EXPECT_EQ(learning.SetEpochFlag(2, 7, 4), 0);
  EXPECT_EQ(learning.SetEpochFlag(4, 7, 0), 1);  // epoch N is ignored
  EXPECT_EQ(learning.EpochFlags(4), nullptr);
}

TEST(EpochParameter, ValuesPerEpochOfEachInterval) {
  struct Row {
    int (*fn)(int);
    int seconds, expected;
  };
  const Row rows[] = {
      {LyrEpochParameter::GetRprsntNumLM, 30, 300},     {LyrEpochParameter::GetRprsntNumSpO2, 30, 60},
      {LyrEpochParameter::GetRprsntNumResp, 10, 40},    {LyrEpochParameter::GetRprsntNumCPAP, 4, 16},
      {LyrEpochParameter::GetRprsntNumPosition, 5, 10}, {LyrEpochParameter::GetRprsntNumSnore, 3, 30},
      {LyrEpochParameter::GetRprsntNumArousal, 4, 40},  {LyrEpochParameter::GetRprsntNumSpO2, 5, 10},
  };
  for (const Row& r : rows) EXPECT_EQ(r.fn(r.seconds), r.expected) << r.seconds << " s";
}

TEST(EpochParameter, SetNewShapesBandAndChannelArrays) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(3, 30, 4, 0, 1), 1);
  // No band channel still gives one-entry band arrays.
  ASSERT_NE(t.BandValues(2, 11), nullptr);
  EXPECT_EQ(t.BandValues(1, 0) + 1, t.BandValues(1, 1));
  EXPECT_EQ(t.BandValues(3, 0), nullptr);
  EXPECT_EQ(t.BandValues(0, 12), nullptr);

  ASSERT_EQ(t.SetNew(3, 30, 4, 3, 1), 1);
  EXPECT_EQ(t.BandValues(0, 0) + 3, t.BandValues(0, 1));
  for (int kind : {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral, kChCoefVariation})
    ASSERT_NE(t.ChValues(2, kind), nullptr) << kind;
  EXPECT_EQ(t.ChValues(0, kChCrossCount), nullptr);
  ASSERT_NE(t.ChCrossCount(2), nullptr);
  // Arrays of neighbouring epochs and kinds do not overlap.
  t.ChValues(1, kChCoefVariation)[3] = 5.0f;
  t.ChCrossCount(1)[3] = 9;
  EXPECT_EQ(t.ChValues(2, kChMin)[0], 0.0f);
  EXPECT_EQ(t.ChValues(1, kChIntegral)[3], 0.0f);
  EXPECT_EQ(t.ChCrossCount(2)[0], 0);
}

TEST(EpochParameter, SetNewWithoutRecordsKeepsThemAcrossAGrowingCount) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(10, 30, 2, 1, 1, 1), 1);
  t.SetStage(9, 3);
  t.Record(9)->emg = 4.5f;
  t.Record(9)->wave[kWaveAlpha].count = 6;
  t.SetEpochFlag(9, 2, 3);

  ASSERT_EQ(t.SetNew(40, 30, 2, 1, 0, 1), 1);
  EXPECT_EQ(t.EpochCount(), 40);
  EXPECT_EQ(t.Records().size(), 40u);
  EXPECT_EQ(t.GetStage(0, 9, 0), 3);
  EXPECT_EQ(t.Record(9)->wave[kWaveAlpha].count, 6);
  EXPECT_EQ(t.Record(9)->emg, 0.0f);  // every SetNew clears the EMG value
  EXPECT_EQ(t.EpochFlags(9)[3], 2);
  // The new epochs are usable and start empty.
  EXPECT_EQ(t.GetStage(0, 39, 0), 0);
  EXPECT_EQ(t.SetStage(39, 1), 1);
  EXPECT_EQ(t.SetEpochFlag(39, 1, 0), 1);
  EXPECT_EQ(t.EpochFlags(39)[0], 1);

  // With records requested everything starts over.
  ASSERT_EQ(t.SetNew(40, 30, 2, 1, 1), 1);
  EXPECT_EQ(t.GetStage(0, 9, 0), 0);
  EXPECT_FALSE(t.HasEpochFlags());
}

TEST(EpochParameter, OutOfMemoryInSetNewIsReportedAndLeavesNoTables) {
  AllocationHookGuard guard;
  res::SetLanguage(res::Language::English);
  std::vector<std::string> messages;
  LyrEpochParameter t;
  t.SetFailureReporter([&](const std::string& m) { messages.push_back(m); });
  ASSERT_EQ(t.SetNew(5, 30, 2, 1, 1), 1);
  t.SetStage(1, 2);

  tablemem::FailNthAllocationForTesting(2);  // records succeed, the band arrays fail
  EXPECT_EQ(t.SetNew(8, 30, 2, 1, 0), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "LyrEpochParameter::SetNew\nFail to get memory.");
  EXPECT_EQ(t.EpochCount(), 0);
  EXPECT_FALSE(t.HasBandEntries());
  EXPECT_EQ(t.ChValues(0, kChMin), nullptr);
  EXPECT_EQ(t.GetStage(0, 1, 0), 0);
  // The records were kept (withRecords 0): a later SetNew finds them again.
  ASSERT_EQ(t.SetNew(8, 30, 2, 1, 0), 1);
  EXPECT_EQ(t.GetStage(0, 1, 0), 2);
}

TEST(EpochParameter, RepresentativeSlotsNeedTheirEntries) {
  AllocationHookGuard guard;
  std::vector<std::string> messages;
  LyrEpochParameter t;
  t.SetFailureReporter([&](const std::string& m) { messages.push_back(m); });
  ASSERT_EQ(t.SetNew(3, 30, 1, 1, 1), 1);

  t.AllocateRprsntSpO2(30);
  EXPECT_EQ(t.Rprsnt(kRprsntSpO2, 0), nullptr);  // no entries yet

  t.AllocateRprsntTable();
  t.AllocateRprsntSpO2(30);
  t.AllocateRprsntLMLeft(30);
  ASSERT_NE(t.Rprsnt(kRprsntSpO2, 2), nullptr);
  EXPECT_EQ(t.RprsntCount(kRprsntSpO2), 60);
  EXPECT_EQ(t.RprsntCount(kRprsntLMLeft), 300);
  EXPECT_EQ(t.Rprsnt(kRprsntSpO2, 0) + 60, t.Rprsnt(kRprsntSpO2, 1));
  EXPECT_EQ(t.Rprsnt(kRprsntSnore, 0), nullptr);

  t.Rprsnt(kRprsntSpO2, 1)[59] = 97.0f;
  t.AllocateRprsntSpO2(30);  // allocating again gives zeroed values
  EXPECT_EQ(t.Rprsnt(kRprsntSpO2, 1)[59], 0.0f);

  tablemem::FailNthAllocationForTesting(1);
  t.AllocateRprsntCPAP(30);
  EXPECT_EQ(t.Rprsnt(kRprsntCPAP, 0), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "LyrEpochParameter::AllocateRprsntCPAP");

  t.FreeRprsntSpO2();
  EXPECT_EQ(t.Rprsnt(kRprsntSpO2, 0), nullptr);
  EXPECT_NE(t.Rprsnt(kRprsntLMLeft, 0), nullptr);
  t.FreeRprsnt();
  EXPECT_FALSE(t.HasRprsntTable());
  EXPECT_EQ(t.Rprsnt(kRprsntLMLeft, 0), nullptr);
}

TEST(EpochParameter, ClearAllZeroesEveryTableAndKeepsIt) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(2, 30, 2, 2, 1, 1), 1);
  t.AllocateRprsntTable();
  t.AllocateRprsntAirFlow(30);
  t.SetStage(1, 5);
  t.SetCandidate(1, 0, 5);
  t.Record(1)->emg = 3.0f;
  t.SetEpochFlag(1, 1, 2);
  t.BandValues(1, 11)[1] = 2.0f;
  t.ChValues(1, kChMean)[1] = 2.0f;
  t.ChCrossCount(1)[1] = 2;
  t.Rprsnt(kRprsntAirFlow, 1)[119] = 2.0f;

  EXPECT_EQ(t.ClearAll(30), 1);
  LyrEpochRec zero{};
  EXPECT_EQ(std::memcmp(t.Record(1), &zero, sizeof zero), 0);
  EXPECT_EQ(t.EpochFlags(1)[2], 0);
  EXPECT_EQ(t.BandValues(1, 11)[1], 0.0f);
  EXPECT_EQ(t.ChValues(1, kChMean)[1], 0.0f);
  EXPECT_EQ(t.ChCrossCount(1)[1], 0);
  EXPECT_EQ(t.Rprsnt(kRprsntAirFlow, 1)[119], 0.0f);
  EXPECT_EQ(t.EpochCount(), 2);
}

TEST(EpochParameter, FreeingKeepsWhatWasAsked) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(2, 30, 2, 2, 1), 1);
  t.FreeBandValues(1);
  EXPECT_TRUE(t.HasBandEntries());
  EXPECT_EQ(t.BandValues(0, 0), nullptr);
  t.FreeAll(0);
  EXPECT_TRUE(t.HasRecords());
  EXPECT_FALSE(t.HasBandEntries());
  EXPECT_EQ(t.ChCrossCount(0), nullptr);
  t.FreeAll(1);
  EXPECT_FALSE(t.HasRecords());
}

}  // namespace
