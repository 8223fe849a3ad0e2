// The raw window's channel display dialogs driven by control id: scale bars, shown channels
// with named channel sets, and the page dialog's offer when the epoch length has no table.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/raw/lyr_raw_dlg_scale_ch.h"
#include "app/raw/lyr_raw_dlg_show_ch.h"
#include "app/raw/lyr_raw_dlg_type_ch.h"
#include "app/raw/raw_display_dialog_strings.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/messages.h"
#include "shared_dialogs/dialog_fixture.h"

namespace {

void ClickList(ui::Dialog& d, int listId) {
  ui::NotifyHeader h{listId, ui::NM_CLICK};
  d.SendMessage(ui::WM_NOTIFY, static_cast<std::uintptr_t>(listId), reinterpret_cast<std::intptr_t>(&h));
}

TEST(ChannelDisplayTemplates, BothLanguagesCarryTheSameControls) {
  for (int id : {131, 134, 136, 138, 197, 198}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes));
  }
  for (std::uint32_t s = IDS_RDD_COL_SCALE; s <= IDS_RDD_LOWER; ++s) {
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

namespace {

class ShowChannelsTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "ECG";
    doc.ChInfo[0].show = 1;
    doc.ChInfo[1].show = 0;
    doc.ChInfo[2].show = 1;
    ShowTypeSets = ChannelShowTypes{};
    ShowTypeSets.names[0] = "All";
    ShowTypeSets.flags[0].fill(1);
    ShowTypeSets.count = 3;
    ShowTypeSets.names[1] = "EEG only";
    ShowTypeSets.flags[1] = {1, 0, 0};
    ShowTypeSets.names[2] = "Poly";
    ShowTypeSets.flags[2] = {0, 1, 1};
    ShowTypeIndex = 0;
  }
  void TearDown() override {
    ShowTypeSets = ChannelShowTypes{};
    ShowTypeSets.flags[0].fill(1);
    DialogTest::TearDown();
  }
  int Run(std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(LyrRawDlgShowCh::kTemplateId, std::move(script));
    LyrRawDlgShowCh dlg(&doc);
    return dlg.DoModal();
  }
  static void ChooseSet(ui::Dialog& d, int set) {
    d.Item(LyrRawDlgShowCh::kSetList).SetCurSel(set);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(LyrRawDlgShowCh::kSetList, ui::LBN_SELCHANGE), 0);
  }
  static void ClearRows(ui::Dialog& d) {
    ui::Control list = d.Item(LyrRawDlgShowCh::kList);
    for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, false);
  }
};

TEST_F(ShowChannelsTest, OpensOnTheShowFlagsAndTheCurrentSet) {
  ShowTypeIndex = 2;
  Run([](ui::Dialog& d) {
    EXPECT_EQ(d.Item(LyrRawDlgShowCh::kList).GetSelectedIndexes(), (std::vector<int>{0, 2}));
    ui::Control sets = d.Item(LyrRawDlgShowCh::kSetList);
    EXPECT_EQ(sets.GetCount(), 3);
    EXPECT_EQ(sets.GetString(1), "EEG only");
    EXPECT_EQ(sets.GetCurSel(), 2);
    EXPECT_TRUE(d.Item(LyrRawDlgShowCh::kSave).IsEnabled());
    EXPECT_TRUE(d.Item(LyrRawDlgShowCh::kDelete).IsEnabled());
  });
}

TEST_F(ShowChannelsTest, ChoosingASetShowsItAtOnceAndCancelKeepsIt) {
  Run([](ui::Dialog& d) {
    ChooseSet(d, 2);
    EXPECT_EQ(d.Item(LyrRawDlgShowCh::kList).GetSelectedIndexes(), (std::vector<int>{1, 2}));
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  EXPECT_EQ(ShowTypeIndex, 2);
  EXPECT_EQ(doc.ChInfo[0].show, 0);
  EXPECT_EQ(doc.ChInfo[1].show, 1);
}

TEST_F(ShowChannelsTest, OkStoresTheSelectionIntoTheCurrentSet) {
  ShowTypeIndex = 1;
  EXPECT_EQ(Run([](ui::Dialog& d) {
              ClearRows(d);
              d.Item(LyrRawDlgShowCh::kList).SetSelected(1, true);
              testhooks::ClickControl(d, ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(ShowTypeSets.flags[1][0], 0);
  EXPECT_EQ(ShowTypeSets.flags[1][1], 1);
  EXPECT_EQ(doc.ChInfo[0].show, 0);
  EXPECT_EQ(doc.ChInfo[1].show, 1);

  // No row selected: every channel is shown.
  Run([](ui::Dialog& d) {
    ClearRows(d);
    testhooks::ClickControl(d, ui::IDOK);
  });
  for (int c = 0; c < 3; ++c) EXPECT_EQ(doc.ChInfo[c].show, 1) << c;
  EXPECT_EQ(ShowTypeSets.flags[1][31], 1);

  // "All channels" selects every row.
  doc.ChInfo[1].show = 0;
  Run([](ui::Dialog& d) {
    ClearRows(d);
    ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgShowCh::kAllChannels));
    EXPECT_EQ(d.Item(LyrRawDlgShowCh::kList).GetSelectedIndexes().size(), 3u);
  });
}

TEST_F(ShowChannelsTest, SaveAppendsANamedSetCutTo19Characters) {
  testhooks::ScriptDialog(LyrRawDlgTitle::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgTitle::kTitleEdit, "ABCDEFGHIJKLMNOPQRST");
    testhooks::ClickControl(d, ui::IDOK);
  });
  Run([](ui::Dialog& d) {
    ClearRows(d);
    d.Item(LyrRawDlgShowCh::kList).SetSelected(2, true);
    ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgShowCh::kSave));
    ui::Control sets = d.Item(LyrRawDlgShowCh::kSetList);
    EXPECT_EQ(sets.GetCount(), 4);
    EXPECT_EQ(sets.GetCurSel(), 3);
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  EXPECT_EQ(ShowTypeSets.count, 4);
  EXPECT_EQ(ShowTypeSets.names[3], "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(ShowTypeIndex, 3);
  EXPECT_EQ(ShowTypeSets.flags[3][2], 1);
  EXPECT_EQ(ShowTypeSets.flags[3][0], 0);

  // Nine sets: no more saving.
  ShowTypeSets.count = kMaxShowTypes;
  Run([](ui::Dialog& d) { EXPECT_FALSE(d.Item(LyrRawDlgShowCh::kSave).IsEnabled()); });
  EXPECT_EQ(FirstCharacters("\xe3\x81\x82\xe3\x81\x84x", 2), "\xe3\x81\x82\xe3\x81\x84");
}

TEST_F(ShowChannelsTest, DeleteMovesTheFollowingSetsDown) {
  struct Case {
    int current;
    int removedRow;  // row of the Remove list: set row + 1
    int currentAfter;
  };
  // Removing the current set makes set 0 current; removing one before it keeps the same set.
  for (const Case c : {Case{1, 0, 0}, Case{2, 0, 1}, Case{1, 1, 1}}) {
    SCOPED_TRACE(c.current * 10 + c.removedRow);
    SetUp();
    ShowTypeIndex = static_cast<std::int16_t>(c.current);
    testhooks::ScriptDialog(LyrRawDlgRemove::kTemplateId, [&](ui::Dialog& d) {
      ui::Control list = d.Item(LyrRawDlgRemove::kSetList);
      EXPECT_EQ(list.GetCount(), 2);
      EXPECT_EQ(list.GetCurSel(), 0);
      list.SetCurSel(c.removedRow);
      testhooks::ClickControl(d, ui::IDOK);
    });
    Run([](ui::Dialog& d) { ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgShowCh::kDelete)); });
    EXPECT_EQ(ShowTypeSets.count, 2);
    EXPECT_EQ(ShowTypeSets.names[1], c.removedRow == 0 ? "Poly" : "EEG only");
    EXPECT_EQ(ShowTypeIndex, c.currentAfter);
  }
  // One set left: no deleting.
  ShowTypeSets.count = 1;
  ShowTypeIndex = 0;
  Run([](ui::Dialog& d) { EXPECT_FALSE(d.Item(LyrRawDlgShowCh::kDelete).IsEnabled()); });
}

TEST_F(DialogTest, PageDialogOffersAFreeLengthWithoutATable) {
  EpochSeconds = 7;
  testhooks::ScriptDialog(LyrRawDlgPage::kTemplateId, [](ui::Dialog& d) {
    ui::Control pages = d.Item(LyrRawDlgPage::kPageList);
    ASSERT_EQ(pages.GetCount(), 1);
    EXPECT_EQ(pages.GetString(0), "Free");
  });
  LyrRawDlgPage dlg(&doc);
  dlg.DoModal();
  EpochSeconds = 8;
  testhooks::ScriptDialog(LyrRawDlgPage::kTemplateId, [](ui::Dialog& d) {
    ui::Control pages = d.Item(LyrRawDlgPage::kPageList);
    EXPECT_GE(pages.FindStringExact(" 2min."), 0);
    EXPECT_EQ(pages.FindStringExact(" 1min."), -1);
  });
  LyrRawDlgPage again(&doc);
  again.DoModal();
  EpochSeconds = 30;
}

}  // namespace

namespace {

class TypeDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "SpO2";
    doc.ChInfo[2].displayTypeWords = {0, 0, 1, 1, 0, 2, 2};
    doc.ChInfo[2].SetNamedRange(0, {"Lo", 0.0, 90.0});
    doc.ChInfo[2].SetNamedRange(1, {"Hi", 90.0, 100.0});
  }
  int Run(std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(LyrRawDlgTypeCh::kTemplateId, std::move(script));
    LyrRawDlgTypeCh dlg(&doc);
    dlg.ChangeMarks = {1, 0, 1};
    return dlg.DoModal();
  }
  using Ids = LyrRawDlgTypeCh;
};

TEST_F(TypeDialogTest, TypeTextNamesEveryDrawingWay) {
  struct Case {
    std::array<std::uint16_t, 7> words;
    const char* text;
  };
  for (const Case& c : {Case{{1, 0, 0, 0, 0, 1, 1}, "Waveform-Center"}, Case{{1, 2, 1, 0, 1, 1, 1}, "Waveform(B )-Lower/Numeric"},
                        Case{{1, 1, 1, 1, 0, 1, 1}, "Waveform-Upper/Numeric/Character"},
                        Case{{0, 0, 0, 1, 0, 1, 1}, "/Character"}, Case{{0, 0, 0, 0, 0, 1, 1}, ""}}) {
    LyrChInfo ch;
    ch.displayTypeWords = c.words;
    EXPECT_EQ(LyrRawDlgTypeCh::TypeText(ch), c.text);
  }
}

TEST_F(TypeDialogTest, OpensOnTheLastPreselectedChannelWithItsEnabling) {
  Run([](ui::Dialog& d) {
    EXPECT_EQ(d.Item(Ids::kList).GetSelectedIndexes(), (std::vector<int>{0, 2}));
    EXPECT_EQ(d.Item(Ids::kList).GetItemText(2, 2), "/Numeric/Character");
    EXPECT_EQ(d.IsDlgButtonChecked(Ids::kLine), 0);
    EXPECT_EQ(d.IsDlgButtonChecked(Ids::kCharacter), 1);
    EXPECT_EQ(d.Item(Ids::kDecimals).GetCurSel(), 2);
    EXPECT_EQ(d.Item(Ids::kRangeCount).GetCurSel(), 1);
    EXPECT_EQ(d.GetDlgItemText(1116), "Lo");
    EXPECT_EQ(d.GetDlgItemText(1121), "90.00");
    EXPECT_FALSE(d.Item(Ids::kHeavy).IsEnabled());
    EXPECT_FALSE(d.Item(Ids::kBaseline).IsEnabled());
    EXPECT_TRUE(d.Item(Ids::kDecimals).IsEnabled());
    EXPECT_TRUE(d.Item(1130).IsEnabled()) << "second range in use";
    EXPECT_FALSE(d.Item(1140).IsEnabled()) << "third range not in use";
    d.CheckDlgButton(Ids::kCharacter, 0);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(Ids::kCharacter, ui::BN_CLICKED), 0);
    EXPECT_FALSE(d.Item(1116).IsEnabled());
    EXPECT_FALSE(d.Item(Ids::kRangeCount).IsEnabled());
    d.CheckDlgButton(Ids::kNumeric, 0);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(Ids::kNumeric, ui::BN_CLICKED), 0);
    EXPECT_FALSE(d.Item(Ids::kApply).IsEnabled()) << "nothing to draw";
    // A click shows the last selected row.
    d.Item(Ids::kList).SetSelected(2, false);
    ClickList(d, Ids::kList);
    EXPECT_EQ(d.IsDlgButtonChecked(Ids::kLine), 1);
    EXPECT_TRUE(d.Item(Ids::kApply).IsEnabled());
  });
}

TEST_F(TypeDialogTest, ApplyWritesEverySelectedChannelAndCancelRestores) {
  Run([](ui::Dialog& d) {
    ASSERT_TRUE(testhooks::ClickControl(d, Ids::kLine));
    ASSERT_TRUE(testhooks::ClickControl(d, Ids::kHeavy));
    d.Item(Ids::kBaseline).SetCurSel(1);
    d.Item(Ids::kRangeCount).SetCurSel(2);
    d.SetDlgItemText(1140, "Mid");
    d.SetDlgItemText(1143, "5");
    d.SetDlgItemText(1145, "2");
    ASSERT_TRUE(testhooks::ClickControl(d, Ids::kApply));
    EXPECT_EQ(d.Item(Ids::kList).GetItemText(0, 2), "Waveform(B )-Upper/Numeric/Character");
    EXPECT_EQ(d.Item(Ids::kList).GetSelectedIndexes(), (std::vector<int>{0, 2}));
  });
  for (int c : {0, 2}) {
    SCOPED_TRACE(c);
    const LyrChInfo& ch = doc.ChInfo[c];
    EXPECT_EQ(ch.displayTypeWords, (std::array<std::uint16_t, 7>{1, 1, 1, 1, 1, 2, 3}));
    const LyrChInfo::NamedRange r = ch.GetNamedRange(2);
    EXPECT_EQ(r.label, "Mi");
    EXPECT_DOUBLE_EQ(r.low, 2.0) << "a range typed as 5 to 2 is stored as 2 to 5";
    EXPECT_DOUBLE_EQ(r.high, 5.0);
    EXPECT_EQ(ch.GetNamedRange(1).label, "Hi");
  }
  EXPECT_EQ(doc.ChInfo[1].displayTypeWords, (std::array<std::uint16_t, 7>{1, 0, 0, 0, 0, 1, 1}));
  // Cancel puts back what the dialog applied.
  const LyrChInfo before0 = doc.ChInfo[0];
  const LyrChInfo before2 = doc.ChInfo[2];
  Run([](ui::Dialog& d) {
    ASSERT_TRUE(testhooks::ClickControl(d, Ids::kLine));
    d.SetDlgItemText(1116, "Zz");
    ASSERT_TRUE(testhooks::ClickControl(d, Ids::kApply));
    EXPECT_EQ(d.Item(Ids::kList).GetItemText(0, 2), "/Numeric/Character");
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  for (const auto& [c, was] : {std::pair{0, &before0}, std::pair{2, &before2}}) {
    EXPECT_EQ(doc.ChInfo[c].displayTypeWords, was->displayTypeWords) << c;
    EXPECT_EQ(doc.ChInfo[c].displayTypeData, was->displayTypeData) << c;
  }
}

}  // namespace
