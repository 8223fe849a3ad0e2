// The Logic window (template 221) driven by control id on a document without a frame: the
// count, the list, showing and applying one condition, order and erase, the checks of OK and
// Cancel's restore.
#include <memory>

#include "app/settings/lyr_raw_dlg_discussin.h"
#include "platform/ui/messages.h"
#include "shared_dialogs/dialog_fixture.h"

namespace {

LogicCondition Cond(float lower, std::uint16_t code, std::uint16_t channel, float upper, std::uint8_t stage) {
  LogicCondition c;
  c.term1 = {lower, 1, code, channel, 3, upper};
  c.stage = stage;
  return c;
}

class LogicDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    AnimalOnlyMode = 0;
    doc.Params.stageType.stageType = 0;
    doc.Params.stageType.sharedInUse = 0;
    SetDefaultFFTBandParam(0, &doc.Params.fftBand, 2);
    for (auto& c : Set()) c = LogicCondition{};
  }
  void TearDown() override {
    if (dlg_) dlg_->DestroyWindow();
    dlg_.reset();
    AnimalOnlyMode = 0;
    DialogTest::TearDown();
  }

  std::array<LogicCondition, 20>& Set() {
    return doc.Params.logic.sets[static_cast<std::size_t>(doc.Params.stageType.stageType)];
  }
  // Five used conditions: four tests on channel statistics, then the default rule.
  void FiveConditions() {
    Set()[0] = Cond(1.0f, 26, 0, 2.0f, 1);
    Set()[1] = Cond(2.0f, 27, 1, 3.0f, 2);
    Set()[2] = Cond(3.0f, 28, 0, 4.0f, 3);
    Set()[3] = Cond(4.0f, 29, 1, 5.0f, 4);
    Set()[4].stage = 5;
  }

  LyrRawDlgDiscussin& Open(int caller = 2) {
    dlg_ = std::make_unique<LyrRawDlgDiscussin>(&doc, caller);
    EXPECT_TRUE(dlg_->CreateModeless());
    testhooks::Reset();
    return *dlg_;
  }
  ui::Control List() { return dlg_->Item(IDC_LOGIC_LIST); }
  void Select(int row) {
    List().SetCurSel(row);
    ui::NotifyHeader h{IDC_LOGIC_LIST, ui::NM_CLICK};
    dlg_->SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  void Choose(int combo, int entry) {
    dlg_->Item(combo).SetCurSel(entry);
    dlg_->SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(combo), ui::CBN_SELCHANGE), 0);
  }
  void LeaveCount() {
    dlg_->SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_LOGIC_COUNT, ui::EN_KILLFOCUS), 0);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    return texts;
  }
  bool Enabled(int id) { return dlg_->Item(id).IsEnabled(); }

  std::unique_ptr<LyrRawDlgDiscussin> dlg_;
};

}  // namespace

TEST_F(LogicDialog, TemplatesOfBothLanguagesCarryTheSameControls) {
  for (int id : {IDD_LOGIC, IDD_LOGIC_SETTING_FFT}) {
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033);
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041);
    ASSERT_TRUE(en && ja) << id;
    EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes)) << id;
  }
  const auto en = res::LoadDialogResource(IDD_LOGIC, 1033);
  for (int id : {9137, 9139, 1841, 9145, 9146, 1769, 1442, 1444, 1446, 9141, 1447, 1448, 1681, 1450, 1451, 1452, 9143,
                 1453, 1454, 1853, 1514, 1804, 1805, 1806, 1855, 1275, 1276, 1280, 1, 2})
    EXPECT_TRUE(TemplateControlIds(en->nodes).count(id)) << id;
}

TEST_F(LogicDialog, OpeningShowsTheUsedConditionsWithTheDefaultRuleLast) {
  FiveConditions();
  Set()[1].andSwitch = 1;
  Set()[1].term2 = {0.5f, 0, 18, 0xFFFF, 2, 9.0f};
  Open();
  EXPECT_EQ(dlg_->GetDlgItemText(IDC_LOGIC_COUNT), "5");
  ASSERT_EQ(List().GetCount(), 5);
  EXPECT_EQ(List().GetColumnCount(), 15);
  EXPECT_EQ(List().GetItemText(0, 0), "  1");
  EXPECT_EQ(List().GetItemText(0, 2), "1.000");
  EXPECT_EQ(List().GetItemText(0, 3), "<=");
  EXPECT_EQ(List().GetItemText(0, 4), "Min.");
  EXPECT_EQ(List().GetItemText(0, 5), " 1:EEG");
  EXPECT_EQ(List().GetItemText(0, 6), "<=");
  EXPECT_EQ(List().GetItemText(0, 7), "2.000");
  EXPECT_EQ(List().GetItemText(1, 8), "&");
  EXPECT_EQ(List().GetItemText(1, 11), "FFT-Band3Power") << "no channel was flagged for the FFT when the list was filled";
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[0], 1) << "the FFT clause flagged one at opening";
  EXPECT_EQ(List().GetItemText(4, 0), "  5");
  for (int col = 2; col < 15; ++col) EXPECT_EQ(List().GetItemText(4, col), "") << col;
  for (int id : {1442, 1444, 1446, 9141, 1447, 1448, 1681, 1450, 1451, 1452, 9143, 1453, 1454, 1853, 1514})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDC_LOGIC_ERASE));
  EXPECT_EQ(dlg_->GetDlgItemText(IDC_LOGIC_FFT), "Setting FFT...(&F)");
  EXPECT_EQ(dlg_->IsDlgButtonChecked(IDC_LOGIC_MODE_NO), 1);
  EXPECT_FALSE(Enabled(IDC_LOGIC_PARAMETER));
}

// Part of the edge cases of the window, one block each.
TEST_F(LogicDialog, CountFieldShowsTheSetsRecordsAndRefusesWhatIsNoCount) {
  Set()[1] = Cond(2.0f, 27, 1, 3.0f, 2);
  Set()[2].stage = 4;
  Open();
  EXPECT_EQ(List().GetCount(), 0) << "the first record has stage 0";
  dlg_->SetDlgItemText(IDC_LOGIC_COUNT, "3");
  ASSERT_EQ(List().GetCount(), 3);
  EXPECT_EQ(List().GetItemText(0, 1), "None");
  EXPECT_EQ(List().GetItemText(1, 4), "Max.");
  EXPECT_EQ(Set()[1].term1.valueCode, 27) << "the set itself is unchanged";
  LeaveCount();
  EXPECT_TRUE(Boxes().empty());

  for (const char* bad : {"21", "x", "0", ""}) {
    testhooks::Reset();
    dlg_->SetDlgItemText(IDC_LOGIC_COUNT, bad);
    LeaveCount();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Input Used condition number 1 to 20."}) << bad;
    EXPECT_EQ(testhooks::Beeps().size(), 1u) << bad;
  }
}

// OK with a count of 0 once cleared every record and staged every epoch 1: the count is
// checked first.
TEST_F(LogicDialog, OkAndSaveRefuseACountOutsideOneToTwenty) {
  FiveConditions();
  Open();
  const auto before = Set();
  dlg_->SetDlgItemText(IDC_LOGIC_COUNT, "0");
  ASSERT_TRUE(dlg_->ClickButton(ui::IDOK));
  EXPECT_FALSE(dlg_->IsEnded());
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Input Used condition number 1 to 20."});
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Set()[static_cast<std::size_t>(i)].stage, before[static_cast<std::size_t>(i)].stage);

  testhooks::Reset();
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_SAVE));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Input Used condition number 1 to 20."});
  EXPECT_TRUE(testhooks::ShownDialogs().empty());
}

TEST_F(LogicDialog, DefaultRuleAndPreviousStageRowsGiveTheirStageAlone) {
  FiveConditions();
  Open();
  Select(4);
  for (int id : {1442, 1444, 1446, 9141, 1447, 1448, 1681, 1450, 1451, 1452, 9143, 1453, 1454})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDC_LOGIC_STAGE));
  EXPECT_TRUE(Enabled(IDC_LOGIC_APPLY));
  Choose(IDC_LOGIC_STAGE, 1);
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_APPLY));
  EXPECT_EQ(Set()[4].stage, 2);
  EXPECT_EQ(Set()[4].term1.valueCode, 0);
  EXPECT_EQ(Set()[4].mark, 2);

  Select(1);
  EXPECT_TRUE(Enabled(IDC_LOGIC_LOWER1));
  ui::Control stage = dlg_->Item(IDC_LOGIC_STAGE);
  Choose(IDC_LOGIC_STAGE, stage.GetCount() - 1);
  EXPECT_EQ(stage.GetString(stage.GetCount() - 1), "Previous stage");
  for (int id : {1442, 1444, 1446, 1447, 1448, 1681}) EXPECT_FALSE(Enabled(id)) << id;
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_APPLY));
  EXPECT_EQ(Set()[1].stage, 255);
  EXPECT_EQ(Set()[1].term1.valueCode, 0);
  EXPECT_EQ(List().GetItemText(1, 1), "Previous stage");
  EXPECT_EQ(List().GetItemText(1, 2), "");
  EXPECT_EQ(List().GetCurSel(), 1);
}

TEST_F(LogicDialog, ApplyChecksTheBounds) {
  FiveConditions();
  Open();
  struct Case {
    const char* lower;
    const char* upper;
    std::vector<std::string> boxes;
    int beeps;
    float storedLower, storedUpper;  // NaN: nothing stored
  };
  const float kKept = -1.0f;
  const Case cases[] = {
      {"5", "2", {"The bigness and smallness of the Parameter value are changed and applied."}, 0, 2.0f, 5.0f},
      {"3", "3", {"Confirm the bigness and smallness of the Parameter value."}, 1, kKept, kKept},
      {"-", "4", {"Not specified."}, 1, kKept, kKept},
      {".", "4", {"Not specified."}, 1, kKept, kKept},
      {"1-2", "4", {"Not specified."}, 1, kKept, kKept},
      {"1e3", "4", {"Not specified."}, 1, kKept, kKept},
      {"1", "", {"Not specified."}, 1, kKept, kKept},
      {"-1.5", " 7 ", {}, 0, -1.5f, 7.0f},
  };
  for (const Case& c : cases) {
    Set()[2] = Cond(3.0f, 28, 0, 4.0f, 3);
    Select(2);
    testhooks::Reset();
    dlg_->SetDlgItemText(IDC_LOGIC_LOWER1, c.lower);
    dlg_->SetDlgItemText(IDC_LOGIC_UPPER1, c.upper);
    ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_APPLY));
    EXPECT_EQ(Boxes(), c.boxes) << c.lower << " " << c.upper;
    EXPECT_EQ(static_cast<int>(testhooks::Beeps().size()), c.beeps) << c.lower << " " << c.upper;
    if (c.storedLower == kKept) {
      EXPECT_EQ(Set()[2].term1.lower, 3.0f) << c.lower;
      EXPECT_EQ(Set()[2].term1.upper, 4.0f) << c.lower;
    } else {
      EXPECT_EQ(Set()[2].term1.lower, c.storedLower) << c.lower;
      EXPECT_EQ(Set()[2].term1.upper, c.storedUpper) << c.lower;
      EXPECT_EQ(Set()[2].term1.valueCode, 28);
      EXPECT_EQ(Set()[2].term1.lowerOp, 1);
      EXPECT_EQ(Set()[2].term1.upperOp, 3);
      EXPECT_EQ(Set()[2].stage, 3);
    }
  }
}

TEST_F(LogicDialog, StageComboFollowsTheStageTypeAndItsExtraStages) {
  doc.Params.stageType.stageType = 1;
  doc.Params.stageType.sharedInUse = 2;
  doc.Params.stageType.shared[0].name = "F1";
  doc.Params.stageType.shared[1].name = "F2";
  for (auto& c : Set()) c = LogicCondition{};
  Set()[0] = Cond(1.0f, 26, 0, 2.0f, 9);
  Set()[1].stage = 3;
  Open();
  ui::Control stage = dlg_->Item(IDC_LOGIC_STAGE);
  ASSERT_EQ(stage.GetCount(), 9);
  EXPECT_EQ(stage.GetString(7), "F2");
  EXPECT_EQ(stage.GetString(8), "Previous stage");
  Select(0);
  EXPECT_EQ(stage.GetCurSel(), 7);
  dlg_->DestroyWindow();

  doc.Params.stageType.sharedInUse = 3;
  Set()[0].stage = 255;
  Open();
  stage = dlg_->Item(IDC_LOGIC_STAGE);
  ASSERT_EQ(stage.GetCount(), 10);
  Select(0);
  EXPECT_EQ(stage.GetCurSel(), 9);
}

TEST_F(LogicDialog, EraseAndMoveKeepTheListAndTheSetInStep) {
  FiveConditions();
  Open();
  Select(1);
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_ERASE));
  EXPECT_EQ(dlg_->GetDlgItemText(IDC_LOGIC_COUNT), "4");
  EXPECT_EQ(dlg_->UsedCount(), 4);
  ASSERT_EQ(List().GetCount(), 4);
  EXPECT_EQ(List().GetCurSel(), 1);
  EXPECT_EQ(Set()[1].term1.valueCode, 28) << "the former row 3 moved up";
  EXPECT_EQ(Set()[3].stage, 5);
  EXPECT_EQ(Set()[4].stage, 0);

  Select(0);
  EXPECT_FALSE(Enabled(IDC_LOGIC_UP));
  EXPECT_TRUE(Enabled(IDC_LOGIC_DOWN));
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_DOWN));
  EXPECT_EQ(List().GetCurSel(), 1);
  EXPECT_EQ(Set()[1].term1.valueCode, 26);
  EXPECT_EQ(Set()[0].term1.valueCode, 28);
  Select(3);
  EXPECT_TRUE(Enabled(IDC_LOGIC_UP));
  EXPECT_FALSE(Enabled(IDC_LOGIC_DOWN));
  EXPECT_FALSE(dlg_->ClickButton(IDC_LOGIC_DOWN));
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_UP));
  EXPECT_EQ(Set()[2].stage, 5);
  EXPECT_EQ(Set()[3].term1.valueCode, 29);

  for (int i = 0; i < 2; ++i) {
    Select(0);
    ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_ERASE));
  }
  ASSERT_EQ(List().GetCount(), 2);
  Select(0);
  EXPECT_FALSE(Enabled(IDC_LOGIC_UP));
  EXPECT_FALSE(Enabled(IDC_LOGIC_DOWN)) << "order buttons need three rows";
}

TEST_F(LogicDialog, OkNamesTheFirstFaultAndSelectsItsRow) {
  AnimalOnlyMode = 1;  // no channel handed to the FFT settings at opening
  FiveConditions();
  Set()[2] = Cond(1.0f, 18, 0xFFFF, 2.0f, 3);
  Open();
  EXPECT_EQ(List().GetItemText(2, 4), "FFT-Band3Power");
  ASSERT_TRUE(dlg_->ClickButton(ui::IDOK));
  EXPECT_FALSE(dlg_->IsEnded());
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Channel No. is not specified."});
  EXPECT_EQ(List().GetCurSel(), 2);

  struct Case {
    LogicCondition row2;
    std::string box;
  };
  LogicCondition noParam = Cond(1.0f, 0, 0, 2.0f, 3);
  LogicCondition noStage;
  LogicCondition backwards = Cond(5.0f, 26, 0, 2.0f, 3);
  LogicCondition badClause2 = Cond(1.0f, 26, 0, 2.0f, 3);
  badClause2.andSwitch = 1;
  badClause2.term2 = {1.0f, 0, 27, 0xFFFF, 2, 3.0f};
  const Case cases[] = {{noParam, "3 is not specified."},
                        {noStage, "3 is not specified."},
                        {backwards, "Confirm the bigness and smallness of the Parameter value."},
                        {badClause2, "Channel No. is not specified."}};
  for (const Case& c : cases) {
    Set()[2] = c.row2;
    Select(0);
    testhooks::Reset();
    ASSERT_TRUE(dlg_->ClickButton(ui::IDOK));
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_EQ(List().GetCurSel(), 2) << c.box;
    EXPECT_FALSE(dlg_->IsEnded());
  }

  Set()[2] = Cond(1.0f, 26, 0, 2.0f, 3);
  Set()[7].stage = 6;
  testhooks::Reset();
  ASSERT_TRUE(dlg_->ClickButton(ui::IDOK));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(dlg_->EndCode(), ui::IDOK);
  EXPECT_EQ(Set()[7].stage, 0) << "records after the used ones are cleared";
}

TEST_F(LogicDialog, CancelPutsBackTheFourCopies) {
  FiveConditions();
  doc.Params.waveForm.emgChannel = 1;
  Open();
  Select(0);
  dlg_->SetDlgItemText(IDC_LOGIC_LOWER1, "0.5");
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_APPLY));
  ASSERT_EQ(Set()[0].term1.lower, 0.5f);
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_MODE_STAGE_CHANGE));
  EXPECT_EQ(doc.Params.logicOption.lastStageMode, 2);
  EXPECT_TRUE(Enabled(IDC_LOGIC_PARAMETER));
  doc.Params.fftBand.bandCount = 6;
  doc.Params.waveForm.emgChannel = 0;
  doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 1;

  ASSERT_TRUE(dlg_->ClickButton(ui::IDCANCEL));
  EXPECT_EQ(dlg_->EndCode(), ui::IDCANCEL);
  EXPECT_EQ(Set()[0].term1.lower, 1.0f);
  EXPECT_EQ(doc.Params.logicOption.lastStageMode, 0);
  EXPECT_EQ(doc.Params.fftBand.bandCount, 3);
  EXPECT_EQ(doc.Params.waveForm.emgChannel, 1);
  EXPECT_EQ(doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel, 1)
      << "the other recognition channels are not taken back";
}

// At opening the conditions hand their channels to the recognition and FFT settings.
TEST_F(LogicDialog, OpeningGivesUnsetRecognitionChannelsTheConditionsChannels) {
  Set()[0] = Cond(50.0f, 1, 1, 100.0f, 6);     // Delta%Time on channel 2
  Set()[1] = Cond(1.0f, 3, 7, 2.0f, 1);        // Alpha%Time on channel 8 of 2: channel 1
  Set()[2] = Cond(1.0f, 21, 1, 2.0f, 2);       // band 4 ratio on channel 2
  Set()[3] = Cond(1.0f, 4, 1, 2.0f, 4);        // the default rule: not handed over
  Open();
  const WaveFormRecognitionParam& w = doc.Params.waveForm;
  EXPECT_EQ(w.bands[WaveFormRecognitionParam::kDelta].channel, 1);
  EXPECT_EQ(w.bands[WaveFormRecognitionParam::kAlpha].channel, 0);
  EXPECT_EQ(w.bands[WaveFormRecognitionParam::kSpindle].channel, -1);
  EXPECT_EQ(doc.Params.fftBand.bandCount, 4);
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[1], 1);
  EXPECT_EQ(doc.Params.fftBand.channelSwitch[0], 0);
  const std::vector<int>& codes = dlg_->ParameterCodes();
  EXPECT_NE(std::find(codes.begin(), codes.end(), 1), codes.end()) << "Delta%Time is offered now";
  EXPECT_NE(std::find(codes.begin(), codes.end(), 21), codes.end());

  dlg_->DestroyWindow();
  doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = -1;
  AnimalOnlyMode = 1;
  Open();
  EXPECT_EQ(doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel, -1) << "not in animal-only mode";
  EXPECT_FALSE(dlg_->Item(IDC_LOGIC_MODE_RK).IsVisible());
}

TEST_F(LogicDialog, ParameterChoiceSetsTheChannelList) {
  FiveConditions();
  doc.Params.fftBand.channelSwitch[1] = 1;
  doc.Params.waveForm.bands[WaveFormRecognitionParam::kTheta].channel = 1;
  doc.Params.waveForm.emgChannel = 1;
  Open();
  Select(0);
  ui::Control channel = dlg_->Item(IDC_LOGIC_CHANNEL1);
  EXPECT_EQ(channel.GetCount(), 2);
  EXPECT_TRUE(channel.IsEnabled());
  Choose(IDC_LOGIC_PARAM1, dlg_->ParamCodeToComboIndex(14));
  EXPECT_EQ(channel.GetCount(), 1) << "FFT codes list the FFT channels";
  EXPECT_EQ(channel.GetString(0), " 2:EMG");
  EXPECT_TRUE(channel.IsEnabled());
  Choose(IDC_LOGIC_PARAM1, dlg_->ParamCodeToComboIndex(2));
  EXPECT_EQ(channel.GetString(channel.GetCurSel()), " 2:EMG") << "the Theta recognition channel";
  EXPECT_FALSE(channel.IsEnabled());
  Choose(IDC_LOGIC_PARAM1, dlg_->ParamCodeToComboIndex(13));
  EXPECT_EQ(channel.GetCurSel(), 1);
  EXPECT_TRUE(channel.IsEnabled()) << "opened from the Screening window";

  // Applying the EMG integral on another channel makes it the recognition EMG channel.
  Choose(IDC_LOGIC_CHANNEL1, 0);
  ASSERT_TRUE(dlg_->ClickButton(IDC_LOGIC_APPLY));
  EXPECT_EQ(Set()[0].term1.valueCode, 13);
  EXPECT_EQ(doc.Params.waveForm.emgChannel, 0);
}
