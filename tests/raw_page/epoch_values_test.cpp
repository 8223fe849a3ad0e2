// Per-epoch values of a page computed without a window, from a page buffer of known
// content: band powers against the transform's theory, amplitude statistics against
// closed forms, the document's tables during a screening batch, the over-threshold test,
// the mark triggers, and failures told once per page or once per batch.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/raw/page_epoch_values.h"

namespace {

constexpr int kRate = 128;
constexpr double kPi = std::numbers::pi;

class PageEpochValuesTest : public ::testing::Test {
 protected:
  // Two channels of 128 Hz, 8-s epochs, 16-s pages (E = 2); the current page is page 3,
  // so the middle row holds epochs F = 6 and 7 of a 20-epoch recording.
  void SetUp() override {
    doc_.RecordInfo.channelCount = 2;
    doc_.RecordSeconds = 160;
    doc_.CurrentPage = 3;
    for (int c = 0; c < 2; ++c) doc_.ChInfo[c].rate = kRate;
    FFTBandParam& fft = doc_.Params.fftBand;
    fft.channelSwitch.fill(0);
    fft.channelSwitch[0] = 1;
    fft.fftPoints = 256;
    fft.averagingCount = 4;  // 4 x 256 = one epoch of 1,024 samples
    fft.windowType = 0;
    fft.unit = 0;
    fft.bandCount = 3;
    fft.bands[0].fromHz = 0.5;
    fft.bands[0].toHz = 4.0;
    fft.bands[1].fromHz = 8.0;
    fft.bands[1].toHz = 12.0;
    fft.bands[2].fromHz = 12.0;
    fft.bands[2].toHz = 30.0;
    fft.contentRange = 0;
    span_ = static_cast<std::size_t>(kRate) * 16 + 1;
    page_.assign(2 * span_, 0.0f);
    bands_.assign(2, EpochBandBlock{});
    stats_.assign(2, EpochChannelStatsRecord{});
  }

  PageEpochValues Values(bool screening = false) {
    PageEpochValues p;
    p.doc = &doc_;
    p.page = page_;
    p.rowIndex = 2;
    p.screening = screening;
    p.epochSeconds = 8;
    p.pageSeconds = 16;
    p.bandRecords = bands_.data();
    p.statRecords = stats_.data();
    p.recordCount = bands_.size();
    p.report = [this](const std::string& text) { reports_.push_back(text); };
    return p;
  }

  float& Sample(int channel, std::size_t i) { return page_[static_cast<std::size_t>(channel) * span_ + i]; }
  // A sine over the first epoch of a channel (epoch 1 stays 0).
  void SineInFirstEpoch(int channel, double amplitude, double hz) {
    for (std::size_t i = 0; i < 1024; ++i) Sample(channel, i) = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / kRate));
  }

  CQLM2_AnalyzerDoc doc_;
  std::size_t span_ = 0;
  std::vector<float> page_;
  std::vector<EpochBandBlock> bands_;
  std::vector<EpochChannelStatsRecord> stats_;
  std::vector<std::string> reports_;
};

// Rectangular window, a sine of amplitude A exactly on bin k0 of N points at fs:
// |X(k0)| = A N / 2, so the one-sided density 2 |X|^2 / (N fs) = A^2 N / (2 fs).
double SineBinPower(double amplitude, int points, int rate) { return amplitude * amplitude * points / (2.0 * rate); }

TEST_F(PageEpochValuesTest, TenHertzSineLandsInItsBandAndTheSilentEpochStaysZero) {
  SineInFirstEpoch(0, 10.0, 10.0);
  PageEpochValues p = Values();
  ASSERT_EQ(CalcPageEpochValues(p), 1);
  // 256 points at 128 Hz: A^2 x 256 / 256 = 100 in the 8-12 Hz band, nothing elsewhere.
  const double expected = SineBinPower(10.0, 256, kRate);
  EXPECT_NEAR(bands_[0].value[1][0], expected, expected * 1e-3);
  EXPECT_NEAR(bands_[0].value[0][0], 0.0, 1e-3);
  EXPECT_NEAR(bands_[0].value[2][0], 0.0, 1e-3);
  EXPECT_NEAR(bands_[0].value[7][0], 100.0, 1e-3) << "percent of the alpha band";
  EXPECT_NEAR(bands_[0].value[6][0], 0.0, 1e-3);
  // Epoch 1 holds only zeros: total 0, every percentage 0.
  for (int b = 0; b < 12; ++b) EXPECT_EQ(bands_[1].value[b][0], 0.0f) << "entry " << b;
  // Channel 1 has no spectrum switch: its slots are untouched.
  EXPECT_EQ(bands_[0].value[1][1], 0.0f);
}

TEST_F(PageEpochValuesTest, SegmentsBeyondTheEpochArePaddedWithZeros) {
  SineInFirstEpoch(0, 10.0, 10.0);
  doc_.Params.fftBand.averagingCount = 8;  // 8 x 256 = 2,048 > 1,024: four empty segments
  PageEpochValues p = Values();
  CalcPageEpochValues(p);
  const double expected = SineBinPower(10.0, 256, kRate) / 2.0;
  EXPECT_NEAR(bands_[0].value[1][0], expected, expected * 1e-3);
}

TEST_F(PageEpochValuesTest, BandEdgeBinBelongsToTheBandStartingThere) {
  // 512 points at 128 Hz: bins every 0.25 Hz; 0.5-2.0 Hz sums bins 2..7, bin 8 (2.0 Hz)
  // belongs to 2.0-4.0 Hz.
  FFTBandParam& fft = doc_.Params.fftBand;
  fft.fftPoints = 512;
  fft.averagingCount = 2;
  fft.bandCount = 2;
  fft.bands[0].fromHz = 0.5;
  fft.bands[0].toHz = 2.0;
  fft.bands[1].fromHz = 2.0;
  fft.bands[1].toHz = 4.0;
  SineInFirstEpoch(0, 3.0, 2.0);
  PageEpochValues p = Values();
  CalcPageEpochValues(p);
  const double expected = SineBinPower(3.0, 512, kRate);  // 9 x 512 / 256 = 18
  EXPECT_NEAR(bands_[0].value[0][0], 0.0, 1e-3);
  EXPECT_NEAR(bands_[0].value[1][0], expected, expected * 1e-3);
}

TEST_F(PageEpochValuesTest, ExplicitTotalRangeGivesTheShareOfThatRange) {
  // Two sines of equal amplitude at 2 and 10 Hz; the total counts 0.25-13 Hz: both.
  for (std::size_t i = 0; i < 1024; ++i) {
    Sample(0, i) = static_cast<float>(4.0 * std::sin(2 * kPi * 2.0 * i / kRate) + 4.0 * std::sin(2 * kPi * 10.0 * i / kRate));
  }
  FFTBandParam& fft = doc_.Params.fftBand;
  fft.bandCount = 1;
  fft.bands[0].fromHz = 8.0;
  fft.bands[0].toHz = 12.0;
  fft.contentRange = 1;
  fft.optionalFromHz = 0.25f;
  fft.optionalToHz = 13.0f;
  PageEpochValues p = Values();
  CalcPageEpochValues(p);
  EXPECT_NEAR(bands_[0].value[6][0], 50.0, 0.01);
}

TEST_F(PageEpochValuesTest, AmplitudeStatisticsOfAKnownSine) {
  // 1 Hz sine of amplitude 50 in epoch 0 of channel 1 (128 samples a period, peaks sampled).
  SineInFirstEpoch(1, 50.0, 1.0);
  doc_.Params.chDispMode.entries[1].mode = 1;  // upward crossings of 10
  doc_.Params.chDispMode.entries[1].value = std::bit_cast<std::uint32_t>(10.0f);
  PageEpochValues p = Values();
  CalcPageEpochValues(p);
  const EpochChannelStatsRecord& r = stats_[0];
  EXPECT_FLOAT_EQ(r.minimum[1], -50.0f);
  EXPECT_FLOAT_EQ(r.maximum[1], 50.0f);
  EXPECT_NEAR(r.mean[1], 0.0, 1e-3);
  EXPECT_FLOAT_EQ(r.absMaximum[1], 50.0f);
  // Area of |x| over 8 s in unit x ms: 8,000 ms x mean |x| = 8,000 x 2 x 50 / pi = 254,648.
  EXPECT_NEAR(r.integral[1], 8000.0 * 2 * 50 / kPi, 254648.0 * 2e-3);
  EXPECT_EQ(r.crossCount[1], 8);  // one upward crossing of 10 per period
  // |sin|: mean 2A/pi, deviation A sqrt(1/2 - 4/pi^2): CV = 48.34 % (128 samples a period
  // put the sampled mean 0.02 % lower, the CV about 0.05 higher).
  EXPECT_NEAR(r.cvPercent[1], 100.0 * std::sqrt(0.5 - 4 / (kPi * kPi)) / (2 / kPi), 0.1);
  // The silent epoch: no crossings, CV 0, min = max = 0.
  EXPECT_EQ(stats_[1].crossCount[1], 0);
  EXPECT_EQ(stats_[1].cvPercent[1], 0.0f);
  EXPECT_EQ(stats_[1].minimum[1], 0.0f);
  EXPECT_EQ(stats_[1].maximum[1], 0.0f);
}

TEST_F(PageEpochValuesTest, CrossingModesCountTheirDirectionOnly) {
  SineInFirstEpoch(1, 50.0, 10.0 / 8.0);  // 10 periods in the 8-s epoch
  struct Case {
    std::uint32_t mode;
    int expected;
  };
  for (const Case c : {Case{1, 10}, Case{0, 10}, Case{2, 0}, Case{7, 0}}) {
    doc_.Params.chDispMode.entries[1].mode = c.mode;
    doc_.Params.chDispMode.entries[1].value = std::bit_cast<std::uint32_t>(20.0f);
    PageEpochValues p = Values();
    CalcPageEpochValues(p);
    EXPECT_EQ(stats_[0].crossCount[1], c.expected) << "mode " << c.mode;
  }
}

TEST_F(PageEpochValuesTest, ScreeningAlsoWritesTheDocumentTablesByEpochNumber) {
  ASSERT_EQ(doc_.EpochTables.SetNew(20, 0, 2, 1, 1), 1);
  SineInFirstEpoch(0, 10.0, 10.0);
  SineInFirstEpoch(1, 50.0, 1.0);
  PageEpochValues p = Values(true);
  CalcPageEpochValues(p);
  // Page 3 starts at epoch 6; channel 0 is the first spectrum channel (slot 0).
  const float* alpha = doc_.EpochTables.BandValues(6, 1);
  const float* alphaPercent = doc_.EpochTables.BandValues(6, 7);
  ASSERT_NE(alpha, nullptr);
  EXPECT_NEAR(alpha[0], SineBinPower(10.0, 256, kRate), 0.1);
  EXPECT_NEAR(alphaPercent[0], 100.0, 1e-3);
  EXPECT_FLOAT_EQ(doc_.EpochTables.ChValues(6, kChMax)[1], 50.0f);
  EXPECT_FLOAT_EQ(doc_.EpochTables.ChValues(6, kChAbsMax)[1], 50.0f);
  EXPECT_EQ(doc_.EpochTables.ChValues(7, kChMax)[1], 0.0f);
  // Outside a batch the tables are left alone.
  ASSERT_EQ(doc_.EpochTables.ClearAll(8), 1);
  PageEpochValues q = Values(false);
  CalcPageEpochValues(q);
  EXPECT_EQ(doc_.EpochTables.BandValues(6, 1)[0], 0.0f);
  EXPECT_EQ(doc_.EpochTables.ChValues(6, kChMax)[1], 0.0f);
}

TEST_F(PageEpochValuesTest, OnlyTheMiddleRowAndEpochsInsideTheRecordingAreComputed) {
  SineInFirstEpoch(1, 50.0, 1.0);
  PageEpochValues side = Values();
  side.rowIndex = 1;
  CalcPageEpochValues(side);
  EXPECT_EQ(stats_[0].maximum[1], 0.0f);
  // The last page: the recording ends after epoch 6 (F = 6, N = 7); epoch 7's record keeps
  // its previous values.
  doc_.RecordSeconds = 56;
  stats_[1].maximum[1] = 123.0f;
  PageEpochValues last = Values();
  CalcPageEpochValues(last);
  EXPECT_FLOAT_EQ(stats_[0].maximum[1], 50.0f);
  EXPECT_FLOAT_EQ(stats_[1].maximum[1], 123.0f);
}

TEST_F(PageEpochValuesTest, EpochOverThreshold) {
  Sample(0, 100) = 40.0f;          // epoch 0, channel 0
  Sample(1, 1024 + 5) = -60.0f;    // epoch 1, channel 1
  struct Case {
    const char* name;
    std::uint32_t switch0, switch1;
    float level0, level1;
    int row;
    std::int32_t recordSeconds;
    int k;
    int expected;
  };
  const Case cases[] = {
      {"switches off", 0, 0, 10, 10, 2, 160, 0, 0},
      {"channel 0 above its level", 1, 0, 39.9f, 10, 2, 160, 0, 1},
      {"exactly at the level is not above", 1, 0, 40, 10, 2, 160, 0, 0},
      {"negative sample counts by its size", 0, 1, 10, 59, 2, 160, 1, 1},
      {"another epoch's samples do not count", 0, 1, 10, 59, 2, 160, 0, 0},
      {"switch word of 16 bits", 0x10000, 0, 10, 10, 2, 160, 0, 0},
      {"not the middle row", 1, 1, 1, 1, 1, 160, 0, 0},
      {"epoch beyond the recording", 0, 1, 10, 1, 2, 56, 1, 0},
      {"index beyond the page", 1, 1, 1, 1, 2, 160, 2, 0},
  };
  for (const Case& c : cases) {
    doc_.Params.chDispScale.entries[0] = {c.switch0, c.level0};
    doc_.Params.chDispScale.entries[1] = {c.switch1, c.level1};
    doc_.RecordSeconds = c.recordSeconds;
    PageEpochValues p = Values();
    p.rowIndex = c.row;
    EXPECT_EQ(IsEpochOverThreshold(p, c.k), c.expected) << c.name;
  }
}

TEST_F(PageEpochValuesTest, MarkTriggerRuns) {
  struct Run {
    float start, end;
  };
  struct Case {
    const char* name;
    std::uint16_t direction;
    float level;
    std::int32_t recordSeconds;  // capacity of the run lists
    int expectedCount;
    std::vector<Run> runs;
    int open;      // a run left open at the page end
    int overflow;
  };
  // Channel 1: 1.0 over samples 128..255 (1-2 s) and 640..767 (5-6 s) of epoch 0, and from
  // sample 1,024 + 896 (15 s) to the page end; 0 elsewhere. Page 3 starts at 48 s.
  for (std::size_t i = 128; i < 256; ++i) Sample(1, i) = 1.0f;
  for (std::size_t i = 640; i < 768; ++i) Sample(1, i) = 1.0f;
  for (std::size_t i = 1024 + 896; i < 2048; ++i) Sample(1, i) = 1.0f;
  const std::vector<Case> cases = {
      {"upward: at or above the level", 1, 1.0f, 160, 2, {{49, 50}, {53, 54}}, 1, 0},
      {"downward: at or below the level", 0, 0.5f, 160, 3, {{48, 49}, {50, 53}, {54, 63}}, 0, 0},
      {"full list drops runs and flags", 1, 1.0f, 1, 1, {{49, 50}}, 0, 1},
  };
  for (const Case& c : cases) {
    doc_.RecordSeconds = c.recordSeconds;
    ASSERT_EQ(doc_.Marks.AllocateMark(c.recordSeconds), 1);
    MarkTypeParam& param = doc_.Params.markType;
    param.items[3].triggerDetect = 1;
    param.items[3].triggerChannel = 1;
    param.items[3].direction = c.direction;
    param.items[3].triggerLevel = c.level;
    // Counted only inside the recording: 160 s is 20 epochs, 1 s leaves none, so use the
    // page's epochs with a long recording and a small list.
    if (c.recordSeconds < 16) doc_.RecordSeconds = 160;
    PageEpochValues p = Values(true);
    CalcPageEpochValues(p);
    ASSERT_EQ(doc_.Marks.Count(3), c.expectedCount) << c.name;
    for (std::size_t r = 0; r < c.runs.size(); ++r) {
      EXPECT_FLOAT_EQ(doc_.Marks.Start(3)[r], c.runs[r].start) << c.name << " run " << r;
      EXPECT_FLOAT_EQ(doc_.Marks.End(3)[r], c.runs[r].end) << c.name << " run " << r;
    }
    EXPECT_EQ(doc_.Marks.RunOpen(3), c.open) << c.name;
    EXPECT_EQ(doc_.Marks.Overflow(3), c.overflow) << c.name;
    EXPECT_EQ(doc_.Marks.OverflowAll(), c.overflow) << c.name;
    EXPECT_EQ(doc_.Marks.Count(2), 0) << c.name << ": other types stay empty";
  }
  // Outside a screening batch no trigger is searched.
  ASSERT_EQ(doc_.Marks.AllocateMark(160), 1);
  PageEpochValues idle = Values(false);
  CalcPageEpochValues(idle);
  EXPECT_EQ(doc_.Marks.Count(3), 0);
  EXPECT_EQ(doc_.Marks.RunOpen(3), 0);
}

TEST_F(PageEpochValuesTest, ClosedTriggerRunsShowInTheMarkFlags) {
  for (std::size_t i = 128; i < 256; ++i) Sample(1, i) = 1.0f;
  ASSERT_EQ(doc_.Marks.AllocateMark(160), 1);
  MarkTypeParam::Item& item = doc_.Params.markType.items[0];
  item.triggerDetect = 1;
  item.triggerChannel = 1;
  item.direction = 1;
  item.triggerLevel = 0.5f;
  PageEpochValues p = Values(true);
  CalcPageEpochValues(p);
  const std::uint8_t* flags = doc_.Marks.Flags(0);
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(flags[489], 0);  // 48.9 s
  EXPECT_EQ(flags[490], 1);  // 49.0 s .. 49.9 s
  EXPECT_EQ(flags[499], 1);
  EXPECT_EQ(flags[500], 0);
}

TEST_F(PageEpochValuesTest, FailuresAreToldOncePerPageAndOncePerBatch) {
  doc_.Params.fftBand.fftPoints = 100;  // not a power of two: the transform cannot be set up
  doc_.Params.fftBand.channelSwitch[1] = 1;
  Sample(0, 5) = 7.0f;
  PageEpochValues page = Values(false);
  EXPECT_EQ(CalcPageEpochValues(page), 0);
  EXPECT_EQ(reports_, std::vector<std::string>{"LyrRawAreaView::TrendFFTTransaction"});
  PageEpochValues nextPage = Values(false);
  CalcPageEpochValues(nextPage);
  EXPECT_EQ(reports_.size(), 2u) << "a new page outside a batch reports again";

  reports_.clear();
  ResetPageEpochValuesReports();
  for (int pageOfBatch = 0; pageOfBatch < 3; ++pageOfBatch) {
    PageEpochValues p = Values(true);
    EXPECT_EQ(CalcPageEpochValues(p), 0);
  }
  EXPECT_EQ(reports_.size(), 1u) << "two channels on three pages of one batch";
  // The amplitude values are still computed after the spectrum failed.
  EXPECT_FLOAT_EQ(stats_[0].maximum[0], 7.0f);
}

}  // namespace
