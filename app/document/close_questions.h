#pragma once
// The questions asked before a recording is closed or replaced, in their fixed
// order: changed calibration, unsaved results, edited video play ranges.
#include <cstdint>

// End codes of a question box.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// What the questions need from the windows: the boxes themselves and the two
// saves that a Yes starts.
class CloseQuestionHost {
 public:
  virtual ~CloseQuestionHost() = default;
  // Beeps with the question sound, then shows the string with Yes and No, or
  // Yes, No and Cancel; returns the answer's end code.
  virtual int AskQuestion(std::uint32_t stringId, bool withCancel) = 0;
  // Saves the results of the open recording. False when the user cancelled the
  // save or it failed: the results are then still unsaved.
  virtual bool SaveResults() = 0;
  // Saves the edited play ranges of the recording's video files.
  virtual void SaveEditedVideoRanges() = 0;
};

enum class CloseReason {
  Close,    // File > Close: No to the results question marks them clean
  Replace,  // another recording is opened: No goes on and leaves the mark alone
};

// Asks the questions that apply. calibrationChanged is cleared by No to the
// calibration question (Yes keeps it for the write that follows the close).
// Returns false when the close must not go on: Cancel to the results or video
// question, or a results save that was cancelled or failed.
bool AskBeforeClosingRecording(CloseQuestionHost& host, std::uint32_t& calibrationChanged, CloseReason reason);

// String ids of the questions.
inline constexpr std::uint32_t kIdsCalibrationChanged = 2336;
inline constexpr std::uint32_t kIdsSaveResults = 2309;
inline constexpr std::uint32_t kIdsVideoRangeEdited = 2393;
