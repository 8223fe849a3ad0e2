// The DSI import plug-in on EDF+ and BDF files written here with EDFlib, opened by the document.
#include <edflib.h>

#include <cmath>

#include "app/document/subject_preview.h"
#include "open_fixture.h"

namespace {

constexpr int kSeconds = 130;

// Signal 0 at 100 Hz and signal 1 at 50 Hz; sample i of signal s is (i % 200 - 100) x (s + 1) uV.
double Sample(int s, int i) { return (i % 200 - 100) * (s + 1.0); }

bool WriteEdf(const std::string& path, int fileType) {
  const int handle = edfopen_file_writeonly(path.c_str(), fileType, 2);
  if (handle < 0) return false;
  const int rates[2] = {100, 50};
  for (int s = 0; s < 2; ++s) {
    edf_set_samplefrequency(handle, s, rates[s]);
    edf_set_physical_maximum(handle, s, 500.0);
    edf_set_physical_minimum(handle, s, -500.0);
    edf_set_digital_maximum(handle, s, fileType == EDFLIB_FILETYPE_BDFPLUS ? 8388607 : 32767);
    edf_set_digital_minimum(handle, s, fileType == EDFLIB_FILETYPE_BDFPLUS ? -8388608 : -32768);
    edf_set_physical_dimension(handle, s, "uV");
    edf_set_prefilter(handle, s, "HP:0.3Hz LP:35Hz N:50Hz");
  }
  edf_set_label(handle, 0, "EEG C3-A2");
  edf_set_label(handle, 1, "EOG Left");
  edf_set_startdatetime(handle, 2023, 11, 5, 23, 14, 30);
  edf_set_patientname(handle, "Yamada Taro");
  edf_set_patientcode(handle, "P-0042");
  edf_set_gender(handle, 1);
  edf_set_birthdate(handle, 1980, 2, 10);
  std::vector<double> buf(100);
  for (int sec = 0; sec < kSeconds; ++sec) {
    for (int s = 0; s < 2; ++s) {
      for (int k = 0; k < rates[s]; ++k) buf[static_cast<std::size_t>(k)] = Sample(s, sec * rates[s] + k);
      if (edfwrite_physical_samples(handle, buf.data()) != 0) return false;
    }
  }
  edfwrite_annotation_utf8(handle, 25000, -1, "Lights off");    // 2.5 s (the writer counts 0.1 ms)
  edfwrite_annotation_utf8(handle, 600000, -1, "Arousal");       // 60 s
  edfwrite_annotation_utf8(handle, 1200000, -1, "Lights off");  // 120 s
  return edfclose_file(handle) == 0;
}

class DsiTest : public OpenTest {
 protected:
  void SetUp() override {
    OpenTest::SetUp();
    // The plug-in beside the program, as it is installed.
    ASSERT_TRUE(sys::CopyFile(std::string(QLM_PROGRAM_BIN_DIR) + "/RXQD_IMP_DSI.so", GetDsiPluginPath(), false));
    PluginPath = GetDsiPluginPath();
  }
};

TEST_F(DsiTest, EdfPlusAndBdfPlusOpenWithRatesValuesStartTimeAndEvents) {
  struct Case { const char* name; int type; double tolerance; };
  for (const Case& c : {Case{"night.edf", EDFLIB_FILETYPE_EDFPLUS, 0.02}, Case{"night.bdf", EDFLIB_FILETYPE_BDFPLUS, 0.001}}) {
    SCOPED_TRACE(c.name);
    const std::string path = dir_.Path(c.name);
    ASSERT_TRUE(WriteEdf(path, c.type));
    ASSERT_TRUE(Doc().OnOpenDocument(path)) << testing::PrintToString(BoxTexts());
    const LyrRecordInfo& r = Doc().RecordInfo;
    EXPECT_EQ(r.sourceKind, 3);
    EXPECT_EQ(r.channelCount, 2);
    EXPECT_EQ(Doc().ChInfo[0].name, "EEG C3-A2");
    EXPECT_EQ(Doc().ChInfo[1].name, "EOG Left");
    EXPECT_EQ(Doc().ChInfo[0].unit, "uV");
    EXPECT_EQ(Doc().ChInfo[0].rate, 100);
    EXPECT_EQ(Doc().ChInfo[1].rate, 50);
    EXPECT_EQ(Doc().ChInfo[1].dataCount, 50u * kSeconds);
    EXPECT_EQ(Doc().MixedSampling, 1u);
    EXPECT_EQ(Doc().RecordSeconds, 130);
    EXPECT_EQ(Doc().ChInfo[0].filterMode, 2);
    EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut2Hz, 0.3);
    EXPECT_EQ(r.startTimeValid, 1);
    EXPECT_EQ(r.startDateTime, (std::array<std::uint16_t, 7>{2023, 11, 5, 23, 14, 30, 0}));
    EXPECT_EQ(r.subjectName, "Yamada Taro");
    EXPECT_EQ(r.gender, 0);
    EXPECT_EQ(r.ageYears, 43);
    EXPECT_EQ(r.ageMonths, 8);
    EXPECT_EQ(r.freeComments[0].label, "SubjectID");
    EXPECT_EQ(r.freeComments[0].text, "P-0042");
    // Known samples of the first page in physical values, channel 1 after channel 0's slot
    // (read again without the recording's filters).
    for (int ch = 0; ch < 2; ++ch) Doc().ChInfo[ch].filterMode = 4;
    ASSERT_EQ(Doc().SetPageData(), 0);
    const std::vector<float>& page = r.pageBuffers[2];
    for (int i : {0, 1, 150, 2999}) EXPECT_NEAR(page[static_cast<std::size_t>(i)], Sample(0, i), c.tolerance) << i;
    const std::size_t ch1 = 100 * 30 + 1;
    for (int i : {0, 77, 1499}) EXPECT_NEAR(page[ch1 + static_cast<std::size_t>(i)], Sample(1, i), c.tolerance) << i;
    // The events as the plug-in reports them to the event tables.
    ASSERT_TRUE(PluginModule.IsLoaded());
    const char* p = path.c_str();
    EXPECT_EQ(PluginModule.Function<ImpGetEventNum>("GetEventNum")(p, 0, 0), 3);
    EXPECT_EQ(PluginModule.Function<ImpGetEventTypeNum>("GetEventTypeNum")(p), 2);
    char name[IMP_NAME_CAPACITY] = {};
    ASSERT_EQ(PluginModule.Function<ImpGetEventName>("GetEventName")(p, 1, name, IMP_NAME_CAPACITY), 1);
    EXPECT_STREQ(name, "Arousal");
    std::int32_t position = -1, type = -1;
    ASSERT_EQ(PluginModule.Function<ImpGetEventPos>("GetEventPos")(p, 0, 0, 2, &position, &type), 1);
    EXPECT_EQ(position, 12000);
    EXPECT_EQ(type, 0);
    ASSERT_EQ(PluginModule.Function<ImpGetEventPos>("GetEventPos")(p, 0, 0, 0, &position, &type), 1);
    EXPECT_EQ(position, 250);
  }
}

TEST_F(DsiTest, FileTheReaderRejectsFailsTheOpen) {
  const std::string path = WriteText("broken.edf", "0       not an EDF header at all");
  EXPECT_FALSE(Doc().OnOpenDocument(path));
  EXPECT_FALSE(PluginModule.IsLoaded());
  EXPECT_EQ(DocumentLoaded, 0);
}

TEST_F(DsiTest, PreviewThroughThePlugin) {
  const std::string path = dir_.Path("preview.edf");
  ASSERT_TRUE(WriteEdf(path, EDFLIB_FILETYPE_EDFPLUS));
  sys::DynamicLibrary dsi;
  ASSERT_TRUE(dsi.Load(GetDsiPluginPath()));
  SubjectBlock block;
  ASSERT_EQ(ReadPluginSubject(dsi, path, block), 1);
  const auto rows = SubjectPreviewRows(block);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"Subject", "Yamada Taro"}));
  EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"Gender", "Male"}));
  EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"Age", "43Year 8Month"}));
  dsi.Function<ImpExitDLLFile>("ExitDLLFile")(path.c_str(), 0);
}

}  // namespace
