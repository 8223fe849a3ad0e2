// The Stage dialog (stage set and free-stage count, clearing what a lower count leaves behind)
// and the Detail dialog of one stage.
#include <gtest/gtest.h>

#include "../shared_dialogs/dialog_fixture.h"
#include "app/raw/lyr_raw_dlg_stage.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/messages.h"

namespace {

using StageDialogs = DialogTest;

// Epoch stages 1, 8, 9, 10, 29, 30, 28, 2; conditions with stages 8, 9, 30, 3.
void ScoreNight(CQLM2_AnalyzerDoc& doc, std::uint16_t freeCount) {
  ASSERT_EQ(doc.EpochTables.SetNew(8, 30, 2, 1, 1), 1);
  const std::uint8_t codes[] = {1, 8, 9, 10, 29, 30, 28, 2};
  for (int e = 0; e < 8; ++e) doc.EpochTables.SetStage(e, codes[e]);
  doc.Params.stageType.stageType = 1;
  doc.Params.stageType.sharedInUse = freeCount;
  doc.Params.stageType.shared[0].name = "F1";
  doc.Params.stageType.shared[1].name = "F2";
  doc.Params.stageType.shared[2].name = "F3";
  doc.Params.logic.sets[0][0].stage = 8;
  doc.Params.logic.sets[1][5].stage = 9;
  doc.Params.logic.sets[3][19].stage = 30;
  doc.Params.logic.sets[2][2].stage = 3;
}

std::vector<int> Stages(const CQLM2_AnalyzerDoc& doc) {
  std::vector<int> s;
  for (int e = 0; e < doc.EpochTables.EpochCount(); ++e) s.push_back(doc.EpochTables.GetStage(0, e, 0));
  return s;
}

TEST_F(StageDialogs, OpensOnTheCurrentTypeAndFreeCount) {
  struct Case { std::uint16_t type, free; int radio, freeRadio; };
  const Case cases[] = {{0, 0, 1863, 1877}, {2, 2, 1867, 1873}, {7, 9, 1869, 1875}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    doc.Params.stageType.stageType = c.type;
    doc.Params.stageType.sharedInUse = c.free;
    testhooks::ScriptDialog(LyrRawDlgStage::kTemplateId, [&](ui::Dialog& d) {
      EXPECT_EQ(d.GetDlgItemText(1863), "Wake,REM,S1,S2,S3,S4,MT");
      EXPECT_EQ(d.GetDlgItemText(1869), "Wake,REM,NonREM,MT");
      EXPECT_EQ(d.GetCheckedRadioButton(1863, 1869), c.radio);
      EXPECT_EQ(d.GetCheckedRadioButton(1871, 1877), c.freeRadio);
      d.ClickButton(ui::IDCANCEL);
    });
    LyrRawDlgStage dlg(&doc);
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(doc.Params.stageType.stageType, c.type);
  }
}

TEST_F(StageDialogs, LoweringFreeStagesClearsTheirEpochsAndConditions) {
  ScoreNight(doc, 3);
  testhooks::AnswerMessageBox(ui::IDOK);
  testhooks::ScriptDialog(LyrRawDlgStage::kTemplateId, [](ui::Dialog& d) {
    d.ClickButton(1867);
    d.ClickButton(1871);
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgStage dlg(&doc);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Cleared a F2 F3 .");
  EXPECT_EQ(Stages(doc), (std::vector<int>{1, 8, 0, 0, 0, 0, 28, 2}));
  // The cleared epochs keep their earlier code as the previous one.
  EXPECT_EQ(doc.EpochTables.GetStage(0, 2, 1), 9);
  EXPECT_EQ(doc.Params.logic.sets[0][0].stage, 8);
  EXPECT_EQ(doc.Params.logic.sets[1][5].stage, 1);
  EXPECT_EQ(doc.Params.logic.sets[3][19].stage, 1);
  EXPECT_EQ(doc.Params.logic.sets[2][2].stage, 3);
  EXPECT_EQ(doc.Params.stageType.stageType, 2);
  EXPECT_EQ(doc.Params.stageType.sharedInUse, 1);
  EXPECT_EQ(StageTypeWords[0], 2);
  EXPECT_EQ(StageTypeWords[1], 1);
}

TEST_F(StageDialogs, CancelledQuestionOrRaisedCountClearsNothing) {
  struct Case { std::uint16_t from; int radio; int answer; std::uint16_t expectFree; std::size_t boxes; };
  const Case cases[] = {{1, 1877, ui::IDCANCEL, 1, 1}, {1, 1875, 0, 3, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radio);
    testhooks::Reset();
    ScoreNight(doc, c.from);
    if (c.answer != 0) testhooks::AnswerMessageBox(c.answer);
    testhooks::ScriptDialog(LyrRawDlgStage::kTemplateId, [&](ui::Dialog& d) {
      d.ClickButton(c.radio);
      d.ClickButton(ui::IDOK);
    });
    LyrRawDlgStage dlg(&doc);
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(testhooks::ShownMessageBoxes().size(), c.boxes);
    EXPECT_EQ(doc.Params.stageType.sharedInUse, c.expectFree);
    EXPECT_EQ(Stages(doc), (std::vector<int>{1, 8, 9, 10, 29, 30, 28, 2}));
    EXPECT_EQ(doc.Params.logic.sets[0][0].stage, 8);
  }
}

TEST_F(StageDialogs, DetailShowsAndStoresOneStageRecord) {
  StageRecord rec;
  rec.name = "W";
  rec.colour = 0x112233;
  rec.lineWeight = 3;
  rec.showOrder = 10;
  rec.showInHypnogram = 1;
  rec.lineBetweenStages = 0;
  rec.key = 2005;
  testhooks::AnswerColorDialog(ui::IDOK, 0x00ABCDEFu);
  testhooks::ScriptDialog(LyrRawDlgStageDetail::kTemplateId, [&](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgStageDetail::kTitle), "Wake");
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgStageDetail::kName), "W");
    EXPECT_EQ(d.Item(LyrRawDlgStageDetail::kLineWeight).GetCount(), 10);
    EXPECT_EQ(d.Item(LyrRawDlgStageDetail::kLineWeight).GetString(0), " 1");
    EXPECT_EQ(d.Item(LyrRawDlgStageDetail::kLineWeight).GetCurSel(), 2);
    EXPECT_EQ(d.Item(LyrRawDlgStageDetail::kShowOrder).GetCurSel(), 9);
    EXPECT_EQ(d.IsDlgButtonChecked(LyrRawDlgStageDetail::kShowHypnogram), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(LyrRawDlgStageDetail::kLineBetween), 0);
    EXPECT_EQ(d.GetCheckedRadioButton(1249, 1267), 1259);
    d.SetDlgItemText(LyrRawDlgStageDetail::kName, "ABC");
    d.Item(LyrRawDlgStageDetail::kLineWeight).SetCurSel(6);
    d.ClickButton(LyrRawDlgStageDetail::kLineBetween);
    d.ClickButton(LyrRawDlgStageDetail::kShowHypnogram);
    d.ClickButton(1267);
    d.ClickButton(LyrRawDlgStageDetail::kSetColour);
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgStageDetail dlg("Wake", &rec);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(rec.name, "AB");
  EXPECT_EQ(rec.colour, 0x00ABCDEFu);
  EXPECT_EQ(rec.lineWeight, 7);
  EXPECT_EQ(rec.showOrder, 10);
  EXPECT_EQ(rec.showInHypnogram, 0u);
  EXPECT_EQ(rec.lineBetweenStages, 1);
  EXPECT_EQ(rec.key, 2009u);
}

TEST_F(StageDialogs, DetailKeepsUnsetKeyAndWorksWithoutRecord) {
  StageRecord rec;
  rec.key = 1999;
  rec.name = "N";
  testhooks::ScriptDialog(LyrRawDlgStageDetail::kTemplateId, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetCheckedRadioButton(1249, 1267), 0);
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgStageDetail dlg("N", &rec);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(rec.key, 1999u);
  EXPECT_EQ(rec.name, "N");

  testhooks::ScriptDialog(LyrRawDlgStageDetail::kTemplateId, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgStageDetail::kTitle), "");
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgStageDetail none("X", nullptr);
  EXPECT_EQ(none.DoModal(), ui::IDOK);
}

TEST(StageTemplates, JapaneseTemplatesCarryTheSameControls) {
  for (int id : {LyrRawDlgStage::kTemplateId, LyrRawDlgStageDetail::kTemplateId}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(en->nodes.size(), ja->nodes.size());
  }
  for (std::uint32_t s = 9755; s <= 9759; ++s) EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
}

}  // namespace
