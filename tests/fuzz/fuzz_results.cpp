// Fuzz target: any bytes as the result file of a small open recording. The reader must refuse
// the file or take it over whole, and never read or write past a table.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"
#include "tests/result_files/tiny_recording.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_results_" + std::to_string(getpid()) + ".raf";
  }();
  return path;
}

bool Store(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

// Says yes to every question, so that the reader goes as far into the file as it can.
class YesUi : public ResultFileUi {
 public:
  int Message(const std::string&, std::uint32_t type) override {
    return (type & 0xF) == ui::MB_OK ? ui::IDOK : ui::IDYES;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool init = [] {
    res::SetLanguage(res::Language::English);
    return true;
  }();
  (void)init;
  if (!Store(data, size)) return 0;
  ResultSaveState = 0;
  AnimalOnlyMode = 0;
  EpochSeconds = 10;
  TinyDoc doc(2, 40, 10);
  doc.UseSections();
  YesUi answers;
  OpenResultProcess(doc.doc, FilePath(), answers);
  return 0;
}
