// Pages, events and the wave-detect search of recordings read through an import plug-in: an
// EDF file written here with EDFlib through the DSI plug-in, and the test plug-in for the
// answers an EDF file cannot give.
#include <edflib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/document/lyr_dlg_wave_detect.h"
#include "app/document/seizure_finding.h"
#include "open_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 200;
constexpr int kSeconds = 300;

// Channel 0: a slow ramp with a 5 Hz, 100 uV peak-to-peak run from 100 s to 120 s; channel 1:
// the sample index folded into +-400.
double Source(int channel, long long i) {
  if (channel == 1) return static_cast<double>(i % 800 - 400);
  const double t = static_cast<double>(i) / kRate;
  const double run = (t >= 100.0 && t < 120.0) ? 50.0 * std::sin(2.0 * kPi * 5.0 * (t - 100.0)) : 0.0;
  return static_cast<double>(i % 1000) * 0.01 + run;
}

bool WriteNightEdf(const std::string& path) {
  const int handle = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS, 2);
  if (handle < 0) return false;
  for (int s = 0; s < 2; ++s) {
    edf_set_samplefrequency(handle, s, kRate);
    edf_set_physical_maximum(handle, s, 500.0);
    edf_set_physical_minimum(handle, s, -500.0);
    edf_set_digital_maximum(handle, s, 32767);
    edf_set_digital_minimum(handle, s, -32768);
    edf_set_physical_dimension(handle, s, "uV");
    edf_set_label(handle, s, s == 0 ? "EEG" : "EMG");
  }
  std::vector<double> buf(kRate);
  for (int sec = 0; sec < kSeconds; ++sec) {
    for (int s = 0; s < 2; ++s) {
      for (int k = 0; k < kRate; ++k) buf[static_cast<std::size_t>(k)] = Source(s, sec * kRate + k);
      if (edfwrite_physical_samples(handle, buf.data()) != 0) return false;
    }
  }
  edfwrite_annotation_utf8(handle, 100000, -1, "Lights off");  // 10 s (0.1 ms units)
  edfwrite_annotation_utf8(handle, 1205000, -1, "Arousal");    // 120.5 s
  return edfclose_file(handle) == 0;
}

class PluginPageTest : public OpenTest {
 protected:
  void SetUp() override {
    OpenTest::SetUp();
    ASSERT_TRUE(sys::CopyFile(std::string(QLM_PROGRAM_BIN_DIR) + "/RXQD_IMP_DSI.so", GetDsiPluginPath(), false));
    PluginPath = GetDsiPluginPath();
    path_ = dir_.Path("night.edf");
    ASSERT_TRUE(WriteNightEdf(path_));
    ASSERT_TRUE(Doc().OnOpenDocument(path_)) << testing::PrintToString(BoxTexts());
    ASSERT_EQ(Doc().RecordInfo.sourceKind, 3);
  }

  // Expects slot kind to hold page `page` of both channels as the source has it: one page and
  // the first sample of the next, zero after the end of the data.
  void ExpectSlotIsPage(int kind, int page) {
    SCOPED_TRACE("slot " + std::to_string(kind) + " page " + std::to_string(page));
    const std::vector<float>& slot = Doc().RecordInfo.pageBuffers[static_cast<std::size_t>(kind)];
    const std::size_t span = static_cast<std::size_t>(kRate) * PageSeconds + 1;
    ASSERT_EQ(slot.size(), 2 * span);
    int wrong = 0;
    for (int c = 0; c < 2; ++c) {
      for (std::size_t i = 0; i < span; ++i) {
        const long long index = static_cast<long long>(page) * kRate * PageSeconds + static_cast<long long>(i);
        const double expected = index < static_cast<long long>(kRate) * kSeconds ? Source(c, index) : 0.0;
        if (std::fabs(slot[c * span + i] - expected) > 0.02 && ++wrong < 5)
          ADD_FAILURE() << "channel " << c << " sample " << i << ": " << slot[c * span + i] << " != " << expected;
      }
    }
  }

  std::string path_;
};

TEST_F(PluginPageTest, PagesEqualTheSourceAtTheMiddleAndTheEndAndAfterAMove) {
  // No prefilter in the file: the channels are read unprocessed.
  ASSERT_EQ(Doc().ChInfo[0].filterMode, 4);
  ASSERT_EQ(Doc().GetPageNum(PageSeconds, EpochSeconds), 10);
  ExpectSlotIsPage(2, 0);

  Doc().PageRows = 5;
  Doc().CurrentPage = 4;
  ASSERT_EQ(Doc().SetPageData(), 0);
  for (int kind = 0; kind < 5; ++kind) ExpectSlotIsPage(kind, 2 + kind);

  // A move forward reads only the entering page; the window equals a full reload.
  Doc().CurrentPage = 5;
  ASSERT_EQ(Doc().MovePageRawData(1), 1);
  for (int kind = 0; kind < 5; ++kind) ExpectSlotIsPage(kind, 3 + kind);

  // The last page: its next-page sample lies past the data and stays zero; no slots beyond.
  Doc().CurrentPage = 9;
  ASSERT_EQ(Doc().SetPageData(), 0);
  ExpectSlotIsPage(2, 9);
  EXPECT_TRUE(Doc().RecordInfo.pageBuffers[3].empty());
  EXPECT_TRUE(Doc().RecordInfo.pageBuffers[4].empty());
  EXPECT_EQ(Doc().RecordInfo.pageBuffers[2][static_cast<std::size_t>(kRate) * PageSeconds], 0.0f);

  // The channel's invert switch applies to plug-in samples as to any other source.
  Doc().ChInfo[1].invert = 1;
  Doc().CurrentPage = 0;
  ASSERT_EQ(Doc().SetPageData(), 0);
  const std::size_t span = static_cast<std::size_t>(kRate) * PageSeconds + 1;
  EXPECT_NEAR(Doc().RecordInfo.pageBuffers[2][span + 10], -Source(1, 10), 0.02);
}

TEST_F(PluginPageTest, EventsOfTheFileComeThroughThePlugin) {
  ASSERT_EQ(Doc().getEventInfo(), 1);
  EXPECT_EQ(Doc().EventNames, (std::vector<std::string>{"Lights off", "Arousal"}));
  ASSERT_EQ(Doc().getEventData(), 1);
  EXPECT_EQ(Doc().EventRate, kRate);
  ASSERT_EQ(Doc().Events.size(), 2u);
  EXPECT_EQ(Doc().Events[0].type, 0);
  EXPECT_EQ(Doc().Events[0].position, 10 * kRate);
  EXPECT_EQ(Doc().Events[1].type, 1);
  EXPECT_EQ(Doc().Events[1].position, 24100);
}

TEST_F(PluginPageTest, WaveDetectSearchesThePluginRecording) {
  AllocateSeizureMarksForEdition(12, Doc().RecordSeconds);
  ASSERT_EQ(SeizureMarks.size(), static_cast<std::size_t>(kSeconds) * 10);
  const WaveDetectParamRecord saved = WaveDetectParam;
  WaveDetectParam.channel = 0;
  WaveDetectParam.frqMinHz = 4.0;
  WaveDetectParam.frqMaxHz = 6.0;
  WaveDetectParam.ampMin = 50.0;
  WaveDetectParam.ampMax = 150.0;
  WaveDetectParam.peakLevel = 20.0;
  WaveDetectParam.halfWaveCount = 4;
  FindSeizureInDocument(Doc(), true, false);
  int first = -1, last = -1;
  for (std::size_t j = 0; j < SeizureMarks.size(); ++j) {
    if (SeizureMarks[j] == 0) continue;
    if (first < 0) first = static_cast<int>(j);
    last = static_cast<int>(j);
  }
  // The run of 100 s .. 120 s, from its first extreme to about its last.
  EXPECT_EQ(first, 1000);
  EXPECT_GE(last, 1195);
  EXPECT_LE(last, 1200);
  WaveDetectParam = saved;
  SeizureMarks.clear();
}

// The test plug-in: a failing read is reported, and the event answers an EDF file cannot give.
TEST_F(OpenTest, PluginReadFailureAndEventAnswers) {
  TestPluginAnswers& s = UseTestPlugin();
  s.eventCount = 3;
  s.eventChannel = -1;  // channel 0's rate
  s.eventPositions[0] = 5;
  s.eventPositions[1] = 700;
  s.eventPositions[2] = 900;
  s.eventTypes[1] = -3;  // stored as type 0
  s.eventTypes[2] = 1;
  const std::string path = WriteText("rec.tst", "foreign");
  ASSERT_TRUE(Doc().OnOpenDocument(path));
  // The read request carries the range and the channel's calibration.
  EXPECT_EQ(s.lastRequest.count, 100u * PageSeconds + 1);
  EXPECT_EQ(s.lastRequest.calMode, 2);
  EXPECT_EQ(s.lastRequest.topSample, 32767);
  EXPECT_DOUBLE_EQ(s.lastRequest.topValue, 500.0);

  ASSERT_EQ(Doc().getEventInfo(), 1);
  EXPECT_EQ(Doc().EventNames, (std::vector<std::string>{"Lights off", "Arousal"}));
  ASSERT_EQ(Doc().getEventData(), 1);
  EXPECT_EQ(Doc().EventRate, 100);
  ASSERT_EQ(Doc().Events.size(), 3u);
  EXPECT_EQ(Doc().Events[1].type, 0);
  EXPECT_EQ(Doc().Events[1].position, 700);
  EXPECT_EQ(Doc().Events[2].type, 1);

  // A position the plug-in cannot give fails the reading and leaves no events.
  std::snprintf(s.failExport, sizeof s.failExport, "GetEventPos");
  EXPECT_EQ(Doc().getEventData(), 0);
  EXPECT_TRUE(Doc().Events.empty());

  // A read the plug-in refuses is a failure, told once, and the page stays blank.
  std::snprintf(s.failExport, sizeof s.failExport, "GetRawData");
  const std::size_t before = BoxTexts().size();
  EXPECT_EQ(Doc().SetPageData(), 1);
  const auto& slot = Doc().RecordInfo.pageBuffers[2];
  ASSERT_FALSE(slot.empty());
  EXPECT_TRUE(std::all_of(slot.begin(), slot.end(), [](float v) { return v == 0.0f; }));
  const std::vector<std::string> shown = BoxTexts();
  ASSERT_EQ(shown.size(), before + 1);
  EXPECT_NE(shown.back().find(res::LoadString(61701)), std::string::npos);
}

// Without the event exports the plug-in's events cannot be read.
TEST_F(OpenTest, PluginWithoutEventExportsGivesNoEvents) {
  TestPluginAnswers& s = UseTestPlugin(true);
  s.eventCount = 2;
  const std::string path = WriteText("rec.tst", "foreign");
  ASSERT_TRUE(Doc().OnOpenDocument(path)) << testing::PrintToString(BoxTexts());
  EXPECT_EQ(Doc().getEventInfo(), 0);
  EXPECT_EQ(Doc().getEventData(), 0);
  EXPECT_TRUE(Doc().Events.empty());
}

}  // namespace
