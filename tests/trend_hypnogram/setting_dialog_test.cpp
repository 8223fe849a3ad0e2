// "Hypnogram Setting" (dialog 222) by control id: lines and span, the checks of the stage
// settings, dropping free stages, and Cancel putting the stage settings back.
#include "hypnogram_fixture.h"

#include <vector>

#include "app/trend/lyr_trend_hypno_setting.h"
#include "platform/res/resource_store.h"
#include "platform/ui/dialog.h"

namespace {

class HypnogramSettingTest : public HypnogramTest {
 protected:
  void SetUp() override {
    HypnogramTest::SetUp();
    StageTypeParam& st = doc_.Params.stageType;
    for (int i = 0; i < 7; ++i) st.records[static_cast<std::size_t>(i)].key = static_cast<std::uint32_t>(2000 + i);
    st.sharedInUse = 3;
    for (int k = 0; k < 3; ++k) {
      st.shared[static_cast<std::size_t>(k)].showOrder = static_cast<std::uint16_t>(8 + k);
      st.shared[static_cast<std::size_t>(k)].key = static_cast<std::uint32_t>(2007 + k);
    }
  }
  // Runs the dialog with the script; the dialog's result.
  int Run(std::function<void(LyrDlgHypnogramSetting&)> script) {
    testhooks::ScriptDialog(LyrDlgHypnogramSetting::kTemplateId, [script](ui::Dialog& d) {
      script(dynamic_cast<LyrDlgHypnogramSetting&>(d));
    });
    dlg_.m_pDoc = &doc_;
    return dlg_.DoModal();
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : testhooks::ShownMessageBoxes()) texts.push_back(box.text);
    return texts;
  }
  LyrDlgHypnogramSetting dlg_;
};

TEST_F(HypnogramSettingTest, SpanRowsFreeHoursAndLines) {
  SetTrendTimeScale(90);  // no table row
  ASSERT_EQ(Run([](LyrDlgHypnogramSetting& d) {
              EXPECT_EQ(d.Item(LyrDlgHypnogramSetting::kSpan).GetCurSel(), 10) << "Free";
              EXPECT_EQ(d.GetDlgItemText(LyrDlgHypnogramSetting::kSpanEdit), "1");
              EXPECT_TRUE(d.Item(LyrDlgHypnogramSetting::kSpanEdit).IsEnabled());
              EXPECT_EQ(d.Item(LyrDlgHypnogramSetting::kLines).GetCurSel(), 2);
              d.Item(LyrDlgHypnogramSetting::kLines).SetCurSel(11);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(dlg_.minutes, 90) << "kept while the span is not changed";
  EXPECT_EQ(TrendSettingWord1, 12);

  struct Case {
    const char* typed;
    int minutes;
  };
  for (const Case c : {Case{"", 60}, Case{"0", 60}, Case{"-3", 60}, Case{"5", 300}, Case{"30", 1440}}) {
    testhooks::Reset();
    LyrDlgHypnogramSetting dlg;
    dlg.m_pDoc = &doc_;
    testhooks::ScriptDialog(222, [c](ui::Dialog& d) {
      d.SetDlgItemText(LyrDlgHypnogramSetting::kSpanEdit, c.typed);
      d.ClickButton(ui::IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(dlg.minutes, c.minutes) << "\"" << c.typed << "\"";
  }

  testhooks::Reset();
  SetTrendTimeScale(60);
  LyrDlgHypnogramSetting dlg;
  dlg.m_pDoc = &doc_;
  testhooks::ScriptDialog(222, [](ui::Dialog& base) {
    auto& d = dynamic_cast<LyrDlgHypnogramSetting&>(base);
    EXPECT_EQ(d.Item(LyrDlgHypnogramSetting::kSpan).GetCurSel(), 3);
    EXPECT_FALSE(d.Item(LyrDlgHypnogramSetting::kSpanEdit).IsEnabled());
    d.Item(LyrDlgHypnogramSetting::kSpan).SetCurSel(1);  // " 20min."
    d.OnTimeChange();
    EXPECT_EQ(d.GetDlgItemText(LyrDlgHypnogramSetting::kSpanEdit), "20");
    EXPECT_EQ(d.GetDlgItemText(LyrDlgHypnogramSetting::kSpanUnit), "Min.");
    d.Item(LyrDlgHypnogramSetting::kSpan).SetCurSel(5);  // "3hours"
    d.OnTimeChange();
    EXPECT_EQ(d.GetDlgItemText(LyrDlgHypnogramSetting::kSpanEdit), "3");
    EXPECT_EQ(d.GetDlgItemText(LyrDlgHypnogramSetting::kSpanUnit), "Hours");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.minutes, 180);
}

TEST_F(HypnogramSettingTest, StageChecksKeepTheDialogOpen) {
  struct Case {
    std::function<void(StageTypeParam&)> change;
    const char* message;
    int selectedStage;  // row of list 1081, -1 none
    int selectedFree;   // row of list 1088, -1 none
  };
  const std::vector<Case> cases = {
      {[](StageTypeParam& st) { st.records[2].showOrder = st.records[4].showOrder = 3; }, "Same stage order exists.", 2, -1},
      {[](StageTypeParam& st) { st.records[5].key = st.records[1].key; }, "The key is assigned.", 1, -1},
      {[](StageTypeParam& st) { st.shared[1].showOrder = 0; }, "The free stage is fixed.", -1, 1},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    const StageTypeParam saved = doc_.Params.stageType;
    c.change(doc_.Params.stageType);
    LyrDlgHypnogramSetting dlg;
    dlg.m_pDoc = &doc_;
    bool stayed = false;
    testhooks::ScriptDialog(222, [&](ui::Dialog& d) {
      d.ClickButton(ui::IDOK);
      stayed = d.IsWindow();
      const auto stages = d.Item(LyrDlgHypnogramSetting::kStageList).GetSelectedIndexes();
      const auto frees = d.Item(LyrDlgHypnogramSetting::kFreeList).GetSelectedIndexes();
      EXPECT_EQ(stages.empty() ? -1 : stages.front(), c.selectedStage) << c.message;
      EXPECT_EQ(frees.empty() ? -1 : frees.front(), c.selectedFree) << c.message;
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(Boxes(), std::vector<std::string>{c.message});
    doc_.Params.stageType = saved;
  }
}

TEST_F(HypnogramSettingTest, DroppedFreeStagesAreClearedAndCancelRestores) {
  Record(40);
  const int codes[] = {8, 9, 10, 28, 29, 30, 3};
  for (int i = 0; i < 7; ++i) Score(i, i + 1, codes[i]);
  auto& logic = doc_.Params.logic.sets[0];
  logic[0].stage = 9;
  logic[1].stage = 10;
  logic[2].stage = 8;
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_EQ(Run([this](LyrDlgHypnogramSetting& d) {
              doc_.Params.stageType.sharedInUse = 1;  // Free2 and Free3 dropped
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  ASSERT_EQ(Boxes().size(), 1U);
  EXPECT_EQ(Boxes()[0], "Cleared a Free2 Free3 .");
  const int expected[] = {8, 0, 0, 28, 0, 0, 3};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(doc_.EpochTables.GetStage(0, i, 0), expected[i]) << i;
  EXPECT_EQ(logic[0].stage, 1);
  EXPECT_EQ(logic[1].stage, 1);
  EXPECT_EQ(logic[2].stage, 8);

  // Cancel puts back all 608 bytes as they were when the dialog opened.
  testhooks::Reset();
  std::array<std::uint8_t, StageTypeParam::kSize> before{}, after{};
  doc_.Params.stageType.Store(before);
  LyrDlgHypnogramSetting dlg;
  dlg.m_pDoc = &doc_;
  testhooks::ScriptDialog(222, [this](ui::Dialog& d) {
    doc_.Params.stageType.records[0].colour = 0x123456;
    doc_.Params.stageType.shared[0].name = "X";
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  doc_.Params.stageType.Store(after);
  EXPECT_EQ(before, after);
}

TEST_F(HypnogramSettingTest, ListsShowTheStagesInJapaneseToo) {
  for (res::Language lang : {res::Language::English, res::Language::Japanese}) {
    res::SetLanguage(lang);
    testhooks::Reset();
    LyrDlgHypnogramSetting dlg;
    dlg.m_pDoc = &doc_;
    testhooks::ScriptDialog(222, [lang](ui::Dialog& d) {
      const ui::Control stages = d.Item(LyrDlgHypnogramSetting::kStageList);
      ASSERT_EQ(stages.GetCount(), 7);
      EXPECT_EQ(stages.GetItemText(0, 0), lang == res::Language::English ? "Wake" : "覚醒");
      EXPECT_EQ(stages.GetItemText(3, 4), "4") << "show order";
      EXPECT_EQ(stages.GetItemText(3, 6), "3") << "key digit";
      EXPECT_EQ(d.Item(LyrDlgHypnogramSetting::kFreeList).GetCount(), 3);
      d.ClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
  }
  res::SetLanguage(res::Language::English);
}

}  // namespace
