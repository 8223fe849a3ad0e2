// The page's sleep-disturbance values: representative values per point, ECG R peaks and
// the mean R-R interval on a generated ECG of known rate, arousal peaks in 0.1-s bins.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"
#include "app/raw/page_sleep_dstrb_values.h"
#include "page_fixture.h"

using namespace wavetest;

namespace {

constexpr int kEpochs = 10;

struct SleepPage {
  SleepDstrbParam param;
  LyrEpochParameter epochTables;
  SleepDstrbTables tables;
  SleepDstrbPageContext ctx;

  explicit SleepPage(int pageSeconds = 30) {
    ctx.param = &param;
    ctx.epochTables = &epochTables;
    ctx.tables = &tables;
    ctx.epochSeconds = 30;
    ctx.pageSeconds = pageSeconds;
    ctx.recordingEpochs = kEpochs;
    ctx.currentPageRow = true;
    EXPECT_EQ(epochTables.SetNew(kEpochs, 0, 16, 1, 1), 1);
    epochTables.AllocateRprsntTable();
    for (int slot = 0; slot < kRprsntSlotCount; ++slot) epochTables.AllocateRprsntSlot(slot, 30);
  }
};

// ---- Representative values ---------------------------------------------------------------

struct RprsntCase {
  int slot;
  int points;      // per 30-s epoch
  float first;     // value of point 0
  float seventh;   // value of point 7
};

// 20 Hz, the sample value is the number of its 0.25-s block: a mean per 0.25 s gives the
// block number, per 0.5 s 2k + 0.5. The deviation kinds run over a signal that is 0 but
// for one 0.1-s block of 100 (samples 14, 15): epoch mean 200 / 600, a point's sum
// 2 x |x - 1/3|.
TEST(RepresentativeValues, EveryKindPerPoint) {
  constexpr int rate = 20;
  std::vector<float> steps(30u * rate), bump(30u * rate, 0.0f);
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i] = static_cast<float>(i / 5);
  bump[14] = bump[15] = 100.0f;
  const float bumpPoint = 2 * (100.0f - 1.0f / 3), quietPoint = 2.0f / 3;
  const RprsntCase cases[] = {
      {kRprsntAirFlow, 120, 0, 7},        {kRprsntRespC, 120, 0, 7},        {kRprsntRespA, 120, 0, 7},
      {kRprsntCPAP, 120, 0, 7},           {kRprsntSpO2, 60, 0.5f, 14.5f},   {kRprsntPosition, 60, 0.5f, 14.5f},
      {kRprsntLMLeft, 300, quietPoint, bumpPoint}, {kRprsntLMRight, 300, quietPoint, bumpPoint},
      {kRprsntSnore, 300, quietPoint, bumpPoint},
  };
  SleepPage page;
  page.ctx.screening = true;
  page.param.airFlow.channel = 0;
  page.param.chest.channel = 1;
  page.param.abdomen.channel = 2;
  page.param.cpapChannel = 3;
  page.param.spo2Channel = 4;
  page.param.positionChannel = 5;
  page.param.legLeft.channel = 6;
  page.param.legRight.channel = 7;
  page.param.snore.channel = 8;
  page.ctx.pageStartSecond = 90;  // epoch 3
  for (int ch = 0; ch <= 8; ++ch)
    ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, ch, Channel(ch < 6 ? steps : bump, rate)));
  for (const RprsntCase& c : cases) {
    const float* v = page.epochTables.Rprsnt(c.slot, 3);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(page.epochTables.RprsntCount(c.slot), c.points) << "slot " << c.slot;
    EXPECT_NEAR(v[0], c.first, 1e-4) << "slot " << c.slot;
    EXPECT_NEAR(v[7], c.seventh, 1e-3) << "slot " << c.slot;
    EXPECT_EQ(page.epochTables.Rprsnt(c.slot, 2)[7], 0.0f) << "another epoch is untouched";
  }
}

TEST(RepresentativeValues, WithoutScreeningOnlySpO2OfTheCurrentRow) {
  constexpr int rate = 20;
  std::vector<float> x(30u * rate, 42.0f);
  for (bool current : {false, true}) {
    SleepPage page;
    page.ctx.screening = false;
    page.ctx.currentPageRow = current;
    page.param.airFlow.channel = 0;
    page.param.spo2Channel = 0;  // one channel in two roles
    page.epochTables.Rprsnt(kRprsntAirFlow, 0)[0] = -1.0f;
    ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 0, Channel(x, rate)));
    EXPECT_EQ(page.epochTables.Rprsnt(kRprsntAirFlow, 0)[0], -1.0f);
    EXPECT_EQ(page.epochTables.Rprsnt(kRprsntSpO2, 0)[59], current ? 42.0f : 0.0f);
  }
}

TEST(RepresentativeValues, PreviewCoversFiveNeighbourPagesEachSide) {
  constexpr int rate = 20;
  struct Case {
    int current, pageCount, expectPages, firstPage;
  };
  for (const Case c : {Case{5, 20, 11, 0}, Case{1, 20, 7, 0}, Case{8, 10, 7, 3}}) {
    SleepPage page;
    page.param.legLeft.channel = 2;
    page.param.spo2Channel = 2;  // not part of the preview
    page.ctx.recordingEpochs = 1000;
    std::vector<int> loaded;
    const int pages = CalcPreviewRepresentValues(page.ctx, 2, rate, c.current, c.pageCount,
                                                 [&](int pg, std::vector<float>& s) {
                                                   loaded.push_back(pg);
                                                   s.assign(30u * rate, 0.0f);
                                                   s[0] = 600.0f;  // mean 1: point 0 = 599 + 1
                                                   return true;
                                                 });
    EXPECT_EQ(pages, c.expectPages);
    ASSERT_EQ(int(loaded.size()), c.expectPages);
    EXPECT_EQ(loaded.front(), c.firstPage);
    if (c.current < kEpochs) {
      EXPECT_FLOAT_EQ(page.epochTables.Rprsnt(kRprsntLMLeft, c.current)[0], 600.0f);
      EXPECT_EQ(page.epochTables.Rprsnt(kRprsntSpO2, c.current)[0], 0.0f);
    }
  }
}

// ---- ECG -----------------------------------------------------------------------------------

// An ECG at 75 beats a minute (R-R 800 ms = 160 samples at 200 Hz): R waves of 120 at
// 0.5 s + k x 0.8 s, 37 in the first 30 s and 38 in the next.
std::vector<float> Ecg(int seconds, double firstS = 0.5, double rrS = 0.8) {
  std::vector<float> x = Silence(seconds);
  for (double t = firstS; t < seconds - 0.05; t += rrS) {
    const long i = std::lround(t * kRate);
    const float shape[] = {40, 80, 120, 80, 40};
    for (int k = 0; k < 5; ++k) x[std::size_t(i - 2 + k)] = shape[k];
  }
  return x;
}

void SetUpEcg(SleepPage& page) {
  page.param.ecgChannel = 3;
  page.param.ecgPeakLevel = 50;
  page.param.rWaveInvalidMs = 400;
  page.param.ecgAmplitudeMax = -1;
  page.ctx.screening = true;
  page.ctx.pageStartSecond = 120;  // epochs 4 and 5
  SleepDstrbChannels ch;
  ch.ecg = 3;
  page.tables.AllocateECGTables(ch, kEpochs, 30);
}

TEST(EcgPeaks, RPeaksAndMeanRRIntervalOfKnownRate) {
  SleepPage page(60);
  SetUpEcg(page);
  const std::vector<float> x = Ecg(60);
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 3, Channel(x)));
  const EcgRcgnzTable& list = page.tables.ECGRcgnz();
  ASSERT_EQ(list.count, 75);
  EXPECT_EQ(list.positions[0], 120 * kRate + 100);
  EXPECT_EQ(list.positions[1] - list.positions[0], 160);
  EXPECT_DOUBLE_EQ(page.tables.ECGLFHF()[4], 800.0);
  EXPECT_DOUBLE_EQ(page.tables.ECGLFHF()[5], 800.0);
}

TEST(EcgPeaks, SinglePeakEpochHasNoInterval) {
  SleepPage page(60);
  SetUpEcg(page);
  const std::vector<float> x = Ecg(60, 10.0, 40.0);  // one beat in each epoch
  page.tables.ECGLFHF()[4] = 123;
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 3, Channel(x)));
  EXPECT_EQ(page.tables.ECGRcgnz().count, 2);
  EXPECT_EQ(page.tables.ECGLFHF()[4], 0.0);
}

// The finder allows 200 peaks a second, the list 20: peaks beyond the list's end are
// neither stored nor counted, and the intervals use the listed peaks only.
TEST(EcgPeaks, ListStopsAtItsCapacity) {
  SleepPage page(60);
  SetUpEcg(page);
  page.tables.ECGRcgnz().positions.assign(40, 0);
  const std::vector<float> x = Ecg(60);
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 3, Channel(x)));
  EXPECT_EQ(page.tables.ECGRcgnz().count, 40);
  // 37 from epoch 4, then the first three of epoch 5: the last at 0.5 + 39 x 0.8 = 31.7 s.
  EXPECT_EQ(page.tables.ECGRcgnz().positions[39], 120 * kRate + 6340);
  EXPECT_DOUBLE_EQ(page.tables.ECGLFHF()[4], 800.0);
  EXPECT_DOUBLE_EQ(page.tables.ECGLFHF()[5], 800.0);  // from its 3 listed peaks

  // Not screening: ticks only, nothing written.
  SleepPage quiet(60);
  SetUpEcg(quiet);
  quiet.ctx.screening = false;
  ASSERT_TRUE(WaveFormRespirationTransaction(quiet.ctx, 3, Channel(x)));
  EXPECT_EQ(quiet.tables.ECGRcgnz().count, 0);
}

// ---- Arousal -------------------------------------------------------------------------------

void SetUpArousal(SleepPage& page) {
  page.param.arousal.channel = 1;
  page.param.arousal.values[0] = 20;  // peak level
  page.ctx.screening = true;
  page.ctx.pageStartSecond = 120;
  SleepDstrbChannels ch;
  ch.arousal = 1;
  page.tables.AllocateArousalTables(ch, kEpochs * 300);
  page.tables.AllocateArousalPageTbl(ch, 30, 60);
}

TEST(ArousalPeaks, PeaksPerTenthOfASecond) {
  for (bool pageMode : {false, true}) {
    SleepPage page(60);
    SetUpArousal(page);
    page.ctx.arousalPageMode = pageMode;
    int runs = 0;
    page.ctx.recognizeArousal = [&](const SleepDstrbPageContext&) { ++runs; };
    std::vector<float> x = Silence(60);
    AddSine(x, 40.0, 10, 10, 50);  // one peak in each 0.1 s of 40.0 .. 41.0 s
    AddSine(x, 50.0, 20, 2, 50);   // two in each 0.1 s of 50.0 .. 50.1 s
    ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 1, Channel(x)));
    const std::vector<std::uint8_t>& bins = page.tables.ArousalPeakNum();
    const std::size_t base = pageMode ? 0 : 1200;  // bins of 0.1 s from the page or recording start
    EXPECT_EQ(bins[base + 400], 1) << "page mode " << pageMode;
    EXPECT_EQ(bins[base + 409], 1);
    EXPECT_EQ(bins[base + 410], 0);
    EXPECT_EQ(bins[base + 500], 2);
    EXPECT_EQ(page.tables.ArousalPageCount(), 12);
    EXPECT_EQ(page.tables.ArousalPageTbl().Get(0), std::uint32_t(120 * kRate + 40 * kRate + 5));
    EXPECT_EQ(runs, 1) << "the page's last epoch held peaks";
  }
}

TEST(ArousalPeaks, RecogniserRunsOnlyWhenTheLastEpochHasPeaks) {
  SleepPage page(60);
    SetUpArousal(page);
  int runs = 0;
  page.ctx.recognizeArousal = [&](const SleepDstrbPageContext&) { ++runs; };
  std::vector<float> x = Silence(60);
  AddSine(x, 10.0, 10, 10, 50);  // first epoch only
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 1, Channel(x)));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(page.tables.ArousalPageCount(), 10);

  // The recording ends inside the page: its last epoch closes the page.
  page.ctx.recordingEpochs = 5;
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 1, Channel(x)));
  EXPECT_EQ(runs, 1);
}

// A list that is nearly full takes what fits; the bins still count every peak.
TEST(ArousalPeaks, ListStopsAtItsCapacity) {
  SleepPage page(60);
  SetUpArousal(page);
  const std::int32_t capacity = static_cast<std::int32_t>(page.tables.ArousalPageTbl().Count());
  page.tables.ArousalPageCount() = capacity - 4;
  std::vector<float> x = Silence(60);
  AddSine(x, 40.0, 10, 10, 50);
  ASSERT_TRUE(WaveFormRespirationTransaction(page.ctx, 1, Channel(x)));
  EXPECT_EQ(page.tables.ArousalPageCount(), capacity);
  EXPECT_EQ(page.tables.ArousalPageTbl().Get(std::size_t(capacity) - 1), std::uint32_t(120 * kRate + 40 * kRate + 65));
  EXPECT_EQ(page.tables.ArousalPeakNum()[1200 + 409], 1);
}

}  // namespace
