// Writes the seed corpus of fuzz_sdr: templates saved by the template writer (the defaults,
// an edited block, a version-1 block) into the folder named on the command line.
#include <cstdio>
#include <string>

#include "app/settings/sdr_template_file.h"
#include "platform/res/resource_store.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_sdr FOLDER\n");
    return 2;
  }
  res::SetLanguage(res::Language::English);
  const std::string folder = argv[1];
  SleepDstrbParam p;
  SetDefaultSleepDstrbParam(0, &p, 0);
  bool ok = WriteSdrTemplateFile(folder + "/defaults.sdr", p) == SdrFileStatus::kOk;
  p.airFlow.channel = 3;
  p.ecgChannel = 5;
  p.positionChannel = 7;
  p.positionsInUse = 6;
  p.lfhfPointsIndex = 6;
  p.arousalThreshold = 200;
  ok = ok && WriteSdrTemplateFile(folder + "/edited.sdr", p) == SdrFileStatus::kOk;
  p.version = 1;
  p.lfhfTimeS = 2;
  ok = ok && WriteSdrTemplateFile(folder + "/version1.sdr", p) == SdrFileStatus::kOk;
  if (!ok) {
    std::fprintf(stderr, "seed_sdr: a seed file could not be written\n");
    return 1;
  }
  return 0;
}
