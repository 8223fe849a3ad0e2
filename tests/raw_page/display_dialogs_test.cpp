// "Display option" and "Channel Display Information" driven by control id.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/frame/program_settings.h"
#include "app/raw/lyr_dlg_display_option.h"
#include "app/raw/lyr_raw_dlg_gain_colour.h"
#include "app/raw/lyr_raw_dlg_operate_wave.h"
#include "app/raw/operate_wave_strings.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/messages.h"
#include "shared_dialogs/dialog_fixture.h"

namespace {

using Opt = LyrDlgDisplayOption;
using Ow = LyrRawDlgOperateWave;

// Every switch the dialog writes, put back after each test.
struct SavedSwitches {
  std::uint16_t clock = ClockTimeDisplay, screening = DrawWhileScreening, epoch = ShowEpochMode;
  std::uint32_t actual = DrawActualSize, event = ShowEvent, history = ShowStageHistory, stage = ShowStageName,
                mark = ShowMarkName, logic = ShowLogicLine, channel = ShowChannelName, subject = HideSubjectName,
                lineUp = LineUpWithTrend;
  double height = ScreenHeightMm, width = ScreenWidthMm;
  ~SavedSwitches() {
    ClockTimeDisplay = clock;
    DrawWhileScreening = screening;
    ShowEpochMode = epoch;
    DrawActualSize = actual;
    ShowEvent = event;
    ShowStageHistory = history;
    ShowStageName = stage;
    ShowMarkName = mark;
    ShowLogicLine = logic;
    ShowChannelName = channel;
    HideSubjectName = subject;
    LineUpWithTrend = lineUp;
    ScreenHeightMm = height;
    ScreenWidthMm = width;
  }
};

class DisplayOptionDialog : public DialogTest {
 protected:
  SavedSwitches saved_;
  void SetUp() override {
    DialogTest::SetUp();
    ClockTimeDisplay = 0;
    DrawActualSize = 1;
    ScreenHeightMm = 200.0;
    ScreenWidthMm = 300.0;
    ShowEvent = 1;
    ShowStageHistory = 0;
    ShowStageName = 1;
    DrawWhileScreening = 0;
    ShowMarkName = 1;
    ShowLogicLine = 0;
    ShowChannelName = 1;
    ShowEpochMode = 2;
    HideSubjectName = 0;
    LineUpWithTrend = 1;
  }
  int Run(std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(Opt::kTemplateId, std::move(script));
    Opt dlg(&doc);
    return dlg.DoModal();
  }
};

TEST_F(DisplayOptionDialog, OpensWithTheSwitchesAndTogglesTheDependentControls) {
  EXPECT_EQ(Run([](ui::Dialog& d) {
              EXPECT_EQ(d.GetCheckedRadioButton(Opt::kTimeTotal, Opt::kTimeReal), Opt::kTimeTotal);
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kShowEvent), 1);
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kShowStageHistory), 0);
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kShowChannelName), 1);
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kLineUpWithTrend), 1);
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kShowScreeningRaw), 0);
              EXPECT_EQ(d.GetDlgItemText(Opt::kScreenHeight), "200.0");
              EXPECT_EQ(d.GetDlgItemText(Opt::kScreenWidth), "300.0");
              EXPECT_TRUE(d.Item(Opt::kScreenHeight).IsEnabled());
              EXPECT_EQ(d.IsDlgButtonChecked(Opt::kShowEpoch), 1);
              EXPECT_EQ(d.GetCheckedRadioButton(Opt::kEpochNumber, Opt::kEpochTime), Opt::kEpochTime);
              EXPECT_TRUE(d.Item(Opt::kEpochNumber).IsEnabled());

              d.ClickButton(Opt::kDrawActualSize);
              EXPECT_FALSE(d.Item(Opt::kScreenHeight).IsEnabled());
              EXPECT_FALSE(d.Item(Opt::kScreenWidth).IsEnabled());
              d.ClickButton(Opt::kShowEpoch);
              EXPECT_FALSE(d.Item(Opt::kEpochNumber).IsEnabled());
              EXPECT_FALSE(d.Item(Opt::kEpochTime).IsEnabled());
              d.ClickButton(Opt::kShowEpoch);
              EXPECT_TRUE(d.Item(Opt::kEpochTime).IsEnabled());
              // Cancel: nothing written.
              d.ClickButton(Opt::kTimeReal);
              d.ClickButton(Opt::kShowEvent);
              d.ClickButton(ui::IDCANCEL);
            }),
            ui::IDCANCEL);
  EXPECT_EQ(ClockTimeDisplay, 0);
  EXPECT_EQ(DrawActualSize, 1u);
  EXPECT_EQ(ShowEvent, 1u);
  EXPECT_EQ(ShowEpochMode, 2);
}

TEST_F(DisplayOptionDialog, EpochSwitchOffOpensWithRadiosDisabledAndNoneChosen) {
  ShowEpochMode = 0;
  DrawActualSize = 0;
  Run([](ui::Dialog& d) {
    EXPECT_EQ(d.GetCheckedRadioButton(Opt::kEpochNumber, Opt::kEpochTime), 0);
    EXPECT_FALSE(d.Item(Opt::kEpochNumber).IsEnabled());
    EXPECT_FALSE(d.Item(Opt::kScreenWidth).IsEnabled());
    d.ClickButton(ui::IDCANCEL);
  });
}

TEST_F(DisplayOptionDialog, OkWritesEveryCheckAndTheTimeRadio) {
  EXPECT_EQ(Run([](ui::Dialog& d) {
              d.ClickButton(Opt::kTimeReal);
              for (int id : {Opt::kShowEvent, Opt::kShowStageHistory, Opt::kShowScreeningRaw, Opt::kShowLogicLine,
                             Opt::kHideSubjectName, Opt::kLineUpWithTrend})
                d.ClickButton(id);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(ClockTimeDisplay, 1);
  EXPECT_EQ(ShowEvent, 0u);
  EXPECT_EQ(ShowStageHistory, 1u);
  EXPECT_EQ(ShowStageName, 1u);
  EXPECT_EQ(DrawWhileScreening, 1);
  EXPECT_EQ(ShowMarkName, 1u);
  EXPECT_EQ(ShowLogicLine, 1u);
  EXPECT_EQ(ShowChannelName, 1u);
  EXPECT_EQ(HideSubjectName, 1u);
  EXPECT_EQ(LineUpWithTrend, 0u);
}

TEST_F(DisplayOptionDialog, MillimetresAreStoredOnlyAboveOneWhileActualSizeIsTicked) {
  struct Case {
    bool actualSize;
    const char* height;
    double expected;
  } cases[] = {
      {true, "1.0", 200.0}, {true, "", 200.0},     {true, "1.1", 1.1},     {true, "abc", 200.0},
      {true, "-5", 200.0},  {true, "250.5", 250.5}, {false, "250.5", 200.0}, {true, "inf", 200.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    ScreenHeightMm = 200.0;
    ScreenWidthMm = 300.0;
    DrawActualSize = 1;
    Run([&](ui::Dialog& d) {
      if (!c.actualSize) d.ClickButton(Opt::kDrawActualSize);
      d.SetDlgItemText(Opt::kScreenHeight, c.height);
      d.SetDlgItemText(Opt::kScreenWidth, "");
      d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(ScreenHeightMm, c.expected);
    EXPECT_EQ(ScreenWidthMm, 300.0);
    EXPECT_EQ(DrawActualSize, c.actualSize ? 1u : 0u);
  }
}

TEST_F(DisplayOptionDialog, EpochModeFollowsTheSwitchAndItsRadio) {
  struct Case {
    std::uint16_t before;
    bool untick;
    int radio;
    std::uint16_t expected;
  } cases[] = {
      {1, false, Opt::kEpochTime, 2}, {2, false, Opt::kEpochNumber, 1}, {2, true, Opt::kEpochTime, 0},
      {1, true, Opt::kEpochNumber, 0}, {2, false, 0, 2},
  };
  for (const Case& c : cases) {
    ShowEpochMode = c.before;
    Run([&](ui::Dialog& d) {
      if (c.radio != 0) d.ClickButton(c.radio);
      if (c.untick) d.ClickButton(Opt::kShowEpoch);
      d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(ShowEpochMode, c.expected) << c.before << " " << c.untick << " " << c.radio;
  }
  // Ticked from off with no radio chosen: epoch numbers.
  ShowEpochMode = 0;
  Run([](ui::Dialog& d) {
    d.ClickButton(Opt::kShowEpoch);
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(ShowEpochMode, 1);
}

class OperateWaveDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[2].name = "ECG";
    doc.ChInfo[0].gain = 2.0;
    doc.ChInfo[0].unit = "uV";
    doc.ChInfo[0].scaleMode = 1;
    doc.ChInfo[0].scaleValue = 50.0;
    doc.ChInfo[0].colour = 255;
    doc.ChInfo[1].show = 0;
    doc.ChInfo[1].scaleMode = 0;
    doc.ChInfo[1].displayTypeWords = {1, 2, 1, 0, 1, 0, 0};
  }
  int Run(std::function<void(ui::Dialog&)> script) {
    testhooks::ScriptDialog(Ow::kTemplateId, std::move(script));
    Ow dlg(&doc);
    return dlg.DoModal();
  }
};

TEST_F(OperateWaveDialog, TypeTextJoinsTheDisplayKinds) {
  struct Case {
    std::array<std::uint16_t, 7> words;
    const char* text;
  } cases[] = {
      {{1, 2, 1, 0, 1, 0, 0}, "Waveform,B LowerNumeric,"},
      {{1, 0, 0, 0, 0, 0, 0}, "Waveform,Center"},
      {{1, 1, 0, 1, 0, 0, 0}, "Waveform,UpperCharacter,"},
      {{0, 2, 1, 1, 1, 0, 0}, "Numeric,Character,"},
      {{0, 0, 0, 0, 0, 0, 0}, ""},
  };
  for (const Case& c : cases) {
    LyrChInfo ch;
    ch.displayTypeWords = c.words;
    EXPECT_EQ(Ow::TypeText(ch), c.text);
  }
}

TEST_F(OperateWaveDialog, RowsShowEveryChannel) {
  Run([](ui::Dialog& d) {
    ui::Control list = d.Item(Ow::kList);
    ASSERT_EQ(list.GetColumnCount(), 7);
    ASSERT_EQ(list.GetCount(), 3);
    const char* row0[] = {"  1", "EEG", "ON", "x2.0", "ON: 50.0 uV", "Waveform,Center", "255"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(list.GetItemText(0, c), row0[c]) << c;
    EXPECT_EQ(list.GetItemText(1, 2), "OFF");
    EXPECT_EQ(list.GetItemText(1, 4), "OFF");
    EXPECT_EQ(list.GetItemText(1, 5), "Waveform,B LowerNumeric,");
    EXPECT_EQ(list.GetItemText(2, 0), "  3");
    d.ClickButton(ui::IDOK);
  });
}

TEST_F(OperateWaveDialog, GainCancelledKeepsTheSelectionAndHandsItOver) {
  std::vector<std::uint16_t> handed;
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    handed = dynamic_cast<LyrRawDlgGainCh&>(d).ChangeMarks;
    d.ClickButton(ui::IDCANCEL);
  });
  Run([](ui::Dialog& d) {
    ui::Control list = d.Item(Ow::kList);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    d.ClickButton(Ow::kGainButton);
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(1));
    EXPECT_TRUE(list.IsSelected(2));
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(handed, (std::vector<std::uint16_t>{1, 0, 1}));
}

TEST_F(OperateWaveDialog, CancelPutsBackGainScaleAndTypeButNotShowOrColour) {
  // The sub-dialogs write the channel records themselves; here their scripts stand in.
  testhooks::ScriptDialog(LyrRawDlgGainCh::kTemplateId, [&](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgGainCh::kGainEdit, "4.0");
    doc.ChInfo[0].scaleValue = 20.0;
    doc.ChInfo[1].displayTypeWords = {0, 0, 1, 0, 0, 3, 2};
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(LyrRawDlgShowCh::kTemplateId, [&](ui::Dialog& d) {
    d.Item(LyrRawDlgShowCh::kList).SetSelected(1, true);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(LyrRawDlgColorCh::kTemplateId, [&](ui::Dialog& d) {
    doc.ChInfo[2].colour = 0x00FF00;
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(Run([](ui::Dialog& d) {
              ui::Control list = d.Item(Ow::kList);
              list.SetSelected(0, true);
              d.ClickButton(Ow::kGainButton);
              EXPECT_EQ(list.GetItemText(0, 3), "x4.0");
              EXPECT_EQ(list.GetItemText(1, 5), "Numeric,");
              EXPECT_TRUE(list.IsSelected(0));
              d.ClickButton(Ow::kShowButton);
              EXPECT_EQ(list.GetItemText(1, 2), "ON");
              d.ClickButton(Ow::kColorButton);
              EXPECT_EQ(list.GetItemText(2, 6), "65280");
              d.ClickButton(ui::IDCANCEL);
            }),
            ui::IDCANCEL);
  EXPECT_EQ(doc.ChInfo[0].gain, 2.0);
  EXPECT_EQ(doc.ChInfo[0].scaleValue, 50.0);
  EXPECT_EQ(doc.ChInfo[1].displayTypeWords, (std::array<std::uint16_t, 7>{1, 2, 1, 0, 1, 0, 0}));
  EXPECT_EQ(doc.ChInfo[1].show, 1);
  EXPECT_EQ(doc.ChInfo[2].colour, 0x00FF00u);
}

TEST_F(OperateWaveDialog, OkKeepsTheChangesAndNoChannelsGiveAnEmptyList) {
  testhooks::ScriptDialog(LyrRawDlgScaleCh::kTemplateId, [&](ui::Dialog& d) {
    d.Item(LyrRawDlgScaleCh::kList).SetSelected(1, true);
    d.CheckDlgButton(LyrRawDlgScaleCh::kShowScale, 1);
    d.SetDlgItemText(LyrRawDlgScaleCh::kValue, "50");
    d.ClickButton(ui::IDOK);
  });
  Run([](ui::Dialog& d) {
    d.ClickButton(Ow::kScaleButton);
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(doc.ChInfo[1].scaleMode, 1);

  doc.RecordInfo.channelCount = 0;
  Run([](ui::Dialog& d) {
    EXPECT_EQ(d.Item(Ow::kList).GetCount(), 0);
    d.ClickButton(Ow::kTypeButton);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST(DisplayDialogTemplates, BothLanguagesCarryTheSameControlsAndTexts) {
  for (int id : {Opt::kTemplateId, Ow::kTemplateId}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes));
  }
  for (std::uint32_t s = IDS_OW_COL_NO; s <= IDS_OW_CHARACTER; ++s) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

}  // namespace
