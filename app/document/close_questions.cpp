#include "app/document/close_questions.h"

#include "app/frame/frame_globals.h"

bool AskBeforeClosingRecording(CloseQuestionHost& host, std::uint32_t& calibrationChanged, CloseReason reason) {
  if (calibrationChanged != 0) {
    if (host.AskQuestion(kIdsCalibrationChanged, false) == kAnswerNo) calibrationChanged = 0;
  }
  if (ResultModifiedState == 2) {
    const int answer = host.AskQuestion(kIdsSaveResults, true);
    if (answer == kAnswerCancel) return false;
    if (answer == kAnswerYes) {
      // Going on after a save that did not happen would throw the results away.
      if (!host.SaveResults()) return false;
    } else if (reason == CloseReason::Close) {
      ResultModifiedState = 0;
    }
  }
  if (VideoAttached != 0) {
    const int answer = host.AskQuestion(kIdsVideoRangeEdited, true);
    if (answer == kAnswerCancel) return false;
    if (answer == kAnswerYes) host.SaveEditedVideoRanges();
  }
  return true;
}
