// Writes the seed corpus of fuzz_results: result files of the small recording, saved by the
// result-file writer with different sections and ranges, into the folder named on the
// command line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"
#include "tests/result_files/tiny_recording.h"

namespace {

class QuietUi : public ResultFileUi {
 public:
  int Message(const std::string& text, std::uint32_t) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return ui::IDOK;
  }
};

bool Save(const std::string& folder, const std::string& name, bool sections, bool scored, int endEpoch) {
  EpochSeconds = 10;
  TinyDoc d(2, 40, 10);
  if (sections) d.UseSections();
  if (scored) d.Score();
  QuietUi ui;
  const std::string path = folder + "/" + name;
  ResultWriteRequest req{d.record.path, path, 0, endEpoch, {}};
  if (WriteResultFile(d.doc, req, ui) != 1) return false;
  // The companion files are not part of the corpus.
  namespace fs = std::filesystem;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() != ".raf") fs::remove(e.path());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_results FOLDER\n");
    return 2;
  }
  res::SetLanguage(res::Language::English);
  const std::string folder = argv[1];
  const bool ok = Save(folder, "plain.raf", false, false, 3) && Save(folder, "scored.raf", true, true, 3) &&
                  Save(folder, "part.raf", true, true, 1);
  if (!ok) {
    std::fprintf(stderr, "seed_results: a seed file could not be written\n");
    return 1;
  }
  return 0;
}
