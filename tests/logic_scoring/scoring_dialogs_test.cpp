// The last-stage rules dialog and the display item dialog, driven by control id.
#include <gtest/gtest.h>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/scoring/lyr_dlg_display_items.h"
#include "app/scoring/lyr_dlg_rk_rules.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"

namespace {

struct ScoringDialogs : testing::Test {
  CQLM2_AnalyzerDoc doc;
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
    doc.RecordInfo.channelCount = 2;
    doc.ChInfo[1].unit = "uV";
    doc.Params.waveForm.emgChannel = -1;
  }
  void TearDown() override { testhooks::Reset(); }
};

TEST_F(ScoringDialogs, RkRulesShowTheBlockAndWriteItOnOK) {
  testhooks::ScriptDialog(IDD_RK_RULES, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(IDC_RK_EMG_LEVEL), "100.00");
    EXPECT_EQ(d.GetDlgItemText(IDC_RK_EMG_UNIT), "x volt");
    for (int id : {IDC_RK_REM_SPINDLE, IDC_RK_CEASE_WITH_REM, IDC_RK_THREE_MINUTE, IDC_RK_WAKE_NEIGHBOUR})
      EXPECT_EQ(d.IsDlgButtonChecked(id), 1) << id;
    d.ClickButton(IDC_RK_CEASE_WITH_REM);
    d.ClickButton(IDC_RK_WAKE_NEIGHBOUR);
    d.SetDlgItemText(IDC_RK_EMG_LEVEL, " 55.5 ");
    d.ClickButton(ui::IDOK);
  });
  LyrDlgRkRules dlg(&doc);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  const LogicOptionParam& o = doc.Params.logicOption;
  EXPECT_EQ(o.remEmgLevel, 55.5f);
  EXPECT_EQ(o.remSpindleRule, 1);
  EXPECT_EQ(o.ceaseWithRemRule, 0);
  EXPECT_EQ(o.threeMinuteRule, 1);
  EXPECT_EQ(o.wakeNeighbourRule, 0);

  doc.Params.waveForm.emgChannel = 1;
  testhooks::ScriptDialog(IDD_RK_RULES, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(IDC_RK_EMG_UNIT), "uV");
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_RK_CEASE_WITH_REM), 0);
    d.ClickButton(IDC_RK_REM_SPINDLE);
    d.SetDlgItemText(IDC_RK_EMG_LEVEL, "70");
    d.ClickButton(ui::IDCANCEL);
  });
  LyrDlgRkRules cancelled(&doc);
  EXPECT_EQ(cancelled.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(o.remEmgLevel, 55.5f);
  EXPECT_EQ(o.remSpindleRule, 1);
}

TEST_F(ScoringDialogs, RkRulesRefuseALevelAndWriteNothing) {
  struct Case { const char* text; bool notANumber; } cases[] = {
      {"0", false}, {"-3", false}, {"1e39", false}, {"abc", true}, {"", true}, {"12x", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testhooks::Reset();
    testhooks::AnswerMessageBox(ui::IDOK);
    bool stayedOpen = false;
    testhooks::ScriptDialog(IDD_RK_RULES, [&](ui::Dialog& d) {
      d.ClickButton(IDC_RK_THREE_MINUTE);
      d.SetDlgItemText(IDC_RK_EMG_LEVEL, c.text);
      d.ClickButton(ui::IDOK);
      stayedOpen = !d.IsEnded();
      d.ClickButton(ui::IDCANCEL);
    });
    LyrDlgRkRules dlg(&doc);
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    const std::string& shown = testhooks::ShownMessageBoxes()[0].text;
    if (c.notANumber) {
      EXPECT_EQ(shown, "Please enter a number.");
    } else {
      EXPECT_NE(shown.find("between"), std::string::npos) << shown;
    }
    EXPECT_EQ(doc.Params.logicOption.remEmgLevel, 100.0f);
    EXPECT_EQ(doc.Params.logicOption.threeMinuteRule, 1);
  }
}

TEST_F(ScoringDialogs, DisplayItemsTickOnlyFlagsOfOne) {
  LyrDlgDisplayItem dlg;
  dlg.m_Flags[kItemAge] = 1;
  dlg.m_Flags[kItemDay] = 2;
  testhooks::ScriptDialog(IDD_DISPLAY_ITEM, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(1209), 1);  // Age
    EXPECT_EQ(d.IsDlgButtonChecked(1201), 0);  // Day holds 2
    d.ClickButton(1212);                       // Weight
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  std::array<std::int32_t, kDisplayItemCount> expected{};
  expected[kItemAge] = 1;
  expected[kItemWeight] = 1;
  EXPECT_EQ(dlg.m_Flags, expected);

  testhooks::ScriptDialog(IDD_DISPLAY_ITEM, [](ui::Dialog& d) {
    d.ClickButton(1209);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(dlg.m_Flags, expected);
}

}  // namespace
