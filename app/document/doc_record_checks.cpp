// Reads of the recording beyond the page buffers: the raw-data fingerprint that ties result
// files to their recording, the single-channel simple spectrum of the workspace, and the
// start of the ECG LF/HF computation.
#include <algorithm>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/scoring/hrv_lf_hf.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kFingerprintSamples = 100;

bool Selected(const std::int32_t* channelFlags, int channel) {
  return channelFlags == nullptr || channelFlags[channel] != 0;
}
}  // namespace

std::uint32_t CQLM2_AnalyzerDoc::GetRawWordSum(int seconds, const std::int32_t* channelFlags) {
  const int channels = std::clamp(RecordInfo.channelCount, 0, 32);
  if (channels == 0 || seconds < 0) return 0;
  const char* path = RecordInfo.path.c_str();
  std::uint32_t sum = 0;
  if (RecordInfo.sourceKind == 0) {
    FynFileAccessRaw raw(path);
    if (raw.InitParams() != 0) return 0;
    const std::uint64_t first = static_cast<std::uint64_t>(std::max(ChInfo[0].rate, 0)) * seconds;
    if (first + kFingerprintSamples - 1 > 0xFFFFFFFFull) return 0;
    std::vector<std::uint16_t> words(static_cast<std::size_t>(channels) * kFingerprintSamples, 0);
    if (raw.GetRawDataWORDAll(static_cast<std::uint32_t>(first),
                              static_cast<std::uint32_t>(first + kFingerprintSamples - 1), words.data()) != 0)
      return 0;
    for (int c = 0; c < channels; ++c) {
      if (!Selected(channelFlags, c)) continue;
      for (std::uint32_t i = 0; i < kFingerprintSamples; ++i) sum += words[c * kFingerprintSamples + i];
    }
    return sum;
  }
  if (RecordInfo.sourceKind != 3 || !PluginModule.IsLoaded()) return 0;
  auto dataType = PluginModule.Function<ImpGetDataType>("GetDataType");
  if (dataType == nullptr) return 0;
  const int type = dataType(path);
  if (type != 0 && type != 1) return 0;
  auto wordData = PluginModule.Function<ImpGetRawWordData>("GetRawWordData");
  if (wordData == nullptr) return 0;
  std::vector<std::uint16_t> words(kFingerprintSamples);
  for (int c = 0; c < channels; ++c) {
    if (!Selected(channelFlags, c)) continue;
    const std::int64_t first = static_cast<std::int64_t>(std::max(ChInfo[c].rate, 0)) * seconds;
    if (first > 0x7FFFFFFF) continue;
    std::fill(words.begin(), words.end(), 0);
    if (wordData(path, 0, MontageNumber, c, static_cast<std::int32_t>(first), kFingerprintSamples, words.data()) == 0)
      continue;
    for (std::uint16_t w : words) sum += w;
  }
  return sum;
}

int CQLM2_AnalyzerDoc::CalcSimpleFFTData(short kind, int channel, int start) {
  if (kind < 0 || kind >= LyrRecordInfo::kPageBufferCount) return 0;
  if (channel < 0 || channel >= std::clamp(RecordInfo.channelCount, 0, 32)) return 0;
  const LyrChInfo& ch = ChInfo[channel];
  if (start < 0 || static_cast<std::uint32_t>(start) >= ch.dataCount) return 0;
  ui::WaitCursor wait;
  const FFTPageParam& p = Params.fftPage;
  const int N = static_cast<int>(p.simpleFftPoints);
  const int A = p.simpleAveraging;
  const int bins = N > 0 ? N / 2 + 1 : 0;
  SimpleSpectrum.values.assign(static_cast<std::size_t>(bins), 0.0f);
  SimpleSpectrum.valueCount = bins;
  if (N >= 4 && A > 0) {
    std::vector<float> work(static_cast<std::size_t>(A) * static_cast<std::size_t>(N), 0.0f);
    std::vector<float>& slot = RecordInfo.pageBuffers[static_cast<std::size_t>(kind)];
    const std::size_t pageSamples = static_cast<std::size_t>(std::max(ch.rate, 0)) * std::max(PageSeconds, 0);
    const float* data = GetChDataPtr(kind, static_cast<unsigned>(channel), slot.data());
    const std::size_t offset = data != nullptr ? static_cast<std::size_t>(data - slot.data()) : slot.size();
    // Only the channel's page data is taken, and only what the slot really holds.
    const std::size_t held = offset < slot.size() ? std::min(pageSamples, slot.size() - offset) : 0;
    const std::size_t from = static_cast<std::size_t>(start);
    const std::size_t take = from < held ? std::min(work.size(), held - from) : 0;
    if (take > 0) std::copy(data + from, data + from + take, work.begin());
    CalcFFTData(work.data(), SimpleSpectrum.values.data(), static_cast<unsigned short>(A), N,
                static_cast<short>(p.windowType), static_cast<short>(p.unit), ch.rate);
  }
  SimpleSpectrum.channel = channel;
  return 1;
}

void CQLM2_AnalyzerDoc::CalcLFHF() {
  SleepDstrbParam& sd = Params.sleepDstrb;
  const int ecg = sd.ecgChannel;
  if (ecg < 0 || ecg >= std::clamp(RecordInfo.channelCount, 0, 32)) return;
  EcgRcgnzTable& peaks = RecognitionTables.ECGRcgnz();
  std::vector<double>& lf = RecognitionTables.ECGLF();
  std::vector<double>& hf = RecognitionTables.ECGHF();
  if (peaks.count <= 0 || lf.empty() || hf.empty()) return;
  LfHfSources src;
  src.param = &sd;
  const std::size_t held = std::min(static_cast<std::size_t>(peaks.count), peaks.positions.size());
  src.peaks = std::span<const std::int32_t>(peaks.positions.data(), held);
  src.samplingRate = ChInfo[static_cast<std::size_t>(ecg)].rate;
  src.fftPoints = GetFFTPointNum();
  src.epochCount = GetDivNum(EpochSeconds);
  src.epochSeconds = EpochSeconds;
  src.lf = lf;
  src.hf = hf;
  src.report = [](const std::string& message) { ui::MessageBox(message); };
  LyrTrendFFTCalc(src).TrendFFTTransaction();
}
