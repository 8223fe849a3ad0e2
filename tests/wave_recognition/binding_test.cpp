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
