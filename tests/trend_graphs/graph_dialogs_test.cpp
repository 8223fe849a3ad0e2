// The dialogs of the trend graphs by control id, as the menu runs them: Trend graph Setting
// (181), Draw Type (194), Trend Scale (189) and Channel Selection (193), in both languages.
#include <cfloat>
#include <functional>

#include "app/frame/frame_globals.h"
#include "app/trend/hypnogram_span_table.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "app/trend/lyr_dlg_trend_draw_scale.h"
#include "app/trend/lyr_dlg_trend_graph_setting.h"
#include "graph_fixture.h"
#include "platform/res/resource_store.h"
#include "platform/ui/dialog.h"

namespace {

using Setting = LyrDlgTrendGraphSetting;

class GraphDialogsTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    DocumentLoaded = 1;
  }
  // Runs the Trend graph Setting command with a script for dialog 181.
  void RunSetting(std::function<void(Setting&)> script) {
    testhooks::ScriptDialog(Setting::kTemplateId, [script](ui::Dialog& d) { script(dynamic_cast<Setting&>(d)); });
    ASSERT_TRUE(ui::ExecuteCommand(*Trend().Frame(), kCmdTrendGraphSetting));
  }
  static void Pick(ui::Dialog& d, int combo, int row) {
    d.Item(combo).SetCurSel(row);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(combo), ui::CBN_SELCHANGE), 0);
  }
  static void ClickRow(ui::Dialog& d, int row) {
    d.Item(Setting::kList).SetSelected(row, true);
    ui::NotifyHeader h{Setting::kList, ui::NM_CLICK};
    d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
};

TEST_F(GraphDialogsTest, DisplayTimeRowsHoursAndFreeSpans) {
  for (res::Language lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    const bool en = lang == res::Language::English;
    // 90 minutes has no row: "Free" with 1 hour, kept through OK while not retyped.
    SetTrendTimeScale(90);
    RunSetting([](Setting& d) {
      EXPECT_EQ(d.Item(Setting::kSpan).GetCurSel(), kHypnogramSpanFree);
      EXPECT_EQ(d.GetDlgItemText(Setting::kHours), "1");
      EXPECT_TRUE(d.Item(Setting::kHours).IsEnabled());
      d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(TrendTimeMinutes, 90);
    RunSetting([en](Setting& d) {
      Pick(d, Setting::kSpan, 1);
      EXPECT_EQ(d.Item(Setting::kSpan).GetString(1), en ? " 20min." : " 20分");
      EXPECT_EQ(d.GetDlgItemText(Setting::kHours), "20");
      EXPECT_EQ(d.GetDlgItemText(Setting::kHoursLabel), en ? "Min." : "分");
      EXPECT_FALSE(d.Item(Setting::kHours).IsEnabled());
      Pick(d, Setting::kSpan, 6);
      EXPECT_EQ(d.GetDlgItemText(Setting::kHours), "6");
      EXPECT_EQ(d.GetDlgItemText(Setting::kHoursLabel), en ? "Hours" : "時間");
      Pick(d, Setting::kSpan, kHypnogramSpanFree);
      EXPECT_TRUE(d.Item(Setting::kHours).IsEnabled());
      d.SetDlgItemText(Setting::kHours, "2");
      d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(TrendTimeMinutes, 120);
    // A negative or too long span is held to 1 .. 24 hours.
    for (const auto& [text, minutes] : {std::pair{"-3", 60}, std::pair{"0", 60}, std::pair{"30", 1440}}) {
      RunSetting([text](Setting& d) {
        Pick(d, Setting::kSpan, kHypnogramSpanFree);
        d.SetDlgItemText(Setting::kHours, text);
        d.ClickButton(ui::IDOK);
      });
      EXPECT_EQ(TrendTimeMinutes, minutes) << text;
    }
  }
  res::SetLanguage(res::Language::English);
}

TEST_F(GraphDialogsTest, FewerGraphsKeepTheOthersAndCancelChangesNothing) {
  for (int g = 0; g < 20; ++g) SetItem(g, 8, 0);
  SetItem(7, 18, 1);
  TrendItem.word4[7] = 3;
  TrendSettingWord2 = 10;
  RunSetting([](Setting& d) {
    EXPECT_EQ(d.Item(Setting::kList).GetCount(), 10);
    Pick(d, Setting::kCount, 2);
    EXPECT_EQ(d.Item(Setting::kList).GetCount(), 3);
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(TrendGraphCountHeld(), 3);
  EXPECT_EQ(TrendItem.category[7], 18) << "graphs 4..20 keep their items";
  EXPECT_EQ(TrendItem.word4[7], 3);
  // Cancel after changing items, scales and draw types.
  const TrendItemTable items = TrendItem;
  const TrendRangeTable upper = TrendRangeUpper;
  const auto flags = TrendRangeFlag;
  const std::uint16_t mode = TrendSettingsWord;
  testhooks::ScriptDialog(LyrDlgTrendDrawType::kTemplateId, [](ui::Dialog& d) {
    d.ClickButton(LyrDlgTrendDrawType::kDot);
    d.ClickButton(LyrDlgTrendDrawType::kDot3);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(LyrDlgTrendScale::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrDlgTrendScale::kTop, "9");
    d.ClickButton(ui::IDOK);
  });
  RunSetting([](Setting& d) {
    d.SetRowItem(0, 1, 0, 0);
    d.CheckRadioButton(Setting::kModeType, Setting::kModeDraw, Setting::kModeDraw);
    ClickRow(d, 1);
    EXPECT_EQ(d.DrawType[1], 0);
    EXPECT_EQ(d.DotSize[1], 2);
    EXPECT_EQ(d.Item(Setting::kList).GetItemText(1, 4), "Dot (3)");
    d.CheckRadioButton(Setting::kModeType, Setting::kModeDraw, Setting::kModeScale);
    ClickRow(d, 2);
    EXPECT_EQ(d.Item(Setting::kList).GetItemText(2, 2), "9.00");
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(TrendItem.category, items.category);
  EXPECT_EQ(TrendItem.word4, items.word4);
  EXPECT_EQ(TrendItem.word6, items.word6);
  EXPECT_EQ(TrendRangeUpper.d, upper.d);
  EXPECT_EQ(TrendRangeFlag, flags);
  EXPECT_EQ(TrendSettingsWord, mode);
}

TEST_F(GraphDialogsTest, ItemCommandsWithoutASelectedRowAreIgnoredAtTwentyGraphs) {
  TrendSettingWord2 = 20;
  const TrendItemTable items = TrendItem;
  RunSetting([](Setting& d) {
    EXPECT_EQ(d.GetSelectedRow(), -1);
    d.OnItemCommand(32862);  // EMG
    ClickRow(d, 19);
    d.OnItemCommand(32862);
    EXPECT_EQ(d.Category[19], 8) << "the last row takes it";
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(TrendItem.category, items.category);
  // The running ranges are held for 20 rows: a row added by a larger count has none, so
  // "Optimum" is off for it.
  TrendSettingWord2 = 2;
  bool optimum = true;
  testhooks::ScriptDialog(LyrDlgTrendScale::kTemplateId, [&optimum](ui::Dialog& d) {
    optimum = d.Item(LyrDlgTrendScale::kOptimum).IsEnabled();
  });
  RunSetting([](Setting& d) {
    Pick(d, Setting::kCount, 19);
    d.CheckRadioButton(Setting::kModeType, Setting::kModeDraw, Setting::kModeScale);
    ClickRow(d, 19);
  });
  EXPECT_FALSE(optimum);
}

TEST_F(GraphDialogsTest, DrawTypeOffersLineAndCharactersOnlyWhereTheyApply) {
  struct Case {
    int category, sub, display;
    bool lineEnabled;
    int displayRadio;
  };
  for (const Case& c : {Case{17, 0, 0, false, LyrDlgTrendDrawType::kNone}, Case{14, 0, 0, false, LyrDlgTrendDrawType::kNone},
                        Case{15, 2, 0, false, LyrDlgTrendDrawType::kNone}, Case{16, 4, 1, false, LyrDlgTrendDrawType::kNumeric},
                        Case{14, 1, 0, true, LyrDlgTrendDrawType::kNone}, Case{8, 0, 2, true, LyrDlgTrendDrawType::kNone},
                        Case{17, 1, 2, true, LyrDlgTrendDrawType::kCharacter}}) {
    LyrDlgTrendDrawType d;
    d.SetParams(c.category, c.sub, 1, c.display, 1);
    testhooks::ScriptDialog(LyrDlgTrendDrawType::kTemplateId, [&c](ui::Dialog& dlg) {
      EXPECT_EQ(dlg.Item(LyrDlgTrendDrawType::kLine).IsEnabled(), c.lineEnabled) << c.category << "/" << c.sub;
      EXPECT_EQ(dlg.IsDlgButtonChecked(c.displayRadio), 1) << c.category << "/" << c.sub;
      EXPECT_EQ(dlg.Item(LyrDlgTrendDrawType::kCharacter).IsEnabled(), c.category == 17 && c.sub == 1);
      // Dot sizes only with dots.
      EXPECT_FALSE(dlg.Item(LyrDlgTrendDrawType::kDot2).IsEnabled());
      dlg.ClickButton(LyrDlgTrendDrawType::kDot);
      EXPECT_TRUE(dlg.Item(LyrDlgTrendDrawType::kDot2).IsEnabled());
      dlg.ClickButton(LyrDlgTrendDrawType::kColumn);
      EXPECT_FALSE(dlg.Item(LyrDlgTrendDrawType::kDot2).IsEnabled());
      dlg.ClickButton(ui::IDOK);
    });
    ASSERT_EQ(d.DoModal(), ui::IDOK);
    EXPECT_EQ(d.DrawType, 2);
    EXPECT_EQ(d.DotSize, 1) << "returned also for another draw type";
  }
}

TEST_F(GraphDialogsTest, TrendScaleSwapsOptimumAndRefusesWhatIsNoNumber) {
  struct Case {
    const char* top;
    const char* bottom;
    int end;
    const char* outTop;
    const char* outBottom;
    bool tooLarge;
  };
  for (const Case& c : {Case{"10", "50", ui::IDOK, "50", "10", false}, Case{"1.5", "-2", ui::IDOK, "1.5", "-2", false},
                        Case{"1e3", "0", ui::IDCANCEL, "", "", false}, Case{"", "0", ui::IDCANCEL, "", "", false},
                        Case{"99999999999", "0", ui::IDCANCEL, "", "", true}}) {
    testhooks::Reset();
    LyrDlgTrendScale d;
    d.Document = &Doc();
    d.SetParams(0, 20, 0, 0, "0", "0", 10.0f, 2.0f);  // limb-movement counts: integer bounds
    testhooks::ScriptDialog(LyrDlgTrendScale::kTemplateId, [&c](ui::Dialog& dlg) {
      dlg.SetDlgItemText(LyrDlgTrendScale::kTop, c.top);
      dlg.SetDlgItemText(LyrDlgTrendScale::kBottom, c.bottom);
      dlg.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(d.DoModal(), c.end) << c.top;
    if (c.end == ui::IDOK) {
      EXPECT_EQ(d.TopText, c.outTop);
      EXPECT_EQ(d.BottomText, c.outBottom);
    } else {
      ASSERT_EQ(BoxTexts().size(), 1u) << c.top;
      EXPECT_EQ(BoxTexts()[0], c.tooLarge ? "The number is too large for this scale." : "Input number.") << c.top;
    }
  }
  // Optimum fills "%.2f" of the running range; unwidened it is off.
  for (const auto& [max, min, enabled] : {std::tuple{10.5f, -1.25f, true}, std::tuple{-FLT_MAX, FLT_MAX, false}}) {
    LyrDlgTrendScale d;
    d.Document = &Doc();
    d.SetParams(0, 8, 0, 0, "1", "0", max, min);
    testhooks::ScriptDialog(LyrDlgTrendScale::kTemplateId, [enabled](ui::Dialog& dlg) {
      EXPECT_EQ(dlg.Item(LyrDlgTrendScale::kOptimum).IsEnabled(), enabled);
      if (!enabled) return;
      dlg.ClickButton(LyrDlgTrendScale::kOptimum);
      EXPECT_EQ(dlg.GetDlgItemText(LyrDlgTrendScale::kTop), "10.50");
      EXPECT_EQ(dlg.GetDlgItemText(LyrDlgTrendScale::kBottom), "-1.25");
    });
    d.DoModal();
  }
}

TEST_F(GraphDialogsTest, ChannelSelectionAmongFftChannelsReturnsTheChannelIndex) {
  auto& flags = Doc().Params.fftBand.channelSwitch;
  flags.fill(0);
  flags[2] = flags[5] = 1;
  ASSERT_GT(Doc().RecordInfo.channelCount, 5);
  LyrDlgChannelSelection d(1);
  d.Document = &Doc();
  testhooks::ScriptDialog(LyrDlgChannelSelection::kTemplateId, [](ui::Dialog& dlg) {
    EXPECT_EQ(dlg.Item(LyrDlgChannelSelection::kChannelList).GetCount(), 2);
    dlg.Item(LyrDlgChannelSelection::kChannelList).SetCurSel(-1);
    dlg.ClickButton(ui::IDOK);
    EXPECT_FALSE(dlg.IsEnded()) << "no selection: OK is ignored";
    dlg.Item(LyrDlgChannelSelection::kChannelList).SetCurSel(1);
    dlg.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(d.DoModal(), ui::IDOK);
  EXPECT_EQ(d.Result, 5);
}

}  // namespace
