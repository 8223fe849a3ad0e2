#pragma once
// Learning-sample files (.msf): the per-epoch features and final stages of a scored
// recording, with its experiment and subject data, from which staging rules are learned.
// One is written beside every result file while the learning-sample option is on.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/scoring/lyr_auto_staging.h"

constexpr std::size_t kLearningHeaderBytes = 824;
constexpr std::size_t kLearningNameBytes = 260;
constexpr std::size_t kLearningStageBytes = 4;
constexpr std::uint16_t kLearningFileVersion = 100;
constexpr int kLearningParameterCount = kLearningFeatureCount;

using LearningStageRecord = std::array<std::uint8_t, kLearningStageBytes>;
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

// --- Reading ---------------------------------------------------------------------------

// The header of a learning-sample file and the names of the files its writer's model was
// grown from.
struct LearningFileHeader {
  std::string recordingFileName;
  std::uint16_t version = 0;
  std::string day, no, service, engineer, doctor;  // experiment information
  std::uint16_t epochTime = 0;                     // seconds
  std::string name, id;                            // subject information
  std::int16_t age = 0;
  std::string sex;
  double height = 0.0, weight = 0.0;
  std::int16_t learningFileCount = 0;
  std::int16_t parameterCount = 0;
  std::array<std::string, kLearningParameterCount> parameterNames;
  LearningParametersUsed parameterUsed{};
  std::uint16_t stageType = 0;
  std::int16_t stageCount = 0;
  std::array<std::string, kStagingClassSlots> stageNames;
  std::int32_t epochCount = 0;
  std::vector<std::string> learningFiles;  // learningFileCount names
};

// The first epochs of a learning-sample file: their sample records and stage records (byte 3
// the stage code, bytes 0-2 the learning flags).
struct LearningSampleSet {
  LearningFileHeader header;
  std::vector<LearningSample> samples;
  std::vector<LearningStageRecord> stages;
};

enum class LearningFileStatus {
  Ok,
  Missing,          // no such file
  Unreadable,       // it cannot be opened or read
  NotLearningFile,  // its tag (or, for the lists, its version) is not a learning-sample file's
  Damaged,          // a count or class table that does not fit, or cut short
};

// Tag, header and learning-file names of the bytes of a file. A file is refused (Damaged)
// when its stage type is not 0-3, its stage count or class names are not those of the type,
// its parameter count is not 10, or a count is negative or needs more bytes than there are.
// The version is compared when `checkVersion` is set.
LearningFileStatus ParseLearningFileHeader(const std::string& file, bool checkVersion, LearningFileHeader* h);

// The same checks, and the first min(sampleLimit, EpochCount) sample and stage records.
LearningFileStatus ParseLearningSamples(const std::string& file, int sampleLimit, LearningSampleSet* out);

// The reader of the file lists: Ok, or a status with the message to show ("%s can't read or
// version incorrect. 2013" with the full path; empty for a file that cannot be opened, which is
// skipped without one).
LearningFileStatus ReadLearningFileHeader(const std::string& path, LearningFileHeader* h, std::string* message);

// The reader of the learning: Ok, or a status with its message ("Can't find msf File. : 3023"
// for a missing file, "Can't read msf File.: 3023" for any other failure).
LearningFileStatus ReadLearningSamples(const std::string& path, int sampleLimit, LearningSampleSet* out,
                                       std::string* message);

// The model record's feature count, present flags and names (used flags cleared), stage type,
// class count and class names, from a file's header.
void TakeLearningHeader(const LearningFileHeader& h, LyrStagingModel* model);
