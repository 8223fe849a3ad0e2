// The recognition bound to the document: a screening page writes the document's
// records of its absolute epochs.
#include <gtest/gtest.h>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/raw/recognition_binding.h"
#include "page_fixture.h"

using namespace wavetest;

namespace {

class RecognitionBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {EpochSeconds, PageSeconds, ScreeningRunning};
    EpochSeconds = 30;
    PageSeconds = 60;
  }
  void TearDown() override {
    EpochSeconds = saved_[0];
    PageSeconds = saved_[1];
    ScreeningRunning = saved_[2];
  }
  std::array<std::int32_t, 3> saved_{};
};

TEST_F(RecognitionBinding, RowsMapToPagesAroundTheCurrentOne) {
  CQLM2_AnalyzerDoc doc;
  doc.RecordSeconds = 300;
  doc.CurrentPage = 3;
  doc.RecordInfo.channelCount = 4;
  for (int row : {0, 1, 2, 4}) {
    const WaveRecognitionContext w = WaveRecognitionContextForRow(doc, nullptr, row);
    const SleepDstrbPageContext s = SleepDstrbContextForRow(doc, row);
    EXPECT_EQ(w.pageStartSecond, (3 + row - 2) * 60);
    EXPECT_EQ(s.pageStartSecond, w.pageStartSecond);
    EXPECT_EQ(w.currentPageRow, row == 2);
    EXPECT_EQ(w.recordingEpochs, 10);
    EXPECT_EQ(w.EpochsPerPage(), 2);
    EXPECT_EQ(w.channelCount, 4);
  }
}

TEST_F(RecognitionBinding, ScreeningWritesTheDocumentsRecords) {
  CQLM2_AnalyzerDoc doc;
  doc.RecordSeconds = 300;
  doc.CurrentPage = 2;  // epochs 4 and 5
  doc.RecordInfo.channelCount = 1;
  ASSERT_EQ(doc.EpochTables.SetNew(10, 0, 1, 1, 1), 1);
  BandWaveRecord& alpha = doc.Params.waveForm.bands[WaveFormRecognitionParam::kAlpha];
  alpha.channel = 0;
  alpha.frequencyMinHz = 8;
  alpha.frequencyMaxHz = 13;
  alpha.amplitudeMin = 20;
  alpha.amplitudeMax = 200;
  alpha.peakDetectLevel = 20;
  alpha.halfWaveCount = 4;
  for (auto& b : doc.Params.waveForm.bands)
    if (&b != &alpha) b.channel = -1;
  doc.Params.waveForm.kComplex.channel = doc.Params.waveForm.eogRight.channel = -1;
  doc.Params.waveForm.eogLeft.channel = doc.Params.waveForm.emgChannel = -1;
  ScreeningRunning = 1;
  std::vector<float> x = Silence(60);
  AddSine(x, 35.0, 10, 10, 50);
  AddPulse(x, 45.0, 2.0, 60.0);
  std::vector<LyrEpochRec> frame(2);
  WaveRecognitionContext ctx = WaveRecognitionContextForRow(doc, nullptr, kCurrentPageRow);
  ctx.frameRecords = frame;
  RawPageRecognition rec;
  const WaveChannelPage channels[] = {Channel(x)};
  rec.RecognizeRow(ctx, channels);
  EXPECT_EQ(frame[1].wave[kWaveAlpha].count, 1);
  EXPECT_EQ(doc.EpochTables.Record(5)->wave[kWaveAlpha].count, 1);
  EXPECT_NEAR(doc.EpochTables.Record(5)->wave[kWaveAlpha].durationMs, 950, 10);
  EXPECT_EQ(doc.EpochTables.Record(4)->wave[kWaveAlpha].count, 0);
}

}  // namespace

namespace {

// The arousal recogniser bound to a row runs over the document's counters: the whole night,
// or in page mode the page, whose counters start at its first epoch.
TEST_F(RecognitionBinding, ArousalRecogniserRunsOverTheDocumentsCounters) {
  CQLM2_AnalyzerDoc doc;
  doc.RecordSeconds = 300;
  doc.CurrentPage = 2;  // epochs 4 and 5
  ASSERT_EQ(doc.EpochTables.SetNew(10, 0, 1, 0, 1), 1);
  for (int e = 0; e < 10; ++e) doc.EpochTables.SetStage(e, 4);
  SleepDstrbParam& p = doc.Params.sleepDstrb;
  p.arousal = {0, {20.0, 3.0, 15.0}};  // runs of 3 to 15 s
  p.arousalThreshold = 4;               // a count of 2 or more per 0.1 s
  SleepDstrbChannels ch;
  ch.arousal = 0;
  doc.RecognitionTables.AllocateArousalTables(ch, 10 * 300);
  auto& counts = doc.RecognitionTables.ArousalPeakNum();
  auto& marks = doc.RecognitionTables.ArousalRecognize();
  std::fill_n(counts.begin() + 1250, 50, std::uint8_t{3});  // 5 s in epoch 4

  SleepDstrbPageContext ctx = SleepDstrbContextForRow(doc, 2);
  ASSERT_TRUE(ctx.recognizeArousal);
  ctx.recognizeArousal(ctx);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), 50);
  EXPECT_EQ(marks[1250], 1);

  // Page mode: the counters of the page's two epochs run from its first epoch (epoch 4),
  // and only they are rewritten.
  std::fill(counts.begin(), counts.end(), std::uint8_t{0});
  std::fill_n(counts.begin() + 50, 40, std::uint8_t{3});
  ctx.arousalPageMode = true;
  ctx.recognizeArousal(ctx);
  EXPECT_EQ(std::count(marks.begin(), marks.begin() + 600, 1), 40);
  EXPECT_EQ(marks[50], 1);
}

}  // namespace
