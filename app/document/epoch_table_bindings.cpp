#include "app/document/epoch_table_bindings.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kBlockChannels = 32;

int BlockChannels(int chCount) { return std::clamp(chCount, 0, kBlockChannels); }

std::array<std::uint8_t, StageTypeParam::kSize> StageImage(const StageTypeParam& stageType) {
  std::array<std::uint8_t, StageTypeParam::kSize> image{};
  stageType.Store(image);
  return image;
}

}  // namespace

SleepDstrbChannels SleepDstrbChannelsOf(const SleepDstrbParam& b) {
  SleepDstrbChannels ch;
  ch.airFlow = b.airFlow.channel;
  ch.chest = b.chest.channel;
  ch.abdomen = b.abdomen.channel;
  ch.lmLeft = b.legLeft.channel;
  ch.lmRight = b.legRight.channel;
  ch.ecg = b.ecgChannel;
  ch.spo2 = b.spo2Channel;
  ch.position = b.positionChannel;
  ch.cpap = b.cpapChannel;
  ch.snore = b.snore.channel;
  ch.arousal = b.arousal.channel;
  return ch;
}

ValueCodeSources ValueCodeSourcesOf(const WaveFormRecognitionParam& w, const FFTBandParam& f, int chCount) {
  using W = WaveFormRecognitionParam;
  ValueCodeSources s;
  s.delta = w.bands[W::kDelta].channel;
  s.theta = w.bands[W::kTheta].channel;
  s.alpha = w.bands[W::kAlpha].channel;
  s.spindle = w.bands[W::kSpindle].channel;
  s.band1 = w.bands[W::kBand1].channel;
  s.band2 = w.bands[W::kBand2].channel;
  s.band3 = w.bands[W::kBand3].channel;
  s.kComplex = w.kComplex.channel;
  s.eyeR = w.eogRight.channel;
  s.eyeL = w.eogLeft.channel;
  s.emg = w.emgChannel;
  s.fftBandFlags = std::span<const std::uint16_t>(f.channelSwitch.data(),
                                                  static_cast<std::size_t>(BlockChannels(chCount)));
  s.fftBandCount = f.bandCount;
  return s;
}

double GetEpochValue(const LyrEpochParameter& tables, const AnalysisParamBlocks& blocks, int epochSeconds,
                     int epoch, int code, int channel) {
  std::array<std::uint32_t, kBlockChannels> modes{};
  for (std::size_t c = 0; c < modes.size(); ++c) modes[c] = blocks.chDispMode.entries[c].mode;
  EpochValueContext ctx;
  ctx.epochSeconds = epochSeconds;
  ctx.fftBandFlags = blocks.fftBand.channelSwitch;
  ctx.chDispModes = modes;
  return GetEpochValue(tables, ctx, epoch, code, channel);
}

void GetAvailableValueCodes(const AnalysisParamBlocks& blocks, int chCount, int emgRequired,
                            std::vector<std::int32_t>& codes) {
  GetAvailableValueCodes(ValueCodeSourcesOf(blocks.waveForm, blocks.fftBand, chCount), emgRequired, codes);
}

int GetStageDetail(const StageTypeParam& stageType, int code, std::uint32_t out[6]) {
  return GetStageDetail(StageImage(stageType), code, out);
}

int GetShowStageNum(const StageTypeParam& stageType, int& outStages, int& outExtra) {
  return GetShowStageNum(StageImage(stageType), outStages, outExtra);
}

int GetScoredEpochNum(const LyrEpochParameter& tables, const StageTypeParam& stageType) {
  return GetScoredEpochNum(tables, stageType.stageType);
}
