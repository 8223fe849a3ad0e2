// K-complexes of the four-point shape, eye movements of known slope on the fixed
// virtual screen, their conjugate count, and the EMG level of each epoch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/frame/program_settings.h"
#include "page_fixture.h"
#include "platform/draw/dc.h"

using namespace wavetest;

namespace {

// ---- K-complex -----------------------------------------------------------------------------

struct KCase {
  std::string name;
  double riseS;   // base (0) to the first peak (+100)
  double peak2;   // second peak; the trough is -150
  int expect;
};
void PrintTo(const KCase& c, std::ostream* os) { *os << c.name; }

class KComplexTest : public ::testing::TestWithParam<KCase> {};

TEST_P(KComplexTest, FourPointShape) {
  const KCase& c = GetParam();
  Page page;
  page.param.kComplex.channel = 2;
  page.param.kComplex.peakDetectLevel = 60;  // amplitude 100 .. 350, duration 500 .. 4000 ms
  std::vector<float> x = Silence(30);
  const double t = 10.0 + c.riseS;
  AddPolyline(x, {{10.0, 0}, {t, 100}, {t + 0.5, -150}, {t + 1.0, c.peak2}, {t + 1.3, -50}, {t + 1.6, 0}});
  RawPageRecognition rec;
  rec.GetWFRAnaAlloc(page.ctx);
  rec.WaveFormRecognitionTransaction(page.ctx, 2, Channel(x));
  const LyrKComplexStats& s = page.frame[0].kComplex;
  ASSERT_EQ(s.count, c.expect);
  ASSERT_EQ(rec.Table().Count(), std::size_t(c.expect));
  if (!c.expect) return;
  // The base is where the rise passes 100 - 60 = 40, 0.4 of the rise after its start:
  // D = 0.6 x rise + 1.0 s to the second peak.
  EXPECT_NEAR(s.lastDurationMs, (0.6 * c.riseS + 1.0) * 1000, 10);
  EXPECT_FLOAT_EQ(s.lastAmplitude, 250.0f);
  const RecognizedWaveRecord& w = rec.Table().Records()[0];
  EXPECT_EQ(w.type, kWaveTypeKComplex);
  EXPECT_EQ(w.halfWaves, 0);
  EXPECT_NEAR(w.startSample, (10.0 + 0.4 * c.riseS) * kRate, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, KComplexTest,
    ::testing::Values(KCase{"found_once", 0.2, 20, 1},
                      // rise 1 s: the peak comes 600 ms after its base, over the 500 ms minimum
                      KCase{"first_peak_too_late", 1.0, 20, 0},
                      // the second peak must stay below 100 - 0.15 x 250 = 62.5
                      KCase{"second_peak_too_high", 0.2, 62.5, 0},
                      KCase{"second_peak_just_below", 0.2, 62, 1}),
    [](const auto& info) { return info.param.name; });

TEST(KComplex, EpochThatNeverRisesHasNone) {
  Page page;
  page.param.kComplex.channel = 0;
  page.param.kComplex.peakDetectLevel = 60;
  std::vector<float> x = Silence(30);
  AddPolyline(x, {{10.0, 0}, {10.5, -150}, {11.0, 29}, {11.5, 0}});  // stays at or below m + 30
  RawPageRecognition rec;
  rec.GetWFRAnaAlloc(page.ctx);
  rec.WaveFormRecognitionTransaction(page.ctx, 0, Channel(x));
  EXPECT_EQ(page.frame[0].kComplex.count, 0);
}

// ---- Eye movements -----------------------------------------------------------------------

// The fixed virtual screen: 1000 pixels over 300 mm. At 200 Hz and a 30-s page:
// N = 4, G = (1000 x 300 / 300) x 4 / 6001, H = 300 / 30 x 0.1 x 33.33 pixels per cm,
// T1 = H x tan(40 deg) x G x 0.1 = 1.8643. A ramp of s per sample gives the product
// (4 s)^2, so a start needs s > sqrt(1.8643) / 4 = 0.3413.
class EyeMovementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    draw::ScreenMetrics m;
    m.widthPx = 1000;
    m.heightPx = 800;
    m.widthMm = 300;
    m.heightMm = 240;
    draw::OverrideScreenMetrics(&m);
    savedWidthMm_ = ScreenWidthMm;
    ScreenWidthMm = 300;
  }
  void TearDown() override {
    draw::OverrideScreenMetrics(nullptr);
    ScreenWidthMm = savedWidthMm_;
  }
  static Page EyePage() {
    Page page;
    page.param.eogRight.channel = 4;
    page.param.eogLeft.channel = 5;
    page.ctx.eyeGeometry = ScreenEyeGeometry();
    return page;
  }
  double savedWidthMm_ = 0;
};

TEST_F(EyeMovementTest, ThresholdsComeFromTheScreen) {
  struct Case {
    double slope;  // per sample, over 100 samples
    int expect;
  };
  for (const Case c : {Case{1.0, 1}, Case{0.36, 1}, Case{0.32, 0}, Case{-1.0, 1}}) {
    Page page = EyePage();
    std::vector<float> x = Silence(30);
    AddPolyline(x, {{10.0, 0}, {10.5, 100 * c.slope}, {30.0, 100 * c.slope}});
    RawPageRecognition rec;
    rec.GetWFRAnaAlloc(page.ctx);
    rec.WaveFormRecognitionTransaction(page.ctx, 4, Channel(x));
    rec.CountEyeMovements(page.ctx);
    EXPECT_EQ(page.frame[0].remsRight, c.expect) << "slope " << c.slope;
    EXPECT_EQ(page.frame[0].remsLeft, 0);
    EXPECT_EQ(page.frame[0].remsBoth, c.expect) << "without a left channel every right movement counts";
    ASSERT_EQ(rec.Table().Count(), std::size_t(c.expect));
    if (std::fabs(c.slope) == 1.0) {
      // Start where N products in a row passed (the ramp's first sample), end N - 1
      // samples before the ramp's last: 99 samples, 495 ms.
      EXPECT_EQ(rec.Table().Records()[0].type, kWaveTypeEogRight);
      EXPECT_FLOAT_EQ(rec.Table().Records()[0].durationMs, 495.0f);
      EXPECT_NEAR(rec.Table().Records()[0].meanAmplitude, 99 * std::fabs(c.slope), 0.01);
    }
  }
}

TEST_F(EyeMovementTest, ConjugateMovementsAndHiddenChannels) {
  Page page = EyePage();
  std::vector<float> right = Silence(30), left = Silence(30);
  // Three movements on the right; the left eye mirrors the first two only.
  AddPolyline(right, {{5.0, 0}, {5.5, 100}, {10.0, 100}, {10.5, 0}, {15.0, 0}, {15.5, 100}, {30.0, 100}});
  AddPolyline(left, {{5.0, 0}, {5.5, -100}, {10.0, -100}, {10.5, 0}, {30.0, 0}});
  std::vector<float> none = Silence(30);
  std::vector<WaveChannelPage> row(6, Channel(none));
  row[4] = Channel(right);
  row[5] = Channel(left);
  row[5].enabled = false;  // found and counted, but not framed or recorded
  RawPageRecognition rec;
  rec.RecognizeRow(page.ctx, row);
  EXPECT_EQ(rec.Table().Count(), 3u);
  EXPECT_EQ(page.frame[0].remsRight, 3);
  EXPECT_EQ(page.frame[0].remsLeft, 2);
  EXPECT_EQ(page.frame[0].remsBoth, 2);
  // The buffers are gone after counting: the next page without eye channels counts 0.
  page.frame[0] = LyrEpochRec{};
  rec.CountEyeMovements(page.ctx);
  EXPECT_EQ(page.frame[0].remsRight, 0);
  EXPECT_EQ(page.frame[0].remsBoth, 0);
}

TEST_F(EyeMovementTest, ZeroAngleCountsEveryMonotoneStretch) {
  Page page = EyePage();
  std::vector<float> x = Silence(30);
  // A saw tooth of 0.3 per sample, below the 40-degree start; with both thresholds 0
  // the movement ends where the products turn negative, N samples before the drop.
  AddPolyline(x, {{10.0, 0}, {10.5, 30}, {10.5, 0}, {30.0, 0}});
  for (double angle : {40.0, 0.0}) {
    page.param.eogRight.detectAngle = angle;
    RawPageRecognition rec;
    rec.GetWFRAnaAlloc(page.ctx);
    rec.WaveFormRecognitionTransaction(page.ctx, 4, Channel(x));
    rec.CountEyeMovements(page.ctx);
    EXPECT_EQ(page.frame[0].remsRight, angle == 0 ? 1 : 0) << "angle " << angle;
  }
}

// ---- EMG level ---------------------------------------------------------------------------

TEST(EmgLevel, MeanAbsoluteDeviationPerEpoch) {
  Page page(30, 90);
  page.param.emgChannel = 7;
  page.ctx.screening = true;
  page.ctx.pageStartSecond = 90;  // epochs 3, 4, 5
  LyrEpochParameter doc;
  ASSERT_EQ(doc.SetNew(10, 0, 8, 1, 1), 1);
  page.ctx.document = &doc;
  std::vector<float> x = Silence(90);
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (i < 30u * kRate) x[i] = 5.0f + ((i % 2) ? 10.0f : -10.0f);  // square of 10 about 5: level 10
    else if (i < 60u * kRate) x[i] = (i % 4 == 0) ? 4.0f : 0.0f;     // mean 1: level (3 + 3 x 1) / 4 = 1.5
  }
  x[60u * kRate + 7] = std::numeric_limits<float>::infinity();      // not a number after the mean
  RawPageRecognition rec;
  rec.WaveFormRecognitionTransaction(page.ctx, 7, Channel(x));
  EXPECT_FLOAT_EQ(page.frame[0].emg, 10.0f);
  EXPECT_FLOAT_EQ(page.frame[1].emg, 1.5f);
  EXPECT_EQ(page.frame[2].emg, std::numeric_limits<float>::max());
  EXPECT_FLOAT_EQ(doc.Record(3)->emg, 10.0f);
  EXPECT_FLOAT_EQ(doc.Record(4)->emg, 1.5f);

  // Another row computes nothing.
  Page other(30, 90);
  other.param.emgChannel = 7;
  other.ctx.currentPageRow = false;
  rec.WaveFormRecognitionTransaction(other.ctx, 7, Channel(x));
  EXPECT_EQ(other.frame[0].emg, 0.0f);
}

// The stored record: the recognition's values at the byte positions result files keep.
TEST(EpochRecordBytes, RecognitionValuesAtTheirOffsets) {
  LyrEpochRec r{};
  r.wave[kWaveAlpha].count = 3;
  r.wave[kWaveAlpha].durationMs = 950.0f;
  r.kComplex.count = 2;
  r.remsBoth = 4;
  r.emg = 12.5f;
  std::uint8_t bytes[kEpochRecBytes];
  StoreEpochRec(r, std::span<std::uint8_t, kEpochRecBytes>(bytes));
  float f;
  EXPECT_EQ(bytes[44], 3);
  std::memcpy(&f, bytes + 48, 4);
  EXPECT_EQ(f, 950.0f);
  EXPECT_EQ(bytes[164], 2);
  EXPECT_EQ(bytes[180], 4);
  std::memcpy(&f, bytes + 184, 4);
  EXPECT_EQ(f, 12.5f);
}

}  // namespace
