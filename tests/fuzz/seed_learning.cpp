// Writes the seed corpus of fuzz_learning into the folder named on the command line:
// learning-sample files of a few epochs with 0 and 2 learning-file names, in two stage types,
// and the first ML.ini.
#include <cstdio>
#include <string>

#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"

namespace {

bool Save(const std::string& folder, const std::string& name, int epochCount, int names, std::uint16_t stageType) {
  LyrEpochParameter epochs;
  if (epochs.SetNew(epochCount, 0, 4, 0, 1, 1) != 1) return false;
  for (int e = 0; e < epochCount; ++e) {
    LyrEpochRec* r = epochs.Record(e);
    r->wave[kWaveAlpha].durationMs = 700.0f * static_cast<float>(e);
    r->wave[kWaveSpindle].count = static_cast<std::int16_t>(e);
    r->emg = 3.0f + static_cast<float>(e);
    epochs.SetStage(e, static_cast<std::uint8_t>(1 + e % 5));
  }
  WaveFormRecognitionParam waveForm;
  waveForm.bands[WaveFormRecognitionParam::kAlpha].channel = 0;
  waveForm.bands[WaveFormRecognitionParam::kSpindle].channel = 0;
  waveForm.emgChannel = 1;
  LyrAutoStaging staging;
  std::vector<LyrStagingModel> models(static_cast<std::size_t>(names));
  for (int i = 0; i < names; ++i) models[static_cast<std::size_t>(i)].fileName = "n" + std::to_string(i) + ".MSF";
  staging.SetModels(std::move(models));
  const LearningSampleSource src{"/data/seed.fyd", epochs, waveForm, stageType, staging, 30};
  std::string bytes;
  return BuildLearningSampleFile(src, 0, epochCount - 1, &bytes) && sys::WriteFileAtomic(folder + "/" + name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_learning FOLDER\n");
    return 2;
  }
  res::SetLanguage(res::Language::English);
  const std::string folder = argv[1];
  const bool ok = Save(folder, "one.msf", 1, 0, 0) && Save(folder, "names.msf", 3, 2, 1) &&
                  Save(folder, "type3.msf", 5, 1, 3) &&
                  sys::WriteFileAtomic(folder + "/ML.ini", LyrAutoStaging::DefaultLearningIni());
  return ok ? 0 : 1;
}
