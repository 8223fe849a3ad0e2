#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "app/document/epoch_values.h"

namespace {

constexpr double kNA = kEpochValueNotAvailable;

// Three channels, channels 0 and 2 flagged for the FFT bands, channel 1 shown in
// display mode 2; epoch 1 of 30 s holds a distinct value in every field.
class EpochValueFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(tables.SetNew(2, 30, 3, 2, 1), 1);
    LyrEpochRec& r = *tables.Record(1);
    r.wave[kWaveDelta].durationMs = 15000.0f;  // 50 % of 30 s
    r.wave[kWaveTheta].durationMs = 3000.0f;
    r.wave[kWaveAlpha].durationMs = 6000.0f;
    r.wave[kWaveSpindle].count = 4;
    r.wave[kWaveBand1].durationMs = 300.0f;
    r.wave[kWaveBand1].count = 6;
    r.wave[kWaveBand2].durationMs = 30000.0f;
    r.wave[kWaveBand2].count = 8;
    r.wave[kWaveBand3].durationMs = 1500.0f;
    r.wave[kWaveBand3].count = 10;
    r.kComplex.count = 11;
    r.remsRight = 1;
    r.remsLeft = 2;
    r.remsBoth = 12;
    r.emg = 13.5f;
    for (int entry = 0; entry < kBandEntries; ++entry) {
      tables.BandValues(1, entry)[0] = 100.0f + entry;  // channel 0
      tables.BandValues(1, entry)[1] = 200.0f + entry;  // channel 2
    }
    const int kinds[] = {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral, kChCoefVariation};
    for (int kind : kinds) tables.ChValues(1, kind)[2] = 1000.0f + kind;
    tables.ChCrossCount(1)[2] = 77;
    tables.ChCrossCount(1)[1] = 5;
    ctx.epochSeconds = 30;
    ctx.fftBandFlags = fftFlags;
    ctx.chDispModes = dispModes;
  }

  LyrEpochParameter tables;
  EpochValueContext ctx;
  std::array<std::uint16_t, 3> fftFlags{1, 0, 1};
  std::array<std::uint32_t, 3> dispModes{0, 2, 0};
};

TEST_F(EpochValueFixture, CodesReadTheirFields) {
  const struct {
    int code, channel;
    double expected;
  } rows[] = {
      {1, 0, 50.0},   {2, 0, 10.0},    {3, 0, 20.0},   {4, 0, 4},      {5, 0, 1.0},    {6, 0, 6},
      {7, 0, 100.0},  {8, 0, 8},       {9, 0, 5.0},    {10, 0, 10},    {11, 0, 11},    {12, 0, 12},
      {13, 0, 13.5},  {14, 0, 100},    {15, 0, 106},   {16, 2, 201},   {17, 2, 207},   {24, 2, 205},
      {25, 0, 111},   {26, 2, 1000},   {27, 2, 1001},  {28, 2, 1002},  {29, 2, 1004},  {30, 2, 77},
      {31, 2, 1003},  {32, 2, 1006},
  };
  for (const auto& r : rows)
    EXPECT_DOUBLE_EQ(GetEpochValue(tables, ctx, 1, r.code, r.channel), r.expected) << "code " << r.code;
}

TEST_F(EpochValueFixture, MissingValuesAreNotAvailable) {
  const struct {
    int epoch, code, channel;
  } rows[] = {
      {1, 14, 1},   // channel 1 is not an FFT-band channel
      {1, 30, 1},   // channel 1 is shown in display mode 2
      {1, 26, 3},   // beyond the channel count
      {1, 26, -1},
      {1, 0, 0},    // no such codes
      {1, 33, 0},
      {2, 1, 0},    // beyond the epochs
      {-1, 26, 0},
  };
  for (const auto& r : rows)
    EXPECT_EQ(GetEpochValue(tables, ctx, r.epoch, r.code, r.channel), kNA)
        << "epoch " << r.epoch << " code " << r.code << " channel " << r.channel;
  // A 0-s epoch length cannot give a percentage.
  EpochValueContext noLength = ctx;
  noLength.epochSeconds = 0;
  EXPECT_EQ(GetEpochValue(tables, noLength, 1, 1, 0), kNA);
  // Without tables nothing is available.
  LyrEpochParameter empty;
  EXPECT_EQ(GetEpochValue(empty, ctx, 0, 13, 0), kNA);
  EXPECT_EQ(GetEpochValue(empty, ctx, 0, 26, 0), kNA);
}

TEST(EpochValues, SelectedChannelIndexCountsFlaggedChannelsBefore) {
  const std::array<std::uint16_t, 4> flags{1, 0, 1, 1};
  EXPECT_EQ(GetSelectedChIndex(3, flags, 4), 2);
  EXPECT_EQ(GetSelectedChIndex(0, flags, 4), 0);
  EXPECT_EQ(GetSelectedChIndex(1, flags, 4), -1);
  EXPECT_EQ(GetSelectedChIndex(3, flags, 3), -1);  // not below the channel count
  EXPECT_EQ(GetSelectedChIndex(-1, flags, 4), -1);
  const std::array<std::uint16_t, 3> two{2, 1, 1};  // only 1 counts as flagged
  EXPECT_EQ(GetSelectedChIndex(2, two, 3), 1);
}

TEST(EpochValues, AvailableCodesFollowTheSettings) {
  std::vector<std::int32_t> codes{99};
  ValueCodeSources none;
  GetAvailableValueCodes(none, 1, codes);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 26, 27, 28, 29, 30, 31, 32}));
  GetAvailableValueCodes(none, 0, codes);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 13, 26, 27, 28, 29, 30, 31, 32}));

  const std::array<std::uint16_t, 3> flags{0, 1, 0};
  ValueCodeSources s;
  s.delta = 0, s.alpha = 0, s.band2 = 1, s.kComplex = 0, s.eyeR = 2, s.emg = 3;
  s.fftBandFlags = flags;
  s.fftBandCount = 2;
  GetAvailableValueCodes(s, 1, codes);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 1, 3, 7, 8, 11, 13, 14, 15, 16, 17, 26, 27, 28, 29, 30, 31, 32}));
  s.eyeL = 2;
  GetAvailableValueCodes(s, 1, codes);
  EXPECT_NE(std::find(codes.begin(), codes.end(), 12), codes.end());
}

// A stage-type block image with a recognisable first value in every record.
std::vector<std::uint8_t> StageBlock(std::uint16_t stageType, std::uint16_t freeCount) {
  std::vector<std::uint8_t> b(kStageTypeBlockBytes, 0);
  b[0] = static_cast<std::uint8_t>(stageType);
  auto put = [&](std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); };
  const std::size_t sets[4] = {4, 172, 316, 436};
  const int sizes[4] = {7, 6, 5, 4};
  for (int s = 0; s < 4; ++s)
    for (int i = 0; i < sizes[s]; ++i) {
      put(sets[s] + i * 24, 100u * (s + 1) + i);  // value 0: set and position
      put(sets[s] + i * 24 + 12, i % 2 == 0);     // value 3: every other shown
    }
  b[532] = static_cast<std::uint8_t>(freeCount);
  for (int i = 0; i < 3; ++i) {
    put(536 + i * 24, 900u + i);
    put(536 + i * 24 + 12, i != 1);
  }
  return b;
}

TEST(EpochValues, StageDetailPicksTheRecordOfTheStageType) {
  const struct {
    std::uint16_t type;
    int code;
    int found;
    std::uint32_t first;
  } rows[] = {
      {0, 24, 1, 103},  // 24 is stage 2 of the parallel set
      {0, 7, 1, 106},   {1, 5, 1, 204},  {1, 6, 0, 0},   {1, 7, 1, 205},
      {2, 4, 0, 0},     {2, 5, 1, 303},  {3, 3, 1, 402}, {3, 5, 0, 0},
      {5, 7, 1, 403},   {2, 9, 1, 901},  {0, 28, 0, 0},  {0, 0, 0, 0},
  };
  for (const auto& r : rows) {
    const auto block = StageBlock(r.type, 3);
    std::uint32_t out[6] = {};
    EXPECT_EQ(GetStageDetail(block, r.code, out), r.found) << "type " << r.type << " code " << r.code;
    EXPECT_EQ(out[0], r.first) << "type " << r.type << " code " << r.code;
  }
}

TEST(EpochValues, ShownStagesCountTheTypeAndTheFreeStagesInUse) {
  int stages = -1, extra = -1;
  // Type 0: records 0, 2, 4, 6 of seven shown; free stages 0 and 2 shown, 2 in use.
  EXPECT_EQ(GetShowStageNum(StageBlock(0, 2), stages, extra), 5);
  EXPECT_EQ(stages, 4);
  EXPECT_EQ(extra, 1);
  EXPECT_EQ(GetShowStageNum(StageBlock(3, 9), stages, extra), 4);  // at most 3 looked at
  EXPECT_EQ(stages, 2);
  EXPECT_EQ(extra, 2);
}

TEST(EpochValues, ScoredEpochsStopAtTheFirstUnscored) {
  LyrEpochParameter t;
  ASSERT_EQ(t.SetNew(5, 30, 1, 1, 1), 1);
  const std::uint8_t stages[] = {1, 2, 20, 3, 4};
  for (int e = 0; e < 5; ++e) t.SetStage(e, stages[e]);
  EXPECT_EQ(GetScoredEpochNum(t, 0), 2);
  t.SetStage(2, 22);
  EXPECT_EQ(GetScoredEpochNum(t, 3), 5);
  t.SetStage(0, 0);
  EXPECT_EQ(GetScoredEpochNum(t, 3), 0);
}

TEST(EpochValues, RecordSecondsIsTheShortestChannel) {
  const std::vector<ChannelLength> channels{{200 * 3600 + 199, 200}, {100 * 3599, 100}, {500 * 3700, 500}};
  EXPECT_EQ(GetRecordSec(channels), 3599);
  EXPECT_EQ(GetRecordSec({}), -1);
  const std::vector<ChannelLength> noRate{{1000, 100}, {1000, 0}};
  EXPECT_EQ(GetRecordSec(noRate), 0);
}

}  // namespace
