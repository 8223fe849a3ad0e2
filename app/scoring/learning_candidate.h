#pragma once
// A learning-sample file as the learning-file selection lists it (a candidate), or the open
// recording's own learning information (the raw data), with what the list needs to know.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"

struct LearningFileHeader;

struct LearningCandidate {
  std::string RecordingFileName;  // the recording named in the file (raw data: unused)
  std::string FileName;           // the .msf name without folder (raw data: the recording's)
  std::int32_t Similarity = -1;   // 0..100; -1 until computed
  std::string Day, No, Service, Engineer, Doctor;
  std::uint16_t EpochTime = 0;
  std::uint16_t StageType = 0;
  std::string Name, ID;
  std::int32_t Age = 0;
  std::string Sex;
  double Height = 0.0, Weight = 0.0;
  std::vector<std::string> LearningFileNames;
  std::int32_t Selected = 0;
  std::int32_t InLearning = 0;
  std::int32_t PreviousMark = 0;
};

// The twelve display items of the selection, in its order.
enum LearningItem : int {
  kLiDay, kLiNo, kLiService, kLiEngineer, kLiDoctor, kLiEpochTime, kLiName, kLiId, kLiSex, kLiHeight,
  kLiWeight, kLiAge, kLearningItemCount
};
using LearningItemFlags = std::array<std::int32_t, kLearningItemCount>;

LearningCandidate CandidateFromHeader(const LearningFileHeader& h, const std::string& fileName);
LearningCandidate CandidateFromInfo(const LyrLearningInfo& info, const std::string& recordingName);
// The learning information kept after the selection, from the raw-data record.
void InfoFromCandidate(const LearningCandidate& raw, LyrLearningInfo* info);
