// Per-epoch trend values of a graph's item, on a document whose tables the test fills:
// 4-s epochs (16 respiration slots of 0.25 s, 8 SpO2 and position samples of 0.5 s).
#include <gtest/gtest.h>

#include <cfloat>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_values.h"

namespace {

constexpr int kEpochs = 20;
constexpr int kSlots = 16;  // 4 s / 0.25 s

class TrendValuesTest : public testing::Test {
 protected:
  void SetUp() override {
    savedEpoch_ = EpochSeconds;
    savedItems_ = TrendItem;
    EpochSeconds = 4;
    doc_.RecordSeconds = kEpochs * 4;
    doc_.RecordInfo.channelCount = 3;
    values_ = LyrTrendGraphValues(&doc_, 0);
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    TrendItem = savedItems_;
    ScreeningRunning = 0;
  }
  void SetItem(int category, int sub, int third = 0) {
    TrendItem.category[0] = static_cast<std::uint16_t>(category);
    TrendItem.subItem[0] = static_cast<std::uint16_t>(sub);
    TrendItem.third[0] = static_cast<std::uint16_t>(third);
  }
  // Marks slots [from, to) of the respiration table with a code.
  void Resp(int from, int to, std::uint8_t code) {
    auto& t = doc_.RecognitionTables.RespRcgnz();
    if (t.empty()) t.assign(kEpochs * kSlots, 0);
    for (int i = from; i < to; ++i) t[static_cast<std::size_t>(i)] = code;
  }

  CQLM2_AnalyzerDoc doc_;
  LyrTrendGraphValues values_;
  std::int32_t savedEpoch_ = 0;
  TrendItemTable savedItems_;
};

TEST_F(TrendValuesTest, ApneaSecondsBelongToTheEpochWhereTheEventEnds) {
  SetItem(11, 0);  // obstructive
  Resp(4 * kSlots + 4, 5 * kSlots + 8, kRespObstructive);  // last 3 s of epoch 4, first 2 s of 5
  TrendValue v = values_.GetTrendValue(4);
  EXPECT_EQ(v.isFloat, 1);
  EXPECT_FLOAT_EQ(v.floatValue, 0.0f);
  EXPECT_FLOAT_EQ(values_.GetTrendValue(5).floatValue, 5.0f);
  // Epoch 8 lies wholly inside an event from 7 to 10: nothing there.
  Resp(7 * kSlots + 8, 10 * kSlots + 4, kRespObstructive);
  EXPECT_FLOAT_EQ(values_.GetTrendValue(8).floatValue, 0.0f);
  EXPECT_FLOAT_EQ(values_.GetTrendValue(10).floatValue, (8 + 32 + 4) * 0.25f);
  // Two events in one epoch add up; another code is not counted.
  Resp(12 * kSlots + 1, 12 * kSlots + 5, kRespObstructive);
  Resp(12 * kSlots + 8, 12 * kSlots + 14, kRespObstructive);
  Resp(12 * kSlots + 14, 12 * kSlots + 16, kRespCentral);
  EXPECT_FLOAT_EQ(values_.GetTrendValue(12).floatValue, 2.5f);
  int count = 0;
  EXPECT_FLOAT_EQ(values_.GetApneaValue(11, 1, 12, &count).floatValue, 0.5f);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(values_.GetApneaValue(12, 1, 12).IsNone()) << "hypopnea has one sub-item";
}

TEST_F(TrendValuesTest, HeartRateAndLfHfBlocks) {
  auto& t = doc_.RecognitionTables;
  t.ECGLFHF().assign(kEpochs, 0.0);
  t.ECGLFHF()[2] = 500.0;
  SetItem(13, 0);
  TrendValue hr = values_.GetTrendValue(1);
  EXPECT_EQ(hr.isFloat, 1);
  EXPECT_FLOAT_EQ(hr.floatValue, 0.0f) << "interval 0";
  EXPECT_FLOAT_EQ(values_.GetTrendValue(2).floatValue, 120.0f);
  // LF/HF blocks of 8 s = 2 epochs; epoch 5 is in block 2 of 20 x 4 / 8 = 10.
  SleepDstrbChannels ch;
  ch.ecg = 0;
  t.AllocateRcgnzSleepDstrbECGLFHF(ch, kEpochs, 4, 8);
  ASSERT_EQ(t.ECGLFHFCount(), 10);
  std::fill(t.ECGLF().begin(), t.ECGLF().end(), 1.0);
  std::fill(t.ECGHF().begin(), t.ECGHF().end(), 4.0);
  t.ECGLF()[2] = 3.0;
  doc_.Params.sleepDstrb.lfhfTimeS = 8;
  EXPECT_FLOAT_EQ(values_.GetECGValue(2, 5).floatValue, 0.0f) << "no R peaks";
  t.ECGRcgnz().positions.assign(10, 0);
  t.ECGRcgnz().count = 5;
  EXPECT_FLOAT_EQ(values_.GetECGValue(2, 5).floatValue, 3.0f);
  EXPECT_FLOAT_EQ(values_.GetECGValue(3, 5).floatValue, 4.0f);
  EXPECT_FLOAT_EQ(values_.GetECGValue(4, 5).floatValue, 0.75f);
  ScreeningRunning = 1;
  EXPECT_FLOAT_EQ(values_.GetECGValue(2, 5).floatValue, 0.0f) << "not while a run scores";
  ScreeningRunning = 0;
  // A block shorter than an epoch has no value at all.
  doc_.Params.sleepDstrb.lfhfTimeS = 2;
  EXPECT_TRUE(values_.GetECGValue(2, 5).IsNone());
}

TEST_F(TrendValuesTest, LevelsSkipMissingSamples) {
  doc_.EpochTables.SetNew(kEpochs, 4, 3, 1, 1);
  doc_.EpochTables.AllocateRprsntTable();
  doc_.EpochTables.AllocateRprsntSpO2(4);
  doc_.Params.sleepDstrb.spo2Channel = 1;
  float* s = doc_.EpochTables.Rprsnt(kRprsntSpO2, 3);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(doc_.EpochTables.RprsntCount(kRprsntSpO2), 8);
  const float samples[8] = {90, FLT_MAX, 94, FLT_MAX, 92, FLT_MAX, 96, FLT_MAX};
  std::copy(samples, samples + 8, s);
  EXPECT_FLOAT_EQ(values_.GetSpO2Value(0, 3).floatValue, 96.0f);
  EXPECT_FLOAT_EQ(values_.GetSpO2Value(1, 3).floatValue, 90.0f);
  EXPECT_FLOAT_EQ(values_.GetSpO2Value(2, 3).floatValue, 93.0f) << "mean of the valid samples";
  std::fill(s, s + 8, FLT_MAX);
  for (int sub = 0; sub < 3; ++sub) EXPECT_TRUE(values_.GetSpO2Value(sub, 3).IsNone()) << sub;
  doc_.Params.sleepDstrb.spo2Channel = -1;
  EXPECT_TRUE(values_.GetSpO2Value(0, 4).IsNone());
}

TEST_F(TrendValuesTest, MainPositionAndItsEdges) {
  doc_.EpochTables.SetNew(kEpochs, 4, 3, 1, 1);
  doc_.EpochTables.AllocateRprsntTable();
  doc_.EpochTables.AllocateRprsntPosition(4);
  auto& p = doc_.Params.sleepDstrb;
  EXPECT_EQ(values_.GetMainPositionValue(0).value, -1) << "no position channel";
  p.positionChannel = 2;
  p.positionsInUse = 3;
  p.positions[0].from = 0, p.positions[0].to = 1;
  p.positions[1].from = 1, p.positions[1].to = 2;
  p.positions[2].from = 2, p.positions[2].to = 3;
  float* s = doc_.EpochTables.Rprsnt(kRprsntPosition, 2);
  const float samples[8] = {1.5f, 2.5f, 2.5f, 1.5f, 0.5f, 2.2f, 9, 9};
  std::copy(samples, samples + 8, s);
  EXPECT_EQ(values_.GetMainPositionValue(2).value, 3);
  std::fill(s, s + 8, 9.0f);
  EXPECT_EQ(values_.GetMainPositionValue(2).value, 0) << "no sample in any class";
  p.positionsInUse = 0;
  EXPECT_EQ(values_.GetMainPositionValue(2).value, 0);
}

TEST_F(TrendValuesTest, FreeAndFftChannelsAndBreathIntervals) {
  doc_.EpochTables.SetNew(kEpochs, 4, 3, 1, 1);
  doc_.Params.fftBand.channelSwitch[1] = 1;
  if (float* band = doc_.EpochTables.BandValues(6, 7)) band[0] = 12.5f;
  if (float* mins = doc_.EpochTables.ChValues(6, kChMin)) mins[2] = -3.0f;
  if (std::uint16_t* cross = doc_.EpochTables.ChCrossCount(6)) cross[2] = 41;
  EXPECT_FLOAT_EQ(values_.GetFFTBandValue(7, 1, 6).floatValue, 12.5f);
  EXPECT_TRUE(values_.GetFFTBandValue(7, 0, 6).IsNone()) << "channel not marked for FFT";
  EXPECT_TRUE(values_.GetFFTBandValue(7, 5, 6).IsNone()) << "channel past the recording's";
  const TrendValue cross = values_.GetFreeTrendValue(kChCrossCount, 2, 6);
  EXPECT_EQ(cross.isFloat, 0);
  EXPECT_EQ(cross.value, 41);
  const TrendValue min = values_.GetFreeTrendValue(kChMin, 2, 6);
  EXPECT_EQ(min.isFloat, 1);
  EXPECT_FLOAT_EQ(min.floatValue, -3.0f);
  EXPECT_TRUE(values_.GetFreeTrendValue(kChMin, 3, 6).IsNone());
  // Breaths (every second entry) at 0.25-s points 66, 70, 74: epoch 4 = points 64..79.
  auto& list = doc_.RecognitionTables.AirFlowPPAmp();
  list.entries = {{66, 1}, {68, 0}, {70, 3}, {72, 0}, {74, 5}, {76, 0}};
  list.count = 6;
  EXPECT_FLOAT_EQ(values_.GetRespIntervalValue(14, 3, 4).floatValue, 1.0f) << "the first breath has no interval";
  EXPECT_FLOAT_EQ(values_.GetRespIntervalValue(14, 5, 4).floatValue, 60.0f);
  list.entries = {{66, 1}, {68, 0}};
  list.count = 2;
  EXPECT_FLOAT_EQ(values_.GetRespIntervalValue(14, 3, 4).floatValue, 0.0f);
}

TEST_F(TrendValuesTest, RunningRangeWidensWithEveryValueAskedFor) {
  SetItem(0, 0);
  values_.GetTrendValue(3);
  EXPECT_FLOAT_EQ(values_.RunningMax(), 0.0f);
  EXPECT_FLOAT_EQ(values_.RunningMin(), 0.0f);
  SetItem(13, 0);
  doc_.RecognitionTables.ECGLFHF().assign(kEpochs, 1000.0);
  values_.GetTrendValue(1);
  EXPECT_FLOAT_EQ(values_.RunningMax(), 60.0f);
  EXPECT_FLOAT_EQ(values_.RunningMin(), 0.0f);
  EXPECT_TRUE(values_.GetTrendValue(kEpochs).IsNone()) << "past the last epoch";
  values_.ResetRange();
  EXPECT_EQ(values_.RunningMax(), -FLT_MAX);
}

}  // namespace
