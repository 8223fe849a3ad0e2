// make_sample_recording: writes a synthetic recording with its true hypnogram and events.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sample_recording.h"
#include "sample_settings.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: make_sample_recording --kind human|animal --hours H [--channels C] [--rate HZ]\n"
               "                             [--seed S] [--animals A] [--out FILE.fyd] [--settings PROGRAM.RSM]\n"
               "Writes FILE.fyd, FILE.stages (one stage code per epoch: 1 W, 2 REM, 3-6 stages 1-4;\n"
               "animal: 1 W, 2 REM, 3 non-REM; epochs of 30 s human, 10 s animal) and FILE.events\n"
               "(onset and duration in seconds, event type). With --settings, also the program's\n"
               "settings file made for the kind's montage, when there is no such file yet.\n"
               "--animals A (animal kind): A animals side by side, each of EEG, EMG and locomotion,\n"
               "with FILE_NN.stages the hypnogram of animal NN.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  samples::Options options;
  std::string out;
  std::string settings;
  bool haveKind = false;
  bool haveHours = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    char* endp = nullptr;
    if (arg == "--kind") {
      if (value != "human" && value != "animal") return Usage();
      options.kind = value == "human" ? samples::Kind::Human : samples::Kind::Animal;
      haveKind = true;
    } else if (arg == "--hours") {
      options.hours = std::strtod(value.c_str(), &endp);
      if (*endp != '\0' || !(options.hours > 0.0) || options.hours > 240.0) return Usage();
      haveHours = true;
    } else if (arg == "--channels") {
      options.channels = static_cast<int>(std::strtol(value.c_str(), &endp, 10));
      if (*endp != '\0' || options.channels < 1 || options.channels > 256) return Usage();
    } else if (arg == "--rate") {
      options.rateHz = static_cast<int>(std::strtol(value.c_str(), &endp, 10));
      if (*endp != '\0' || options.rateHz < 1 || options.rateHz > 20000) return Usage();
    } else if (arg == "--seed") {
      options.seed = static_cast<std::uint32_t>(std::strtoul(value.c_str(), &endp, 10));
      if (*endp != '\0') return Usage();
    } else if (arg == "--animals") {
      options.animals = static_cast<int>(std::strtol(value.c_str(), &endp, 10));
      if (*endp != '\0' || options.animals < 1 || options.animals > 10) return Usage();
    } else if (arg == "--out") {
      out = value;
    } else if (arg == "--settings") {
      settings = value;
    } else {
      return Usage();
    }
  }
  if (!haveKind || (out.empty() && settings.empty()) || (!out.empty() && !haveHours)) return Usage();
  if (options.animals > 0 && options.kind != samples::Kind::Animal) return Usage();
  std::string error;
  if (!out.empty() && !samples::WriteSampleRecording(options, out, &error)) {
    std::fprintf(stderr, "make_sample_recording: %s\n", error.c_str());
    return 1;
  }
  if (!settings.empty() && !samples::WriteSampleSettings(options.kind, settings, &error)) {
    std::fprintf(stderr, "make_sample_recording: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
