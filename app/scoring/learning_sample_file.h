#pragma once
// Learning-sample files (.msf): the per-epoch features and final stages of a scored
// recording, with its experiment and subject data, from which staging rules are learned.
// One is written beside every result file while the learning-sample option is on.
#include <array>
#include <cstdint>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/scoring/lyr_auto_staging.h"

constexpr std::size_t kLearningHeaderBytes = 824;
constexpr std::size_t kLearningSampleBytes = 36;
constexpr std::uint16_t kLearningFileVersion = 100;
constexpr int kLearningParameterCount = 10;

using LearningSample = std::array<std::uint8_t, kLearningSampleBytes>;
using LearningParametersUsed = std::array<std::uint16_t, kLearningParameterCount>;

// Which of the ten features the wave-form recognition settings can give (a channel assigned
// to the wave type; the eye-movement count with either eye channel).
LearningParametersUsed GetLearningParametersUsed(const WaveFormRecognitionParam& waveForm);

// The 36-byte sample record of an epoch: times as percentages of the epoch, counts, the EMG
// integral; features not used are 0.
LearningSample BuildLearningSample(const LyrEpochRec& rec, int epochSeconds, const LearningParametersUsed& used);

// What the file is made of.
struct LearningSampleSource {
  const std::string& recordingPath;  // the open recording
  LyrEpochParameter& epochs;
  const WaveFormRecognitionParam& waveForm;
  std::uint16_t stageType = 0;       // 0 .. 3
  const LyrAutoStaging& staging;     // learning information and the held model's files
  int epochSeconds = 30;
};

// The whole file for epochs first..last (inclusive); false when the range does not fit.
bool BuildLearningSampleFile(const LearningSampleSource& src, int first, int last, std::string* out);

// Where the file of a result file goes: the model folder (the program's folder when none is
// known), named after the result file.
std::string LearningSamplePath(const std::string& modelFolder, const std::string& resultPath);

// Writes the file for a result path and epoch range; an earlier file of that name is
// replaced only by a complete new one. 1, or 0 when it could not be written.
int WriteLearningSampleFile(const LearningSampleSource& src, const std::string& resultPath, int first, int last);
