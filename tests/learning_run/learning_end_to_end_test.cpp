// From the Screening dialog's "Learning" button to a learned model: a generated night is
// screened in learning mode, set to its true hypnogram as a scorer would and saved as a
// learning-sample file in the model folder; "Learning" opens the selection (491), the file is
// chosen and learned (490), "Learning Complete!" is told, and the next screening stages every
// epoch by the learned tree.
#include <fstream>
#include <set>

#include "app/frame/frame_globals.h"
#include "app/scoring/epoch_staging_step.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "app/scoring/lyr_dlg_select_learning_file.h"
#include "platform/system/file_io.h"
#include "tests/screening/screening_fixture.h"
#include "tests/support/human_night_detectors.h"

namespace {

class LearningEndToEnd : public ScreeningTest {
 protected:
  void Screen(LyrDlgScreening& dlg, const std::string& result) {
    ScreeningCondition& condition = Doc().ScreeningConditions[0];
    condition.resultPath = OutPath(result);
    condition.waveform = Doc().Params.waveForm;
    condition.logicOption.lastStageMode = 0;
    ASSERT_TRUE(dlg.ClickButton(IDC_SCR_STAGE_PARAMETER));
    RunTimer();
    ASSERT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
  }
};

TEST_F(LearningEndToEnd, LearningFromAScoredNightStagesTheNextScreening) {
  CQLM2_AnalyzerDoc& doc = Doc();
  AssignHumanNightDetectors(doc.Params);
  doc.Params.stageType.stageType = 0;
  doc.Params.logicOption.lastStageMode = 0;
  LearningSampleMode = 1;
  LyrDlgScreening& dlg = OpenScreening();
  Screen(dlg, "first.raf");

  // The scorer's hypnogram, saved as a learning-sample file of the model folder.
  std::vector<int> truth;
  std::ifstream in(samples::CompanionPath(*night_, ".stages"));
  for (int s = 0; in >> s;) truth.push_back(s);
  ASSERT_GE(static_cast<int>(truth.size()), kEpochs);
  for (int e = 0; e < kEpochs; ++e) doc.EpochTables.SetStage(e, static_cast<std::uint8_t>(truth[static_cast<std::size_t>(e)]));
  const std::string modelFolder = folder_->Path();
  const LearningSampleSource src{doc.RecordInfo.path, doc.EpochTables, doc.Params.waveForm, 0, doc.AutoStaging, 30};
  std::string file;
  ASSERT_TRUE(BuildLearningSampleFile(src, 0, kEpochs - 1, &file));
  ASSERT_TRUE(sys::WriteFileAtomic(modelFolder + "/scored.msf", file));

  testhooks::Reset();
  testhooks::ScriptDialog(LyrDlgSelectLearningFile::kTemplateId, [](ui::Dialog& d) {
    auto& select = dynamic_cast<LyrDlgSelectLearningFile&>(d);
    ui::Control candidates = select.Item(LyrDlgSelectLearningFile::IDC_CANDIDATES);
    // The screening wrote its own learning-sample file (first.MSF, unscored) beside it.
    ASSERT_EQ(candidates.GetCount(), 2);
    for (int r = 0; r < 2; ++r)
      if (candidates.GetItemText(r, 1) == "scored.msf") candidates.SetSelected(r, true);
    ASSERT_TRUE(select.ClickButton(LyrDlgSelectLearningFile::IDC_SELECT));
    select.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(LyrDlgLearning::kTemplateId, [](ui::Dialog& d) { d.ClickButton(ui::IDOK); });
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_LEARNING));
  EXPECT_EQ(testhooks::ShownDialogs(), (std::vector<int>{LyrDlgSelectLearningFile::kTemplateId, LyrDlgLearning::kTemplateId}));
  std::vector<std::string> boxes;
  for (const auto& b : testhooks::ShownMessageBoxes()) boxes.push_back(b.text);
  EXPECT_EQ(boxes, std::vector<std::string>{"Learning Complete!"});
  ASSERT_EQ(doc.AutoStaging.TreeCount(), 1);
  const LyrStagingModel& model = doc.AutoStaging.Models()[0];
  EXPECT_EQ(model.fileName, "scored.msf");
  ASSERT_TRUE(model.topNode);
  EXPECT_GE(model.usedAxisCount, 1);

  // The screened results give way to the new run.
  testhooks::AnswerMessageBox(ui::IDOK);
  Screen(dlg, "second.raf");
  std::set<int> stages;
  int agree = 0;
  for (int e = 0; e < kEpochs; ++e) {
    const std::uint8_t stage = doc.EpochTables.Record(e)->stage[0] % 20;
    EXPECT_EQ(stage, doc.AutoStaging.StageEpoch(BuildStagingSample(doc, e, 30))) << "epoch " << e;
    EXPECT_EQ(stage, doc.EpochTables.EpochFlags(e)[2]) << "epoch " << e << " was staged by the run";
    stages.insert(stage);
    agree += stage == truth[static_cast<std::size_t>(e)] ? 1 : 0;
  }
  EXPECT_GE(stages.size(), 2u);
  EXPECT_EQ(stages.count(0), 0u);
  // The night the tree was grown from is staged mostly as scored.
  EXPECT_GE(agree, kEpochs * 3 / 4) << agree << " of " << kEpochs;
}

}  // namespace

namespace {

class LearningSwitch : public AppTest {};

TEST_F(LearningSwitch, ShowsTheLearningControlsOfTheScreeningSetUp) {
  ASSERT_TRUE(Start({"/Learning"}));
  EXPECT_EQ(LearningSampleMode, 2);
  Frame().OnScreening();
  ASSERT_NE(Frame().ScreeningDlg, nullptr);
  LyrDlgScreening& dlg = *Frame().ScreeningDlg;
  EXPECT_TRUE(dlg.Item(IDC_SCR_LEARNING_CHECK).IsVisible());
  EXPECT_FALSE(dlg.Item(IDC_SCR_LEARNING).IsEnabled());
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_LEARNING_CHECK));
  EXPECT_EQ(LearningSampleMode, 1);
  EXPECT_TRUE(dlg.Item(IDC_SCR_LEARNING).IsEnabled());
  Frame().CloseScreeningSettingDlgs();
  testhooks::ProcessMessages();
  LearningSampleMode = 0;
}

}  // namespace
