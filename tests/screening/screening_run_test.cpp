// Screening runs of a generated night: the Screening window's two starts, the step timer,
// Pause and Stop, one result file per condition, and the start commands by id.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "app/frame/frame_globals.h"
#include "app/scoring/resp_event_recognition.h"
#include "platform/ui/command.h"
#include "screening_fixture.h"

namespace {

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace

TEST_F(ScreeningTest, StageParameterRunScreensPageByPageAndWritesItsResultFile) {
  LyrDlgScreening& dlg = OpenScreening();
  Doc().ScreeningConditions[0].resultPath = OutPath("night.raf");
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));

  EXPECT_EQ(ScreeningRunning, 1);
  EXPECT_EQ(ScreeningParameterOnly, 0);
  EXPECT_EQ(ScreeningIndex, 0);
  EXPECT_EQ(ResultSaveState, 2);
  EXPECT_FALSE(dlg.IsWindowVisible());
  ASSERT_NE(dlg.Progress(), nullptr);
  EXPECT_EQ(dlg.Progress()->GetDlgItemText(IDC_SCR_PROGRESS_TEXT), "1/1");
  EXPECT_EQ(Frame().TimerPeriod(kTimerScreeningStep), 0);
  EXPECT_EQ(Doc().LastScreenedEpoch, kPerPage - 1) << "the first page is screened when the run starts";

  // 29 ticks move to pages 2..30; the 30th finds the last page and finishes the recording.
  EXPECT_EQ(RunTimer(), 30);
  EXPECT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_EQ(ScreeningIndex, -1);
  EXPECT_TRUE(Exists(OutPath("night.raf")));
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "Screening complete.");
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.Progress(), nullptr);
  EXPECT_TRUE(dlg.Item(IDC_SCR_STAGE_PARAMETER).IsEnabled());
}

TEST_F(ScreeningTest, PauseReturnsToTheRememberedEpochAndStopKeepsWhatWasScreened) {
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  EXPECT_EQ(RunTimer(5), 5);
  const int epoch = Doc().CurrentEpoch;
  const int screened = Doc().LastScreenedEpoch;
  EXPECT_EQ(screened, 6 * kPerPage - 1);

  ASSERT_NE(dlg.Progress(), nullptr);
  ASSERT_TRUE(testhooks::ClickControl(*dlg.Progress(), IDC_SCR_PAUSE));
  EXPECT_EQ(ScreeningRunning, 2);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));

  Frame().JumpToEpoch(1, 1);
  ASSERT_EQ(Doc().CurrentEpoch, 1);
  ASSERT_TRUE(testhooks::ClickControl(*dlg.Progress(), IDC_SCR_PAUSE));
  EXPECT_EQ(Doc().CurrentEpoch, epoch);
  EXPECT_EQ(Doc().CurrentPage, epoch / kPerPage);
  EXPECT_EQ(ScreeningRunning, 1);
  EXPECT_TRUE(Frame().IsTimerArmed(kTimerScreeningStep));

  EXPECT_EQ(RunTimer(2), 2);
  EXPECT_EQ(Doc().LastScreenedEpoch, screened + 2 * kPerPage) << "the run goes on after the remembered page";

  ASSERT_TRUE(testhooks::ClickControl(*dlg.Progress(), IDC_SCR_STOP));
  testhooks::ProcessMessages();
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));
  EXPECT_EQ(Doc().LastScreenedEpoch, screened + 2 * kPerPage);
  EXPECT_EQ(ScreeningIndex, -1);
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.Progress(), nullptr);
}

TEST_F(ScreeningTest, BatchWritesOneFilePerConditionThatNamesOne) {
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_ADD));
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_ADD));
  ASSERT_EQ(Doc().ScreeningConditionCount, 3);
  Doc().ScreeningConditions[0].resultPath = OutPath("a.raf");
  Doc().ScreeningConditions[2].resultPath = OutPath("c.raf");

  // A staging run wants a file for every condition.
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  EXPECT_EQ(ScreeningRunning, 0);
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "Please designate a file name ");
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));

  // A parameter run takes one condition without a file; the later conditions stage.
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_PARAMETER));
  EXPECT_EQ(ScreeningParameterOnly, 1);
  EXPECT_EQ(RunTimer(), 3 * 30);
  EXPECT_EQ(ScreeningParameterOnly, 0);
  EXPECT_TRUE(Exists(OutPath("a.raf")));
  EXPECT_TRUE(Exists(OutPath("c.raf")));
  EXPECT_EQ(BoxTexts().back(), "Screening complete.");
  EXPECT_EQ(ScreeningIndex, -1);
  EXPECT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
}

// A start that fails leaves no run: ScreeningRunning back to 0, no step timer, and the
// Screening window shown with no progress window.
TEST_F(ScreeningTest, ParameterRunWhoseStartFailsLeavesNothingRunning) {
  Doc().LastScreenedEpoch = kEpochs - 1;  // screened to its end: continuing has nothing left
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ContinuationAllowed());
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_CONTINUATION));
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_PARAMETER));
  testhooks::ProcessMessages();
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_EQ(ScreeningIndex, -1);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.Progress(), nullptr);
  EXPECT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
}

TEST_F(ScreeningTest, StartCommandsArmTheTimerOnlyForARunThatStarted) {
  struct Case {
    std::uint32_t command;
    int failReloads;
    int running;
    bool armed;
    std::uint16_t parameterOnly;
  };
  for (const Case c : {Case{33012, 0, 1, true, 0}, Case{33013, 0, 1, true, 1}, Case{33012, 1, 0, false, 0},
                       Case{33013, 1, 0, false, 1}}) {
    SCOPED_TRACE(testing::Message() << c.command << " failing reloads " << c.failReloads);
    ScreeningRunning = 0;
    Frame().KillTimer(kTimerScreeningStep);
    Frame().JumpToEpoch(9, 1);
    Doc().LastScreenedEpoch = 20;
    Doc().PageReads.failNextReloads = c.failReloads;
    EXPECT_TRUE(ui::QueryCommandState(Frame(), c.command).IsEnabled());
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), c.command));
    EXPECT_EQ(ScreeningRunning, c.running);
    EXPECT_EQ(ScreeningParameterOnly, c.parameterOnly);
    EXPECT_EQ(Frame().IsTimerArmed(kTimerScreeningStep), c.armed);
    if (c.armed) {
      EXPECT_EQ(Doc().CurrentEpoch, 0) << "the commands start from the first epoch";
      EXPECT_EQ(Doc().LastScreenedEpoch, kPerPage - 1);
      const ui::CmdUI state = ui::QueryCommandState(Frame(), c.command);
      EXPECT_FALSE(state.IsEnabled());
      EXPECT_EQ(state.Checked(), 1);
    } else {
      EXPECT_EQ(Doc().CurrentEpoch, 9) << "a failed start keeps the position";
    }
  }
  ScreeningRunning = 0;
}

TEST_F(ScreeningTest, ResumeAfterTheLastEpochStartsNothing) {
  Frame().JumpToEpoch(7, 1);
  Doc().LastScreenedEpoch = kEpochs - 1;
  EXPECT_EQ(Frame().StartScreening(1), 0);
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_EQ(Doc().CurrentEpoch, 7);
  Doc().LastScreenedEpoch = 11;
  EXPECT_EQ(Frame().StartScreening(1), 1);
  EXPECT_EQ(Doc().CurrentEpoch, 12);
  EXPECT_EQ(Doc().CurrentPage, 3);
  ScreeningRunning = 0;
}

// The end of a run recognises the respiratory events from the values its pages collected:
// the night's apneas are found, and nothing is marked outside them.
TEST_F(ScreeningTest, RunEndRecognisesTheNightsApneasFromItsPages) {
  SleepDstrbParam& s = Doc().Params.sleepDstrb;
  s.airFlow.channel = 6;
  s.chest.channel = 7;
  s.abdomen.channel = 8;
  for (auto* r : {&s.airFlow, &s.chest, &s.abdomen}) r->values[kRespFullScale] = 400.0;
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  RunTimer();

  std::vector<std::pair<double, double>> apneas;
  std::ifstream in(samples::CompanionPath(*night_, ".events"));
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    double onset = 0, duration = 0;
    std::string type;
    if (fields >> onset >> duration >> type && type == "apnea") apneas.emplace_back(onset, onset + duration);
  }
  ASSERT_FALSE(apneas.empty());
  const std::vector<std::uint8_t>& events = Doc().RecognitionTables.RespRcgnz();
  ASSERT_EQ(events.size(), static_cast<std::size_t>(kEpochs) * 120);
  int inside = 0;
  for (std::size_t p = 0; p < events.size(); ++p) {
    if (events[p] == 0) continue;
    const double t = static_cast<double>(p) * 0.25;
    bool near = false;
    for (const auto& [from, to] : apneas) near = near || (t >= from && t <= to);
    EXPECT_TRUE(near) << "event " << int(events[p]) << " at " << t << " s";
    inside += near ? 1 : 0;
  }
  EXPECT_GT(inside, 0) << "no apnea found";
}

// The default conditions over a night whose detectors are set on its EEG, EOG and EMG
// channels: every epoch of the analysed range gets a stage, and screening again (after the
// question that throws the first results away) gives the same stages.
TEST_F(ScreeningTest, DefaultConditionsStageEveryEpochAndASecondRunGivesTheSameStages) {
  WaveFormRecognitionParam& w = Doc().Params.waveForm;
  for (auto& band : w.bands) band.channel = 0;
  w.kComplex.channel = 0;
  w.eogLeft.channel = 2;
  w.eogRight.channel = 3;
  w.emgChannel = 4;
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  RunTimer();
  std::vector<int> first;
  for (int e = 0; e < kEpochs; ++e) {
    first.push_back(Doc().EpochTables.GetStage(0, e, 0));
    EXPECT_NE(first.back() % 20, 0) << "epoch " << e << " not staged";
  }
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text,
            "The screening condition was changed. The analysis result will be initialized. Continue?");
  RunTimer();
  for (int e = 0; e < kEpochs; ++e) EXPECT_EQ(Doc().EpochTables.GetStage(0, e, 0), first[static_cast<std::size_t>(e)]) << e;
}
