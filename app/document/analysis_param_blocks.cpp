#include "app/document/analysis_param_blocks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/document/byte_image.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"

using bytes::Get;
using bytes::GetText;
using bytes::Put;
using bytes::PutText;

namespace {

// Sub-image of `n` bytes at `off`, for the records nested in a block.
template <std::size_t N, class T, std::size_t M>
std::span<T, N> Sub(std::span<T, M> b, std::size_t off) {
  return std::span<T, N>(b.data() + off, N);
}

void Clear(bytes::Span b) { std::memset(b.data(), 0, b.size()); }

template <class T>
T ClampTo(T v, T lo, T hi) { return std::min(std::max(v, lo), hi); }

std::string FirstChars(const std::string& text, int count) {
  std::size_t pos = 0;
  for (int i = 0; i < count && pos < text.size(); ++i) {
    char32_t c;
    pos += sys::DecodeUtf8Char(text, pos, c);
  }
  return text.substr(0, pos);
}

std::int32_t RepairChannel(std::int32_t ch, int channelCount) { return ch >= channelCount ? -1 : ch; }

}  // namespace

// ---- StageRecord / StageTypeParam ------------------------------------------------------------

void StageRecord::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  PutText(b, 0, 4, name);
  Put<std::uint32_t>(b, 4, colour);
  Put<std::uint16_t>(b, 8, lineWeight);
  Put<std::uint32_t>(b, 12, showInHypnogram);
  Put<std::uint16_t>(b, 16, showOrder);
  Put<std::uint16_t>(b, 18, lineBetweenStages);
  Put<std::uint32_t>(b, 20, key);
}

void StageRecord::Load(std::span<const std::uint8_t, kSize> b) {
  name = GetText(b, 0, 4);
  colour = Get<std::uint32_t>(b, 4);
  lineWeight = Get<std::uint16_t>(b, 8);
  showInHypnogram = Get<std::uint32_t>(b, 12);
  showOrder = Get<std::uint16_t>(b, 16);
  lineBetweenStages = Get<std::uint16_t>(b, 18);
  key = Get<std::uint32_t>(b, 20);
}

void StageTypeParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, stageType);
  for (std::size_t i = 0; i < records.size(); ++i)
    records[i].Store(Sub<StageRecord::kSize>(b, 4 + i * StageRecord::kSize));
  Put<std::uint16_t>(b, 532, sharedInUse);
  for (std::size_t i = 0; i < shared.size(); ++i)
    shared[i].Store(Sub<StageRecord::kSize>(b, 536 + i * StageRecord::kSize));
}

void StageTypeParam::Load(std::span<const std::uint8_t, kSize> b) {
  stageType = Get<std::uint16_t>(b, 0);
  for (std::size_t i = 0; i < records.size(); ++i)
    records[i].Load(Sub<StageRecord::kSize>(b, 4 + i * StageRecord::kSize));
  sharedInUse = Get<std::uint16_t>(b, 532);
  for (std::size_t i = 0; i < shared.size(); ++i)
    shared[i].Load(Sub<StageRecord::kSize>(b, 536 + i * StageRecord::kSize));
}

void StageTypeParam::Sanitize() {
  if (stageType > 3) stageType = 3;
  if (sharedInUse > kFreeStageCount) sharedInUse = kFreeStageCount;
}

void SetDefaultStageTypeParam(StageTypeParam* block) {
  // Record sets per stage type: short-name string ids, colours and digit keys.
  struct Def { std::uint32_t nameId; std::uint32_t colour; std::uint32_t key; };
  static const Def kSet0[] = {{2100, 0x000000, 2000}, {2101, 0x0000FF, 2005}, {2102, 0x008080, 2001},
                              {2103, 0x808000, 2002}, {2104, 0x800000, 2003}, {2105, 0x000080, 2004},
                              {2106, 0x404040, 2006}};
  static const Def kSet1[] = {{2100, 0x000000, 2000}, {2101, 0x0000FF, 2005}, {2102, 0x008080, 2001},
                              {2103, 0x808000, 2002}, {2108, 0x800000, 2003}, {2106, 0x404040, 2006}};
  static const Def kSet2[] = {{2100, 0x000000, 2000}, {2101, 0x0000FF, 2005}, {2107, 0x008080, 2001},
                              {2108, 0x800000, 2003}, {2106, 0x404040, 2006}};
  static const Def kSet3[] = {{2100, 0x000000, 2000}, {2101, 0x0000FF, 2005}, {2109, 0x008080, 2001},
                              {2106, 0x404040, 2006}};
  static const std::span<const Def> kSets[] = {kSet0, kSet1, kSet2, kSet3};

  auto make = [](const Def& d, int order) {
    StageRecord r;
    std::string name = res::LoadString(d.nameId);
    r.name = FirstChars(name, 2);  // at most 2 characters are kept
    r.colour = d.colour;
    r.lineWeight = 1;
    r.showInHypnogram = 1;
    r.showOrder = static_cast<std::uint16_t>(order);
    r.lineBetweenStages = 0;
    r.key = d.key;
    return r;
  };

  block->stageType = (QLM_PRODUCT_EDITION >= 10 && QLM_PRODUCT_EDITION <= 12) ? 3 : 0;
  for (int k = 0; k < StageTypeParam::kSetCount; ++k) {
    auto set = block->Set(k);
    for (std::size_t i = 0; i < set.size(); ++i) set[i] = make(kSets[k][i], int(i) + 1);
  }
  block->sharedInUse = 0;
  for (int i = 0; i < StageTypeParam::kFreeStageCount; ++i)
    block->shared[i] = make({2129u + std::uint32_t(i), 0x000000, 2007u + std::uint32_t(i)}, 8 + i);
}

std::array<std::string, 10> CheckStageTypeParam(StageTypeParam* block) {
  std::vector<StageRecord*> records;
  for (StageRecord& r : block->Set(std::min<int>(block->stageType, StageTypeParam::kSetCount - 1)))
    records.push_back(&r);
  for (int i = 0; i < std::min<int>(block->sharedInUse, StageTypeParam::kFreeStageCount); ++i)
    records.push_back(&block->shared[i]);
  std::array<std::string, 10> labels;
  for (StageRecord* r : records) {
    if (r->key >= 61446 && r->key <= 61455) r->key = 2000 + (r->key - 61446);
    if (r->key >= 2000 && r->key <= 2009) labels[r->key - 2000] = r->name;
  }
  return labels;
}

// ---- Per-channel display blocks ---------------------------------------------------------------

void ChDispScaleParam::Store(std::span<std::uint8_t, kSize> b) const {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Put<std::uint32_t>(b, i * 8, entries[i].word);
    Put<float>(b, i * 8 + 4, entries[i].value);
  }
}
void ChDispScaleParam::Load(std::span<const std::uint8_t, kSize> b) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].word = Get<std::uint32_t>(b, i * 8);
    entries[i].value = Get<float>(b, i * 8 + 4);
  }
}
void ChDispModeParam::Store(std::span<std::uint8_t, kSize> b) const {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Put<std::uint32_t>(b, i * 8, entries[i].mode);
    Put<std::uint32_t>(b, i * 8 + 4, entries[i].value);
  }
}
void ChDispModeParam::Load(std::span<const std::uint8_t, kSize> b) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].mode = Get<std::uint32_t>(b, i * 8);
    entries[i].value = Get<std::uint32_t>(b, i * 8 + 4);
  }
}
void SetDefaultChDispScale(ChDispScaleParam* block) { block->entries.fill({0, 1000.0f}); }
void SetDefaultChDispMode(ChDispModeParam* block) { block->entries.fill({2, 0}); }

// ---- Spectra ----------------------------------------------------------------------------------

void FrequencyBand::Store(std::span<std::uint8_t, kSize> b) const {
  PutText(b, 0, 16, name);
  Put<double>(b, 16, fromHz);
  Put<double>(b, 24, toHz);
}
void FrequencyBand::Load(std::span<const std::uint8_t, kSize> b) {
  name = GetText(b, 0, 16);
  fromHz = Get<double>(b, 16);
  toHz = Get<double>(b, 24);
}

namespace {
void StoreBands(bytes::Span b, std::size_t off, const std::array<FrequencyBand, 6>& bands) {
  for (std::size_t i = 0; i < bands.size(); ++i)
    bands[i].Store(Sub<FrequencyBand::kSize>(b, off + i * FrequencyBand::kSize));
}
void LoadBands(bytes::CSpan b, std::size_t off, std::array<FrequencyBand, 6>& bands) {
  for (std::size_t i = 0; i < bands.size(); ++i)
    bands[i].Load(Sub<FrequencyBand::kSize>(b, off + i * FrequencyBand::kSize));
}
FrequencyBand Band(std::uint32_t nameId, double from, double to) {
  return {res::LoadString(nameId), from, to};
}
}  // namespace

void FFTBandParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  bytes::PutArray(b, 0, channelSwitch);
  Put<std::uint16_t>(b, 64, averagingCount);
  Put<std::uint32_t>(b, 68, fftPoints);
  Put<std::uint16_t>(b, 72, windowType);
  Put<std::uint16_t>(b, 74, unit);
  Put<std::uint16_t>(b, 76, bandCount);
  StoreBands(b, 80, bands);
  Put<std::uint16_t>(b, 272, contentRange);
  Put<float>(b, 276, optionalFromHz);
  Put<float>(b, 280, optionalToHz);
}

void FFTBandParam::Load(std::span<const std::uint8_t, kSize> b) {
  bytes::GetArray(b, 0, channelSwitch);
  averagingCount = Get<std::uint16_t>(b, 64);
  fftPoints = Get<std::uint32_t>(b, 68);
  windowType = Get<std::uint16_t>(b, 72);
  unit = Get<std::uint16_t>(b, 74);
  bandCount = Get<std::uint16_t>(b, 76);
  LoadBands(b, 80, bands);
  contentRange = Get<std::uint16_t>(b, 272);
  optionalFromHz = Get<float>(b, 276);
  optionalToHz = Get<float>(b, 280);
}

void FFTBandParam::Sanitize() { bandCount = ClampTo<std::uint16_t>(bandCount, 1, 6); }

void SetDefaultFFTBandParam(std::uint16_t mode, FFTBandParam* block, int channelCount) {
  if (mode != 0) {
    for (int c = std::max(channelCount, 0); c < 32; ++c) block->channelSwitch[c] = 0;
    return;
  }
  *block = FFTBandParam{};
  block->bands = {Band(2054, 0.25, 2.0), Band(2055, 2.0, 8.0), Band(2053, 8.0, 13.0), {}, {}, {}};
}

void FFTPageParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, simpleAveraging);
  Put<std::uint32_t>(b, 4, simpleFftPoints);
  Put<float>(b, 8, simpleUpperHz);
  Put<std::uint16_t>(b, 12, epochAveraging);
  Put<std::uint32_t>(b, 16, epochFftPoints);
  Put<float>(b, 20, epochUpperHz);
  Put<std::uint16_t>(b, 24, dividedPerEpoch);
  Put<std::uint16_t>(b, 26, dividedCount);
  Put<std::uint16_t>(b, 28, dividedAveraging);
  Put<std::uint32_t>(b, 32, dividedFftPoints);
  Put<float>(b, 36, dividedUpperHz);
  Put<std::uint16_t>(b, 40, dividedShowValues);
  Put<std::uint16_t>(b, 42, windowType);
  Put<std::uint16_t>(b, 44, unit);
  Put<std::uint16_t>(b, 46, bandCount);
  StoreBands(b, 48, bands);
  bytes::PutArray(b, 240, bandColours);
  Put<std::uint32_t>(b, 264, outsideColour);
  Put<std::uint16_t>(b, 268, showContent);
  Put<std::uint16_t>(b, 270, contentMode);
  Put<float>(b, 272, contentFromHz);
  Put<float>(b, 276, contentToHz);
}

void FFTPageParam::Load(std::span<const std::uint8_t, kSize> b) {
  simpleAveraging = Get<std::uint16_t>(b, 0);
  simpleFftPoints = Get<std::uint32_t>(b, 4);
  simpleUpperHz = Get<float>(b, 8);
  epochAveraging = Get<std::uint16_t>(b, 12);
  epochFftPoints = Get<std::uint32_t>(b, 16);
  epochUpperHz = Get<float>(b, 20);
  dividedPerEpoch = Get<std::uint16_t>(b, 24);
  dividedCount = Get<std::uint16_t>(b, 26);
  dividedAveraging = Get<std::uint16_t>(b, 28);
  dividedFftPoints = Get<std::uint32_t>(b, 32);
  dividedUpperHz = Get<float>(b, 36);
  dividedShowValues = Get<std::uint16_t>(b, 40);
  windowType = Get<std::uint16_t>(b, 42);
  unit = Get<std::uint16_t>(b, 44);
  bandCount = Get<std::uint16_t>(b, 46);
  LoadBands(b, 48, bands);
  bytes::GetArray(b, 240, bandColours);
  outsideColour = Get<std::uint32_t>(b, 264);
  showContent = Get<std::uint16_t>(b, 268);
  contentMode = Get<std::uint16_t>(b, 270);
  contentFromHz = Get<float>(b, 272);
  contentToHz = Get<float>(b, 276);
}

void FFTPageParam::Sanitize() { bandCount = ClampTo<std::uint16_t>(bandCount, 1, 6); }

void FFTPageChannelValues::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, word);
  bytes::PutArray(b, 4, lower);
  bytes::PutArray(b, 132, upper);
}
void FFTPageChannelValues::Load(std::span<const std::uint8_t, kSize> b) {
  word = Get<std::uint16_t>(b, 0);
  bytes::GetArray(b, 4, lower);
  bytes::GetArray(b, 132, upper);
}
void FFTPageSelection::Store(std::span<std::uint8_t, kSize> b) const { bytes::PutArray(b, 0, flags); }
void FFTPageSelection::Load(std::span<const std::uint8_t, kSize> b) { bytes::GetArray(b, 0, flags); }
void FFTPageChannels::Store(std::span<std::uint8_t, kSize> b) const { bytes::PutArray(b, 0, channels); }
void FFTPageChannels::Load(std::span<const std::uint8_t, kSize> b) { bytes::GetArray(b, 0, channels); }

void SetDefaultFFTPageParam(std::uint16_t mode, AnalysisParamBlocks* blocks, int epochsPerPage,
                            std::span<const std::int32_t> rates) {
  if (mode == 0 || mode == 1) {
    FFTPageParam& p = blocks->fftPage;
    p = FFTPageParam{};
    p.dividedCount = static_cast<std::uint16_t>(std::max(epochsPerPage, 0));
    p.bands = {Band(2054, 0.75, 4.0), Band(2055, 6.0, 10.0), Band(2053, 12.0, 14.0), {}, {}, {}};
    p.bandColours = {0xFFFF00, 0x008080, 0x00FF00, 0xFF00FF, 0xFFFFFF, 0xFFFFFF};
    if (mode == 1) {
      blocks->fftPageSelection = FFTPageSelection{};
      blocks->fftPageChannels = FFTPageChannels{};
      blocks->fftPageChannelValues.lower.fill(50.0f);
      blocks->fftPageChannelValues.upper.fill(500.0f);
    }
    return;
  }
  // Repair: channels outside the recording go, and so does any later channel whose sampling
  // rate differs from the first valid one, so that the divided page shows comparable spectra.
  const int channelCount = static_cast<int>(rates.size());
  auto& chans = blocks->fftPageChannels.channels;
  std::int32_t firstRate = -1;
  for (auto& ch : chans) {
    if (ch >= channelCount || ch < -1) ch = -1;
    if (ch < 0) continue;
    if (firstRate < 0) firstRate = rates[ch];
    else if (rates[ch] != firstRate) ch = -1;
  }
  auto& flags = blocks->fftPageSelection.flags;
  int first = -1;
  for (int c = 0; c < 32; ++c) {
    if (!flags[c]) continue;
    if (c >= channelCount) { flags[c] = 0; continue; }
    if (first < 0) first = c;
    else if (rates[c] != rates[first]) flags[c] = 0;
  }
}

// ---- Sleep disturbance ------------------------------------------------------------------------

namespace {
void StoreResp(bytes::Span b, std::size_t off, const SleepDstrbParam::Respiration& r) {
  Put<std::int32_t>(b, off, r.channel);
  for (std::size_t i = 0; i < r.values.size(); ++i) Put<double>(b, off + 8 + 8 * i, r.values[i]);
}
void LoadResp(bytes::CSpan b, std::size_t off, SleepDstrbParam::Respiration& r) {
  r.channel = Get<std::int32_t>(b, off);
  for (std::size_t i = 0; i < r.values.size(); ++i) r.values[i] = Get<double>(b, off + 8 + 8 * i);
}
void StorePeak(bytes::Span b, std::size_t off, const SleepDstrbParam::PeakEvent& e) {
  Put<std::int32_t>(b, off, e.channel);
  for (std::size_t i = 0; i < 3; ++i) Put<double>(b, off + 8 + 8 * i, e.values[i]);
}
void LoadPeak(bytes::CSpan b, std::size_t off, SleepDstrbParam::PeakEvent& e) {
  e.channel = Get<std::int32_t>(b, off);
  for (std::size_t i = 0; i < 3; ++i) e.values[i] = Get<double>(b, off + 8 + 8 * i);
}
}  // namespace

void SleepDstrbParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, version);
  bytes::PutArray(b, 4, eventColours);
  StoreResp(b, 40, airFlow);
  StoreResp(b, 104, chest);
  StoreResp(b, 168, abdomen);
  Put<std::int32_t>(b, 232, spo2Channel);
  Put<std::uint16_t>(b, 236, spo2Show);
  Put<double>(b, 240, spo2ShowLevel);
  Put<std::int32_t>(b, 248, cpapChannel);
  StorePeak(b, 256, snore);
  StorePeak(b, 288, legLeft);
  StorePeak(b, 320, legRight);
  Put<double>(b, 352, plmShortestS);
  Put<double>(b, 360, plmLongestS);
  Put<std::int32_t>(b, 368, lmLeastCount);
  Put<std::int32_t>(b, 376, ecgChannel);
  Put<double>(b, 384, ecgPeakLevel);
  Put<double>(b, 392, rWaveInvalidMs);
  Put<double>(b, 400, ecgAmplitudeMax);
  Put<std::uint16_t>(b, 408, ecgShowPeak);
  Put<std::uint16_t>(b, 410, lfhfTimeS);
  Put<std::uint16_t>(b, 412, lfhfPointsIndex);
  Put<std::uint16_t>(b, 414, lfhfAveraging);
  Put<std::uint16_t>(b, 416, lfhfWindow);
  Put<std::uint16_t>(b, 418, lfhfUnit);
  bytes::PutArray(b, 424, lfhfBands);
  Put<std::int32_t>(b, 456, positionChannel);
  Put<std::int32_t>(b, 460, positionsInUse);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    std::size_t off = 464 + i * Position::kSize;
    PutText(b, off, 16, positions[i].name);
    Put<double>(b, off + 16, positions[i].from);
    Put<double>(b, off + 24, positions[i].to);
  }
  StorePeak(b, 656, arousal);
  Put<std::uint16_t>(b, 688, arousalThreshold);
  Put<std::uint16_t>(b, 690, arousalShowPeak);
}

void SleepDstrbParam::Load(std::span<const std::uint8_t, kSize> b) {
  version = Get<std::uint16_t>(b, 0);
  bytes::GetArray(b, 4, eventColours);
  LoadResp(b, 40, airFlow);
  LoadResp(b, 104, chest);
  LoadResp(b, 168, abdomen);
  spo2Channel = Get<std::int32_t>(b, 232);
  spo2Show = Get<std::uint16_t>(b, 236);
  spo2ShowLevel = Get<double>(b, 240);
  cpapChannel = Get<std::int32_t>(b, 248);
  LoadPeak(b, 256, snore);
  LoadPeak(b, 288, legLeft);
  LoadPeak(b, 320, legRight);
  plmShortestS = Get<double>(b, 352);
  plmLongestS = Get<double>(b, 360);
  lmLeastCount = Get<std::int32_t>(b, 368);
  ecgChannel = Get<std::int32_t>(b, 376);
  ecgPeakLevel = Get<double>(b, 384);
  rWaveInvalidMs = Get<double>(b, 392);
  ecgAmplitudeMax = Get<double>(b, 400);
  ecgShowPeak = Get<std::uint16_t>(b, 408);
  lfhfTimeS = Get<std::uint16_t>(b, 410);
  lfhfPointsIndex = Get<std::uint16_t>(b, 412);
  lfhfAveraging = Get<std::uint16_t>(b, 414);
  lfhfWindow = Get<std::uint16_t>(b, 416);
  lfhfUnit = Get<std::uint16_t>(b, 418);
  bytes::GetArray(b, 424, lfhfBands);
  positionChannel = Get<std::int32_t>(b, 456);
  positionsInUse = Get<std::int32_t>(b, 460);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    std::size_t off = 464 + i * Position::kSize;
    positions[i].name = GetText(b, off, 16);
    positions[i].from = Get<double>(b, off + 16);
    positions[i].to = Get<double>(b, off + 24);
  }
  LoadPeak(b, 656, arousal);
  arousalThreshold = Get<std::uint16_t>(b, 688);
  arousalShowPeak = Get<std::uint16_t>(b, 690);
}

void SleepDstrbParam::Sanitize() {
  positionsInUse = ClampTo<std::int32_t>(positionsInUse, 1, 6);
  if (lfhfPointsIndex > 6) lfhfPointsIndex = 0;
}

void SetDefaultSleepDstrbParam(std::uint16_t mode, SleepDstrbParam* block, int channelCount) {
  if (mode != 0) {
    for (std::int32_t* ch : {&block->airFlow.channel, &block->chest.channel, &block->abdomen.channel,
                             &block->spo2Channel, &block->cpapChannel, &block->snore.channel,
                             &block->legLeft.channel, &block->legRight.channel, &block->ecgChannel,
                             &block->positionChannel, &block->arousal.channel})
      *ch = RepairChannel(*ch, channelCount);
    return;
  }
  SleepDstrbParam& p = *block;
  p = SleepDstrbParam{};
  p.eventColours = {0xFFFF00, 0x008080, 0xFF00FF, 0x00FF00, 0x00FF64, 0x0000FF, 0x0064FF, 0x00FF00};
  p.airFlow = {-1, {10.0, 50.0, 100.0, 4.0, 10.0, 10.0, 10.0}};
  p.chest = {-1, {10.0, 50.0, 100.0, 4.0, 10.0, 10.0, 0.0}};
  p.abdomen = p.chest;
  p.snore = p.legLeft = p.legRight = p.arousal = {-1, {20.0, 5.0, 10.0}};
  p.lfhfBands = {0.04, 0.15, 0.15, 0.4};
  static const std::uint32_t kPositionNames[] = {2073, 2074, 2075, 2076, 2077, 2078};
  for (int i = 0; i < 6; ++i) {
    p.positions[i].name = res::LoadString(kPositionNames[i]);
    p.positions[i].from = i < 5 ? i : 0;
    p.positions[i].to = i < 5 ? i + 1 : 0;
  }
}

// ---- Wave-form recognition --------------------------------------------------------------------

namespace {
void StoreBandWave(bytes::Span b, std::size_t r, const BandWaveRecord& w) {
  PutText(b, r, 12, w.name);
  Put<std::int32_t>(b, r + 12, w.channel);
  Put<std::uint16_t>(b, r + 16, w.show);
  Put<std::uint32_t>(b, r + 20, w.colour);
  Put<double>(b, r + 24, w.amplitudeMin);
  Put<double>(b, r + 32, w.amplitudeMax);
  Put<double>(b, r + 40, w.frequencyMinHz);
  Put<double>(b, r + 48, w.frequencyMaxHz);
  Put<double>(b, r + 56, w.peakDetectLevel);
  Put<std::int32_t>(b, r + 64, w.halfWaveCount);
  Put<std::uint16_t>(b, r + 68, w.showPeak);
  Put<std::uint16_t>(b, r + 70, w.emgCancel);
  Put<double>(b, r + 72, w.emgCancelLevel);
}
void LoadBandWave(bytes::CSpan b, std::size_t r, BandWaveRecord& w) {
  w.name = GetText(b, r, 12);
  w.channel = Get<std::int32_t>(b, r + 12);
  w.show = Get<std::uint16_t>(b, r + 16);
  w.colour = Get<std::uint32_t>(b, r + 20);
  w.amplitudeMin = Get<double>(b, r + 24);
  w.amplitudeMax = Get<double>(b, r + 32);
  w.frequencyMinHz = Get<double>(b, r + 40);
  w.frequencyMaxHz = Get<double>(b, r + 48);
  w.peakDetectLevel = Get<double>(b, r + 56);
  w.halfWaveCount = Get<std::int32_t>(b, r + 64);
  w.showPeak = Get<std::uint16_t>(b, r + 68);
  w.emgCancel = Get<std::uint16_t>(b, r + 70);
  w.emgCancelLevel = Get<double>(b, r + 72);
}
void StoreEog(bytes::Span b, std::size_t r, const EogRecord& e) {
  PutText(b, r, 12, e.name);
  Put<std::int32_t>(b, r + 12, e.channel);
  Put<std::uint16_t>(b, r + 16, e.show);
  Put<std::uint32_t>(b, r + 20, e.colour);
  Put<double>(b, r + 24, e.amplitudeMin);
  Put<double>(b, r + 32, e.detectAngle);
  Put<double>(b, r + 40, e.durationMinMs);
  Put<double>(b, r + 48, e.durationMaxMs);
  Put<std::uint16_t>(b, r + 56, e.showPeak);
}
void LoadEog(bytes::CSpan b, std::size_t r, EogRecord& e) {
  e.name = GetText(b, r, 12);
  e.channel = Get<std::int32_t>(b, r + 12);
  e.show = Get<std::uint16_t>(b, r + 16);
  e.colour = Get<std::uint32_t>(b, r + 20);
  e.amplitudeMin = Get<double>(b, r + 24);
  e.detectAngle = Get<double>(b, r + 32);
  e.durationMinMs = Get<double>(b, r + 40);
  e.durationMaxMs = Get<double>(b, r + 48);
  e.showPeak = Get<std::uint16_t>(b, r + 56);
}
}  // namespace

void WaveFormRecognitionParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, version);
  Put<std::uint16_t>(b, 2, precision);
  for (std::size_t i = 0; i < bands.size(); ++i) StoreBandWave(b, 8 + i * BandWaveRecord::kSize, bands[i]);
  const KComplexRecord& k = kComplex;
  PutText(b, 568, 12, k.name);
  Put<std::int32_t>(b, 580, k.channel);
  Put<std::uint16_t>(b, 584, k.show);
  Put<std::uint32_t>(b, 588, k.colour);
  Put<double>(b, 592, k.amplitudeMin);
  Put<double>(b, 600, k.amplitudeMax);
  Put<double>(b, 608, k.durationMinMs);
  Put<double>(b, 616, k.durationMaxMs);
  Put<double>(b, 624, k.peakDetectLevel);
  Put<std::uint16_t>(b, 632, k.showPeak);
  StoreEog(b, 640, eogRight);
  StoreEog(b, 704, eogLeft);
  PutText(b, 768, 12, emgName);
  Put<std::int32_t>(b, 780, emgChannel);
}

void WaveFormRecognitionParam::Load(std::span<const std::uint8_t, kSize> b) {
  version = Get<std::uint16_t>(b, 0);
  precision = Get<std::uint16_t>(b, 2);
  for (std::size_t i = 0; i < bands.size(); ++i) LoadBandWave(b, 8 + i * BandWaveRecord::kSize, bands[i]);
  KComplexRecord& k = kComplex;
  k.name = GetText(b, 568, 12);
  k.channel = Get<std::int32_t>(b, 580);
  k.show = Get<std::uint16_t>(b, 584);
  k.colour = Get<std::uint32_t>(b, 588);
  k.amplitudeMin = Get<double>(b, 592);
  k.amplitudeMax = Get<double>(b, 600);
  k.durationMinMs = Get<double>(b, 608);
  k.durationMaxMs = Get<double>(b, 616);
  k.peakDetectLevel = Get<double>(b, 624);
  k.showPeak = Get<std::uint16_t>(b, 632);
  LoadEog(b, 640, eogRight);
  LoadEog(b, 704, eogLeft);
  emgName = GetText(b, 768, 12);
  emgChannel = Get<std::int32_t>(b, 780);
}

void SetDefaultWaveFormRecognitionParam(std::uint16_t mode, WaveFormRecognitionParam* block,
                                        int channelCount) {
  if (mode != 0) {
    for (auto& w : block->bands) w.channel = RepairChannel(w.channel, channelCount);
    for (std::int32_t* ch : {&block->kComplex.channel, &block->eogRight.channel, &block->eogLeft.channel,
                             &block->emgChannel})
      *ch = RepairChannel(*ch, channelCount);
    return;
  }
  struct Def {
    std::uint32_t nameId; std::uint32_t colour; double aMin, aMax, fMin, fMax, peak;
    std::int32_t halfWaves; std::uint16_t emgCancel;
  };
  static const Def kBands[] = {
      {2054, 0xFFFF00, 75, 200, 0.25, 2.0, 40.0, 2, 1},   {2053, 0x00FF00, 15, 100, 8.0, 13.0, 10.0, 8, 0},
      {2055, 0x008080, 50, 120, 5.0, 10.0, 40.0, 4, 0},   {2056, 0xFF00FF, 12, 60, 12.0, 15.0, 10.0, 7, 0},
      {2057, 0x00FF00, 50, 200, 8.0, 13.0, 40.0, 10, 0},  {2058, 0xFF00FF, 270, 500, 2.0, 20.0, 250.0, 2, 0},
      {2059, 0xFF0000, 270, 500, 2.0, 20.0, 250.0, 2, 0}};
  WaveFormRecognitionParam& p = *block;
  p = WaveFormRecognitionParam{};
  for (std::size_t i = 0; i < p.bands.size(); ++i) {
    const Def& d = kBands[i];
    BandWaveRecord& w = p.bands[i];
    w = BandWaveRecord{};
    w.name = res::LoadString(d.nameId);
    w.colour = d.colour;
    w.amplitudeMin = d.aMin;
    w.amplitudeMax = d.aMax;
    w.frequencyMinHz = d.fMin;
    w.frequencyMaxHz = d.fMax;
    w.peakDetectLevel = d.peak;
    w.halfWaveCount = d.halfWaves;
    w.showPeak = 0;
    w.emgCancel = d.emgCancel;
    w.emgCancelLevel = 3.5;
  }
  p.kComplex = KComplexRecord{};
  p.kComplex.name = res::LoadString(2060);
  p.eogRight = EogRecord{};
  p.eogRight.name = res::LoadString(2061);
  p.eogRight.colour = 0x808000;
  p.eogLeft = EogRecord{};
  p.eogLeft.name = res::LoadString(2062);
  p.eogLeft.colour = 0xFF0000;
  p.emgName = res::LoadString(2063);
  p.emgChannel = -1;
}

// ---- Logic ------------------------------------------------------------------------------------

namespace {
void StoreTerm(bytes::Span b, std::size_t off, const LogicTerm& t) {
  Put<float>(b, off, t.lower);
  Put<std::uint16_t>(b, off + 4, t.lowerOp);
  Put<std::uint16_t>(b, off + 6, t.valueCode);
  Put<std::uint16_t>(b, off + 8, t.channel);
  Put<std::uint16_t>(b, off + 10, t.upperOp);
  Put<float>(b, off + 12, t.upper);
}
void LoadTerm(bytes::CSpan b, std::size_t off, LogicTerm& t) {
  t.lower = Get<float>(b, off);
  t.lowerOp = Get<std::uint16_t>(b, off + 4);
  t.valueCode = Get<std::uint16_t>(b, off + 6);
  t.channel = Get<std::uint16_t>(b, off + 8);
  t.upperOp = Get<std::uint16_t>(b, off + 10);
  t.upper = Get<float>(b, off + 12);
}
}  // namespace

void LogicCondition::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, mark);
  StoreTerm(b, 4, term1);
  Put<std::uint16_t>(b, 20, andSwitch);
  StoreTerm(b, 24, term2);
  Put<std::uint8_t>(b, 40, stage);
}

void LogicCondition::Load(std::span<const std::uint8_t, kSize> b) {
  mark = Get<std::uint16_t>(b, 0);
  LoadTerm(b, 4, term1);
  andSwitch = Get<std::uint16_t>(b, 20);
  LoadTerm(b, 24, term2);
  stage = Get<std::uint8_t>(b, 40);
}

void LogicParam::Store(std::span<std::uint8_t, kSize> b) const {
  for (std::size_t s = 0; s < sets.size(); ++s)
    for (std::size_t i = 0; i < sets[s].size(); ++i)
      sets[s][i].Store(Sub<LogicCondition::kSize>(b, (s * kConditionsPerSet + i) * LogicCondition::kSize));
}

void LogicParam::Load(std::span<const std::uint8_t, kSize> b) {
  for (std::size_t s = 0; s < sets.size(); ++s)
    for (std::size_t i = 0; i < sets[s].size(); ++i)
      sets[s][i].Load(Sub<LogicCondition::kSize>(b, (s * kConditionsPerSet + i) * LogicCondition::kSize));
}

void SetDefaultLogicParam(LogicParam* block) {
  // One condition: lower bound, lower operator, value code, upper operator, upper bound, stage.
  struct Def { float lower; std::uint16_t lowerOp, code, upperOp; float upper; std::uint8_t stage; };
  static constexpr Def kMovement{100.0f, 1, 13, 3, 10000.0f, 7};
  static constexpr Def kStage4{50.0f, 1, 1, 3, 100.0f, 6};
  static constexpr Def kSlow{20.0f, 1, 1, 2, 50.0f, 5};
  static constexpr Def kSlowDeep{20.0f, 1, 1, 3, 100.0f, 5};
  static constexpr Def kStage2{2.0f, 1, 4, 2, 30.0f, 4};
  static constexpr Def kRem{2.0f, 1, 12, 3, 20.0f, 2};
  static constexpr Def kWake{25.0f, 1, 3, 3, 100.0f, 1};
  static constexpr Def kOther{0.0f, 0, 0, 0, 0.0f, 3};
  static const std::vector<Def> kSets[] = {
      {kMovement, kStage4, kSlow, kStage2, kRem, kWake, kOther},
      {kMovement, kSlowDeep, kStage2, kRem, kWake, kOther},
      {kMovement, kSlowDeep, kRem, kWake, kOther},
      {kMovement, kRem, kWake, kOther}};
  for (std::size_t s = 0; s < 4; ++s) {
    for (auto& c : block->sets[s]) c = LogicCondition{};
    for (std::size_t i = 0; i < kSets[s].size(); ++i) {
      const Def& d = kSets[s][i];
      LogicCondition& c = block->sets[s][i];
      c.term1 = {d.lower, d.lowerOp, d.code, 0, d.upperOp, d.upper};
      c.term2 = c.term1;
      c.andSwitch = 0;
      c.stage = d.stage;
    }
  }
}

void LogicOptionParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, lastStageMode);
  Put<std::uint16_t>(b, 4, remSpindleRule);
  Put<float>(b, 8, remEmgLevel);
  Put<std::uint16_t>(b, 12, ceaseWithRemRule);
  Put<std::uint16_t>(b, 14, threeMinuteRule);
  Put<std::uint16_t>(b, 16, wakeNeighbourRule);
  Put<std::uint8_t>(b, 20, stageA);
  Put<std::uint8_t>(b, 21, stageB);
  Put<std::uint8_t>(b, 22, byte22);
  Put<std::uint8_t>(b, 23, stageC);
}

void LogicOptionParam::Load(std::span<const std::uint8_t, kSize> b) {
  lastStageMode = Get<std::uint16_t>(b, 0);
  remSpindleRule = Get<std::uint16_t>(b, 4);
  remEmgLevel = Get<float>(b, 8);
  ceaseWithRemRule = Get<std::uint16_t>(b, 12);
  threeMinuteRule = Get<std::uint16_t>(b, 14);
  wakeNeighbourRule = Get<std::uint16_t>(b, 16);
  stageA = Get<std::uint8_t>(b, 20);
  stageB = Get<std::uint8_t>(b, 21);
  byte22 = Get<std::uint8_t>(b, 22);
  stageC = Get<std::uint8_t>(b, 23);
}

void SetDefaultLogicOption(LogicOptionParam* block) { *block = LogicOptionParam{}; }

// ---- Marks and option words -------------------------------------------------------------------

void MarkTypeParam::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, triggerCount);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    std::size_t r = 4 + i * Item::kSize;
    Put<std::uint16_t>(b, r, it.triggerDetect);
    PutText(b, r + 2, 30, it.name);
    Put<std::uint16_t>(b, r + 32, it.show);
    Put<std::uint32_t>(b, r + 36, it.colour);
    Put<std::int16_t>(b, r + 40, it.triggerChannel);
    Put<std::uint16_t>(b, r + 42, it.direction);
    Put<float>(b, r + 44, it.triggerLevel);
    Put<float>(b, r + 48, it.invalidTimeS);
  }
}

void MarkTypeParam::Load(std::span<const std::uint8_t, kSize> b) {
  triggerCount = Get<std::uint16_t>(b, 0);
  for (std::size_t i = 0; i < items.size(); ++i) {
    Item& it = items[i];
    std::size_t r = 4 + i * Item::kSize;
    it.triggerDetect = Get<std::uint16_t>(b, r);
    it.name = GetText(b, r + 2, 30);
    it.show = Get<std::uint16_t>(b, r + 32);
    it.colour = Get<std::uint32_t>(b, r + 36);
    it.triggerChannel = Get<std::int16_t>(b, r + 40);
    it.direction = Get<std::uint16_t>(b, r + 42);
    it.triggerLevel = Get<float>(b, r + 44);
    it.invalidTimeS = Get<float>(b, r + 48);
  }
}

void MarkTypeParam::Sanitize() {
  if (triggerCount > items.size()) triggerCount = static_cast<std::uint16_t>(items.size());
}

void SetDefaultMarkTypeParam(std::uint16_t mode, MarkTypeParam* block, int channelCount) {
  if (mode != 0) {
    for (auto& it : block->items)
      if (it.triggerChannel >= channelCount) it.triggerChannel = -1;
    return;
  }
  static const std::uint32_t kColours[] = {0x85B1EF, 0x71A328, 0xD22D2C, 0x13DCF1, 0xA3289E,
                                           0xBB8CF2, 0x42897B, 0x008DFF, 0xC99D6D, 0xCC65B8};
  *block = MarkTypeParam{};
  for (std::size_t i = 0; i < block->items.size(); ++i) block->items[i].colour = kColours[i];
}

void DocumentOptionWords::Store(std::span<std::uint8_t, kSize> b) const {
  Clear(b);
  Put<std::uint16_t>(b, 0, first);
  for (std::size_t i = 0; i < gap.size(); ++i) Put<std::uint8_t>(b, 2 + i, gap[i]);
  Put<std::uint16_t>(b, 8, second);
  Put<std::uint16_t>(b, 10, third);
  Put<std::uint16_t>(b, 12, fourth);
  for (std::size_t i = 0; i < rest.size(); ++i) Put<std::uint8_t>(b, 14 + i, rest[i]);
}

void DocumentOptionWords::Load(std::span<const std::uint8_t, kSize> b) {
  first = Get<std::uint16_t>(b, 0);
  for (std::size_t i = 0; i < gap.size(); ++i) gap[i] = Get<std::uint8_t>(b, 2 + i);
  second = Get<std::uint16_t>(b, 8);
  third = Get<std::uint16_t>(b, 10);
  fourth = Get<std::uint16_t>(b, 12);
  for (std::size_t i = 0; i < rest.size(); ++i) rest[i] = Get<std::uint8_t>(b, 14 + i);
}

void SetDefaultOptionWords(DocumentOptionWords* block) {
  block->first = 1;
  block->gap.fill(0);
  block->second = 1;
  block->third = 1;
  block->fourth = 2;
}

void SetDefaultAllBlocks(AnalysisParamBlocks* blocks, int epochsPerPage) {
  SetDefaultStageTypeParam(&blocks->stageType);
  SetDefaultChDispScale(&blocks->chDispScale);
  SetDefaultChDispMode(&blocks->chDispMode);
  SetDefaultFFTBandParam(0, &blocks->fftBand, 0);
  SetDefaultMarkTypeParam(0, &blocks->markType, 0);
  SetDefaultSleepDstrbParam(0, &blocks->sleepDstrb, 0);
  SetDefaultWaveFormRecognitionParam(0, &blocks->waveForm, 0);
  SetDefaultLogicParam(&blocks->logic);
  SetDefaultLogicOption(&blocks->logicOption);
  SetDefaultFFTPageParam(1, blocks, epochsPerPage, {});
  SetDefaultOptionWords(&blocks->optionWords);
}
