#include "app/document/epoch_values.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

double Percent(float durationMs, int epochSeconds) {
  if (epochSeconds <= 0) return kEpochValueNotAvailable;
  return static_cast<double>(durationMs) * 100.0 / (static_cast<double>(epochSeconds) * 1000.0);
}

double RecordValue(const LyrEpochRec& r, int code, int epochSeconds) {
  switch (code) {
    case 1: return Percent(r.wave[kWaveDelta].durationMs, epochSeconds);
    case 2: return Percent(r.wave[kWaveTheta].durationMs, epochSeconds);
    case 3: return Percent(r.wave[kWaveAlpha].durationMs, epochSeconds);
    case 4: return r.wave[kWaveSpindle].count;
    case 5: return Percent(r.wave[kWaveBand1].durationMs, epochSeconds);
    case 6: return r.wave[kWaveBand1].count;
    case 7: return Percent(r.wave[kWaveBand2].durationMs, epochSeconds);
    case 8: return r.wave[kWaveBand2].count;
    case 9: return Percent(r.wave[kWaveBand3].durationMs, epochSeconds);
    case 10: return r.wave[kWaveBand3].count;
    case 11: return r.kComplex.count;
    case 12: return r.remsBoth;
    case 13: return r.emg;
    default: return kEpochValueNotAvailable;
  }
}

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The stage-type block: record sets of the four stage types and the free stages.
constexpr std::size_t kStageRecordBytes = 24;
constexpr std::size_t kSetOffsets[4] = {4, 172, 316, 436};
constexpr int kSetSizes[4] = {7, 6, 5, 4};
constexpr std::size_t kFreeCountOffset = 532;
constexpr std::size_t kFreeRecordsOffset = 536;
constexpr int kShownValue = 3;  // value 3 of a record: shown in the hypnogram
// Stage codes of each set, in record order.
constexpr std::array<std::array<int, 7>, 4> kSetCodes = {{{1, 2, 3, 4, 5, 6, 7},
                                                          {1, 2, 3, 4, 5, 7, 0},
                                                          {1, 2, 3, 5, 7, 0, 0},
                                                          {1, 2, 3, 7, 0, 0, 0}}};

int StageSet(std::span<const std::uint8_t> block) {
  return std::min<int>(ReadU16(block, 0), 3);
}

// Byte offset of a code's record under the block's stage type, or 0 for none.
std::size_t StageRecordOffset(std::span<const std::uint8_t> block, int code) {
  if (code >= 21 && code <= 27) code -= 20;
  if (code >= 8 && code <= 10) return kFreeRecordsOffset + static_cast<std::size_t>(code - 8) * kStageRecordBytes;
  const int set = StageSet(block);
  for (int i = 0; i < kSetSizes[set]; ++i)
    if (kSetCodes[static_cast<std::size_t>(set)][static_cast<std::size_t>(i)] == code)
      return kSetOffsets[set] + static_cast<std::size_t>(i) * kStageRecordBytes;
  return 0;
}

}  // namespace

int GetSelectedChIndex(int channel, std::span<const std::uint16_t> flags, int chCount) {
  const int n = std::min(chCount, static_cast<int>(flags.size()));
  if (channel < 0 || channel >= n || flags[static_cast<std::size_t>(channel)] != 1) return -1;
  return static_cast<int>(std::count(flags.begin(), flags.begin() + channel, std::uint16_t{1}));
}

double GetEpochValue(const LyrEpochParameter& tables, const EpochValueContext& ctx, int epoch, int code,
                     int channel) {
  if (code >= 1 && code <= 13) {
    const LyrEpochRec* rec = tables.Record(epoch);
    return rec != nullptr ? RecordValue(*rec, code, ctx.epochSeconds) : kEpochValueNotAvailable;
  }
  if (code < 14 || code > 32 || channel < 0 || channel >= tables.ChCount()) return kEpochValueNotAvailable;
  const auto ch = static_cast<std::size_t>(channel);
  if (code <= 25) {
    const int rank = GetSelectedChIndex(channel, ctx.fftBandFlags, tables.ChCount());
    if (rank < 0 || rank >= std::max(tables.BandChCount(), 1)) return kEpochValueNotAvailable;
    const int band = (code - 14) / 2;
    const int entry = (code - 14) % 2 == 0 ? band : kBandCount + band;
    const float* values = tables.BandValues(epoch, entry);
    return values != nullptr ? values[rank] : kEpochValueNotAvailable;
  }
  if (code == 30) {
    if (ch < ctx.chDispModes.size() && ctx.chDispModes[ch] == 2) return kEpochValueNotAvailable;
    const std::uint16_t* counts = tables.ChCrossCount(epoch);
    return counts != nullptr ? counts[ch] : kEpochValueNotAvailable;
  }
  static constexpr int kKindOfCode[] = {kChMin, kChMax, kChMean, kChIntegral, kChCrossCount, kChAbsMax,
                                        kChCoefVariation};  // codes 26..32
  const float* values = tables.ChValues(epoch, kKindOfCode[code - 26]);
  return values != nullptr ? values[ch] : kEpochValueNotAvailable;
}

void GetAvailableValueCodes(const ValueCodeSources& s, int emgRequired, std::vector<std::int32_t>& codes) {
  codes.clear();
  codes.push_back(0);
  if (s.delta != -1) codes.push_back(1);
  if (s.theta != -1) codes.push_back(2);
  if (s.alpha != -1) codes.push_back(3);
  if (s.spindle != -1) codes.push_back(4);
  if (s.band1 != -1) codes.insert(codes.end(), {5, 6});
  if (s.band2 != -1) codes.insert(codes.end(), {7, 8});
  if (s.band3 != -1) codes.insert(codes.end(), {9, 10});
  if (s.kComplex != -1) codes.push_back(11);
  if (s.eyeR != -1 && s.eyeL != -1) codes.push_back(12);
  if (emgRequired == 0 || s.emg != -1) codes.push_back(13);
  const bool anyBandChannel = std::find(s.fftBandFlags.begin(), s.fftBandFlags.end(), 1) != s.fftBandFlags.end();
  if (anyBandChannel) {
    const int bands = std::clamp(s.fftBandCount, 0, kBandCount);
    for (int i = 0; i < bands; ++i) codes.insert(codes.end(), {14 + 2 * i, 15 + 2 * i});
  }
  for (int code = 26; code <= 32; ++code) codes.push_back(code);
}

int GetStageDetail(std::span<const std::uint8_t> block, int code, std::uint32_t out[6]) {
  if (block.size() < kStageTypeBlockBytes) return 0;
  const std::size_t at = StageRecordOffset(block, code);
  if (at == 0) return 0;
  for (std::size_t v = 0; v < 6; ++v) out[v] = ReadU32(block, at + v * 4);
  return 1;
}

int GetShowStageNum(std::span<const std::uint8_t> block, int& outStages, int& outExtra) {
  outStages = outExtra = 0;
  if (block.size() < kStageTypeBlockBytes) return 0;
  const int set = StageSet(block);
  for (int i = 0; i < kSetSizes[set]; ++i)
    if (ReadU32(block, kSetOffsets[set] + static_cast<std::size_t>(i) * kStageRecordBytes + kShownValue * 4) != 0)
      ++outStages;
  const int freeCount = std::min<int>(ReadU16(block, kFreeCountOffset), 3);
  for (int i = 0; i < freeCount; ++i)
    if (ReadU32(block, kFreeRecordsOffset + static_cast<std::size_t>(i) * kStageRecordBytes + kShownValue * 4) != 0)
      ++outExtra;
  return outStages + outExtra;
}

int GetScoredEpochNum(const LyrEpochParameter& tables, int stageType) {
  int n = 0;
  while (n < tables.EpochCount()) {
    const std::uint8_t stage = tables.GetStage(stageType, n, 0);
    if (stage == 0 || stage == 20) break;
    ++n;
  }
  return n;
}

int GetRecordSec(std::span<const ChannelLength> channels) {
  if (channels.empty()) return -1;
  std::int64_t shortest = std::numeric_limits<std::int64_t>::max();
  for (const ChannelLength& c : channels) {
    const std::int64_t seconds = c.sampleRateHz > 0 ? c.sampleCount / c.sampleRateHz : 0;
    shortest = std::min(shortest, seconds);
  }
  return static_cast<int>(std::clamp<std::int64_t>(shortest, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}
