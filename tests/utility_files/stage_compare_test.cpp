// Stage comparison of two loaded files: the computation and dialog 230.
#include "app/frame/lyr_dlg_time_point.h"
#include "app/results/lyr_dlg_stage_compare.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "utility_fixture.h"

namespace {

std::vector<std::string> Column(const std::vector<StageCompareRow>& rows, int col) {
  std::vector<std::string> out;
  for (const StageCompareRow& r : rows) out.push_back(col == 0 ? r.label : col == 1 ? r.distribution : r.eachStage);
  return out;
}

TEST_F(UtilityFilesTest, CompareMergesByTheFirstFilesTypeAndSkipsUnscored) {
  // Type 1: rows 1..5, 7 -> 6; B's 6 becomes 5 and 26 becomes 25 -> 5.
  UtilityResultFileRec a = NightOf(30, {1, 5, 5, 25, 2, 0, 3, 7, 4}, 1);
  UtilityResultFileRec b = NightOf(30, {1, 6, 26, 5, 3, 2, 0, 7}, 1);
  const StageCompareResult r = CompareStages(a, 0, b, 0);
  // Pairs 0..7 (b is shorter); epoch 5 (A 0) and 6 (B 0) skipped: 6 compared.
  EXPECT_EQ(r.compared, 6);
  EXPECT_EQ(r.agreed, 5) << "1=1, 5=6>5, 5=26>25>5, 25>5=5, 7=7; 2 vs 3 differs";
  ASSERT_EQ(r.rows.size(), 6u) << "type 1 has 6 base rows, no free stage";
  // Rows: 1 (1 pair), 2 (1), 3 (0), 4 (0), 5 (3), MT (1).
  EXPECT_EQ(Column(r.rows, 1), (std::vector<std::string>{"16.7%", "16.7%", "0.0%", "0.0%", "50.0%", "16.7%"}));
  EXPECT_EQ(Column(r.rows, 2), (std::vector<std::string>{"100.0%", "0.0%", "0.0%", "0.0%", "100.0%", "100.0%"}));
  EXPECT_EQ(r.total, "Tatal 83.3%");

  // Starts shift the pairs; they end with the shorter remainder.
  const StageCompareResult shifted = CompareStages(a, 7, b, 6);  // (7, 0) skipped, (4, 7)
  EXPECT_EQ(shifted.compared, 1);
  EXPECT_EQ(shifted.agreed, 0);
}

TEST_F(UtilityFilesTest, CompareRowsFollowTheStageTypeAndFreeStages) {
  UtilityResultFileRec a = NightOf(20, {7, 7, 8, 10, 3}, 2);
  a.stageType.sharedInUse = 2;
  a.stageType.shared[0].name = "F1";
  a.stageType.shared[1].name = "F2";
  a.stageType.Set(2)[4].name = "MT";
  const StageCompareResult r = CompareStages(a, 0, NightOf(20, {7, 1, 8, 10, 4}, 0), 0);
  // Type 2: 5 base rows, then F1 and F2; code 10 (F3) has no shown row but still counts.
  ASSERT_EQ(r.rows.size(), 7u);
  EXPECT_EQ(r.rows[4].label, "MT") << "the fifth row is code 7";
  EXPECT_EQ(r.rows[4].distribution, "40.0%");
  EXPECT_EQ(r.rows[4].eachStage, "50.0%");
  EXPECT_EQ(r.rows[5].label, "F1");
  EXPECT_EQ(r.rows[5].eachStage, "100.0%");
  EXPECT_EQ(r.rows[2].distribution, "20.0%") << "B's 4 merges to 3 under type 2";
  EXPECT_EQ(r.compared, 5);
  EXPECT_EQ(r.agreed, 4) << "7, 8, 10 and 3 agree";

  // Nothing comparable: empty distribution, zero agreement.
  const StageCompareResult none = CompareStages(NightOf(20, {0, 1}), 0, NightOf(20, {3, 0}), 0);
  EXPECT_EQ(none.compared, 0);
  ASSERT_EQ(none.rows.size(), 7u);
  for (const StageCompareRow& row : none.rows) {
    EXPECT_EQ(row.distribution, "");
    EXPECT_EQ(row.eachStage, "0.0%");
  }
  EXPECT_EQ(none.total, "Tatal 0.0%");
  EXPECT_EQ(CompareStages(NightOf(20, {1}), 3, NightOf(20, {1}), 0).compared, 0) << "a start past the end";
}

class StageCompareDialog : public UtilityFilesTest {
 protected:
  void SetUp() override {
    UtilityFilesTest::SetUp();
    testhooks::Reset();
    UtilityResultFileRec a = NightOf(30, {1, 2, 2, 3, 1, 1}, 0);
    a.path = "/data/night a.raf";
    a.startDateTime = {2026, 5, 1, 23, 0, 0};
    UtilityResultFileRec b = NightOf(30, {2, 2, 2, 3}, 0);
    b.path = "/data/night_b.RAF";
    b.startDateTime = {2026, 5, 2, 1, 0, 0};
    UtilityResultFileRec c = NightOf(10, {1, 1, 1}, 0);
    c.path = "/data/ten";
    for (auto* f : {&a, &b, &c}) files_.Add(*f);
  }
  static void Click(ui::Dialog& d, int list, int row) {
    d.Item(list).SetCurSel(row);
    ui::NotifyHeader h{list, ui::NM_CLICK};
    d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  UtilityResultFiles files_;
};

TEST_F(StageCompareDialog, ListsFilesAndComparesOnOK) {
  testhooks::ScriptDialog(IDD_STAGE_COMPARE, [this](ui::Dialog& dlg) {
    auto& d = static_cast<LyrDlgStageCompare&>(dlg);
    ui::Control list1 = d.Item(IDC_SCMP_FILE1);
    ASSERT_EQ(list1.GetCount(), 3);
    EXPECT_EQ(list1.GetItemText(0, 0), "night a");
    EXPECT_EQ(list1.GetItemText(1, 0), "night_b");
    EXPECT_EQ(list1.GetItemText(2, 0), "ten");
    EXPECT_EQ(list1.GetItemText(2, 1), "10");
    EXPECT_EQ(list1.GetColumnTitle(1), "Epoch Time(sec)");
    EXPECT_EQ(d.Item(IDC_SCMP_RESULT).GetColumnTitle(1), "Distribution");
    // The pickers start over the shortest file (c: 30 s), disabled.
    LyrDlgTimePoint& p1 = *d.StartPanel(0);
    EXPECT_EQ(p1.m_HighEpoch, 2);
    EXPECT_FALSE(p1.Item(IDC_TP_SLIDER).IsEnabled());

    // Nothing chosen: OK does nothing.
    testhooks::ClickControl(d, ui::IDOK);
    EXPECT_EQ(d.Item(IDC_SCMP_RESULT).GetCount(), 0);

    Click(d, IDC_SCMP_FILE1, 0);
    EXPECT_TRUE(p1.Item(IDC_TP_SLIDER).IsEnabled());
    EXPECT_EQ(p1.m_HighEpoch, 5);
    EXPECT_EQ(p1.m_FileEpochSeconds, 30);
    Click(d, IDC_SCMP_FILE2, 1);
    d.StartPanel(0)->SetEpoch(1);
    testhooks::ClickControl(d, ui::IDOK);
    EXPECT_TRUE(d.IsWindow()) << "OK leaves the dialog open";
    // A from 1: 2 2 3 1 1; B from 0: 2 2 2 3 -> 4 pairs, 2 agree.
    ui::Control result = d.Item(IDC_SCMP_RESULT);
    ASSERT_EQ(result.GetCount(), 7);
    EXPECT_EQ(result.GetItemText(1, 1), "50.0%");
    EXPECT_EQ(result.GetItemText(1, 2), "100.0%");
    EXPECT_EQ(result.GetItemText(2, 2), "0.0%");
    EXPECT_EQ(d.GetDlgItemText(IDC_SCMP_TOTAL), "Tatal 50.0%");
    EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());

    // Different epoch lengths: a beep and the message, the table kept.
    Click(d, IDC_SCMP_FILE2, 2);
    testhooks::AnswerMessageBox(ui::IDOK);
    testhooks::ClickControl(d, ui::IDOK);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Epoch is different.");
    EXPECT_EQ(testhooks::Beeps().size(), 1u);
    EXPECT_EQ(result.GetCount(), 7);
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  LyrDlgStageCompare dlg(&files_);
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
}

}  // namespace
