// Writes the seed corpus of fuzz_utility_file into the folder named on the command line:
// result files of the small recording saved by the result-file writer at two epoch lengths,
// and files written back by the hypnogram utility window.
#include <cstdio>
#include <string>

#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"
#include "app/results/utility_result_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
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

bool Save(const std::string& path, int epochSeconds, int epochs) {
  TinyDoc d(2, epochs * epochSeconds, epochSeconds);
  d.Score();
  QuietUi ui;
  ResultWriteRequest req{d.record.path, path, 0, d.Epochs() - 1, d.memos};
  return WriteResultFile(d.doc, req, ui) == 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  res::SetLanguage(res::Language::English);
  const std::string folder = argv[1];
  bool ok = Save(folder + "/ten.raf", 10, 6) && Save(folder + "/thirty.raf", 30, 4);
  UtilityResultFiles files;
  QuietUi ui;
  ok = ok && files.ReadResultFile(folder + "/thirty.raf", 60, ui) == 1;
  if (ok) {
    UtilityResultFileRec one = *files.File(0);
    ok = sys::WriteFileAtomic(folder + "/back.raf", BuildUtilityResultFileBytes(one, one.memos));
    one.epochs.resize(1);
    ok = ok && sys::WriteFileAtomic(folder + "/back_one.raf", BuildUtilityResultFileBytes(one, {}));
  }
  // The companion files are not part of the corpus.
  for (const char* ext : {"SDT1", "SRM1"})
    for (const char* name : {"ten", "thirty"}) std::remove((folder + "/" + name + "." + ext).c_str());
  return ok ? 0 : 1;
}
