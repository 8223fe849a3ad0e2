// Fuzz target: any bytes as a result file loaded into the hypnogram utility window. The loader
// must refuse the file or take it whole; everything the window then asks of a loaded file
// (stages, labels, times, ticks, the comparison) stays inside the file, and writing it back
// gives a file that loads again with the same records.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frame/frame_globals.h"
#include "app/results/result_analysis_file.h"
#include "app/results/utility_result_file.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {

class QuietUi : public ResultFileUi {
 public:
  int Message(const std::string&, std::uint32_t) override { return ui::IDOK; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool init = [] {
    res::SetLanguage(res::Language::English);
    return true;
  }();
  (void)init;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  UtilityResultFiles files;
  QuietUi ui;
  if (files.ReadResultFileBytes("/fuzz/in.raf", bytes, 120, ui) != 1) {
    if (files.Count() != 0) std::abort();
    return 0;
  }
  const UtilityResultFileRec& f = *files.File(0);
  const std::int32_t n = f.epochCount;
  for (std::int32_t e : {0, n / 2, n - 1, n, -1}) {
    for (int mode = 0; mode < 4; ++mode) (void)files.GetStage(0, mode, e, 0);
    for (bool clock : {true, false}) {
      const UtilityTimeScale scale{3600, clock};
      (void)files.GetEpochTimeString(0, e, scale);
      (void)files.GetEpochTimeParts(0, e, scale);
      (void)files.IsTimeScaleEpoch(0, e, scale);
      (void)files.GetTimeScaleOffset(0, e, 7, scale);
    }
  }
  for (int code = -1; code < 256; ++code) (void)GetStageLabel(code, f.stageType);
  const StageCompareResult r = CompareStages(f, 0, f, 0);
  if (r.agreed != r.compared) std::abort();

  // Written back and loaded again: the same records.
  const std::string back = BuildUtilityResultFileBytes(f, f.memos);
  if (back.size() != 10200u + 214u * static_cast<std::size_t>(n)) std::abort();
  if (files.ReadResultFileBytes("/fuzz/back.raf", back, 120, ui) != 1) std::abort();
  const UtilityResultFileRec& g = *files.File(1);
  if (g.epochCount != n || g.epochTime != f.epochTime ||
      (n > 0 && std::memcmp(g.epochs.data(), f.epochs.data(), f.epochs.size() * kEpochRecBytes) != 0))
    std::abort();
  UtilityHypnogramLoaded = 0;
  return 0;
}
