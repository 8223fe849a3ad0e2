// Band-wave recognition on generated pages: bursts of known frequency, length and
// amplitude are found with that duration, and each of the tests (frequency, amplitude,
// delta shape, EMG cancel, half-wave count) rejects what it should on its own.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/table_memory.h"
#include "common/dsp/fyn_filter_fir.h"
#include "page_fixture.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"

using namespace wavetest;

namespace {

BandWaveRecord MakeBand(int ch, double fmin, double fmax, double ampMin, double ampMax, int halfWaves) {
  BandWaveRecord b;
  b.channel = ch;
  b.frequencyMinHz = fmin;
  b.frequencyMaxHz = fmax;
  b.amplitudeMin = ampMin;
  b.amplitudeMax = ampMax;
  b.peakDetectLevel = 20;
  b.halfWaveCount = halfWaves;
  return b;
}

int SlotOf(int type) {
  switch (type) {
    case kWaveTypeDelta: return kWaveDelta;
    case kWaveTypeTheta: return kWaveTheta;
    case kWaveTypeAlpha: return kWaveAlpha;
    case kWaveTypeSpindle: return kWaveSpindle;
    default: return kWaveBand1 + (type - kWaveTypeBand1);
  }
}

int RecordIndexOf(int type) {
  switch (type) {
    case kWaveTypeDelta: return WaveFormRecognitionParam::kDelta;
    case kWaveTypeTheta: return WaveFormRecognitionParam::kTheta;
    case kWaveTypeAlpha: return WaveFormRecognitionParam::kAlpha;
    case kWaveTypeSpindle: return WaveFormRecognitionParam::kSpindle;
    default: return WaveFormRecognitionParam::kBand1 + (type - kWaveTypeBand1);
  }
}

struct BurstCase {
  std::string name;
  int type;
  double fmin, fmax;        // band
  double ampMin, ampMax;    // band amplitude range (of the peak-to-peak mean)
  int halfWaveCount;
  double hz, cycles, amp;   // the burst, from 5 s
  int precision;            // 1 normal, 0 high (band-pass first)
  int expectCount;
  double expectMs;          // first to last extremum: (cycles - 0.5) / hz
};

void PrintTo(const BurstCase& c, std::ostream* os) { *os << c.name; }

class BurstTest : public ::testing::TestWithParam<BurstCase> {};

TEST_P(BurstTest, FoundWithItsDuration) {
  const BurstCase& c = GetParam();
  Page page;
  page.param.precision = static_cast<std::uint16_t>(c.precision);
  page.param.bands[std::size_t(RecordIndexOf(c.type))] = MakeBand(0, c.fmin, c.fmax, c.ampMin, c.ampMax, c.halfWaveCount);
  std::vector<float> x = Silence(30);
  AddSine(x, 5.0, c.hz, c.cycles, c.amp);
  AddPulse(x, 15.0, 2.0, 60.0);  // a slow maximum ends the run by failing the frequency test
  RawPageRecognition rec;
  ASSERT_EQ(rec.GetWFRAnaAlloc(page.ctx), 1);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));

  const LyrWaveStats& s = page.frame[0].wave[SlotOf(c.type)];
  ASSERT_EQ(s.count, c.expectCount) << c.name;
  ASSERT_EQ(rec.Table().Count(), std::size_t(c.expectCount));
  if (c.expectCount == 0) return;
  const RecognizedWaveRecord& w = rec.Table().Records()[0];
  EXPECT_EQ(w.type, c.type);
  // The band-pass filter of the high precision rings for a sample or two at the
  // burst's edges; its start and half-wave count are then only near the burst's.
  const bool filtered = c.precision == 0 && c.type != kWaveTypeDelta;
  EXPECT_NEAR(w.durationMs, c.expectMs, filtered ? 60.0 : 10.0) << c.name;
  EXPECT_FLOAT_EQ(s.durationMs, w.durationMs);
  EXPECT_NEAR(w.meanFrequencyHz, c.hz, c.hz * 0.1) << c.name;
  EXPECT_NEAR(w.meanAmplitude, c.amp, c.amp * 0.1) << c.name;
  if (!filtered) {
    EXPECT_NEAR(w.startSample, 5.0 * kRate + 0.25 / c.hz * kRate, 1) << c.name;
    EXPECT_EQ(w.halfWaves, int(2 * c.cycles) - 2);
  }
  EXPECT_LE(w.left, w.right);
  EXPECT_LE(w.top, w.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BurstTest,
    ::testing::Values(
        // 10 cycles of 10 Hz: extrema from 25 ms to 975 ms of the burst, 950 ms.
        BurstCase{"alpha", kWaveTypeAlpha, 8, 13, 20, 200, 4, 10, 10, 50, 1, 1, 950},
        BurstCase{"alpha_high_precision", kWaveTypeAlpha, 8, 13, 20, 200, 4, 10, 10, 50, 0, 1, 950},
        // 13 Hz for 1 s is one spindle: (13 - 0.5) / 13 s.
        BurstCase{"spindle", kWaveTypeSpindle, 11.5, 15, 20, 200, 6, 13, 13, 30, 1, 1, 961.5},
        BurstCase{"theta", kWaveTypeTheta, 4, 8, 20, 200, 4, 6, 6, 40, 1, 1, 916.7},
        BurstCase{"band2", kWaveTypeBand2, 15, 25, 20, 200, 4, 20, 20, 40, 1, 1, 975},
        // Four 1-Hz delta waves of 60: 3.5 s; the amplitude test takes the
        // peak-to-peak mean, 120.
        BurstCase{"delta", kWaveTypeDelta, 0.5, 2, 75, 500, 2, 1, 4, 60, 1, 1, 3500},
        BurstCase{"delta_ignores_precision", kWaveTypeDelta, 0.5, 2, 75, 500, 2, 1, 4, 60, 0, 1, 3500},
        // Too small: peak-to-peak mean 60 below the minimum 75.
        BurstCase{"delta_too_small", kWaveTypeDelta, 0.5, 2, 75, 500, 2, 1, 4, 30, 1, 0, 0},
        BurstCase{"alpha_too_large", kWaveTypeAlpha, 8, 13, 20, 80, 4, 10, 10, 50, 1, 0, 0},
        BurstCase{"theta_not_in_alpha_band", kWaveTypeAlpha, 8, 13, 20, 200, 4, 5, 5, 50, 1, 0, 0},
        // 10 cycles complete 18 half-waves: a count of 19 needs 18, 20 needs 19.
        BurstCase{"half_waves_just_enough", kWaveTypeAlpha, 8, 13, 20, 200, 19, 10, 10, 50, 1, 1, 950},
        BurstCase{"half_waves_one_short", kWaveTypeAlpha, 8, 13, 20, 200, 20, 10, 10, 50, 1, 0, 0},
        // A frequency limit of 0 switches the band off.
        BurstCase{"zero_frequency_limit", kWaveTypeAlpha, 0, 13, 20, 200, 4, 10, 10, 50, 1, 0, 0}),
    [](const auto& info) { return info.param.name; });

// Half-waves that jump from spike to spike enclose almost no area about their mid line:
// same period and amplitude as a passing delta wave, but the shape test rejects them.
TEST(DeltaShape, SpikeTrainFailsTheAreaTest) {
  Page page;
  page.param.bands[WaveFormRecognitionParam::kDelta] = MakeBand(0, 0.5, 2, 75, 500, 2);
  std::vector<float> spikes = Silence(30);
  for (int k = 0; k < 8; ++k) spikes[std::size_t((5.0 + 0.5 * k) * kRate)] = k % 2 ? -60.0f : 60.0f;
  AddPulse(spikes, 15.0, 2.0, 60.0);
  RawPageRecognition rec;
  rec.GetWFRAnaAlloc(page.ctx);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(spikes));
  EXPECT_EQ(page.frame[0].wave[kWaveDelta].count, 0);

  // The area of such a half-wave: its first segment, 60 x 5 ms / 2 = 150, against
  // 0.2 x the chord's 2 x (250 ms x 60 / 2) = 3000.
  EXPECT_DOUBLE_EQ(ChordArea(0, 60, 1, 0, 5.0, 0), 150.0);
  EXPECT_DOUBLE_EQ(ChordArea(0, 60, 100, -60, 5.0, 0), 15000.0);
  EXPECT_DOUBLE_EQ(ChordArea(0, 3, 10, 3, 5.0, 3), 0.0);
}

// Noise that reverses the direction at every sample marks the wave as EMG: with the
// cancel on, the wave is dropped; without it the same burst is an alpha wave.
TEST(EmgCancel, NoisyBurstIsDroppedOnlyWithCancelOn) {
  std::vector<float> x = Silence(30);
  AddSine(x, 5.0, 10, 10, 50);
  for (std::size_t i = std::size_t(5.0 * kRate); i < std::size_t(6.0 * kRate); ++i) x[i] += (i % 2) ? 8.0f : -8.0f;
  AddPulse(x, 15.0, 2.0, 60.0);
  for (int cancel : {0, 1}) {
    Page page;
    BandWaveRecord b = MakeBand(0, 8, 13, 20, 200, 4);
    b.peakDetectLevel = 25;  // above the noise's reversals near the peaks
    b.emgCancel = static_cast<std::uint16_t>(cancel);
    b.emgCancelLevel = 3.5;
    page.param.bands[WaveFormRecognitionParam::kAlpha] = b;
    RawPageRecognition rec;
    rec.GetWFRAnaAlloc(page.ctx);
    rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
    EXPECT_EQ(page.frame[0].wave[kWaveAlpha].count, cancel ? 0 : 1) << "cancel " << cancel;
  }
}

TEST(BandStatistics, OnlyTheCurrentRowWritesAndTheDocumentOnlyWhileScreening) {
  std::vector<float> x = Silence(60);
  AddSine(x, 35.0, 10, 10, 50);  // in the page's second epoch
  for (int screening : {0, 1})
    for (bool current : {false, true}) {
      Page page(30, 60);
      page.ctx.pageStartSecond = 120;  // epochs 4 and 5
      page.ctx.screening = screening;
      page.ctx.currentPageRow = current;
      page.param.bands[WaveFormRecognitionParam::kAlpha] = MakeBand(0, 8, 13, 20, 200, 4);
      LyrEpochParameter doc;
      ASSERT_EQ(doc.SetNew(10, 0, 8, 1, 1), 1);
      page.ctx.document = &doc;
      RawPageRecognition rec;
      rec.GetWFRAnaAlloc(page.ctx);
      rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
      EXPECT_EQ(rec.Table().Count(), 1u) << "every row fills the table";
      EXPECT_EQ(page.frame[1].wave[kWaveAlpha].count, current ? 1 : 0);
      EXPECT_EQ(page.frame[0].wave[kWaveAlpha].count, 0);
      EXPECT_EQ(doc.Record(5)->wave[kWaveAlpha].count, current && screening ? 1 : 0);
      // The start sample counts from the recording's start.
      EXPECT_NEAR(rec.Table().Records()[0].startSample, (120 + 35.025) * kRate, 2);
    }
}

TEST(BandStatistics, PagePastTheRecordingStopsAtItsLastEpoch) {
  Page page(30, 90, 2);  // the page holds three epochs, the recording two
  page.ctx.pageStartSecond = 30;  // epoch 1 is the last
  page.param.bands[WaveFormRecognitionParam::kAlpha] = MakeBand(0, 8, 13, 20, 200, 4);
  std::vector<float> x = Silence(90);
  AddSine(x, 5.0, 10, 10, 50);
  AddSine(x, 65.0, 10, 10, 50);
  page.frame[2].wave[kWaveAlpha].count = 77;  // beyond the recording: untouched
  RawPageRecognition rec;
  rec.GetWFRAnaAlloc(page.ctx);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  EXPECT_EQ(page.frame[0].wave[kWaveAlpha].count, 1);
  EXPECT_EQ(page.frame[2].wave[kWaveAlpha].count, 77);
  EXPECT_EQ(rec.Table().Count(), 1u);
}

TEST(BandDetector, FlatEpochAndSeveralTypesOnOneChannel) {
  Page page;
  page.param.bands[WaveFormRecognitionParam::kAlpha] = MakeBand(0, 8, 13, 20, 200, 4);
  page.param.bands[WaveFormRecognitionParam::kBand1] = MakeBand(0, 8, 13, 20, 200, 4);
  RawPageRecognition rec;
  rec.GetWFRAnaAlloc(page.ctx);
  std::vector<float> flat = Silence(30);
  AddSine(flat, 5.0, 10, 10, 9);  // never leaves m +- P/2
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(flat));
  EXPECT_EQ(rec.Table().Count(), 0u);

  std::vector<float> x = Silence(30);
  AddSine(x, 5.0, 10, 10, 50);
  AddPulse(x, 15.0, 2.0, 60.0);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  ASSERT_EQ(rec.Table().Count(), 2u);
  EXPECT_EQ(rec.Table().Records()[0].type, kWaveTypeAlpha);  // the driver's order
  EXPECT_EQ(rec.Table().Records()[1].type, kWaveTypeBand1);
  rec.WaveFormRecognitionTransaction(page.ctx, 1, Channel(x));  // not a recognition channel
  EXPECT_EQ(rec.Table().Count(), 2u);
}

// The high precision's band-pass equals the library filter's FFT convolution.
TEST(BandPass, SameAsTheLibraryFilter) {
  const int S = 30 * kRate;
  std::vector<float> x(S);
  unsigned seed = 7;
  for (float& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<float>((seed >> 16) % 200) - 100.0f;
  }
  for (const auto& [lo, hi] : {std::pair{8.0, 13.0}, std::pair{0.5, 2.0}, std::pair{25.0, 35.0}}) {
    FynFilterFIR fir(2, lo, hi, 22.0, 20, kRate, 256);
    fir.SetRawDataNum(S);
    ASSERT_EQ(fir.CreateWorkArea(), 0);
    ASSERT_EQ(fir.SetHData(), 1);
    ASSERT_EQ(fir.SetRData(x.data(), S), 0);
    ASSERT_EQ(fir.CalcFIRFilter(), 1);
    std::vector<float> expect(S), got(S);
    ASSERT_EQ(fir.GetResultData(expect.data()), 1);
    ASSERT_TRUE(BandPassEpoch(lo, hi, kRate, x, got));
    double worst = 0;
    for (int i = 0; i < S; ++i) worst = std::max(worst, double(std::fabs(expect[i] - got[i])));
    EXPECT_LT(worst, 1e-3) << lo << " .. " << hi << " Hz";
  }
}

// ---- The table and failures ----------------------------------------------------------------

TEST(RecognizedWaveTable, CapacityFollowsThePageAndMemoryTheWaves) {
  Page page;
  page.param.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  page.param.kComplex.channel = 3;
  page.param.eogLeft.channel = 9;  // not below the channel count: not counted
  RawPageRecognition rec;
  ASSERT_EQ(rec.GetWFRAnaAlloc(page.ctx), 1);
  EXPECT_EQ(rec.Table().Capacity(), std::size_t((30 + 2 * 30) * 15));

  // A 24-hour page with every type set up allows 15 waves a second per type but
  // takes no memory until waves are found.
  page.ctx.pageSeconds = 86400;
  for (auto& b : page.param.bands) b.channel = 0;
  page.param.eogRight.channel = page.param.eogLeft.channel = 1;
  ASSERT_EQ(rec.GetWFRAnaAlloc(page.ctx), 1);
  EXPECT_EQ(rec.Table().Capacity(), std::size_t(86400) * 11 * 15);
  EXPECT_EQ(rec.Table().Count(), 0u);
}

TEST(RecognizedWaveTable, FullTableAndFailedAllocationAreReportedOncePerPage) {
  std::vector<std::string> shown;
  RawPageRecognition rec;
  rec.SetFailureReporter([&](const std::string& m) { shown.push_back(m); });
  Page page;
  page.ctx.pageSeconds = 30;
  page.param.bands[WaveFormRecognitionParam::kAlpha] = MakeBand(0, 8, 13, 20, 200, 1);
  page.param.bands[WaveFormRecognitionParam::kTheta] = MakeBand(1, 4, 8, 20, 200, 1);
  std::vector<float> x = Silence(30);
  for (int k = 0; k < 25; ++k) AddSine(x, 1.0 + k, 10, 3, 50);  // 25 separate bursts
  ASSERT_EQ(rec.GetWFRAnaAlloc(page.ctx), 1);
  // Shrink the table below the page's waves: the epoch statistics still count them all.
  rec.Table().Reset(10);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  EXPECT_EQ(rec.Table().Count(), 10u);
  EXPECT_EQ(page.frame[0].wave[kWaveAlpha].count, 25);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Alloc ERR");

  // An allocation failure in the page loop: one message for the page, however many
  // channels and types fail.
  shown.clear();
  rec.GetWFRAnaAlloc(page.ctx);
  tablemem::FailNthAllocationForTesting(1);
  rec.WaveFormRecognitionTransaction(page.ctx, 1, Channel(x));
  tablemem::FailNthAllocationForTesting(1);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  tablemem::FailNthAllocationForTesting(0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "LyrRawAreaView::WaveFormRecognitionTransaction:Theta");

  // While screening: once per run, not once per page.
  shown.clear();
  page.ctx.screening = true;
  rec.BeginRun();
  for (int pageNo = 0; pageNo < 3; ++pageNo) {
    rec.GetWFRAnaAlloc(page.ctx);
    tablemem::FailNthAllocationForTesting(1);
    rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  }
  tablemem::FailNthAllocationForTesting(0);
  EXPECT_EQ(shown.size(), 1u);
}

}  // namespace

// ---- Marks on the page -------------------------------------------------------------------

// The alpha frame on a page of one pixel per sample: in the wave's colour on the screen,
// black when printing without colour, and not at all during screening unless drawing
// while screening is on.
TEST(WaveMarks, FrameColourFollowsOutputAndScreening) {
  struct Case {
    bool screening, drawWhileScreening;
    int printTarget;
    bool printInColor;
    draw::ColorRef expect;  // white: nothing drawn
  };
  constexpr draw::ColorRef kWhite = 0xFFFFFF, kRed = 0x0000FF;
  std::vector<float> x = Silence(30);
  AddSine(x, 5.0, 10, 10, 50);
  AddPulse(x, 15.0, 2.0, 60.0);
  for (const Case c : {Case{false, false, 0, true, kRed}, Case{true, false, 0, true, kWhite},
                       Case{true, true, 0, true, kRed}, Case{false, false, 1, false, 0x000000},
                       Case{false, false, 1, true, kRed}}) {
    draw::Image image(6000, 300, 32);
    draw::Dc dc(image);
    dc.FillSolidRect(draw::Rect{0, 0, 6000, 300}, kWhite);
    Page page;
    page.ctx.dc = &dc;
    page.ctx.screening = c.screening;
    page.ctx.drawWhileScreening = c.drawWhileScreening;
    page.ctx.printTarget = c.printTarget;
    page.ctx.printInColor = c.printInColor;
    BandWaveRecord band = MakeBand(0, 8, 13, 20, 200, 4);
    band.colour = kRed;
    page.param.bands[WaveFormRecognitionParam::kAlpha] = band;
    WaveChannelPage ch = Channel(x);
    ch.map = [&x](int index, draw::Point* p) {
      *p = draw::Point{index, 150 - static_cast<int>(x[std::size_t(index)])};
      return 0;
    };
    RawPageRecognition rec;
    rec.GetWFRAnaAlloc(page.ctx);
    rec.WaveFormRecognitionTransaction(page.ctx, 0, ch);
    ASSERT_EQ(rec.Table().Count(), 1u);
    const RecognizedWaveRecord& w = rec.Table().Records()[0];
    EXPECT_EQ(w.top, 100);  // the peaks of 50 above the base line at 150
    EXPECT_EQ(w.bottom, 200);
    EXPECT_EQ(image.GetPixel((w.left + w.right) / 2, w.top), c.expect)
        << "screening " << c.screening << " print " << c.printTarget;
  }
}
