#include "app/trend/lyr_trend_values.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <span>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/epoch_values.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/scoring/arousal_lm_snore.h"

namespace {

TrendValue Float(double v) { return TrendValue{1, 0, static_cast<float>(v)}; }
TrendValue Short(int v) { return TrendValue{0, static_cast<std::int16_t>(std::clamp(v, -32768, 32767)), 0.0f}; }

int SlotsPerEpoch(double slotSeconds) { return static_cast<int>(EpochSeconds / slotSeconds); }

// Record group of the wave categories 1..7.
int WaveGroup(int category) {
  switch (category) {
    case 1: return kWaveDelta;
    case 2: return kWaveTheta;
    case 3: return kWaveAlpha;
    case 4: return kWaveSpindle;
    case 5: return kWaveBand1;
    case 6: return kWaveBand2;
    case 7: return kWaveBand3;
    default: return -1;
  }
}

// The amplitude list of a respiration category (14 air flow, 15 chest, 16 abdomen).
const RespPeakTable* RespList(CQLM2_AnalyzerDoc& doc, int category) {
  SleepDstrbTables& t = doc.RecognitionTables;
  switch (category) {
    case 14: return &t.AirFlowPPAmp();
    case 15: return &t.RespCPPAmp();
    case 16: return &t.RespAPPAmp();
    default: return nullptr;
  }
}

std::span<const RespPeakEntry> Entries(const RespPeakTable& table) {
  const std::size_t n = std::min<std::size_t>(table.entries.size(), static_cast<std::size_t>(std::max(table.count, 0)));
  return {table.entries.data(), n};
}

// The first entry at or after a point (entries are in increasing position).
std::span<const RespPeakEntry>::iterator FirstAtOrAfter(std::span<const RespPeakEntry> entries, long long point) {
  return std::lower_bound(entries.begin(), entries.end(), point,
                          [](const RespPeakEntry& e, long long p) { return e.point < p; });
}

// Largest, smallest or mean of the valid levels of an epoch (FLT_MAX or more: no sample).
TrendValue LevelStatistic(const float* levels, int n, int sub) {
  if (levels == nullptr || n <= 0 || sub < 0 || sub > 2) return {};
  double sum = 0.0;
  float hi = -FLT_MAX, lo = FLT_MAX;
  int valid = 0;
  for (int i = 0; i < n; ++i) {
    const float v = levels[i];
    if (!(v < FLT_MAX)) continue;
    ++valid;
    sum += v;
    hi = std::max(hi, v);
    lo = std::min(lo, v);
  }
  if (valid == 0) return {};
  if (sub == 0) return Float(hi);
  if (sub == 1) return Float(lo);
  return Float(sum / valid);
}

}  // namespace

int LyrTrendGraphValues::EpochCount() const {
  return doc_ != nullptr && EpochSeconds > 0 ? doc_->GetDivNum(EpochSeconds) : 0;
}

void LyrTrendGraphValues::ResetRange() {
  runMax_ = -FLT_MAX;
  runMin_ = FLT_MAX;
}

TrendValue LyrTrendGraphValues::ValueOf(const TrendItemKey& item, int epoch) const {
  TrendValue v;
  const int c = item.category, s = item.sub;
  if (c >= 1 && c <= 7) v = GetWaveValue(c, s, epoch);
  else if (c == 8) v = GetEMGValue(epoch);
  else if (c == 9) v = GetREMsValue(s, epoch);
  else if (c == 10) v = GetKComplexValue(s, epoch);
  else if (c == 11 || c == 12) v = GetApneaValue(c, s, epoch);
  else if (c == 13) v = GetECGValue(s, epoch);
  else if (c >= 14 && c <= 16) {
    if (s == 1) v = GetRespMeanValue(c, epoch);
    else if (s == 3 || s == 5) v = GetRespIntervalValue(c, s, epoch);
  } else if (c == 17) {
    if (s == 1) v = GetMainPositionValue(epoch);
  } else if (c == 18) v = GetSpO2Value(s, epoch);
  else if (c == 19) v = GetCPAPValue(s, epoch);
  else if (c == 20) v = GetPLMsValue(s, item.third, epoch);
  else if (c == 21) v = GetFFTBandValue(s, item.third, epoch);
  else if (c == 22) v = GetFreeTrendValue(s, item.third, epoch);
  else if (c == 23) v = GetSnoreValue(s, epoch);
  else if (c == 24) v = GetArousalValue(s, epoch);
  return v;
}

TrendValue LyrTrendGraphValues::GetTrendValue(int epoch) {
  TrendValue v;
  if (doc_ != nullptr && epoch >= 0 && epoch < EpochCount()) v = ValueOf(TrendItemOfGraph(graph_), epoch);
  Widen(v);
  return v;
}

void LyrTrendGraphValues::GetTrendValues(int first, int count, TrendValue* out) {
  if (count <= 0) return;
  const TrendItemKey item = TrendItemOfGraph(graph_);
  const int epochs = doc_ != nullptr ? EpochCount() : 0;
  if (item.category == 8 && doc_ != nullptr) {
    // The EMG values straight from the records (GetEMGValue's, in one tight loop).
    const LyrEpochParameter& tables = doc_->EpochTables;
    const std::span<const LyrEpochRec> records = tables.Records();
    const int held = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(tables.EpochCount(), 0)),
                                                            records.size()));
    const int limit = std::min(epochs, held);
    // The range is widened in locals (the stores to out cannot touch it).
    float hi = runMax_, lo = runMin_;
    for (int i = 0; i < count; ++i) {
      const int epoch = first + i;
      TrendValue v;
      if (epoch >= 0 && epoch < limit) {
        const LyrEpochRec& rec = records[static_cast<std::size_t>(epoch)];
        // The records are read one after another: the ones a few epochs on are asked for now.
        __builtin_prefetch(&rec + 12);
        v = Float(rec.emg);
      }
      const float n = v.isFloat != 0 ? v.floatValue : static_cast<float>(v.value);
      if (n > hi) hi = n;
      if (n < lo) lo = n;
      out[i] = v;
    }
    runMax_ = hi;
    runMin_ = lo;
    return;
  }
  for (int i = 0; i < count; ++i) {
    const int epoch = first + i;
    TrendValue v;
    if (epoch >= 0 && epoch < epochs) v = ValueOf(item, epoch);
    Widen(v);
    out[i] = v;
  }
}

TrendValue LyrTrendGraphValues::GetWaveValue(int category, int sub, int epoch) const {
  const int group = WaveGroup(category);
  const LyrEpochRec* rec = doc_ != nullptr ? doc_->EpochTables.Record(epoch) : nullptr;
  if (group < 0 || rec == nullptr) return {};
  const LyrWaveStats& w = rec->wave[group];
  switch (sub) {
    case 0: return Float(w.durationMs / (EpochSeconds * 1000.0) * 100.0);
    case 1: return Short(w.count);
    case 2: return Float(w.durationMs);
    case 3: return Float(w.meanAmplitude);
    case 4: return Float(w.meanFrequencyHz);
    case 5: return Float(w.frequencyDeviationHz);
    default: return {};
  }
}

TrendValue LyrTrendGraphValues::GetEMGValue(int epoch) const {
  const LyrEpochRec* rec = doc_ != nullptr ? doc_->EpochTables.Record(epoch) : nullptr;
  return rec != nullptr ? Float(rec->emg) : TrendValue{};
}

TrendValue LyrTrendGraphValues::GetREMsValue(int sub, int epoch) const {
  const LyrEpochRec* rec = doc_ != nullptr ? doc_->EpochTables.Record(epoch) : nullptr;
  if (rec == nullptr) return {};
  if (sub == 0) return Short(rec->remsRight);
  if (sub == 1) return Short(rec->remsLeft);
  if (sub == 2) return Short(rec->remsBoth);
  return {};
}

TrendValue LyrTrendGraphValues::GetKComplexValue(int sub, int epoch) const {
  const LyrEpochRec* rec = doc_ != nullptr ? doc_->EpochTables.Record(epoch) : nullptr;
  if (rec == nullptr) return {};
  const LyrKComplexStats& k = rec->kComplex;
  switch (sub) {
    case 0: return Float(k.lastDurationMs / (EpochSeconds * 1000.0) * 100.0);
    case 1: return Short(k.count);
    case 2: return Float(k.lastDurationMs);
    case 3: return Float(k.lastAmplitude);
    default: return {};
  }
}

TrendValue LyrTrendGraphValues::GetApneaValue(int category, int sub, int epoch, int* count) const {
  if (count != nullptr) *count = 0;
  int code = 0;
  if (category == 11 && sub >= 0 && sub <= 2) code = sub == 0 ? kRespObstructive : sub == 1 ? kRespCentral : kRespMixed;
  if (category == 12 && sub == 0) code = kRespHypopnea;
  if (doc_ == nullptr || code == 0) return {};
  const std::vector<std::uint8_t>& t = doc_->RecognitionTables.RespRcgnz();
  const int n = SlotsPerEpoch(0.25);
  const long long size = static_cast<long long>(t.size());
  const long long first = static_cast<long long>(epoch) * n;
  if (t.empty() || n <= 0 || first >= size) return {};
  long long last = std::min(first + n - 1, size - 1);
  const auto holds = [&](long long i) { return t[static_cast<std::size_t>(i)] == code; };
  // An event running on into the next epoch belongs to the epoch where it ends.
  if (last < size - 1 && holds(last) && holds(last + 1)) {
    while (last >= first && holds(last)) --last;
    if (last < first) return Float(0.0);
  }
  int slots = 0;
  for (long long i = first; i <= last; ++i)
    if (holds(i)) ++slots;
  // An event that began in an earlier epoch is counted whole here.
  if (slots > 0 && holds(first))
    for (long long i = first - 1; i >= 0 && holds(i); --i) ++slots;
  if (count != nullptr) *count = slots;
  return Float(slots * (EpochSeconds * 1000.0 / n) * 0.001);
}

TrendValue LyrTrendGraphValues::GetECGValue(int sub, int epoch) const {
  if (doc_ == nullptr || sub < 0 || sub > 4) return {};
  SleepDstrbTables& t = doc_->RecognitionTables;
  if (sub <= 1) {
    const std::vector<double>& rr = t.ECGLFHF();
    if (epoch < 0 || static_cast<std::size_t>(epoch) >= rr.size()) return Float(0.0);
    const double interval = rr[static_cast<std::size_t>(epoch)];
    if (sub == 1) return Float(interval);
    return Float(interval != 0.0 ? 60000.0 / interval : 0.0);
  }
  // LF and HF are kept per block of epochs; a block shorter than an epoch has none.
  const int blockEpochs = EpochSeconds > 0 ? doc_->Params.sleepDstrb.lfhfTimeS / EpochSeconds : 0;
  if (blockEpochs <= 0) return {};
  const int block = epoch / blockEpochs;
  const int blocks = std::min<int>(t.ECGLFHFCount(), static_cast<int>(std::min(t.ECGLF().size(), t.ECGHF().size())));
  if (ScreeningRunning != 0 || t.ECGRcgnz().count <= 0 || block >= blocks) return Float(0.0);
  const double lf = t.ECGLF()[static_cast<std::size_t>(block)];
  const double hf = t.ECGHF()[static_cast<std::size_t>(block)];
  if (sub == 2) return Float(lf);
  if (sub == 3) return Float(hf);
  return Float(hf != 0.0 ? lf / hf : 0.0);
}

TrendValue LyrTrendGraphValues::GetRespMeanValue(int category, int epoch) const {
  const RespPeakTable* list = doc_ != nullptr ? RespList(*doc_, category) : nullptr;
  if (list == nullptr) return {};
  const int n = SlotsPerEpoch(0.25);
  const long long first = static_cast<long long>(epoch) * n, last = first + n - 1;
  double sum = 0.0;
  int taken = 0;
  const std::span<const RespPeakEntry> entries = Entries(*list);
  for (auto it = FirstAtOrAfter(entries, first); it != entries.end() && it->point <= last; ++it) {
    sum += it->value;
    ++taken;
  }
  return Float(taken > 0 ? sum / taken : 0.0);
}

TrendValue LyrTrendGraphValues::GetRespIntervalValue(int category, int sub, int epoch) const {
  const RespPeakTable* list = doc_ != nullptr ? RespList(*doc_, category) : nullptr;
  if (list == nullptr || (sub != 3 && sub != 5)) return {};
  const std::span<const RespPeakEntry> entries = Entries(*list);
  const int n = SlotsPerEpoch(0.25);
  const long long first = static_cast<long long>(epoch) * n, last = first + n - 1;
  double sum = 0.0;
  int count = 0;
  // Every second entry is a breath; the first breath has no interval before it.
  std::size_t start = static_cast<std::size_t>(FirstAtOrAfter(entries, first) - entries.begin());
  start -= start % 2;
  for (std::size_t i = std::max<std::size_t>(start, 2); i < entries.size(); i += 2) {
    if (entries[i].point > last) break;
    if (entries[i].point < first) continue;
    sum += (entries[i].point - entries[i - 2].point) * 0.25;
    ++count;
  }
  if (count == 0 || sum <= 0.0) return Float(0.0);
  const double mean = sum / count;
  return Float(sub == 3 ? mean : 60.0 / mean);
}

TrendValue LyrTrendGraphValues::GetMainPositionValue(int epoch) const {
  if (doc_ == nullptr || doc_->Params.sleepDstrb.positionChannel < 0) return Short(-1);
  const float* samples = doc_->EpochTables.Rprsnt(kRprsntPosition, epoch);
  const int n = doc_->EpochTables.RprsntCount(kRprsntPosition);
  if (samples == nullptr || n <= 0) return Short(-1);
  const SleepDstrbParam& p = doc_->Params.sleepDstrb;
  const int k = std::clamp<int>(p.positionsInUse, 0, static_cast<int>(p.positions.size()));
  if (k == 0) return Short(0);
  // One counter per class (at most six), on the stack.
  std::array<int, 6> counts{};
  std::array<double, 6> from{}, to{};
  for (int c = 0; c < k; ++c) {
    from[static_cast<std::size_t>(c)] = p.positions[static_cast<std::size_t>(c)].from;
    to[static_cast<std::size_t>(c)] = p.positions[static_cast<std::size_t>(c)].to;
  }
  for (int i = 0; i < n; ++i) {
    const double v = samples[i];
    for (int c = 0; c < k; ++c) {
      const auto u = static_cast<std::size_t>(c);
      counts[u] += static_cast<int>(from[u] <= v) & static_cast<int>(v < to[u]);
    }
  }
  int best = 0;
  for (int c = 1; c < k; ++c)
    if (counts[static_cast<std::size_t>(c)] > counts[static_cast<std::size_t>(best)]) best = c;
  // No sample in any class: no main position.
  return Short(counts[static_cast<std::size_t>(best)] > 0 ? best + 1 : 0);
}

void LyrTrendGraphValues::GetPositionValue(int epoch, int sample, float& signal, int& positionClass) const {
  signal = 0.0f;
  positionClass = 0;
  if (doc_ == nullptr || epoch < 0 || epoch >= EpochCount()) return;
  const float* samples = doc_->EpochTables.Rprsnt(kRprsntPosition, epoch);
  if (samples == nullptr || sample < 0 || sample >= doc_->EpochTables.RprsntCount(kRprsntPosition)) return;
  signal = samples[sample];
  const SleepDstrbParam& p = doc_->Params.sleepDstrb;
  const int k = std::clamp<int>(p.positionsInUse, 0, static_cast<int>(p.positions.size()));
  for (int c = 0; c < k; ++c)
    if (p.positions[static_cast<std::size_t>(c)].from <= signal && signal < p.positions[static_cast<std::size_t>(c)].to)
      positionClass = c + 1;
}

TrendValue LyrTrendGraphValues::GetSpO2Value(int sub, int epoch) const {
  if (doc_ == nullptr || doc_->Params.sleepDstrb.spo2Channel < 0) return {};
  return LevelStatistic(doc_->EpochTables.Rprsnt(kRprsntSpO2, epoch), doc_->EpochTables.RprsntCount(kRprsntSpO2), sub);
}

TrendValue LyrTrendGraphValues::GetCPAPValue(int sub, int epoch) const {
  if (doc_ == nullptr || doc_->Params.sleepDstrb.cpapChannel < 0) return {};
  return LevelStatistic(doc_->EpochTables.Rprsnt(kRprsntCPAP, epoch), doc_->EpochTables.RprsntCount(kRprsntCPAP), sub);
}

TrendValue LyrTrendGraphValues::GetPLMsValue(int leg, int measure, int epoch) const {
  if (doc_ == nullptr || leg < 0 || leg > 2 || measure < 0 || measure > 2) return {};
  SleepDstrbTables& t = doc_->RecognitionTables;
  const std::vector<std::uint8_t>& mask = leg == 0 ? t.LMRight() : leg == 1 ? t.LMLeft() : t.LMBoth();
  const int n = SlotsPerEpoch(0.1);
  if (mask.empty() || n <= 0) return {};
  if (measure == 0) return Short(LyrRecognizeLimbMovement::CountInEpoch(epoch, mask, n));
  const SleepDstrbParam& p = doc_->Params.sleepDstrb;
  double durationMs = 0.0;
  const int series =
      LyrRecognizeLimbMovement::CountPLMsInEpoch(epoch, mask, n, p.plmShortestS, p.plmLongestS, p.lmLeastCount, &durationMs);
  if (measure == 1) return Short(series);
  return Float(series != 0 ? durationMs * 0.001 : 0.0);
}

TrendValue LyrTrendGraphValues::GetFFTBandValue(int sub, int channel, int epoch) const {
  if (doc_ == nullptr || sub < 0 || sub >= kBandEntries) return {};
  const int chCount = doc_->RecordInfo.channelCount;
  if (channel < 0 || channel >= chCount) return {};
  const int position = GetSelectedChIndex(channel, doc_->Params.fftBand.channelSwitch, chCount);
  const float* values = doc_->EpochTables.BandValues(epoch, sub);
  if (position < 0 || values == nullptr || position >= std::max(doc_->EpochTables.BandChCount(), 1)) return {};
  return Float(values[position]);
}

TrendValue LyrTrendGraphValues::GetFreeTrendValue(int sub, int channel, int epoch) const {
  if (doc_ == nullptr || sub < 0 || sub >= kChValueKinds) return {};
  if (channel < 0 || channel >= doc_->RecordInfo.channelCount || channel >= doc_->EpochTables.ChCount()) return {};
  if (sub == kChCrossCount) {
    const std::uint16_t* cross = doc_->EpochTables.ChCrossCount(epoch);
    return cross != nullptr ? Short(static_cast<std::int16_t>(cross[channel])) : TrendValue{};
  }
  const float* values = doc_->EpochTables.ChValues(epoch, sub);
  return values != nullptr ? Float(values[channel]) : TrendValue{};
}

TrendValue LyrTrendGraphValues::GetSnoreValue(int sub, int epoch, int* points) const {
  if (points != nullptr) *points = 0;
  if (doc_ == nullptr || sub != 0) return {};
  const std::vector<std::uint8_t>& mask = doc_->RecognitionTables.Snore();
  const int n = SlotsPerEpoch(0.1);
  if (mask.empty() || n <= 0) return {};
  int length = 0;
  const int episodes = LyrRecognizeSnore::CountInEpoch(epoch, mask, n, &length);
  if (points != nullptr) *points = length;
  return Short(episodes);
}

TrendValue LyrTrendGraphValues::GetArousalValue(int sub, int epoch) const {
  if (doc_ == nullptr || sub != 0 || ArousalThresholdPreview != 0) return {};
  const std::vector<std::uint8_t>& mask = doc_->RecognitionTables.ArousalRecognize();
  const int n = SlotsPerEpoch(0.1);
  if (mask.empty() || n <= 0) return {};
  return Short(LyrRecognizeArousal::CountInEpoch(epoch, mask, n));
}

std::uint32_t LyrTrendGraphValues::StageColour(int code) const {
  const StageTypeParam& stages = doc_->Params.stageType;
  const int index = LyrTrendTool::StageRecordIndex(code, stages.stageType);
  if (index < 0) return 0;
  if (PrintTarget == 2 && PrintInColor == 0) return 0;
  return index >= 22 ? stages.shared[static_cast<std::size_t>(index - 22)].colour
                     : stages.records[static_cast<std::size_t>(index)].colour;
}

std::uint32_t LyrTrendGraphValues::GetEpochColor(int epoch) const {
  if (doc_ == nullptr) return 0;
  const TrendItemKey item = TrendItemOfGraph(graph_);
  const StageTypeParam& stages = doc_->Params.stageType;
  const int code = item.category == 13 && item.sub >= 2 && item.sub <= 4
                       ? 1
                       : doc_->EpochTables.GetStage(stages.stageType, epoch, 0);
  return StageColour(code);
}

void LyrTrendGraphValues::GetEpochColors(int first, int count, std::uint32_t* out) const {
  if (count <= 0) return;
  if (doc_ == nullptr) {
    std::fill_n(out, count, 0u);
    return;
  }
  const TrendItemKey item = TrendItemOfGraph(graph_);
  if (item.category == 13 && item.sub >= 2 && item.sub <= 4) {
    std::fill_n(out, count, StageColour(1));
    return;
  }
  // The colour of each stored stage byte (merged as GetStage merges it) is looked up once;
  // epochs without a record have code 0.
  std::array<std::uint32_t, 256> colours{};
  std::array<bool, 256> known{};
  const int stageType = doc_->Params.stageType.stageType;
  const LyrEpochParameter& tables = doc_->EpochTables;
  const std::span<const LyrEpochRec> records = tables.Records();
  const int held =
      static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(tables.EpochCount(), 0)), records.size()));
  const std::uint32_t none = StageColour(0);
  for (int i = 0; i < count; ++i) {
    const int epoch = first + i;
    if (epoch < 0 || epoch >= held) {
      out[i] = none;
      continue;
    }
    const std::uint8_t stored = records[static_cast<std::size_t>(epoch)].stage[0];
    if (!known[stored]) {
      colours[stored] = StageColour(MergeStageCode(stageType, stored));
      known[stored] = true;
    }
    out[i] = colours[stored];
  }
}
