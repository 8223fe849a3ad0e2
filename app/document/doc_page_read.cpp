// Page window of the document: reading the pages around the current one from the
// recording's source, the processing chain of every channel, and moving the window
// by one page without reading again what it already holds.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "common/dsp/fyn_filter_fir.h"
#include "common/dsp/fyn_filter_iir.h"
#include "common/dsp/fyn_smoothing.h"
#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kNoMemoryText = 2425;
constexpr std::uint32_t kUnfilteredText = 61700;
constexpr std::uint32_t kReadFailedText = 61701;

constexpr int kOwnRaw = 0;
constexpr int kAnalysisFile = 1;
constexpr int kPlugin = 3;

// The IIR notch of a channel: none when notch is off or the band filter already stops the
// line band.
std::optional<FynFilterIIR> NotchIir(int notch, double lineHz, unsigned short mode, double cut1, double cut2,
                                     double rate) {
  if (notch == 0) return std::nullopt;
  const bool fifty = lineHz > 49.9998 && lineHz < 50.0001;
  const double low = fifty ? 45.0 : 55.0;
  const double high = fifty ? 55.0 : 65.0;
  if (mode == 3 && cut1 * 1.001 <= low && cut2 * 1.001 >= high) return std::nullopt;
  return FynFilterIIR(1, 3, rate, 20.0, 30.0, 3.0, 27.0, low, high);
}

// The IIR band filter of a channel (mode 4, no filter, is the caller's).
FynFilterIIR BandIir(unsigned short mode, double cut1, double cut2, double rate) {
  const short prototype = mode == 3 ? 1 : 0;
  const short process = mode > 4 ? 0 : static_cast<short>(mode);
  return FynFilterIIR(prototype, process, rate, 20.0, 30.0, 3.0, 27.0, cut1, cut2);
}

bool SameIirSetting(const LyrChInfo& a, const LyrChInfo& b) {
  return a.filterKind != 0 && b.filterKind != 0 && a.filterMode == b.filterMode && a.filterMode != 4 &&
         a.cut1Hz == b.cut1Hz && a.cut2Hz == b.cut2Hz && a.rate == b.rate && a.notch == b.notch &&
         a.lineFrequencyHz == b.lineFrequencyHz;
}

// Notch and band filter of two channels of one IIR setting, the two blocks side by side:
// the same samples as filtering each alone. false, changing nothing, when a filter cannot
// be made (the channels then go one by one).
bool FilterIirPair(const LyrChInfo& ch, float* a, float* b, unsigned long count) {
  std::optional<FynFilterIIR> notchA = NotchIir(ch.notch, ch.lineFrequencyHz, ch.filterMode, ch.cut1Hz, ch.cut2Hz,
                                                ch.rate);
  std::optional<FynFilterIIR> notchB = notchA;
  FynFilterIIR bandA = BandIir(ch.filterMode, ch.cut1Hz, ch.cut2Hz, ch.rate);
  FynFilterIIR bandB = bandA;
  if (notchA && (notchA->CalcIIRFilterDesign() == 0 || notchB->CalcIIRFilterDesign() == 0)) return false;
  if (bandA.CalcIIRFilterDesign() == 0 || bandB.CalcIIRFilterDesign() == 0) return false;
  if (notchA && !FynFilterIIR::CalcFilterPair(*notchA, a, *notchB, b, count)) return false;
  return FynFilterIIR::CalcFilterPair(bandA, a, bandB, b, count);
}

int ChannelCount(const CQLM2_AnalyzerDoc& doc) { return std::clamp(doc.RecordInfo.channelCount, 0, 32); }

// Floats of one channel in a slot of the current page length.
std::size_t SpanOf(const LyrChInfo& ch, long long seconds) {
  return static_cast<std::size_t>(std::max(ch.rate, 0)) * static_cast<std::size_t>(std::max(seconds, 0LL)) + 1;
}

std::size_t ChannelOffset(const CQLM2_AnalyzerDoc& doc, int channel) {
  std::size_t offset = 0;
  for (int c = 0; c < channel && c < ChannelCount(doc); ++c) offset += SpanOf(doc.ChInfo[c], PageSeconds);
  return offset;
}

// Pages of the recording: whole pages plus a last one holding at least an epoch.
int PageCount(const CQLM2_AnalyzerDoc& doc) { return doc.GetPageNum(PageSeconds, EpochSeconds); }

// Slot kinds held for the page rows shown.
void KeptKinds(std::uint16_t rows, int* lo, int* hi) {
  if (rows == 1) {
    *lo = *hi = 2;
  } else if (rows == 3) {
    *lo = 1;
    *hi = 3;
  } else {
    *lo = 0;
    *hi = 4;
  }
}

// Read position of a page for one channel: Shift held moves it by half a page against
// the scroll direction.
long long ReadPosition(const LyrChInfo& ch, long long page, int seconds) {
  long long pos = static_cast<long long>(ch.rate) * page * seconds + ch.startOffset;
  if (sys::IsKeyDown(sys::VirtualKey::Shift)) {
    const long long half = static_cast<long long>(ch.rate) * (seconds / 2);
    if (ScrollDirection < 0) pos += half;
    else if (ScrollDirection > 0) pos -= half;
  }
  return pos < 0 ? 0 : pos;
}

std::string JoinedLine(const char* method, std::uint32_t textId) {
  return std::string(method) + "\n" + res::LoadString(textId);
}

// The library's 20-tap linear-phase design of the given type, applied to m samples in
// place. The response is short, so direct convolution gives the block convolution's
// output (tap k of h[|k - 10|], the output delayed by 10 samples) at a fraction of its cost.
int RunFir(short type, double low, double high, double rate, float* data, unsigned long m) {
  constexpr int kTaps = 20;
  FynFilterFIR fir(type, low, high, 22.0, kTaps, rate, 256);
  if (fir.CalcFIRFilterDesign() != 1) return 0;
  float design[kTaps];
  if (fir.GetDesignData(design) != 1) return 0;
  float taps[kTaps];
  for (int k = 0; k < kTaps; ++k) taps[k] = design[std::abs(k - kTaps / 2)];
  std::vector<float> out(m, 0.0f);
  for (int k = 0; k < kTaps; ++k) {
    const float t = taps[k];
    if (static_cast<unsigned long>(k) >= m) break;
    float* y = out.data() + k;
    const float* x = data;
    const unsigned long n = m - static_cast<unsigned long>(k);
    for (unsigned long i = 0; i < n; ++i) y[i] += t * x[i];
  }
  std::copy(out.begin(), out.end(), data);
  return 1;
}

}  // namespace

std::size_t CQLM2_AnalyzerDoc::GetPageBufferSize(unsigned seconds) const {
  const int channels = ChannelCount(*this);
  if (channels == 0) return 0;
  if (RecordInfo.sourceKind == kOwnRaw) return static_cast<std::size_t>(channels) * SpanOf(ChInfo[0], seconds);
  if (RecordInfo.sourceKind == kAnalysisFile || RecordInfo.sourceKind == kPlugin) {
    std::size_t n = 0;
    for (int c = 0; c < channels; ++c) n += SpanOf(ChInfo[c], seconds);
    return n;
  }
  return 0;
}

int CQLM2_AnalyzerDoc::CopyBlock(void* destination, const void* source, std::size_t bytes) {
  if (destination == nullptr || source == nullptr) return 0;
  std::memmove(destination, source, bytes);
  return 1;
}

int CQLM2_AnalyzerDoc::SetPageData() {
  if (PageReads.failNextReloads > 0) {
    --PageReads.failNextReloads;
    return 1;
  }
  ++PageReads.fullReloads;
  ui::WaitCursor wait;
  int failed = 0;
  bool readFailed = false;
  for (short kind = 0; kind < LyrRecordInfo::kPageBufferCount; ++kind) {
    const int r = SetPageRawData(kind);
    if (r == kPageSlotNoMemory) return 1;
    if (r == kPageSlotRead) {
      if (calcDiviedPageFFTData(static_cast<unsigned>(kind)) == 0) return 1;
    } else {
      // A slot not kept or not read has no spectra either.
      for (auto& values : DividedSpectra.slots[kind]) std::vector<float>().swap(values);
      if (r == kPageSlotReadFailed) {
        readFailed = true;
        failed = 1;
      }
    }
  }
  if (readFailed) ui::MessageBox(JoinedLine("CQLM2_AnalyzerDoc::SetPageData", kReadFailedText));
  if (CalcEpochFFTData() == 0) failed = 1;
  return failed;
}

int CQLM2_AnalyzerDoc::SetPageRawData(short kind) {
  if (kind < 0 || kind >= LyrRecordInfo::kPageBufferCount) return kPageSlotNotKept;
  std::vector<float>& slot = RecordInfo.pageBuffers[kind];
  const int pages = PageCount(*this);
  int lo = 0, hi = 0;
  KeptKinds(PageRows, &lo, &hi);
  const long long page = static_cast<long long>(CurrentPage) + kind - 2;
  if (kind < lo || kind > hi || page < 0 || page > pages - 1) {
    std::vector<float>().swap(slot);
    return kPageSlotNotKept;
  }
  const std::size_t n = GetPageBufferSize(static_cast<unsigned>(std::max(PageSeconds, 0)));
  if (n == 0) {  // no recording to read from
    std::vector<float>().swap(slot);
    return kPageSlotNotKept;
  }
  try {
    if (slot.size() != n) {
      std::vector<float>().swap(slot);
      slot.assign(n, 0.0f);
    } else if (RecordInfo.sourceKind != kOwnRaw || MixedSampling != 0) {
      // The own raw reader writes every value of a page of one rate (zero where there are no
      // samples); the other sources write only what they read.
      std::fill(slot.begin(), slot.end(), 0.0f);
    }
  } catch (const std::bad_alloc&) {
    std::vector<float>().swap(slot);
    ui::MessageBox("SetPageRawData");
    ui::MessageBox(res::LoadString(kNoMemoryText));
    return kPageSlotNoMemory;
  }
  if (SetPageRawData(static_cast<int>(page), static_cast<unsigned>(std::max(PageSeconds, 0)), kind,
                     slot.data()) == 0) {
    std::fill(slot.begin(), slot.end(), 0.0f);
    return kPageSlotReadFailed;
  }
  return kPageSlotRead;
}

int CQLM2_AnalyzerDoc::SetPageRawData(int page, unsigned seconds, short kind, float* buffer) {
  (void)kind;
  if (buffer == nullptr) return 0;
  try {
    if (GetRawData(page, static_cast<int>(seconds), buffer) == 0) return 0;
    std::uint32_t unfiltered = 0;
    std::vector<float> keep;
    std::vector<float> smoothed;
    const int channels = ChannelCount(*this);
    // The span of a channel, cut where its data end (0: none).
    const auto spanOf = [&](int c) -> unsigned long {
      const LyrChInfo& ch = ChInfo[c];
      const long long start = static_cast<long long>(page) * seconds * ch.rate + ch.startOffset;
      long long m = static_cast<long long>(SpanOf(ch, PageSeconds));
      m = std::min(m, static_cast<long long>(ch.dataCount) - start);
      m = std::min(m, static_cast<long long>(ch.dataCount));
      return m > 0 ? static_cast<unsigned long>(m) : 0;
    };
    // Neighbouring IIR channels of one setting are filtered two at a time.
    std::vector<char> filtered(static_cast<std::size_t>(channels), 0);
    if (PageSeconds < 3600) {
      for (int c = 0; c + 1 < channels; ++c) {
        const unsigned long count = spanOf(c);
        if (count == 0 || count != spanOf(c + 1) || !SameIirSetting(ChInfo[c], ChInfo[c + 1])) continue;
        if (FilterIirPair(ChInfo[c], buffer + ChannelOffset(*this, c), buffer + ChannelOffset(*this, c + 1), count)) {
          filtered[static_cast<std::size_t>(c)] = filtered[static_cast<std::size_t>(c) + 1] = 1;
          ++c;
        }
      }
    }
    for (int c = 0; c < channels; ++c) {
      const LyrChInfo& ch = ChInfo[c];
      float* p = buffer + ChannelOffset(*this, c);
      const unsigned long count = spanOf(c);
      if (count == 0) continue;
      if (PageSeconds < 3600) {
        if (ch.filterMode != 4 && filtered[static_cast<std::size_t>(c)] == 0) {
          keep.assign(p, p + count);
          const int ok = CalcNotchFilter(p, count, ch.filterKind, ch.notch, ch.lineFrequencyHz, ch.filterMode,
                                         ch.cut1Hz, ch.cut2Hz, ch.rate) != 0 &&
                         CalcFilter(p, count, ch.filterKind, ch.filterMode, ch.cut1Hz, ch.cut2Hz, ch.rate) != 0;
          if (!ok) {
            // A filter that cannot be made at this rate leaves the channel as recorded.
            std::copy(keep.begin(), keep.end(), p);
            unfiltered |= 1u << c;
          }
        }
        if (ch.smoothingCount > 1) {
          smoothed.assign(count, 0.0f);
          if (CalcSmoothing(p, smoothed.data(), count, ch.smoothingCount) != 0)
            CopyBlock(p, smoothed.data(), count * sizeof(float));
        }
      }
      if (ch.baseLine != 0) {
        double sum = 0.0;
        for (unsigned long i = 0; i < count; ++i) sum += p[i];
        const auto mean = static_cast<float>(sum / static_cast<double>(count));
        for (unsigned long i = 0; i < count; ++i) p[i] -= mean;
      }
    }
    UnfilteredChannels = unfiltered;
    if (unfilteredShownPath_ != RecordInfo.path) {
      unfilteredShownPath_ = RecordInfo.path;
      unfilteredShown_ = 0;
    }
    if (unfiltered != 0 && (unfiltered & ~unfilteredShown_) != 0) {
      std::string names;
      for (int c = 0; c < channels; ++c)
        if ((unfiltered & (1u << c)) != 0) names += (names.empty() ? "" : ", ") + ChInfo[c].name;
      ui::MessageBox(res::LoadString(kUnfilteredText) + "\n" + names);
    }
    unfilteredShown_ |= unfiltered;
    return 1;
  } catch (const std::exception&) {
    ui::MessageBox("CQLM2_AnalyzerDoc::SetPageRawData");
    return 0;
  }
}

int CQLM2_AnalyzerDoc::CalcNotchFilter(float* data, unsigned long m, int filterKind, int notch, double lineHz,
                                       unsigned short mode, double cut1, double cut2, double rate) {
  if (notch == 0 || data == nullptr || m == 0) return 1;
  const bool fifty = lineHz > 49.9998 && lineHz < 50.0001;
  const double low = fifty ? 45.0 : 55.0;
  const double high = fifty ? 55.0 : 65.0;
  if (mode == 3 && cut1 * 1.001 <= low && cut2 * 1.001 >= high) return 1;
  if (filterKind != 0) {
    std::optional<FynFilterIIR> iir = NotchIir(notch, lineHz, mode, cut1, cut2, rate);
    if (iir->CalcIIRFilterDesign() == 0) return 0;
    return iir->CalcFilter(m, data);
  }
  return RunFir(3, low, high, rate, data, m);
}

int CQLM2_AnalyzerDoc::CalcFilter(float* data, unsigned long m, int filterKind, unsigned short mode, double cut1,
                                  double cut2, double rate) {
  if (mode == 4 || data == nullptr || m == 0) return 1;
  if (filterKind != 0) {
    FynFilterIIR iir = BandIir(mode, cut1, cut2, rate);
    if (iir.CalcIIRFilterDesign() == 0) return 0;
    return iir.CalcFilter(m, data);
  }
  return RunFir(static_cast<short>(mode), cut1, cut2, rate, data, m);
}

int CQLM2_AnalyzerDoc::CalcSmoothing(const float* source, float* destination, unsigned long m, int count) {
  if (source == nullptr || destination == nullptr || m == 0) return 0;
  std::copy(source, source + m, destination);
  FynSmoothing smoothing(1, count, m);
  smoothing.SetOrgData(source);
  smoothing.SetDtPoint(m);
  if (smoothing.CalcSmoothing() != 0) return 0;
  return smoothing.GetRData(destination) == 0 ? 1 : 0;
}

int CQLM2_AnalyzerDoc::GetRawData(int page, int seconds, float* buffer) {
  if (page < 0 || seconds < 0) return 0;
  switch (RecordInfo.sourceKind) {
    case kOwnRaw: return getFYDData(static_cast<unsigned>(page), seconds, buffer);
    case kAnalysisFile: return getFYAData(static_cast<unsigned>(page), seconds, buffer);
    case kPlugin: return getPluginData(static_cast<unsigned>(page), seconds, buffer);
    default: return 0;
  }
}

int CQLM2_AnalyzerDoc::getFYDData(unsigned page, int seconds, float* buffer) {
  try {
    FynFileAccessRaw file(RecordInfo.path.c_str());
    if (file.InitParams() != 0) return 0;
    const int channels = ChannelCount(*this);
    if (channels == 0) return 0;
    std::vector<_FynRawCALEntry> entries(32);
    std::vector<std::int16_t> invert(static_cast<std::size_t>(channels), 0);
    for (int c = 0; c < 32; ++c) {
      const ChCalibrationEntry& cal = ChInfo[c].calibration;
      entries[c].fullScale = cal.fullScale;
      entries[c].calFlag = cal.calibrated;
      entries[c].calTopSample = cal.topSample;
      entries[c].calBottomSample = cal.bottomSample;
      entries[c].calTopPhysical = cal.topValue;
      entries[c].calBottomPhysical = cal.bottomValue;
      if (c < channels) invert[c] = static_cast<std::int16_t>(ChInfo[c].invert);
    }
    if (file.SetCalInfo(_FynRawCALParam{CalibrationNumber, entries.data()}) != 0) return 0;
    if (MixedSampling != 0) return 1;
    // One rate: the page is channels x m floats, all of which are written below.
    const LyrChInfo& ch0 = ChInfo[0];
    const long long m = static_cast<long long>(SpanOf(ch0, seconds));
    const auto whole = static_cast<std::size_t>(m) * static_cast<std::size_t>(channels);
    const long long pos = ReadPosition(ch0, page, seconds);
    const long long dataCount = ch0.dataCount;
    if (pos >= dataCount) {  // past the end: the page is zero
      std::fill(buffer, buffer + whole, 0.0f);
      return 1;
    }
    _FynRawG1Param shape;
    if (file.GetGroup1ParamRaw(&shape) != 0) return 0;
    const auto fileChannels = static_cast<std::int16_t>(shape.channels);
    const std::uint32_t fileCount = shape.dataCount;
    // Frames of a row the reader writes when asked for `want` from pos: none past the file's end.
    const auto written = [&](long long want) {
      return std::clamp(std::min(want, static_cast<long long>(fileCount) - pos), 0LL, want);
    };
    int rowsRead = 0;
    long long framesRead = 0;
    if (pos + m <= dataCount && fileChannels > 0 && fileChannels <= channels) {
      // All channels of the file in one pass.
      if (file.GetRawDataFloatAll(static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(pos + m - 1), buffer,
                                  invert.data()) != 0)
        return 0;
      rowsRead = fileChannels;
      framesRead = written(m);
    } else {
      // Channel by channel up to the last sample.
      const long long have = std::min(m, dataCount - pos);
      for (int c = 0; c < channels; ++c) {
        if (file.GetRawDataFloat(static_cast<std::int16_t>(c), static_cast<std::uint32_t>(pos),
                                 static_cast<std::uint32_t>(pos + have - 1), buffer + static_cast<std::size_t>(m) * c,
                                 invert[c]) != 0)
          return 0;
      }
      rowsRead = channels;
      framesRead = written(have);
    }
    // Zero where nothing was read.
    for (int c = 0; c < channels; ++c) {
      float* row = buffer + static_cast<std::size_t>(m) * c;
      std::fill(row + (c < rowsRead ? framesRead : 0), row + m, 0.0f);
    }
    return 1;
  } catch (const std::exception&) {
    ui::MessageBox("CQLM2_AnalyzerDoc::getFYDData");
    return 0;
  }
}

int CQLM2_AnalyzerDoc::getFYAData(unsigned page, int seconds, float* buffer) {
  FynFileAccessAna file(RecordInfo.path.c_str());
  if (file.InitParams() != 0) return 0;
  const int channels = ChannelCount(*this);
  std::size_t place = 0;
  for (int c = 0; c < channels; ++c) {
    const LyrChInfo& ch = ChInfo[c];
    const std::size_t span = SpanOf(ch, seconds);
    const long long dataCount = ch.dataCount;
    const long long m = std::min(static_cast<long long>(span), dataCount);
    if (m > 0) {
      long long pos = ReadPosition(ch, page, seconds);
      if (pos + m > dataCount) pos = dataCount - m;  // the last page ends at the last sample
      if (file.GetAnaDataY(static_cast<std::int16_t>(c), static_cast<std::uint32_t>(pos),
                           static_cast<std::uint32_t>(pos + m - 1), buffer + place,
                           static_cast<std::int16_t>(ch.invert)) != 0)
        return 0;
    }
    place += span;
  }
  return 1;
}

int CQLM2_AnalyzerDoc::ReadPluginChannel(int channel, std::uint32_t first, std::uint32_t count, float* out) {
  if (channel < 0 || channel >= ChannelCount(*this) || out == nullptr) return 0;
  if (!PluginModule.IsLoaded()) return 0;
  auto getRaw = PluginModule.Function<ImpGetRawData>("GetRawData");
  if (getRaw == nullptr) return 0;
  if (count == 0) return 1;
  const LyrChInfo& ch = ChInfo[channel];
  ImpReadRequest request{};
  request.first = first;
  request.count = count;
  request.calMode = static_cast<std::uint16_t>(CalibrationNumber);
  request.calFlag = ch.calibration.calibrated;
  request.topSample = ch.calibration.topSample;
  request.bottomSample = ch.calibration.bottomSample;
  request.topValue = ch.calibration.topValue;
  request.bottomValue = ch.calibration.bottomValue;
  request.fullScale = ch.calibration.fullScale;
  if (getRaw(RecordInfo.path.c_str(), 0, MontageNumber, channel, request, out) == 0) return 0;
  // The plug-in gives the recorded polarity; the channel's invert switch applies to it as it
  // does to the other sources.
  if (ch.invert != 0)
    for (std::uint32_t i = 0; i < count; ++i) out[i] = -out[i];
  return 1;
}

int CQLM2_AnalyzerDoc::getPluginData(unsigned page, int seconds, float* buffer) {
  if (!PluginModule.IsLoaded() || PluginModule.Function<ImpGetRawData>("GetRawData") == nullptr) return 0;
  const int channels = ChannelCount(*this);
  std::size_t place = 0;
  for (int c = 0; c < channels; ++c) {
    const LyrChInfo& ch = ChInfo[c];
    const std::size_t span = SpanOf(ch, seconds);
    const long long dataCount = ch.dataCount;
    const long long pos = ReadPosition(ch, page, seconds);
    // The span, shortened where the channel's data end; the rest stays zero.
    const long long m = std::min(static_cast<long long>(span), dataCount - pos);
    if (m > 0 && ReadPluginChannel(c, static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(m),
                                   buffer + place) == 0)
      return 0;
    place += span;
  }
  return 1;
}

int CQLM2_AnalyzerDoc::MovePageRawData(int forward) {
  ++PageReads.edgePageReads;
  ui::WaitCursor wait;
  int lo = 0, hi = 0;
  KeptKinds(PageRows, &lo, &hi);
  auto& slots = RecordInfo.pageBuffers;
  const int pages = PageCount(*this);
  const std::size_t n = GetPageBufferSize(static_cast<unsigned>(std::max(PageSeconds, 0)));
  auto pageOf = [this](int kind) { return static_cast<long long>(CurrentPage) + kind - 2; };
  // Each slot takes over its neighbour's page (a swap: the neighbour is overwritten or
  // read next); a slot whose neighbour is not there is read, one outside the recording freed.
  auto takeOver = [&](int kind, int from) {
    const long long page = pageOf(kind);
    if (page < 0 || page > pages - 1) {
      std::vector<float>().swap(slots[kind]);
    } else if (slots[from].size() == n && n != 0) {
      slots[kind].swap(slots[from]);
    } else {
      SetPageRawData(static_cast<short>(kind));
    }
  };
  int edge = 2;
  if (lo != hi) {
    if (forward != 0) {
      for (int k = lo; k < hi; ++k) takeOver(k, k + 1);
      edge = hi;
    } else {
      for (int k = hi; k > lo; --k) takeOver(k, k - 1);
      edge = lo;
    }
  }
  if (SetPageRawData(static_cast<short>(edge)) == kPageSlotReadFailed)
    ui::MessageBox(JoinedLine("CQLM2_AnalyzerDoc::MovePageRawData", kReadFailedText));
  return 1;
}
