#include "app/results/result_analysis_file.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "app/document/byte_image.h"
#include "app/frame/block_readers.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/result_file_layout.h"
#include "app/results/result_strings.h"
#include "app/scoring/hrv_lf_hf.h"
#include "app/scoring/resp_event_recognition.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

int ResultFileMessageBoxes::Message(const std::string& text, std::uint32_t type) {
  return ui::MessageBox(text, type);
}

namespace {

using ui::IDCANCEL;
using ui::IDNO;
using ui::IDOK;
using ui::IDYES;
using ui::MB_DEFBUTTON2;
using ui::MB_ICONEXCLAMATION;
using ui::MB_ICONHAND;
using ui::MB_ICONQUESTION;
using ui::MB_OK;
using ui::MB_OKCANCEL;
using ui::MB_YESNO;

std::string Text(std::uint32_t id) { return res::LoadString(id); }
std::string Failure(const char* method, std::uint32_t id) { return std::string(method) + "\n" + Text(id); }

// Replaces the %s placeholders of a string-table text in order.
std::string Format(std::string text, std::initializer_list<std::string_view> args) {
  std::size_t from = 0;
  for (std::string_view a : args) {
    const std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, a);
    from = at + a.size();
  }
  return text;
}

// ---- channel fields of the stored sleep-disturbance block ------------------------------

// Absolute offsets in the information block of the channel fields that decide which
// sections a file holds.
namespace sdo {
constexpr std::size_t kAirFlow = raf::kInfoSleepDstrb + 40;
constexpr std::size_t kChest = raf::kInfoSleepDstrb + 104;
constexpr std::size_t kAbdomen = raf::kInfoSleepDstrb + 168;
constexpr std::size_t kSpO2 = raf::kInfoSleepDstrb + 232;
constexpr std::size_t kCpap = raf::kInfoSleepDstrb + 248;
constexpr std::size_t kSnore = raf::kInfoSleepDstrb + 256;
constexpr std::size_t kLegLeft = raf::kInfoSleepDstrb + 288;
constexpr std::size_t kLegRight = raf::kInfoSleepDstrb + 320;
constexpr std::size_t kEcg = raf::kInfoSleepDstrb + 376;
constexpr std::size_t kPosition = raf::kInfoSleepDstrb + 456;
constexpr std::size_t kArousal = raf::kInfoSleepDstrb + 656;
}  // namespace sdo

// The stored channel fields, as the layout reads them.
struct StoredChannels {
  std::int32_t airFlow, chest, abdomen, spo2, cpap, snore, legLeft, legRight, ecg, position, arousal;

  static StoredChannels From(bytes::CSpan info) {
    auto g = [&](std::size_t off) { return bytes::Get<std::int32_t>(info, off); };
    return {g(sdo::kAirFlow), g(sdo::kChest),    g(sdo::kAbdomen), g(sdo::kSpO2),     g(sdo::kCpap),
            g(sdo::kSnore),   g(sdo::kLegLeft),  g(sdo::kLegRight), g(sdo::kEcg),     g(sdo::kPosition),
            g(sdo::kArousal)};
  }
  // Channel field of a representative-value slot.
  std::int32_t Slot(int slot) const {
    switch (slot) {
      case kRprsntAirFlow: return airFlow;
      case kRprsntRespC: return chest;
      case kRprsntRespA: return abdomen;
      case kRprsntLMLeft: return legLeft;
      case kRprsntLMRight: return legRight;
      case kRprsntECG: return ecg;
      case kRprsntSpO2: return spo2;
      case kRprsntCPAP: return cpap;
      case kRprsntPosition: return position;
      default: return snore;
    }
  }
  SleepDstrbChannels Tables() const {
    SleepDstrbChannels c;
    c.airFlow = airFlow;
    c.chest = chest;
    c.abdomen = abdomen;
    c.lmLeft = legLeft;
    c.lmRight = legRight;
    c.ecg = ecg;
    c.spo2 = spo2;
    c.position = position;
    c.cpap = cpap;
    c.snore = snore;
    c.arousal = arousal;
    return c;
  }
};

// Values per epoch of the tables and lists over the range.
struct PerEpoch {
  int r, l, sn, a, marks, seconds;
  explicit PerEpoch(int e)
      : r(LyrEpochParameter::GetRprsntNumResp(e)),
        l(LyrEpochParameter::GetRprsntNumLM(e)),
        sn(LyrEpochParameter::GetRprsntNumSnore(e)),
        a(LyrEpochParameter::GetRprsntNumArousal(e)),
        marks(10 * e),
        seconds(e) {}
};

// ---- the channel processing record -----------------------------------------------------

void StoreProcessingRecord(const LyrChInfo& ch, bytes::Span b, std::size_t off) {
  bytes::Put<std::int32_t>(b, off + 0, ch.smoothingCount);
  bytes::Put<std::uint16_t>(b, off + 4, ch.baseLine);
  bytes::Put<std::int32_t>(b, off + 8, ch.filterKind);
  bytes::Put<std::uint32_t>(b, off + 12, ch.filterMode);
  bytes::Put<double>(b, off + 16, ch.cut1Hz);
  bytes::Put<double>(b, off + 24, ch.cut2Hz);
  bytes::Put<std::int32_t>(b, off + 32, ch.notch);
  bytes::Put<std::uint32_t>(b, off + 36, ch.invert);
  bytes::Put<double>(b, off + 40, ch.lineFrequencyHz);
}

void LoadProcessingRecord(bytes::CSpan b, std::size_t off, LyrChInfo& ch) {
  ch.smoothingCount = bytes::Get<std::int32_t>(b, off + 0);
  ch.baseLine = bytes::Get<std::uint16_t>(b, off + 4);
  ch.filterKind = bytes::Get<std::int32_t>(b, off + 8);
  ch.filterMode = static_cast<std::uint16_t>(bytes::Get<std::uint32_t>(b, off + 12));
  ch.cut1Hz = bytes::Get<double>(b, off + 16);
  ch.cut2Hz = bytes::Get<double>(b, off + 24);
  ch.notch = bytes::Get<std::int32_t>(b, off + 32);
  ch.invert = static_cast<std::uint16_t>(bytes::Get<std::uint32_t>(b, off + 36));
  ch.lineFrequencyHz = bytes::Get<double>(b, off + 40);
}

void DefaultProcessing(LyrChInfo& ch) {
  const LyrChInfo d;
  ch.smoothingCount = d.smoothingCount;
  ch.baseLine = d.baseLine;
  ch.filterKind = d.filterKind;
  ch.filterMode = d.filterMode;
  ch.cut1Hz = d.cut1Hz;
  ch.cut2Hz = d.cut2Hz;
  ch.notch = d.notch;
  ch.invert = d.invert;
  ch.lineFrequencyHz = d.lineFrequencyHz;
}

// ---- the recording-information area ----------------------------------------------------

void StoreRecordInfo(const LyrRecordInfo& r, bytes::Span b, std::size_t off) {
  bytes::PutText(b, off + raf::kRecSubjectName, 22, r.subjectName);
  bytes::Put<std::int16_t>(b, off + raf::kRecGender, r.gender);
  bytes::Put<std::int32_t>(b, off + raf::kRecAgeYears, r.ageYears);
  bytes::Put<std::int32_t>(b, off + raf::kRecAgeMonths, r.ageMonths);
  bytes::PutText(b, off + raf::kRecMemo, 62, r.memo);
  for (std::size_t k = 0; k < r.freeComments.size(); ++k) {
    const std::size_t at = off + raf::kRecComments + k * raf::kRecCommentSize;
    bytes::PutText(b, at, raf::kRecCommentLabel, r.freeComments[k].label);
    bytes::PutText(b, at + raf::kRecCommentLabel, raf::kRecCommentText, r.freeComments[k].text);
  }
}

void LoadRecordInfo(bytes::CSpan b, std::size_t off, LyrRecordInfo& r) {
  r.subjectName = bytes::GetText(b, off + raf::kRecSubjectName, 22);
  r.gender = bytes::Get<std::int16_t>(b, off + raf::kRecGender);
  r.ageYears = bytes::Get<std::int32_t>(b, off + raf::kRecAgeYears);
  r.ageMonths = bytes::Get<std::int32_t>(b, off + raf::kRecAgeMonths);
  r.memo = bytes::GetText(b, off + raf::kRecMemo, 62);
  for (std::size_t k = 0; k < r.freeComments.size(); ++k) {
    const std::size_t at = off + raf::kRecComments + k * raf::kRecCommentSize;
    r.freeComments[k].label = bytes::GetText(b, at, raf::kRecCommentLabel);
    r.freeComments[k].text = bytes::GetText(b, at + raf::kRecCommentLabel, raf::kRecCommentText);
  }
}

// Calendar date-time plus seconds, normalised (no time zone is involved).
std::array<std::uint16_t, 6> AddSeconds(const std::array<std::uint16_t, 7>& start, std::int64_t seconds) {
  std::tm t{};
  t.tm_year = start[0] - 1900;
  t.tm_mon = start[1] - 1;
  t.tm_mday = start[2];
  t.tm_hour = start[3];
  t.tm_min = start[4];
  t.tm_sec = static_cast<int>(start[5] + seconds % 86400);
  t.tm_mday += static_cast<int>(seconds / 86400);
  const std::time_t flat = timegm(&t);
  std::tm out{};
  gmtime_r(&flat, &out);
  return {static_cast<std::uint16_t>(out.tm_year + 1900), static_cast<std::uint16_t>(out.tm_mon + 1),
          static_cast<std::uint16_t>(out.tm_mday),        static_cast<std::uint16_t>(out.tm_hour),
          static_cast<std::uint16_t>(out.tm_min),         static_cast<std::uint16_t>(out.tm_sec)};
}

// ---- writing ---------------------------------------------------------------------------

class Sink {
 public:
  explicit Sink(std::string* out) : s_(out) {}
  template <class T>
  void Put(T v) {
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    s_->append(b, sizeof(T));
  }
  void Bytes(const void* p, std::size_t n) { s_->append(static_cast<const char*>(p), n); }
  void Zeros(std::size_t n) { s_->append(n, '\0'); }
  // count bytes of a table from `from`; what the table does not hold is written as zero.
  void Range(const std::vector<std::uint8_t>& table, std::int64_t from, std::int64_t count) {
    const std::int64_t size = static_cast<std::int64_t>(table.size());
    const std::int64_t a = std::clamp<std::int64_t>(from, 0, size);
    const std::int64_t b = std::clamp<std::int64_t>(from + count, 0, size);
    if (b > a) Bytes(table.data() + a, static_cast<std::size_t>(b - a));
    Zeros(static_cast<std::size_t>(count - std::max<std::int64_t>(b - a, 0)));
  }

 private:
  std::string* s_;
};

std::int32_t Compact(std::int32_t field, const std::array<int, 32>& newIndex) {
  return field >= 0 && field < 32 ? newIndex[static_cast<std::size_t>(field)] : -1;
}

void CompactSleepDstrb(SleepDstrbParam& p, const std::array<int, 32>& m) {
  for (std::int32_t* f : {&p.airFlow.channel, &p.chest.channel, &p.abdomen.channel, &p.spo2Channel, &p.cpapChannel,
                          &p.snore.channel, &p.legLeft.channel, &p.legRight.channel, &p.ecgChannel,
                          &p.positionChannel, &p.arousal.channel})
    *f = Compact(*f, m);
}

void CompactWaveForm(WaveFormRecognitionParam& p, const std::array<int, 32>& m) {
  for (auto& b : p.bands) b.channel = Compact(b.channel, m);
  p.kComplex.channel = Compact(p.kComplex.channel, m);
  p.eogRight.channel = Compact(p.eogRight.channel, m);
  p.eogLeft.channel = Compact(p.eogLeft.channel, m);
  p.emgChannel = Compact(p.emgChannel, m);
}

// Intervals of a mark list clipped to [sr, er) and rebased; at most t are kept.
int ClipIntervals(const float* starts, const float* ends, int count, float sr, float er, int t, float* outStart,
                  float* outEnd) {
  const float lr = er - sr;
  if (lr <= 0.0f) return 0;
  int kept = 0;
  for (int i = 0; i < count && kept < t; ++i) {
    const float a = starts[i], b = ends[i];
    float s, e;
    if (a < sr) {
      if (b < sr) continue;
      s = 0.0f;
      e = b < er ? b - sr : lr;
    } else if (a < er) {
      s = a - sr;
      e = b < er ? b - sr : lr;
    } else {
      continue;
    }
    outStart[kept] = s;
    outEnd[kept] = e;
    ++kept;
  }
  return kept;
}

}  // namespace

std::string CompanionPath(const std::string& path, const char* extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                               ? path.substr(0, dot)
                               : path;
  return base + "." + extension;
}

bool BuildResultFileBytes(const ResultFileDocument& doc, const ResultWriteRequest& req, std::string* out) {
  const int e = EpochSeconds;
  const int chCount = std::clamp(doc.record.channelCount, 0, 32);
  const int docEpochs = doc.epochs.EpochCount();
  if (e < kMinEpochSeconds || e > kMaxEpochSeconds || chCount == 0) return false;
  if (req.startEpoch < 0 || req.endEpoch < req.startEpoch || req.endEpoch >= docEpochs) return false;

  // Stored channels, in channel order, and each document channel's stored index.
  std::vector<int> sel;
  std::array<int, 32> newIndex;
  newIndex.fill(-1);
  for (int c = 0; c < chCount; ++c) {
    if (req.selectedCount != 0 && req.selected[static_cast<std::size_t>(c)] == 0) continue;
    newIndex[static_cast<std::size_t>(c)] = static_cast<int>(sel.size());
    sel.push_back(c);
  }
  if (sel.empty()) return false;
  const bool selection = req.selectedCount != 0;
  const int n = static_cast<int>(sel.size());
  const std::int64_t start = req.startEpoch;
  const std::int64_t epochs = req.endEpoch - req.startEpoch + 1;
  const PerEpoch pe(e);

  // Range start: the analysed part's first second plus the range's epochs.
  int fastest = 0;
  for (int c = 1; c < chCount; ++c)
    if (doc.channels[static_cast<std::size_t>(c)].rate > doc.channels[static_cast<std::size_t>(fastest)].rate)
      fastest = c;
  const LyrChInfo& fast = doc.channels[static_cast<std::size_t>(fastest)];
  const std::int64_t s = (fast.rate > 0 ? fast.startOffset / fast.rate : 0) + e * start;

  // The settings as stored: compacted to the selection, the ECG field by the beat rule.
  const AnalysisParamBlocks& p = doc.params;
  SleepDstrbParam sd = p.sleepDstrb;
  WaveFormRecognitionParam wf = p.waveForm;
  ChDispScaleParam scale = p.chDispScale;
  ChDispModeParam mode = p.chDispMode;
  FFTBandParam fft = p.fftBand;
  if (selection) {
    CompactSleepDstrb(sd, newIndex);
    CompactWaveForm(wf, newIndex);
    for (int k = 0; k < 32; ++k) {
      const bool in = k < n;
      const std::size_t from = in ? static_cast<std::size_t>(sel[static_cast<std::size_t>(k)]) : 0;
      scale.entries[static_cast<std::size_t>(k)] = in ? p.chDispScale.entries[from] : ChDispScaleParam::Entry{0, 0.0f};
      mode.entries[static_cast<std::size_t>(k)] = in ? p.chDispMode.entries[from] : ChDispModeParam::Entry{0, 0};
      fft.channelSwitch[static_cast<std::size_t>(k)] = in && p.fftBand.channelSwitch[from] == 1 ? 1 : 0;
    }
  }
  // Heart beats of the range, in samples of the ECG channel from the range's first sample.
  const EcgRcgnzTable& beats = doc.recognition.ECGRcgnz();
  std::vector<std::int32_t> rangeBeats;
  const int docEcg = p.sleepDstrb.ecgChannel;
  std::int64_t firstBeatSample = 0;
  if (sd.ecgChannel >= 0 && docEcg >= 0 && docEcg < 32) {
    const std::int64_t rate = doc.channels[static_cast<std::size_t>(docEcg)].rate;
    firstBeatSample = rate * e * start;
    const std::int64_t last = rate * e * (req.endEpoch + 1) - 1;
    const auto held = std::min<std::size_t>(static_cast<std::size_t>(std::max(beats.count, 0)), beats.positions.size());
    const std::size_t room = static_cast<std::size_t>(raf::kBeatsPerSecond * e * epochs);
    for (std::size_t i = 0; i < held && rangeBeats.size() < room; ++i) {
      const std::int64_t q = beats.positions[i];
      if (q >= firstBeatSample && q <= last) rangeBeats.push_back(static_cast<std::int32_t>(q - firstBeatSample));
    }
  }
  if (rangeBeats.size() < 2) sd.ecgChannel = -1;

  // ---- information block
  std::vector<std::uint8_t> info(raf::kInfoBlockSize, 0);
  bytes::Span b(info);
  bytes::Put<std::uint32_t>(b, raf::kInfoVersion, raf::kVersion);
  std::array<int, 32> flags{};
  for (int c : sel) flags[static_cast<std::size_t>(c)] = 1;
  const std::uint32_t check =
      doc.rawSampleSum ? doc.rawSampleSum(static_cast<int>(s), selection ? &flags : nullptr) : 0;
  bytes::Put<std::uint32_t>(b, raf::kInfoCheckValue, check);
  for (std::size_t k = 0; k < 5; ++k)
    bytes::PutText(b, raf::kInfoMemo[k], raf::kMemoMaxChars + 1, req.memos[k]);
  bytes::PutPath(b, raf::kInfoRawPath, raf::kRawPathTextSize, req.rawPath);
  StoreRecordInfo(doc.record, b, raf::kInfoRecordInfo);
  bytes::Put<std::uint16_t>(b, raf::kInfoStartTimeFlag, doc.record.startTimeValid);
  std::array<std::uint16_t, 6> when{2000, 1, 1, 0, 0, 0};
  if (doc.record.startTimeValid) when = AddSeconds(doc.record.startDateTime, s);
  bytes::PutArray(b, raf::kInfoStartDateTime, when);
  bytes::Put<std::uint32_t>(b, raf::kInfoChannelCount, static_cast<std::uint32_t>(n));
  bytes::Put<std::uint32_t>(b, raf::kInfoEpochSeconds, static_cast<std::uint32_t>(e));
  bytes::Put<std::uint32_t>(b, raf::kInfoRangeStart, req.besideRawOutput ? 0u : static_cast<std::uint32_t>(s));
  bytes::Put<std::int32_t>(b, raf::kInfoLastScreenedEpoch, doc.lastScreenedEpoch);
  p.stageType.Store(b.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  scale.Store(b.subspan<raf::kInfoChDispScale, ChDispScaleParam::kSize>());
  mode.Store(b.subspan<raf::kInfoChDispMode, ChDispModeParam::kSize>());
  fft.Store(b.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());
  sd.Store(b.subspan<raf::kInfoSleepDstrb, SleepDstrbParam::kSize>());
  wf.Store(b.subspan<raf::kInfoWaveForm, WaveFormRecognitionParam::kSize>());
  p.logic.Store(b.subspan<raf::kInfoLogic, LogicParam::kSize>());
  p.logicOption.Store(b.subspan<raf::kInfoLogicOption, LogicOptionParam::kSize>());
  for (int k = 0; k < n; ++k)
    StoreProcessingRecord(doc.channels[static_cast<std::size_t>(sel[static_cast<std::size_t>(k)])], b,
                          raf::kInfoChannelRecords + static_cast<std::size_t>(k) * raf::kChannelRecordSize);
  const StoredChannels stored = StoredChannels::From(info);

  std::string& o = *out;
  o.clear();
  Sink w(&o);
  // ---- header, information block, scale block, epoch records
  w.Bytes(raf::kHeaderText, sizeof raf::kHeaderText);
  w.Zeros(raf::kHeaderSize - sizeof raf::kHeaderText);
  w.Bytes(info.data(), info.size());
  for (int k = 0; k < 32; ++k)
    w.Put<float>(k < n ? static_cast<float>(doc.channels[static_cast<std::size_t>(sel[static_cast<std::size_t>(k)])].gain)
                       : 1.0f);
  for (int k = 0; k < 32; ++k)
    w.Put<std::uint16_t>(k < n ? doc.channels[static_cast<std::size_t>(sel[static_cast<std::size_t>(k)])].show : 0);
  w.Put<std::uint32_t>(static_cast<std::uint32_t>(epochs));
  for (std::int64_t i = 0; i < epochs; ++i) {
    const LyrEpochRec* rec = doc.epochs.Record(static_cast<int>(start + i));
    if (rec) {
      std::array<std::uint8_t, kEpochRecBytes> image;
      StoreEpochRec(*rec, image);
      w.Bytes(image.data(), image.size());
    } else {
      w.Zeros(kEpochRecBytes);
    }
  }

  // ---- FFT band values: the stored FFT channels and their rank among the document's
  std::vector<int> fftRank;  // document band-table index of each stored FFT channel
  {
    int rank = 0;
    for (int c = 0; c < chCount; ++c) {
      const bool docFlag = p.fftBand.channelSwitch[static_cast<std::size_t>(c)] != 0;
      const int k = newIndex[static_cast<std::size_t>(c)];
      if (k >= 0 && fft.channelSwitch[static_cast<std::size_t>(k)] != 0) fftRank.push_back(docFlag ? rank : -1);
      if (docFlag) ++rank;
    }
  }
  const int bandWidth = std::max(doc.epochs.BandChCount(), 1);
  for (std::int64_t i = 0; i < epochs; ++i) {
    const int ep = static_cast<int>(start + i);
    for (int k = 0; k < kBandCount; ++k)
      for (int entry : {k, k + kBandCount}) {
        const float* v = doc.epochs.BandValues(ep, entry);
        for (int r : fftRank) w.Put<float>(v && r >= 0 && r < bandWidth ? v[r] : 0.0f);
      }
  }

  // ---- per-channel arrays and representative values
  for (std::int64_t i = 0; i < epochs; ++i) {
    const int ep = static_cast<int>(start + i);
    auto chValue = [&](int kind, int c) {
      const float* v = doc.epochs.ChValues(ep, kind);
      return v && c < doc.epochs.ChCount() ? v[c] : 0.0f;
    };
    for (int kind : {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral})
      for (int c : sel) w.Put<float>(chValue(kind, c));
    const std::uint16_t* cross = doc.epochs.ChCrossCount(ep);
    for (int c : sel) w.Put<std::uint16_t>(cross && c < doc.epochs.ChCount() ? cross[c] : 0x7FFF);
    for (int c : sel) w.Put<float>(chValue(kChCoefVariation, c));
    for (int slot = 0; slot < kRprsntSlotCount; ++slot) {
      if (stored.Slot(slot) < 0) continue;
      const int count = LyrEpochParameter::RprsntNum(slot, e);
      const float* v = doc.epochs.Rprsnt(slot, ep);
      const int held = v ? std::min(count, doc.epochs.RprsntCount(slot)) : 0;
      for (int j = 0; j < count; ++j) w.Put<float>(j < held ? v[j] : 0.0f);
    }
  }

  // ---- recognition tables, heart beats, arousal, snore
  auto& t = doc.recognition;
  const std::int64_t rN = pe.r * epochs, lN = pe.l * epochs;
  if (stored.airFlow >= 0) w.Range(t.RespRcgnz(), pe.r * start, rN);
  if (stored.airFlow >= 0) w.Range(t.AirFlow(), pe.r * start, rN);
  if (stored.chest >= 0) w.Range(t.RespC(), pe.r * start, rN);
  if (stored.abdomen >= 0) w.Range(t.RespA(), pe.r * start, rN);
  if (stored.legLeft >= 0) w.Range(t.LMRcgnz(), pe.l * start, lN);
  if (stored.legLeft >= 0) w.Range(t.LMLeft(), pe.l * start, lN);
  if (stored.legRight >= 0) w.Range(t.LMRight(), pe.l * start, lN);
  if (stored.legLeft >= 0 || stored.legRight >= 0) w.Range(t.LMBoth(), pe.l * start, lN);
  if (stored.ecg >= 0) {
    w.Put<std::uint32_t>(static_cast<std::uint32_t>(rangeBeats.size()));
    for (std::int32_t q : rangeBeats) w.Put<std::int32_t>(q);
    const auto& rr = t.ECGLFHF();
    for (std::int64_t i = 0; i < epochs; ++i) {
      const auto at = static_cast<std::size_t>(start + i);
      w.Put<double>(at < rr.size() ? rr[at] : 0.0);
    }
  }
  if (stored.arousal >= 0) {
    w.Range(t.ArousalPeakNum(), pe.a * start, pe.a * epochs);
    w.Range(t.ArousalRecognize(), pe.a * start, pe.a * epochs);
  }
  if (stored.snore >= 0) w.Range(t.Snore(), pe.sn * start, pe.sn * epochs);

  // ---- marks
  std::array<std::uint8_t, raf::kMarkTypeBlockSize> markType{};
  p.markType.Store(markType);
  w.Bytes(markType.data(), markType.size());
  const std::int64_t k = pe.marks * epochs;
  w.Put<std::uint32_t>(static_cast<std::uint32_t>(k));
  for (int type = 0; type < raf::kMarkTypes; ++type) {
    const std::uint8_t* f = doc.marks.Flags(type);
    const std::int64_t from = pe.marks * start;
    const std::int64_t have = f ? std::clamp<std::int64_t>(doc.marks.FlagLength() - from, 0, k) : 0;
    if (have > 0) w.Bytes(f + from, static_cast<std::size_t>(have));
    w.Zeros(static_cast<std::size_t>(k - have));
  }
  const int tCount = static_cast<int>(pe.seconds * epochs);
  w.Put<std::uint32_t>(static_cast<std::uint32_t>(tCount));
  const bool whole = start == 0 && tCount == doc.marks.Capacity();
  std::vector<float> starts(static_cast<std::size_t>(tCount)), ends(static_cast<std::size_t>(tCount));
  auto& marks = doc.marks;
  for (int type = 0; type < raf::kMarkTypes; ++type) {
    std::fill(starts.begin(), starts.end(), 0.0f);
    std::fill(ends.begin(), ends.end(), 0.0f);
    int count = 0;
    const float* a = marks.Start(type);
    const float* z = marks.End(type);
    const int held = a && z ? std::clamp(marks.Count(type), 0, marks.Capacity()) : 0;
    if (whole) {
      count = std::min(held, tCount);
      std::copy_n(a ? a : starts.data(), count, starts.begin());
      std::copy_n(z ? z : ends.data(), count, ends.begin());
    } else if (held > 0) {
      count = ClipIntervals(a, z, held, static_cast<float>(e * start), static_cast<float>(e * (req.endEpoch + 1)),
                            tCount, starts.data(), ends.data());
    }
    w.Put<std::uint32_t>(static_cast<std::uint32_t>(count));
    w.Bytes(starts.data(), starts.size() * sizeof(float));
    w.Bytes(ends.data(), ends.size() * sizeof(float));
  }
  return true;
}

int WriteResultFile(ResultFileDocument& doc, const ResultWriteRequest& req, ResultFileUi& ui) {
  std::string file;
  try {
    if (!BuildResultFileBytes(doc, req, &file)) {
      ui.Message(Failure("CMainFrame::WriteResultFile", kIdsErrorSavingFile), MB_OK | MB_ICONEXCLAMATION);
      return 0;
    }
  } catch (const std::bad_alloc&) {
    ui.Message(Failure("CMainFrame::WriteResultFile", kIdsFailToGetMemory), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  } catch (const std::length_error&) {
    ui.Message(Failure("CMainFrame::WriteResultFile", kIdsFailToGetMemory), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  sys::AtomicFileWriter out;
  if (!out.Open(req.path)) {
    ui.Message(Text(kIdsFailToMakeFile), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  if (!out.Write(file) || !out.Commit()) {
    out.Abort();
    ui.Message(Failure("CMainFrame::WriteResultFile", kIdsErrorSavingFile), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  ResultSaveState = 1;
  doc.resultPath = req.path;

  // Companion files: the wave-detect marks of the range and the wave-detect settings.
  const int e = EpochSeconds;
  const std::int64_t k = static_cast<std::int64_t>(10) * e * (req.endEpoch - req.startEpoch + 1);
  std::string marks;
  Sink m(&marks);
  m.Put<std::uint16_t>(raf::kCompanionVersion);
  m.Put<std::uint32_t>(static_cast<std::uint32_t>(k));
  m.Range(doc.waveDetectMarks, static_cast<std::int64_t>(10) * e * req.startEpoch, k);
  std::string settings;
  Sink sset(&settings);
  sset.Put<std::uint16_t>(raf::kCompanionVersion);
  const auto param = doc.waveDetectParam.ToBytes();
  sset.Bytes(param.data(), param.size());
  sset.Put<std::int32_t>(doc.waveDetectDivision);
  for (const auto& [ext, bytes] : {std::pair{raf::kMarksExtension, &marks}, std::pair{raf::kSettingsExtension, &settings}}) {
    const std::string path = CompanionPath(req.path, ext);
    if (!sys::WriteFileAtomic(path, *bytes))
      ui.Message(Format(Text(kIdsCompanionNotWritten), {path}), MB_OK | MB_ICONEXCLAMATION);
  }
  return 1;
}

// ---- reading ---------------------------------------------------------------------------

RafHeadStatus ReadRafHead(std::span<const std::uint8_t> file, RafHead* head) {
  if (file.size() < raf::kHeaderSize || std::memcmp(file.data(), raf::kHeaderText, sizeof raf::kHeaderText) != 0)
    return RafHeadStatus::kNotResultFile;
  BlockStream in(file);
  in.SeekTo(raf::kHeaderSize);
  const int version = ReadRafVersion(&in, &head->extended);
  if (version < raf::kOldestReadVersion) return RafHeadStatus::kVersionRefused;
  head->version = version;
  head->info.assign(raf::kInfoBlockSize, 0);
  if (!ReadRafInfoBlock(&in, head->info.data(), version)) return RafHeadStatus::kDamaged;
  head->scale.assign(raf::kScaleBlockSize, 0);
  std::uint8_t count[4];
  if (in.Read(head->scale.data(), head->scale.size()) != head->scale.size() || in.Read(count, 4) != 4)
    return RafHeadStatus::kDamaged;
  head->epochs = bytes::Get<std::uint32_t>(bytes::CSpan(count, 4), 0);
  head->bodyOffset = in.Position();
  return RafHeadStatus::kOk;
}

namespace {

// Reports a head that cannot be taken; true when it can.
bool AcceptHead(RafHeadStatus status, ResultFileUi& ui) {
  switch (status) {
    case RafHeadStatus::kOk:
      return true;
    case RafHeadStatus::kVersionRefused:
      ui.Message(Text(kIdsVersionDifferent), MB_OK | MB_ICONEXCLAMATION);
      ui.Message(Text(kIdsCannotOpenFile), MB_OK | MB_ICONEXCLAMATION);
      return false;
    case RafHeadStatus::kNotResultFile:
      ui.Message(Text(kIdsCannotOpenFile), MB_OK | MB_ICONEXCLAMATION);
      return false;
    default:
      ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToReadResult), MB_OK | MB_ICONEXCLAMATION);
      return false;
  }
}

std::uint32_t InfoU32(const RafHead& h, std::size_t off) { return bytes::Get<std::uint32_t>(h.info, off); }

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lo = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lo(a[i]) != lo(b[i])) return false;
  }
  return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && SameTextNoCase(s.substr(s.size() - tail.size()), tail);
}

// Sequential reading of the body; every read checks what is left.
class Source {
 public:
  Source(std::span<const std::uint8_t> data, std::size_t pos) : d_(data), pos_(pos) {}
  bool Has(std::uint64_t n) const { return n <= d_.size() - pos_; }
  template <class T>
  bool Get(T* v) {
    if (!Has(sizeof(T))) return false;
    std::memcpy(v, d_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }
  bool Bytes(void* dst, std::size_t n) {
    if (!Has(n)) return false;
    if (n) std::memcpy(dst, d_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool Skip(std::uint64_t n) {
    if (!Has(n)) return false;
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  // n bytes into a table's first n entries (the table holds at least n).
  bool Into(std::vector<std::uint8_t>& table, std::uint64_t n) {
    if (table.size() < n) return false;
    return Bytes(table.data(), static_cast<std::size_t>(n));
  }

 private:
  std::span<const std::uint8_t> d_;
  std::size_t pos_;
};

// Everything a result file gives the document, held apart until the whole file was read.
struct LoadedResult {
  LyrEpochParameter epochs;
  SleepDstrbTables recognition;
  MarkTable marks;
  AnalysisParamBlocks params;
  bool outOfMemory = false;
};

enum class BodyStatus { kOk, kDamaged, kOutOfMemory };

BodyStatus ReadBody(const ResultFileDocument& doc, const RafHead& head, std::span<const std::uint8_t> file,
                    int tableEpochs, LoadedResult& r) {
  const int e = static_cast<int>(InfoU32(head, raf::kInfoEpochSeconds));
  const int n = static_cast<int>(InfoU32(head, raf::kInfoChannelCount));
  const std::int64_t epochs = head.epochs;
  const PerEpoch pe(e);
  const StoredChannels stored = StoredChannels::From(head.info);
  bytes::CSpan info(head.info);

  // Settings of the file over copies of the document's.
  r.params = doc.params;
  AnalysisParamBlocks& p = r.params;
  p.stageType.Load(info.subspan<raf::kInfoStageType, StageTypeParam::kSize>());
  p.chDispScale.Load(info.subspan<raf::kInfoChDispScale, ChDispScaleParam::kSize>());
  p.chDispMode.Load(info.subspan<raf::kInfoChDispMode, ChDispModeParam::kSize>());
  p.fftBand.Load(info.subspan<raf::kInfoFftBand, FFTBandParam::kSize>());
  p.sleepDstrb.Load(info.subspan<raf::kInfoSleepDstrb, SleepDstrbParam::kSize>());
  p.waveForm.Load(info.subspan<raf::kInfoWaveForm, WaveFormRecognitionParam::kSize>());
  p.logic.Load(info.subspan<raf::kInfoLogic, LogicParam::kSize>());
  p.logicOption.Load(info.subspan<raf::kInfoLogicOption, LogicOptionParam::kSize>());

  // The tables for the recording at the file's epoch length, as the document makes them.
  auto failed = [&r](const std::string&) { r.outOfMemory = true; };
  r.epochs.SetFailureReporter(failed);
  r.recognition.SetFailureReporter(failed);
  int fftFlags = 0, storedFft = 0;
  for (int c = 0; c < 32; ++c)
    if (p.fftBand.channelSwitch[static_cast<std::size_t>(c)] != 0) {
      ++fftFlags;
      if (c < n) ++storedFft;
    }
  if (!r.epochs.SetNew(tableEpochs, 0, std::clamp(doc.record.channelCount, 0, 32), fftFlags, 1)) return BodyStatus::kOutOfMemory;
  r.epochs.AllocateRprsntTable();
  for (int slot = 0; slot < kRprsntSlotCount; ++slot)
    if (stored.Slot(slot) >= 0) r.epochs.AllocateRprsntSlot(slot, e);
  const SleepDstrbChannels ch = stored.Tables();
  SleepDstrbTables& t = r.recognition;
  const int d = tableEpochs;
  t.AllocateRespRcgnz(ch, pe.r * d);
  t.AllocateAirFlow(ch, pe.r * d);
  t.AllocateRespC(ch, pe.r * d);
  t.AllocateRespA(ch, pe.r * d);
  t.AllocateLMRcgnz(ch, pe.l * d);
  t.AllocateLMLeft(ch, pe.l * d);
  t.AllocateLMRight(ch, pe.l * d);
  t.AllocateLMBoth(ch, pe.l * d);
  t.AllocateSnore(ch, pe.sn * d);
  t.AllocateArousalTables(ch, pe.a * d);
  t.AllocateECGTables(ch, d, e);
  if (!r.marks.AllocateMark(d * e)) r.outOfMemory = true;
  if (r.outOfMemory) return BodyStatus::kOutOfMemory;

  Source in(file, head.bodyOffset);
  // Epoch records.
  auto records = r.epochs.Records();
  for (std::int64_t i = 0; i < epochs; ++i) {
    std::array<std::uint8_t, kEpochRecBytes> image;
    if (!in.Bytes(image.data(), image.size())) return BodyStatus::kDamaged;
    records[static_cast<std::size_t>(i)] = LoadEpochRec(image);
  }
  // FFT band values: version 5 holds one channel's twelve values whatever its flags say.
  const int fileFft = head.version == 5 ? 1 : storedFft;
  const int tableFft = std::min(fileFft, fftFlags);
  for (std::int64_t i = 0; i < epochs; ++i)
    for (int k = 0; k < kBandCount; ++k)
      for (int entry : {k, k + kBandCount}) {
        float* v = r.epochs.BandValues(static_cast<int>(i), entry);
        for (int j = 0; j < fileFft; ++j) {
          float x;
          if (!in.Get(&x)) return BodyStatus::kDamaged;
          if (v && j < tableFft) v[j] = x;
        }
      }
  // Per-channel arrays and representative values.
  for (std::int64_t i = 0; i < epochs; ++i) {
    const int ep = static_cast<int>(i);
    for (int kind : {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral}) {
      float* v = r.epochs.ChValues(ep, kind);
      for (int c = 0; c < n; ++c)
        if (!in.Get(v + c)) return BodyStatus::kDamaged;
    }
    std::uint16_t* cross = r.epochs.ChCrossCount(ep);
    for (int c = 0; c < n; ++c)
      if (!in.Get(cross + c)) return BodyStatus::kDamaged;
    float* cv = r.epochs.ChValues(ep, kChCoefVariation);
    for (int c = 0; c < n; ++c)
      if (!in.Get(cv + c)) return BodyStatus::kDamaged;
    for (int slot = 0; slot < kRprsntSlotCount; ++slot) {
      if (stored.Slot(slot) < 0) continue;
      const int count = LyrEpochParameter::RprsntNum(slot, e);
      float* v = r.epochs.Rprsnt(slot, ep);
      if (!v || r.epochs.RprsntCount(slot) != count) return BodyStatus::kDamaged;
      if (!in.Bytes(v, static_cast<std::size_t>(count) * sizeof(float))) return BodyStatus::kDamaged;
    }
  }
  // Recognition tables.
  const std::uint64_t rN = static_cast<std::uint64_t>(pe.r * epochs), lN = static_cast<std::uint64_t>(pe.l * epochs);
  if (stored.airFlow >= 0 && !(in.Into(t.RespRcgnz(), rN) && in.Into(t.AirFlow(), rN))) return BodyStatus::kDamaged;
  if (stored.chest >= 0 && !in.Into(t.RespC(), rN)) return BodyStatus::kDamaged;
  if (stored.abdomen >= 0 && !in.Into(t.RespA(), rN)) return BodyStatus::kDamaged;
  if (stored.legLeft >= 0 && !(in.Into(t.LMRcgnz(), lN) && in.Into(t.LMLeft(), lN))) return BodyStatus::kDamaged;
  if (stored.legRight >= 0 && !in.Into(t.LMRight(), lN)) return BodyStatus::kDamaged;
  if ((stored.legLeft >= 0 || stored.legRight >= 0) && !in.Into(t.LMBoth(), lN)) return BodyStatus::kDamaged;
  // Heart beats: never more than the list holds for the range.
  if (stored.ecg >= 0) {
    std::uint32_t m = 0;
    if (!in.Get(&m)) return BodyStatus::kDamaged;
    EcgRcgnzTable& beats = t.ECGRcgnz();
    const std::uint64_t room = static_cast<std::uint64_t>(raf::kBeatsPerSecond) * e * epochs;
    if (m > room || m > beats.positions.size()) return BodyStatus::kDamaged;
    if (!in.Bytes(beats.positions.data(), m * sizeof(std::int32_t))) return BodyStatus::kDamaged;
    beats.count = static_cast<std::int32_t>(m);
    auto& rr = t.ECGLFHF();
    if (rr.size() < static_cast<std::size_t>(epochs)) return BodyStatus::kDamaged;
    if (!in.Bytes(rr.data(), static_cast<std::size_t>(epochs) * sizeof(double))) return BodyStatus::kDamaged;
  }
  const std::uint64_t aN = static_cast<std::uint64_t>(pe.a * epochs);
  if (stored.arousal >= 0 && !(in.Into(t.ArousalPeakNum(), aN) && in.Into(t.ArousalRecognize(), aN)))
    return BodyStatus::kDamaged;
  if (stored.snore >= 0 && !in.Into(t.Snore(), static_cast<std::uint64_t>(pe.sn * epochs))) return BodyStatus::kDamaged;
  // Marks.
  std::array<std::uint8_t, raf::kMarkTypeBlockSize> markType;
  if (!in.Bytes(markType.data(), markType.size())) return BodyStatus::kDamaged;
  p.markType.Load(markType);
  std::uint32_t k = 0;
  if (!in.Get(&k)) return BodyStatus::kDamaged;
  if (k != 0) {
    if (k != static_cast<std::uint64_t>(pe.marks) * epochs || static_cast<std::int64_t>(k) > r.marks.FlagLength())
      return BodyStatus::kDamaged;
    for (int type = 0; type < raf::kMarkTypes; ++type)
      if (!in.Bytes(r.marks.Flags(type), k)) return BodyStatus::kDamaged;
  }
  std::uint32_t tCount = 0;
  if (!in.Get(&tCount)) return BodyStatus::kDamaged;
  int marksPresent = 0;
  if (tCount != 0) {
    if (tCount != static_cast<std::uint64_t>(e) * epochs || static_cast<std::int64_t>(tCount) > r.marks.Capacity())
      return BodyStatus::kDamaged;
    for (int type = 0; type < raf::kMarkTypes; ++type) {
      std::uint32_t count = 0;
      if (!in.Get(&count) || count > tCount) return BodyStatus::kDamaged;
      if (!in.Bytes(r.marks.Start(type), tCount * sizeof(float)) || !in.Bytes(r.marks.End(type), tCount * sizeof(float)))
        return BodyStatus::kDamaged;
      r.marks.SetCount(type, static_cast<int>(count));
      if (count > 0) marksPresent = 1;
    }
  }
  r.marks.SetMarksPresent(marksPresent);

  // Settings that later code indexes by are brought into their ranges.
  const int docChannels = std::clamp(doc.record.channelCount, 0, 32);
  p.stageType.Sanitize();
  p.fftBand.Sanitize();
  p.sleepDstrb.Sanitize();
  p.markType.Sanitize();
  SetDefaultSleepDstrbParam(1, &p.sleepDstrb, docChannels);
  SetDefaultWaveFormRecognitionParam(1, &p.waveForm, docChannels);
  SetDefaultMarkTypeParam(1, &p.markType, docChannels);

  // The respiratory events are recognised again from the loaded values, and the LF/HF table
  // is computed from the loaded beats.
  RespRecognitionSources rs;
  rs.param = &p.sleepDstrb;
  rs.epochs = &r.epochs;
  rs.tables = &t;
  rs.epochSeconds = e;
  rs.epochCount = d;
  rs.report = failed;
  LyrRecgnizeSleepDisturbanceResp(rs).Recognize();
  const int ecg = p.sleepDstrb.ecgChannel;
  if (ecg >= 0 && ecg < docChannels && t.ECGRcgnz().count > 0) {
    t.AllocateRcgnzSleepDstrbECGLFHF(ch, d, e, p.sleepDstrb.lfhfTimeS);
    LfHfSources ls;
    ls.param = &p.sleepDstrb;
    ls.peaks = std::span<const std::int32_t>(t.ECGRcgnz().positions.data(), static_cast<std::size_t>(t.ECGRcgnz().count));
    ls.samplingRate = doc.channels[static_cast<std::size_t>(ecg)].rate;
    ls.fftPoints = LfHfFftPoints(p.sleepDstrb.lfhfPointsIndex);
    ls.epochCount = d;
    ls.epochSeconds = e;
    ls.lf = t.ECGLF();
    ls.hf = t.ECGHF();
    ls.report = failed;
    LyrTrendFFTCalc(ls).TrendFFTTransaction();
  }
  if (r.outOfMemory) return BodyStatus::kOutOfMemory;
  return BodyStatus::kOk;
}

}  // namespace

void MoveFFTTrendItems(const FFTBandParam& fft, int channelCount, TrendItemTable& items) {
  const int count = std::clamp(channelCount, 0, static_cast<int>(fft.channelSwitch.size()));
  int first = -1;
  for (int c = 0; c < count && first < 0; ++c)
    if (fft.channelSwitch[static_cast<std::size_t>(c)] == 1) first = c;
  if (first < 0) return;
  for (std::size_t g = 0; g < items.category.size(); ++g) {
    if (items.category[g] != kTrendCategoryFFT) continue;
    const std::uint16_t ch = items.third[g];
    if (ch < fft.channelSwitch.size() && fft.channelSwitch[ch] == 1) continue;
    items.third[g] = static_cast<std::uint16_t>(first);
  }
}

namespace {

// Hands a completely read file to the document; nothing here can fail.
void Commit(ResultFileDocument& doc, const RafHead& head, LoadedResult& r) {
  bytes::CSpan info(head.info);
  const int e = static_cast<int>(InfoU32(head, raf::kInfoEpochSeconds));
  const int n = static_cast<int>(InfoU32(head, raf::kInfoChannelCount));
  const std::int64_t rangeStart = InfoU32(head, raf::kInfoRangeStart);
  EpochSeconds = e;
  LoadRecordInfo(info, raf::kInfoRecordInfo, doc.record);
  for (std::size_t k = 0; k < 5; ++k) doc.memos[k] = bytes::GetText(info, raf::kInfoMemo[k], raf::kMemoFieldSize);
  for (auto& ch : doc.channels)
    ch.startOffset = static_cast<std::int32_t>(std::clamp<std::int64_t>(ch.rate * rangeStart, 0, INT32_MAX));
  doc.params = r.params;
  MoveFFTTrendItems(doc.params.fftBand, n, TrendItem);
  bytes::CSpan scale(head.scale);
  for (int c = 0; c < 32; ++c) {
    LyrChInfo& ch = doc.channels[static_cast<std::size_t>(c)];
    if (c < n) {
      LoadProcessingRecord(info, raf::kInfoChannelRecords + static_cast<std::size_t>(c) * raf::kChannelRecordSize, ch);
      ch.gain = bytes::Get<float>(scale, static_cast<std::size_t>(c) * 4);
      ch.show = bytes::Get<std::uint16_t>(scale, 128 + static_cast<std::size_t>(c) * 2);
    } else {
      DefaultProcessing(ch);
    }
  }
  doc.analysedSeconds = static_cast<std::int32_t>(head.epochs) * e;
  doc.epochs.Swap(r.epochs);
  std::swap(doc.recognition, r.recognition);
  std::swap(doc.marks, r.marks);
  doc.lastScreenedEpoch = bytes::Get<std::int32_t>(info, raf::kInfoLastScreenedEpoch);
}

}  // namespace

std::string GetRafRawDataPath(const std::string& path, ResultFileUi& ui) {
  auto file = sys::ReadWholeFile(path);
  RafHead head;
  if (!file) {
    ui.Message(Text(kIdsCannotOpenFile), MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  const auto data = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(file->data()), file->size());
  const RafHeadStatus status = ReadRafHead(data, &head);
  if (status != RafHeadStatus::kOk) {
    if (status == RafHeadStatus::kVersionRefused) ui.Message(Text(kIdsVersionDifferent), MB_OK | MB_ICONEXCLAMATION);
    ui.Message(Text(kIdsCannotOpenFile), MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  return bytes::GetPath(head.info, raf::kInfoRawPath, raf::kRawPathTextSize);
}

bool ReadRafMemos(const std::string& path, ResultFileUi& ui, std::array<std::string, 5>* memos) {
  memos->fill({});
  auto file = sys::ReadWholeFile(path);
  if (!file) return false;
  RafHead head;
  const auto data = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(file->data()), file->size());
  const RafHeadStatus status = ReadRafHead(data, &head);
  if (status == RafHeadStatus::kVersionRefused) ui.Message(Text(kIdsVersionDifferent), MB_OK | MB_ICONEXCLAMATION);
  if (head.info.size() != raf::kInfoBlockSize || status == RafHeadStatus::kVersionRefused ||
      status == RafHeadStatus::kNotResultFile)
    return false;
  for (std::size_t k = 0; k < 5; ++k) (*memos)[k] = bytes::GetText(head.info, raf::kInfoMemo[k], raf::kMemoFieldSize);
  return true;
}

int CheckRafRaw(const ResultFileDocument& doc, const RafHead& head, ResultFileUi& ui) {
  std::array<int, 32> flags{};
  const int count = std::min<int>(std::clamp(doc.record.channelCount, 0, 32),
                                  static_cast<int>(std::min<std::uint32_t>(InfoU32(head, raf::kInfoChannelCount), 32)));
  for (int c = 0; c < count; ++c) flags[static_cast<std::size_t>(c)] = 1;
  const auto second = static_cast<int>(std::min<std::uint32_t>(InfoU32(head, raf::kInfoRangeStart), INT32_MAX));
  if (doc.rawSampleSum(second, &flags) == InfoU32(head, raf::kInfoCheckValue)) return 1;
  const int answer = ui.Message(Text(kIdsRawDataDiffers), MB_YESNO | MB_ICONHAND | MB_DEFBUTTON2);
  return answer == IDYES ? 0 : 2;
}

int CheckRafConsistency(const ResultFileDocument& doc, const RafHead& head, int recordSeconds, bool* rewrite,
                        bool* moreChannels, ResultFileUi& ui) {
  const std::int64_t docChannels = doc.record.channelCount;
  const std::int64_t stored = InfoU32(head, raf::kInfoChannelCount);
  if (docChannels > stored) {
    if (ui.Message(Text(kIdsChannelCountContinue), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
    *moreChannels = true;
  }
  if (docChannels < stored) return 1;
  const std::int64_t needed = static_cast<std::int64_t>(head.epochs) * InfoU32(head, raf::kInfoEpochSeconds);
  if (recordSeconds < needed) {
    ui.Message(Text(kIdsDataLengthDiffers) + "\n" + Text(kIdsLengthOfData), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  const std::string storedPath = bytes::GetPath(head.info, raf::kInfoRawPath, raf::kRawPathTextSize);
  if (!SameTextNoCase(doc.record.path, storedPath)) {
    if (ui.Message(Format(Text(kIdsRawPathDiffers), {doc.record.path, storedPath}), MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK)
      return 0;
    *rewrite = true;
  }
  return 1;
}

int CheckResultDataType(const ResultFileDocument& doc, const RafHead& head, int recordSeconds, bool* rewrite,
                        bool* moreChannels, ResultFileUi& ui) {
  bool runRaw = head.version >= 4 && doc.record.sourceKind != 1 && doc.rawSampleSum != nullptr;
  if (runRaw && doc.record.sourceKind == 3) {
    const int type = doc.pluginDataType ? doc.pluginDataType() : -1;
    runRaw = type == 0 || type == 1;
  }
  const int raw = runRaw ? CheckRafRaw(doc, head, ui) : 0;
  if (raw == 2) return 0;
  if (raw == 0 && !CheckRafConsistency(doc, head, recordSeconds, rewrite, moreChannels, ui)) return 0;
  if (doc.record.channelCount < static_cast<std::int64_t>(InfoU32(head, raf::kInfoChannelCount))) {
    ui.Message(Text(kIdsChannelCountDiffers), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  // With an equal check value the question was not asked; the file still stores fewer.
  if (doc.record.channelCount > static_cast<std::int64_t>(InfoU32(head, raf::kInfoChannelCount)))
    *moreChannels = true;
  return 1;
}

int CheckAnimalOnlySettings(const ResultFileDocument& doc, const RafHead& head, ResultFileUi& ui) {
  if (AnimalOnlyMode <= 0) return 1;
  bytes::CSpan info(head.info);
  bool human = false;
  for (std::size_t off : {20u, 100u, 180u, 260u, 580u, 652u, 716u})
    if (bytes::Get<std::int32_t>(info, raf::kInfoWaveForm + off) >= 0) human = true;
  const StoredChannels s = StoredChannels::From(info);
  for (std::int32_t f : {s.airFlow, s.chest, s.abdomen, s.spo2, s.cpap, s.snore, s.legLeft, s.legRight, s.ecg,
                         s.position, s.arousal})
    if (f >= 0) human = true;
  const std::uint16_t stageType = bytes::Get<std::uint16_t>(info, raf::kInfoStageType);
  if (stageType <= 3) {
    for (int k = 0; k < LogicParam::kConditionsPerSet; ++k) {
      const std::size_t at = raf::kInfoLogic + (static_cast<std::size_t>(stageType) * LogicParam::kConditionsPerSet +
                                                static_cast<std::size_t>(k)) * LogicCondition::kSize;
      const std::uint8_t end = info[at + 40];
      if (end == 0 || end == 255) break;
      auto humanCode = [](std::uint16_t c) { return c == 1 || c == 2 || c == 3 || c == 4 || c == 11 || c == 12; };
      if (humanCode(bytes::Get<std::uint16_t>(info, at + 10))) human = true;
      if (bytes::Get<std::uint16_t>(info, at + 20) == 1 && humanCode(bytes::Get<std::uint16_t>(info, at + 30)))
        human = true;
    }
  }
  if (bytes::Get<std::uint16_t>(info, raf::kInfoLogicOption) == 1) human = true;
  if (!human) return 1;
  if (ui.Message(Text(kIdsHumanSettingsInAnimalMode), MB_OKCANCEL) != IDOK) return 0;
  AnimalOnlyMode = 0;
  if (doc.saveModeSetting) doc.saveModeSetting();
  return 1;
}

int OpenResultProcess(ResultFileDocument& doc, const std::string& path, ResultFileUi& ui, ResultOpenOutcome* outcome) {
  ResultOpenOutcome local;
  ResultOpenOutcome& out = outcome ? *outcome : local;
  out = {};
  if (EndsWithNoCase(path, ".txt")) {
    const int e = EpochSeconds > 0 ? EpochSeconds : 1;
    ReadTextStage(doc.epochs, doc.params.stageType.stageType, std::min(doc.recordSeconds / e, doc.epochs.EpochCount()),
                  path, ui);
    out.textStages = true;
    return 1;
  }
  try {
    auto file = sys::ReadWholeFile(path);
    if (!file) return 0;
    const auto data =
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(file->data()), file->size());
    RafHead head;
    if (!AcceptHead(ReadRafHead(data, &head), ui)) return 0;
    out.version = head.version;
    const std::uint32_t e = InfoU32(head, raf::kInfoEpochSeconds);
    const std::uint32_t n = InfoU32(head, raf::kInfoChannelCount);
    // An epoch length outside its range would divide by zero below; such a file is damaged.
    if (e < kMinEpochSeconds || e > kMaxEpochSeconds || n > 32) {
      ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToReadResult), MB_OK | MB_ICONEXCLAMATION);
      return 0;
    }
    const int recordSeconds = std::max(doc.recordSeconds, 0) / static_cast<int>(e) * static_cast<int>(e);
    bool rewrite = false, moreChannels = false;
    if (!CheckResultDataType(doc, head, recordSeconds, &rewrite, &moreChannels, ui)) return 0;
    if (!CheckAnimalOnlySettings(doc, head, ui)) return 0;
    // The tables never receive more epochs than the recording holds.
    const int tableEpochs = recordSeconds / static_cast<int>(e);
    if (static_cast<std::int64_t>(head.epochs) > tableEpochs) {
      ui.Message(Text(kIdsDataLengthDiffers) + "\n" + Text(kIdsLengthOfData), MB_OK | MB_ICONEXCLAMATION);
      return 0;
    }
    auto loaded = std::make_unique<LoadedResult>();
    switch (ReadBody(doc, head, data, tableEpochs, *loaded)) {
      case BodyStatus::kOk:
        break;
      case BodyStatus::kOutOfMemory:
        ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToGetResultMemory), MB_OK | MB_ICONEXCLAMATION);
        return 0;
      default:
        ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToReadResult), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    Commit(doc, head, *loaded);
    ResultSaveState = moreChannels ? 2 : 1;
    doc.resultPath = path;
    // The rules of the last stage do not run on 8-second epochs.
    if (EpochSeconds == 8 && doc.params.logicOption.lastStageMode == 1) {
      doc.params.logicOption.lastStageMode = 0;
      out.lastStageModeCleared = true;
    }
    out.rewritePath = rewrite;
    if (rewrite) RewriteRafInfoBlock(path, doc.record.path, ui);
    return 1;
  } catch (const std::bad_alloc&) {
    ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToGetResultMemory), MB_OK | MB_ICONEXCLAMATION);
  } catch (const std::length_error&) {
    ui.Message(Failure("CMainFrame::OpenResultProcess", kIdsFailToGetResultMemory), MB_OK | MB_ICONEXCLAMATION);
  }
  return 0;
}

int RewriteRafInfoBlock(const std::string& path, const std::string& rawPath, ResultFileUi& ui) {
  auto file = sys::ReadWholeFile(path);
  if (!file || file->size() < raf::kHeaderSize + raf::kInfoRawPath + raf::kRawPathFieldSize ||
      std::memcmp(file->data(), raf::kHeaderText, sizeof raf::kHeaderText) != 0) {
    ui.Message(Text(kIdsCannotOpenFile), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  // The path field lies at the same place in every version read.
  bytes::Span b(reinterpret_cast<std::uint8_t*>(file->data()), file->size());
  const std::size_t at = raf::kHeaderSize + raf::kInfoRawPath;
  std::fill_n(b.begin() + static_cast<std::ptrdiff_t>(at), raf::kRawPathFieldSize, std::uint8_t{0});
  bytes::PutPath(b, at, raf::kRawPathTextSize, rawPath);
  if (!sys::WriteFileAtomic(path, *file)) {
    ui.Message(Failure("CMainFrame::RewriteRafInfoBlock", kIdsErrorSavingFile), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  return 1;
}

void ReadResultCompanionFiles(ResultFileDocument& doc, const std::string& path, ResultFileUi& ui) {
  try {
    bool marksRead = false;
    if (auto f = sys::ReadWholeFile(CompanionPath(path, raf::kMarksExtension))) {
      Source in(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(f->data()), f->size()), 0);
      std::uint16_t version = 0;
      std::uint32_t k = 0;
      if (in.Get(&version) && version == raf::kCompanionVersion && in.Get(&k) && in.Has(k)) {
        std::vector<std::uint8_t> marks(k);
        in.Bytes(marks.data(), k);
        doc.waveDetectMarks.swap(marks);
        marksRead = true;
      }
    }
    if (!marksRead) doc.waveDetectMarks.assign(static_cast<std::size_t>(std::max(doc.analysedSeconds, 0)) * 10, 0);
    bool settingsRead = false;
    if (auto f = sys::ReadWholeFile(CompanionPath(path, raf::kSettingsExtension))) {
      Source in(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(f->data()), f->size()), 0);
      std::uint16_t version = 0;
      std::array<std::uint8_t, raf::kWaveDetectParamSize> param;
      std::int32_t division = 0;
      if (in.Get(&version) && version == raf::kCompanionVersion && in.Bytes(param.data(), param.size()) &&
          in.Get(&division)) {
        doc.waveDetectParam = WaveDetectParamRecord::FromBytes(param);
        doc.waveDetectDivision = division >= 1 ? division : raf::kDefaultTimeDivision;
        settingsRead = true;
      }
    }
    if (!settingsRead) {
      doc.waveDetectParam.channel = -1;
      doc.waveDetectDivision = raf::kDefaultTimeDivision;
    }
  } catch (const std::bad_alloc&) {
    std::vector<std::uint8_t>().swap(doc.waveDetectMarks);
    ui.Message("CQLM2_AnalyzerDoc::OnResultFileOpen", MB_OK | MB_ICONEXCLAMATION);
  }
}

void StoreRafRecordInfo(const LyrRecordInfo& record, std::span<std::uint8_t> block, std::size_t offset) {
  StoreRecordInfo(record, block, offset);
}

void StoreRafProcessingRecord(const LyrChInfo& channel, std::span<std::uint8_t> block, std::size_t offset) {
  StoreProcessingRecord(channel, block, offset);
}

std::array<std::uint16_t, 6> AddRafSeconds(const std::array<std::uint16_t, 7>& start, std::int64_t seconds) {
  return AddSeconds(start, seconds);
}

void LoadRafRecordInfo(std::span<const std::uint8_t> block, std::size_t offset, LyrRecordInfo& record) {
  LoadRecordInfo(block, offset, record);
}
