// The raw window's channel display dialogs driven by control id: scale bars, shown channels
// with named channel sets, and the page dialog's offer when the epoch length has no table.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/raw/lyr_raw_dlg_scale_ch.h"
#include "app/raw/raw_display_dialog_strings.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/messages.h"
#include "shared_dialogs/dialog_fixture.h"

namespace {

std::set<int> TemplateIds(const res::DialogTemplate& t) {
  std::set<int> ids;
  std::function<void(const std::vector<res::DialogNode>&)> walk = [&](const std::vector<res::DialogNode>& nodes) {
    for (const auto& n : nodes) {
      if (n.id > 0) ids.insert(n.id);
      walk(n.children);
    }
  };
  walk(t.nodes);
  return ids;
}

void ClickList(ui::Dialog& d, int listId) {
  ui::NotifyHeader h{listId, ui::NM_CLICK};
  d.SendMessage(ui::WM_NOTIFY, static_cast<std::uintptr_t>(listId), reinterpret_cast<std::intptr_t>(&h));
}

TEST(ChannelDisplayTemplates, BothLanguagesCarryTheSameControls) {
  for (int id : {131, 136}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(TemplateIds(*en), TemplateIds(*ja));
  }
  for (std::uint32_t s : {IDS_RDD_COL_SCALE, IDS_RDD_SCALE_ON, IDS_RDD_OFF, IDS_RDD_SCALE_RANGE, IDS_RDD_FREE}) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

class ScaleDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "ECG";
    for (int c = 0; c < 3; ++c) {
      doc.ChInfo[c].unit = "uV";
      doc.ChInfo[c].scaleMode = 1;
      doc.ChInfo[c].scaleValue = 50.0;
    }
    doc.ChInfo[1].scaleMode = 0;
    doc.ChInfo[1].scaleValue = 7.25;
  }
  // Runs the dialog with channels 2 and 3 pre-selected.
  int Run(std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(LyrRawDlgScaleCh::kTemplateId, std::move(script));
    LyrRawDlgScaleCh dlg(&doc);
    dlg.ChangeMarks = {0, 1, 1};
    return dlg.DoModal();
  }
};

TEST_F(ScaleDialogTest, OpensOnThePreselectedRowsAndShowsTheFirst) {
  Run([](ui::Dialog& d) {
    ui::Control list = d.Item(LyrRawDlgScaleCh::kList);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "  1");
    EXPECT_EQ(list.GetItemText(0, 1), "EEG");
    EXPECT_EQ(list.GetItemText(0, 2), "ON: 50.00000 uV");
    EXPECT_EQ(list.GetItemText(1, 2), "OFF");
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(d.IsDlgButtonChecked(LyrRawDlgScaleCh::kShowScale), 0);
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgScaleCh::kValue), "7.25");
    // A click shows the first selected channel.
    list.SetSelected(1, false);
    ClickList(d, LyrRawDlgScaleCh::kList);
    EXPECT_EQ(d.IsDlgButtonChecked(LyrRawDlgScaleCh::kShowScale), 1);
    EXPECT_EQ(d.GetDlgItemText(LyrRawDlgScaleCh::kValue), "50.00");
  });
}

TEST_F(ScaleDialogTest, ValueLimitsAreInclusive) {
  struct Case {
    const char* text;
    bool accepted;
  };
  for (const Case c : {Case{"0.00001", true}, Case{"100000", true}, Case{"0", false}, Case{"100001", false},
                       Case{"abc", false}, Case{"", false}}) {
    SCOPED_TRACE(c.text);
    testhooks::Reset();
    doc.ChInfo[1].scaleMode = 0;
    doc.ChInfo[1].scaleValue = 7.25;
    Run([&](ui::Dialog& d) {
      d.CheckDlgButton(LyrRawDlgScaleCh::kShowScale, 1);
      d.SetDlgItemText(LyrRawDlgScaleCh::kValue, c.text);
      ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgScaleCh::kApply));
      EXPECT_FALSE(d.IsEnded()) << "Apply keeps the dialog open";
      testhooks::ClickControl(d, ui::IDOK);
      EXPECT_TRUE(d.IsEnded()) << "OK closes even on a refused value";
    });
    const auto& boxes = testhooks::ShownMessageBoxes();
    if (c.accepted) {
      EXPECT_TRUE(boxes.empty());
      EXPECT_DOUBLE_EQ(doc.ChInfo[1].scaleValue, std::strtod(c.text, nullptr));
      EXPECT_EQ(doc.ChInfo[1].scaleMode, 1);
    } else {
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes.front().text, "Input number from 0.00001 to 100000.");
      EXPECT_NE(boxes.front().type & ui::MB_ICONEXCLAMATION, 0u);
      EXPECT_DOUBLE_EQ(doc.ChInfo[1].scaleValue, 7.25);
      EXPECT_EQ(doc.ChInfo[1].scaleMode, 0);
    }
  }
}

TEST_F(ScaleDialogTest, ApplyWritesEverySelectedChannelAndCancelRestoresThem) {
  Run([](ui::Dialog& d) {
    d.CheckDlgButton(LyrRawDlgScaleCh::kShowScale, 0);
    d.SetDlgItemText(LyrRawDlgScaleCh::kValue, "12.5");
    ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgScaleCh::kApply));
    ui::Control list = d.Item(LyrRawDlgScaleCh::kList);
    EXPECT_EQ(list.GetItemText(2, 2), "OFF");
    EXPECT_EQ(list.GetItemText(0, 2), "ON: 50.00000 uV") << "unselected channel untouched";
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1, 2})) << "selection kept after refill";
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  for (int c : {0, 2}) {
    EXPECT_EQ(doc.ChInfo[c].scaleMode, 1) << c;
    EXPECT_DOUBLE_EQ(doc.ChInfo[c].scaleValue, 50.0) << c;
  }
  EXPECT_EQ(doc.ChInfo[1].scaleMode, 0);
  EXPECT_DOUBLE_EQ(doc.ChInfo[1].scaleValue, 7.25);

  EXPECT_EQ(Run([](ui::Dialog& d) {
              d.SetDlgItemText(LyrRawDlgScaleCh::kValue, "12.5");
              testhooks::ClickControl(d, ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_DOUBLE_EQ(doc.ChInfo[2].scaleValue, 12.5);
  EXPECT_DOUBLE_EQ(doc.ChInfo[0].scaleValue, 50.0);
}

}  // namespace
