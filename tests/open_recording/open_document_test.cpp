// Opening own raw files and foreign files through the test plug-in: what is read, what a
// failure leaves, and the attributes of the user's files.
#include "open_fixture.h"

#include "platform/ui/messages.h"

namespace {

TEST_F(OpenTest, OwnRawFileOpensInWholeEpochsWithItsHeader) {
  const std::string path = WriteNight("night.fyd", Night(3605));
  PageSeconds = 4000;
  ASSERT_TRUE(Doc().OnOpenDocument(path));
  const LyrRecordInfo& r = Doc().RecordInfo;
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(r.sourceKind, 0);
  EXPECT_EQ(r.channelCount, 2);
  EXPECT_EQ(Doc().RecordSeconds, 3600);
  EXPECT_EQ(Doc().EpochTables.EpochCount(), 360);
  EXPECT_EQ(PageSeconds, 3600);
  EXPECT_EQ(Doc().ChInfo[0].name, "CH1");
  EXPECT_EQ(Doc().ChInfo[1].unit, "%");
  EXPECT_EQ(Doc().ChInfo[0].rate, 10);
  EXPECT_EQ(Doc().ChInfo[0].dataCount, 36050u);
  EXPECT_EQ(r.subjectName, "Hanako Test");
  EXPECT_EQ(r.gender, 1);
  EXPECT_EQ(r.ageYears, 35);
  EXPECT_EQ(r.ageMonths, 2);
  EXPECT_EQ(r.memo, "after shift work");
  EXPECT_EQ(r.freeComments[0].label, "Height");
  EXPECT_EQ(r.freeComments[2].text, "H.T.");
  EXPECT_EQ(r.startTimeValid, 1);
  EXPECT_EQ(r.startDateTime, (std::array<std::uint16_t, 7>{2024, 3, 14, 22, 5, 9, 125}));
  EXPECT_EQ(r.startTimeOfDayMs, ((22u * 60 + 5) * 60 + 9) * 1000 + 125);
  EXPECT_EQ(LastFolderPath, sys::FolderOf(path));
  // One page row: only the current page's slot is held, channel after channel.
  const std::size_t slot = 2 * (10 * 3600 + 1);
  for (int kind = 0; kind < 5; ++kind) EXPECT_EQ(r.pageBuffers[kind].size(), kind == 2 ? slot : 0u) << kind;
  EXPECT_TRUE(sys::IsReadOnly(path));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(OpenTest, ChannelDrawRateGivesUnitsPerCentimetre) {
  // Stored draw rates of 0 or below keep the usable 100 units per cm.
  struct Case { double drawRate; double expected; };
  for (const Case& c : {Case{50.0, 50.0}, Case{0.0, 100.0}, Case{-5.0, 100.0}}) {
    fixture::RawSpec s = Night(130);
    for (auto& ch : s.channels) {
      ch.drawRateFlag = 1;
      ch.drawRate = c.drawRate;
    }
    const std::string path = WriteNight("rate" + std::to_string(static_cast<int>(c.drawRate)) + ".fyd", s);
    ASSERT_TRUE(Doc().OnOpenDocument(path)) << c.drawRate;
    EXPECT_DOUBLE_EQ(Doc().ChInfo[0].unitsPerCm, c.expected) << c.drawRate;
  }
}

// Failures after the previous recording was let go: nothing half-loaded, and both files keep
// the attributes they had before.
TEST_F(OpenTest, FailureAfterReleaseLeavesTheDocumentEmptyAndFilesAsTheyWere) {
  struct Case { const char* what; fixture::RawSpec spec; bool raw; std::vector<std::string> messages; };
  std::vector<Case> cases = {
      {"119 s", Night(119), true, {"Data less than 120sec is invalid."}},
      {"33 channels", Night(130, 33), true, {"The number of channel is above 32."}},
      {"rate below 1 Hz", Night(200, 2, 0.5), true, {"Data less than 1Hz is invalid."}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string good = WriteNight(std::string("good_") + c.what + ".fyd", Night(130));
    ASSERT_TRUE(Doc().OnOpenDocument(good));
    ASSERT_TRUE(sys::IsReadOnly(good));
    const std::string bad = c.raw ? WriteNight(std::string("bad_") + c.what + ".fyd", c.spec)
                                  : WriteText(std::string("bad_") + c.what + ".fyd", "not a recording");
    testhooks::Reset();
    EXPECT_FALSE(Doc().OnOpenDocument(bad));
    EXPECT_EQ(BoxTexts(), c.messages);
    EXPECT_EQ(DocumentLoaded, 0);
    EXPECT_EQ(Doc().RecordInfo.sourceKind, 2);
    EXPECT_TRUE(Doc().RecordInfo.path.empty());
    EXPECT_EQ(Doc().RecordInfo.channelCount, 0);
    EXPECT_FALSE(sys::IsReadOnly(good));
    EXPECT_FALSE(sys::IsReadOnly(bad));
    EXPECT_FALSE(PluginModule.IsLoaded());
  }
}

TEST_F(OpenTest, RefusalBeforeReleaseKeepsThePreviousRecording) {
  const std::string good = WriteNight("good.fyd", Night(130));
  const std::string next = WriteNight("next.fyd", Night(130));
  ASSERT_TRUE(Doc().OnOpenDocument(good));
  struct Case { const char* what; int answer; };
  // Cancel, and Yes whose save does not happen (no window to save through).
  for (const Case& c : {Case{"cancel", ui::IDCANCEL}, Case{"save fails", ui::IDYES}}) {
    SCOPED_TRACE(c.what);
    ResultModifiedState = 2;
    testhooks::AnswerMessageBox(c.answer);
    EXPECT_FALSE(Doc().OnOpenDocument(next));
    EXPECT_EQ(DocumentLoaded, 1);
    EXPECT_EQ(ResultModifiedState, 2);
    EXPECT_EQ(Doc().RecordInfo.path, good);
    EXPECT_EQ(Doc().RecordSeconds, 130);
    EXPECT_TRUE(sys::IsReadOnly(good));
    EXPECT_FALSE(sys::IsReadOnly(next));
  }
  ScreeningRunning = 1;
  ResultModifiedState = 0;
  EXPECT_FALSE(Doc().OnOpenDocument(next));
  EXPECT_EQ(Doc().RecordInfo.path, good);
  ScreeningRunning = 0;
  EXPECT_FALSE(Doc().OnOpenDocument(dir_.Path("missing.fyd")));
  EXPECT_EQ(DocumentLoaded, 1);
}

TEST_F(OpenTest, OwnRawFileIsReadOnlyOnlyWhileOpen) {
  struct Case { bool readOnlyBefore; };
  for (const Case& c : {Case{false}, Case{true}}) {
    SCOPED_TRACE(c.readOnlyBefore);
    const std::string first = WriteNight(c.readOnlyBefore ? "ro1.fyd" : "rw1.fyd", Night(130));
    const std::string second = WriteNight(c.readOnlyBefore ? "ro2.fyd" : "rw2.fyd", Night(130));
    sys::SetReadOnly(first, c.readOnlyBefore);
    ASSERT_TRUE(Doc().OnOpenDocument(first));
    EXPECT_TRUE(sys::IsReadOnly(first));
    ASSERT_TRUE(Doc().OnOpenDocument(second));
    EXPECT_EQ(sys::IsReadOnly(first), c.readOnlyBefore);
    EXPECT_TRUE(sys::IsReadOnly(second));
    sys::SetReadOnly(first, false);
    // File > Close gives the open file its attributes back, as does reopening it.
    ASSERT_TRUE(Doc().OnNewDocument());
    EXPECT_FALSE(sys::IsReadOnly(second));
    ASSERT_TRUE(Doc().OnOpenDocument(second));
    ASSERT_TRUE(Doc().OnOpenDocument(second));
    EXPECT_TRUE(sys::IsReadOnly(second));
    ASSERT_TRUE(Doc().OnNewDocument());
    EXPECT_FALSE(sys::IsReadOnly(second));
  }
}

TEST_F(OpenTest, PluginRecordingOpensWithItsCalibrationFiltersAndSubject) {
  TestPluginAnswers& s = UseTestPlugin();
  s.rateHz = 199.9999;
  s.dataCount = 200 * 125;
  s.filter.lowPresent = 1;
  s.filter.lowKind = 1;
  s.filter.lowHz = 0.5;
  s.filter.highPresent = 1;
  s.filter.highKind = 1;
  s.filter.highHz = 35.0;
  s.filter.notchPresent = 1;
  s.filter.notchOn = 1;
  s.filter.notchHz = 60.0;
  std::snprintf(s.labels[1], IMP_NAME_CAPACITY, "Ward");
  std::snprintf(s.texts[1], IMP_NAME_CAPACITY, "East 3");
  const std::string path = WriteText("rec.tst", "foreign");
  ASSERT_TRUE(Doc().OnOpenDocument(path));
  const LyrRecordInfo& r = Doc().RecordInfo;
  EXPECT_EQ(r.sourceKind, 3);
  EXPECT_EQ(Doc().MontageNumber, 3);
  EXPECT_EQ(Doc().CalibrationNumber, 2);
  EXPECT_EQ(Doc().ChInfo[0].rate, 200);
  EXPECT_EQ(Doc().RecordSeconds, 120);
  EXPECT_EQ(Doc().ChInfo[1].name, "T2");
  EXPECT_EQ(Doc().ChInfo[0].unit, "uV");
  EXPECT_DOUBLE_EQ(Doc().ChInfo[1].unitsPerCm, 20.0);
  EXPECT_EQ(Doc().ChInfo[0].displayInvert, 1);
  EXPECT_EQ(Doc().ChInfo[1].displayInvert, 0);
  EXPECT_EQ(Doc().ChInfo[0].filterMode, 2);
  EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut1Hz, 35.0);
  EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut2Hz, 0.5);
  EXPECT_EQ(Doc().ChInfo[0].notch, 1);
  EXPECT_DOUBLE_EQ(Doc().ChInfo[0].lineFrequencyHz, 60.0);
  EXPECT_EQ(r.subjectName, "Plug Subject");
  EXPECT_EQ(r.gender, 1);
  EXPECT_EQ(r.freeComments[0].label, "Ward");
  EXPECT_EQ(r.freeComments[0].text, "East 3");
  EXPECT_EQ(r.startDateTime, (std::array<std::uint16_t, 7>{2021, 6, 15, 22, 30, 5, 250}));
  EXPECT_EQ(r.startTimeValid, 1);
  // The current page is read through the plug-in (and filtered); channel 1's samples as the
  // plug-in gives them.
  EXPECT_EQ(r.pageBuffers[2].size(), 2u * (200 * PageSeconds + 1));
  float samples[8] = {};
  ASSERT_EQ(Doc().ReadPluginChannel(1, 0, 8, samples), 1);
  EXPECT_FLOAT_EQ(samples[7], 1007.0f);
  EXPECT_TRUE(PluginModule.IsLoaded());
  // Closing lets the plug-in go, after telling it.
  ASSERT_TRUE(Doc().OnNewDocument());
  EXPECT_FALSE(PluginModule.IsLoaded());
  EXPECT_EQ(s.exitCalls, 1);
}

TEST_F(OpenTest, PluginStartTimeOutsideTheCalendarKeepsTheDefault) {
  struct Case { std::array<std::uint16_t, 8> time; int known; std::uint16_t valid; std::uint16_t year; };
  for (const Case& c : {Case{{2039, 1, 0, 1, 0, 0, 0, 0}, 1, 0, 2000}, Case{{2020, 13, 0, 1, 0, 0, 0, 0}, 1, 0, 2000},
                       Case{{1970, 1, 0, 1, 0, 0, 0, 0}, 1, 1, 1970}, Case{{2020, 1, 0, 1, 0, 0, 0, 0}, 0, 0, 2000}}) {
    TestPluginAnswers& s = UseTestPlugin();
    std::copy(c.time.begin(), c.time.end(), s.startTime);
    s.timeKnown = c.known;
    ASSERT_TRUE(Doc().OnOpenDocument(WriteText("t.tst", "x")));
    EXPECT_EQ(Doc().RecordInfo.startTimeValid, c.valid) << c.time[0] << "-" << c.time[1];
    EXPECT_EQ(Doc().RecordInfo.startDateTime[0], c.year);
  }
}

// A plug-in that refuses the file, or speaks another structure version, is asked before the
// recording in use is let go: it stays open. Later refusals leave the document empty.
TEST_F(OpenTest, PluginRefusalsFailTheOpenAndUnloadIt) {
  struct Case {
    const char* what; int structVersion; const char* failing; std::vector<std::string> messages; bool keepsPrevious;
  };
  const std::string foreign = dir_.Path("f.tst");
  const std::string damaged = foreign + "\nThe recording is damaged or cut short and cannot be read.";
  const std::vector<Case> cases = {
      {"structure version 2", 2, "", {foreign + "\nNot supported."}, true},
      {"CheckFileType", 1, "CheckFileType",
       {foreign + "\nThis is not a recording of this program, and no import plug-in beside the program can read it."},
       true},
      {"GetDLLFileInfo", 1, "GetDLLFileInfo", {damaged}, false},
      {"SelectMontCal", 1, "SelectMontCal", {damaged}, false},
      {"GetChNum", 1, "GetChNum", {"Invalid number. The number of channel is zero."}, false},
      {"GetDataType", 1, "GetDataType", {damaged}, false},
      {"GetActualTime is no failure", 1, "GetActualTime", {}, false},
      {"GetChName", 1, "GetChName", {damaged}, false},
      {"GetRawData", 1, "GetRawData",
       {"CQLM2_AnalyzerDoc::SetPageData\nThe recording could not be read. The page is shown blank.", damaged}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string good = WriteNight("good.fyd", Night(130));
    ASSERT_TRUE(Doc().OnOpenDocument(good));
    TestPluginAnswers& s = UseTestPlugin();
    s.structVersion = c.structVersion;
    std::snprintf(s.failExport, sizeof s.failExport, "%s", c.failing);
    testhooks::Reset();
    const bool opened = Doc().OnOpenDocument(WriteText("f.tst", "x"));
    EXPECT_EQ(BoxTexts(), c.messages);
    if (std::string(c.what) == "GetActualTime is no failure") {
      EXPECT_TRUE(opened);
      EXPECT_EQ(Doc().RecordInfo.startTimeValid, 0);
      continue;
    }
    EXPECT_FALSE(opened);
    EXPECT_FALSE(PluginModule.IsLoaded());
    if (c.keepsPrevious) {
      EXPECT_EQ(DocumentLoaded, 1);
      EXPECT_EQ(Doc().RecordInfo.path, good);
      EXPECT_TRUE(sys::IsReadOnly(good));
      ASSERT_TRUE(Doc().OnNewDocument());
    } else {
      EXPECT_EQ(DocumentLoaded, 0);
      EXPECT_EQ(Doc().RecordInfo.sourceKind, 2);
    }
    EXPECT_FALSE(sys::IsReadOnly(good));
  }
}

TEST_F(OpenTest, PluginWithoutOptionalExportsKeepsTheDefaults) {
  TestPluginAnswers& s = UseTestPlugin(/*minimal=*/true);
  s.v1Given = 1;
  std::snprintf(s.v1.name, IMP_NAME_CAPACITY, "Old Style");
  std::snprintf(s.v1.romanName, IMP_NAME_CAPACITY, "OLD STYLE");
  s.v1.gender = 0;
  s.v1.heightTenthCm = 1705;
  s.v1.weightGrams = 62500;
  std::snprintf(s.v1.observer, IMP_NAME_CAPACITY, "Dr. K");
  ASSERT_TRUE(Doc().OnOpenDocument(WriteText("m.tst", "x")));
  EXPECT_DOUBLE_EQ(Doc().ChInfo[0].unitsPerCm, 50.0);
  EXPECT_EQ(Doc().ChInfo[0].displayInvert, 0);
  EXPECT_EQ(Doc().ChInfo[0].filterMode, 4);
  const LyrRecordInfo& r = Doc().RecordInfo;
  EXPECT_EQ(r.subjectName, "Old Style");
  EXPECT_EQ(r.gender, 0);
  std::vector<std::pair<std::string, std::string>> items;
  for (const auto& item : r.freeComments)
    if (!item.label.empty()) items.emplace_back(item.label, item.text);
  EXPECT_EQ(items, (std::vector<std::pair<std::string, std::string>>{
                       {"roman name", "OLD STYLE"}, {"Height", "170.5"}, {"Weight", "62.5"}, {"Observer", "Dr. K"}}));
}

TEST_F(OpenTest, FilterRecordsBecomeTheChannelFilter) {
  struct Case { std::uint16_t lp, lk; double lf; std::uint16_t hp, hk; double hf; std::uint16_t mode; double cut1, cut2; };
  const Case cases[] = {
      {1, 1, 0.5, 1, 1, 35.0, 2, 35.0, 0.5},   // band-pass
      {1, 1, 40.0, 1, 1, 10.0, 3, 40.0, 10.0}, // band-stop
      {1, 2, 0.3, 1, 2, 70.0, 4, 70.0, 0.3},   // both kind 2
      {1, 1, 0.3, 1, 0, 70.0, 1, 0.3, 20.0},   // high-pass only on
      {1, 5, 0.3, 1, 1, 70.0, 0, 70.0, 20.0},  // other low kind, high on
      {0, 0, 0.0, 1, 1, 15.0, 0, 15.0, 20.0},  // only a high cut
      {1, 0, 0.7, 0, 0, 0.0, 4, 0.7, 20.0},    // only a low cut, off
      {0, 0, 0.0, 0, 0, 0.0, 4, 0.2, 20.0},    // nothing: defaults
  };
  for (const Case& c : cases) {
    TestPluginAnswers& s = UseTestPlugin();
    s.filter = ImpFilterRecord{};
    s.filter.lowPresent = c.lp;
    s.filter.lowKind = c.lk;
    s.filter.lowHz = c.lf;
    s.filter.highPresent = c.hp;
    s.filter.highKind = c.hk;
    s.filter.highHz = c.hf;
    for (auto& ch : Doc().ChInfo) ch.SetDefault();
    ASSERT_TRUE(Doc().OnOpenDocument(WriteText("f.tst", "x")));
    SCOPED_TRACE(testing::Message() << c.lk << "/" << c.hk);
    EXPECT_EQ(Doc().ChInfo[0].filterMode, c.mode);
    EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut1Hz, c.cut1);
    EXPECT_DOUBLE_EQ(Doc().ChInfo[0].cut2Hz, c.cut2);
  }
}

}  // namespace
