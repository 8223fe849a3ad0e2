// Fuzz target: any bytes as a learning-sample file for both of its readers, and as the
// learning settings file. Each must refuse the bytes or read them within their fields and
// counts, never past them. A file the learning reader takes is learned from (its first
// epochs), and a tree it grows stages its own samples without failing.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/res/resource_store.h"
#include "platform/system/program_folder.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_learning_" + std::to_string(getpid());
  }();
  return folder;
}

bool Store(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool init = [] {
    res::SetLanguage(res::Language::English);
    std::error_code ec;
    std::filesystem::create_directories(Folder(), ec);
    if (ec) return false;
    sys::SetProgramFolderForTesting(Folder());
    LyrAutoStaging::MessageSink() = [](const std::string&) {};
    return true;
  }();
  if (!init) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  LearningFileHeader header;
  if (ParseLearningFileHeader(bytes, true, &header) == LearningFileStatus::Ok &&
      header.learningFiles.size() != static_cast<std::size_t>(header.learningFileCount))
    __builtin_trap();
  for (int limit : {1, 30000}) {
    LearningSampleSet set;
    if (ParseLearningSamples(bytes, limit, &set) == LearningFileStatus::Ok) {
      LyrStagingModel model;
      TakeLearningHeader(set.header, &model);
      if (set.samples.size() != set.stages.size() || set.samples.size() > static_cast<std::size_t>(limit))
        __builtin_trap();
    }
  }

  // The same bytes through the file readers and as ML.ini.
  const std::string msf = Folder() + "/input.msf";
  if (Store(msf, data, size)) {
    std::string message;
    ReadLearningFileHeader(msf, &header, &message);
    LearningSampleSet set;
    if (ReadLearningSamples(msf, 100, &set, &message) == LearningFileStatus::Ok) {
      LyrStagingModel model;
      model.fileName = "input.msf";
      model.featureChosen.fill(1);
      model.classCount = kStagingClassSlots;
      LyrDlgLearning learning;
      learning.learningSetCount = 1;
      learning.sampleLimit = 200;
      learning.modelFolder = Folder();
      learning.models = &model;
      if (learning.LearnAll() == 1) {
        LyrStagingEngine engine(1, &model);
        for (const LearningSample& s : set.samples)
          if (engine.Run(s) >= model.classCount) __builtin_trap();
      }
    }
  }
  if (Store(Folder() + "/ML.ini", data, size)) {
    LyrAutoStaging staging;
    staging.ReadLearningIni();
  }
  return 0;
}
