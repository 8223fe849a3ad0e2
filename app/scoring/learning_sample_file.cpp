#include "app/scoring/learning_sample_file.h"

#include <filesystem>

#include "app/document/byte_image.h"
#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"

namespace {

constexpr std::array<const char*, kLearningParameterCount> kParameterNames = {
    "AlphaTime", "SpindleCnt", "ThetaTime", "DeltaTime", "RemsCnt",
    "KcompCnt",  "EmgInteg",   "Band1Time", "Band2Time", "Band3Time"};

struct StageClasses {
  int count;
  std::array<const char*, 7> names;
};
constexpr std::array<StageClasses, 4> kStageClasses = {{
    {7, {"Wake", "Rem", "Stage1", "Stage2", "Stage3", "Stage4", "MT"}},
    {6, {"Wake", "Rem", "Stage1", "Stage2", "Deep", "MT"}},
    {5, {"Wake", "Rem", "Light", "Deep", "MT"}},
    {4, {"Wake", "Rem", "NonRem", "MT"}},
}};

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
  const StageClasses& classes = kStageClasses[type];
  bytes::Put<std::uint16_t>(h, 672, type);
  bytes::Put<std::int16_t>(h, 674, static_cast<std::int16_t>(classes.count));
  for (int i = 0; i < classes.count; ++i)
    bytes::PutText(h, 676 + static_cast<std::size_t>(i) * 20, 20, classes.names[static_cast<std::size_t>(i)]);
  bytes::Put<std::int32_t>(h, 816, n);

  std::string file;
  file.reserve(3 + kLearningHeaderBytes + models.size() * 260 + static_cast<std::size_t>(n) * 40 + 3);
  file += "MSF";
  file.append(reinterpret_cast<const char*>(head.data()), head.size());
  for (const LyrStagingModel& m : models) {
    std::array<std::uint8_t, 260> name{};
    bytes::PutText(name, 0, name.size(), m.fileName);
    file.append(reinterpret_cast<const char*>(name.data()), name.size());
  }
  for (int ep = first; ep <= last; ++ep) {
    const LearningSample s = BuildLearningSample(*src.epochs.Record(ep), src.epochSeconds, used);
    file.append(reinterpret_cast<const char*>(s.data()), s.size());
  }
  for (int ep = first; ep <= last; ++ep) {
    std::array<std::uint8_t, 4> stage{};
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
