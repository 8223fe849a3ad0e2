#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "app/document/close_questions.h"
#include "app/frame/frame_globals.h"

namespace {

// Answers the questions from a script and records what was asked.
class ScriptedHost : public CloseQuestionHost {
 public:
  std::deque<int> answers;
  std::vector<std::uint32_t> asked;
  std::vector<bool> withCancel;
  bool saveSucceeds = true;
  int resultSaves = 0;
  int rangeSaves = 0;

  int AskQuestion(std::uint32_t id, bool cancel) override {
    asked.push_back(id);
    withCancel.push_back(cancel);
    if (answers.empty()) return kAnswerCancel;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  bool SaveResults() override {
    ++resultSaves;
    return saveSucceeds;
  }
  void SaveEditedVideoRanges() override { ++rangeSaves; }
};

class CloseQuestions : public testing::Test {
 protected:
  void SetUp() override {
    ResultModifiedState = 0;
    VideoAttached = 0;
  }
  void TearDown() override { SetUp(); }
  ScriptedHost host;
  std::uint32_t calibration = 0;
};

TEST_F(CloseQuestions, NothingChangedAsksNothing) {
  EXPECT_TRUE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_TRUE(host.asked.empty());
}

TEST_F(CloseQuestions, AllThreeAreAskedInOrderWithTheirButtons) {
  calibration = 1;
  ResultModifiedState = 2;
  VideoAttached = 1;
  host.answers = {kAnswerNo, kAnswerYes, kAnswerYes};
  EXPECT_TRUE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(host.asked, (std::vector<std::uint32_t>{2336, 2309, 2393}));
  EXPECT_EQ(host.withCancel, (std::vector<bool>{false, true, true}));
  EXPECT_EQ(calibration, 0u) << "No discards the calibration change";
  EXPECT_EQ(host.resultSaves, 1);
  EXPECT_EQ(host.rangeSaves, 1);
}

TEST_F(CloseQuestions, YesToCalibrationKeepsItForTheWrite) {
  calibration = 1;
  host.answers = {kAnswerYes};
  EXPECT_TRUE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(calibration, 1u);
}

TEST_F(CloseQuestions, CancelStopsBeforeLaterQuestions) {
  ResultModifiedState = 2;
  VideoAttached = 1;
  host.answers = {kAnswerCancel};
  EXPECT_FALSE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(ResultModifiedState, 2);

  host.asked.clear();
  host.answers = {kAnswerNo, kAnswerCancel};
  EXPECT_FALSE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(host.asked, (std::vector<std::uint32_t>{2309, 2393}));
  EXPECT_EQ(host.rangeSaves, 0);
}

TEST_F(CloseQuestions, NoToResultsMarksThemCleanOnlyWhenClosing) {
  ResultModifiedState = 2;
  host.answers = {kAnswerNo};
  EXPECT_TRUE(AskBeforeClosingRecording(host, calibration, CloseReason::Replace));
  EXPECT_EQ(ResultModifiedState, 2);
  host.answers = {kAnswerNo};
  EXPECT_TRUE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(ResultModifiedState, 0);
  EXPECT_EQ(host.resultSaves, 0);
}

TEST_F(CloseQuestions, ResultsSaveThatDoesNotHappenStopsTheClose) {
  ResultModifiedState = 2;
  VideoAttached = 1;
  host.saveSucceeds = false;
  host.answers = {kAnswerYes, kAnswerNo};
  EXPECT_FALSE(AskBeforeClosingRecording(host, calibration, CloseReason::Close));
  EXPECT_EQ(host.resultSaves, 1);
  EXPECT_EQ(host.asked.size(), 1u) << "nothing more is asked once the close has stopped";
  EXPECT_EQ(ResultModifiedState, 2);
}

}  // namespace
