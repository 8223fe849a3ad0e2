// Spectra of the page window: the current epoch's spectrum per selected channel and
// the divided-page spectra of up to three channels for every held page slot.
#include <algorithm>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "common/dsp/fyn_fft.h"
#include "platform/ui/app.h"

namespace {

int ChannelCount(const CQLM2_AnalyzerDoc& doc) { return std::clamp(doc.RecordInfo.channelCount, 0, 32); }

std::size_t SpanOf(const LyrChInfo& ch) {
  return static_cast<std::size_t>(std::max(ch.rate, 0)) * static_cast<std::size_t>(std::max(PageSeconds, 0)) + 1;
}

const float* ChannelData(const CQLM2_AnalyzerDoc& doc, int kind, int channel) {
  const std::vector<float>& slot = doc.RecordInfo.pageBuffers[kind];
  if (slot.empty()) return nullptr;
  std::size_t offset = 0;
  for (int c = 0; c < channel; ++c) offset += SpanOf(doc.ChInfo[c]);
  if (offset + SpanOf(doc.ChInfo[channel]) > slot.size()) return nullptr;
  return slot.data() + offset;
}

int DivisionCount(const FFTPageParam& p) {
  if (p.dividedPerEpoch != 0) return EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0;
  return p.dividedCount;
}

int PageCount(const CQLM2_AnalyzerDoc& doc) {
  if (PageSeconds <= 0) return 1;
  int q = doc.RecordSeconds / PageSeconds;
  if (doc.RecordSeconds % PageSeconds >= EpochSeconds) ++q;
  return q < 1 ? 1 : q;
}

}  // namespace

int CQLM2_AnalyzerDoc::CalcFFTData(const float* samples, float* out, unsigned short A, int N, short window, short unit,
                                   double fs) {
  ui::WaitCursor wait;
  if (samples == nullptr || out == nullptr || A == 0) return 1;
  // The transform of the last settings is kept: its tables and window are made once, and a
  // transform does not depend on the ones before it.
  struct Kept {
    int n = 0;
    short window = 0;
    short unit = 0;
    double fs = 0.0;
    bool ready = false;
    FynFft fft;
  };
  thread_local Kept kept;
  if (!kept.ready || kept.n != N || kept.window != window || kept.unit != unit || kept.fs != fs) {
    kept.ready = false;
    kept.fft = FynFft(N, window, unit, fs);
    if (kept.fft.CreateWorkArea() != 0) return 1;  // no transform of that size: the spectrum stays 0
    kept.n = N;
    kept.window = window;
    kept.unit = unit;
    kept.fs = fs;
    kept.ready = true;
  }
  FynFft& fft = kept.fft;
  const int bins = N / 2 + 1;
  std::vector<float> one(static_cast<std::size_t>(bins));
  for (int a = 0; a < A; ++a) {
    fft.SetRData(samples + static_cast<std::size_t>(a) * N);
    fft.CalcFft();
    fft.GetResultData(one.data());
    for (int i = 0; i < bins; ++i) out[i] += one[i];
  }
  for (int i = 0; i < bins; ++i) out[i] /= A;
  return 1;
}

int CQLM2_AnalyzerDoc::CalcEpochFFTData() {
  ++PageReads.epochSpectra;
  if (CurrentEpoch >= GetDivNum(EpochSeconds)) return 0;
  const FFTPageParam& p = Params.fftPage;
  const int perPage = EpochSeconds > 0 ? PageSeconds / EpochSeconds : 0;
  const int e = perPage > 0 ? CurrentEpoch % perPage : 0;
  const int channels = ChannelCount(*this);
  EpochSpectra.channels.assign(static_cast<std::size_t>(channels), EpochSpectrum{});
  const int A = p.epochAveraging;
  const int N = static_cast<int>(p.epochFftPoints);
  if (A <= 0 || N < 4) return 1;
  std::vector<float> work(static_cast<std::size_t>(A) * N);
  for (int c = 0; c < channels; ++c) {
    if (Params.fftPageSelection.flags[c] == 0) continue;
    EpochSpectrum& s = EpochSpectra.channels[c];
    s.binCount = N / 2 + 1;
    s.values.assign(static_cast<std::size_t>(s.binCount), 0.0f);
    const float* data = ChannelData(*this, 2, c);
    if (data == nullptr) continue;
    const std::size_t epochLen = static_cast<std::size_t>(ChInfo[c].rate) * EpochSeconds;
    const std::size_t first = static_cast<std::size_t>(e) * epochLen;
    const std::size_t take = std::min({epochLen, work.size(), SpanOf(ChInfo[c]) - std::min(first, SpanOf(ChInfo[c]))});
    std::fill(work.begin(), work.end(), 0.0f);
    std::copy(data + first, data + first + take, work.begin());
    CalcFFTData(work.data(), s.values.data(), static_cast<unsigned short>(A), N, static_cast<short>(p.windowType),
                static_cast<short>(p.unit), ChInfo[c].rate);
  }
  return 1;
}

int CQLM2_AnalyzerDoc::calcDiviedPageFFTData(unsigned kind) {
  if (kind >= static_cast<unsigned>(LyrRecordInfo::kPageBufferCount)) return 0;
  ui::WaitCursor wait;
  auto& arrays = DividedSpectra.slots[kind];
  for (auto& values : arrays) std::vector<float>().swap(values);
  const auto& chosen = Params.fftPageChannels.channels;
  const int channels = ChannelCount(*this);
  auto isSet = [&](int i) { return chosen[i] >= 0 && chosen[i] < channels; };
  if (!isSet(0) && !isSet(1) && !isSet(2)) return 1;
  const FFTPageParam& p = Params.fftPage;
  const int D = DivisionCount(p);
  const int A = p.dividedAveraging;
  const int N = static_cast<int>(p.dividedFftPoints);
  const int bins = N / 2 + 1;
  if (D <= 0 || A <= 0 || N < 4) return 1;
  for (int i = 0; i < 3; ++i)
    if (isSet(i)) arrays[i].assign(static_cast<std::size_t>(D) * bins, 0.0f);
  std::vector<float> work(static_cast<std::size_t>(A) * N);
  const long long page = static_cast<long long>(CurrentPage) + kind - 2;
  for (int i = 0; i < 3; ++i) {
    if (!isSet(i)) continue;
    const int c = chosen[i];
    const float* data = ChannelData(*this, static_cast<int>(kind), c);
    if (data == nullptr) return 0;
    const LyrChInfo& ch = ChInfo[c];
    const long long span = static_cast<long long>(SpanOf(ch));
    const long long perEpoch = static_cast<long long>(ch.rate) * EpochSeconds;
    const long long rounded = perEpoch > 0 ? static_cast<long long>(ch.dataCount) / perEpoch * perEpoch : 0;
    const long long length = span / D;
    for (int j = 0; j < D; ++j) {
      const long long first = j * span / D;
      if (page * ch.rate * PageSeconds + ch.startOffset + first >= rounded) continue;
      std::fill(work.begin(), work.end(), 0.0f);
      const long long take = std::min<long long>(length, static_cast<long long>(work.size()));
      std::copy(data + first, data + first + take, work.begin());
      CalcFFTData(work.data(), arrays[i].data() + static_cast<std::size_t>(j) * bins, static_cast<unsigned short>(A), N,
                  static_cast<short>(p.windowType), static_cast<short>(p.unit), ch.rate);
    }
  }
  return 1;
}

int CQLM2_AnalyzerDoc::MovePageDiviedPageFFTData(int forward) {
  ++PageReads.edgeSpectrumMoves;
  int lo = 0, hi = 4;
  if (PageRows == 1) lo = hi = 2;
  else if (PageRows == 3) lo = 1, hi = 3;
  auto& slots = DividedSpectra.slots;
  const int pages = PageCount(*this);
  // Each slot takes its neighbour's spectra; the entering slot is computed from its page.
  auto takeOver = [&](int kind, int from) {
    const long long page = static_cast<long long>(CurrentPage) + kind - 2;
    if (page < 0 || page > pages - 1) {
      for (auto& values : slots[kind]) std::vector<float>().swap(values);
    } else {
      slots[kind].swap(slots[from]);
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
  if (RecordInfo.pageBuffers[edge].empty()) {
    for (auto& values : slots[edge]) std::vector<float>().swap(values);
  } else {
    calcDiviedPageFFTData(static_cast<unsigned>(edge));
  }
  return 1;
}
