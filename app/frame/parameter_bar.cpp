#include "app/frame/parameter_bar.h"

#include <algorithm>
#include <cstdio>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/main_frame.h"
#include "platform/res/resource_store.h"

namespace {

constexpr std::uint32_t kStrNone = 2064;
constexpr std::uint32_t kStrTime = 2134;
constexpr std::uint32_t kStrCount = 2135;

bool BandBlockHolds(const FFTBandParam& fft, int band) { return fft.bandCount >= 1 && fft.bandCount <= 6 && band <= fft.bandCount; }

// A band is named after its band record only while a channel is flagged for the FFT.
bool AnyFftChannel(const FFTBandParam& fft) {
  return std::find(fft.channelSwitch.begin(), fft.channelSwitch.end(), 1) != fft.channelSwitch.end();
}

std::string Format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

std::string FormatCount(long value) {
  char text[32];
  std::snprintf(text, sizeof text, " %ld", value);
  return text;
}

// Wave group and whether the code is its count (else its share of time).
struct WaveCode {
  int group;
  bool count;
};
bool WaveOfCode(std::uint16_t code, WaveCode& out) {
  switch (code) {
    case 1: out = {kWaveDelta, false}; return true;
    case 2: out = {kWaveTheta, false}; return true;
    case 3: out = {kWaveAlpha, false}; return true;
    case 4: out = {kWaveSpindle, true}; return true;
    case 5: out = {kWaveBand1, false}; return true;
    case 6: out = {kWaveBand1, true}; return true;
    case 7: out = {kWaveBand2, false}; return true;
    case 8: out = {kWaveBand2, true}; return true;
    case 9: out = {kWaveBand3, false}; return true;
    case 10: out = {kWaveBand3, true}; return true;
    default: return false;
  }
}

}  // namespace

std::uint16_t IsParameterCodeInRange(std::uint16_t code) { return code <= 32 ? code : 0; }

std::string BuildParameterName(std::uint16_t code, const AnalysisParamBlocks& params) {
  const auto s = [](std::uint32_t id) { return res::LoadString(id); };
  const auto& bands = params.waveForm.bands;
  switch (code) {
    case 0: return s(kStrNone);
    case 1: return s(2054) + s(kStrTime);
    case 2: return s(2055) + s(kStrTime);
    case 3: return s(2053) + s(kStrTime);
    case 4: return s(2056) + s(kStrCount);
    case 5: return bands[WaveFormRecognitionParam::kBand1].name + s(kStrTime);
    case 6: return bands[WaveFormRecognitionParam::kBand1].name + s(kStrCount);
    case 7: return bands[WaveFormRecognitionParam::kBand2].name + s(kStrTime);
    case 8: return bands[WaveFormRecognitionParam::kBand2].name + s(kStrCount);
    case 9: return bands[WaveFormRecognitionParam::kBand3].name + s(kStrTime);
    case 10: return bands[WaveFormRecognitionParam::kBand3].name + s(kStrCount);
    case 11: return s(2060) + s(kStrCount);
    case 12: return s(2137) + s(kStrCount);
    case 13: return s(2063) + s(2136);
    case 26: return s(2256);
    case 27: return s(2257);
    case 28: return s(2258);
    case 29: return s(2260);
    case 30: return s(2261);
    case 31: return s(2259);
    case 32: return s(2502);
    default: break;
  }
  if (code >= 14 && code <= 25) {
    const int b = (code - 14) / 2 + 1;
    const std::string kind = s(code % 2 == 0 ? 2501 : 2505);
    if (AnyFftChannel(params.fftBand) && BandBlockHolds(params.fftBand, b)) return "FFT-" + params.fftBand.bands[static_cast<std::size_t>(b - 1)].name + kind;
    return s(2500) + std::to_string(b) + kind;
  }
  return {};
}

ParameterValueText FormatParameterValue(std::uint16_t code, std::uint16_t channel, const LyrEpochRec& wave,
                                        const EpochBandBlock& bands, const EpochChannelStatsRecord& stats,
                                        const AnalysisParamBlocks& params, int channelCount,
                                        std::int32_t epochSeconds) {
  ParameterValueText out;
  if (code == 0) return out;
  const std::string none = res::LoadString(kStrNone);
  const auto& waveBands = params.waveForm.bands;
  WaveCode w{};
  if (WaveOfCode(code, w)) {
    const BandWaveRecord& rec = waveBands[static_cast<std::size_t>(w.group)];
    if (rec.channel == -1) {
      out.text = none;
      return out;
    }
    const LyrWaveStats& st = wave.wave[w.group];
    out.text = w.count ? FormatCount(st.count)
                       : Format(" %.1f", epochSeconds > 0 ? st.durationMs * 100.0 / (epochSeconds * 1000.0) : 0.0);
    out.colour = rec.colour;
    return out;
  }
  if (code == 11) {
    if (params.waveForm.kComplex.channel == -1) {
      out.text = none;
      return out;
    }
    out.text = FormatCount(wave.kComplex.count);
    out.colour = params.waveForm.kComplex.colour;
    return out;
  }
  if (code == 12) {
    out.text = (params.waveForm.eogRight.channel != -1 || params.waveForm.eogLeft.channel != -1)
                   ? FormatCount(wave.remsBoth)
                   : none;
    return out;
  }
  if (code == 13) {
    out.text = params.waveForm.emgChannel != -1 ? Format(" %.3f", wave.emg) : none;
    return out;
  }
  if (code >= 14 && code <= 25) {
    const int b = (code - 14) / 2 + 1;
    if (!BandBlockHolds(params.fftBand, b) || channel >= 32) {
      out.text = none;
      return out;
    }
    const int row = code % 2 == 0 ? b - 1 : 6 + b - 1;
    out.text = Format(" %.3f", bands.value[row][channel]);
    return out;
  }
  if (code >= 26 && code <= 32) {
    if (channel >= channelCount || channel >= 32 ||
        (code == 30 && params.chDispMode.entries[channel].mode == 2)) {
      out.text = none;
      return out;
    }
    double v = 0.0;
    switch (code) {
      case 26: v = stats.minimum[channel]; break;
      case 27: v = stats.maximum[channel]; break;
      case 28: v = stats.mean[channel]; break;
      case 29: v = stats.integral[channel]; break;
      case 30: v = stats.crossCount[channel]; break;
      case 31: v = stats.absMaximum[channel]; break;
      default: v = stats.cvPercent[channel]; break;
    }
    out.text = Format(" %.3f", v);
    return out;
  }
  return out;
}
