// Writes the seed corpus of fuzz_wtf: templates saved by the template writer (the defaults, a
// set-up with channels, names and limits) and refused forms, into the folder named on the
// command line.
#include <cstdio>
#include <string>

#include "app/settings/wave_form_template.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_wtf FOLDER\n");
    return 2;
  }
  res::SetLanguage(res::Language::English);
  const std::string folder = argv[1];
  WaveFormRecognitionParam fresh;
  SetDefaultWaveFormRecognitionParam(0, &fresh, 0);
  WaveFormRecognitionParam used = fresh;
  used.precision = 0;
  used.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  used.bands[WaveFormRecognitionParam::kBand2].channel = 5;
  used.bands[WaveFormRecognitionParam::kBand2].name = "Sawtooth";
  used.bands[WaveFormRecognitionParam::kAlpha].amplitudeMin = 12.5;
  used.kComplex.channel = 1;
  used.eogLeft.channel = 2;
  used.emgChannel = 4;
  std::string wrong = WaveFormTemplateBytes(fresh);
  wrong[0] = 2;
  const bool ok = WriteWaveFormTemplate(folder + "/fresh.wtf", fresh) && WriteWaveFormTemplate(folder + "/used.wtf", used) &&
                  sys::WriteFileAtomic(folder + "/version2.wtf", wrong) &&
                  sys::WriteFileAtomic(folder + "/short.wtf", WaveFormTemplateBytes(used).substr(0, 400));
  if (!ok) {
    std::fprintf(stderr, "seed_wtf: could not write the seeds\n");
    return 1;
  }
  return 0;
}
