// The Wave detect dialog driven by control id, and the search of a recording file.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/document/lyr_dlg_wave_detect.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "fileaccess/fixture.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"

namespace {

class WaveDetectDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    res::SetLanguage(res::Language::English);
    doc.RecordInfo.channelCount = 3;
    doc.RecordInfo.sourceKind = 3;
    for (int c = 0; c < 3; ++c) doc.ChInfo[c].name = "EEG" + std::to_string(c + 1);
    WaveDetectParam = {};
    WaveDetectParam.channel = 5;  // beyond this recording
    WaveDetectParam.peakLevel = 20.0;
    WaveDetectParam.frqMinHz = 4.0;
    WaveDetectParam.halfWaveCount = 4;
    SeizureMarks.assign(100, 0);
    SeizureMarks[10] = SeizureMarks[11] = 1;
  }
  void TearDown() override {
    WaveDetectParam = {};
    SeizureMarks.clear();
    testhooks::Reset();
  }
  void SelectChannel(LyrDlgWaveDetect& dlg, int entry) {
    dlg.Item(LyrDlgWaveDetect::kChannel).SetCurSel(entry);
    dlg.SendMessage(ui::WM_COMMAND, ui::MakeLong(LyrDlgWaveDetect::kChannel, ui::CBN_SELCHANGE), 0);
  }
  CQLM2_AnalyzerDoc doc;
};

TEST_F(WaveDetectDialog, ControlsFollowTheChannelAndCancelRestoresTheOpeningState) {
  const WaveDetectParamRecord opening = WaveDetectParam;
  const std::vector<std::uint8_t> marks = SeizureMarks;
  LyrDlgWaveDetect dlg(&doc);
  ASSERT_TRUE(dlg.CreateModeless());
  ui::Control combo = dlg.Item(LyrDlgWaveDetect::kChannel);
  ASSERT_EQ(combo.GetCount(), 4);
  EXPECT_EQ(combo.GetString(0), "None");
  EXPECT_EQ(combo.GetString(2), "  2:EEG2");
  EXPECT_EQ(combo.GetCurSel(), 0) << "a channel beyond the recording becomes none";
  EXPECT_FALSE(dlg.Item(LyrDlgWaveDetect::kPeakLevel).IsEnabled());
  EXPECT_TRUE(dlg.Item(LyrDlgWaveDetect::kPreview).IsEnabled());

  SelectChannel(dlg, 2);
  EXPECT_EQ(WaveDetectParam.channel, 1);
  EXPECT_TRUE(dlg.Item(LyrDlgWaveDetect::kPeakLevel).IsEnabled());
  EXPECT_EQ(dlg.GetDlgItemText(LyrDlgWaveDetect::kPeakLevel), "20.000");
  EXPECT_EQ(dlg.GetDlgItemText(LyrDlgWaveDetect::kHalfWaves), "4");

  for (const char* level : {"30", "not a number"}) {  // two previews
    dlg.SetDlgItemText(LyrDlgWaveDetect::kPeakLevel, level);
    ASSERT_TRUE(dlg.ClickButton(LyrDlgWaveDetect::kPreview));
  }
  EXPECT_EQ(WaveDetectParam.peakLevel, 0.0) << "text that is not a number reads as 0";
  EXPECT_EQ(SeizureMarks, std::vector<std::uint8_t>(100, 0)) << "each preview starts from cleared marks";

  ASSERT_TRUE(dlg.ClickButton(ui::IDCANCEL));
  EXPECT_EQ(dlg.EndCode(), ui::IDCANCEL);
  EXPECT_EQ(WaveDetectParam, opening);
  EXPECT_EQ(SeizureMarks, marks);
}

TEST_F(WaveDetectDialog, OkWithoutAChannelClosesWithoutSearching) {
  const std::vector<std::uint8_t> marks = SeizureMarks;
  LyrDlgWaveDetect dlg(&doc);
  ASSERT_TRUE(dlg.CreateModeless());
  int closed = 0;
  dlg.SetCloseCallback([&closed](int code) { closed = code; });
  ASSERT_TRUE(dlg.ClickButton(LyrDlgWaveDetect::kPreview));
  EXPECT_EQ(SeizureMarks, marks);
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_EQ(closed, ui::IDOK);
  EXPECT_EQ(SeizureMarks, marks);
}

}  // namespace

namespace {

// The 5 Hz channel of the search tests in an own raw data file: 20 s at 100 Hz behind a
// start offset of 50 samples, stored as signed words of 100 / 32,768 units (full scale 100).
TEST(WaveDetectDocument, OwnRawFileIsSearchedInRecordingTime) {
  fixture::TempDir dir;
  fixture::RawSpec spec = fixture::TwoChannelSpec();
  spec.g1.channels = 1;
  spec.g1.dataCount = 2050;
  spec.g1.samplingHz = 100.0;
  spec.channels.resize(1);
  spec.frames.clear();
  for (int i = 0; i < 2050; ++i) {
    const int t = i - 50;
    const double v = t >= 1000 ? 50.0 * std::sin(2 * 3.14159265358979323846 * 5.0 * (t - 1000) / 100.0) : 0.0;
    spec.frames.push_back(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32768.0 / 100.0))));
  }
  const std::string path = dir.Path("five.fyd");
  ASSERT_TRUE(fixture::WriteRaw(path, spec));

  CQLM2_AnalyzerDoc doc;
  doc.RecordInfo.path = path;
  doc.RecordInfo.channelCount = 1;
  doc.RecordInfo.sourceKind = 0;
  doc.ChInfo[0].rate = 100;
  doc.ChInfo[0].startOffset = 50;
  doc.ChInfo[0].dataCount = 2050;
  doc.ChInfo[0].calibration.fullScale = 100.0;
  doc.RecordSeconds = 20;
  doc.CurrentPage = 1;
  const std::int32_t epoch = EpochSeconds, page = PageSeconds;
  EpochSeconds = 4;
  PageSeconds = 10;
  WaveDetectParam = {};
  WaveDetectParam.channel = 0;
  WaveDetectParam.frqMinHz = 4.0;
  WaveDetectParam.frqMaxHz = 6.0;
  WaveDetectParam.ampMin = 50.0;
  WaveDetectParam.ampMax = 150.0;
  WaveDetectParam.peakLevel = 20.0;
  WaveDetectParam.halfWaveCount = 4;
  std::vector<std::uint8_t> expected(200, 0);
  for (int j = 100; j < 198; ++j) expected[j] = 1;
  for (bool whole : {true, false}) {
    SeizureMarks.assign(200, 0);
    FindSeizureInDocument(doc, whole, false);
    EXPECT_EQ(SeizureMarks, expected) << (whole ? "whole recording" : "preview of page 1");
  }
  EpochSeconds = epoch;
  PageSeconds = page;
  WaveDetectParam = {};
  SeizureMarks.clear();
}

}  // namespace
