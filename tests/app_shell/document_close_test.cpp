#include "app/frame/program_settings.h"
#include "app/frame/frame_globals.h"
#include "app_fixture.h"
#include "platform/ui/messages.h"

class DocumentClose : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    testhooks::Reset();
  }
  // A recording as far as closing it is concerned.
  void PretendLoaded() {
    DocumentLoaded = 1;
    Doc().RecordInfo.path = "/data/night.fyd";
    Doc().RecordInfo.channelCount = 4;
    Doc().CurrentEpoch = 12;
  }
  std::vector<std::uint32_t> BoxTypes() const {
    std::vector<std::uint32_t> types;
    for (const auto& box : testhooks::ShownMessageBoxes()) types.push_back(box.type);
    return types;
  }
};

TEST_F(DocumentClose, CloseWithNothingOpenAsksNothing) {
  ASSERT_TRUE(ui::ExecuteCommand(*app_->MainFrame(), ui::ID_FILE_NEW));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_TRUE(testhooks::Beeps().empty());
}

TEST_F(DocumentClose, AsksTheThreeQuestionsInOrderWithBeepsAndCloses) {
  PretendLoaded();
  Doc().CalibrationChanged = 1;
  ResultModifiedState = 2;
  VideoAttached = 1;
  testhooks::AnswerMessageBox(ui::IDNO);
  testhooks::AnswerMessageBox(ui::IDNO);
  testhooks::AnswerMessageBox(ui::IDNO);
  EXPECT_TRUE(Doc().OnNewDocument());
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "The calibration has changed. Save the change?",
                            "Save changes and open a new file?",
                            "The play range of movie files has been edited.\nWill you save the new play range?"}));
  EXPECT_EQ(BoxTypes(), (std::vector<std::uint32_t>{ui::MB_YESNO, ui::MB_YESNOCANCEL, ui::MB_YESNOCANCEL}));
  EXPECT_EQ(testhooks::Beeps(), (std::vector<std::uint32_t>{ui::MB_ICONQUESTION, ui::MB_ICONQUESTION, ui::MB_ICONQUESTION}));
  EXPECT_EQ(DocumentLoaded, 0);
  EXPECT_EQ(Doc().CalibrationChanged, 0u);
  EXPECT_EQ(ResultModifiedState, 0);
  EXPECT_EQ(Doc().PreviousPath, "/data/night.fyd");
  EXPECT_EQ(Doc().CurrentEpoch, 0);
  EXPECT_EQ(Doc().RecordInfo.channelCount, 0);
  EXPECT_EQ(Doc().PageEndEpoch, -1);
  EXPECT_EQ(Doc().ExperimentRecord[0], 1);
  EXPECT_EQ(Doc().ExperimentRecord[1], 0);
}

TEST_F(DocumentClose, CancelKeepsTheRecordingOpen) {
  PretendLoaded();
  ResultModifiedState = 2;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  EXPECT_FALSE(Doc().OnNewDocument());
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().CurrentEpoch, 12);
  EXPECT_EQ(ResultModifiedState, 2);
}

TEST_F(DocumentClose, ResultsThatCouldNotBeSavedStopTheClose) {
  PretendLoaded();
  Doc().CalibrationChanged = 1;
  ResultModifiedState = 2;
  VideoAttached = 1;
  testhooks::AnswerMessageBox(ui::IDNO);
  testhooks::AnswerMessageBox(ui::IDYES);
  EXPECT_FALSE(Doc().OnNewDocument());
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(ResultModifiedState, 2) << "the results are still there to be saved";
  EXPECT_EQ(Doc().CalibrationChanged, 0u);
}

TEST_F(DocumentClose, RunningScreeningForbidsClosingUnlessCtrlIsHeld) {
  PretendLoaded();
  ScreeningRunning = 1;
  EXPECT_FALSE(Doc().OnNewDocument());
  EXPECT_EQ(DocumentLoaded, 1);
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  EXPECT_TRUE(Doc().OnNewDocument());
  EXPECT_EQ(DocumentLoaded, 0);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST(DocumentReset, KeepsTheSettingsBlocksOnlyWhenAsked) {
  CQLM2_AnalyzerDoc doc;
  EXPECT_EQ(doc.Params.stageType.stageType, 0) << "a new document starts with a cleared stage-type block";
  EXPECT_EQ(doc.RecordInfo.sourceKind, 2);
  doc.Params.stageType.stageType = 2;
  StageTypeWords = {2, 1};
  doc.PageRows = 3;
  doc.ExperimentRecord[100] = 7;
  doc.ResetMember(1);
  EXPECT_EQ(doc.Params.stageType.stageType, 2);
  EXPECT_EQ(StageTypeWords[0], 2);
  EXPECT_EQ(doc.PageRows, 1);
  EXPECT_EQ(doc.ExperimentRecord[100], 0);
  EXPECT_EQ(doc.ExperimentRecord[0], 1);
  doc.ResetMember(0);
  EXPECT_EQ(doc.Params.stageType.stageType, 0);
  EXPECT_EQ(StageTypeWords[0], 0);
  EXPECT_EQ(StageTypeWords[1], 0);
}
