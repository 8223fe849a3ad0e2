// Fuzz target: any bytes as an EDF or BDF file read through the DSI plug-in's exports, in the
// order the program calls them when it opens a recording and pages through it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/document/import_plugin_abi.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/program_folder.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_edfplugin_" + std::to_string(getpid()) + ".edf";
  }();
  return path;
}

sys::DynamicLibrary& Plugin() {
  static sys::DynamicLibrary module;
  if (!module.IsLoaded() && !module.Load(sys::PathBesideProgram("RXQD_IMP_DSI.so"))) {
    std::fprintf(stderr, "RXQD_IMP_DSI.so not found beside the fuzzer\n");
    std::abort();
  }
  return module;
}

template <class F>
F Export(const char* name) {
  return Plugin().Function<F>(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  const char* path = FilePath().c_str();
  auto exitFile = Export<ImpExitDLLFile>("ExitDLLFile");
  if (Export<ImpCheckFileType>("CheckFileType")(path) == 0) {
    exitFile(path, 0);
    return 0;
  }
  std::int16_t montage = 0, calibration = 0;
  Export<ImpSelectMontCal>("SelectMontCal")(path, &montage, &calibration);
  const int channels = Export<ImpGetChNum>("GetChNum")(path, montage);
  Export<ImpGetDataType>("GetDataType")(path);
  std::uint16_t time8[8] = {};
  Export<ImpGetActualTime>("GetActualTime")(path, 0, montage, 0, time8);
  if (channels > 0 && channels <= 512) {
    std::vector<ImpCalRecord> cal(static_cast<std::size_t>(channels));
    Export<ImpGetCalInfo>("GetCalInfo")(path, montage, calibration, cal.data());
    std::vector<char> names(static_cast<std::size_t>(channels) * IMP_NAME_CAPACITY);
    Export<ImpGetChName>("GetChName")(path, montage, names.data(), IMP_NAME_CAPACITY);
    std::vector<ImpFilterRecord> filters(static_cast<std::size_t>(channels));
    Export<ImpGetFilterInfo>("GetFilterInfo")(path, montage, -1, filters.data());
    for (int c = 0; c < channels; ++c) {
      double rate = 0.0, perCm = 0.0;
      std::uint32_t count = 0;
      Export<ImpGetSampling>("GetSampling")(path, montage, c, &rate);
      Export<ImpGetDataNum>("GetDataNum")(path, 0, montage, c, &count);
      Export<ImpGetCalUnitPerCm>("GetCalUnitPerCm")(path, montage, c, &perCm);
      ImpReadRequest request{};
      request.first = count > 64 ? count - 64 : 0;
      request.count = 128;
      std::vector<float> samples(request.count);
      Export<ImpGetRawData>("GetRawData")(path, 0, montage, c, request, samples.data());
      std::vector<std::uint16_t> words(100);
      Export<ImpGetRawWordData>("GetRawWordData")(path, 0, montage, c, 0, 100, words.data());
    }
  }
  const int events = Export<ImpGetEventNum>("GetEventNum")(path, 0, montage);
  for (int e = 0; e < events && e < 64; ++e) {
    std::int32_t position = 0, type = 0;
    Export<ImpGetEventPos>("GetEventPos")(path, 0, montage, e, &position, &type);
  }
  char text[IMP_TEXT_CAPACITY];
  const int types = Export<ImpGetEventTypeNum>("GetEventTypeNum")(path);
  for (int t = 0; t < types && t < 64; ++t) Export<ImpGetEventName>("GetEventName")(path, t, text, IMP_TEXT_CAPACITY);
  exitFile(path, 0);
  return 0;
}
