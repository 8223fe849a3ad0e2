#include "app/scoring/learning_sample_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

#include "app/document/byte_image.h"
#include "app/scoring/learned_staging_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"

namespace {

constexpr std::array<const char*, kLearningParameterCount> kParameterNames = {
    "AlphaTime", "SpindleCnt", "ThetaTime", "DeltaTime", "RemsCnt",
    "KcompCnt",  "EmgInteg",   "Band1Time", "Band2Time", "Band3Time"};


float Percent(float ms, int epochSeconds) {
  return static_cast<float>(static_cast<double>(ms) * 100.0 / (epochSeconds * 1000.0));
}

}  // namespace

LearningParametersUsed GetLearningParametersUsed(const WaveFormRecognitionParam& w) {
  using B = WaveFormRecognitionParam;
  auto on = [](std::int32_t channel) -> std::uint16_t { return channel != -1 ? 1 : 0; };
  return {on(w.bands[B::kAlpha].channel),
          on(w.bands[B::kSpindle].channel),
          on(w.bands[B::kTheta].channel),
          on(w.bands[B::kDelta].channel),
          static_cast<std::uint16_t>(w.eogRight.channel != -1 || w.eogLeft.channel != -1),
          on(w.kComplex.channel),
          on(w.emgChannel),
          on(w.bands[B::kBand1].channel),
          on(w.bands[B::kBand2].channel),
          on(w.bands[B::kBand3].channel)};
}

LearningSample BuildLearningSample(const LyrEpochRec& rec, int epochSeconds, const LearningParametersUsed& used) {
  LearningSample s{};
  const bytes::Span b(s);
  const int e = epochSeconds > 0 ? epochSeconds : 30;
  auto time = [&](int feature, std::size_t off, int wave) {
    if (used[static_cast<std::size_t>(feature)]) bytes::Put<float>(b, off, Percent(rec.wave[wave].durationMs, e));
  };
  auto count = [&](int feature, std::size_t off, std::int16_t v) {
    if (used[static_cast<std::size_t>(feature)]) bytes::Put<std::uint16_t>(b, off, static_cast<std::uint16_t>(v));
  };
  time(0, 0, kWaveAlpha);
  count(1, 4, rec.wave[kWaveSpindle].count);
  time(2, 8, kWaveTheta);
  time(3, 12, kWaveDelta);
  count(4, 16, rec.remsBoth);
  count(5, 18, rec.kComplex.count);
  if (used[6]) bytes::Put<float>(b, 20, rec.emg);
  time(7, 24, kWaveBand1);
  time(8, 28, kWaveBand2);
  time(9, 32, kWaveBand3);
  return s;
}

bool BuildLearningSampleFile(const LearningSampleSource& src, int first, int last, std::string* out) {
  if (first < 0 || last < first || last >= src.epochs.EpochCount() || !src.epochs.HasRecords()) return false;
  const int n = last - first + 1;
  const auto& models = src.staging.Models();
  const LyrLearningInfo& info = src.staging.LearningInfo();

  std::vector<std::uint8_t> head(kLearningHeaderBytes, 0);
  const bytes::Span h(head);
  bytes::PutText(h, 0, 260, std::filesystem::path(src.recordingPath).filename().string());
  bytes::Put<std::uint16_t>(h, 260, kLearningFileVersion);
  const std::array<const std::string*, 5> experiment{&info.day, &info.no, &info.service, &info.engineer, &info.doctor};
  for (std::size_t i = 0; i < experiment.size(); ++i) bytes::PutText(h, 262 + i * 20, 20, *experiment[i]);
  bytes::Put<std::uint16_t>(h, 362, static_cast<std::uint16_t>(src.epochSeconds));
  bytes::PutText(h, 364, 20, info.name);
  bytes::PutText(h, 384, 20, info.id);
  bytes::Put<std::int16_t>(h, 404, static_cast<std::int16_t>(info.age));
  bytes::PutText(h, 406, 20, info.sex);
  bytes::Put<double>(h, 432, info.height);
  bytes::Put<double>(h, 440, info.weight);
  bytes::Put<std::int16_t>(h, 448, static_cast<std::int16_t>(models.size()));
  bytes::Put<std::int16_t>(h, 450, kLearningParameterCount);
  for (std::size_t i = 0; i < kParameterNames.size(); ++i) bytes::PutText(h, 452 + i * 20, 20, kParameterNames[i]);
  const LearningParametersUsed used = GetLearningParametersUsed(src.waveForm);
  bytes::PutArray(h, 652, used);
  const std::uint16_t type = src.stageType <= 3 ? src.stageType : 3;
  const std::vector<std::string>& classes = StagingClassNames(type);
  bytes::Put<std::uint16_t>(h, 672, type);
  bytes::Put<std::int16_t>(h, 674, static_cast<std::int16_t>(classes.size()));
  for (std::size_t i = 0; i < classes.size(); ++i) bytes::PutText(h, 676 + i * 20, 20, classes[i]);
  bytes::Put<std::int32_t>(h, 816, n);

  std::string file;
  file.reserve(3 + kLearningHeaderBytes + models.size() * 260 + static_cast<std::size_t>(n) * 40 + 3);
  file += "MSF";
  file.append(reinterpret_cast<const char*>(head.data()), head.size());
  for (const LyrStagingModel& m : models) {
    std::array<std::uint8_t, kLearningNameBytes> name{};
    bytes::PutText(name, 0, name.size(), m.fileName);
    file.append(reinterpret_cast<const char*>(name.data()), name.size());
  }
  for (int ep = first; ep <= last; ++ep) {
    const LearningSample s = BuildLearningSample(*src.epochs.Record(ep), src.epochSeconds, used);
    file.append(reinterpret_cast<const char*>(s.data()), s.size());
  }
  for (int ep = first; ep <= last; ++ep) {
    LearningStageRecord stage{};
    if (const std::uint8_t* flags = src.epochs.EpochFlags(ep)) std::copy(flags, flags + 3, stage.begin());
    stage[3] = src.epochs.GetStage(type, ep, 0);
    file.append(reinterpret_cast<const char*>(stage.data()), stage.size());
  }
  file += "EMS";
  *out = std::move(file);
  return true;
}

std::string LearningSamplePath(const std::string& modelFolder, const std::string& resultPath) {
  std::filesystem::path folder = modelFolder.empty() ? std::filesystem::path(sys::ProgramFolder())
                                                     : std::filesystem::path(modelFolder);
  return (folder / (std::filesystem::path(resultPath).stem().string() + ".MSF")).string();
}

int WriteLearningSampleFile(const LearningSampleSource& src, const std::string& resultPath, int first, int last) {
  std::string file;
  if (!BuildLearningSampleFile(src, first, last, &file)) return 0;
  return sys::WriteFileAtomic(LearningSamplePath(src.staging.ModelFolder(), resultPath), file) ? 1 : 0;
}

namespace {

constexpr std::size_t kHeaderAt = 3;

bytes::CSpan Bytes(const std::string& file) {
  return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

// Bytes from the start of the file to the end of the stage records.
long long DataBytes(const LearningFileHeader& h) {
  return static_cast<long long>(kHeaderAt + kLearningHeaderBytes) +
         static_cast<long long>(kLearningNameBytes) * h.learningFileCount +
         static_cast<long long>(kLearningSampleBytes + kLearningStageBytes) * h.epochCount;
}

}  // namespace

LearningFileStatus ParseLearningFileHeader(const std::string& file, bool checkVersion, LearningFileHeader* out) {
  if (file.size() < kHeaderAt || file.compare(0, kHeaderAt, "MSF") != 0) return LearningFileStatus::NotLearningFile;
  if (file.size() < kHeaderAt + kLearningHeaderBytes) return LearningFileStatus::Damaged;
  const bytes::CSpan b = Bytes(file).subspan(kHeaderAt, kLearningHeaderBytes);
  LearningFileHeader h;
  h.version = bytes::Get<std::uint16_t>(b, 260);
  if (checkVersion && h.version != kLearningFileVersion) return LearningFileStatus::NotLearningFile;
  h.recordingFileName = bytes::GetText(b, 0, 260);
  std::string* experiment[] = {&h.day, &h.no, &h.service, &h.engineer, &h.doctor};
  for (std::size_t i = 0; i < 5; ++i) *experiment[i] = bytes::GetText(b, 262 + i * 20, 20);
  h.epochTime = bytes::Get<std::uint16_t>(b, 362);
  h.name = bytes::GetText(b, 364, 20);
  h.id = bytes::GetText(b, 384, 20);
  h.age = bytes::Get<std::int16_t>(b, 404);
  h.sex = bytes::GetText(b, 406, 20);
  h.height = bytes::Get<double>(b, 432);
  h.weight = bytes::Get<double>(b, 440);
  h.learningFileCount = bytes::Get<std::int16_t>(b, 448);
  h.parameterCount = bytes::Get<std::int16_t>(b, 450);
  for (std::size_t i = 0; i < h.parameterNames.size(); ++i) h.parameterNames[i] = bytes::GetText(b, 452 + i * 20, 20);
  bytes::GetArray(b, 652, h.parameterUsed);
  h.stageType = bytes::Get<std::uint16_t>(b, 672);
  h.stageCount = bytes::Get<std::int16_t>(b, 674);
  for (std::size_t i = 0; i < h.stageNames.size(); ++i) h.stageNames[i] = bytes::GetText(b, 676 + i * 20, 20);
  h.epochCount = bytes::Get<std::int32_t>(b, 816);

  if (h.stageType > 3 || h.parameterCount != kLearningParameterCount) return LearningFileStatus::Damaged;
  const std::vector<std::string>& classes = StagingClassNames(h.stageType);
  if (h.stageCount != static_cast<int>(classes.size())) return LearningFileStatus::Damaged;
  for (std::size_t i = 0; i < h.stageNames.size(); ++i)
    if (h.stageNames[i] != (i < classes.size() ? classes[i] : std::string())) return LearningFileStatus::Damaged;
  if (h.learningFileCount < 0 || h.epochCount < 0 || DataBytes(h) > static_cast<long long>(file.size()))
    return LearningFileStatus::Damaged;
  const bytes::CSpan all = Bytes(file);
  for (int i = 0; i < h.learningFileCount; ++i)
    h.learningFiles.push_back(
        bytes::GetText(all, kHeaderAt + kLearningHeaderBytes + static_cast<std::size_t>(i) * kLearningNameBytes,
                       kLearningNameBytes));
  *out = std::move(h);
  return LearningFileStatus::Ok;
}

LearningFileStatus ParseLearningSamples(const std::string& file, int sampleLimit, LearningSampleSet* out) {
  LearningSampleSet set;
  const LearningFileStatus status = ParseLearningFileHeader(file, false, &set.header);
  if (status != LearningFileStatus::Ok) return status;
  const LearningFileHeader& h = set.header;
  const int n = std::max(0, sampleLimit > h.epochCount ? h.epochCount : sampleLimit);
  const std::size_t samplesAt = kHeaderAt + kLearningHeaderBytes + kLearningNameBytes * static_cast<std::size_t>(h.learningFileCount);
  const std::size_t stagesAt = samplesAt + kLearningSampleBytes * static_cast<std::size_t>(h.epochCount);
  set.samples.resize(static_cast<std::size_t>(n));
  set.stages.resize(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    std::memcpy(set.samples[i].data(), file.data() + samplesAt + i * kLearningSampleBytes, kLearningSampleBytes);
    std::memcpy(set.stages[i].data(), file.data() + stagesAt + i * kLearningStageBytes, kLearningStageBytes);
  }
  *out = std::move(set);
  return LearningFileStatus::Ok;
}

LearningFileStatus ReadLearningFileHeader(const std::string& path, LearningFileHeader* h, std::string* message) {
  message->clear();
  const std::optional<std::string> file = sys::ReadWholeFile(path);
  if (!file) return LearningFileStatus::Unreadable;
  const LearningFileStatus status = ParseLearningFileHeader(*file, true, h);
  if (status != LearningFileStatus::Ok) {
    *message = res::LoadString(kIdsMsfVersion2013);
    if (const auto at = message->find("%s"); at != std::string::npos) message->replace(at, 2, path);
  }
  return status;
}

LearningFileStatus ReadLearningSamples(const std::string& path, int sampleLimit, LearningSampleSet* out,
                                       std::string* message) {
  message->clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    *message = res::LoadString(kIdsMsfMissing3023);
    return LearningFileStatus::Missing;
  }
  const std::optional<std::string> file = sys::ReadWholeFile(path);
  const LearningFileStatus status =
      file ? ParseLearningSamples(*file, sampleLimit, out) : LearningFileStatus::Unreadable;
  if (status != LearningFileStatus::Ok) *message = res::LoadString(kIdsMsfUnreadable3023);
  return status;
}

void TakeLearningHeader(const LearningFileHeader& h, LyrStagingModel* model) {
  model->featureCount = h.parameterCount;
  for (std::size_t k = 0; k < model->featurePresent.size(); ++k) {
    model->featurePresent[k] = h.parameterUsed[k] != 0 ? 1 : 0;
    model->featureUsed[k] = 0;
    model->featureNames[k] = h.parameterNames[k];
  }
  model->stageType = h.stageType;
  model->classCount = h.stageCount;
  for (std::size_t c = 0; c < model->classNames.size(); ++c) model->classNames[c] = h.stageNames[c];
}
