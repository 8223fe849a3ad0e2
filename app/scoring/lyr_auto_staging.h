#pragma once
// The document's automatic-staging member: the learning settings read from ML.ini beside the
// program, the learning-information record of the open recording, and the learned model's
// trees (one per learning-sample file it was grown from).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Experiment and subject data of the open recording as the learning keeps them (19 characters
// at most per text), with the epoch time and the stage type of the recording.
struct LyrLearningInfo {
  std::string day, no, service, engineer, doctor;  // experiment information
  std::string name, id, sex;                       // subject information
  std::int32_t age = 0;
  double height = 0.0, weight = 0.0;
  std::uint16_t epochTime = 0;
  std::uint16_t stageType = 0;  // mapping of learned classes to stage codes
};

// One learned decision tree; the learning itself fills the rest of it.
struct LyrStagingModel {
  std::string fileName;  // learning-sample file within the model folder
};

// The classifier's input for one epoch: each value is 0 when its wave detection has no
// channel.
struct StagingFeatureRecord {
  float alphaPercent = 0.0f;
  std::uint16_t spindleCount = 0;
  float thetaPercent = 0.0f;
  float deltaPercent = 0.0f;
  std::uint16_t remsCount = 0;
  std::uint16_t kComplexCount = 0;
  float emgIntegral = 0.0f;
  float band1Percent = 0.0f;
  float band2Percent = 0.0f;
  float band3Percent = 0.0f;
};

class LyrAutoStaging {
 public:
  virtual ~LyrAutoStaging() = default;

  // Reads ML.ini beside the program: 1 when it was read and every parameter is valid, else 0
  // after a message. "current" as the folder stands for the program's own folder.
  int ReadLearningIni();
  // Frees the held model; returns 1.
  int FreeModel();
  // Stage code of the epoch the record describes; 0 while no classifier is held.
  virtual std::uint8_t StageEpoch(const StagingFeatureRecord& record) const {
    (void)record;
    return 0;
  }

  // Number of trees of the held model (0: none held) and their learning-sample file names.
  int TreeCount() const { return static_cast<int>(models_.size()); }
  const std::vector<LyrStagingModel>& Models() const { return models_; }
  void SetModels(std::vector<LyrStagingModel> models) { models_ = std::move(models); }

  const std::string& ModelFolder() const { return modelFolder_; }
  void SetModelFolder(std::string folder) { modelFolder_ = std::move(folder); }
  LyrLearningInfo& LearningInfo() { return info_; }
  const LyrLearningInfo& LearningInfo() const { return info_; }

  // Working parameters of the settings file.
  double cumulativeThreshold = 0.0;
  std::int32_t selectionLimit = 0;
  std::int32_t pathTableSize = 0;
  std::int32_t sampleLimit = 0;
  std::int32_t cutPointLimit = 0;
  double significanceLevel = 0.0;
  double confidenceFactor = 0.0;

  // Where messages go (message boxes unless a test replaces it).
  static std::function<void(const std::string&)>& MessageSink();

 private:
  std::string modelFolder_;
  LyrLearningInfo info_;
  std::vector<LyrStagingModel> models_;
};
