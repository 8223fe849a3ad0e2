// Writes the seed corpus of fuzz_results: result files of the small recording, saved by the
// result-file writer with different sections and ranges, into the folder named on the
// command line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/document/byte_image.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_file_layout.h"
#include "app/scoring/lyr_multi_screening.h"
#include "platform/system/file_io.h"
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

// A result file as the multi-screening engine writes it for one animal of the small
// recording: two channels, 40 s of 10-s epochs, the first channel's band values stored.
bool SaveMultiScreening(const std::string& folder) {
  MsTrendFileData data;
  data.info = LyrMultiScreening::DefaultInfoBlock();
  bytes::Span info(data.info);
  bytes::PutPath(info, raf::kInfoRawPath, raf::kRawPathTextSize, "/data/night1.fyd");
  bytes::Put<std::uint32_t>(info, raf::kInfoChannelCount, 2);
  bytes::Put<std::uint32_t>(info, raf::kInfoEpochSeconds, 10);
  bytes::Put<std::int32_t>(info, raf::kInfoLastScreenedEpoch, 3);
  FFTBandParam fft;
  fft.Load(std::span<const std::uint8_t, FFTBandParam::kSize>(data.info.data() + raf::kInfoFftBand, FFTBandParam::kSize));
  fft.channelSwitch.fill(0);
  fft.channelSwitch[0] = 1;
  fft.Store(info.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());
  data.channels = 2;
  data.epochs = 4;
  data.flags = {1, 1};
  data.scale.fill(1.0f);
  const std::vector<float> emg = {1.0f, 2.0f, 3.0f, 4.0f};
  std::vector<float> bands(4 * 12), free(4 * 6);
  for (std::size_t i = 0; i < bands.size(); ++i) bands[i] = static_cast<float>(i);
  for (std::size_t i = 0; i < free.size(); ++i) free[i] = static_cast<float>(i) * 0.5f;
  const std::vector<std::uint16_t> cross = {0, 3, 0, 7};
  data.emg = &emg;
  data.eeg = {&bands};
  data.free = {&free, &free};
  data.cross = {nullptr, &cross};
  return sys::WriteFileAtomic(folder + "/multiscreening.raf", BuildMsTrendFile(data));
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
                  Save(folder, "part.raf", true, true, 1) && SaveMultiScreening(folder);
  if (!ok) {
    std::fprintf(stderr, "seed_results: a seed file could not be written\n");
    return 1;
  }
  return 0;
}
