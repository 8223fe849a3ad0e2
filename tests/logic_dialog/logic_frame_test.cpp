// The Logic window in the started program on a generated night: opened by Modify Logic (32808)
// and by the Screening window, its FFT settings, the last-stage rule dialogs, template loads
// and saves through the file dialogs, the animal-only question with the reopening, and the
// re-scoring after OK.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/document/mode_ini.h"
#include "app/settings/logic_template_file.h"
#include "app/settings/lyr_raw_dlg_discussin.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"
#include "screening/screening_fixture.h"

namespace {

class LogicFrame : public ScreeningTest {
 protected:
  void SetUp() override {
    ScreeningTest::SetUp();
    AnimalOnlyMode = 0;
    // The default sets test the EMG integral, which needs the recognition's EMG channel.
    Doc().Params.waveForm.emgChannel = EmgChannel();
  }
  int EmgChannel() {
    for (int c = 0; c < Doc().RecordInfo.channelCount; ++c)
      if (Doc().ChInfo[static_cast<std::size_t>(c)].name.find("EMG") != std::string::npos) return c;
    return 0;
  }
  void TearDown() override {
    if (Frame().LogicDlg != nullptr) Frame().CloseLogicDlg(2);
    testhooks::ProcessMessages();
    AnimalOnlyMode = 0;
    ScreeningTest::TearDown();
  }

  LyrRawDlgDiscussin& OpenFromMenu() {
    EXPECT_TRUE(ui::ExecuteCommand(Frame(), 32808));
    EXPECT_NE(Frame().LogicDlg, nullptr);
    testhooks::Reset();
    return *Frame().LogicDlg;
  }
  std::array<LogicCondition, 20>& Set() {
    return Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)];
  }
  void Select(LyrRawDlgDiscussin& dlg, int row) {
    dlg.Item(IDC_LOGIC_LIST).SetCurSel(row);
    ui::NotifyHeader h{IDC_LOGIC_LIST, ui::NM_CLICK};
    dlg.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = OutPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string TemplateOfCurrentSet(float firstLower, std::uint16_t mode) {
    LogicConditionSet set;
    std::copy(Set().begin(), Set().end(), set.begin());
    set[0].term1.lower = firstLower;
    LogicOptionParam option = Doc().Params.logicOption;
    option.lastStageMode = mode;
    return BuildLogicTemplate(Doc().Params.stageType.stageType, set, CountUsedConditions(set), option);
  }
};

}  // namespace

TEST_F(LogicFrame, ModifyLogicShowsTheFftSettingsReadOnly) {
  LyrRawDlgDiscussin& dlg = OpenFromMenu();
  EXPECT_EQ(dlg.m_CheckOnly, 1);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_LOGIC_FFT), "Check FFT...(&F)");
  ASSERT_EQ(Set()[0].term1.valueCode, 13) << "the default set tests the EMG integral first";
  Select(dlg, 0);
  EXPECT_TRUE(dlg.Item(IDC_LOGIC_LOWER1).IsEnabled());
  EXPECT_FALSE(dlg.Item(IDC_LOGIC_CHANNEL1).IsEnabled()) << "no EMG channel from here";

  bool okEnabled = true;
  bool pageEnabled = true;
  testhooks::ScriptDialog(IDD_LOGIC_SETTING_FFT, [&](ui::Dialog& d) {
    auto& host = dynamic_cast<LyrRawDlgSettingFFT&>(d);
    okEnabled = host.Item(ui::IDOK).IsEnabled();
    pageEnabled = host.m_Fft.Item(IDC_OFFT_POINTS).IsEnabled();
    host.ClickButton(ui::IDCANCEL);
  });
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_FFT));
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{IDD_LOGIC_SETTING_FFT});
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(pageEnabled);
}

TEST_F(LogicFrame, FromTheScreeningWindowTheFftSettingsCanBeChanged) {
  Doc().Params.fftBand.channelSwitch[0] = 1;
  LyrDlgScreening& screening = OpenScreening();
  ASSERT_TRUE(screening.ClickButton(IDC_SCR_LOGIC));
  ASSERT_NE(Frame().LogicDlg, nullptr);
  LyrRawDlgDiscussin& dlg = *Frame().LogicDlg;
  EXPECT_EQ(dlg.m_CheckOnly, 0);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_LOGIC_FFT), "Setting FFT...(&F)");
  const int index = dlg.ParamCodeToComboIndex(14);
  ASSERT_GE(index, 0);
  EXPECT_EQ(dlg.Item(IDC_LOGIC_PARAM1).GetString(index), "FFT-DeltaPower");

  testhooks::ScriptDialog(IDD_LOGIC_SETTING_FFT, [](ui::Dialog& d) {
    auto& host = dynamic_cast<LyrRawDlgSettingFFT&>(d);
    EXPECT_TRUE(host.Item(ui::IDOK).IsEnabled());
    host.m_Fft.SetDlgItemText(kOfftBandEdits[0][0], "Slow");
    host.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_FFT));
  EXPECT_EQ(Doc().Params.fftBand.bands[0].name, "Slow");
  EXPECT_EQ(dlg.Item(IDC_LOGIC_PARAM1).GetString(index), "FFT-SlowPower") << "the parameter lists were refilled";
  EXPECT_EQ(dlg.Item(IDC_LOGIC_LIST).GetCurSel(), 0);

  // "Parameter..." opens the rules of the chosen mode.
  testhooks::Reset();
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_MODE_RK));
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_PARAMETER));
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_MODE_STAGE_CHANGE));
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_PARAMETER));
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_MODE_NO));
  EXPECT_FALSE(dlg.ClickButton(IDC_LOGIC_PARAMETER));
  EXPECT_EQ(testhooks::ShownDialogs(), (std::vector<int>{208, 476}));
}

TEST_F(LogicFrame, EightSecondEpochsDisableTheRechtschaffenKalesRules) {
  EpochSeconds = 8;
  LyrRawDlgDiscussin& dlg = OpenFromMenu();
  EXPECT_FALSE(dlg.Item(IDC_LOGIC_MODE_RK).IsEnabled());
  EXPECT_TRUE(dlg.Item(IDC_LOGIC_MODE_RK).IsVisible());
}

TEST_F(LogicFrame, TemplatesAreSavedAndLoadedThroughTheFileDialogs) {
  LyrRawDlgDiscussin& dlg = OpenFromMenu();
  const std::string saved = OutPath("night.ltf");
  testhooks::AnswerFileDialog(ui::IDOK, {saved});
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_SAVE));
  EXPECT_EQ(ReadFile(saved), TemplateOfCurrentSet(Set()[0].term1.lower, Doc().Params.logicOption.lastStageMode));

  const auto before = Set();
  struct Case {
    const char* what;
    std::string path;
    std::string box;
  };
  std::string otherType = TemplateOfCurrentSet(1.0f, 0);
  otherType[0] = static_cast<char>((Doc().Params.stageType.stageType + 1) % 4);
  const Case cases[] = {
      {"other stage type", WriteFile("other.ltf", otherType), "Invalid stage type."},
      {"cut short", WriteFile("short.ltf", TemplateOfCurrentSet(1.0f, 0).substr(0, 600)),
       "Cannot open the file. The version is different.\n" + OutPath("short.ltf")},
      {"missing", OutPath("missing.ltf"), "The logic template file could not be opened:\n" + OutPath("missing.ltf")},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    testhooks::AnswerFileDialog(ui::IDOK, {c.path});
    ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_LOAD));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box}) << c.what;
    EXPECT_EQ(testhooks::Beeps().size(), 1u) << c.what;
    EXPECT_EQ(Set()[0].term1.lower, before[0].term1.lower) << c.what;
  }
}

// After a load, Cancel keeps the loaded conditions but puts back the option and FFT blocks
// of the opening.
TEST_F(LogicFrame, CancelAfterALoadKeepsTheLoadedConditions) {
  LyrRawDlgDiscussin& dlg = OpenFromMenu();
  const std::uint16_t bands = Doc().Params.fftBand.bandCount;
  const std::string path = WriteFile("loaded.ltf", TemplateOfCurrentSet(42.0f, 2));
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_LOAD));
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(Set()[0].term1.lower, 42.0f);
  EXPECT_EQ(Doc().Params.logicOption.lastStageMode, 2);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_LOGIC_MODE_STAGE_CHANGE), 1);
  EXPECT_EQ(dlg.Item(IDC_LOGIC_LIST).GetItemText(0, 2), "42.000");
  Doc().Params.fftBand.bandCount = 6;

  ASSERT_TRUE(dlg.ClickButton(ui::IDCANCEL));
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().LogicDlg, nullptr);
  EXPECT_EQ(Set()[0].term1.lower, 42.0f);
  EXPECT_EQ(Doc().Params.logicOption.lastStageMode, 0);
  EXPECT_EQ(Doc().Params.fftBand.bandCount, bands);
}

// In animal-only mode a template testing the human wave forms asks first; OK switches the
// mode off, stores it and opens the window again with the loaded logic.
TEST_F(LogicFrame, AnimalOnlyModeAsksBeforeLoadingHumanLogic) {
  AnimalOnlyMode = 1;
  ASSERT_TRUE(WriteModeIni(ModeSwitches{1, 0}));
  LyrRawDlgDiscussin* first = &OpenFromMenu();
  const auto before = Set();
  const LogicOptionParam option = Doc().Params.logicOption;
  const std::string path = WriteFile("human.ltf", TemplateOfCurrentSet(77.0f, 0));
  const std::string question =
      "The parameters without EMG and Free band are used.\n[Display animal only setting]menu is off automatically.";

  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(first->ClickButton(IDC_LOGIC_LOAD));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{question});
  EXPECT_EQ(AnimalOnlyMode, 1);
  EXPECT_EQ(Set()[0].term1.lower, before[0].term1.lower);
  EXPECT_EQ(Doc().Params.logicOption.lastStageMode, option.lastStageMode);
  EXPECT_EQ(Frame().LogicDlg, first);

  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(first->ClickButton(IDC_LOGIC_LOAD));
  testhooks::ProcessMessages();
  EXPECT_EQ(AnimalOnlyMode, 0);
  EXPECT_EQ(ReadModeIni().animalOnly, 0);
  ASSERT_NE(Frame().LogicDlg, nullptr);
  EXPECT_EQ(Frame().LogicDlg->m_CheckOnly, 1) << "reopened with the same flag";
  EXPECT_EQ(Set()[0].term1.lower, 77.0f);
  EXPECT_EQ(Frame().LogicDlg->Item(IDC_LOGIC_LIST).GetItemText(0, 2), "77.000");
  EXPECT_TRUE(Frame().LogicDlg->Item(IDC_LOGIC_MODE_RK).IsVisible());
}

// OK from Modify Logic on the screened night: every epoch gets the stage and candidates of a
// fresh evaluation of the edited set, its earlier stage moves into the history.
TEST_F(LogicFrame, OkRescoresTheScreenedNightWithTheEditedCondition) {
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33012));
  RunTimer();
  ASSERT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
  std::vector<std::uint8_t> old(kEpochs);
  for (int e = 0; e < kEpochs; ++e) old[static_cast<std::size_t>(e)] = Doc().EpochTables.GetStage(0, e, 0);
  ResultModifiedState = 0;

  LyrRawDlgDiscussin& dlg = OpenFromMenu();
  // The wake condition of the default set becomes: the mean of channel 1 between -20 and 20.
  int wakeRow = -1;
  for (int i = 0; i < 20; ++i)
    if (Set()[static_cast<std::size_t>(i)].term1.valueCode == 3) wakeRow = i;
  ASSERT_GE(wakeRow, 0);
  Select(dlg, wakeRow);
  ui::Control param = dlg.Item(IDC_LOGIC_PARAM1);
  param.SetCurSel(dlg.ParamCodeToComboIndex(28));
  dlg.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_LOGIC_PARAM1, ui::CBN_SELCHANGE), 0);
  dlg.Item(IDC_LOGIC_CHANNEL1).SetCurSel(0);
  dlg.SetDlgItemText(IDC_LOGIC_LOWER1, "-20");
  dlg.SetDlgItemText(IDC_LOGIC_UPPER1, "20");
  ASSERT_TRUE(dlg.ClickButton(IDC_LOGIC_APPLY));
  ASSERT_EQ(Set()[static_cast<std::size_t>(wakeRow)].term1.valueCode, 28);
  ASSERT_EQ(Set()[static_cast<std::size_t>(wakeRow)].term1.lower, -20.0f);
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().LogicDlg, nullptr);
  EXPECT_EQ(ResultModifiedState, 2);

  int changed = 0;
  for (int e = 0; e < kEpochs; ++e) {
    std::uint8_t fresh[kCandidateCount] = {};
    std::uint8_t expected = Doc().EvaluateLogic(Set().data(), e, fresh);
    const std::uint8_t before = old[static_cast<std::size_t>(e)];
    if (before >= 20 && expected < 20) expected = static_cast<std::uint8_t>(expected + 20);
    EXPECT_EQ(Doc().EpochTables.GetStage(0, e, 0), expected) << e;
    EXPECT_EQ(Doc().EpochTables.GetStage(0, e, 1), before) << e;
    if (before < 20) {
      std::uint8_t stored[kCandidateCount] = {};
      Doc().EpochTables.GetCandidates(0, e, stored);
      EXPECT_TRUE(std::equal(std::begin(fresh), std::end(fresh), std::begin(stored))) << e;
    }
    if (expected != before) ++changed;
  }
  EXPECT_GT(changed, 0) << "the lower wake bound must change some epochs";
}

// The same reopening from the Screening window: both windows open anew, the Logic window
// again with the FFT settings editable, and OK still hands the logic to the Screening window.
TEST_F(LogicFrame, ReopeningFromTheScreeningWindowKeepsItsCaller) {
  AnimalOnlyMode = 1;
  LyrDlgScreening& screening = OpenScreening();
  ASSERT_TRUE(screening.ClickButton(IDC_SCR_LOGIC));
  ASSERT_NE(Frame().LogicDlg, nullptr);
  const std::string path = WriteFile("human.ltf", TemplateOfCurrentSet(66.0f, 0));
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(Frame().LogicDlg->ClickButton(IDC_LOGIC_LOAD));
  testhooks::ProcessMessages();
  EXPECT_EQ(AnimalOnlyMode, 0);
  ASSERT_NE(Frame().LogicDlg, nullptr);
  ASSERT_NE(Frame().ScreeningDlg, nullptr);
  EXPECT_EQ(Frame().LogicDlg->m_CheckOnly, 0);
  EXPECT_EQ(Frame().LogicDlg->GetDlgItemText(IDC_LOGIC_FFT), "Setting FFT...(&F)");

  ASSERT_TRUE(Frame().LogicDlg->ClickButton(ui::IDOK));
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().LogicDlg, nullptr);
  EXPECT_EQ(Doc().ScreeningConditions[0].logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)][0]
                .term1.lower,
            66.0f);
}
