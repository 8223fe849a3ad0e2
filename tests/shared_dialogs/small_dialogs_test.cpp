// Calibration, small shared dialogs and the detected wave list driven by control id.
#include <cstdio>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>

#include "app/document/seizure_finding.h"
#include "app/frame/lyr_dlg_calibration.h"
#include "app/frame/lyr_dlg_detect_list.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "dialog_fixture.h"

namespace {

using SmallDialogs = DialogTest;

void Click(ui::Dialog& d, int listId) {
  ui::NotifyHeader h{listId, ui::NM_CLICK};
  d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

void SetCalibration(LyrChInfo& ch, std::uint16_t on, std::uint16_t top, std::uint16_t bottom, double tv, double bv) {
  ch.calibration.fullScale = 5.0;
  ch.calibration.calibrated = on;
  ch.calibration.topSample = top;
  ch.calibration.bottomSample = bottom;
  ch.calibration.topValue = tv;
  ch.calibration.bottomValue = bv;
  ch.unitsPerCm = 50.0;
}

TEST_F(SmallDialogs, CalibrationApplyCheckAndCancel) {
  SetCalibration(doc.ChInfo[0], 1, 49152, 16384, 100.0, -100.0);
  SetCalibration(doc.ChInfo[1], 0, 40000, 30000, 10.0, 0.0);
  testhooks::ScriptDialog(IDD_CALIBRATION, [&](ui::Dialog& d) {
    ui::Control list = d.Item(IDC_CAL_LIST);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 0), "  1");
    EXPECT_EQ(list.GetItemText(0, 2), "ON");
    EXPECT_EQ(list.GetItemText(0, 3), "2.50000");
    EXPECT_EQ(list.GetItemText(0, 6), "-100.0000");
    EXPECT_EQ(d.GetDlgItemText(IDC_CAL_UPPER_VOLTS), "2.500");
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_CAL_ON), 1);
    // Two rows: the value fields empty; OFF alone keeps each channel's values.
    list.SetSelected(1, true);
    Click(d, IDC_CAL_LIST);
    EXPECT_EQ(d.GetDlgItemText(IDC_CAL_UPPER_VOLTS), "");
    d.ClickButton(IDC_CAL_OFF);
    EXPECT_FALSE(d.Item(IDC_CAL_UPPER_VOLTS).IsEnabled());
    EXPECT_TRUE(d.Item(IDC_CAL_SENSITIVITY).IsEnabled());
    d.ClickButton(IDC_CAL_APPLY);
    EXPECT_EQ(doc.ChInfo[0].calibration.calibrated, 0);
    EXPECT_EQ(doc.ChInfo[0].calibration.topSample, 49152);
    EXPECT_EQ(doc.ChInfo[1].calibration.topValue, 10.0);
    EXPECT_EQ(list.GetItemText(0, 2), "OFF");
    // One row switched on with equal calibration values: named, and OK stays.
    list.SetSelected(0, false);
    Click(d, IDC_CAL_LIST);
    d.ClickButton(IDC_CAL_ON);
    d.SetDlgItemText(IDC_CAL_UPPER_VALUE, "0");
    d.SetDlgItemText(IDC_CAL_SENSITIVITY, "0");
    d.SetDlgItemText(IDC_CAL_UPPER_VOLTS, "7");
    d.ClickButton(ui::IDOK);
    EXPECT_FALSE(d.IsEnded());
    EXPECT_EQ(doc.ChInfo[1].calibration.topSample, 65535);
    EXPECT_EQ(doc.ChInfo[1].unitsPerCm, 0.01);
    d.ClickButton(ui::IDCANCEL);
  });
  LyrDlgCalibration dlg(&doc);
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There is a contradiction in EMG. ");
  // Cancel restored every channel.
  EXPECT_EQ(doc.ChInfo[0].calibration.calibrated, 1);
  EXPECT_EQ(doc.ChInfo[1].calibration.topSample, 40000);
  EXPECT_EQ(doc.ChInfo[1].unitsPerCm, 50.0);
  EXPECT_EQ(doc.CalibrationChanged, 0u);

  // OK with a consistent result marks the calibration as changed.
  testhooks::ScriptDialog(IDD_CALIBRATION, [&](ui::Dialog& d) {
    d.SetDlgItemText(IDC_CAL_UPPER_VOLTS, "1.25");
    d.ClickButton(ui::IDOK);
  });
  LyrDlgCalibration ok(&doc);
  EXPECT_EQ(ok.DoModal(), ui::IDOK);
  EXPECT_EQ(doc.ChInfo[0].calibration.topSample, 40960);
  EXPECT_EQ(doc.CalibrationChanged, 1u);
}

TEST_F(SmallDialogs, EpochJumpRefusesOutOfRange) {
  doc.CurrentEpoch = 17;
  testhooks::ScriptDialog(IDD_EPOCH_JUMP, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(IDC_EJ_EPOCH), "17");
    for (const char* bad : {"-1", "3600"}) {
      d.SetDlgItemText(IDC_EJ_EPOCH, bad);
      d.ClickButton(ui::IDOK);
      EXPECT_FALSE(d.IsEnded()) << bad;
    }
    d.SetDlgItemText(IDC_EJ_EPOCH, "3599");
    d.ClickButton(ui::IDOK);
  });
  LyrDlgEpochJump dlg(&doc);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.m_Epoch, 3599);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Invalid Epoch");
}

TEST_F(SmallDialogs, SelectChannelsKeepsOneRate) {
  doc.RecordInfo.channelCount = 3;
  doc.ChInfo[2].name = "EOG";
  doc.ChInfo[2].rate = 100;
  testhooks::ScriptDialog(IDD_SELECT_CHANNELS, [](ui::Dialog& d) {
    ui::Control list = d.Item(IDC_SC_LIST);
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1}));
    EXPECT_EQ(list.GetItemText(1, 2), "200");
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    Click(d, IDC_SC_LIST);
    EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 2}));
    d.ClickButton(ui::IDOK);
  });
  LyrDlgSelectChannels dlg(&doc);
  dlg.m_Flags[1] = 1;
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.m_Flags[0], 1);
  EXPECT_EQ(dlg.m_Flags[1], 0);
  EXPECT_EQ(dlg.m_Flags[2], 1);
}

TEST_F(SmallDialogs, StageChangeOffersTheTypesStages) {
  doc.Params.stageType.stageType = 3;
  doc.Params.stageType.sharedInUse = 2;
  doc.Params.logicOption.stageA = 7;
  doc.Params.logicOption.stageB = 9;
  doc.Params.logicOption.stageC = 5;  // not offered for type 3
  testhooks::ScriptDialog(IDD_STAGE_CHANGE, [](ui::Dialog& d) {
    ui::Control first = d.Item(IDC_STC_FIRST);
    EXPECT_EQ(first.GetCount(), 6);
    EXPECT_EQ(first.GetCurSel(), 3);
    EXPECT_EQ(d.Item(IDC_STC_SECOND).GetCurSel(), 5);
    EXPECT_EQ(d.Item(IDC_STC_THIRD).GetCurSel(), -1);
    first.SetCurSel(4);
    d.ClickButton(ui::IDOK);
  });
  LyrDlgStageChange dlg(&doc);
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(doc.Params.logicOption.stageA, 8);
  EXPECT_EQ(doc.Params.logicOption.stageB, 9);
  EXPECT_EQ(doc.Params.logicOption.stageC, 5);
}

TEST_F(SmallDialogs, SetDoseTimeByTimeOrEvent) {
  doc.EventNames = {"Lights off", "Dose"};
  doc.EventRate = 10;
  doc.Events = {{1, 36005}, {7, 72000}};  // an event type outside the table has no name
  auto run = [&](std::function<void(ui::Dialog&)> script, int useLatency = 1) {
    testhooks::ScriptDialog(IDD_SET_DOSE_TIME, std::move(script));
    LyrDlgSetDoseTime dlg(&doc);
    dlg.m_DoseDateTime = {2021, 1, 30, 23, 0, 0};
    dlg.m_DoseTime = -5;
    dlg.m_UseDoseLatency = useLatency;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    return dlg.m_DoseTime;
  };
  // Real time: the panel opens on the dose (an hour after the start) and gives its seconds.
  EXPECT_EQ(run([](ui::Dialog& d) {
              ui::Control list = d.Item(IDC_DOSE_EVENTS);
              EXPECT_FALSE(list.IsVisible());
              ASSERT_EQ(list.GetCount(), 2);
              EXPECT_EQ(list.GetItemText(0, 1), "Dose");
              EXPECT_EQ(list.GetItemText(1, 1), "");
              EXPECT_EQ(list.GetItemText(0, 0), "30/01/2021  23:00:00.500");  // clock labels carry the date
              d.ClickButton(ui::IDOK);
            }),
            3600);
  // Event: no selection is refused; the selected event's position in whole seconds.
  EXPECT_EQ(run([](ui::Dialog& d) {
              d.ClickButton(IDC_DOSE_EVENT);
              EXPECT_TRUE(d.Item(IDC_DOSE_EVENTS).IsVisible());
              d.ClickButton(ui::IDOK);
              EXPECT_FALSE(d.IsEnded());
              d.Item(IDC_DOSE_EVENTS).SetSelected(0, true);
              d.ClickButton(ui::IDOK);
            }),
            3600);
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "Select event.");
  // Without the dose latency the dose time stays as it was.
  EXPECT_EQ(run([](ui::Dialog& d) {
              EXPECT_FALSE(d.Item(IDC_DOSE_EVENT).IsEnabled());
              d.ClickButton(ui::IDOK);
            }, 0),
            3600) << "opening takes the dose date-time; only the choice is skipped";
}

TEST_F(SmallDialogs, DetectedWaveListFindJumpAndOutput) {
  ClockTimeDisplay = 0;
  SeizureMarks.assign(1800, 0);  // 180 s
  for (int i = 300; i < 303; ++i) SeizureMarks[static_cast<std::size_t>(i)] = 1;
  for (int i = 1795; i < 1800; ++i) SeizureMarks[static_cast<std::size_t>(i)] = 1;  // runs to the end
  LyrDlgDetectList d(&doc);
  std::vector<std::int32_t> jumps;
  d.m_JumpToEpoch = [&](std::int32_t e) { jumps.push_back(e); };
  ASSERT_TRUE(d.CreateModeless());
  d.SetDlgItemText(IDC_DL_DIVISION, "0");
  d.EndPanel()->SetSeconds(180);
  d.ClickButton(IDC_DL_FIND);
  EXPECT_EQ(d.GetDlgItemText(IDC_DL_DIVISION), "1");
  EXPECT_EQ(TimeDivisionMinutes, 1);
  ui::Control list = d.Item(IDC_DL_LIST);
  ASSERT_EQ(list.GetCount(), 4);
  EXPECT_EQ(list.GetItemText(0, 0), "01.00:00:30.000");  // elapsed days count from 01
  EXPECT_EQ(list.GetItemText(0, 3), "0.3");
  EXPECT_EQ(list.GetItemText(1, 0), "*****");
  EXPECT_EQ(list.GetItemText(2, 0), "*****");
  EXPECT_EQ(list.GetItemText(3, 1), "5");
  EXPECT_EQ(list.GetItemText(3, 2), "59.5");

  list.SetSelected(3, true);
  Click(d, IDC_DL_LIST);
  list.SetSelected(3, false);
  list.SetSelected(1, true);
  Click(d, IDC_DL_LIST);  // a division row jumps nowhere
  EXPECT_EQ(jumps, (std::vector<std::int32_t>{5}));

  testhooks::TempProgramFolder dir;
  const std::string path = dir.Path() + "/waves.txt";
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  d.ClickButton(IDC_DL_OUTPUT);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str().substr(0, 62), "Time\tEpochNo.\tLatency(sec.)\tDuration(sec.)\n01.00:00:30.000\t1\t3");
  EXPECT_NE(text.str().find("01.00:02:59.500\t5\t59.5\t0.5\nTotal number\t1\n"), std::string::npos);
  EXPECT_FALSE(d.WriteList(dir.Path() + "/no/such/folder/x.txt"));
  SeizureMarks.clear();
}

}  // namespace
