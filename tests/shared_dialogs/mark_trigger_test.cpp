// The "Mark" page of the "Other" settings window, driven by control id.
#include <functional>
#include <set>
#include <string>

#include "app/settings/lyr_raw_dlg_other.h"
#include "dialog_fixture.h"
#include "platform/res/ui_resource.h"

namespace {

const MarkTriggerRowIds& RowIds(int row) { return kMarkTriggerRows[static_cast<std::size_t>(row)]; }

class MarkTriggerPage : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    MarkTypeParam::Item& on = doc.Params.markType.items[0];
    on.triggerDetect = 1;
    on.name = "Snore";
    on.colour = 0x0000FF;
    on.triggerChannel = 1;
    on.direction = 1;
    on.triggerLevel = 12.5f;
    on.invalidTimeS = 2.0f;
    MarkTypeParam::Item& off = doc.Params.markType.items[1];
    off.triggerDetect = 0;
    off.name = "Old";
    off.triggerChannel = 0;
    off.triggerLevel = 3.0f;
    doc.Params.markType.triggerCount = 1;
    ASSERT_EQ(doc.Marks.AllocateMark(100), 1);
    doc.Marks.MarkEventRange(0, 1.0f, 2.0f);
    doc.Marks.MarkEventRange(1, 1.0f, 2.0f);
    doc.Marks.Start(0)[0] = 1.0f;
    doc.Marks.End(0)[0] = 2.0f;
    doc.Marks.SetCount(0, 1);
    doc.Marks.Start(1)[0] = 1.0f;
    doc.Marks.End(1)[0] = 2.0f;
    doc.Marks.SetCount(1, 1);
  }

  int Run(LyrRawDlgOther& dlg, std::function<void(LyrRawDlgOther&, LyrRawDlgOtherMarkTrigger&)> script) {
    dlg.m_pDoc = &doc;
    testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [script](ui::Dialog& d) {
      auto& host = static_cast<LyrRawDlgOther&>(d);
      script(host, host.m_MarkTrigger);
    });
    return dlg.DoModal();
  }

  // Switches detection on for a row and picks channel `ch` (0 none) of its combo.
  static void DetectOn(LyrRawDlgOtherMarkTrigger& p, int row, int ch) {
    ASSERT_TRUE(p.ClickButton(RowIds(row).detect));
    p.Item(RowIds(row).channel).SetCurSel(ch);
    p.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(RowIds(row).channel), ui::CBN_SELCHANGE), 0);
  }
};

TEST_F(MarkTriggerPage, OpensWithTheItemsAndEnablesByDetectionAndChannel) {
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    const MarkTriggerRowIds& on = RowIds(0);
    EXPECT_EQ(p.IsDlgButtonChecked(on.detect), 1);
    EXPECT_EQ(p.GetDlgItemText(on.name), "Snore");
    EXPECT_EQ(p.IsDlgButtonChecked(on.show), 1);
    ui::Control channel = p.Item(on.channel);
    ASSERT_EQ(channel.GetCount(), 3);
    EXPECT_EQ(channel.GetString(0), "None");
    EXPECT_EQ(channel.GetString(1), "  1:EEG");
    EXPECT_EQ(channel.GetString(2), "  2:EMG");
    EXPECT_EQ(channel.GetCurSel(), 2);
    EXPECT_EQ(p.Item(on.direction).GetString(p.Item(on.direction).GetCurSel()), "Down->Up");
    EXPECT_EQ(p.GetDlgItemText(on.level), "12.500");
    EXPECT_EQ(p.GetDlgItemText(on.invalidTime), "2.000");
    for (int id : {on.name, on.show, on.colour, on.channel, on.direction, on.level, on.invalidTime})
      EXPECT_TRUE(p.Item(id).IsEnabled()) << id;

    // Detection off: name and values empty, everything but the check box disabled.
    const MarkTriggerRowIds& off = RowIds(1);
    EXPECT_EQ(p.IsDlgButtonChecked(off.detect), 0);
    EXPECT_EQ(p.GetDlgItemText(off.name), "");
    EXPECT_EQ(p.GetDlgItemText(off.level), "");
    EXPECT_EQ(p.GetDlgItemText(off.invalidTime), "");
    for (int id : {off.name, off.show, off.colour, off.channel, off.direction, off.level, off.invalidTime})
      EXPECT_FALSE(p.Item(id).IsEnabled()) << id;

    // Switching it on enables the row; the trigger values follow the channel.
    ASSERT_TRUE(p.ClickButton(off.detect));
    EXPECT_TRUE(p.Item(off.name).IsEnabled());
    EXPECT_TRUE(p.Item(off.level).IsEnabled());  // the item's channel 0
    p.Item(off.channel).SetCurSel(0);
    p.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(off.channel), ui::CBN_SELCHANGE), 0);
    EXPECT_FALSE(p.Item(off.direction).IsEnabled());
    EXPECT_FALSE(p.Item(off.level).IsEnabled());
    EXPECT_FALSE(p.Item(off.invalidTime).IsEnabled());
    d.EndDialog(ui::IDCANCEL);
  });
}

TEST_F(MarkTriggerPage, OkCommitsTheRowsAndClearsTheMarksOfTypesNotDetected) {
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    p.SetDlgItemText(RowIds(0).level, "-7.25");
    p.SetDlgItemText(RowIds(0).invalidTime, "0");  // zero is accepted
    p.CheckDlgButton(RowIds(0).show, 0);
    // On with channel "None": valid with empty edits, its values not read.
    DetectOn(p, 2, 0);
    p.SetDlgItemText(RowIds(2).name, "Arm");
    DetectOn(p, 3, 1);
    p.Item(RowIds(3).direction).SetCurSel(1);
    p.SetDlgItemText(RowIds(3).level, "abc");  // not a number: 0
    p.SetDlgItemText(RowIds(3).invalidTime, "1.5");
    p.SetDlgItemText(RowIds(4).name, std::string(40, 'x'));
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  const MarkTypeParam& m = doc.Params.markType;
  EXPECT_EQ(m.triggerCount, 3);
  EXPECT_EQ(m.items[0].triggerLevel, -7.25f);
  EXPECT_EQ(m.items[0].invalidTimeS, 0.0f);
  EXPECT_EQ(m.items[0].show, 0);
  EXPECT_EQ(m.items[0].name, "Snore");
  EXPECT_EQ(m.items[2].name, "Arm");
  EXPECT_EQ(m.items[2].triggerChannel, -1);
  EXPECT_EQ(m.items[3].triggerChannel, 0);
  EXPECT_EQ(m.items[3].direction, 1);
  EXPECT_EQ(m.items[3].triggerLevel, 0.0f);
  EXPECT_EQ(m.items[3].invalidTimeS, 1.5f);
  // Detection off: the name is the empty edit's, the channel dropped, the marks cleared.
  EXPECT_EQ(m.items[1].name, "");
  EXPECT_EQ(m.items[1].triggerChannel, -1);
  EXPECT_EQ(doc.Marks.Count(1), 0);
  EXPECT_EQ(doc.Marks.Flags(1)[10], 0);
  EXPECT_EQ(doc.Marks.Start(1)[0], 0.0f);
  EXPECT_EQ(doc.Marks.Count(0), 1);
  EXPECT_EQ(doc.Marks.Flags(0)[10], 1);
  EXPECT_LE(m.items[4].name.size(), 29u);
  EXPECT_EQ(dlg.m_MarkChanged, 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(MarkTriggerPage, OkWithoutEditsReportsNoChange) {
  doc.Params.markType.items[1].triggerChannel = -1;  // as a committed row without detection
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger&) { ASSERT_TRUE(d.ClickButton(ui::IDOK)); }),
            ui::IDOK);
  EXPECT_EQ(dlg.m_MarkChanged, 0);
  EXPECT_EQ(doc.Params.markType.items[0].triggerLevel, 12.5f);
}

// A bad row keeps the window open, shows one message (the first row's) and commits nothing.
TEST_F(MarkTriggerPage, InvalidRowsKeepTheWindowOpen) {
  struct Case {
    const char* level;
    const char* time;
    const char* message;
  };
  const Case cases[] = {
      {"", "1", "Mark auto detect: Mark1 Level value is not specified."},
      {"5", "", "Mark auto detect: Mark1 Invalid time value is not specified."},
      {"5", "-1", "Mark auto detect: Input plus value on Mark1 Invalid time value."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    testhooks::Reset();
    LyrRawDlgOther dlg;
    EXPECT_EQ(Run(dlg, [&c](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
      p.SetDlgItemText(RowIds(0).level, c.level);
      p.SetDlgItemText(RowIds(0).invalidTime, c.time);
      DetectOn(p, 5, 2);  // a second bad row: empty level and time
      ASSERT_TRUE(d.ClickButton(ui::IDOK));
      EXPECT_FALSE(d.IsEnded());
      d.EndDialog(ui::IDCANCEL);
    }), ui::IDCANCEL);
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, c.message);
    EXPECT_EQ(doc.Params.markType.items[0].triggerLevel, 12.5f);
    EXPECT_EQ(doc.Params.markType.triggerCount, 1);
    EXPECT_EQ(doc.Marks.Count(1), 1);
  }
}

TEST_F(MarkTriggerPage, LeavingTheMarkTabWithABadRowKeepsIt) {
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    d.ShowWindow(ui::SW_SHOW);
    ui::Control tab = d.Item(IDC_OTHER_TAB);
    const auto select = [&](int i) {
      tab.SetCurSel(i);
      ui::NotifyHeader h{IDC_OTHER_TAB, ui::TCN_SELCHANGE};
      d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
    };
    select(1);
    p.SetDlgItemText(RowIds(0).level, "");
    select(2);
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(d.ShownPage(), 1);
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_FALSE(d.m_Fft.IsWindowVisible());
    EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    // Once mended the tab can be left.
    p.SetDlgItemText(RowIds(0).level, "1");
    select(2);
    EXPECT_EQ(d.ShownPage(), 2);
    d.EndDialog(ui::IDCANCEL);
  });
}

TEST_F(MarkTriggerPage, SwitchingDetectionOffAsksFirst) {
  doc.Params.markType.items[3] = doc.Params.markType.items[0];
  LyrRawDlgOther dlg;
  EXPECT_EQ(Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    const MarkTriggerRowIds& row = RowIds(3);
    testhooks::AnswerMessageBox(ui::IDNO);
    ASSERT_TRUE(p.ClickButton(row.detect));
    EXPECT_EQ(p.IsDlgButtonChecked(row.detect), 1);
    EXPECT_TRUE(p.Item(row.name).IsEnabled());
    EXPECT_TRUE(p.Item(row.level).IsEnabled());
    testhooks::AnswerMessageBox(ui::IDYES);
    ASSERT_TRUE(p.ClickButton(row.detect));
    EXPECT_EQ(p.IsDlgButtonChecked(row.detect), 0);
    EXPECT_FALSE(p.Item(row.name).IsEnabled());
    EXPECT_FALSE(p.Item(row.level).IsEnabled());
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  }), ui::IDOK);
  const auto& boxes = testhooks::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "This mark data is deleted. Continue?");
  EXPECT_EQ(boxes[0].type, ui::MB_YESNO | ui::MB_ICONEXCLAMATION);
  EXPECT_EQ(doc.Params.markType.items[3].triggerDetect, 0);
  EXPECT_EQ(doc.Params.markType.triggerCount, 1);
}

TEST_F(MarkTriggerPage, ChosenColourReachesTheDocumentOnOkOnly) {
  LyrRawDlgOther cancel;
  Run(cancel, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    testhooks::AnswerColorDialog(ui::IDOK, 0x00FF00);
    ASSERT_TRUE(p.ClickButton(RowIds(0).colour));
    ASSERT_TRUE(d.ClickButton(ui::IDCANCEL));
  });
  EXPECT_EQ(doc.Params.markType.items[0].colour, 0x0000FFu);

  LyrRawDlgOther ok;
  Run(ok, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    testhooks::AnswerColorDialog(ui::IDCANCEL);
    ASSERT_TRUE(p.ClickButton(RowIds(0).colour));
    EXPECT_EQ(p.m_Items[0].colour, 0x0000FFu);
    testhooks::AnswerColorDialog(ui::IDOK, 0x00FF00);
    ASSERT_TRUE(p.ClickButton(RowIds(0).colour));
    ASSERT_TRUE(d.ClickButton(ui::IDOK));
  });
  EXPECT_EQ(doc.Params.markType.items[0].colour, 0x00FF00u);
}

TEST_F(MarkTriggerPage, JapaneseTemplateCarriesEveryRow) {
  std::string error;
  const auto en = res::LoadDialogResource(IDD_OTHER_MARK_TRIGGER, 1033, &error);
  ASSERT_TRUE(en) << error;
  const auto ja = res::LoadDialogResource(IDD_OTHER_MARK_TRIGGER, 1041, &error);
  ASSERT_TRUE(ja) << error;
  EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes));
  EXPECT_EQ(TemplateControlIds(en->nodes).size(), 90u);
  for (std::uint32_t s : {IDS_MT_NOT_SPECIFIED, IDS_MT_MARKS_DELETED, IDS_MT_PLUS_VALUE, IDS_MT_PREFIX,
                          IDS_MT_LEVEL_VALUE, IDS_MT_INVALID_TIME})
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  res::SetLanguage(res::Language::Japanese);
  LyrRawDlgOther dlg;
  Run(dlg, [](LyrRawDlgOther& d, LyrRawDlgOtherMarkTrigger& p) {
    EXPECT_EQ(p.GetDlgItemText(RowIds(0).name), "Snore");
    EXPECT_EQ(p.Item(RowIds(9).detect).GetText(), "マーク10");
    d.EndDialog(ui::IDCANCEL);
  });
  res::SetLanguage(res::Language::English);
}

}  // namespace
