// The two pages of the setup window by control id, in the menu and the screening context.
#include <set>

#include "app/settings/sleep_disturbance_page_common.h"
#include "platform/res/ui_resource.h"
#include "platform/system/locale.h"
#include "setup_fixture.h"

namespace {

std::set<int> Ids(const std::vector<res::DialogNode>& nodes) {
  std::set<int> ids;
  for (const auto& n : nodes) {
    if (n.id > 0) ids.insert(n.id);
    ids.merge(Ids(n.children));
  }
  return ids;
}

TEST(SetupTemplates, BothLanguagesCarryTheSameControlsAndTexts) {
  for (int id : {166, 215, 216, 217}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(Ids(en->nodes), Ids(ja->nodes));
  }
  for (std::uint32_t s : {2080u, 2164u, 2174u, 2175u, 2176u, 2303u, 2317u, 2318u, 2335u, 2374u, 61402u, 63310u,
                          63311u, 63312u, 63313u, 63314u, 63315u, 63316u, 63317u}) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

// Menu context: nothing that decides what is recognised where can be changed.
TEST_F(SetupPages, MenuContextKeepsChannelsCursorsAndPeakLevels) {
  Block().airFlow.channel = 5;
  Block().ecgChannel = 4;
  for (int caller : {0, 1}) {
    SCOPED_TRACE(caller);
    Open(caller);
    const bool editable = caller == 1;
    for (int id : {1286, 1287, 1289, 1817, 1333, 1334, 1437, 1297}) EXPECT_EQ(Resp().Item(id).IsEnabled(), editable) << id;
    for (int id : {1316, 1320, 1327, 1811, 1335, 1331, 1329, 1332, 1356})
      EXPECT_EQ(Move().Item(id).IsEnabled(), editable) << id;
    EXPECT_FALSE(Resp().Item(1438).IsEnabled()) << "no chest channel";
    EXPECT_EQ(Move().Item(1818).IsEnabled(), editable) << "without an arousal channel";
    EXPECT_FALSE(Move().Item(1820).IsEnabled());
    EXPECT_TRUE(Resp().Item(1295).IsEnabled()) << "air flow's amplitude";
    EXPECT_FALSE(Resp().Item(1308).IsEnabled()) << "no chest amplitude";
    EXPECT_TRUE(Move().Item(1378).IsEnabled()) << "LF/HF with an ECG channel";
  }
  Block().arousal.channel = 2;
  Open(0);
  EXPECT_TRUE(Move().Item(1818).IsEnabled());
  EXPECT_TRUE(Move().Item(1820).IsEnabled());
  EXPECT_FALSE(Move().Item(1813).IsEnabled());
  EXPECT_FALSE(Move().Item(1814).IsEnabled());
}

TEST_F(SetupPages, AirflowChannelEnablesItsEditsAndTheEventColours) {
  Open(1);
  EXPECT_EQ(Entries(Resp(), 1286).front(), "None");
  EXPECT_EQ(Entries(Resp(), 1286).size(), 9u);
  for (int id : {1437, 1297, 1295, 1291, 1299, 1293, 1301, 1115, 1408, 1401}) EXPECT_FALSE(Resp().Item(id).IsEnabled()) << id;
  Choose(Resp(), 1286, 6);
  EXPECT_EQ(Block().airFlow.channel, 5);
  for (int id : {1437, 1297, 1295, 1291, 1299, 1293, 1301, 1115}) EXPECT_TRUE(Resp().Item(id).IsEnabled()) << id;
  EXPECT_FALSE(Resp().Item(1408).IsEnabled()) << "the colours need chest or abdomen too";
  Choose(Resp(), 1289, 7);
  EXPECT_TRUE(Resp().Item(1408).IsEnabled());
  EXPECT_TRUE(Resp().Item(1401).IsEnabled());
  Choose(Resp(), 1286, 0);
  EXPECT_EQ(Block().airFlow.channel, -1);
  for (int id : {1297, 1291, 1115, 1408, 1401}) EXPECT_FALSE(Resp().Item(id).IsEnabled()) << id;
}

// The first negative value (or a threshold past its word) stops OK with "ERROR" on its edit;
// a text that is not a number reads as 0 and passes.
TEST_F(SetupPages, ChecksRefuseNegativeValuesWithErrorOnTheEdit) {
  struct Case {
    bool move;
    int id;
    const char* text;
    bool refused;
  };
  for (const Case c : {Case{false, 1299, "-1", true}, Case{false, 1115, "-0.5", true}, Case{false, 1823, "-3", true},
                       Case{true, 1326, "-2", true}, Case{true, 1332, "-1", true}, Case{true, 1820, "65536", true},
                       Case{true, 1820, "65535", false}, Case{false, 1299, "abc", false}, Case{true, 1318, "0", false}}) {
    SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
    LyrRawDlgSleepDisturbanceParent& dlg = Open(0);
    testhooks::Reset();
    ui::Dialog& page = c.move ? static_cast<ui::Dialog&>(Move()) : static_cast<ui::Dialog&>(Resp());
    page.SetDlgItemText(c.id, c.text);
    ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
    EXPECT_EQ(dlg.IsEnded(), !c.refused);
    if (c.refused) {
      ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
      EXPECT_EQ(LastBox(), "ERROR");
      EXPECT_EQ(testhooks::ShownMessageBoxes()[0].type & 0xF0u, ui::MB_ICONEXCLAMATION);
      ASSERT_FALSE(testhooks::Beeps().empty());
      EXPECT_EQ(testhooks::Beeps()[0], ui::MB_ICONEXCLAMATION);
      EXPECT_TRUE(page.IsWindowVisible()) << "the page of the edit is shown";
    } else {
      EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << LastBox();
    }
  }
  EXPECT_EQ(Block().arousalThreshold, 65535);
}

TEST_F(SetupPages, LfHfBoundsOfABandMustDiffer) {
  struct Case {
    const char* lower;
    const char* upper;
    bool passes;
  };
  for (const Case c : {Case{"0.15", "0.15", false}, Case{"0.4", "0.15", true}, Case{"0.04", "0.15", true}}) {
    SCOPED_TRACE(std::string(c.lower) + "/" + c.upper);
    Open(1);
    testhooks::Reset();
    Move().SetDlgItemText(1359, c.lower);
    Move().SetDlgItemText(1361, c.upper);
    EXPECT_EQ(Move().CheckECG(), c.passes);
    EXPECT_EQ(testhooks::ShownMessageBoxes().empty(), c.passes);
  }
}

TEST_F(SetupPages, AnalysisTimesFollowTheEpochLength) {
  struct Case {
    int epoch;
    std::vector<std::string> texts;
  };
  for (const Case& c : {Case{30, {"30sec", "1min", "3min", "5min"}}, Case{10, {"10sec", "20sec", "30sec", "1min", "3min", "5min"}},
                        Case{20, {"20sec", "30sec", "1min", "3min", "5min"}}, Case{60, {"1min", "3min", "5min"}}}) {
    SCOPED_TRACE(c.epoch);
    EpochSeconds = c.epoch;
    Open(1);
    EXPECT_EQ(Entries(Move(), 1378), c.texts);
  }
  // A stored time the list lacks shows the first entry, and OK stores it.
  EpochSeconds = 30;
  Block().lfhfTimeS = 45;
  LyrRawDlgSleepDisturbanceParent& dlg = Open(0);
  EXPECT_EQ(Move().Item(1378).GetCurSel(), 0);
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_EQ(Block().lfhfTimeS, 30);
  EXPECT_EQ(Move().GetDlgItemText(1367), "Auto");
  EXPECT_EQ(Entries(Move(), 1375), (std::vector<std::string>{"Rectangular", "Hanning", "Hamming"}));
}

TEST_F(SetupPages, PositionRowsFollowTheChannelAndTheirNumber) {
  Block().positionChannel = 3;
  Open(1);
  Choose(Move(), 1124, 2);  // "3"
  for (int k = 0; k < 6; ++k)
    for (int id : {kSdPositionRows[k].name, kSdPositionRows[k].lower, kSdPositionRows[k].upper})
      EXPECT_EQ(Move().Item(id).IsEnabled(), k <= 2) << id;
  // Lower 3 and upper 1 is the range 1 .. 3; a long name keeps 15 bytes.
  Move().SetDlgItemText(kSdPositionRows[1].lower, "3");
  Move().SetDlgItemText(kSdPositionRows[1].upper, "1");
  Move().SetDlgItemText(kSdPositionRows[0].name, "Left lateral decubitus");
  Move().SavePosition();
  EXPECT_EQ(Block().positionsInUse, 3);
  EXPECT_EQ(Block().positions[1].from, 1.0);
  EXPECT_EQ(Block().positions[1].to, 3.0);
  EXPECT_EQ(Block().positions[0].name, "Left lateral de");
  Choose(Move(), 1335, 0);
  EXPECT_EQ(Block().positionChannel, -1);
  EXPECT_FALSE(Move().Item(1124).IsEnabled());
  for (const SdPositionRowIds& row : kSdPositionRows) EXPECT_FALSE(Move().Item(row.name).IsEnabled());
}

TEST_F(SetupPages, JapanesePositionNamesAreCutBetweenCharacters) {
  res::SetLanguage(res::Language::Japanese);
  sys::SetThreadLocale(sys::kLcidJapanese);
  Block().positionChannel = 3;
  Open(1);
  // Eight characters of two bytes each in the Japanese code page: seven fit in 15 bytes.
  Move().SetDlgItemText(kSdPositionRows[2].name, "右側臥位右側臥位");
  Move().SavePosition();
  EXPECT_EQ(Block().positions[2].name, "右側臥位右側臥");
  sys::ResetThreadLocaleForTesting();
  res::SetLanguage(res::Language::English);
}

// OK after edits of an ECG "Show peak" and without an SpO2 channel: the show peak is stored,
// the SpO2 show flag and level stay as stored.
TEST_F(SetupPages, OkStoresShowPeakAndKeepsSpO2WithoutItsChannel) {
  Block().spo2Show = 1;
  Block().spo2ShowLevel = 92.5;
  LyrRawDlgSleepDisturbanceParent& dlg = Open(1);
  Move().CheckDlgButton(1685, 0);
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_EQ(Block().ecgShowPeak, 0);
  EXPECT_EQ(Block().spo2Show, 1);
  EXPECT_EQ(Block().spo2ShowLevel, 92.5);

  Block().spo2Channel = 7;
  Open(1);
  EXPECT_EQ(Resp().GetDlgItemText(1903), "92.5");
  EXPECT_EQ(Resp().GetDlgItemText(1921), "%");
  ASSERT_TRUE(Resp().ClickButton(1684));  // off
  EXPECT_FALSE(Resp().Item(1903).IsEnabled());
  EXPECT_FALSE(Resp().Item(1416).IsEnabled());
  EXPECT_EQ(Block().spo2Show, 0);
}

// "Lead..." and "Save..." through the file dialogs.
TEST_F(SetupPages, TemplatesSaveAndLeadThroughTheWindow) {
  testhooks::TempProgramFolder folder;
  const std::string path = folder.Path() + "/setup.sdr";
  Block().spo2Channel = 7;
  Block().spo2Show = 1;
  Block().spo2ShowLevel = 90.0;
  LyrRawDlgSleepDisturbanceParent& dlg = Open(1);
  Resp().SetDlgItemText(1299, "25");       // saved with the template
  Resp().SetDlgItemText(1903, "80.0");     // the SpO2 group is not saved by "Save..."
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(Resp().ClickButton(1900));
  EXPECT_EQ(Block().airFlow.values[4], 25.0);
  EXPECT_EQ(Block().spo2ShowLevel, 90.0);
  EXPECT_EQ(LastFolderPath, folder.Path());
  SleepDstrbParam saved = Block();

  // Another block, then "Lead...": the saved one comes back and the pages show it.
  Block().airFlow.values[4] = 10.0;
  Block().spo2ShowLevel = 70.0;
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(Resp().ClickButton(1899));
  EXPECT_EQ(Block().airFlow.values[4], 25.0);
  EXPECT_EQ(Block().spo2ShowLevel, 90.0);
  EXPECT_EQ(Resp().GetDlgItemText(1299), "25.000");
  EXPECT_EQ(Resp().GetDlgItemText(1903), "90.0");
  EXPECT_TRUE(SameRecognitionSettings(Block(), saved));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());

  // A channel the recording lacks shows "None" and is stored as none.
  doc.RecordInfo.channelCount = 12;
  Block().ecgChannel = 11;
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(Resp().ClickButton(1900));
  doc.RecordInfo.channelCount = 8;
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(Resp().ClickButton(1899));
  EXPECT_EQ(Block().ecgChannel, -1);
  EXPECT_EQ(Move().Item(1327).GetCurSel(), 0);
  ASSERT_TRUE(dlg.ClickButton(ui::IDCANCEL));
}

TEST_F(SetupPages, TemplateThatCannotBeReadChangesNothingAndSaysWhy) {
  testhooks::TempProgramFolder folder;
  const std::string wrong = folder.WriteFile("wrong.sdr", std::string("\x03\x00", 2) + std::string(694, '\0'));
  const std::string shortFile = folder.WriteFile("short.sdr", std::string("\x02\x00", 2) + std::string(100, '\0'));
  const std::string missing = folder.Path() + "/missing.sdr";
  struct Case {
    std::string path;
    std::string text;
  };
  Open(1);
  const SleepDstrbParam before = Block();
  for (const Case& c : {Case{wrong, "Cannot open the file. The version is different."},
                        Case{shortFile, "The template file is cut short: it holds 102 of 696 bytes.\n" + shortFile},
                        Case{missing, "The template file could not be opened:\n" + missing}}) {
    SCOPED_TRACE(c.path);
    testhooks::Reset();
    testhooks::AnswerFileDialog(ui::IDOK, {c.path});
    ASSERT_TRUE(Resp().ClickButton(1899));
    EXPECT_EQ(LastBox(), c.text);
    ASSERT_FALSE(testhooks::Beeps().empty());
    EXPECT_EQ(testhooks::Beeps()[0], ui::MB_ICONEXCLAMATION);
    EXPECT_TRUE(SameRecognitionSettings(Block(), before));
    EXPECT_EQ(Block().version, 2);
  }
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {folder.Path() + "/no/such/folder/x.sdr"});
  ASSERT_TRUE(Resp().ClickButton(1900));
  EXPECT_EQ(LastBox(), "The template file could not be written:\n" + folder.Path() + "/no/such/folder/x.sdr");
}

}  // namespace
