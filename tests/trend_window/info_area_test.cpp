// The trend window's information column on a scored recording: its rows by control id, the
// threshold edits and set buttons, the undo history, the ten-key pad, in both languages.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "app/trend/trend_settings.h"
#include "app/workspace/logic_list_state.h"
#include "platform/ui/dialog.h"
#include "sample_recording.h"
#include "tests/app_shell/app_fixture.h"

namespace {

class InfoAreaTest : public AppTest {
 protected:
  static void SetUpTestSuite() {
    night_ = new std::string(
        (std::filesystem::temp_directory_path() / ("qlm_trend_night_" + std::to_string(::getpid()) + ".fyd")).string());
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 0.5;
    o.rateHz = 64;
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, *night_, &error)) << error;
  }
  static void TearDownTestSuite() {
    for (const char* ext : {"", ".stages", ".events"}) {
      std::error_code ec;
      std::filesystem::remove(ext[0] ? samples::CompanionPath(*night_, ext) : *night_, ec);
    }
    delete night_;
  }
  void SetUp() override {
    AppTest::SetUp();
    savedItems_ = TrendItem;
    savedCount_ = TrendSettingWord2;
    savedRatio_ = TrendSplitRatio1;
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    EpochSeconds = 30;
    PageSeconds = 120;
    ASSERT_TRUE(Start());
    Frame().MoveWindow(ui::Rect{0, 0, 1200, 900});
    ASSERT_NE(ui::App::Current()->OpenDocumentFile(*night_, false), nullptr) << testing::PrintToString(BoxTexts());
    ResultModifiedState = 1;
    Frame().KeyRepeatPauseMs = 0;
    // Graph 0: EMG integral (logic code 13), graph 1: Delta %Time (code 1).
    TrendItem.category[0] = 8;
    TrendItem.subItem[0] = 0;
    TrendItem.category[1] = 1;
    TrendItem.subItem[1] = 0;
    auto& set = Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)];
    for (auto& c : set) c = LogicCondition{};
    set[0].stage = 1;
    set[0].term1.valueCode = 13;
    set[0].term1.lower = 1.0f;
    set[0].term1.upper = 2.0f;
    set[1].stage = 2;
    set[1].term1.valueCode = 1;
    set[1].term1.lower = 10.0f;
    set[1].term1.upper = 20.0f;
    testhooks::Reset();
  }
  void TearDown() override {
    TrendItem = savedItems_;
    TrendSettingWord2 = savedCount_;
    TrendSplitRatio1 = savedRatio_;
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    SetLogicListState({});
    AppTest::TearDown();
  }
  LyrTrendInfoAreaView& Info() { return *Frame().TrendView()->InfoArea(); }
  ui::Control Item(int id) { return ui::Control(&Info(), id); }
  void ShowLogicPane(bool on) {
    Frame().WorkspaceTabs.CurrentPane = on ? 4 : 0;
    Info().EnableThresholdEdit();
  }
  LogicCondition& Cond(int i) {
    return Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)][static_cast<std::size_t>(i)];
  }

  static std::string* night_;
  TrendItemTable savedItems_;
  std::uint16_t savedCount_ = 0;
  double savedRatio_ = 0;
  std::int32_t savedEpoch_ = 0, savedPage_ = 0;
};
std::string* InfoAreaTest::night_ = nullptr;

TEST_F(InfoAreaTest, RowsOfTheShownGraphsOnlyAndKeysAtMost32Pixels) {
  TrendSettingWord2 = 3;
  TrendSplitRatio1 = 0.8;  // a tall hypnogram row
  Info().LayoutControls();
  for (int i = 0; i < 20; ++i) {
    for (int id : {kValueLabelFirstId + i, kUpperEditFirstId + i, kLowerEditFirstId + i, kLowerSetFirstId + i,
                   kUpperSetFirstId + i}) {
      const ui::Rect r = Item(id).GetRectInOwner();
      EXPECT_EQ(Item(id).IsVisible(), i < 3) << id;
      if (i >= 3) {
        EXPECT_EQ(r.left, -1) << id;
      }
    }
  }
  EXPECT_GT(Info().KeyHeight, 0);
  EXPECT_LE(Info().KeyHeight, 32);
  EXPECT_TRUE(Item(kKeypadFirstId + 7).IsVisible());
  EXPECT_EQ(Item(kKeypadFirstId + 8).GetRectInOwner().left - Item(kKeypadFirstId + 7).GetRectInOwner().left,
            Info().KeyWidth);
  EXPECT_EQ(Item(kKeypadFirstId + 0).GetRectInOwner().left, Item(kKeypadFirstId + 1).GetRectInOwner().left);
}

TEST(ThresholdNumber, OneDecimalNumberOnly) {
  for (const char* good : {"-1.5", "2.", "0", ".5", "10"}) EXPECT_TRUE(LyrTrendInfoAreaView::IsThresholdNumber(good)) << good;
  for (const char* bad : {"", "1e3", " 2", "-", "1.2.3", "1-2", "--1", ".", "-."})
    EXPECT_FALSE(LyrTrendInfoAreaView::IsThresholdNumber(bad)) << bad;
}

TEST_F(InfoAreaTest, SetButtonsStoreTheThresholdAndUndoRestoresIt) {
  TrendSettingWord2 = 2;
  Info().SetThresholdText();
  EXPECT_EQ(Item(kUpperEditFirstId + 0).GetText(), "2.000");
  EXPECT_EQ(Item(kLowerEditFirstId + 1).GetText(), "10.000");
  // Without the Logic pane the rows stay disabled.
  ShowLogicPane(false);
  EXPECT_FALSE(Item(kLowerSetFirstId).IsEnabled());
  ShowLogicPane(true);
  ASSERT_TRUE(Item(kLowerSetFirstId).IsEnabled());
  EXPECT_FALSE(Item(kUndoButtonId).IsEnabled());

  Item(kLowerEditFirstId + 0).SetText("1.5");
  ASSERT_TRUE(testhooks::ClickControl(Info(), kLowerSetFirstId + 0));
  EXPECT_FLOAT_EQ(Cond(0).term1.lower, 1.5f);
  EXPECT_EQ(Info().UndoCount(), 1);
  EXPECT_EQ(Info().UndoTag(0), 0);
  EXPECT_TRUE(Item(kUndoButtonId).IsEnabled());
  EXPECT_EQ(ResultModifiedState, 2) << "the night was scored again";

  // A refused text: message, focus, nothing stored, nothing pushed.
  for (const char* bad : {"1e3", "-", "1.2.3"}) {
    testhooks::Reset();
    Item(kUpperEditFirstId + 1).SetText(bad);
    ASSERT_TRUE(testhooks::ClickControl(Info(), kUpperSetFirstId + 1));
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Input number."}) << bad;
    EXPECT_EQ(Info().UndoCount(), 1);
    EXPECT_FLOAT_EQ(Cond(1).term1.upper, 20.0f);
  }

  // Undo puts the sets back exactly and shows them.
  ASSERT_TRUE(testhooks::ClickControl(Info(), kUndoButtonId));
  EXPECT_FLOAT_EQ(Cond(0).term1.lower, 1.0f);
  EXPECT_EQ(Item(kLowerEditFirstId + 0).GetText(), "1.000");
  EXPECT_EQ(Info().UndoCount(), 0);
  EXPECT_FALSE(Item(kUndoButtonId).IsEnabled());
}

TEST_F(InfoAreaTest, SixPushesKeepTheLastFiveWithTheirTags) {
  for (int i = 0; i < 6; ++i) {
    Cond(0).term1.lower = static_cast<float>(i);
    Info().PushUndo(i == 2 ? -1 : i);
  }
  ASSERT_EQ(Info().UndoCount(), 5);
  const int tags[] = {1, -1, 3, 4, 5};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(Info().UndoTag(k), tags[k]) << k;
    EXPECT_FLOAT_EQ(Info().UndoCopy(k).sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)][0].term1.lower,
                    static_cast<float>(k + 1));
  }
  Info().ClearUndo();
  EXPECT_EQ(Info().UndoCount(), 0);
}

TEST_F(InfoAreaTest, KeypadScoresTheCurrentEpoch) {
  Doc().Params.stageType.stageType = 0;  // key 2 is Stage2 (code 4)
  Doc().CurrentEpoch = 3;
  ASSERT_TRUE(testhooks::ClickControl(Info(), kKeypadFirstId + 2));
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 3, 0), 4);
  EXPECT_EQ(Doc().CurrentEpoch, 4);
}

TEST_F(InfoAreaTest, CursorValuesWithUnitsAndTheEmptyMainPosition) {
  TrendSettingWord2 = 2;
  TrendItem.category[1] = 17;
  TrendItem.subItem[1] = 1;
  Doc().LastScreenedEpoch = 10;
  LyrTrendDummyView& trend = *Frame().TrendView();
  trend.SetCursorEpoch(-1, 2);
  trend.SetGraphMark(0, 1, 0, 12.5f);
  trend.SetGraphMark(1, 0, 0, 0.0f);
  Info().ShowCursorValues();
  EXPECT_EQ(Item(kValueLabelFirstId + 0).GetText(), "12.500");
  EXPECT_EQ(Item(kValueLabelFirstId + 1).GetText(), "") << "main position 0";
  // Past the screened epochs nothing is shown.
  trend.SetCursorEpoch(-1, 11);
  Info().ShowCursorValues();
  EXPECT_EQ(Item(kValueLabelFirstId + 0).GetText(), "");
}

TEST_F(InfoAreaTest, DrawingTheCursorShowsEachGraphsValueThere) {
  TrendSettingWord2 = 1;
  Doc().LastScreenedEpoch = 10;
  LyrEpochRec* rec = Doc().EpochTables.Record(6);
  ASSERT_NE(rec, nullptr);
  rec->emg = 3.25f;
  LyrTrendDummyView& trend = *Frame().TrendView();
  trend.SetCursorEpoch(-1, 6);
  trend.DrawCursor();
  EXPECT_FLOAT_EQ(trend.GetGraphMark(0).floatValue, 3.25f);
  EXPECT_EQ(Item(kValueLabelFirstId + 0).GetText(), "3.250");
}

TEST_F(InfoAreaTest, ASelectedLogicRowWins) {
  TrendItem.category[2] = 8;  // EMG again on graph 2
  TrendSettingWord2 = 3;
  Cond(2).stage = 3;
  Cond(2).term1.valueCode = 13;
  Cond(2).term1.lower = 7.0f;
  Cond(2).term1.upper = 8.0f;
  ShowLogicPane(true);
  SetLogicListState({2, 5});
  const LyrTrendTool tool(&Doc());
  float lo = 0, hi = 0;
  ASSERT_EQ(tool.GetLogicThreshold(2, lo, hi), 1);
  EXPECT_FLOAT_EQ(lo, 7.0f);
  SetLogicListState({4, 5});  // the list's last row counts as none
  ASSERT_EQ(tool.GetLogicThreshold(2, lo, hi), 1);
  EXPECT_FLOAT_EQ(lo, 1.0f);
}

TEST_F(InfoAreaTest, ChoosingAnItemForGraphThreePushesOneUndoTaggedThree) {
  const TrendItemTable before = TrendItem;
  Doc().Params.fftBand.channelSwitch.fill(0);
  Doc().Params.fftBand.channelSwitch[2] = 1;
  Doc().Params.fftBand.channelSwitch[5] = 1;
  // Two FFT channels: the dialog lists them; its second row is channel 5.
  testhooks::ScriptDialog(LyrDlgChannelSelection::kTemplateId, [](ui::Dialog& d) {
    d.Item(LyrDlgChannelSelection::kChannelList).SetCurSel(1);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(RunTrendItemCommand(*Frame().TrendView(), 3, 32888, &Info()));  // band 2 power
  EXPECT_EQ(TrendItem.category[3], 21);
  EXPECT_EQ(TrendItem.subItem[3], 1);
  EXPECT_EQ(TrendItem.third[3], 5);
  for (int g = 0; g < 20; ++g)
    if (g != 3) {
      EXPECT_EQ(TrendItem.category[static_cast<std::size_t>(g)], before.category[static_cast<std::size_t>(g)]) << g;
    }
  EXPECT_EQ(Info().UndoCount(), 1);
  EXPECT_EQ(Info().UndoTag(0), 3);
  // A cancelled channel choice stores nothing.
  testhooks::ScriptDialog(LyrDlgChannelSelection::kTemplateId, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  EXPECT_FALSE(RunTrendItemCommand(*Frame().TrendView(), 3, 33002, &Info()));
  EXPECT_EQ(TrendItem.category[3], 21);
  EXPECT_EQ(Info().UndoCount(), 1);
}

TEST_F(InfoAreaTest, JapaneseTexts) {
  res::SetLanguage(res::Language::Japanese);
  Item(kUpperEditFirstId).SetText("x");
  float lo = 0, hi = 0;
  EXPECT_EQ(Info().ReadThresholdEdits(kThresholdUpper, 0, lo, hi), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"数値を入力してください。"});
}

}  // namespace
