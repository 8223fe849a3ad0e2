// The Gain and Color dialogs: preselection, the gain range, Apply, the colour chooser and
// Cancel putting the values from before back.
#include <gtest/gtest.h>

#include "../shared_dialogs/dialog_fixture.h"
#include "app/raw/lyr_raw_dlg_gain_colour.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/messages.h"

namespace {

class GainColourDialogs : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 4;
    const char* names[] = {"EEG", "EMG", "EOG", "ECG"};
    for (int i = 0; i < 4; ++i) {
      doc.ChInfo[i].name = names[i];
      doc.ChInfo[i].gain = 1.0 + i;
      doc.ChInfo[i].colour = 0x10u * (i + 1);
    }
  }
  std::vector<std::uint16_t> Marks(std::initializer_list<int> rows) {
    std::vector<std::uint16_t> m(4, 0);
    for (int r : rows) m[r] = 1;
    return m;
  }
};

void Click(ui::Dialog& d, int id, int code) {
  ui::NotifyHeader h{id, code};
  d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

TEST_F(GainColourDialogs, GainOpensOnThePreselectionAndAppliesToTheSelectedRows) {
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    ui::Control list = d.Item(LyrRawDlgGainCh::kList);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetItemText(0, 0), "  1");
    EXPECT_EQ(list.GetItemText(1, 1), "EMG");
    EXPECT_EQ(list.GetItemText(2, 2), "x3.00");
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1, 3}));
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgGainCh::kGainEdit), "2.00000");
    // A click shows the first selected channel's gain with two decimals.
    list.SetSelected(1, false);
    Click(d, LyrRawDlgGainCh::kList, ui::NM_CLICK);
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgGainCh::kGainEdit), "4.00");
    list.SetSelected(0, true);
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "2.5");
    d.ClickButton(LyrRawDlgGainCh::kApply);
    EXPECT_EQ(doc.ChInfo[0].gain, 2.5);
    EXPECT_EQ(doc.ChInfo[3].gain, 2.5);
    EXPECT_EQ(doc.ChInfo[1].gain, 2.0);
    EXPECT_EQ(list.GetItemText(3, 2), "x2.50");
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 3}));
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "7");
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgGainCh dlg(&doc);
  dlg.ChangeMarks = Marks({1, 3});
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(doc.ChInfo[0].gain, 7.0);
  EXPECT_EQ(doc.ChInfo[3].gain, 7.0);
  EXPECT_EQ(doc.ChInfo[2].gain, 3.0);
}

TEST_F(GainColourDialogs, GainRangeIsInclusiveAndRefusalsChangeNothing) {
  struct Case { const char* text; bool accepted; };
  const Case cases[] = {{"0.00001", true}, {"100000", true}, {"0", false}, {"100000.5", false},
                        {"-3", false}, {"abc", false}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testhooks::Reset();
    doc.ChInfo[0].gain = 1.0;
    testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
      d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, c.text);
      d.ClickButton(LyrRawDlgGainCh::kApply);
      d.ClickButton(ui::IDOK);  // OK ends the dialog even when Apply refused the number
    });
    LyrRawDlgGainCh dlg(&doc);
    dlg.ChangeMarks = Marks({0});
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    const auto& boxes = testhooks::ShownMessageBoxes();
    if (c.accepted) {
      EXPECT_TRUE(boxes.empty());
      EXPECT_EQ(doc.ChInfo[0].gain, std::strtod(c.text, nullptr));
    } else {
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(boxes[0].text, "Input number from 0.00001 to 100000.");
      EXPECT_NE(boxes[0].type & ui::MB_ICONEXCLAMATION, 0u);
      EXPECT_EQ(doc.ChInfo[0].gain, 1.0);
    }
  }
}

TEST_F(GainColourDialogs, GainCancelAfterTwoAppliesRestoresTheGainsFromBefore) {
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "5");
    d.ClickButton(LyrRawDlgGainCh::kApply);
    d.Item(LyrRawDlgGainCh::kList).SetSelected(2, true);
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "9");
    d.ClickButton(LyrRawDlgGainCh::kApply);
    EXPECT_EQ(doc.ChInfo[2].gain, 9.0);
    d.ClickButton(ui::IDCANCEL);
  });
  LyrRawDlgGainCh dlg(&doc);
  dlg.ChangeMarks = Marks({0, 1});
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.ChInfo[i].gain, 1.0 + i);
}

TEST_F(GainColourDialogs, GainApplyWithoutSelectionChangesNothing) {
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgGainCh::kGainEdit), "");
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "8");
    d.ClickButton(ui::IDOK);
  });
  LyrRawDlgGainCh dlg(&doc);
  dlg.ChangeMarks = Marks({});
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.ChInfo[i].gain, 1.0 + i);
}

TEST_F(GainColourDialogs, ColourGoesToTheSelectedRowsAndCancelPutsItBack) {
  for (const int end : {ui::IDOK, ui::IDCANCEL}) {
    SCOPED_TRACE(end);
    for (int i = 0; i < 4; ++i) doc.ChInfo[i].colour = 0x10u * (i + 1);
    testhooks::Reset();
    testhooks::AnswerColorDialog(ui::IDOK, 0x00FF8040u);
    testhooks::AnswerColorDialog(ui::IDCANCEL);
    testhooks::ScriptDialog(LyrRawDlgColorCh::kTemplateId, [&](ui::Dialog& d) {
      ui::Control list = d.Item(LyrRawDlgColorCh::kList);
      EXPECT_EQ(list.GetItemText(1, 2), "32");
      EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 2, 3}));
      d.ClickButton(LyrRawDlgColorCh::kSetColor);
      for (int r : {0, 2, 3}) EXPECT_EQ(doc.ChInfo[r].colour, 0x00FF8040u);
      EXPECT_EQ(doc.ChInfo[1].colour, 0x20u);
      EXPECT_EQ(list.GetItemText(0, 2), std::to_string(0x00FF8040u));
      EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 2, 3}));
      // The colour column shows a swatch of the channel's colour.
      const draw::Image shot = testhooks::RenderWindow(d);
      ASSERT_FALSE(shot.IsNull());
      bool swatch = false;
      for (int y = 0; y < shot.Height() && !swatch; ++y)
        for (int x = 0; x < shot.Width() && !swatch; ++x) swatch = shot.GetPixel(x, y) == 0x00FF8040u;
      EXPECT_TRUE(swatch);
      // A double click opens the chooser too; its Cancel changes nothing.
      list.SetSelected(1, true);
      Click(d, LyrRawDlgColorCh::kList, ui::NM_DBLCLK);
      EXPECT_EQ(doc.ChInfo[1].colour, 0x20u);
      d.ClickButton(end);
    });
    LyrRawDlgColorCh dlg(&doc);
    dlg.ChangeMarks = Marks({0, 2, 3});
    EXPECT_EQ(dlg.DoModal(), end);
    EXPECT_EQ(doc.ChInfo[0].colour, end == ui::IDOK ? 0x00FF8040u : 0x10u);
    EXPECT_EQ(doc.ChInfo[3].colour, end == ui::IDOK ? 0x00FF8040u : 0x40u);
    EXPECT_EQ(testhooks::UnansweredCount(), 0);
  }
}

TEST_F(GainColourDialogs, FailedBackupIsReportedAndCancelRestoresNothing) {
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "6");
    d.ClickButton(LyrRawDlgGainCh::kApply);
    d.ClickButton(ui::IDCANCEL);
  });
  LyrRawDlgFailNextBackup = true;
  LyrRawDlgGainCh dlg(&doc);
  dlg.ChangeMarks = Marks({0});
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_FALSE(dlg.HasBackup());
  ASSERT_FALSE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "LyrRawDlgGainCh::EvacuateDocument");
  EXPECT_EQ(doc.ChInfo[0].gain, 6.0);
}

TEST(GainColourTemplates, JapaneseTemplatesCarryTheSameControls) {
  for (int id : {LyrRawDlgGainCh::kTemplateId, LyrRawDlgColorCh::kTemplateId}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(en->nodes.size(), ja->nodes.size());
  }
  for (std::uint32_t s : {2307u, 9753u, 9754u}) EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
}

}  // namespace
